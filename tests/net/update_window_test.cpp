// The update window against a loopback server: what it asks for, in which order, which files it
// replaces, what it tells the learner, and that a server can neither write outside the program's
// folder nor leave a half-fetched file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "net/FrmUpdata.h"
#include "platform/files.h"
#include "tests/home/home_fixture.h"
#include "tests/support/scoped_failure.h"

using testsupport::LoopbackHttpServer;
using testsupport::readFileBytes;
using testsupport::writeFileBytes;

namespace {

constexpr const char* kInstalled = "201801010000";
constexpr const char* kNewer = "201901010000";
const std::string kListPath = "/up/tgmhb/huitu/data/288895.txt";
const std::string kBase = "/up/tgmhb/huitu/";

class UpdateWindow : public hometest::HomeScreen {
protected:
    UpdateWindow() {
        writeSmallBank();
        folder.writeDataBytes("288895.mxy", std::string(kInstalled) + "\r\n");
        writeRecord("170100.mxy", "old ad\r\n");
    }

    void startHome() {
        start();
        h->p().svc.updateServer = testsupport::originOf(site);
        h->p().svc.shortDownloadLimitMs = 1000;
        h->p().svc.fileDownloadLimitMs = 1500;
    }
    std::string adPath() { return "/up/ad/" + platform::percentEncode(g().ProductInfo[12]) + "/170100.rar"; }
    // The list the server gives: its version line, then the entries as listed.
    static std::string listOf(const std::string& version, const std::vector<std::string>& entries) {
        std::string out = version + "\r\n";
        for (const auto& e : entries) out += e + "\r\n";
        return out;
    }
    void serveList(const std::string& list) { site.setReply(kListPath, LoopbackHttpServer::Answer(list)); }
    // Clicks the update button with these answers ready for the plain message boxes.
    void clickUpdate(std::vector<int> answers = {}) {
        for (int a : answers) h->host.answerMessageBox(a);
        click(8);
    }
    qz::FrmUpdata* window() {
        for (auto* f : h->p().rt.loadedForms())
            if (f->name() == "FrmUpdata") return static_cast<qz::FrmUpdata*>(f);
        return nullptr;
    }
    std::vector<std::string> siteTargets() { return site.targets(); }
    std::string ks(const std::string& name) { return folder.ksdata() + "/" + name; }
    bool exists(const std::string& path) { return std::filesystem::exists(path); }
    // Every file below the program folder with its bytes, but for this run's log.
    using Files = std::map<std::string, std::string>;
    Files filesNow() {
        const std::string runLog = platform::leafOf(g().RunLogPath);
        Files out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder.path())) {
            if (!e.is_regular_file() || e.path().filename() == runLog) continue;
            out[std::filesystem::relative(e.path(), folder.path()).string()] = readFileBytes(e.path().string());
        }
        return out;
    }
    // The files whose bytes differ, added and removed ones included: empty when a and b agree
    // byte for byte.
    static std::vector<std::string> differing(const Files& a, const Files& b) {
        std::vector<std::string> out;
        for (const auto& [name, bytes] : a)
            if (auto it = b.find(name); it == b.end() || it->second != bytes) out.push_back(name);
        for (const auto& [name, bytes] : b)
            if (!a.count(name)) out.push_back(name);
        return out;
    }
    std::vector<std::string> programStarts() {
        std::vector<std::string> out;
        for (const auto& c : h->shell.calls)
            if (c.kind == platform::RecordingShell::Call::Program) out.push_back(c.target);
        return out;
    }

    LoopbackHttpServer site;
};

std::string exeName() { return platform::executableBaseName() + ".exe"; }

// True when no download's temporary file is left in the folder.
bool noDownloadLeftIn(const std::string& dir) {
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (!platform::downloadPartTarget(e.path().filename().string()).empty()) return false;
    return true;
}

}  // namespace

