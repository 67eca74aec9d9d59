#pragma once
// The message of the error a call throws, or "" when it throws none.
#include <string>

namespace testsupport {

template <class Error>
std::string messageOf(auto&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

}  // namespace testsupport
