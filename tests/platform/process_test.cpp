// Services tied to the running process and the OS: the instance lock, starting programs,
// version and time text, keyboard layouts.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "platform/instance.h"
#include "platform/keyboard.h"
#include "platform/osinfo.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "tests/support/temp_dir.h"
#include "tests/support/scoped_env.h"

using namespace platform;
using testsupport::TempDir;
using testsupport::writeFileBytes;

namespace {
// Runs f in a child process and returns its exit code.
int inChild(auto&& f) {
    const pid_t pid = fork();
    if (pid == 0) _exit(f());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool eventually(auto&& condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
}  // namespace

TEST(SingleInstance, SecondHolderIsRefused) {
    TempDir dir;
    const auto path = dir.file("app.lock");
    const auto code = [](LockResult r) { return static_cast<int>(r); };
    {
        SingleInstanceLock first;
        ASSERT_EQ(first.acquire(path), LockResult::Acquired);
        EXPECT_TRUE(first.held());
        EXPECT_EQ(first.acquire(path), LockResult::Acquired);
        EXPECT_EQ(inChild([&] { return code(SingleInstanceLock().acquire(path)); }), code(LockResult::HeldByAnother));
        SingleInstanceLock second;  // another open file description in this process
        EXPECT_EQ(second.acquire(path), LockResult::HeldByAnother);
        EXPECT_FALSE(second.held());
    }
    EXPECT_EQ(inChild([&] { return code(SingleInstanceLock().acquire(path)); }), code(LockResult::Acquired));
}

TEST(SingleInstance, ALockThatCannotBeTakenIsNotHeldByAnother) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("folder.lock"));
    writeFileBytes(dir.file("file"), "");
    ASSERT_EQ(::mkfifo(dir.file("fifo.lock").c_str(), 0600), 0);
    writeFileBytes(dir.file("target.lock"), "");
    std::filesystem::create_symlink(dir.file("target.lock"), dir.file("link.lock"));
    for (const std::string& path : {dir.file("no/such/app.lock"), dir.file("folder.lock"), dir.file("file/app.lock"),
                                    dir.file("fifo.lock"), dir.file("link.lock"), std::string()}) {
        SingleInstanceLock lock;
        EXPECT_EQ(lock.acquire(path), LockResult::Unavailable) << path;
        EXPECT_FALSE(lock.held()) << path;
    }
    // A lock file left read-only still locks.
    writeFileBytes(dir.file("ro.lock"), "");
    ::chmod(dir.file("ro.lock").c_str(), 0444);
    SingleInstanceLock ro;
    EXPECT_EQ(ro.acquire(dir.file("ro.lock")), LockResult::Acquired);
    EXPECT_EQ(SingleInstanceLock().acquire(dir.file("ro.lock")), LockResult::HeldByAnother);
}

TEST(SingleInstance, ReleasedWhenTheHolderDies) {
    TempDir dir;
    const auto path = dir.file("app.lock");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        SingleInstanceLock lock;
        const char ok = lock.acquire(path) == LockResult::Acquired ? 'y' : 'n';
        if (write(ready[1], &ok, 1) != 1) _exit(2);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    SingleInstanceLock mine;
    EXPECT_EQ(mine.acquire(path), LockResult::HeldByAnother);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(mine.acquire(path), LockResult::Acquired);
    close(ready[0]);
    close(ready[1]);
}

TEST(SingleInstance, LockPathIsKeyedByTheCanonicalProgramFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("app/sub"));
    std::filesystem::create_directories(dir.file("other"));
    std::filesystem::create_symlink(dir.file("app"), dir.file("link"));
    const std::string run = "/run/user/1000";
    const std::string path = instanceLockPath(run, dir.file("app"));
    EXPECT_TRUE(std::regex_match(path, std::regex(R"(/run/user/1000/quorvane-[0-9a-f]{16}\.lock)"))) << path;
    for (const std::string& same : {dir.file("app/"), dir.file("app/./sub/.."), dir.file("link"), dir.path() + "//app"})
        EXPECT_EQ(instanceLockPath(run, same), path) << same;
    EXPECT_EQ(instanceLockPath(run + "/", dir.file("app")), path);
    EXPECT_NE(instanceLockPath(run, dir.file("other")), path);
    EXPECT_NE(instanceLockPath(run, dir.file("app/sub")), path);
    // A folder that does not exist (yet) still has its own lock.
    EXPECT_NE(instanceLockPath(run, dir.file("gone")), instanceLockPath(run, dir.file("gone2")));
    // Stable across runs: a fixed folder gives a fixed name.
    EXPECT_EQ(instanceLockPath("/r", "/opt/quorvane"), instanceLockPath("/r", "/opt/quorvane/"));
}

namespace {
using testsupport::ScopedEnv;

constexpr uid_t kNobody = 65534;
}  // namespace

