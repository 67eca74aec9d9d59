#include "platform/html_text.h"

#include <algorithm>

#include "platform/legacy_text.h"

namespace platform {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool nameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == ':' || c == '-';
}

// Invalid sequences come back from the round trip as U+FFFD, so the text differs.
bool validUtf8(std::string_view b) { return fromU32(toU32(b)) == b; }
std::string cleanUtf8(std::string_view b) { return fromU32(toU32(b)); }

}  // namespace

std::string declaredCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 4096);
    static constexpr std::string_view key = "charset";
    for (std::size_t at = 0; at + key.size() <= head.size(); ++at) {
        bool hit = true;
        for (std::size_t k = 0; k < key.size() && hit; ++k) hit = lowerAscii(head[at + k]) == key[k];
        if (!hit) continue;
        std::size_t i = at + key.size();
        while (i < head.size() && space(head[i])) ++i;
        if (i >= head.size() || head[i] != '=') continue;
        ++i;
        while (i < head.size() && space(head[i])) ++i;
        if (i < head.size() && (head[i] == '"' || head[i] == '\'')) ++i;
        while (i < head.size() && space(head[i])) ++i;
        std::string name;
        while (i < head.size() && nameChar(head[i])) name += lowerAscii(head[i++]);
        if (!name.empty()) return name;
    }
    return {};
}

HtmlText decodeHtmlText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {cleanUtf8(bytes.substr(3)), {}};
    const std::string charset = declaredCharset(bytes);
    static constexpr std::string_view chinese[] = {"gb2312", "gbk", "gb18030", "cp936", "x-gbk", "euc-cn"};
    if (std::find(std::begin(chinese), std::end(chinese), charset) != std::end(chinese)) return {decodeAnsi(bytes), {}};
    if (charset == "utf-8" || charset == "utf8") return {cleanUtf8(bytes), {}};
    HtmlText out{validUtf8(bytes) ? std::string(bytes) : decodeAnsi(bytes), charset};
    return out;
}

}  // namespace platform
