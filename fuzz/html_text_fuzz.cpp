// Any bytes as a help page: what the view is handed is clean UTF-8, and a charset passed on by
// name is one the page declared and no decoder of ours reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/html_text.h"
#include "platform/legacy_text.h"

using fuzzsupport::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const platform::HtmlText t = platform::decodeHtmlText(bytes);
    if (platform::fromU32(platform::toU32(t.utf8)) != t.utf8) fail("the text is not clean UTF-8");
    const std::string declared = platform::declaredCharset(bytes);
    if (!t.otherCharset.empty() && t.otherCharset != declared) fail("a charset the page did not declare");
    for (const std::string_view ours : {"gb2312", "gbk", "gb18030", "cp936", "x-gbk", "euc-cn", "utf-8", "utf8"})
        if (t.otherCharset == ours) fail("a charset we read ourselves was passed on");
    for (char c : declared)
        if (c >= 'A' && c <= 'Z') fail("the charset is not lower case");
    if (declared != platform::declaredCharset(bytes.substr(0, 4096))) fail("the charset was read past the head");
    return 0;
}
