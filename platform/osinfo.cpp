#include "platform/osinfo.h"

#include <sys/utsname.h>

#include <ctime>

namespace platform {
namespace {

// A run of digits without leading zeros ("007" -> "7"); empty when there is no digit at p.
std::string number(const char*& p) {
    std::string digits;
    for (; *p >= '0' && *p <= '9'; ++p) digits += *p;
    const std::size_t nonZero = digits.find_first_not_of('0');
    return nonZero == std::string::npos ? digits.substr(0, 1) : digits.substr(nonZero);
}

}  // namespace

std::string osVersionTextFrom(const char* release) {
    if (!release) return "Unknown";
    const char* p = release;
    const std::string major = number(p);
    if (major.empty()) return "Unknown";
    std::string minor;
    if (*p == '.') minor = number(++p);
    return major + "." + (minor.empty() ? "0" : minor);
}

std::string osVersionText() {
    utsname u{};
    if (::uname(&u) != 0) return "Unknown";
    return osVersionTextFrom(u.release);
}

std::string localTimeStamp(const char* fmt) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!fmt || !::localtime_r(&now, &tm)) return {};
    char buf[256];
    const std::size_t n = std::strftime(buf, sizeof buf, fmt, &tm);
    return std::string(buf, n);
}

}  // namespace platform
