#include "app/numeric_text.h"

#include "platform/legacy_text.h"
#include "platform/numbers.h"

namespace qz {

std::string decodeNumericText(std::string_view line, const std::function<void(const platform::VbError&)>& onBadGroup) {
    std::string out;
    std::u32string chars = platform::toU32(line);
    for (std::size_t at = 0; at < chars.size(); at += 6) {
        std::string group = platform::fromU32(chars.substr(at, 6));
        try {
            std::int32_t v = platform::clng(platform::val(group));
            if (v == 0) continue;  // padding
            long code = v <= 500000 ? v - 200000L : v - 500000L;
            out += platform::charFromAnsiCode(code);
        } catch (const platform::VbError& e) {
            if (onBadGroup) onBadGroup(e);
        }
    }
    return out;
}

}  // namespace qz
