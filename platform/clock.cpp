#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace platform {

LocalTime systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!::localtime_r(&now, &tm)) return {};
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string timeText(const LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

std::string dateText(const LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d年%02d月%02d日", t.year, t.month, t.day);
    return buf;
}

void SystemRandomNumbers::reseed() {
    engine_.seed(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                 static_cast<std::uint64_t>(std::time(nullptr)));
}

double SystemRandomNumbers::next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

}  // namespace platform
