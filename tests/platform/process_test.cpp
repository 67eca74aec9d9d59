// Services tied to the running process and the OS: the instance lock, starting programs,
// version and time text, keyboard layouts.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

#include "platform/instance.h"
#include "platform/keyboard.h"
#include "platform/osinfo.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::TempDir;

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
    {
        SingleInstanceLock first;
        ASSERT_TRUE(first.acquire(path));
        EXPECT_TRUE(first.acquire(path));
        EXPECT_EQ(inChild([&] { return SingleInstanceLock().acquire(path) ? 1 : 0; }), 0);
        SingleInstanceLock second;  // another open file description in this process
        EXPECT_FALSE(second.acquire(path));
    }
    EXPECT_EQ(inChild([&] { return SingleInstanceLock().acquire(path) ? 1 : 0; }), 1);
    EXPECT_FALSE(SingleInstanceLock().acquire(dir.file("no/such/app.lock")));
}

TEST(SingleInstance, ReleasedWhenTheHolderDies) {
    TempDir dir;
    const auto path = dir.file("app.lock");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        SingleInstanceLock lock;
        const char ok = lock.acquire(path) ? 'y' : 'n';
        if (write(ready[1], &ok, 1) != 1) _exit(2);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    SingleInstanceLock mine;
    EXPECT_FALSE(mine.acquire(path));
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(mine.acquire(path));
    close(ready[0]);
    close(ready[1]);
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

TEST(Keyboard, PlainLayout) {
    PlainKeyboardLayouts k;
    ASSERT_EQ(k.list(), std::vector<std::uint32_t>{0x08040804});
    EXPECT_EQ(k.describe(0x08040804), "中文(简体) - 美式键盘");
    EXPECT_TRUE(k.activate(0x08040804));
    EXPECT_FALSE(k.activate(0x04090409));
}
