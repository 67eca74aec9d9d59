#include "app/records.h"

#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qz {

std::vector<std::string> readRecordLines(const std::string& path) {
    try {
        return platform::readLines(path);
    } catch (const platform::VbError& e) {
        if (e.number == 53) return {};
        throw;
    }
}

std::vector<std::string> readRecordLines(const std::string& path, std::int64_t maxBytes) {
    try {
        return platform::readLinesAtMost(path, maxBytes).value_or(std::vector<std::string>{});
    } catch (const platform::VbError& e) {
        if (e.number == 53) return {};
        throw;
    }
}

}  // namespace qz
