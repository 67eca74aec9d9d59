#include "home/FrmFengmian.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "platform/numbers.h"

namespace qz {

FrmFengmian::FrmFengmian(Program& p) : forms::Form(p.rt, "FrmFengmian"), p_(p) {
    setFormBorderStyle(0);
    startUpPosition = 2;
    move(0, 0, 12000, 9000);
}

void FrmFengmian::Form_Load() {
    Shared& g = p_.g;
    g.ScaleX = rt().host().twipsPerPixelX() / 15.0;
    g.ScaleY = rt().host().twipsPerPixelY() / 15.0;
    setWidth(platform::clng(12000 * g.ScaleX));
    setHeight(platform::clng(9000 * g.ScaleY));
    setCaption(rt().appTitle);
    // A missing skin picture leaves that part plain; the window still opens.
    forms::OnError silent;
    silent([&] { setIcon(p_.LoadPicture(g.DataDir + "l62011" + ".mxy")); });
    silent([&] { setPicture(p_.LoadPicture(g.DataDir + "l20060" + ".mxy")); });
}

}  // namespace qz