TEST_F(UpdateWindow, AnAcceptedUpdateReplacesTheListedFilesAndEnds) {
    folder.writeDataBytes("300001.mxy", "old info");
    writeFileBytes(folder.file("SMENU.SYS"), "old menu");  // replaced, not joined by a twin
    const std::string list = listOf(kNewer, {"D209901010000300001", "M209901010000sMenu.sys", "K209901010000abc.txt"});
    serveList(list);
    site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new info"));
    site.setReply(kBase + "sMenu.rar", LoopbackHttpServer::Answer("new menu"));
    site.setReply(kBase + "ksdata/abc.rar", LoopbackHttpServer::Answer("new abc"));
    startHome();
    site.setReply(adPath(), LoopbackHttpServer::Answer("new ad\r\n"));
    clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});

    EXPECT_EQ(siteTargets(), (std::vector<std::string>{adPath(), kListPath, kListPath, kBase + "data/300001.rar",
                                                        kBase + "sMenu.rar", kBase + "ksdata/abc.rar"}));
    EXPECT_EQ(readFileBytes(folder.dataFile("300001.mxy")), "new info");
    EXPECT_EQ(readFileBytes(folder.file("SMENU.SYS")), "new menu");
    EXPECT_FALSE(exists(folder.file("sMenu.sys")));
    EXPECT_EQ(readFileBytes(ks("abc.txt")), "new abc");
    EXPECT_EQ(readFileBytes(ks("170100.mxy")), "new ad\r\n");
    EXPECT_EQ(readFileBytes(ks("288895.mxy")), list);
    EXPECT_EQ(readFileBytes(folder.dataFile("288895.mxy")), list);
    const auto& boxes = h->host.messageBoxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].prompt, "题库有新文件，是否要进行升级？");
    EXPECT_EQ(boxes[0].title, "升级软件");
    EXPECT_EQ(boxes[0].flags, forms::mb::YesNo | forms::mb::Question);
    EXPECT_EQ(boxes[1].prompt, "已更新3/3文件。请重新打开软件！");
    EXPECT_EQ(boxes[1].title, h->p().rt.appTitle);
    EXPECT_TRUE(h->p().rt.ended());
    EXPECT_FALSE(exists(folder.file("uprun.dll")));
    EXPECT_TRUE(programStarts().empty());
}

TEST_F(UpdateWindow, TheProgramFileGoesBesideTheProgramAndTheUpdaterStartsOnlyWhenItCame) {
    struct Case {
        std::string stamp;
        bool fetched;
    } cases[] = {{"209901010000", true}, {"190001010000", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stamp);
        std::filesystem::remove(folder.file("uprun.dll"));
        std::filesystem::remove(folder.file(exeName() + "_bak"));
        folder.writeDataBytes("288895.mxy", std::string(kInstalled) + "\r\n");
        serveList(listOf(kNewer, {"M" + c.stamp + exeName(), "D209901010000300001"}));
        site.setReply(kBase + platform::executableBaseName() + ".rar", LoopbackHttpServer::Answer("new program"));
        site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new info"));
        startHome();
        clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
        EXPECT_TRUE(h->p().rt.ended());
        const std::string bak = folder.file(exeName() + "_bak");
        if (c.fetched) {
            EXPECT_EQ(readFileBytes(bak), "new program");
            EXPECT_EQ(readFileBytes(folder.file("uprun.dll")), bak + "\r\n");
            ASSERT_EQ(h->shell.calls.size(), 1u);
            EXPECT_EQ(h->shell.calls[0].target, folder.file("qzitpk.rar"));
            EXPECT_TRUE(h->shell.calls[0].minimized);
            EXPECT_EQ(h->host.messageBoxes.back().prompt, "已更新2/2文件。请重新打开软件！");
        } else {
            EXPECT_FALSE(exists(bak));
            EXPECT_FALSE(exists(folder.file("uprun.dll")));
            EXPECT_TRUE(programStarts().empty());
            EXPECT_EQ(h->host.messageBoxes.back().prompt, "已更新1/1文件。请重新打开软件！");
        }
    }
}

TEST_F(UpdateWindow, AMissingUpdaterIsReportedAndTheProgramStillEnds) {
    serveList(listOf(kNewer, {"M209901010000" + exeName()}));
    site.setReply(kBase + platform::executableBaseName() + ".rar", LoopbackHttpServer::Answer("new program"));
    startHome();
    h->shell.result = false;
    clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
    EXPECT_TRUE(h->p().rt.ended());
    EXPECT_EQ(h->reportsWith("tkup").size(), 1u);
}

