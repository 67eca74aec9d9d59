// Record files that change together, written so that a crash at any moment leaves, once the
// next launch has run recoverRecordGroup, either all of them old or all of them new.
//
// Before the first file is replaced, an intent file in the same folder records every file's
// name and complete new bytes; the launch after a crash writes them all again from it. The
// intent file is itself replaced whole, so it is either absent or the whole of what was
// written; its lengths and checksums find the damage a disk or another hand may do to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// The intent file's name in the records' folder: hidden, and no record file's.
inline constexpr const char* RecordIntentName = ".records.intent";

// A file of a group: its path and the complete bytes it is to hold.
struct RecordBytes {
    std::string path;
    std::string bytes;
};

// Writes every file of the group, all in one folder, each through the safe replace. When one
// fails, those already replaced get their old bytes back (a file that was missing is removed
// again) and the failure is raised; nothing is written when a file that is there cannot be
// read. Raises 75 for files in different folders.
//
// A group an earlier write left in the folder is completed first, so that its intent file is
// never replaced by this one's; when that cannot be done, nothing is written and the failure
// is raised.
void writeRecordGroup(const std::vector<RecordBytes>& files);

// Whether the launch's recovery may write a file of this name: the record files of ksdata.
bool isRecordFileName(std::string_view name);
// Every such name.
std::vector<std::string> recordFileNames();

// One entry of an intent file as read back.
struct IntentEntry {
    std::string name;
    std::string bytes;
};

// The intent file's bytes for these entries, and back. Reading fails (false) on anything that
// is not exactly such bytes: a wrong header, a length or checksum that does not match, bytes
// cut short or trailing, a name that is not a record file's or comes twice. On failure the
// entries are left empty.
std::string encodeIntent(const std::vector<IntentEntry>& entries);
bool decodeIntent(std::string_view bytes, std::vector<IntentEntry>& entries);

std::uint32_t crc32(std::string_view bytes);

// What the launch found in the records' folder.
struct GroupRecovery {
    enum Outcome { Nothing, Completed, Damaged, Failed } outcome = Nothing;
    std::vector<std::string> names;  // the files written when Completed
    // Damaged: whether the intent file could be removed.
    bool removed = false;
    // Failed: the group that waits, with the bytes it gives each file; no value when its
    // intent file could not be read, so that any record file may be one of them.
    std::optional<std::vector<IntentEntry>> pending;
    int error = 0;  // Failed: the error number of the failing read or write
};

// Completes the group an interrupted write left in this folder (every entry written again,
// then the intent file removed), or removes an intent file whose bytes do not check out. A
// group that cannot be completed now (a failing write, or an intent file that cannot be read)
// keeps its intent file for the next launch.
GroupRecovery recoverRecordGroup(const std::string& folder);

}  // namespace qz