TEST(SingleInstance, RuntimeDirectoryFromXdgOrAPrivateFallback) {
    TempDir tmp;
    ScopedEnv tmpdir("TMPDIR", tmp.path().c_str());
    {
        ScopedEnv xdg("XDG_RUNTIME_DIR", "/run/user/4242");
        EXPECT_EQ(userRuntimeDir(), "/run/user/4242");
    }
    const std::string fallback = tmp.file("quorvane-" + std::to_string(::getuid()));
    for (const char* unset : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        SCOPED_TRACE(unset ? unset : "(unset)");
        ScopedEnv xdg("XDG_RUNTIME_DIR", unset);
        EXPECT_EQ(userRuntimeDir(), fallback);
        struct stat st {};
        ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::getuid());
    }
    ScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
    // A folder of ours that others may enter is made private again.
    ::chmod(fallback.c_str(), 0755);
    EXPECT_EQ(userRuntimeDir(), fallback);
    struct stat st {};
    ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A name taken by something that is not our folder is not used: no runtime directory.
    std::filesystem::remove(fallback);
    writeFileBytes(fallback, "");
    EXPECT_EQ(userRuntimeDir(), "");
    std::filesystem::remove(fallback);
    std::filesystem::create_directories(tmp.file("elsewhere"));
    std::filesystem::create_symlink(tmp.file("elsewhere"), fallback);
    EXPECT_EQ(userRuntimeDir(), "");
    std::filesystem::remove(fallback);
    if (::getuid() == 0) {
        std::filesystem::create_directories(fallback);
        ASSERT_EQ(::chown(fallback.c_str(), kNobody, kNobody), 0);
        EXPECT_EQ(userRuntimeDir(), "") << "a folder of another user";
    }
    // TMPDIR missing: no runtime directory either.
    ScopedEnv gone("TMPDIR", tmp.file("gone").c_str());
    EXPECT_EQ(userRuntimeDir(), "");
}

// Two users of one installation, whose program folder neither may write to, each run a copy.
TEST(SingleInstance, UsersOfOneInstallationEachHoldTheirOwnLock) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    TempDir tmp;  // shared temporary folder, as /tmp
    TempDir install;
    ::chmod(tmp.path().c_str(), 01777);
    ::chmod(install.path().c_str(), 0555);  // root's, read-only
    ScopedEnv tmpdir("TMPDIR", tmp.path().c_str());
    ScopedEnv xdg("XDG_RUNTIME_DIR", nullptr);
    const std::string mineDir = userRuntimeDir();
    ASSERT_NE(mineDir, "");
    SingleInstanceLock mine;
    ASSERT_EQ(mine.acquire(instanceLockPath(mineDir, install.path())), LockResult::Acquired);
    const int other = inChild([&] {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 10;
        const std::string dir = userRuntimeDir();
        if (dir != tmp.file("quorvane-" + std::to_string(kNobody))) return 11;
        SingleInstanceLock theirs;
        const LockResult first = theirs.acquire(instanceLockPath(dir, install.path()));
        if (first != LockResult::Acquired) return 20 + static_cast<int>(first);
        // The same user's second copy is refused.
        return SingleInstanceLock().acquire(instanceLockPath(dir, install.path())) == LockResult::HeldByAnother ? 0 : 30;
    });
    EXPECT_EQ(other, 0);
    EXPECT_EQ(SingleInstanceLock().acquire(instanceLockPath(mineDir, install.path())), LockResult::HeldByAnother);
    ::chmod(install.path().c_str(), 0755);
}

// A lock file others may read, as the program folder's is: another user finds it held.
TEST(SingleInstance, ALockFileOthersMayReadIsFoundHeldByAnotherUser) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const mode_t oldMask = ::umask(022);
    for (const unsigned mode : {0644u, 0600u}) {
        SCOPED_TRACE(mode);
        const std::string path = dir.file("lock" + std::to_string(mode));
        SingleInstanceLock mine;
        ASSERT_EQ(mine.acquire(path, mode), LockResult::Acquired);
        const int theirs = inChild([&] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 10;
            return static_cast<int>(SingleInstanceLock().acquire(path, mode));
        });
        EXPECT_EQ(theirs, static_cast<int>(mode == 0644u ? LockResult::HeldByAnother : LockResult::Unavailable));
    }
    ::umask(oldMask);
}

TEST(SystemShellTest, StartsProgramWithArgumentsVerbatim) {
    TempDir dir;
    const std::string odd = dir.file("a b;$(echo x)'\"*");
    SystemShell shell;
    ASSERT_TRUE(shell.startProgram("touch", {odd}, true));
    EXPECT_TRUE(eventually([&] { return fileExists(odd); }));
    EXPECT_FALSE(shell.startProgram(dir.file("no-such-program"), {}, false));
    EXPECT_FALSE(shell.startProgram("no-such-program-anywhere", {}, false));
    // Double fork: nothing is left for this process to reap.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(RecordingShellTest, Records) {
    RecordingShell shell;
    EXPECT_TRUE(shell.openLink("http://x/y"));
    shell.result = false;
    EXPECT_FALSE(shell.startProgram("/bin/p", {"-a"}, true));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].kind, RecordingShell::Call::Link);
    EXPECT_EQ(shell.calls[0].target, "http://x/y");
    EXPECT_EQ(shell.calls[1].kind, RecordingShell::Call::Program);
    EXPECT_EQ(shell.calls[1].args, std::vector<std::string>{"-a"});
    EXPECT_TRUE(shell.calls[1].minimized);
}

TEST(OsInfo, VersionText) {
    struct Case {
        const char* release;
        const char* text;
    } cases[] = {
        {"6.1.0-18-amd64", "6.1"}, {"5.15.0", "5.15"}, {"10.0", "10.0"},   {"6", "6.0"},        {"6.x", "6.0"},
        {"06.01", "6.1"},          {"", "Unknown"},    {"abc", "Unknown"}, {"-6.1", "Unknown"}, {nullptr, "Unknown"}};
    for (const auto& c : cases) EXPECT_EQ(osVersionTextFrom(c.release), c.text) << (c.release ? c.release : "null");
    EXPECT_TRUE(std::regex_match(osVersionText(), std::regex(R"(\d+\.\d+)")));
}

TEST(OsInfo, TimeStamp) {
    EXPECT_TRUE(std::regex_match(localTimeStamp("%Y%m%d%H%M%S"), std::regex(R"(20\d{12})")));
    EXPECT_EQ(localTimeStamp(""), "");
}

