#include "platform/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/vb_error.h"

namespace platform {
namespace {

long g_failAfter = -1;
std::string g_unreadable;     // test hook: the file that cannot be read
long g_replaceCountdown = 0;  // test hook: replace-writes up to the one that fails; 0 none
ReplaceFailure g_replaceFailAt = ReplaceFailure::AfterTemporaryFile;
long g_callCountdown = 0;  // test hook: system calls up to the faulty one; 0 none
CallFault g_callFault = CallFault::Fail;

// True when the call about to be made is to fail; errno is set as the call would set it.
bool callFaults() {
    if (g_callCountdown <= 0 || --g_callCountdown > 0) return false;
    if (g_callFault == CallFault::Exit) ::_exit(CallExitStatus);
    errno = EIO;
    return true;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the error, which for a write can be the first sign of a full disk.
    int close() {
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Returns 0 or the errno of the failed write.
int writeAll(int fd, std::string_view data) {
    bool injected = false;
    if (g_failAfter >= 0 && data.size() > static_cast<std::size_t>(g_failAfter)) {
        data = data.substr(0, static_cast<std::size_t>(g_failAfter));
        injected = true;
    }
    while (!data.empty()) {
        if (callFaults()) return errno;
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return injected ? ENOSPC : 0;
}

[[noreturn]] void raiseWrite(int err) {
    if (err == ENOENT || err == ENOTDIR) raise(76);
    if (err == ENOSPC || err == EDQUOT) raise(61);
    raise(75);
}

std::string encodeLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += encodeAnsi(l) + "\r\n";
    return out;
}

// File names compare without regard to case, as on the system the data files come from.
Fd openForReading(const std::string& rawPath) {
    const std::string path = resolvePath(rawPath);
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) raise(errno == ENOENT ? 53 : 75);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) raise(75);
    if (!g_unreadable.empty()) {
        std::error_code ec;
        if (std::filesystem::equivalent(path, resolvePath(g_unreadable), ec)) raise(75);
    }
    return fd;
}

// Reads from the start, passing each block to visit until the end or until visit returns false.
template <class Visit>
void eachBlock(const Fd& fd, Visit&& visit) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raise(75);
        if (n == 0 || !visit(std::string_view(buf, static_cast<std::size_t>(n)))) return;
    }
}

// The line rule of splitLines over text that arrives in blocks: a CR ending one block may be the
// first half of a CR LF.
class LineSplitter {
public:
    // False once visit has returned false.
    template <class Visit>
    bool feed(std::string_view block, Visit& visit) {
        std::size_t start = 0;
        for (std::size_t i = 0; i < block.size(); ++i) {
            const char c = block[i];
            const bool lfOfCrLf = c == '\n' && afterCr_;
            afterCr_ = c == '\r';
            if (lfOfCrLf) {
                start = i + 1;
                continue;
            }
            if (c != '\r' && c != '\n') continue;
            line_.append(block.substr(start, i - start));
            start = i + 1;
            open_ = false;
            if (!visit(line_)) return false;
            line_.clear();
        }
        if (start < block.size()) {
            line_.append(block.substr(start));
            open_ = true;
        }
        return true;
    }
    // The last line, when no terminator ended it.
    template <class Visit>
    void finish(Visit& visit) {
        if (open_) visit(line_);
    }

private:
    std::string line_;
    bool afterCr_ = false;
    bool open_ = false;
};

std::string readAllOrRaise(const std::string& path) {
    const Fd fd = openForReading(path);
    std::string data;
    eachBlock(fd, [&](std::string_view block) {
        data.append(block);
        return true;
    });
    return data;
}

}  // namespace

void setWriteFailureForTesting(long afterBytes) { g_failAfter = afterBytes; }

void setReadFailureForTesting(const std::string& path) { g_unreadable = path; }

long setCallFaultForTesting(long nth, CallFault fault) {
    const long left = g_callCountdown;
    g_callCountdown = nth < 0 ? 0 : nth;
    g_callFault = fault;
    return left;
}

void setReplaceFailureForTesting(long nth, ReplaceFailure point) {
    g_replaceCountdown = nth < 0 ? 0 : nth;
    g_replaceFailAt = point;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    const auto keep = [&](const std::string& line) {
        lines.push_back(line);
        return true;
    };
    LineSplitter splitter;
    splitter.feed(text, keep);
    splitter.finish(keep);
    return lines;
}

void forEachRawLine(const std::string& path, const std::function<bool(const std::string&)>& visit) {
    const Fd fd = openForReading(path);
    LineSplitter splitter;
    bool more = true;
    eachBlock(fd, [&](std::string_view block) {
        more = splitter.feed(block, visit);
        return more;
    });
    if (more) splitter.finish(visit);
}

