#include "session/hand_in_dialog.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "forms/runtime.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

namespace qz {

namespace {

constexpr forms::Color Background = 0xD8E9EB;
using forms::colors::Red;

}  // namespace

HandInDialog::HandInDialog(Program& p, std::string name)
    : forms::Form(p.rt, std::move(name)),
      Frame1(this, "Frame1"),
      Label1(&Frame1, "Label1"),
      Command1(this, "Command1"),
      Command2(this, "Command2"),
      p_(p) {
    setFormBorderStyle(1);
    setStartUpPosition(2);
    setBackColor(Background);
    // The client area is the design's 4410 x 2670; the frame adds the border and title bar.
    const forms::Point frame = clientOffset();
    move(0, 0, 4410 + 2 * frame.x, 2670 + frame.y + frame.x);

    Frame1.setCaption("");
    Frame1.setBackColor(Background);
    Frame1.move(90, 60, 4215, 1935);
    Label1.setForeColor(Red);
    Label1.setBackColor(Background);
    Label1.setFont({"宋体", 15, true});
    Label1.setWordWrap(true);
    Label1.move(150, 240, 3855, 1575);

    Command1.move(600, 2160, 1320, 420);
    Command2.move(2400, 2160, 1320, 420);
    Command2.Click = [this] { Command2_Click(); };
}

void HandInDialog::Form_Load() {
    forms::OnError step;  // a missing skin leaves that picture out, nothing more
    step([&] { setIcon(p_.SkinPicture("l62011")); });
    step([&] { setCaption("Quorvane练习系统"); });
    step([&] { Command1.setWidth(p_.sx(1320)); });
    step([&] { Command1.setHeight(p_.sy(420)); });
    step([&] { Command2.setWidth(Command1.width()); });
    step([&] { Command2.setHeight(Command1.height()); });
    step([&] { Command1.setPicture(p_.SkinPicture("l01041")); });
    step([&] { Command2.setPicture(p_.SkinPicture("l01042")); });
}

void HandInDialog::leave() {
    leaving_ = true;
    unload();
}

void HandInDialog::Form_Unload(int&) {
    if (!leaving_) backToExam();
}

void HandInDialog::Command2_Click() {
    leave();
    backToExam();
}

// Only windows still loaded are touched: a fresh panel would start an exam of its own.
void HandInDialog::backToExam() {
    FrmTm* tm = p_.loadedFrmTm();
    if (!tm) return;
    forms::OnError step;
    if (FrmMain* m = p_.loadedFrmMain()) step([&] { m->dockPanel(); });
    step([&] { tm->show(); });
}

}  // namespace qz
