#pragma once
// Number rules of the program's original runtime: Val, CInt/CLng rounding, CStr.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// VB Val: blanks (space, tab, CR, LF) are skipped anywhere, reading stops at the first character
// that cannot continue the number, no number gives 0. "&H"/"&O" give a signed 16-bit value when it
// fits in 16 bits, else a signed 32-bit one; more than 32 bits, or a decimal past double, is error 6.
double val(std::string_view text);
// Round half to even; out of range or NaN raises error 6.
std::int16_t cint(double x);
std::int32_t clng(double x);
std::int16_t cintText(std::string_view text);
// CStr of a number: integers plainly, others with up to 15 significant digits ("0.5", "1E+20").
std::string formatNumber(double x);
std::string cstr(long n);

}  // namespace platform
