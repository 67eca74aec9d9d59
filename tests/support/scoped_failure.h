#pragma once
// The text-file layer's failure switches, on for the life of the object and off again after,
// also when a test stops early.
#include <string>

#include "platform/textfile.h"

namespace testsupport {

// The file at this path, when it exists, cannot be read.
class ScopedReadFailure {
public:
    explicit ScopedReadFailure(const std::string& path) { platform::setReadFailureForTesting(path); }
    ~ScopedReadFailure() { platform::setReadFailureForTesting(""); }
    ScopedReadFailure(const ScopedReadFailure&) = delete;
    ScopedReadFailure& operator=(const ScopedReadFailure&) = delete;
};

// The nth later replace-write (1 = the next one) fails at this point.
class ScopedReplaceFailure {
public:
    ScopedReplaceFailure(long nth, platform::ReplaceFailure point) : point_(point) {
        platform::setReplaceFailureForTesting(nth, point);
    }
    ~ScopedReplaceFailure() { platform::setReplaceFailureForTesting(0, point_); }
    ScopedReplaceFailure(const ScopedReplaceFailure&) = delete;
    ScopedReplaceFailure& operator=(const ScopedReplaceFailure&) = delete;

private:
    platform::ReplaceFailure point_;
};

}  // namespace testsupport