std::vector<std::string> readLines(const std::string& path) { return splitLines(decodeAnsi(readAllOrRaise(path))); }

std::optional<std::vector<std::string>> readLinesAtMost(const std::string& path, std::int64_t maxBytes) {
    const Fd fd = openForReading(path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) raise(75);
    if (st.st_size > maxBytes) return std::nullopt;
    // The size may be no guide (a device, a file still growing): the reading stops past the bound.
    std::string data;
    eachBlock(fd, [&](std::string_view block) {
        data.append(block);
        return static_cast<std::int64_t>(data.size()) <= maxBytes;
    });
    if (static_cast<std::int64_t>(data.size()) > maxBytes) return std::nullopt;
    return splitLines(decodeAnsi(data));
}

std::vector<std::string> readRawLines(const std::string& path) { return splitLines(readAllOrRaise(path)); }

std::string readLine(const std::string& path, long n) {
    const auto lines = readLines(path);
    if (lines.empty()) return {};
    if (n < 1) n = 1;
    return static_cast<std::size_t>(n) > lines.size() ? lines.back() : lines[static_cast<std::size_t>(n - 1)];
}

std::string readFirstLine(const std::string& path) { return readLine(path, 1); }

void appendLines(const std::string& rawPath, const std::vector<std::string>& lines) {
    const std::string path = resolvePath(rawPath);
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (fd.get() < 0) raiseWrite(errno);
    if (const int err = writeAll(fd.get(), encodeLines(lines))) raiseWrite(err);
    if (const int err = fd.close()) raiseWrite(err);
}

void writeLinesReplace(const std::string& path, const std::vector<std::string>& lines, FolderSync sync) {
    writeBytesReplace(path, encodeLines(lines), sync);
}

std::string linesFileBytes(const std::vector<std::string>& lines) { return encodeLines(lines); }

bool fileHoldsLines(const std::string& path, const std::vector<std::string>& lines) {
    const auto bytes = readBytes(path);
    return bytes && *bytes == encodeLines(lines);
}

void writeBytesReplace(const std::string& rawPath, std::string_view bytes, FolderSync sync) {
    const std::string path = resolvePath(rawPath);
    if (leafOf(path).empty()) raise(75);
    if (dirExists(path)) raise(75);

    std::string tmp;
    Fd fd(callFaults() ? -1 : createReplaceTemporary(path, tmp));
    if (fd.get() < 0) raiseWrite(errno);
    struct Cleanup {
        const std::string& p;
        bool armed = true;
        ~Cleanup() {
            if (armed) ::unlink(p.c_str());
        }
    } cleanup{tmp};

    const bool failHere = g_replaceCountdown > 0 && --g_replaceCountdown == 0;
    if (const int err = writeAll(fd.get(), bytes)) raiseWrite(err);
    if (failHere && g_replaceFailAt == ReplaceFailure::AfterTemporaryFile) raise(61);
    if (callFaults() || ::fsync(fd.get()) != 0) raiseWrite(errno);
    if (callFaults()) raiseWrite(errno);
    if (const int err = fd.close()) raiseWrite(err);
    if (failHere && g_replaceFailAt == ReplaceFailure::BeforeRename) raise(61);
    if (callFaults() || ::rename(tmp.c_str(), path.c_str()) != 0) raiseWrite(errno);
    cleanup.armed = false;

    // Without this the rename itself may be lost on a crash.
    const int err = callFaults() ? errno : syncFolderOf(path);
    if (err != 0 && sync == FolderSync::Required) raiseWrite(err);
}

bool removeFileSynced(const std::string& rawPath) {
    const std::string path = resolvePath(rawPath);
    if (callFaults() || ::unlink(path.c_str()) != 0) {
        if (errno == ENOENT) return true;
        return false;
    }
    if (!callFaults()) syncFolderOf(path);
    return true;
}

int createReplaceTemporary(const std::string& path, std::string& tmp) {
    tmp = folderOf(path) + "/." + leafOf(path) + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        tmp.clear();  // the name last tried may be another's file
        errno = err;
        return -1;
    }
    // mkostemp's 0600 would make a replaced file unreadable to the other users of a shared folder.
    struct stat st {};
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    return fd;
}

std::string replaceTemporaryTarget(std::string_view leaf) {
    if (leaf.size() < 9 || leaf[0] != '.' || leaf[leaf.size() - 7] != '.') return {};
    for (char c : leaf.substr(leaf.size() - 6))
        if (!std::isalnum(static_cast<unsigned char>(c))) return {};
    return std::string(leaf.substr(1, leaf.size() - 8));
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(resolvePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st {};
    return ::stat(resolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> readBytes(const std::string& path) {
    try {
        return readAllOrRaise(path);
    } catch (const VbError&) {
        return std::nullopt;
    }
}

}  // namespace platform
