#pragma once
// How a help page's bytes become text: a UTF-8 mark, then the charset the page declares, then a
// guess between UTF-8 and the ANSI code page.
#include <string>
#include <string_view>

namespace platform {

struct HtmlText {
    std::string utf8;          // always clean UTF-8
    std::string otherCharset;  // a declared charset that is neither UTF-8 nor Chinese, lower case
};

// With otherCharset set, utf8 holds the guess, for a host whose decoders don't know the name.
HtmlText decodeHtmlText(std::string_view bytes);
// The value of the first "charset=" in the first 4096 bytes, lower case; empty when none.
std::string declaredCharset(std::string_view bytes);

}  // namespace platform
