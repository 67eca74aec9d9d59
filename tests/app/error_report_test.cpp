// The error report: its request, its run-log entry, and the cut chain of reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "forms/form.h"
#include "platform/vb_error.h"
#include "tests/app/program_harness.h"

using testsupport::gbkBytes;
using testsupport::LoopbackHttpServer;
using testsupport::ProgramFolder;
using testsupport::ProgramHarness;
using testsupport::TickingForm;
using testsupport::readFileBytes;

namespace {

class ErrorReport : public testing::Test {
protected:
    ErrorReport() : h(folder) {
        h.g().ModuleName = "huitu";
        h.g().QuestionBankVersion = "2.0";
        h.g().OsVersion = "6.1";
    }
    std::string logPath() const { return folder.ksdata() + "/20240102030405.txt"; }

    ProgramFolder folder;
    ProgramHarness h;
};

// One entry as it must stand in the file, with the time stamp cut out.
std::string entryWithoutStamp(const std::string& tag, const std::string& desc, const std::string& os,
                              const std::string& ver, const std::string& number) {
    return "\r\n" + std::string("@") + "\r\n" + gbkBytes("软件运行提示:" + tag + desc) + "\r\n" +
           gbkBytes("系统版本:" + os + ",软件版本:" + ver + "," + number) + "\r\n" + "\r\n";
}

// Replaces each "YYYY-MM-DD HH:MM:SS" at the start of a line by "@"; fails on a stamp of another shape.
std::string cutStamps(const std::string& bytes) {
    static const std::regex stamp(R"((^|\r\n)\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]) ([01]\d|2[0-3]):[0-5]\d:[0-5]\d\r\n)");
    return std::regex_replace(bytes, stamp, "$1@\r\n");
}

}  // namespace

TEST_F(ErrorReport, RequestTargetByteForByte) {
    struct Case {
        const char* module;
        const char* ver;
        const char* os;
        const char* tag;
        std::int32_t number;
        const char* desc;
        const char* target;
    } cases[] = {
        {"huitu", "2.0", "6.1", "readInfo", 53, "File not found",
         "/up/error/submit.asp?pronm=huitu&pver=2.0&osver=6.1&errsub=readInfo&errno=53&errdescript=File%20not%20found"},
        {"绘图 a", "", "Unknown", "startload", -2147024894, "a&b #c\r\n中",
         "/up/error/submit.asp?pronm=%E7%BB%98%E5%9B%BE%20a&pver=&osver=Unknown&errsub=startload&errno=-2147024894"
         "&errdescript=a%26b%20%23c%0D%0A%E4%B8%AD"},
        {"", "", "", "getHtmlStr", 0, "",
         "/up/error/submit.asp?pronm=&pver=&osver=&errsub=getHtmlStr&errno=0&errdescript="},
        {"m=1&x", "1.0+b", "6.1?", "t/1", -1, "100%",
         "/up/error/submit.asp?pronm=m%3D1%26x&pver=1.0%2Bb&osver=6.1%3F&errsub=t%2F1&errno=-1&errdescript=100%25"},
    };
    for (const auto& c : cases) {
        h.g().ModuleName = c.module;
        h.g().QuestionBankVersion = c.ver;
        h.g().OsVersion = c.os;
        const std::size_t before = h.server.targets().size();
        h.p().ReportError(c.tag, c.number, c.desc);
        auto targets = h.server.targets();
        ASSERT_EQ(targets.size(), before + 1) << c.target;
        EXPECT_EQ(targets.back(), c.target);
        EXPECT_EQ(h.p().errorReportUrl(c.tag, c.number, c.desc), h.server.url(c.target));
    }
}

TEST_F(ErrorReport, LogEntryByteForByte) {
    h.g().RunLogPath = logPath();
    h.p().ReportError("lblinfo", -5, "描述 a&b #c\r\n中");
    const std::string bytes = readFileBytes(logPath());
    EXPECT_EQ(cutStamps(bytes), entryWithoutStamp("lblinfo", "描述 a&b #c\r\n中", "6.1", "2.0", "-5"));
    // The stamp is the second line, nothing else around it.
    EXPECT_TRUE(std::regex_search(bytes, std::regex(R"(^\r\n\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n)")));
}

TEST_F(ErrorReport, LogKeepsTheDescriptionsOwnBytes) {
    // A lone line feed or carriage return inside the text is written as it is.
    h.g().RunLogPath = logPath();
    h.p().ReportError("x", 1, "a\nb\rc");
    EXPECT_EQ(cutStamps(readFileBytes(logPath())), entryWithoutStamp("x", "a\nb\rc", "6.1", "2.0", "1"));
}

TEST_F(ErrorReport, FirstReportCreatesTheLogLaterOnesAppend) {
    h.p().ReportError("before", 1, "not logged");
    EXPECT_TRUE(testsupport::noRunLog(folder.ksdata()));

    h.g().RunLogPath = logPath();
    h.p().ReportError("first", 2, "one");
    h.g().QuestionBankVersion = "3.1";
    h.p().ReportError("second", -3, "two");
    EXPECT_EQ(cutStamps(readFileBytes(logPath())), entryWithoutStamp("first", "one", "6.1", "2.0", "2") +
                                                       entryWithoutStamp("second", "two", "6.1", "3.1", "-3"));
    EXPECT_EQ(h.reports().size(), 3u);  // all three were sent
}

