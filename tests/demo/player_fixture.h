#pragma once
// The player of a whole program on the headless host: a question set whose step records the
// test writes, a session shown as the question display leaves it, and the demonstration
// started as the panel starts it.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/app/program_harness.h"
#include "tests/simwindow/sim_fixture.h"

namespace playertest {

using simtest::Rec;
using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

class PlayerTest : public ::testing::Test {
protected:
    void writeSteps(const std::vector<std::string>& records) {
        folder.writeDataBytes("288820.mxy", simtest::crlfAnsi(records));
    }
    void writeTexts(const std::vector<std::string>& lines) {
        folder.writeDataBytes("288890.mxy", simtest::crlfAnsi(lines));
    }
    void writeMenu(const std::map<long, std::string>& lines, long count = 465) {
        std::vector<std::string> all(static_cast<std::size_t>(count), "0");
        for (const auto& [n, text] : lines) all[static_cast<std::size_t>(n - 1)] = text;
        testsupport::writeFileBytes(folder.path() + "/sMenu.sys", simtest::crlfAnsi(all));
    }

    // A session on question 1 of a set starting at line `first`, its windows shown.
    void session(const std::vector<std::string>& records, int twipsPerPixel = 15, long first = 1) {
        writeSteps(records);
        h = std::make_unique<ProgramHarness>(folder, twipsPerPixel);
        h->host.setScreenPixels({1024, 768});
        qz::Shared& s = h->g();
        h->p().computeScale();
        s.DataDir = folder.dataDir();
        s.ProgramFolder = folder.path();
        s.StepsFilePath = folder.dataFile("288820.mxy");
        s.TextsFilePath = folder.dataFile("288890.mxy");
        folder.writeDataBytes("288855.mxy", simtest::crlfAnsi({"000211第一题", "000211第二题", "000211第三题"}));
        s.QuestionFilePath = folder.dataFile("288855.mxy");
        s.ModuleName = "XYmodule";
        s.ListMode = 5;
        s.QuestionCount = 3;
        s.CurrentQuestion = 1;
        s.FirstStepLine[1] = static_cast<std::int32_t>(first);
        s.InteractionMode = 2;
        s.CurrentStep = 1;
        s.ResumeStep[1] = 1;
        sim().show();
        tm().show();
        h->host.runFor(300);
    }
    // The demonstration started as the panel's start timer does: step 1 laid out by the load.
    qz::frmYanShi& begin() {
        g().DemoRunning = true;
        sim().hide();
        tm().hide();
        qz::frmYanShi& y = h->p().frmYanShi();
        y.show();
        return y;
    }
    // A session and its demonstration.
    qz::frmYanShi& play(const std::vector<std::string>& records, int twipsPerPixel = 15) {
        session(records, twipsPerPixel);
        return begin();
    }
    void run(int ms) { h->host.runFor(ms); }
    // The player while it is loaded; asking never loads one.
    qz::frmYanShi* player() { return h->p().loadedFrmYanShi(); }
    qz::frmYanShi& y() {
        qz::frmYanShi* p = player();
        if (!p) throw std::runtime_error("the player is not loaded");
        return *p;
    }
    // The player ended and handed the session back.
    void expectHandedBack() {
        EXPECT_EQ(player(), nullptr);
        EXPECT_FALSE(g().DemoRunning);
        ASSERT_NE(h->p().loadedFrmMain(), nullptr);
        EXPECT_TRUE(sim().visible());
        ASSERT_NE(h->p().loadedFrmTm(), nullptr);
        EXPECT_TRUE(tm().visible());
    }

    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmTm& tm() { return h->p().frmTm(); }
    qz::Shared& g() { return h->g(); }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;
};

// A record with a hot spot only where the test puts one.
inline Rec bare(const std::string& code) {
    Rec r(code);
    r.hotSpot(0, 0, 0, 0);
    return r;
}

// A step whose hot spot is centred on the pointer's start: it arrives at the first tick.
inline Rec atStart(const std::string& code) {
    Rec r(code);
    r.hotSpot(5950, 4450, 100, 100);
    return r;
}

// A hot spot far from the pointer's start: the move takes about 1.3 s.
inline Rec farOff(const std::string& code) {
    Rec r(code);
    r.hotSpot(9000, 7000, 200, 200);
    return r;
}

}  // namespace playertest