// The installed list and the updater's note are replaced whole or not at all; a note that could
// not be written starts no updater.
TEST_F(UpdateWindow, AFailedReplaceKeepsTheOldFile) {
    struct Case {
        long nth;
        bool listKept, noteKept;
    } cases[] = {{1, true, false}, {2, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nth);
        folder.writeDataBytes("288895.mxy", std::string(kInstalled) + "\r\n");
        writeFileBytes(folder.file("uprun.dll"), "old note\r\n");
        const std::string list = listOf(kNewer, {"M209901010000" + exeName()});
        serveList(list);
        site.setReply(kBase + platform::executableBaseName() + ".rar", LoopbackHttpServer::Answer("new program"));
        startHome();
        testsupport::ScopedReplaceFailure failure(c.nth, platform::ReplaceFailure::BeforeRename);
        clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
        EXPECT_TRUE(h->p().rt.ended());
        EXPECT_EQ(readFileBytes(folder.dataFile("288895.mxy")), c.listKept ? std::string(kInstalled) + "\r\n" : list);
        const std::string bak = folder.file(exeName() + "_bak");
        EXPECT_EQ(readFileBytes(folder.file("uprun.dll")), c.noteKept ? "old note\r\n" : bak + "\r\n");
        EXPECT_EQ(programStarts().size(), c.noteKept ? 0u : 1u);
        EXPECT_EQ(h->reportsWith("tkup").size(), 1u);
    }
}

TEST_F(UpdateWindow, ADeclinedUpdateStoresOnlyTheListAndALaterShowAsksNothing) {
    const std::string list = listOf(kNewer, {"D209901010000300001"});
    serveList(list);
    startHome();
    clickUpdate({forms::mb::ResultNo});
    EXPECT_FALSE(h->p().rt.ended());
    EXPECT_EQ(readFileBytes(ks("288895.mxy")), list);
    EXPECT_EQ(readFileBytes(folder.dataFile("288895.mxy")), std::string(kInstalled) + "\r\n");
    EXPECT_FALSE(exists(folder.dataFile("300001.mxy")));
    qz::FrmUpdata* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->visible());

    const std::size_t asked = siteTargets().size();
    click(8);
    EXPECT_TRUE(w->visible());
    EXPECT_EQ(w->Label1.caption(), std::string("最新题库版本是：") + kNewer);
    EXPECT_EQ(w->Label2.caption(), qz::FrmUpdata::Declined);
    EXPECT_EQ(siteTargets().size(), asked);
    EXPECT_EQ(h->host.messageBoxes.size(), 1u);
}

// Every way a check can fail or find nothing: the texts shown, and nothing written.
TEST_F(UpdateWindow, AFailedOrCurrentCheckSaysSoAndWritesNothing) {
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply list;
        bool current;
    } cases[] = {
        {"equal version", LoopbackHttpServer::Answer(listOf(kInstalled, {"D209901010000300001"})), true},
        {"older version", LoopbackHttpServer::Answer(listOf("201701010000", {})), true},
        {"server error", LoopbackHttpServer::Answer("error page", 500), false},
        {"not a list", LoopbackHttpServer::Answer("<html>"), false},
        {"dropped", LoopbackHttpServer::Fail(), false},
        {"hangs", LoopbackHttpServer::Hang(), false},
        // Each greater than the installed version as text, but not a stamp.
        {"short version", LoopbackHttpServer::Answer(listOf("2019", {"D209901010000300001"})), false},
        {"version with a space", LoopbackHttpServer::Answer(listOf("20190101 0000", {"D209901010000300001"})), false},
        {"page after 20", LoopbackHttpServer::Answer("200 OK<html><body>busy</body></html>"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        site.setReply(kListPath, c.list);
        startHome();
        const Files files = filesNow();
        const std::size_t before = siteTargets().size();
        const std::int64_t t0 = h->p().rt.now();
        clickUpdate();
        qz::FrmUpdata* w = window();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->visible());
        EXPECT_FALSE(h->p().rt.ended());
        EXPECT_TRUE(h->host.messageBoxes.empty());
        EXPECT_EQ(siteTargets().size(), before + 2);  // the advertisement and the list, once
        EXPECT_EQ(differing(files, filesNow()), std::vector<std::string>{});
        EXPECT_EQ(w->LblVer.caption(), kInstalled);
        if (c.current) {
            EXPECT_EQ(w->Label1.caption(), std::string("最新题库版本是：") + kInstalled);
            EXPECT_EQ(w->Label2.caption(), qz::FrmUpdata::UpToDate);
        } else {
            EXPECT_EQ(w->Label1.caption(), qz::FrmUpdata::Unknown);
            EXPECT_EQ(w->Label2.caption(), qz::FrmUpdata::CheckFailed);
        }
        if (std::string(c.name) == "hangs") {
            EXPECT_LE(h->p().rt.now() - t0, 4000);
        }
    }
}

