// The learner's record files: a fresh installation has none of them, so a missing file
// simply reads as empty; one that exists but cannot be read still fails.
#pragma once

#include <string>
#include <vector>

namespace qz {

std::vector<std::string> readRecordLines(const std::string& path);

}  // namespace qz
