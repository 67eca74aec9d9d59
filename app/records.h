// The learner's record files: a fresh installation has none of them, so a missing file
// simply reads as empty; one that exists but cannot be read still fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qz {

std::vector<std::string> readRecordLines(const std::string& path);
// The same for a file of at most maxBytes; a larger one also reads as empty, and is not read.
std::vector<std::string> readRecordLines(const std::string& path, std::int64_t maxBytes);

}  // namespace qz
