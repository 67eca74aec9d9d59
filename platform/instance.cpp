#include "platform/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/files.h"

namespace platform {

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

LockResult SingleInstanceLock::acquire(const std::string& lockFilePath, unsigned mode) {
    if (fd_ >= 0) return LockResult::Acquired;
    if (lockFilePath.empty()) return LockResult::Unavailable;
    // Read-only is enough for flock and works on a lock file left read-only; no link is
    // followed and a FIFO does not block the open.
    const int fd = ::open(lockFilePath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                            static_cast<mode_t>(mode));
    if (fd < 0) return LockResult::Unavailable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return LockResult::Unavailable;
    }
    int r;
    while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (r != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? LockResult::HeldByAnother : LockResult::Unavailable;
    }
    fd_ = fd;
    return LockResult::Acquired;
}

std::string userRuntimeDir() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/') return xdg;

    // The fallback: a private folder of this user in the temporary folder, as the XDG base
    // directory rules suggest when XDG_RUNTIME_DIR is not set (a relative value is ignored).
    const char* tmp = std::getenv("TMPDIR");
    const uid_t uid = ::getuid();
    const std::string dir = joinPath(tmp && tmp[0] == '/' ? tmp : "/tmp", "quorvane-" + std::to_string(uid));
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return "";
    // A name somebody else put there first is not ours to use.
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid) return "";
    if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0) return "";
    return dir;
}

std::string instanceLockPath(const std::string& runtimeDir, const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path folder = fs::absolute(programFolder, ec);
    if (ec) folder = programFolder;
    fs::path canonical = fs::weakly_canonical(folder, ec);
    folder = ec ? folder.lexically_normal() : canonical;
    std::string key = folder.string();
    while (key.size() > 1 && key.back() == '/') key.pop_back();

    // FNV-1a, 64 bits: stable across runs, builds and machines.
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : key) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return joinPath(runtimeDir, std::string("quorvane-") + hex + ".lock");
}

}  // namespace platform
