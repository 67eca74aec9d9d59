// Per-procedure error handling: a failing statement is reported (or not) and the next runs.
#include <gtest/gtest.h>

#include <new>

#include "forms/on_error.h"
#include "tests/forms/form_fixture.h"

namespace formstest {
namespace {

struct Report {
    std::string tag;
    int number;
    friend bool operator==(const Report&, const Report&) = default;
};

TEST(OnError, ReportingHandlingReportsAndGoesOn) {
    std::vector<Report> reports;
    std::vector<int> ran;
    forms::OnError run("frmMain.Timer1_Timer", [&](const std::string& tag, const platform::VbError& e) {
        reports.push_back({tag, e.number});
    });
    EXPECT_FALSE(run([&] {
        ran.push_back(1);
        platform::raise(53);
        ran.push_back(-1);
    }));
    EXPECT_TRUE(run([&] { ran.push_back(2); }));
    EXPECT_FALSE(run([] { throw std::out_of_range("vector"); }));
    EXPECT_FALSE(run([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(run([] { throw std::runtime_error("anything else"); }));
    EXPECT_TRUE(run([&] { ran.push_back(3); }));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(reports, (std::vector<Report>{{"frmMain.Timer1_Timer", 53},
                                            {"frmMain.Timer1_Timer", 9},
                                            {"frmMain.Timer1_Timer", 7},
                                            {"frmMain.Timer1_Timer", 5}}));
    EXPECT_EQ(run.failures(), 4);
}

TEST(OnError, SilentHandlingGoesOnWithoutAReport) {
    forms::OnError run;
    int next = 0;
    EXPECT_FALSE(run([] { platform::raise(380); }));
    EXPECT_TRUE(run([&] { ++next; }));
    EXPECT_EQ(next, 1);
    EXPECT_EQ(run.failures(), 1);
}

TEST_F(FormsTest, ProgramEndAndAStarvedScriptPassThroughOnError) {
    int reports = 0;
    forms::OnError run("tag", [&](const std::string&, const platform::VbError&) { ++reports; });
    EXPECT_THROW(run([] { throw headless::ScriptStarved{"x"}; }), headless::ScriptStarved);
    EXPECT_THROW(run([this] { rt.endProgram(); }), forms::ProgramEnd);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(run.failures(), 0);
}

TEST_F(FormsTest, ProgramEndInsideOnErrorInsideAHandlerEndsTheProgram) {
    MainForm& f = shownMain();
    f.on["lbl.Click"] = [&] {
        forms::OnError run;
        run([&] { rt.endProgram(); });
        rec.add("after");
    };
    host.click(f.lbl);
    host.runUntilIdle();
    EXPECT_TRUE(rt.ended());
    EXPECT_EQ(rec.count("after"), 0);
}

TEST_F(FormsTest, AnUnhandledErrorEndsOnlyTheHandler) {
    MainForm& f = shownMain();
    std::vector<int> unhandled;
    rt.onUnhandledError = [&](const platform::VbError& e) { unhandled.push_back(e.number); };
    f.on["lbl.Click"] = [&] {
        platform::raise(13);
    };
    host.click(f.lbl);
    host.click(f.lblBelow);
    host.runUntilIdle();
    EXPECT_EQ(unhandled, std::vector<int>{13});
    EXPECT_EQ(rec.count("lblBelow.Click"), 1);
    EXPECT_FALSE(rt.ended());
}

}  // namespace
}  // namespace formstest
