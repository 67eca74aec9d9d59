#pragma once
// A practice or exam of three questions whose steps the simulated window lays out, for the
// panel's help commands and the tips dialog; the player's end done as the player does it.
#include <string>
#include <vector>

#include "demo/frmYanShi.h"
#include "tests/session/panel_fixture.h"
#include "tests/simwindow/sim_fixture.h"

namespace paneltest {

using simtest::Rec;

class HelpSession : public PanelTest {
public:
    // Three questions of two steps each, the second a picture question; the panel loaded on
    // question q, its first step laid out. An exam is fixed paper 0, started at nine.
    void session(int q = 1, bool exam = false, int twipsPerPixel = 15) {
        folder.writePicture("ab12cd", 40, 30);
        folder.writePicture("zz0001", 50, 30);
        writeQuestions({record("画一条直线|再画一个圆"), record("pictureab12cd看图画圆|两个"), record("第三题")});
        std::vector<std::string> steps;
        // Columns 177-196: left 2000, a 0, top 2000, width 1000, height 500.
        const std::string workArea = "02000020000100000500";
        for (int k = 0; k < 3; ++k) {
            steps.push_back(Rec("0001").hotSpot(1000, 1000, 600, 300).hint(300, 200, "001"));
            steps.push_back(Rec("0001").hotSpot(4000, 3000, 900, 450).hint(600, 400, "002").put(177, workArea));
            steps.push_back(Rec("9999"));
        }
        folder.writeDataBytes("288820.mxy", simtest::crlfAnsi(steps));
        folder.writeDataBytes("288890.mxy", simtest::crlfAnsi({"001点这里", "002再点这里"}));
        start(3, q, twipsPerPixel);
        qz::Shared& s = g();
        if (exam) {
            s.ListMode = 0;
            s.InteractionMode = 3;
            s.ExamStartTime = "2026-12-10 09:00:00";
        }
        s.ProgramFolder = folder.path();
        s.StepsFilePath = folder.dataFile("288820.mxy");
        s.TextsFilePath = folder.dataFile("288890.mxy");
        for (int k = 1; k <= 3; ++k) s.FirstStepLine[static_cast<std::size_t>(k)] = 3 * k - 2;
        panel().show();
        settle(600);  // the button set chosen
    }
    void settle(int ms = 300) { h->host.runFor(ms); }
    bool hintsShown() {
        qz::FrmMain& m = sim();
        return m.LHelp.visible() && m.Shape1.visible() && m.Shape4.visible() && m.Shape2.visible();
    }
    bool noHints() {
        qz::FrmMain& m = sim();
        return !m.LHelp.visible() && !m.Shape1.visible() && !m.Shape4.visible() && !m.Shape2.visible();
    }
    // What the player does at its end, which the panel relies on.
    void endAsThePlayerDoes() {
        g().DemoRunning = false;
        if (qz::PlayerForm* player = h->p().loadedFrmYanShi()) player->unload();
        sim().show();
        panel().TimerREDO.setEnabled(true);
        panel().show();
        settle();
    }
};

}  // namespace paneltest
