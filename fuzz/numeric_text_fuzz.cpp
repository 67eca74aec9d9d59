// One line of the installation's digit encoding, as the reader of ver.txt and the product
// information hands it over: already decoded, so any UTF-8 (or stray bytes).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/numeric_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/legacy_text.h"

using fuzzsupport::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::size_t bad = 0;
    const std::string text = qz::decodeNumericText(line, [&](const platform::VbError&) { ++bad; });
    if (platform::fromU32(platform::toU32(text)) != text) fail("decoded text is not clean UTF-8");
    // Each six-character group gives at most one character or one report.
    const std::size_t groups = (platform::charCount(line) + 5) / 6;
    if (bad > groups || platform::charCount(text) > 2 * groups) fail("more out than groups in");
    return 0;
}
