#include "app/FrmAbout.h"

#include "app/program.h"
#include "forms/on_error.h"
#include "home/FrmFengmian.h"
#include "platform/shell.h"
#include "ui/dialog_frame.h"

namespace qz {

namespace {
constexpr forms::Color Blue = 0x00E97F0C;
using forms::colors::Red;
constexpr forms::Color Grey = 0x00808080;
}  // namespace

FrmAbout::FrmAbout(Program& p)
    : forms::Form(p.rt, "FrmAbout"),
      ImgLogo1(this, "ImgLogo1"),
      lblMove(this, "lblMove"),
      LblClick(this, "LblClick"),
      Label1(this, "Label1"),
      Line1(this, "Line1"),
      p_(p) {
    setShowInTaskbar(false);
    for (int i : {0, 1, 2, 3, 4, 6}) {
        forms::Label& l = Label1.load(i);
        l.setBackStyle(0);
        l.setAutoSize(i != 3);
        l.setFont({"宋体", 10});
        l.setForeColor(forms::colors::ButtonText);
    }
    Label1(2).setForeColor(forms::colors::White);
    Label1(1).setForeColor(Blue);
    Label1(4).setForeColor(Red);
    Label1(4).setFont({"宋体", 12, true});
    Label1(3).setWordWrap(true);
    Line1.load(4).setBorderColor(Grey);
    Line1.load(3).setBorderColor(forms::colors::White);
    for (int i = 0; i < 2; ++i) {
        vtrlButton& b = LblClick.load(i);
        b.setForeColor(forms::colors::White);
        b.setFont({"宋体", 9});
    }
    LblClick.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { LblClick_Click(i); }; });
    Label1.bind([this](forms::Label& l, int i) { l.Click = [this, i] { Label1_Click(i); }; });
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
}

void FrmAbout::Form_Load() {
    Shared& g = p_.g;
    forms::OnError silent;
    auto sx = [&](double v) { return p_.sx(v); };
    auto sy = [&](double v) { return p_.sy(v); };
    auto pic = [&](const std::string& id) { return p_.SkinPicture(id); };
    silent([&] { setIcon(pic("l62011")); });
    silent([&] { setCaption("Quorvane练习系统"); });
    silent([&] { setWidth(sx(6300)); });
    silent([&] { setHeight(sy(4200)); });
    silent([&] { setPicture(pic("l20070")); });
    silent([&] { setTopmost(true); });
    silent([&] { ImgLogo1.moveTo(sx(120), sy(90)); });
    silent([&] { ImgLogo1.setPicture(pic("l20067")); });
    const std::string product = g.ProductInfo[0] + g.ProductInfo[9];
    silent([&] { Label1(1).setCaption(product); });
    silent([&] { Label1(2).setCaption(product); });
    placeDialogFrame(p_, *this, lblMove, LblClick(0), silent);
    silent([&] { LblClick(1).move(sx(4680), sy(3480), sx(1350), sy(450)); });
    silent([&] { LblClick(0).setPicture(pic("l20003")); });
    silent([&] { LblClick(1).setPicture(pic("l20001")); });

    const double size = 10 * g.ScaleX;
    silent([&] { Label1(2).moveTo(sx(600), sy(180)); });
    silent([&] { Label1(2).setFontSize(size); });
    silent([&] { Label1(1).moveTo(sx(480), sy(720)); });
    silent([&] { Label1(1).setFontSize(size); });
    silent([&] { Label1(4).moveTo(Label1(1).left(), sy(1080)); });
    silent([&] { Label1(4).setFontSize(12 * g.ScaleX); });
    silent([&] { Label1(4).setCaption("── " + g.ModuleTitle); });
    silent([&] { Label1(0).moveTo(Label1(1).left(), sy(1500)); });
    silent([&] { Label1(0).setFontSize(size); });
    silent([&] { Label1(0).setCaption(p_.frmFengmian().LblInfo(0).caption()); });
    silent([&] { Label1(3).move(Label1(1).left(), sy(1800), sx(5490), sy(540)); });
    silent([&] { Label1(3).setFontSize(size); });
    silent([&] { Label1(3).setCaption("系统工作目录: " + g.ProgramFolder); });
    silent([&] {
        Label1(3).setMousePointer(99);
        Label1(3).setMouseIcon(pic("9l0015"));
    });
    silent([&] { Label1(6).moveTo(Label1(1).left(), sy(3600)); });
    silent([&] { Label1(6).setFontSize(size); });
    silent([&] { Label1(6).setCaption(g.ProductInfo[7]); });

    silent([&] { Line1(4).setPoints(sx(360), sy(2385), sx(5760), sy(2385)); });
    silent([&] {
        const forms::Line& grey = Line1(4);
        Line1(3).setPoints(grey.x1() + sx(15), grey.y1() + sy(15), grey.x2() + sx(15), grey.y2() + sy(15));
    });
}

void FrmAbout::Label1_Click(int Index) {
    if (Index == 3) p_.svc.shell->openLink(p_.g.ProgramFolder);
}

void FrmAbout::LblClick_Click(int) { unload(); }

void FrmAbout::lblMove_MouseDown(int Button, int, int, int) { dragByStrip(*this, Button); }

}  // namespace qz
