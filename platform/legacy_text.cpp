#include "platform/legacy_text.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>
#include <memory>

#include "platform/vb_error.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One UTF-8 step: the code point at s[i] and its length in bytes; a bad byte gives U+FFFD, length 1.
struct Step {
    char32_t cp;
    std::size_t len;
};

Step utf8Step(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {b0, 1};
    if (b0 < 0xC2 || b0 > 0xF4) return {kReplacement, 1};  // a trail byte, or a lead never valid
    const std::size_t len = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : 2;
    char32_t cp = b0 & (0x7Fu >> len);
    const char32_t min = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (i + len > s.size()) return {kReplacement, 1};
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return {kReplacement, 1};
        cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {kReplacement, 1};
    return {cp, len};
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A converter kept per thread: iconv_t carries state and must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) raise(5);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much of `in` as it can, appending to `out`; returns the bytes consumed and leaves
    // errno set when it stopped early.
    std::size_t run(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buf[1024];
        while (left > 0) {
            char* dst = buf;
            std::size_t room = sizeof buf;
            errno = 0;
            const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        }
        if (left == 0) errno = 0;
        return in.size() - left;
    }

private:
    iconv_t cd_;
};

Converter& gbkDecoder() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}
Converter& gb18030Decoder() {
    thread_local Converter c("UTF-8", "GB18030");
    return c;
}
Converter& gbkEncoder() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

}  // namespace

std::string decodeAnsi(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    std::size_t i = 0;
    while (i < bytes.size()) {
        i += gbkDecoder().run(bytes.substr(i), out);
        if (i >= bytes.size()) break;
        // GBK stopped on this byte: a GB18030 two- or four-byte character, or a bad byte.
        std::size_t len = 0;
        if (i + 1 < bytes.size()) {
            const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
            len = (b1 >= 0x30 && b1 <= 0x39) ? 4 : 2;
        }
        if (len > 0 && i + len <= bytes.size()) {
            std::string one;
            if (gb18030Decoder().run(bytes.substr(i, len), one) == len) {
                out += one;
                i += len;
                continue;
            }
        }
        appendUtf8(out, kReplacement);
        ++i;
    }
    return out;
}

std::string encodeAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        i += gbkEncoder().run(utf8.substr(i), out);
        if (i >= utf8.size()) break;
        out += '?';
        i += utf8Step(utf8, i).len;
    }
    return out;
}

std::u32string toU32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Step st = utf8Step(utf8, i);
        out += st.cp;
        i += st.len;
    }
    return out;
}

std::string fromU32(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) appendUtf8(out, c);
    return out;
}

std::size_t charCount(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n) i += utf8Step(utf8, i).len;
    return n;
}

namespace {
// Byte offset of character number `n` (0-based) in s, or s.size() when s is shorter.
std::size_t byteOffset(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    for (; i < s.size() && n > 0; --n) i += utf8Step(s, i).len;
    return i;
}
}  // namespace

std::string leftChars(std::string_view s, long n) {
    if (n < 0) raise(5);
    return std::string(s.substr(0, byteOffset(s, static_cast<std::size_t>(n))));
}

std::string midChars(std::string_view s, long start1, long len) {
    if (start1 < 1 || len < -1) raise(5);
    const std::string_view rest = s.substr(byteOffset(s, static_cast<std::size_t>(start1 - 1)));
    return len == -1 ? std::string(rest) : leftChars(rest, len);
}

std::string rightChars(std::string_view s, long n) {
    if (n < 0) raise(5);
    const std::size_t count = charCount(s);
    const auto keep = static_cast<std::size_t>(n);
    return keep >= count ? std::string(s) : std::string(s.substr(byteOffset(s, count - keep)));
}

std::string ltrimSpaces(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string rtrimSpaces(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string trimSpaces(std::string_view s) { return ltrimSpaces(rtrimSpaces(s)); }

std::string lowerCase(std::string_view utf8) {
    // The C.UTF-8 locale carries the whole Unicode case table whatever the user's locale.
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    std::u32string text = toU32(utf8);
    for (char32_t& c : text) {
        if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
        else if (c >= 0x80 && unicode) c = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), unicode));
    }
    return fromU32(text);
}

int displayColumns(std::string_view utf8) {
    int cols = 0;
    std::string one;
    for (std::size_t i = 0; i < utf8.size();) {
        const Step st = utf8Step(utf8, i);
        if (st.cp < 0x80) {
            ++cols;
        } else {
            one.clear();
            appendUtf8(one, st.cp);
            cols += encodeAnsi(one).size() == 2 ? 2 : 1;
        }
        i += st.len;
    }
    return cols;
}

std::int16_t ansiCode(char32_t c) {
    if (c < 0x80) return static_cast<std::int16_t>(c);
    std::string one;
    appendUtf8(one, c);
    const std::string b = encodeAnsi(one);
    if (b.size() == 1) return static_cast<std::int16_t>(static_cast<unsigned char>(b[0]));
    if (b.size() != 2) return '?';
    const int code = static_cast<unsigned char>(b[0]) * 256 + static_cast<unsigned char>(b[1]);
    return static_cast<std::int16_t>(code - 65536);  // every lead byte is >= 0x81
}

std::string charFromAnsiCode(long code) {
    if (code < -32768 || code > 65535) raise(5);
    if (code < 0) code += 65536;
    std::string bytes;
    if (code >= 256) bytes += static_cast<char>(code / 256);
    bytes += static_cast<char>(code % 256);
    return decodeAnsi(bytes);
}

}  // namespace platform
