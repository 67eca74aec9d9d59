#pragma once
// Text files in CP936 with CR LF line ends, and the safe whole-file replace.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The whole file decoded. Lines end at CR LF, a lone LF or a lone CR; a final terminator does not
// add an empty line. Missing file: error 53; a folder or an unreadable file: 75.
std::vector<std::string> readLines(const std::string& path);
// As readLines for a file of at most maxBytes; a larger one gives nullopt without being read whole.
std::optional<std::vector<std::string>> readLinesAtMost(const std::string& path, std::int64_t maxBytes);
// Line n counted from 1; n < 1 gives line 1, n past the end the last line, an empty file "".
std::string readLine(const std::string& path, long n);
std::string readFirstLine(const std::string& path);
// The lines as stored, not decoded, split by the rule of readLines; errors as readLines.
std::vector<std::string> readRawLines(const std::string& path);
// Splits text by the rule of readLines.
std::vector<std::string> splitLines(std::string_view text);
// Calls visit with each line as stored, split by the rule of readLines, from the start until
// visit returns false; the file is read no further than that. Errors as readLines.
void forEachRawLine(const std::string& path, const std::function<bool(const std::string&)>& visit);

// Appends each line encoded + CR LF, creating the file. Missing folder: 76; disk full: 61; else 75.
void appendLines(const std::string& path, const std::vector<std::string>& lines);
// What a replace does when the folder cannot be synced after the rename. The new file is in
// place then, but a crash may still bring the old one back: a record's write is failed, a
// file the program can write again any time (a setting, a built question set) is not.
enum class FolderSync { Required, BestEffort };
// Replaces the file whole: temporary file in the same folder, fsync, rename, fsync the folder.
// On any failure before the rename the old file is left as it was; on any failure VbError 61,
// 75 or 76 is thrown.
void writeLinesReplace(const std::string& path, const std::vector<std::string>& lines,
                       FolderSync sync = FolderSync::Required);
// The bytes writeLinesReplace writes for these lines.
std::string linesFileBytes(const std::vector<std::string>& lines);
// The same replace for raw bytes.
void writeBytesReplace(const std::string& path, std::string_view bytes, FolderSync sync = FolderSync::Required);
// Creates, beside path, the temporary file a replace of path writes first, with the mode of the
// file at path when there is one, else 0644. Gives its descriptor and sets tmp; -1 with errno.
int createReplaceTemporary(const std::string& path, std::string& tmp);
// The name of the file a replace's temporary file stands for (".NAME." and six letters or digits,
// as a crash may leave it); empty for any other name.
std::string replaceTemporaryTarget(std::string_view leaf);
// True when the file holds exactly what writeLinesReplace would write for these lines; false
// when it differs, is missing or cannot be read.
bool fileHoldsLines(const std::string& path, const std::vector<std::string>& lines);

bool fileExists(const std::string& path);  // exists and is not a folder
bool dirExists(const std::string& path);
std::optional<std::string> readBytes(const std::string& path);
// Removes the file when it is there, then syncs its folder so that the removal survives a crash.
// False when a file that is there could not be removed.
bool removeFileSynced(const std::string& path);

// Test hook: every later write by this file's functions stops after `afterBytes` bytes with a
// full-disk failure; a negative value turns the failure off.
void setWriteFailureForTesting(long afterBytes);
// Test hook: the `nth` later replace-write (1 = the next one) fails at this point, leaving the
// temporary file written in full, or written and closed but not yet renamed; 0 turns it off.
enum class ReplaceFailure { AfterTemporaryFile, BeforeRename };
void setReplaceFailureForTesting(long nth, ReplaceFailure point);
// Test hook: the `nth` later system call of the replace-writes and removeFileSynced (1 = the
// next one: creating the temporary file, each write, fsync, close, rename, the folder's sync,
// an unlink) ends the process with CallExitStatus before it is made, or fails with EIO in its
// place; 0 turns it off. Gives the count left of the setting it replaces, 0 when that fault was
// made (or none was set).
enum class CallFault { Exit, Fail };
inline constexpr int CallExitStatus = 86;
long setCallFaultForTesting(long nth, CallFault fault);
// Test hook: from now on the file at this path, when it exists, cannot be read by this file's
// functions (error 75, as for a file without read permission); an empty path turns it off.
void setReadFailureForTesting(const std::string& path);

}  // namespace platform