TEST_F(ErrorReport, MissingKsdataLogsNothing) {
    std::filesystem::remove_all(folder.ksdata());
    h.g().RunLogPath = logPath();
    h.p().ReportError("x", 1, "y");
    EXPECT_FALSE(std::filesystem::exists(folder.ksdata()));
    EXPECT_EQ(h.reports().size(), 1u);
}

TEST_F(ErrorReport, FailingRequestStartsNoFurtherReport) {
    struct Case {
        const char* what;
        LoopbackHttpServer::Reply reply;
    } cases[] = {{"closed without reply", LoopbackHttpServer::Fail()},
                 {"never answers", LoopbackHttpServer::Hang()}};
    h.g().RunLogPath = logPath();
    for (const auto& c : cases) {
        std::filesystem::remove(logPath());
        LoopbackHttpServer server;
        server.setReply(c.reply);
        h.p().svc.reportServer = testsupport::originOf(server);
        const std::int64_t t0 = h.host.nowMs();
        h.p().ReportError("tag", 7, "desc");
        const std::int64_t waited = h.host.nowMs() - t0;
        EXPECT_TRUE(server.waitForRequests(1, 1000)) << c.what;
        EXPECT_FALSE(server.waitForRequests(2, 300)) << c.what;
        EXPECT_LE(waited, 2000) << c.what;
        // Logged once, with the report's own tag: no report of the failed request.
        EXPECT_EQ(cutStamps(readFileBytes(logPath())), entryWithoutStamp("tag", "desc", "6.1", "2.0", "7")) << c.what;
    }
}

TEST_F(ErrorReport, ReportRaisedWhileAnotherWaitsIsSentAndLogged) {
    // The report server never answers, so the first report waits 1 to 2 seconds; a timer's
    // handler fails meanwhile. Its report is sent and logged; that report's own request is
    // closed without an answer and starts no report of its own.
    LoopbackHttpServer& server = h.server;
    server.setReply(LoopbackHttpServer::Hang());
    const std::string innerUrl = h.p().errorReportUrl("timerproc", 11, "Division by zero");
    server.setReply(innerUrl.substr(testsupport::originOf(server).size()), LoopbackHttpServer::Fail());
    h.g().RunLogPath = logPath();

    TickingForm form(h.p().rt);
    form.show();
    int ticks = 0;
    form.Timer1.Tick = [&] {
        if (++ticks > 1) return;
        forms::OnError on = h.p().reporting("timerproc");
        on([] { platform::raise(11); });
    };
    form.Timer1.setEnabled(true);
    const std::int64_t t0 = h.host.nowMs();
    h.p().ReportError("outer", 7, "desc");
    form.Timer1.setEnabled(false);

    EXPECT_GE(ticks, 1);
    EXPECT_LE(h.host.nowMs() - t0, 2100);
    ASSERT_TRUE(server.waitForRequests(2, 1000));
    EXPECT_FALSE(server.waitForRequests(3, 300));
    auto targets = server.targets();
    EXPECT_NE(targets[0].find("&errsub=outer&"), std::string::npos) << targets[0];
    EXPECT_NE(targets[1].find("&errsub=timerproc&errno=11&"), std::string::npos) << targets[1];
    // The inner report ends first and is logged first.
    EXPECT_EQ(cutStamps(readFileBytes(logPath())),
              entryWithoutStamp("timerproc", "Division by zero", "6.1", "2.0", "11") +
                  entryWithoutStamp("outer", "desc", "6.1", "2.0", "7"));
}

TEST_F(ErrorReport, RefusedReportServerFailsFastAndSilently) {
    h.g().RunLogPath = logPath();
    h.p().svc.reportServer = testsupport::originOf(LoopbackHttpServer::refusedUrl());
    const std::int64_t t0 = h.host.nowMs();
    h.p().ReportError("tag", 7, "desc");
    EXPECT_LT(h.host.nowMs() - t0, 500);
    EXPECT_EQ(cutStamps(readFileBytes(logPath())), entryWithoutStamp("tag", "desc", "6.1", "2.0", "7"));
}

TEST(ErrorReportAtStartUp, ReportsBeforeTheHomeScreenAreSentNotLogged) {
    ProgramFolder folder(ProgramFolder::Kind::Garbage);
    ProgramHarness h(folder);
    h.p().run();
    EXPECT_EQ(h.reportsWith("errsub=readInfo&").size(), 2u);
    EXPECT_TRUE(testsupport::noRunLog(folder.ksdata()));
    // The first report after the run log got its name creates it.
    h.p().ReportError("later", 1, "x");
    ASSERT_TRUE(std::filesystem::exists(h.g().RunLogPath));
    EXPECT_EQ(cutStamps(readFileBytes(h.g().RunLogPath)),
              entryWithoutStamp("later", "x", h.g().OsVersion, h.g().QuestionBankVersion, "1"));
}

TEST_F(ErrorReport, StartUpEntriesWaitForTheRunLogThenComeFirst) {
    h.p().logAtStart("held one");
    h.p().logAtStart("held two");
    EXPECT_TRUE(testsupport::noRunLog(folder.ksdata()));
    h.p().openRunLog(logPath());
    h.p().logAtStart("after");
    EXPECT_EQ(cutStamps(readFileBytes(logPath())), "\r\n@\r\nheld one\r\n\r\n@\r\nheld two\r\n\r\n@\r\nafter\r\n");
    // Held entries are written once.
    h.p().openRunLog(logPath());
    EXPECT_EQ(cutStamps(readFileBytes(logPath())), "\r\n@\r\nheld one\r\n\r\n@\r\nheld two\r\n\r\n@\r\nafter\r\n");
}
