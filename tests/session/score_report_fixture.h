#pragma once
// The score report of a whole program on the headless host: a bank of two units of 20
// questions, a paper of all 40 launched as the paper buttons launch it and opened as the login
// opens it, the exam's results set as the hand-in leaves them, and the report shown.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "session/FrmChengji.h"
#include "session/FrmTm.h"
#include "session/session_launch.h"
#include "tests/home/home_fixture.h"
#include "simwindow/FrmMain.h"
#include "tests/support/temp_dir.h"

namespace reporttest {

using hometest::BoxButton;
using hometest::BoxSeen;
using hometest::twoDigits;
using testsupport::crlf;
using testsupport::gbkBytes;

// Entry i of the paper: questions 1-20 of unit 0, then 1-20 of unit 1.
inline int paperCode(int i) { return i <= 20 ? i : 100 + i - 20; }
inline std::string codeText(int code) { return twoDigits(code / 100) + twoDigits(code % 100); }
inline std::string paperLine() {
    std::string line;
    for (int i = 1; i <= 40; ++i) line += codeText(paperCode(i));
    return line;
}

// History records by slot; every other slot is its default.
using Records = std::map<int, std::array<std::string, 3>>;
inline std::string historyBytes(const Records& slots, int records = 31) {
    std::vector<std::string> lines;
    for (int s = 0; s < records; ++s) {
        const auto it = slots.find(s);
        const std::array<std::string, 3> r = it != slots.end() ? it->second : std::array<std::string, 3>{"您还未考试！", "0", "E"};
        lines.insert(lines.end(), r.begin(), r.end());
    }
    lines.emplace_back();
    return gbkBytes(crlf(lines));
}

// After the home screen's 30 records the report's 31: the old file's closing empty line is
// read as slot 30's time.
inline Records after30(Records slots) {
    slots.emplace(30, std::array<std::string, 3>{"", "0", "E"});
    return slots;
}

class ReportRun : public hometest::HomeRun {
public:
    static constexpr const char* Started = "2026-12-10 09:00:00";
    static constexpr const char* Now = "2026-12-10 09:30:00";  // the harness's local time

    ReportRun() {
        std::vector<int> steps0, steps1;
        for (int q = 1; q <= 20; ++q) {
            steps0.push_back(1 + q % 3);
            steps1.push_back(1 + q % 2);
        }
        writeUnitSet(0, steps0);
        writeUnitSet(1, steps1);
        writeCatalogue({"0202", "2020", paperLine(), paperLine()});
        // The grid's cells and the buttons' faces: strips of four frames of the button's size,
        // which a button needs to be pressed.
        for (const char* id : {"l01033", "l01034"}) folder.writePicture(id, 4 * 30, 30);
        for (const char* id : {"l01035", "l01036"}) folder.writePicture(id, 4 * 128, 30);
        folder.writePicture("l01037", 4 * 58, 30);
    }

    // Fixed paper `slot`, or with mode 8 the random paper in that slot, launched and set as
    // the login leaves it; its results are the test's to set before the report.
    void openExam(int mode = 0, int slot = 0, const std::string& line = paperLine()) {
        if (!h) start();
        h->host.then([this, mode, slot, line] {
            qz::Shared& s = g();
            s.PaperSlot = static_cast<std::int16_t>(slot);
            s.ListMode = static_cast<std::int16_t>(mode);
            s.ListBase = static_cast<std::int16_t>(mode == 8 ? 11 : slot);
            forms::OnError on;
            const int built = qz::buildListSet(h->p(), line, mode == 8 ? 19 : slot, on);
            s.QuestionCount = 40;
            s.InteractionMode = 3;
            for (std::size_t i = 1; i <= 40; ++i) {
                s.DoneBefore[i] = "F";
                s.QuestionState[i] = 0;
            }
            launched = qz::prepareSession(h->p(), built, false, on);
            s.ExamStartTime = Started;
            // The windows of the exam, as the login opens them, before the home screen goes:
            // the last window closed would end the program.
            if (launched) {
                h->p().frmTm().TimerREDO.setEnabled(true);
                h->p().frmTm().show();
                h->p().frmMain().show();
            }
            if (h->isLoaded("FrmFengmian")) h->p().frmFengmian().unload();
        });
        // Up to the exam's first question; the countdown's minute is never waited for.
        h->host.runUntilIdle(1000);
        ASSERT_TRUE(launched);
    }
    void complete(int i) { g().QuestionState[static_cast<std::size_t>(i)] |= 4; }
    void completeAll(int n) {
        for (int i = 1; i <= n; ++i) complete(i);
    }
    void mark(int i, bool on) {
        auto& s = g().QuestionState[static_cast<std::size_t>(i)];
        s = static_cast<std::int16_t>(on ? (s | 2) : (s & ~2));
    }

    // Shows the report as the hand-in does and, when the own message box opens once the
    // report is up, notes it and confirms it.
    BoxSeen showReport() {
        BoxSeen seen;
        reportUpAtBox = false;
        h->host.then([this] { h->p().frmChengji().show(); });
        h->host.pause(300);
        h->host.then([this, &seen] {
            forms::Form* top = h->p().rt.topModal();
            if (!top || top->name() != "FrmQZMSGBOX") return;
            const qz::FrmChengji* r = h->p().loadedFrmChengji();
            reportUpAtBox = r && r->visible();
            auto& box = static_cast<qz::FrmQZMSGBOX&>(*top);
            seen = {true, box.LblTitle.caption(), box.LblPrompt.caption(), testsupport::pictureId(box.Image1.picture())};
            h->host.click(box.LblClick(hometest::Confirm));
        });
        h->host.runUntilIdle();
        return seen;
    }
    qz::FrmChengji& report() {
        qz::FrmChengji* r = h->p().loadedFrmChengji();
        EXPECT_NE(r, nullptr);
        return *r;
    }

    std::string record(const std::string& name) {
        const std::string path = folder.ksdata() + "/" + name;
        return platform::fileExists(path) ? testsupport::readFileBytes(path) : "<missing>";
    }
    std::string ksdata(const std::string& name) const { return folder.ksdata() + "/" + name; }

    bool launched = false;
    bool reportUpAtBox = false;
};

class ScoreReport : public ::testing::Test, public ReportRun {};

}  // namespace reporttest
