#pragma once
#include <string>

namespace platform {

// "major.minor" of the running kernel, e.g. "6.1"; "Unknown" when it cannot be told.
std::string osVersionText();
// The same from a uname release string such as "6.1.0-18-amd64"; a missing minor gives ".0".
std::string osVersionTextFrom(const char* release);
// strftime of the local time now, e.g. "%Y%m%d%H%M%S"; "" when the result would be empty or huge.
std::string localTimeStamp(const char* fmt);

}  // namespace platform
