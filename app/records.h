// The learner's record files: a fresh installation has none of them, so a missing file
// simply reads as empty; one that exists but cannot be read still fails.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qz {

// Record files held for the rest of the run, by path: those of a group the launch could not
// complete. Each reads as the bytes the group gives it (none: the group's own file could not
// be read, and it fails as a file that cannot be read), never as what lies on the disk, and
// none of them is written before the next launch has completed the group.
class RecordOverlay {
public:
    void hold(const std::string& path, std::optional<std::string> bytes);
    bool holds(const std::string& path) const { return files_.count(path) != 0; }
    // The held bytes of a path, or null for a path not held; one held unreadable raises 75, as
    // a file that cannot be read does.
    const std::string* bytesOf(const std::string& path) const;
    bool empty() const { return files_.empty(); }
    // The names of the held files, without their folder.
    std::vector<std::string> names() const;

private:
    std::map<std::string, std::optional<std::string>> files_;
};

std::vector<std::string> readRecordLines(const RecordOverlay& held, const std::string& path);
// A file that is no record, of at most maxBytes; a larger one also reads as empty, and is not read.
std::vector<std::string> readRecordLines(const std::string& path, std::int64_t maxBytes);

}  // namespace qz
