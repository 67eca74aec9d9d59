#include "session/FrmPicture.h"

#include "app/program.h"
#include "platform/numbers.h"

namespace qz {

FrmPicture::FrmPicture(Program& p)
    : forms::Form(p.rt, "FrmPicture"), Image1(this, "Image1"), Timer1(this, "Timer1"), p_(p) {
    setFormBorderStyle(0);
    setShowInTaskbar(false);
    setBackColor(forms::rgb(255, 0, 0));
    move(0, 0, 930, 525);
    Image1.moveTo(0, 0);
    Timer1.setInterval(100);
    Timer1.setEnabled(true);
    Timer1.Tick = [this] { Timer1_Timer(); };
    Image1.MouseDown = [this](int b, int s, int x, int y) { Image1_MouseDown(b, s, x, y); };
}

void FrmPicture::Form_Load() {
    Image1.moveTo(p_.sx(60), p_.sy(60));
    Timer1.setEnabled(true);
}

// Sizes the window to its picture with a red border all round, raises it and centres it;
// each opening by the panel's picture button re-arms it.
void FrmPicture::Timer1_Timer() {
    setWidth(Image1.width() + p_.sx(120));
    setHeight(Image1.height() + p_.sy(120));
    setTopmost(true);
    const forms::Size screen = rt().host().screenSize();
    moveTo(platform::clng((screen.width - width()) / 2.0), platform::clng((screen.height - height()) / 2.0));
    Timer1.setEnabled(false);
}

void FrmPicture::Form_MouseDown(int Button, int, int, int) {
    if (Button == forms::buttons::Left) beginDrag();
}

void FrmPicture::Image1_MouseDown(int Button, int, int, int) {
    if (Button == forms::buttons::Left) beginDrag();
}

}  // namespace qz
