// Start-up in the headless host: splash, hand-over to the home screen, second copy, bad input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

#include "app/FrmStart.h"
#include "home/FrmFengmian.h"
#include "platform/instance.h"
#include "session/record_group.h"
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

using testsupport::namesIn;

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

// The user's lock in the runtime directory, the folder's in ksdata, made when missing; the
// sweep that runs once both are taken leaves the folder's lock where it is.
TEST(StartUp, LocksLieInTheRuntimeDirectoryAndInKsdata) {
    ProgramFolder folder;
    std::filesystem::remove_all(folder.ksdata());
    const auto before = namesIn(folder.path());
    const std::string folderLock = folder.ksdata() + "/" + qz::Program::FolderLockName;
    {
        ProgramHarness h(folder);
        h.p().run();
        EXPECT_TRUE(h.isLoaded("FrmFengmian"));
        EXPECT_EQ(namesIn(folder.runtimeDir()),
                  std::vector<std::string>{
                      std::filesystem::path(platform::instanceLockPath(folder.runtimeDir(), folder.path()))
                          .filename()
                          .string()});
        auto withKsdata = before;
        withKsdata.push_back("ksdata");
        std::sort(withKsdata.begin(), withKsdata.end());
        EXPECT_EQ(namesIn(folder.path()), withKsdata);
        EXPECT_TRUE(std::filesystem::is_regular_file(folderLock));
    }
    ProgramHarness again(folder);
    again.p().run();
    ASSERT_TRUE(again.isLoaded("FrmFengmian"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folderLock));
    EXPECT_EQ(platform::SingleInstanceLock().acquire(folderLock), platform::LockResult::HeldByAnother);
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

// Another user, or a shell without the runtime folder, has its own lock there; the program
// folder's lock still finds the running copy, before the second recovers or sweeps anything.
TEST(StartUp, ASecondCopyUnderAnotherRuntimeFolderIsRefused) {
    ProgramFolder folder;
    ProgramHarness first(folder);
    first.p().run();
    ASSERT_TRUE(first.isLoaded("FrmFengmian"));
    // The running copy between the renames of a group: its intent file and a temporary file.
    const std::string intent = folder.ksdata() + "/" + qz::RecordIntentName;
    const std::string temporary = folder.ksdata() + "/.288862.mxy.Ab12Cd";
    const std::string intentBytes = qz::encodeIntent({{"288862.mxy", "0001\r\n"}});
    testsupport::writeFileBytes(intent, intentBytes);
    testsupport::writeFileBytes(temporary, "0001\r\n");
    const auto records = namesIn(folder.ksdata());
    testsupport::TempDir otherRuntime;
    ProgramHarness second(folder);
    second.p().svc.runtimeDir = otherRuntime.path();
    expectRefusedSecondCopy(second);
    EXPECT_EQ(namesIn(folder.ksdata()), records);
    EXPECT_EQ(testsupport::readFileBytes(intent), intentBytes);
    EXPECT_EQ(testsupport::readFileBytes(temporary), "0001\r\n");
    EXPECT_FALSE(first.p().rt.ended());
}

// A lock that cannot be created is not another copy: the program starts without it.
TEST(StartUp, LockThatCannotBeTakenIsNoSecondCopy) {
    struct Case {
        const char* what;
        // Prepares the folder and answers the runtime directory the program is given.
        std::function<std::string(const ProgramFolder&)> prepare;
        bool lockless;  // the program runs without a lock (and says so on standard error)
        bool recordsWritten = true;  // else the home screen reports its record write
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
        {"a folder where the folder's lock goes",
         [](const ProgramFolder& f) {
             std::filesystem::create_directories(f.ksdata() + "/" + qz::Program::FolderLockName);
             return f.runtimeDir();
         },
         true},
        {"a ksdata that cannot be made",
         [](const ProgramFolder& f) {
             std::filesystem::remove_all(f.ksdata());
             std::filesystem::create_directory_symlink(f.file("nowhere"), f.ksdata());
             return f.runtimeDir();
         },
         true, false},
        // Read-only for a user; the superuser writes all the same and takes the lock.
        {"a read-only ksdata",
         [](const ProgramFolder& f) {
             std::filesystem::permissions(f.ksdata(), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
             return f.runtimeDir();
         },
         ::geteuid() != 0},
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
        EXPECT_EQ(h.reports().empty(), c.recordsWritten);
        EXPECT_TRUE(h.reportsWith("errsub=startload&").empty());
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

namespace {

namespace fs = std::filesystem;

// Every entry under a folder, links not followed: a file's bytes, a folder, a link's target.
std::map<std::string, std::string> treeOf(const std::string& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(e.path(), root).string();
        if (e.is_symlink())
            out[rel] = "link to " + fs::read_symlink(e.path()).string();
        else if (e.is_directory())
            out[rel] = "folder";
        else
            out[rel] = testsupport::readFileBytes(e.path().string());
    }
    return out;
}

}  // namespace

// ver.txt's data folder, as an update may have replaced it. One that leads out of the program
// folder ends the launch with one message and nothing written, removed or sent anywhere; one
// inside is used, and swept unless it is the program folder itself.
TEST(StartUp, ADataFolderOutsideTheProgramFolderIsNeverUsed) {
    enum Outcome { Refused, UsedAndSwept, UsedNotSwept };
    struct Case {
        const char* what;
        std::function<std::string(const ProgramFolder&, const std::string& outside)> name;
        Outcome outcome;
    };
    const Case cases[] = {
        {"a name with ..", [](const ProgramFolder&, const std::string&) { return "../victim"; }, Refused},
        {"an absolute name", [](const ProgramFolder&, const std::string& outside) { return outside; }, Refused},
        {"a link out of the folder",
         [](const ProgramFolder& f, const std::string& outside) {
             fs::create_directory_symlink(outside, f.file("out"));
             return std::string("out");
         },
         Refused},
        {"a good subfolder", [](const ProgramFolder&, const std::string&) { return "data"; }, UsedAndSwept},
        {"the program folder as .", [](const ProgramFolder&, const std::string&) { return "."; }, UsedNotSwept},
        {"a link to the program folder",
         [](const ProgramFolder& f, const std::string&) {
             fs::create_directory_symlink(".", f.file("self"));
             return std::string("self");
         },
         UsedNotSwept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder;
        // Outside: a whole data folder a launch could take, with what its sweep would remove.
        const std::string outside = (fs::path(folder.path()).parent_path() / "victim").string();
        fs::copy(folder.dataDir(), outside);
        testsupport::writeFileBytes(outside + "/288870.mxy.part", "half a download");
        testsupport::writeFileBytes(outside + "/.288820.mxy.Ab12Cd", "a cut write");
        // Inside: a group to complete, and leftovers in ksdata, the data folder and the program
        // folder itself.
        testsupport::writeFileBytes(folder.ksdata() + "/" + qz::RecordIntentName,
                                    qz::encodeIntent({{"288862.mxy", "0001\r\n"}}));
        testsupport::writeFileBytes(folder.ksdata() + "/.288872.mxy.Ab12Cd", "T\r\n");
        testsupport::writeFileBytes(folder.dataFile(".288820.mxy.Ab12Cd"), "a cut write");
        testsupport::writeFileBytes(folder.file(".288820.mxy.Ab12Cd"), "not the program's to remove");
        auto ver = ProgramFolder::fullVerLines();
        ver[2] = c.name(folder, outside);
        folder.writeVer(ver);
        const auto programBefore = treeOf(folder.path());
        const auto outsideBefore = treeOf(outside);

        ProgramHarness h(folder);
        h.p().run();

        EXPECT_EQ(treeOf(outside), outsideBefore);
        if (c.outcome == Refused) {
            EXPECT_EQ(h.host.messageBoxes.size(), 1u);
            if (!h.host.messageBoxes.empty()) {
                EXPECT_EQ(h.host.messageBoxes[0].prompt, "安装的数据文件夹无效，请重新安装本软件。");
                EXPECT_EQ(h.host.messageBoxes[0].title, "系统提示");
                EXPECT_EQ(h.host.messageBoxes[0].flags, 48);  // exclamation mark, OK button only
            }
            EXPECT_TRUE(h.p().rt.ended());
            EXPECT_EQ(h.host.shownLog, std::vector<std::string>{});
            EXPECT_EQ(treeOf(folder.path()), programBefore);
            EXPECT_TRUE(h.server.targets().empty());
            EXPECT_FALSE(fs::exists(h.settingsDir.file("registry.ini")));
            continue;
        }
        EXPECT_TRUE(h.host.messageBoxes.empty());
        EXPECT_FALSE(fs::exists(folder.ksdata() + "/" + qz::RecordIntentName));
        EXPECT_FALSE(fs::exists(folder.ksdata() + "/.288872.mxy.Ab12Cd"));
        EXPECT_EQ(fs::exists(folder.dataFile(".288820.mxy.Ab12Cd")), c.outcome != UsedAndSwept);
        EXPECT_TRUE(fs::exists(folder.file(".288820.mxy.Ab12Cd")));
        if (c.outcome == UsedAndSwept) {
            EXPECT_TRUE(h.isLoaded("FrmFengmian"));
        }
    }
}
