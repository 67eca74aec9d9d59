// The polled HTTP GET: answers, time-outs on the virtual clock, transport failures, and
// windows that stay alive while it waits.
#include <gtest/gtest.h>

#include "forms/form.h"
#include "tests/app/program_harness.h"

using testsupport::gbkBytes;
using testsupport::LoopbackHttpServer;
using testsupport::ProgramFolder;
using testsupport::ProgramHarness;
using testsupport::TickingForm;

namespace {

const std::string kTimeout = "error-timeout，网络状况不好，请重试！";

class GetHtmlStr : public testing::Test {
protected:
    GetHtmlStr() : h(folder) {}
    ProgramFolder folder;
    ProgramHarness h;
    LoopbackHttpServer site;  // the server asked; reports go to h.server
};

}  // namespace

TEST_F(GetHtmlStr, AnswersComeBackTrimmedOfSpacesOnly) {
    struct Case {
        std::string body;
        int status;
        std::string text;
    } cases[] = {
        {"  ab\r\ncd\r\n  ", 200, "ab\r\ncd\r\n"},
        {"\r\n x \r\n", 200, "\r\n x \r\n"},
        {"\t1.2.3 ", 200, "\t1.2.3"},
        {"", 200, ""},
        {gbkBytes("  题库版本：V2.0\r\n"), 200, "题库版本：V2.0\r\n"},
        {"<h1>Server Error</h1> ", 500, "<h1>Server Error</h1>"},
        {"not found", 404, "not found"},
    };
    for (const auto& c : cases) {
        site.setReply("/a.asp", LoopbackHttpServer::Answer(c.body, c.status));
        EXPECT_EQ(h.p().getHtmlStr(site.url("/a.asp?x=1"), 5), c.text) << c.body;
    }
    EXPECT_TRUE(h.reports().empty());
    EXPECT_EQ(site.targets().size(), std::size(cases));
}

TEST_F(GetHtmlStr, HangingServerTimesOutOnTheVirtualClock) {
    site.setReply(LoopbackHttpServer::Hang());
    for (int timeout : {1, 2}) {
        const std::int64_t t0 = h.host.nowMs();
        EXPECT_EQ(h.p().getHtmlStr(site.url("/hang"), static_cast<std::int16_t>(timeout)), kTimeout);
        const std::int64_t waited = h.host.nowMs() - t0;
        EXPECT_GE(waited, 1000 * timeout) << timeout;
        EXPECT_LE(waited, 1000 * (timeout + 1)) << timeout;
    }
    // A time-out is no failing statement.
    EXPECT_TRUE(h.reports().empty());
}

TEST_F(GetHtmlStr, SlowAnswerWithinTheTimeOut) {
    site.setReply(LoopbackHttpServer::Slow(300, "late"));
    EXPECT_EQ(h.p().getHtmlStr(site.url("/slow"), 3), "late");
}

TEST_F(GetHtmlStr, RefusedConnectionEndsAtOnceAndIsReported) {
    const std::int64_t t0 = h.host.nowMs();
    EXPECT_EQ(h.p().getHtmlStr(LoopbackHttpServer::refusedUrl("/ver.asp"), 2), kTimeout);
    EXPECT_LT(h.host.nowMs() - t0, 200);
    auto reports = h.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("&errsub=getHtmlStr&"), std::string::npos) << reports[0];
}

TEST_F(GetHtmlStr, ClosedWithoutAnswerEndsAtOnceAndIsReported) {
    site.setReply(LoopbackHttpServer::Fail());
    const std::int64_t t0 = h.host.nowMs();
    EXPECT_EQ(h.p().getHtmlStr(site.url("/x"), 2), kTimeout);
    EXPECT_LT(h.host.nowMs() - t0, 1000);
    EXPECT_EQ(h.reportsWith("&errsub=getHtmlStr&").size(), 1u);
}

