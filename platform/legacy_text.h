#pragma once
// Text in the Chinese ANSI code page (CP936) and VB-style string helpers that count characters.
// Everything inside the program is UTF-8; bytes in CP936 appear only at file and wire boundaries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// CP936 bytes to UTF-8. GBK first, GB18030 for what GBK rejects, U+FFFD for each byte neither takes.
std::string decodeAnsi(std::string_view bytes);
// UTF-8 to GBK; a character GBK cannot hold (or a bad UTF-8 byte) becomes '?'.
std::string encodeAnsi(std::string_view utf8);

// Invalid UTF-8 (and surrogates or values past U+10FFFF) become U+FFFD, one per bad byte.
std::u32string toU32(std::string_view utf8);
std::string fromU32(std::u32string_view text);
std::size_t charCount(std::string_view utf8);

// Left$/Mid$/Right$ on characters; a negative count (other than Mid's -1 = to the end) or a start
// below 1 raises error 5 as VB does. Bad UTF-8 bytes count as one character each and are kept.
std::string leftChars(std::string_view s, long n);
std::string midChars(std::string_view s, long start1, long len = -1);
std::string rightChars(std::string_view s, long n);
// Only ASCII spaces, like VB Trim: tabs and line breaks stay.
std::string trimSpaces(std::string_view s);
std::string ltrimSpaces(std::string_view s);
std::string rtrimSpaces(std::string_view s);
// VB LCase: every letter with a lower-case form, full-width and non-Latin ones too.
std::string lowerCase(std::string_view utf8);

// Width in a fixed-pitch ANSI layout: a character that is two bytes in CP936 counts 2, else 1.
int displayColumns(std::string_view utf8);
// VB Asc: the signed 16-bit CP936 code of a character; 63 ('?') when it has no two-byte form.
std::int16_t ansiCode(char32_t c);
// VB Chr: 0..255 one byte, 256..65535 lead/trail bytes, -32768..-1 as code + 65536; else error 5.
std::string charFromAnsiCode(long code);

}  // namespace platform