TEST_F(UpdateWindow, NoServerConfiguredFailsAtOnce) {
    start();
    h->p().svc.updateServer = testsupport::originOf(LoopbackHttpServer::refusedUrl());
    click(8);
    qz::FrmUpdata* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Label2.caption(), qz::FrmUpdata::CheckFailed);
    EXPECT_EQ(readFileBytes(ks("170100.mxy")), "old ad\r\n");
    EXPECT_FALSE(exists(ks("288895.mxy")));
}

TEST_F(UpdateWindow, TheListsSecondFetchMustSucceed) {
    // An earlier check's copy is older than what the server now lists; it is never processed.
    const std::string older = listOf("201801050000", {"D209901010000300001"});
    writeRecord("288895.mxy", older);
    // In time for the answer, too late for the download.
    site.setReply(kListPath, LoopbackHttpServer::Slow(1500, listOf(kNewer, {"D209901010000300001"})));
    startHome();
    clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
    EXPECT_FALSE(h->p().rt.ended());
    EXPECT_TRUE(h->host.messageBoxes.empty());
    EXPECT_EQ(readFileBytes(ks("288895.mxy")), older);
    EXPECT_TRUE(noDownloadLeftIn(folder.ksdata()));
    EXPECT_FALSE(exists(folder.dataFile("300001.mxy")));
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->Label2.caption(), qz::FrmUpdata::CheckFailed);
}

