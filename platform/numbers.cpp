#include "platform/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/vb_error.h"

namespace platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

double radixValue(std::string_view s, int radix) {
    std::uint64_t v = 0;
    for (char c : s) {
        const int d = digitValue(c);
        if (d >= radix) break;
        v = v * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFu) raise(6);
    }
    if (v <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

template <typename T>
T roundEven(double x) {
    if (std::isnan(x)) raise(6);
    const double f = std::floor(x);
    const double frac = x - f;
    double r = f;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1.0;
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        raise(6);
    return static_cast<T>(r);
}

}  // namespace

double val(std::string_view text) {
    std::string s;
    for (char c : text)
        if (!isBlank(c)) s += c;
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = s[1];
        if (kind == 'H' || kind == 'h') return radixValue(std::string_view(s).substr(2), 16);
        if (kind == 'O' || kind == 'o') return radixValue(std::string_view(s).substr(2), 8);
        return 0;
    }
    // Rebuild the number in a form from_chars takes: [-]digits.digits[e[-]digits].
    std::string num;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') num += '-';
        ++i;
    }
    bool digits = false;
    num += '0';
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) num += s[i], digits = true;
    if (i < s.size() && s[i] == '.') {
        num += '.';
        const std::size_t first = i + 1;
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) num += s[i], digits = true;
        if (i == first) num += '0';
    }
    if (!digits) return 0;
    bool negativeExp = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExp = s[j] == '-';
            if (negativeExp) exp += '-';
            ++j;
        }
        const std::size_t first = j;
        for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j) exp += s[j];
        if (j > first) num += exp;
    }
    double v = 0;
    const auto [ptr, ec] = std::from_chars(num.data(), num.data() + num.size(), v);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        if (negativeExp) return 0;
        raise(6);
    }
    return v;
}

std::int16_t cint(double x) { return roundEven<std::int16_t>(x); }
std::int32_t clng(double x) { return roundEven<std::int32_t>(x); }
std::int16_t cintText(std::string_view text) { return cint(val(text)); }

std::string formatNumber(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";
    if (x == 0) return "0";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    (void)ec;
    std::string s(buf, end);
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::string cstr(long n) { return std::to_string(n); }

}  // namespace platform
