#include "session/FrmIME.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/FrmTm.h"
#include "session/learner_records.h"
#include "ui/FrmQZMSGBOX.h"
#include "ui/dialog_frame.h"

namespace qz {

namespace {

using forms::colors::Red;
constexpr forms::Color PaleYellow = 0xE1FFFF;

}  // namespace

FrmIME::FrmIME(Program& p)
    : forms::Form(p.rt, "FrmIME"),
      ImgLogo1(this, "ImgLogo1"),
      lblMove(this, "lblMove"),
      Label1(this, "Label1"),
      Check1(this, "Check1"),
      LblClick(this, "LblClick"),
      p_(p) {
    setShowInTaskbar(false);
    move(0, 0, 6300, 4200);

    ImgLogo1.moveTo(120, 90);

    forms::Label& title = Label1.load(2);
    title.setBackStyle(0);
    title.setAutoSize(true);
    title.setForeColor(forms::colors::White);
    title.setFont({"宋体", 10});
    title.moveTo(600, 180);
    title.setCaption("输入法调用提示");

    forms::Label& advice = Label1.load(0);
    advice.setBackStyle(0);
    advice.setWordWrap(true);
    advice.setAlignment(0);
    advice.setFont({"宋体", 9});
    advice.move(720, 1440, 4695, 1215);
    advice.setCaption(Advice);

    Check1.setForeColor(Red);
    Check1.setBackColor(PaleYellow);
    Check1.setFont({"宋体", 9});
    Check1.move(2400, 2520, 1455, 255);
    Check1.setCaption("调用输入法");

    LblClick.load(0).move(6300 - 420, 90, 330, 330);
    LblClick.load(1).move(4620, 3480, 1350, 450);

    Check1.Click = [this] { Check1_Click(); };
    LblClick.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { LblClick_Click(i); }; });
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
}

std::string FrmIME::optionFile(const std::string& programFolder) {
    return recordfile::path(programFolder, recordfile::ImeOption);
}

void FrmIME::Form_Load() {
    forms::OnError step;
    const double fx = p_.g.ScaleX;
    step([&] { setIcon(p_.SkinPicture("l62011")); });
    step([&] { setCaption("Quorvane练习系统"); });
    step([&] { setWidth(p_.sx(6300)); });
    step([&] { setHeight(p_.sy(4200)); });
    step([&] { setPicture(p_.SkinPicture("l20070")); });
    step([&] { ImgLogo1.moveTo(p_.sx(120), p_.sy(90)); });
    step([&] { ImgLogo1.setPicture(p_.SkinPicture("l20067")); });
    placeDialogFrame(p_, *this, lblMove, LblClick(0), step);
    step([&] { LblClick(0).setPicture(p_.SkinPicture("l20003")); });
    step([&] { Label1(2).moveTo(p_.sx(600), p_.sy(180)); });
    step([&] { Label1(2).setFontSize(10 * fx); });
    step([&] { Label1(0).move(p_.sx(720), p_.sy(1440), p_.sx(4695), p_.sy(1215)); });
    step([&] { Label1(0).setFontSize(9 * fx); });
    step([&] { Check1.move(p_.sx(2400), p_.sy(2520), p_.sx(1455), p_.sy(255)); });
    step([&] {
        forms::Font f = Check1.font();
        f.size = 9 * fx;
        Check1.setFont(f);
    });
    step([&] { LblClick(1).move(p_.sx(4620), p_.sy(3480), p_.sx(1350), p_.sy(450)); });
    step([&] { LblClick(1).setPicture(p_.SkinPicture("l20001")); });

    std::string line;
    step([&] { line = platform::readFirstLine(optionFile(p_.g.ProgramFolder)); });
    // Ticking runs Check1_Click, which writes the file again; a clear box writes nothing.
    step([&] { Check1.setValue(line == "1" ? 1 : 0); });
}

// The choice holds for this run even when the file cannot take it; the old file stays.
void FrmIME::Check1_Click() {
    const bool on = Check1.value() != 0;
    try {
        platform::writeLinesReplace(optionFile(p_.g.ProgramFolder), {on ? "1" : "0"}, platform::FolderSync::BestEffort);
    } catch (const platform::VbError&) {
        if (!toldWriteFailed_) {
            toldWriteFailed_ = true;
            forms::OnError iconFailure;
            p_.frmQZMSGBOX().ask("保存设置", "l20072", "\r\n\r\n输入法设置未能保存，\r\n本次运行仍按您的选择。",
                                 iconFailure);
        }
    }
    p_.g.UseInputMethod = on;
}

void FrmIME::LblClick_Click(int) { unload(); }

void FrmIME::lblMove_MouseDown(int Button, int, int, int) { dragByStrip(*this, Button); }

void FrmIME::Form_Unload(int&) {
    if (FrmTm* tm = p_.loadedFrmTm()) tm->Command2_Click();
}

}  // namespace qz
