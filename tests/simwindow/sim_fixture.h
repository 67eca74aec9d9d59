#pragma once
// The simulated window of a whole program on the headless host, with a question set whose
// step records the test writes itself: records are built from named fields over a base
// of "0" columns with the background kept ("888888").
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/legacy_text.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/app/program_harness.h"
#include "tests/support/case_name.h"
#include "tests/support/temp_dir.h"

namespace simtest {

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

// A 196-column record: columns set by their first column (from 1).
struct Rec {
    std::string text = std::string(196, '0');
    explicit Rec(const std::string& code) {
        put(8, code);
        put(12, "888888");
        hotSpot(1000, 1000, 600, 300);
    }
    Rec& put(int col, const std::string& s) {
        text.replace(static_cast<std::size_t>(col - 1), s.size(), s);
        return *this;
    }
    static std::string five(int v) {
        std::string s = std::to_string(v);
        return std::string(5 - std::min<std::size_t>(5, s.size()), '0') + s;
    }
    Rec& hotSpot(int l, int t, int w, int h) { return put(66, five(l) + five(t) + five(w) + five(h)); }
    Rec& box(int l, int t, int w, int h) { return put(86, five(l) + five(t) + five(w) + five(h)); }
    Rec& image(int k, int l, int t, const std::string& id) {
        const int s[] = {0, 18, 34, 50, 135, 151};
        return put(s[k], five(l) + five(t) + id);
    }
    Rec& hint(int l, int t, const std::string& number) { return put(112, five(l) + five(t) + number); }
    Rec& menuBar(int l, int t) { return put(125, five(l) + five(t)); }
    operator std::string() const { return text; }
};

// Each line in the program's ANSI code page, followed by CR LF.
inline std::string crlfAnsi(const std::vector<std::string>& lines) {
    return platform::encodeAnsi(testsupport::crlf(lines));
}

// A question's records, an action on the window, and the step the question stands at after.
struct StepCase {
    const char* what;
    std::vector<std::string> records;  // before the question's "9999"
    std::function<void(headless::HeadlessHost&, qz::FrmMain&)> act;
    int stepAfter;
};

class SimWindow : public ::testing::Test {
protected:
    // The question's records from line 1 of the set; texts line n for each number n.
    void writeSteps(const std::vector<std::string>& records) { folder.writeDataBytes("288820.mxy", crlfAnsi(records)); }
    void writeTexts(const std::vector<std::string>& lines) { folder.writeDataBytes("288890.mxy", crlfAnsi(lines)); }
    // The program's menu file: "0" on every line of `count` but those given (from 1).
    void writeMenu(const std::map<long, std::string>& lines, long count = 465) {
        std::vector<std::string> all(static_cast<std::size_t>(count), "0");
        for (const auto& [n, text] : lines) all[static_cast<std::size_t>(n - 1)] = text;
        testsupport::writeFileBytes(folder.path() + "/sMenu.sys", crlfAnsi(all));
    }

    // A program on the given screen, the session set as the question display leaves it,
    // and the window loaded and shown with its first layout pending.
    void start(std::vector<std::string> records, int screenHeightPx = 768) {
        writeSteps(records);
        h = std::make_unique<ProgramHarness>(folder);
        h->host.setScreenPixels({1024, screenHeightPx});
        qz::Shared& s = h->g();
        s.DataDir = folder.dataDir();
        s.ProgramFolder = folder.path();
        s.ScaleX = s.ScaleY = 1;
        s.StepsFilePath = folder.dataFile("288820.mxy");
        s.TextsFilePath = folder.dataFile("288890.mxy");
        s.QuestionCount = 3;
        s.CurrentQuestion = 1;
        s.FirstStepLine[1] = 1;
        s.InteractionMode = 2;
        s.CurrentStep = 1;
        m().show();
        tm().show();
        m().Timer2.setEnabled(true);
        settle();
    }
    // The case's question started, its action done, and the step it leaves checked.
    void runStepCase(const StepCase& c) {
        std::vector<std::string> records = c.records;
        records.push_back(Rec("9999"));
        start(records);
        c.act(h->host, m());
        settle(600);
        EXPECT_EQ(step(), c.stepAfter);
    }
    // Lets the script and due timers run (not Timer3's next tick unless ms allows it).
    void settle(int ms = 300) { h->host.runFor(ms); }

    qz::FrmMain& m() { return h->p().frmMain(); }
    qz::FrmTm& tm() { return h->p().frmTm(); }
    qz::Shared& g() { return h->g(); }
    int step() { return g().CurrentStep; }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;
};

}  // namespace simtest
