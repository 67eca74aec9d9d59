#include "app/records.h"

#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qz {

void RecordOverlay::hold(const std::string& path, std::optional<std::string> bytes) { files_[path] = std::move(bytes); }

const std::string* RecordOverlay::bytesOf(const std::string& path) const {
    const auto it = files_.find(path);
    if (it == files_.end()) return nullptr;
    if (!it->second) platform::raise(75);
    return &*it->second;
}

std::vector<std::string> RecordOverlay::names() const {
    std::vector<std::string> out;
    for (const auto& [path, bytes] : files_) out.push_back(platform::leafOf(path));
    return out;
}

std::vector<std::string> readRecordLines(const RecordOverlay& held, const std::string& path) {
    if (const std::string* bytes = held.bytesOf(path)) return platform::splitLines(platform::decodeAnsi(*bytes));
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
