// Any bytes as a legacy text file: decoding, line splitting, and the character-counting
// string helpers on what comes out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"

using fuzzsupport::fail;

namespace {

void checkCharHelpers(const std::string& s, long n) {
    const std::size_t count = platform::charCount(s);
    if (platform::toU32(s).size() != count) fail("charCount disagrees with toU32");
    if (platform::leftChars(s, n) + platform::midChars(s, n + 1) != s) fail("Left$ and Mid$ do not make the whole");
    if (platform::charCount(platform::rightChars(s, n)) != std::min<std::size_t>(count, static_cast<std::size_t>(n)))
        fail("Right$ has the wrong length");
    if (platform::displayColumns(s) < static_cast<int>(count)) fail("fewer columns than characters");
    (void)platform::decodeAnsi(platform::encodeAnsi(s));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = platform::decodeAnsi(bytes);
    if (platform::fromU32(platform::toU32(text)) != text) fail("decoded text is not clean UTF-8");
    const auto lines = platform::splitLines(text);
    for (const auto& l : lines)
        if (l.find_first_of("\r\n") != std::string::npos) fail("a line keeps a line break");

    // The file path must give what the pure functions give.
    static const std::string path = fuzzsupport::scratchDir() + "/text.txt";
    fuzzsupport::writeFile(path, bytes);
    if (platform::readLines(path) != lines) fail("readLines differs from splitLines(decodeAnsi)");
    const long n = size > 0 ? data[0] % 40 : 0;
    // Line n from 1; below 1 the first, past the end the last, none at all "".
    const std::string expected =
        lines.empty() ? std::string()
                      : lines[std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 1L)), lines.size()) - 1];
    if (platform::readLine(path, n) != expected) fail("readLine picked the wrong line");

    // The helpers on decoded text, and on the raw bytes as if they were UTF-8 (bad bytes count
    // as one character each).
    checkCharHelpers(text, n);
    checkCharHelpers(std::string(bytes), n);
    for (char32_t c : platform::toU32(text)) (void)platform::ansiCode(c);
    if (size >= 2) {
        const long code = static_cast<std::int16_t>(data[0] << 8 | data[1]);
        if (platform::charFromAnsiCode(code).empty()) fail("Chr$ gave nothing");
    }
    return 0;
}
