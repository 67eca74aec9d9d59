#include "session/FrmLogon.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "home/FrmFengmian.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"

namespace qz {

namespace {

constexpr forms::Color Background = 0x808040;
constexpr forms::Color BarBlue = 0xFF0000;
const forms::Font PageFont{"宋体", 12, true};

void pageLabel(forms::Label& l, int left, int top) {
    l.setBackStyle(0);
    l.setAutoSize(true);
    l.setFont(PageFont);
    l.setCaption("");
    l.moveTo(left, top);
}

void hotArea(forms::Label& l, int left, int top, const forms::PicturePtr& hand) {
    l.setBackStyle(0);
    l.setCaption("");
    l.move(left, top, 1335, 495);
    if (hand) {
        l.setMouseIcon(hand);
        l.setMousePointer(forms::pointer::Custom);
    }
}

}  // namespace

FrmLogon::FrmLogon(Program& p)
    : forms::Form(p.rt, "FrmLogon"),
      Picture2(this, "Picture2"),
      LblName(&Picture2, "LblName"),
      LblZwh(&Picture2, "LblZwh"),
      LblCC(&Picture2, "LblCC"),
      LblKm(&Picture2, "LblKm"),
      LblSfz(&Picture2, "LblSfz"),
      LblDah(&Picture2, "LblDah"),
      LblDate(&Picture2, "LblDate"),
      P2(&Picture2, "P2"),
      LJD(&P2, "LJD"),
      Picture1(this, "Picture1"),
      TxtZwh(&Picture1, "TxtZwh"),
      TxtSFZ(&Picture1, "TxtSFZ"),
      CmdLog(&Picture1, "CmdLog"),
      CmdExit(&Picture1, "CmdExit"),
      Timer1(this, "Timer1"),
      Timer2(this, "Timer2"),
      p_(p) {
    setFormBorderStyle(0);
    setShowInTaskbar(false);
    setBackColor(Background);
    setWindowState(2);

    for (forms::PictureBox* page : {&Picture1, &Picture2}) {
        page->setBorderStyle(0);
        page->move(0, 0, 12000, 9000);
    }

    TxtZwh.setFont(PageFont);
    TxtZwh.setMaxLength(3);
    TxtZwh.setText("18");
    TxtZwh.move(5040, 4440, 3255, 360);
    TxtSFZ.setFont(PageFont);
    TxtSFZ.setMaxLength(18);
    TxtSFZ.setText(SampleIdNo);
    TxtSFZ.move(5160, 5040, 3255, 360);

    // The pointer is part of the window, not of the module's skin; without its file the hot
    // areas still work, with the plain pointer.
    forms::PicturePtr hand;
    forms::OnError{}([&] { hand = p.LoadPicture(platform::joinPath(p.g.ProgramFolder, HandCursorFile)); });
    hotArea(CmdLog, 4275, 5640, hand);
    hotArea(CmdExit, 6660, 5640, hand);

    pageLabel(LblName, 4080, 2610);
    pageLabel(LblZwh, 4080, 2940);
    pageLabel(LblCC, 4080, 3300);
    pageLabel(LblKm, 2505, 4215);
    pageLabel(LblSfz, 2505, 4590);
    pageLabel(LblDah, 2505, 4950);
    pageLabel(LblDate, 2505, 5250);
    P2.setBackColor(forms::colors::WindowBackground);
    P2.move(1080, 7920, 10335, 180);
    LJD.setCaption("");
    LJD.setBackColor(BarBlue);
    LJD.move(0, 0, 255, 375);

    Timer1.setInterval(100);
    Timer1.setEnabled(true);
    Timer2.setInterval(100);
    Timer2.setEnabled(false);

    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    TxtSFZ.KeyPress = [this](int& k) { TxtSFZ_KeyPress(k); };
    TxtZwh.KeyDown = [this](int& k, int) { tabBetweenBoxes(k); };
    TxtSFZ.KeyDown = [this](int& k, int) { tabBetweenBoxes(k); };
    CmdLog.Click = [this] { CmdLog_Click(); };
    CmdExit.Click = [this] { CmdExit_Click(); };
}

void FrmLogon::Form_Load() {
    Shared& g = p_.g;
    forms::OnError step;  // a missing skin or a bad value skips only its statement

    step([&] { setIcon(p_.SkinPicture("l62011")); });
    step([&] { setCaption("Quorvane练习系统"); });

    // Positions scale with the screen; the pages, boxes and the bar keep their design sizes.
    step([&] { TxtZwh.moveTo(p_.sx(5070), p_.sy(4440)); });
    step([&] { TxtSFZ.moveTo(TxtZwh.left(), p_.sy(4905)); });
    step([&] { CmdLog.moveTo(p_.sx(4275), p_.sy(5640)); });
    step([&] { CmdExit.moveTo(p_.sx(6660), p_.sy(5640)); });
    step([&] { LblName.moveTo(p_.sx(4080), p_.sy(2610)); });
    step([&] { LblZwh.moveTo(LblName.left(), p_.sy(2940)); });
    step([&] { LblCC.moveTo(LblName.left(), p_.sy(3300)); });
    step([&] { LblKm.moveTo(p_.sx(2505), p_.sy(4215)); });
    step([&] { LblSfz.moveTo(LblKm.left(), p_.sy(4590)); });
    step([&] { LblDah.moveTo(LblKm.left(), p_.sy(4950)); });
    step([&] { LblDate.moveTo(LblKm.left(), p_.sy(5250)); });
    step([&] { P2.move(p_.sx(1110), p_.sy(7980), p_.sx(10335), P2.height()); });

    step([&] { Picture1.setPicture(p_.SkinPicture("9l0056")); });
    step([&] { Picture2.setPicture(p_.SkinPicture("9l0057")); });

    const QuestionSet set{g.ListMode + g.ListBase};
    g.TextsFilePath = g.DataDir + "288890.mxy";
    g.StepsFilePath = set.stepsPath(g.DataDir);
    g.QuestionFilePath = set.questionPath(g.DataDir);
}

void FrmLogon::Timer1_Timer() {
    forms::OnError step;
    step([&] { Picture1.moveTo(0, 0); });
    step([&] { Picture2.moveTo(Picture1.left(), Picture1.top()); });
    step([&] { Picture1.setVisible(true); });
    step([&] { Picture2.setVisible(false); });
    step([&] { Timer1.setEnabled(false); });
    // The seat box is first in the tab order, so the learner can type at once.
    step([&] { TxtZwh.setFocus(); });
}

// Digits and Backspace only; an X can only be the 18th character.
void FrmLogon::TxtSFZ_KeyPress(int& KeyAscii) {
    if ((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == 8) return;
    if ((KeyAscii == 'X' || KeyAscii == 'x') && platform::charCount(TxtSFZ.text()) >= 17) return;
    KeyAscii = 0;
}

void FrmLogon::tabBetweenBoxes(int& KeyCode) {
    if (KeyCode != forms::vk::Tab) return;
    forms::OnError{}([&] { (TxtZwh.hasFocus() ? TxtSFZ : TxtZwh).setFocus(); });
    KeyCode = 0;
}

void FrmLogon::CmdLog_Click() {
    Shared& g = p_.g;
    g.AllowPanelUnload = 0;
    g.ExamineeSeat = platform::rightChars("00" + platform::trimSpaces(TxtZwh.text()), 2);
    g.ExamineeSession = "18";
    g.ExamineeIdNo = platform::rightChars(FillIdNo + platform::trimSpaces(TxtSFZ.text()), 18);
    g.ExamineeAdmissionNo = "888888";

    LblName.setCaption(g.ExamineeName);
    LblZwh.setCaption(g.ExamineeSeat);
    LblCC.setCaption(g.ExamineeSession);
    LblKm.setCaption(g.ModuleName);
    LblSfz.setCaption(g.ExamineeIdNo);
    LblDah.setCaption(g.ExamineeAdmissionNo);
    LblDate.setCaption(platform::dateText(p_.localNow()));

    Picture1.setVisible(false);
    Picture2.setVisible(true);
    Timer2.setEnabled(true);
}

void FrmLogon::Timer2_Timer() {
    LJD.setWidth(platform::clng(LJD.width() + 1500 * p_.g.ScaleX));
    if (LJD.width() <= P2.width()) return;

    // Gone from here on: only the program is touched, never this window.
    Program& p = p_;
    forms::OnError step;
    step([&] { unload(); });
    step([&] { p.g.ExamStartTime = platform::timeText(p.localNow()); });
    step([&] { p.g.CurrentQuestion = 1; });
    // The first touch loads the panel, whose countdown runs from its load.
    step([&] { p.frmTm().TimerREDO.setEnabled(true); });
    step([&] { p.frmMain().show(); });
    step([&] { p.frmTm().show(); });
}

void FrmLogon::CmdExit_Click() {
    Program& p = p_;
    const int answer = rt().msgBox("确实要退出考试系统吗？",
                                   forms::mb::YesNo | forms::mb::Question | forms::mb::DefaultButton2,
                                   p.g.ProductInfo[0] + "Kestrune");
    if (answer != forms::mb::ResultYes) return;
    // The paper's set and the session state stay as the launch left them.
    forms::OnError step;
    step([&] { unload(); });
    step([&] { p.frmFengmian().show(); });
}

}  // namespace qz
