#pragma once
// A write made again and again, cut at each system call of the record writes in turn (see
// platform::setCallFaultForTesting): the process killed there, or the call failing.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/textfile.h"

namespace sessiontest {

// prepare() sets the program up before each cut. write() is cut at call n: with Exit it runs
// in a forked child that ends there, as a kill would end the program; with Fail the call fails
// in this process. check(n) runs afterwards in this process. Ends after the first n that the
// write gets through whole.
inline void cutAtEveryCall(platform::CallFault fault, const std::function<void()>& prepare,
                           const std::function<void()>& write, const std::function<void(long)>& check) {
    for (long n = 1;; ++n) {
        ASSERT_LT(n, 500) << "the write never completed";
        SCOPED_TRACE((fault == platform::CallFault::Exit ? "killed before call " : "failing call ") + std::to_string(n));
        prepare();
        if (::testing::Test::HasFatalFailure()) return;
        bool completed = false;
        if (fault == platform::CallFault::Exit) {
            std::fflush(nullptr);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                platform::setCallFaultForTesting(n, fault);
                write();
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            ASSERT_TRUE(WIFEXITED(status)) << status;
            ASSERT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == platform::CallExitStatus)
                << WEXITSTATUS(status);
            completed = WEXITSTATUS(status) == 0;
        } else {
            platform::setCallFaultForTesting(n, fault);
            write();
            completed = platform::setCallFaultForTesting(0, fault) > 0;
        }
        check(n);
        if (completed) return;
    }
}

// The hidden files of a folder: what a cut write may leave behind. The program folder's lock
// is no leftover: it stays from the first start on.
inline std::vector<std::string> hiddenFiles(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.front() == '.' && name != qz::Program::FolderLockName) out.push_back(name);
    }
    return out;
}

}  // namespace sessiontest
