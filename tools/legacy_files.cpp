#include "tools/legacy_files.h"

#include <cstdint>
#include <stdexcept>

#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qz::tools {

std::string numericText(std::string_view utf8) {
    std::string out;
    for (const char32_t c : platform::toU32(utf8)) {
        // ansiCode is VB's signed Asc; the file holds the unsigned two-byte code.
        const auto code = static_cast<std::uint16_t>(platform::ansiCode(c));
        out += std::to_string(200000 + code);
    }
    return out;
}

void writeLegacyText(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    try {
        platform::writeLinesReplace(file.string(), lines);
    } catch (const platform::VbError& e) {
        throw std::runtime_error("cannot write " + file.string() + ": " + e.what());
    }
}

}  // namespace qz::tools
