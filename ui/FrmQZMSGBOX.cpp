#include "ui/FrmQZMSGBOX.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "platform/numbers.h"
#include "ui/dialog_frame.h"

namespace qz {

FrmQZMSGBOX::FrmQZMSGBOX(Program& p)
    : forms::Form(p.rt, "FrmQZMSGBOX"),
      ImgLogo1(this, "ImgLogo1"),
      lblMove(this, "lblMove"),
      LblTitle(this, "LblTitle"),
      LblPrompt(this, "LblPrompt"),
      Image1(this, "Image1"),
      LblClick(this, "LblClick"),
      p_(p) {
    setShowInTaskbar(true);
    LblTitle.setBackStyle(0);
    LblTitle.setAutoSize(true);
    LblTitle.setForeColor(forms::colors::White);
    LblTitle.setFont({"宋体", 10});
    LblPrompt.setBackStyle(0);
    LblPrompt.setWordWrap(true);
    LblPrompt.setAlignment(0);
    LblPrompt.setForeColor(forms::colors::ButtonText);
    LblPrompt.setFont({"宋体", 10});
    for (int i = 0; i < 4; ++i) {
        vtrlButton& b = LblClick.load(i);
        b.setForeColor(forms::colors::White);
        b.setFont({"宋体", 9});
    }
    LblClick.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { LblClick_Click(i); }; });
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
}

void FrmQZMSGBOX::Form_Load() {
    Shared& g = p_.g;
    forms::OnError silent;
    auto sx = [&](double v) { return p_.sx(v); };
    auto sy = [&](double v) { return p_.sy(v); };
    auto pic = [&](const std::string& id) { return p_.SkinPicture(id); };
    silent([&] { setIcon(pic("l62011")); });
    silent([&] { setCaption("Quorvane练习系统"); });
    silent([&] { setWidth(sx(5550)); });
    silent([&] { setHeight(sy(3750)); });
    silent([&] { setPicture(pic("l20069")); });
    silent([&] { ImgLogo1.moveTo(sx(120), sy(90)); });
    silent([&] { ImgLogo1.setPicture(pic("l20067")); });
    silent([&] { setTopmost(true); });
    silent([&] { LblTitle.moveTo(sx(600), sy(180)); });
    silent([&] { LblTitle.setFontSize(10 * g.ScaleX); });
    silent([&] { LblPrompt.move(sx(1200), sy(720), sx(4080), sy(1920)); });
    silent([&] { LblPrompt.setFontSize(10 * g.ScaleX); });
    silent([&] { Image1.moveTo(sx(240), sy(690)); });
    // The message box's strip stops short of the close button.
    placeDialogFrame(p_, *this, lblMove, LblClick(3), silent, 4500);
    silent([&] { LblClick(0).move(sx(3960), sy(2880), sx(1350), sy(450)); });
    silent([&] { LblClick(1).move(sx(2460), sy(2880), sx(1350), sy(450)); });
    silent([&] { LblClick(2).move(sx(4560), sy(120), sx(330), sy(330)); });
    silent([&] { LblClick(2).setVisible(false); });
    for (int i = 0; i < 4; ++i) silent([&] { LblClick(i).setPicture(pic("l2000" + std::to_string(i))); });
}

void FrmQZMSGBOX::ask(const std::string& title, const std::string& icon, const std::string& prompt,
                      forms::OnError& iconFailure) {
    p_.g.MsgBoxResult = 0;
    LblTitle.setCaption(title);
    iconFailure([&] { Image1.setPicture(p_.SkinPicture(icon)); });
    LblPrompt.setCaption(prompt);
    show(true);
}

void FrmQZMSGBOX::LblClick_Click(int Index) {
    if (Index == 1) p_.g.MsgBoxResult = 1;
    unload();
}

void FrmQZMSGBOX::lblMove_MouseDown(int Button, int, int, int) { dragByStrip(*this, Button); }

}  // namespace qz
