#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <vector>

#include "platform/vb_error.h"

namespace platform {
namespace {

std::string& folderOverride() {
    static std::string folder;
    return folder;
}

std::string selfExe() {
    std::string buf(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    return n > 0 ? buf.substr(0, static_cast<std::size_t>(n)) : std::string();
}

bool exists(const std::string& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

// The entry of `dir` matching `name` regardless of ASCII case; the first in byte order when
// several do, so the answer does not depend on the order the folder lists them.
std::optional<std::string> matchInFolder(const std::string& dir, std::string_view name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view entry = e->d_name;
        if (asciiIEqual(entry, name) && (!best || entry < *best)) best = std::string(entry);
    }
    ::closedir(d);
    return best;
}

std::optional<std::string> realPathOf(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string out = real;
    std::free(real);
    return out;
}

// Both are real paths.
bool atOrBelow(const std::string& root, const std::string& path) {
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                            (root == "/" || path[root.size()] == '/'));
}

}  // namespace

std::string programFolder() {
    if (!folderOverride().empty()) return folderOverride();
    const std::string exe = selfExe();
    const std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : exe.substr(0, slash);
}

void setProgramFolderForTesting(std::string folder) { folderOverride() = std::move(folder); }

std::string executableBaseName() {
    std::string name = selfExe();
    name = name.substr(name.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string joinPath(std::string_view a, std::string_view b) {
    if (a.empty()) return std::string(b);
    while (!b.empty() && (b.front() == '/' || b.front() == '\\')) b.remove_prefix(1);
    std::string out(a);
    if (out.back() != '/' && out.back() != '\\') out += '/';
    return out + std::string(b);
}

std::string toNativePath(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

bool folderNameInside(const std::string& programFolder, std::string_view name) {
    if (name.empty() || name == ".") return true;
    if (name.front() == '/' || name.front() == '\\' || name.find(':') != std::string_view::npos) return false;
    std::vector<std::string> parts(1);
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (c == '/' || c == '\\')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    std::erase_if(parts, [](const std::string& part) { return part.empty() || part == "."; });
    for (const std::string& part : parts)
        if (part == "..") return false;
    // Links: the deepest part that exists must still resolve below the program folder.
    const std::optional<std::string> root = realPathOf(programFolder);
    if (!root) return false;
    std::string path = programFolder;
    for (const std::string& part : parts) {
        const std::optional<std::string> found = findExistingCaseInsensitive(joinPath(path, part));
        if (!found) break;
        path = *found;
    }
    const std::optional<std::string> resolved = realPathOf(path);
    return resolved && atOrBelow(*root, *resolved);
}

std::optional<std::string> readFileInside(const std::string& folder, const std::string& path, std::size_t maxBytes) {
    const std::optional<std::string> root = realPathOf(folder);
    const std::optional<std::string> real = realPathOf(path);
    if (!root || !real || !atOrBelow(*root, *real)) return std::nullopt;
    // Looked at before it is opened: opening a device can already do something.
    struct stat st {};
    if (::stat(real->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const int fd = ::open(real->c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct Closer {
        int handle;
        ~Closer() { ::close(handle); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return std::nullopt;
    // The file may grow while it is read: one byte past the limit is enough to know.
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    while (data.size() <= maxBytes) {
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes + 1 - data.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return data;
        data.append(buf, static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

std::optional<std::string> findExistingCaseInsensitive(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (exists(path)) return path;
    std::string out = path.front() == '/' ? "/" : "";
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        const std::string_view part = std::string_view(path).substr(pos, next - pos);
        pos = next + 1;
        if (part.empty()) continue;
        const std::string exact = out + std::string(part);
        if (part == "." || part == ".." || exists(exact)) {
            out = exact;
        } else if (const auto m = matchInFolder(out, part)) {
            out += *m;
        } else {
            return std::nullopt;
        }
        if (pos < path.size()) out += '/';
    }
    return exists(out) ? std::optional(out) : std::nullopt;
}

std::string resolvePath(const std::string& path) {
    const std::string native = toNativePath(path);
    if (auto found = findExistingCaseInsensitive(native)) return *found;
    const std::size_t slash = native.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (auto dir = findExistingCaseInsensitive(native.substr(0, slash))) return *dir + native.substr(slash);
    }
    return native;
}

std::optional<std::int64_t> fileModifiedTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

void copyFile(const std::string& from, const std::string& to, bool overwrite) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) raise(errno == ENOENT ? 53 : errno == EACCES ? 70 : 75);
    int out = -1;
    auto fail = [&](int err, int whenMissing) {
        if (in >= 0) ::close(in);
        if (out >= 0) ::close(out);
        if (err == ENOENT || err == ENOTDIR) raise(whenMissing);
        if (err == EEXIST) raise(58);
        if (err == ENOSPC || err == EDQUOT) raise(61);
        if (err == EACCES || err == EPERM || err == EROFS) raise(70);
        raise(75);
    };
    struct stat st {};
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) fail(EISDIR, 53);
    // The same file on both sides would be truncated before it is read.
    struct stat dst {};
    if (::stat(to.c_str(), &dst) == 0 && dst.st_dev == st.st_dev && dst.st_ino == st.st_ino) fail(EINVAL, 76);
    out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_EXCL), st.st_mode & 0777);
    if (out < 0) fail(errno, 76);
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, 53);
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buf + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) fail(errno, 76);
            done += w;
        }
    }
    ::close(in);
    in = -1;
    const int r = ::close(out);
    out = -1;
    if (r != 0) fail(errno, 76);
}

bool makeDir(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1))
        ::mkdir(path.substr(0, pos).c_str(), 0755);
    ::mkdir(path.c_str(), 0755);
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void removeFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) raise(75);
    if (::unlink(path.c_str()) == 0) return;
    if (errno == ENOENT || errno == ENOTDIR) raise(53);
    if (errno == EACCES || errno == EPERM || errno == EROFS) raise(70);
    raise(75);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool asciiIEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto low = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return low(x) == low(y);
           });
}

int syncFolderOf(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return err;
}

}  // namespace platform