// An answer larger than a list is no answer: the time-out text, at once, and the failure reported.
TEST_F(GetHtmlStr, AnAnswerPastTheListsSizeFails) {
    struct Case {
        const char* name;
        LoopbackHttpServer::Reply reply;
        bool whole;
    } cases[] = {
        {"at the size", LoopbackHttpServer::Generated(qz::ListMaxBytes, false), true},
        {"one byte over", LoopbackHttpServer::Generated(qz::ListMaxBytes + 1, false), false},
        {"one byte over, announced", LoopbackHttpServer::Generated(qz::ListMaxBytes + 1), false},
        {"endless", LoopbackHttpServer::Endless(), false},
    };
    std::size_t reports = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        site.setReply("/list.txt", c.reply);
        const std::int64_t t0 = h.host.nowMs();
        const std::string text = h.p().getHtmlStr(site.url("/list.txt"), 2);
        EXPECT_LT(h.host.nowMs() - t0, 1000);
        if (c.whole) {
            EXPECT_TRUE(text == LoopbackHttpServer::generatedBody(qz::ListMaxBytes));
        } else {
            EXPECT_EQ(text, kTimeout);
            ++reports;
        }
        EXPECT_EQ(h.reportsWith("&errsub=getHtmlStr&").size(), reports);
    }
}

TEST_F(GetHtmlStr, RefusedInsideAReportIsNotReported) {
    h.p().svc.reportServer = testsupport::originOf(LoopbackHttpServer::refusedUrl());
    const std::int64_t t0 = h.host.nowMs();
    h.p().ReportError("tag", 1, "d");
    EXPECT_LT(h.host.nowMs() - t0, 200);
    // Not reported anywhere: back on a live server, the next report is the only request.
    h.p().svc.reportServer = testsupport::originOf(h.server);
    h.p().ReportError("next", 2, "e");
    auto reports = h.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("&errsub=next&"), std::string::npos);
}

TEST_F(GetHtmlStr, FailureOfAnotherHandlerWhileAReportWaitsIsReported) {
    // The report server never answers: the report waits 1 to 2 seconds, and a timer's
    // handler asks a server that refuses. That failure is reported as usual.
    LoopbackHttpServer& reportServer = h.server;
    reportServer.setReply(LoopbackHttpServer::Hang());
    TickingForm form(h.p().rt);
    form.show();
    std::string inner;
    int ticks = 0;
    form.Timer1.Tick = [&] {
        if (++ticks == 1) inner = h.p().getHtmlStr(LoopbackHttpServer::refusedUrl("/ver.asp"), 2);
    };
    form.Timer1.setEnabled(true);
    h.p().ReportError("outer", 1, "d");
    form.Timer1.setEnabled(false);

    EXPECT_EQ(inner, kTimeout);
    ASSERT_TRUE(reportServer.waitForRequests(2, 1000));
    EXPECT_FALSE(reportServer.waitForRequests(3, 300));
    auto targets = reportServer.targets();
    EXPECT_NE(targets[0].find("&errsub=outer&"), std::string::npos) << targets[0];
    EXPECT_NE(targets[1].find("&errsub=getHtmlStr&"), std::string::npos) << targets[1];
}

TEST_F(GetHtmlStr, TimersRunWhileItWaits) {
    TickingForm form(h.p().rt);
    form.show();
    int ticks = 0;
    form.Timer1.Tick = [&] { ++ticks; };
    form.Timer1.setEnabled(true);
    site.setReply(LoopbackHttpServer::Hang());
    EXPECT_EQ(h.p().getHtmlStr(site.url("/hang"), 1), kTimeout);
    EXPECT_GE(ticks, 9);
    EXPECT_LE(ticks, 20);

    // A handler may start a request of its own while the outer one waits.
    site.setReply("/inner", LoopbackHttpServer::Answer("inner"));
    std::string inner;
    bool started = false;
    form.Timer1.Tick = [&] {
        if (!started) {
            started = true;
            inner = h.p().getHtmlStr(site.url("/inner"), 5);
        }
    };
    site.setReply("/outer", LoopbackHttpServer::Slow(400, "outer"));
    EXPECT_EQ(h.p().getHtmlStr(site.url("/outer"), 5), "outer");
    EXPECT_EQ(inner, "inner");
    form.Timer1.setEnabled(false);
}
