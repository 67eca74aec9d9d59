#pragma once
// A mock exam of a whole program on the headless host, on the sample module's bank: a fixed
// paper launched as its button will launch it, the login, and the exam it opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "session/FrmEnd1.h"
#include "session/FrmEnd2.h"
#include "session/FrmLogon.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"

namespace examtest {

using hometest::HomeRun;

class ExamRun : public ::testing::Test, public HomeRun {
protected:
    ExamRun() {
        folder.installSampleBank();
        // A skin button takes clicks on its picture: the dialogs' buttons need theirs, a strip
        // of four 88 x 28 frames, where the module has none.
        for (const char* id : {"l01041", "l01042"})
            if (!std::filesystem::exists(folder.dataFile(std::string(id) + ".mxy"))) folder.writePicture(id, 352, 28);
    }

    headless::HeadlessHost& host() { return h->host; }
    qz::Program& p() { return h->p(); }

    // Fixed paper p's 40 codes, as the catalogue lists them.
    std::string paperLine(int paper) {
        return platform::trimSpaces(platform::readLine(folder.dataFile("288891.mxy"), 3 + paper));
    }
    // The home screen launches fixed paper p (the program already running, or started here):
    // its set built, the state of a paper's start, the login on its input page.
    qz::FrmLogon& openLogin(int paper = 0, int twipsPerPixel = 15) {
        if (!h) run(twipsPerPixel);
        host().then([this, paper] {
            qz::Shared& s = g();
            s.ListMode = 0;
            s.ListBase = static_cast<std::int16_t>(paper);
            s.PaperSlot = static_cast<std::int16_t>(paper);
            s.InteractionMode = 3;
            for (std::size_t k = 1; k <= 500; ++k) {
                s.QuestionState[k] = 0;
                s.DoneBefore[k] = "F";
            }
            qz::FrmFengmian& home = p().frmFengmian();
            home.InitShiTi(paperLine(paper), paper);
            home.startLianXi();
        });
        host().runFor(1);    // the launch
        host().runFor(150);  // the login's first layout
        EXPECT_FALSE(h->isLoaded("FrmFengmian"));
        EXPECT_TRUE(h->isLoaded("FrmLogon"));
        return p().frmLogon();
    }
    // The login passed with what its boxes hold: the exam's windows up, the clock running.
    qz::FrmTm& startExam(int paper = 0, int twipsPerPixel = 15) {
        qz::FrmLogon& logon = openLogin(paper, twipsPerPixel);
        host().click(logon.CmdLog);
        host().runFor(1500);  // the bar, then the panel's button set
        EXPECT_FALSE(h->isLoaded("FrmLogon"));
        EXPECT_TRUE(h->isLoaded("FrmTm"));
        qz::FrmTm& panel = p().frmTm();
        loadedAt = panel.TimeKS.due - 60000;
        return panel;
    }

    // Script steps: runs when reached, and may queue more steps of its own.
    void then(std::function<void()> step) { host().then(std::move(step)); }
    // Lets virtual time run until ms after the panel's load; queued where the script ends now.
    void pauseUntil(std::int64_t ms) { host().pause(static_cast<int>(loadedAt + ms - host().nowMs())); }
    static constexpr std::int64_t minute = 60000;

    // The hand-in dialogs once open; null otherwise.
    qz::FrmEnd1* end1() { return p().loadedFrmEnd1(); }
    qz::FrmEnd2* end2() { return p().loadedFrmEnd2(); }
    // How often the host showed a window.
    int shows(const std::string& name) {
        int n = 0;
        for (const auto& e : host().shownLog) n += e == "show " + name;
        return n;
    }
    std::int64_t loadedAt = 0;
};

}  // namespace examtest
