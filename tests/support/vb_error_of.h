#pragma once
// The run-time error number a statement raises, or 0 when it raises none.
#include "platform/vb_error.h"

namespace testsupport {

inline int errorOf(auto&& f) {
    try {
        f();
    } catch (const platform::VbError& e) {
        return e.number;
    }
    return 0;
}

}  // namespace testsupport
