// Start-up in the headless host: splash, hand-over to the home screen, second copy, bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>

#include "app/FrmStart.h"
#include "home/FrmFengmian.h"
#include "platform/instance.h"
#include "tests/app/program_harness.h"

#include "tests/support/scoped_env.h"

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

namespace {

struct SplashSeen {
    bool seen = false;
    int left = 0, top = 0, width = 0, height = 0;
    int labelLeft = 0, labelTop = 0, labelWidth = 0;
    double labelFontSize = 0;
    std::string label;
    std::string caption;
    bool hasPicture = false;
    bool hasIcon = false;
    std::vector<std::string> shown;
};

// Looks at the splash while it is up, ms of virtual time after the loop started.
void watchSplash(ProgramHarness& h, int ms, SplashSeen& out) {
    h.host.pause(ms);
    h.host.then([&h, &out] {
        if (!h.isLoaded("FrmStart")) return;
        qz::FrmStart& s = h.p().frmStart();
        out.seen = true;
        out.left = s.left();
        out.top = s.top();
        out.width = s.width();
        out.height = s.height();
        out.labelLeft = s.Label1.left();
        out.labelTop = s.Label1.top();
        out.labelWidth = s.Label1.width();
        out.labelFontSize = s.Label1.font().size;
        out.label = s.Label1.caption();
        out.caption = s.caption();
        out.hasPicture = s.picture() != nullptr;
        out.hasIcon = s.icon() != nullptr;
        out.shown = h.host.shownLog;
    });
}

const std::regex kRunLogName(R"(.*/ksdata/\d{14}\.txt)");

// Names in a folder, sorted.
std::vector<std::string> folderEntries(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

using testsupport::ScopedEnv;

}  // namespace

TEST(StartUp, SplashThenHomeScreen) {
    ProgramFolder folder;
    ProgramHarness h(folder);
    SplashSeen at99;
    watchSplash(h, 99, at99);
    h.p().run();

    ASSERT_TRUE(at99.seen);
    EXPECT_EQ(at99.shown, std::vector<std::string>{"show FrmStart"}) << "home screen came before 100 ms";
    EXPECT_EQ(at99.width, 6000);
    EXPECT_EQ(at99.height, 3000);
    // Centred on a 1024 × 768 pixel screen.
    EXPECT_EQ(at99.left, (1024 * 15 - 6000) / 2);
    EXPECT_EQ(at99.top, (768 * 15 - 3000) / 2);
    EXPECT_EQ(at99.label, std::string("正在启动") + ProgramFolder::ModuleTitle + "，请稍候...");
    EXPECT_EQ(at99.labelTop, 2160);
    EXPECT_DOUBLE_EQ(at99.labelFontSize, 11);
    EXPECT_GT(at99.labelWidth, 0);
    EXPECT_EQ(at99.labelLeft, (6000 - at99.labelWidth) / 2);
    EXPECT_EQ(at99.caption, "Quorvane练习系统");
    EXPECT_TRUE(at99.hasPicture);
    EXPECT_TRUE(at99.hasIcon);

    EXPECT_EQ(h.host.shownLog, (std::vector<std::string>{"show FrmStart", "show FrmFengmian", "hide FrmStart"}));
    EXPECT_EQ(h.loadedForms(), std::vector<std::string>{"FrmFengmian"});
    EXPECT_FALSE(h.p().rt.ended());
    EXPECT_DOUBLE_EQ(h.g().ScaleX, 1.0);
    EXPECT_DOUBLE_EQ(h.g().ScaleY, 1.0);
    EXPECT_EQ(h.g().ExamineeName, "张三");
    EXPECT_EQ(h.g().ListBase, 0);
    EXPECT_FALSE(h.g().DemoRunning);
    EXPECT_TRUE(std::regex_match(h.g().OsVersion, std::regex(R"(\d+\.\d+|Unknown)"))) << h.g().OsVersion;

    const std::string& log = h.g().RunLogPath;
    EXPECT_EQ(log.rfind(folder.path() + "/ksdata/", 0), 0u) << log;
    EXPECT_TRUE(std::regex_match(log, kRunLogName)) << log;
    // Nothing went wrong, so nothing was reported or logged.
    EXPECT_TRUE(h.reports().empty());
    EXPECT_FALSE(std::filesystem::exists(log));

    qz::FrmFengmian& home = h.p().frmFengmian();
    EXPECT_EQ(home.width(), 12000);
    EXPECT_EQ(home.height(), 9000);
    EXPECT_TRUE(home.visible());
}

TEST(StartUp, HomeScreenAtTheFirstTick) {
    ProgramFolder folder;
    ProgramHarness h(folder);
    SplashSeen at101;
    watchSplash(h, 101, at101);
    h.p().run();
    EXPECT_FALSE(at101.seen) << "the splash outlived its 100 ms timer";
    EXPECT_EQ(h.host.shownLog, (std::vector<std::string>{"show FrmStart", "show FrmFengmian", "hide FrmStart"}));
}

TEST(StartUp, ScalesAtTwelveTwipsPerPixel) {
    ProgramFolder folder;
    ProgramHarness h(folder, 12);
    SplashSeen splash;
    watchSplash(h, 50, splash);
    h.p().run();

    EXPECT_DOUBLE_EQ(h.g().ScaleX, 0.8);
    EXPECT_DOUBLE_EQ(h.g().ScaleY, 0.8);
    ASSERT_TRUE(splash.seen);
    EXPECT_EQ(splash.width, 4800);
    EXPECT_EQ(splash.height, 2400);
    EXPECT_EQ(splash.labelTop, 1728);
    EXPECT_DOUBLE_EQ(splash.labelFontSize, 11 * 0.8);
    EXPECT_EQ(splash.labelLeft, (4800 - splash.labelWidth) / 2);
    EXPECT_EQ(splash.left, (1024 * 12 - 4800) / 2);
    // Same size in pixels as at 15 twips per pixel.
    EXPECT_EQ(h.p().frmFengmian().width(), 9600);
    EXPECT_EQ(h.p().frmFengmian().height(), 7200);
}

TEST(StartUp, EmptyModuleTitle) {
    ProgramFolder folder;
    auto ver = ProgramFolder::fullVerLines();
    ver[1] = "   ";
    folder.writeVer(ver);
    ProgramHarness h(folder);
    SplashSeen splash;
    watchSplash(h, 50, splash);
    h.p().run();
    ASSERT_TRUE(splash.seen);
    EXPECT_EQ(splash.label, "正在启动，请稍候...");
    EXPECT_EQ(splash.labelLeft, (6000 - splash.labelWidth) / 2);
}

namespace {

void expectRefusedSecondCopy(ProgramHarness& second) {
    second.p().run();
    ASSERT_EQ(second.host.messageBoxes.size(), 1u);
    const auto& box = second.host.messageBoxes[0];
    EXPECT_EQ(box.prompt, "考试练习系统已在运行。如果你没有找到，请关闭其它窗口和程序，或者注销或重启。");
    EXPECT_EQ(box.title, "系统提示");
    EXPECT_EQ(box.flags, 64);  // information icon, OK button only
    EXPECT_TRUE(second.p().rt.ended());
    // Nothing of start-up ran: ver.txt unread, nothing sent, no window left.
    EXPECT_EQ(second.g().ModuleName, "");
    EXPECT_EQ(second.g().ProductInfo[9], "");
    EXPECT_EQ(second.g().RunLogPath, "");
    EXPECT_TRUE(second.server.targets().empty());
    EXPECT_EQ(second.host.shownLog, std::vector<std::string>{});
}

}  // namespace

TEST(StartUp, SecondCopyOfARunningProgram) {
    ProgramFolder folder;
    ProgramHarness first(folder);
    first.p().run();
    ASSERT_EQ(first.g().ModuleName, ProgramFolder::ModuleName);

    ProgramHarness second(folder);
    expectRefusedSecondCopy(second);
    EXPECT_FALSE(std::filesystem::exists(first.g().RunLogPath));
    // The running copy is untouched.
    EXPECT_TRUE(first.isLoaded("FrmFengmian"));
    EXPECT_FALSE(first.p().rt.ended());
}

TEST(StartUp, SecondCopyWhileAnotherProcessHoldsTheLock) {
    ProgramFolder folder;
    platform::SingleInstanceLock other;
    ASSERT_EQ(other.acquire(platform::instanceLockPath(folder.runtimeDir(), folder.path())),
              platform::LockResult::Acquired);
    ProgramHarness second(folder);
    expectRefusedSecondCopy(second);
    // The first-run marker was not touched either.
    EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288892.mxy")), "0\r\n");
}

TEST(StartUp, LockLiesInTheRuntimeDirectoryNotInTheProgramFolder) {
    ProgramFolder folder;
    const auto before = folderEntries(folder.path());
    ProgramHarness h(folder);
    h.p().run();
    EXPECT_TRUE(h.isLoaded("FrmFengmian"));
    EXPECT_EQ(folderEntries(folder.runtimeDir()),
              std::vector<std::string>{std::filesystem::path(platform::instanceLockPath(folder.runtimeDir(), folder.path()))
                                           .filename()
                                           .string()});
    EXPECT_EQ(folderEntries(folder.path()), before);
}

TEST(StartUp, LockInTheUsersRuntimeDirectory) {
    ProgramFolder folder;
    testsupport::TempDir runtime;
    ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
    ProgramHarness h(folder);
    h.p().svc.runtimeDir.clear();  // as the desktop program starts
    h.p().run();
    EXPECT_TRUE(h.isLoaded("FrmFengmian"));
    EXPECT_TRUE(std::filesystem::is_regular_file(platform::instanceLockPath(runtime.path(), folder.path())));
    // A second copy of the same user finds it there.
    ProgramHarness second(folder);
    second.p().svc.runtimeDir.clear();
    expectRefusedSecondCopy(second);
}

TEST(StartUp, UsersOfOneInstallationEachRunACopy) {
    ProgramFolder folder;
    ProgramHarness first(folder);
    first.p().run();
    ASSERT_TRUE(first.isLoaded("FrmFengmian"));
    testsupport::TempDir otherUsersRuntime;
    ProgramHarness second(folder);
    second.p().svc.runtimeDir = otherUsersRuntime.path();
    second.p().run();
    EXPECT_TRUE(second.host.messageBoxes.empty());
    EXPECT_TRUE(second.isLoaded("FrmFengmian"));
    EXPECT_FALSE(second.p().rt.ended());
    EXPECT_FALSE(first.p().rt.ended());
}

// A lock that cannot be created is not another copy: the program starts without it.
TEST(StartUp, LockThatCannotBeTakenIsNoSecondCopy) {
    struct Case {
        const char* what;
        // Prepares the folder and answers the runtime directory the program is given.
        std::function<std::string(const ProgramFolder&)> prepare;
        bool lockless;  // the program runs without a lock (and says so on standard error)
    };
    const Case cases[] = {
        {"a folder where the lock file goes",
         [](const ProgramFolder& f) {
             std::filesystem::create_directories(platform::instanceLockPath(f.runtimeDir(), f.path()));
             return f.runtimeDir();
         },
         true},
        {"no runtime directory", [](const ProgramFolder& f) { return f.file("no-such-folder"); }, true},
        {"a file in place of the runtime directory",
         [](const ProgramFolder& f) {
             testsupport::writeFileBytes(f.file("run-file"), "");
             return f.file("run-file");
         },
         true},
        // Where the lock used to lie: nothing of the program folder matters to the lock now.
        {"a folder where the lock in the program folder went",
         [](const ProgramFolder& f) {
             std::filesystem::create_directories(f.file(".quorvane.lock"));
             return f.runtimeDir();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder;
        ProgramHarness h(folder);
        h.p().svc.runtimeDir = c.prepare(folder);
        testing::internal::CaptureStderr();
        h.p().run();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(h.host.messageBoxes.empty());
        EXPECT_TRUE(h.isLoaded("FrmFengmian"));
        EXPECT_FALSE(h.p().rt.ended());
        EXPECT_EQ(h.g().ModuleName, ProgramFolder::ModuleName);
        EXPECT_TRUE(h.reports().empty());
        EXPECT_EQ(err.find("could not be taken") != std::string::npos, c.lockless) << err;
    }
}

TEST(StartUp, LockIsFreedWithTheProgram) {
    ProgramFolder folder;
    {
        ProgramHarness first(folder);
        first.p().run();
    }
    ProgramHarness again(folder);
    again.p().run();
    EXPECT_TRUE(again.host.messageBoxes.empty());
    EXPECT_TRUE(again.isLoaded("FrmFengmian"));
}

TEST(StartUp, TruncatedSplashPicture) {
    ProgramFolder folder;
    std::string png = testsupport::readFileBytes(folder.dataFile("l20059.mxy"));
    folder.writeDataBytes("l20059.mxy", png.substr(0, 20));
    ProgramHarness h(folder);
    SplashSeen splash;
    watchSplash(h, 50, splash);
    h.p().run();

    ASSERT_TRUE(splash.seen);
    EXPECT_FALSE(splash.hasPicture);
    EXPECT_TRUE(splash.hasIcon);
    EXPECT_EQ(splash.width, 6000);
    EXPECT_EQ(splash.label, std::string("正在启动") + ProgramFolder::ModuleTitle + "，请稍候...");
    auto reports = h.reportsWith("errsub=startload&errno=481&");
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(h.reports().size(), 1u);
    EXPECT_EQ(h.host.shownLog, (std::vector<std::string>{"show FrmStart", "show FrmFengmian", "hide FrmStart"}));
    // Reported before the run log had a name: sent, not logged.
    EXPECT_TRUE(testsupport::noRunLog(folder.ksdata()));
}

TEST(StartUp, MissingDataFolder) {
    ProgramFolder folder;
    folder.removeDataFolder();
    ProgramHarness h(folder);
    h.p().run();

    EXPECT_FALSE(h.reportsWith("errsub=readInfo&").empty());
    // Background and icon of the splash are both missing.
    EXPECT_EQ(h.reportsWith("errsub=startload&errno=53&").size(), 2u);
    // Start-up went on to the hand-over; without a data folder there is no module stamp
    // either, and the home screen's build ends the program before its window shows.
    EXPECT_TRUE(h.p().rt.ended());
    EXPECT_EQ(h.host.shownLog, (std::vector<std::string>{"show FrmStart", "hide FrmStart"}));
    EXPECT_EQ(h.g().ModuleName, ProgramFolder::ModuleName);
}
