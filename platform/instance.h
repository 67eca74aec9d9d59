#pragma once
// One running copy per lock file: an flock held for the life of the object. The kernel drops the
// lock when the process ends, crash or not, so a stale file never blocks a new start.
#include <string>

namespace platform {

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();
    // False when another holder (any process, or another lock object) has it, or the file cannot
    // be opened. Acquiring again through the same object keeps the lock and answers true.
    bool acquire(const std::string& lockFilePath);

private:
    int fd_ = -1;
};

}  // namespace platform
