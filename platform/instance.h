#pragma once
// One running copy per lock file: an flock held for the life of the object. The kernel drops the
// lock when the process ends, crash or not, so a stale file never blocks a new start.
//
// The per-user lock file lies in the user's runtime directory, named after the program folder,
// so that it works in a program folder the user cannot write to. Copies of other users or
// runtime folders meet at a second lock the program keeps in the folder itself, where it can.
#include <string>

namespace platform {

enum class LockResult {
    Acquired,       // this object holds the lock
    HeldByAnother,  // another holder (any process, or another lock object) has it
    Unavailable,    // the lock could not be taken at all: no folder, not a plain file, no locking
};

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();
    // Creates the file when it is missing, with this mode (less the umask), and takes the lock
    // without waiting. Acquiring again through an object that holds the lock keeps it and
    // answers Acquired. An empty path is Unavailable. Any user who can open the file for
    // reading can hold the lock, and so find it held.
    LockResult acquire(const std::string& lockFilePath, unsigned mode = 0600);
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The user's runtime directory: XDG_RUNTIME_DIR when it is set to an absolute path. Otherwise a
// private folder of this user, "quorvane-" followed by the user id, in TMPDIR (when absolute) or
// /tmp, created with mode 0700 when missing; when that name is taken by anything but a folder
// of this user (a file, a link, another user's folder), "" (no runtime directory).
std::string userRuntimeDir();

// The lock file of the installation in programFolder: in runtimeDir, "quorvane-", 16 hex
// digits of a hash of the folder's canonical path, ".lock". Every way of naming one folder
// (links, dot segments, a trailing slash) gives the same file.
std::string instanceLockPath(const std::string& runtimeDir, const std::string& programFolder);

}  // namespace platform
