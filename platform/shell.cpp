#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace platform {
namespace {

// PATH is searched before fork: between fork and exec only async-signal-safe calls are allowed.
std::string findProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        const std::string full = dir + "/" + name;
        if (::access(full.c_str(), X_OK) == 0) return full;
        start = end + 1;
    }
    return {};
}

bool spawnDetached(const std::string& program, const std::vector<std::string>& args) {
    const std::string exe = findProgram(program);
    if (exe.empty()) return false;
    std::vector<std::string> argvStore{program};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through this pipe; a successful exec closes it silently.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (child == 0) {
        const pid_t grandchild = ::fork();
        if (grandchild > 0) ::_exit(0);
        if (grandchild < 0) {
            const int err = errno;
            ssize_t ignored = ::write(fds[1], &err, sizeof err);
            (void)ignored;
            ::_exit(127);
        }
        ::setsid();
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int devnull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (devnull >= 0) ::dup2(devnull, 0);
        ::execve(exe.c_str(), argv.data(), environ);
        const int err = errno;
        ssize_t ignored = ::write(fds[1], &err, sizeof err);
        (void)ignored;
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = ::read(fds[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    ::close(fds[0]);
    return n == 0;
}

}  // namespace

Shell::~Shell() = default;

bool SystemShell::openLink(const std::string& urlOrPath) { return spawnDetached("xdg-open", {urlOrPath}); }

bool SystemShell::startProgram(const std::string& path, const std::vector<std::string>& args, bool) {
    return spawnDetached(path, args);
}

bool RecordingShell::openLink(const std::string& urlOrPath) {
    calls.push_back({Call::Link, urlOrPath, {}, false});
    return result;
}

bool RecordingShell::startProgram(const std::string& path, const std::vector<std::string>& args, bool minimized) {
    calls.push_back({Call::Program, path, args, minimized});
    return result;
}

}  // namespace platform