// The list fetched the second time is installed only when it is the one the first answer
// announced; anything else stops the update before the question, keeping every file.
TEST_F(UpdateWindow, TheSecondFetchMustBeTheAnnouncedList) {
    const std::string announced = listOf(kNewer, {"D209901010000300001"});
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply second;
        bool earlierCopy;
    } cases[] = {
        {"error page", LoopbackHttpServer::Answer("<html><body>Service busy</body></html>\r\n"), false},
        {"error page over an earlier copy", LoopbackHttpServer::Answer("<html>busy</html>"), true},
        {"error status", LoopbackHttpServer::Answer("error page", 500), true},
        {"another list", LoopbackHttpServer::Answer(listOf("201901020000", {"D209901010000300001"})), true},
        {"empty", LoopbackHttpServer::Answer(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(ks("288895.mxy"));
        if (c.earlierCopy) writeRecord("288895.mxy", listOf("201801050000", {"D209901010000300001"}));
        folder.writeDataBytes("300001.mxy", "old info");
        site.setReplies(kListPath, {LoopbackHttpServer::Answer(announced), c.second});
        site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new info"));
        startHome();
        const Files files = filesNow();
        const std::size_t before = siteTargets().size();
        clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
        EXPECT_EQ(differing(files, filesNow()), std::vector<std::string>{});
        EXPECT_EQ(siteTargets().size(), before + 3);  // the advertisement and the list twice
        EXPECT_FALSE(h->p().rt.ended());
        EXPECT_TRUE(h->host.messageBoxes.empty());
        ASSERT_NE(window(), nullptr);
        EXPECT_TRUE(window()->visible());
        EXPECT_EQ(window()->Label1.caption(), qz::FrmUpdata::Unknown);
        EXPECT_EQ(window()->Label2.caption(), qz::FrmUpdata::CheckFailed);
        // The next check goes by the installed version, as before.
        EXPECT_EQ(g().QuestionBankVersion, kInstalled);
    }
}

// A new ver.txt is taken only when the data folder it names stays inside the program folder.
TEST_F(UpdateWindow, AVerTxtEntryMustKeepTheDataFolderInside) {
    struct Case {
        const char* name;
        std::vector<std::string> served;
        bool taken;
    } cases[] = {
        {"climbs out", {"huitu", "计算机绘图", "../victim", "7"}, false},
        {"absolute", {"huitu", "计算机绘图", "/tmp", "7"}, false},
        {"no third line", {"huitu", "计算机绘图"}, false},
        {"a subfolder", {"huitu", "计算机绘图", " newdata ", "7"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.writeVer(testsupport::ProgramFolder::fullVerLines());
        folder.writeDataBytes("288895.mxy", std::string(kInstalled) + "\r\n");
        folder.writeDataBytes("300001.mxy", "old info");
        const std::string list = listOf(kNewer, {"M209901010000VER.TXT", "D209901010000300001"});
        serveList(list);
        std::vector<std::string> encoded;
        for (const std::string& line : c.served) encoded.push_back(testsupport::numericLine(line));
        const std::string servedVer = testsupport::crlf(encoded);
        site.setReply(kBase + "VER.rar", LoopbackHttpServer::Answer(servedVer));
        site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new info"));
        startHome();
        Files expected = filesNow();
        clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
        expected["data/300001.mxy"] = "new info";
        expected["ksdata/288895.mxy"] = list;
        if (c.taken) {
            expected["ver.txt"] = servedVer;
            expected["data/288895.mxy"] = list;
        }
        EXPECT_EQ(differing(expected, filesNow()), std::vector<std::string>{});
        EXPECT_EQ(h->host.messageBoxes.back().prompt,
                  c.taken ? "已更新2/2文件。请重新打开软件！" : "已更新1/2文件。请重新打开软件！");
        EXPECT_EQ(h->reportsWith("tkup").size(), c.taken ? 0u : 1u);
        EXPECT_TRUE(h->p().rt.ended());
    }
}

// From the learner's Yes on, a click waits for nothing: made while a refused entry is being
// reported, it is dropped, not handled then nor later.
TEST_F(UpdateWindow, AClickDuringTheUpdateStartsNothing) {
    serveList(listOf(kNewer, {"M209901010000../xfile", "D209901010000300001"}));
    site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new info"));
    startHome();
    openUnit(1, 37);  // button 20 now starts a practice
    h->server.setReply("/up/error/submit.asp", LoopbackHttpServer::Slow(500, "ok"));
    h->host.answerMessageBox(forms::mb::ResultYes, 1000);
    h->host.answerMessageBox(forms::mb::ResultOk);
    // As the cover's update button does; the unit section hides the cover.
    h->host.then([this] {
        g().ShowUpdateWindow = 1;
        h->p().frmUpdata().show();
    });
    h->host.pause(300);  // over while the learner is in the question
    h->host.click(home().ClickBotn(20));
    h->host.runUntilIdle();
    EXPECT_TRUE(h->p().rt.ended());
    EXPECT_EQ(h->reportsWith("tkup").size(), 1u);
    for (const std::string& s : h->host.shownLog) EXPECT_NE(s, "show FrmTm");
    EXPECT_EQ(g().CurrentQuestion, 0);
    EXPECT_EQ(readFileBytes(folder.dataFile("300001.mxy")), "new info");
    EXPECT_EQ(h->host.messageBoxes.back().prompt, "已更新1/2文件。请重新打开软件！");
}

TEST_F(UpdateWindow, AStoredListThatCannotBeReadStopsTheUpdate) {
    serveList(listOf(kNewer, {"D209901010000300001"}));
    site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new"));
    startHome();
    testsupport::ScopedReadFailure unreadable(ks("288895.mxy"));
    clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
    EXPECT_FALSE(h->p().rt.ended());
    EXPECT_EQ(h->host.messageBoxes.size(), 1u);  // the question only
    EXPECT_FALSE(exists(folder.dataFile("300001.mxy")));
    EXPECT_EQ(readFileBytes(folder.dataFile("288895.mxy")), std::string(kInstalled) + "\r\n");
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->visible());
    EXPECT_EQ(window()->Label2.caption(), qz::FrmUpdata::CheckFailed);
    EXPECT_EQ(h->reportsWith("tkup").size(), 1u);
}

TEST_F(UpdateWindow, AFailedFileKeepsItsOldBytesAndTheInstalledList) {
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
    } cases[] = {
        {"404", LoopbackHttpServer::Answer("not here", 404)},
        {"cut body", LoopbackHttpServer::Cut("half", 100)},
        {"302", LoopbackHttpServer::Redirect("/elsewhere", "moved")},
        {"hangs", LoopbackHttpServer::Hang()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.writeDataBytes("288895.mxy", std::string(kInstalled) + "\r\n");
        folder.writeDataBytes("300001.mxy", "old one");
        folder.writeDataBytes("300002.mxy", "old two");
        folder.writeDataBytes("300003.mxy", "old three");
        serveList(listOf(kNewer, {"D209901010000300001", "D209901010000300002", "D209901010000300003"}));
        site.setReply(kBase + "data/300001.rar", LoopbackHttpServer::Answer("new one"));
        site.setReply(kBase + "data/300002.rar", c.reply);
        site.setReply(kBase + "data/300003.rar", LoopbackHttpServer::Answer("new three"));
        startHome();
        clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
        EXPECT_EQ(h->host.messageBoxes.back().prompt, "已更新2/3文件。请重新打开软件！");
        EXPECT_EQ(readFileBytes(folder.dataFile("300001.mxy")), "new one");
        EXPECT_EQ(readFileBytes(folder.dataFile("300002.mxy")), "old two");
        EXPECT_EQ(readFileBytes(folder.dataFile("300003.mxy")), "new three");
        EXPECT_TRUE(noDownloadLeftIn(folder.dataFile("")));
        EXPECT_EQ(readFileBytes(folder.dataFile("288895.mxy")), std::string(kInstalled) + "\r\n");
        EXPECT_TRUE(h->p().rt.ended());
    }
}

TEST_F(UpdateWindow, NamesThatLeaveTheirFolderAreNeverRequestedNorWritten) {
    std::filesystem::create_directories(folder.file("sub"));
    serveList(listOf(kNewer, {"M209901010000../xfile", "M209901010000a\\..\\..\\b", "M209901010000/etc/xfile",
                              "M209901010000c:xfile", "M209901010000Sub\\okfile", "M209901010000nodir\\file"}));
    site.setReply(LoopbackHttpServer::Answer("served"));
    startHome();
    const auto before = siteTargets().size();
    clickUpdate({forms::mb::ResultYes, forms::mb::ResultOk});
    const auto targets = siteTargets();
    ASSERT_EQ(targets.size(), before + 4);  // the advertisement, the list twice, one file
    EXPECT_EQ(targets.back(), kBase + "Sub/okfile.rar");
    EXPECT_EQ(readFileBytes(folder.file("sub/okfile.mxy")), "served");  // the folder as it is spelt on disk
    EXPECT_EQ(h->host.messageBoxes.back().prompt, "已更新1/6文件。请重新打开软件！");
    EXPECT_EQ(h->reportsWith("tkup").size(), 5u);
    // Nothing landed beside the program folder.
    const std::filesystem::path parent = std::filesystem::path(folder.path()).parent_path();
    for (const auto& e : std::filesystem::directory_iterator(parent))
        EXPECT_EQ(e.path().filename().string().find("xfile"), std::string::npos) << e.path();
    EXPECT_FALSE(exists(folder.file("nodir")));
}

TEST_F(UpdateWindow, AHangingAdvertisementDelaysTheWindowAndKeepsTheOldOne) {
    serveList(listOf(kInstalled, {}));
    startHome();
    site.setReply(adPath(), LoopbackHttpServer::Hang());
    const std::int64_t t0 = h->p().rt.now();
    clickUpdate();
    EXPECT_GE(h->p().rt.now() - t0, 1000);
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->visible());
    EXPECT_EQ(readFileBytes(ks("170100.mxy")), "old ad\r\n");
    EXPECT_TRUE(noDownloadLeftIn(folder.ksdata()));
}

TEST_F(UpdateWindow, AWindowClosedDuringTheListsWaitStaysClosed) {
    site.setReply(kListPath, LoopbackHttpServer::Slow(1500, listOf(kNewer, {"D209901010000300001"})));
    startHome();
    h->host.click(h->p().frmFengmian().ClickBotn(8));
    h->host.pause(400);
    h->host.then([this] {
        ASSERT_NE(window(), nullptr);
        h->host.click(window()->Command1);
    });
    h->host.runUntilIdle();
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(h->host.messageBoxes.empty());
    EXPECT_FALSE(exists(ks("288895.mxy")));
    int shows = 0;
    for (const auto& s : h->host.shownLog) shows += s == "show FrmUpdata";
    EXPECT_EQ(shows, 1);
}

TEST_F(UpdateWindow, TheUpgradeButtonOpensThePageThenAsks) {
    serveList(listOf(kInstalled, {}));
    startHome();
    click(8);
    ASSERT_NE(window(), nullptr);
    const std::string page = g().ProductInfo[13];
    for (hometest::BoxButton answer : {hometest::Cancel, hometest::Confirm}) {
        if (!window()) click(8);
        h->shell.calls.clear();
        hometest::BoxSeen seen = clickAnswering(window()->Command2, answer);
        ASSERT_EQ(h->shell.calls.size(), 1u);
        EXPECT_EQ(h->shell.calls[0].target, page);
        EXPECT_EQ(seen.title, "升级提示");
        EXPECT_EQ(seen.icon, "l20071");
        EXPECT_EQ(seen.prompt, "\r\n\r\n注意：\r\n要升级题库，请在打开的网页" + page + "中，找到【huitu模块】进行下载，"
                               "下载完成后直接安装就是新版本（无需卸载旧版）。\r\n\r\n确定要升级吗？");
        EXPECT_EQ(window(), nullptr);
        EXPECT_EQ(h->p().rt.ended(), answer == hometest::Confirm);
    }
}
