#pragma once
// Paths and files. Paths arriving from the program's data use "\" and any letter case; on Linux
// they are mapped onto what exists on disk.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The folder of the running executable, without a trailing slash.
std::string programFolder();
void setProgramFolderForTesting(std::string folder);  // empty restores the real one
// The executable's file name without its extension.
std::string executableBaseName();

// The folder part of a "/" path ("." when it has none, "/" for the root) and its last part.
std::string folderOf(const std::string& path);
std::string leafOf(const std::string& path);
// Equal but for the case of ASCII letters, as file names on the original system compare.
bool asciiIEqual(std::string_view a, std::string_view b);
// a + "/" + b without doubling separators; an empty a gives b.
std::string joinPath(std::string_view a, std::string_view b);
std::string toNativePath(std::string_view path);
// Walks the components: an exact name wins, otherwise a case-insensitive ASCII match in the folder.
std::optional<std::string> findExistingCaseInsensitive(const std::string& path);
// toNativePath, then the case-insensitive lookup. A file that does not exist yet keeps its name
// but gets its folder's spelling on disk; with no folder found, the native path as it is.
std::string resolvePath(const std::string& path);

// Whether a folder name from the installation (ver.txt's data folder) keeps to the program
// folder: relative, with no drive, no ".." and no control character, and, as far as it
// exists, not leaving programFolder through a link. "" and "." name the program folder
// itself, which is inside. Both separators count.
bool folderNameInside(const std::string& programFolder, std::string_view name);

// The bytes of a regular file whose real path lies below folder, when it holds at most maxBytes.
// Nothing for anything else: a device, a FIFO, a socket, a folder, a path that leaves folder
// (by ".." or a link), a larger file, one that cannot be read. It never waits on what it
// refuses, and never holds more than maxBytes + 1 bytes.
std::optional<std::string> readFileInside(const std::string& folder, const std::string& path, std::size_t maxBytes);

// Seconds since the epoch.
std::optional<std::int64_t> fileModifiedTime(const std::string& path);
// Errors: 53 source missing, 58 target exists (overwrite false), 61 disk full, 70 permission,
// 75 other access error, 76 target folder missing.
void copyFile(const std::string& from, const std::string& to, bool overwrite);
// Creates the folder and any missing parents; true when the folder exists afterwards.
bool makeDir(const std::string& path);
// Errors: 53 missing, 70 permission, 75 a folder or another access error.
void removeFile(const std::string& path);
// Flushes the folder holding path, so that a rename or removal in it survives a power cut.
// Gives 0, or the errno of the open or the flush that failed; a file system that cannot flush
// a folder at all (EINVAL) counts as flushed. Callers that can go on without it ignore it.
int syncFolderOf(const std::string& path);

}  // namespace platform
