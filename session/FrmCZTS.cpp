#include "session/FrmCZTS.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "forms/runtime.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

namespace qz {

namespace {

constexpr forms::Color Grey = 0x808080;
constexpr forms::Color Blue = 0xFF0000;
using forms::colors::Red;

}  // namespace

FrmCZTS::FrmCZTS(Program& p)
    : forms::Form(p.rt, "FrmCZTS"),
      Shape1(this, "Shape1"),
      Shape2(this, "Shape2"),
      Label3(this, "Label3"),
      Label2(this, "Label2"),
      Command1(this, "Command1"),
      Command2(this, "Command2"),
      p_(p) {
    setFormBorderStyle(1);
    setStartUpPosition(2);
    // The client area keeps its design size on every screen; only the buttons grow.
    const forms::Point frame = clientOffset();
    move(0, 0, 4815 + 2 * frame.x, 5130 + frame.y + frame.x);

    Shape1.setBorderColor(Grey);
    Shape1.move(60, 60, 4695, 5010);
    Shape2.setBorderColor(forms::colors::White);
    Shape2.move(75, 75, 4695, 5010);

    Label3.setBackStyle(0);
    Label3.setAutoSize(true);
    Label3.setForeColor(Blue);
    Label3.setFont({"宋体", 12});
    Label3.setCaption("请注意!!!");
    Label3.moveTo(240, 360);

    Label2.setBackStyle(0);
    Label2.setWordWrap(true);
    Label2.setForeColor(Red);
    Label2.setFont({"宋体", 12});
    Label2.move(240, 840, 4380, 3540);
    Label2.setCaption(Notice);

    Command1.move(360, 4440, 1920, 450);
    Command2.move(2520, 4440, 1920, 450);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Label2.Click = [this] { Label2_Click(); };
    Label3.Click = [this] { Label3_Click(); };
}

void FrmCZTS::Form_Load() {
    forms::OnError step;  // a missing skin costs its picture, nothing more
    step([&] { setIcon(p_.SkinPicture("l62011")); });
    step([&] { setCaption("Quorvane练习系统"); });
    step([&] { setTopmost(true); });
    step([&] { Command1.setWidth(p_.sx(1920)); });
    step([&] { Command1.setHeight(p_.sy(450)); });
    step([&] { Command2.setWidth(Command1.width()); });
    step([&] { Command2.setHeight(Command1.height()); });
    step([&] { Command1.setPicture(p_.SkinPicture("l01038")); });
    step([&] { Command2.setPicture(p_.SkinPicture("l01039")); });
}

void FrmCZTS::Command1_Click() { unload(); }
void FrmCZTS::Form_Click() { unload(); }
void FrmCZTS::Label2_Click() { unload(); }
void FrmCZTS::Label3_Click() { unload(); }

// The paper stays the session's, but from here on it is practice: the result goes unrecorded,
// the practice commands come back, and the question on screen is demonstrated.
void FrmCZTS::Command2_Click() {
    Program& p = p_;
    Shared& g = p.g;
    if (rt().msgBox(ConfirmPrompt, forms::mb::YesNo, ConfirmTitle) != forms::mb::ResultYes) return;

    // Each statement on its own: a picture that cannot be read must not leave the session
    // half exam, half practice.
    forms::OnError step;
    FrmTm* tm = p.loadedFrmTm();
    step([&] { g.InteractionMode = 2; });
    if (tm) {
        step([&] { tm->CmdGN(3).setPicture(p.SkinPicture("l01003")); });
        step([&] { tm->CmdGN(11).setPicture(p.SkinPicture("l01011")); });
        step([&] { tm->PicUnit.setVisible(true); });
        step([&] { tm->showButtonSet(); });
    }
    step([&] { g.AllowPanelUnload = 0; });
    step([&] { g.ExamStartTime = "-1"; });
    // Gone before the simulated window comes back; nothing below touches the dialog.
    step([&] { unload(); });
    step([&] {
        if (FrmMain* m = p.loadedFrmMain()) m->show();
    });
    step([&] { g.DemoRunning = true; });
    step([&] { g.CurrentStep = 1; });
    if (tm) {
        step([&] { tm->TimStartYS.setEnabled(true); });
        step([&] { tm->TimKsModel.setEnabled(true); });
    }
}

}  // namespace qz
