#include "app/records.h"

#include "platform/files.h"
#include "platform/textfile.h"

namespace qz {

std::vector<std::string> readRecordLines(const std::string& path) {
    std::string real = platform::resolvePath(path);
    if (!platform::fileExists(real) && !platform::dirExists(real)) return {};
    return platform::readLines(real);
}

}  // namespace qz
