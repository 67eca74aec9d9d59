#include "session/FrmEnd2.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "session/FrmChengji.h"
#include "session/FrmPicture.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

namespace qz {

FrmEnd2::FrmEnd2(Program& p) : HandInDialog(p, "FrmEnd2") {
    Label1.setCaption("按“交卷”后您将退出本场考试，并且不能重新登录!\r\n\r\n是否确定交卷?");
    Command1.Click = [this] { Command1_Click(); };
}

// The handlers that opened the dialogs are still on the stack below; they touch nothing once
// it returns, and here only windows still loaded are touched.
void FrmEnd2::Command1_Click() {
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError step;
    g.ExamMinutesLeft = 50;
    if (FrmTm* tm = p.loadedFrmTm()) {
        step([&] { tm->LblTime.setCaption("剩余50分钟"); });
        step([&] { tm->LblTimeJD.setWidth(0); });
    }
    leave();
    // The exam's picture must not stay on top of the score report.
    if (FrmPicture* pic = p.loadedFrmPicture()) step([&] { pic->hide(); });
    g.AllowPanelUnload = 1;
    if (FrmTm* tm = p.loadedFrmTm()) step([&] { tm->unload(); });
    if (FrmMain* m = p.loadedFrmMain()) step([&] { m->unload(); });
    step([&] { p.frmChengji().show(); });
}

}  // namespace qz
