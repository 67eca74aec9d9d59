#include "tests/forms/form_fixture.h"

namespace formstest {

std::vector<std::string> Recorder::names(bool withMoves) const {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (withMoves || e.name.find(".MouseMove") == std::string::npos) out.push_back(e.name);
    return out;
}

std::vector<Event> Recorder::only(const std::string& name) const {
    std::vector<Event> out;
    for (const auto& e : events)
        if (e.name == name) out.push_back(e);
    return out;
}

LoggingForm::LoggingForm(forms::Runtime& rt, Recorder& rec, std::string name)
    : Form(rt, std::move(name)), rec_(rec) {}

void LoggingForm::Form_Unload(int& cancel) {
    fire(name() + ".Unload");
    if (onUnload) onUnload(cancel);
}

void LoggingForm::Form_KeyPress(int& keyAscii) {
    fire(name() + ".KeyPress " + std::to_string(keyAscii));
    if (onFormKeyPress) onFormKeyPress(keyAscii);
}

void LoggingForm::fire(const std::string& event) {
    rec_.add(event);
    if (auto it = on.find(event); it != on.end()) {
        auto hook = it->second;  // the hook may replace itself
        hook();
    }
}

void LoggingForm::mouse(const std::string& event, int b, int s, int x, int y) {
    rec_.mouse(event, b, s, x, y);
    if (auto it = on.find(event); it != on.end()) {
        auto hook = it->second;
        hook();
    }
}

void LoggingForm::bindMouse(forms::Control& c) {
    const std::string n = c.name();
    c.MouseDown = [this, n](int b, int s, int x, int y) { mouse(n + ".MouseDown", b, s, x, y); };
    c.MouseMove = [this, n](int b, int s, int x, int y) { mouse(n + ".MouseMove", b, s, x, y); };
    c.MouseUp = [this, n](int b, int s, int x, int y) { mouse(n + ".MouseUp", b, s, x, y); };
    c.Click = [this, n] { fire(n + ".Click"); };
    c.DblClick = [this, n] { fire(n + ".DblClick"); };
}

forms::Point LoggingForm::screenAt(int x, int y) const {
    forms::Point off = clientOffset();
    return {left() + off.x + x, top() + off.y + y};
}

// Client-area layout in twips (the form has a fixed single border):
//   lbl       300,300  1200x300     lblUnder 1800,600 1000x300, its right part under pic
//   pic      2000,300  1500x1500    picLbl 150,150 600x300, picLblOff 150,600 600x300 and
//                                   picTxt 150,1000 600x300 inside
//   lblOff   3700,300   900x300     img 300,900 600x600 with lblTrans 300,900 1200x300 over it
//   lblBelow  300,1600 1200x300     under shp 300,1600 1500x600 and the line ln across it
//   txt       300,2400 1500x300     chk 300,2900 1500x300
MainForm::MainForm(forms::Runtime& rt, Recorder& rec, std::string name) : LoggingForm(rt, rec, std::move(name)) {
    setFormBorderStyle(1);
    move(1500, 1200, 6000, 5000);
    lbl.move(300, 300, 1200, 300);
    lbl.setCaption("Label");
    lblUnder.move(1800, 600, 1000, 300);
    pic.move(2000, 300, 1500, 1500);
    picLbl.move(150, 150, 600, 300);
    picLblOff.move(150, 600, 600, 300);
    picLblOff.setEnabled(false);
    picTxt.move(150, 1000, 600, 300);
    lblOff.move(3700, 300, 900, 300);
    lblOff.setEnabled(false);
    img.move(300, 900, 600, 600);
    lblTrans.move(300, 900, 1200, 300);
    lblTrans.setBackStyle(0);
    lblTrans.setCaption("T");
    lblBelow.move(300, 1600, 1200, 300);
    shp.move(300, 1600, 1500, 600);
    ln.setPoints(300, 1600, 1800, 2200);
    txt.move(300, 2400, 1500, 300);
    chk.move(300, 2900, 1500, 300);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&lbl, &lblUnder, &pic, &picLbl, &picLblOff, &lblOff,
                                                                    &img, &lblTrans, &lblBelow, &shp, &ln, &txt, &chk})
        bindMouse(*c);
    txt.KeyDown = [this](int& k, int) { fire("txt.KeyDown " + std::to_string(k)); };
    txt.KeyUp = [this](int& k, int) { fire("txt.KeyUp " + std::to_string(k)); };
    txt.KeyPress = [this](int& a) {
        fire("txt.KeyPress " + std::to_string(a));
        if (onTxtKeyPress) onTxtKeyPress(a);
    };
    txt.Change = [this] { fire("txt.Change " + txt.text()); };
    tmr.Tick = [this] { fire("tmr.Timer"); };
    tmr2.Tick = [this] { fire("tmr2.Timer"); };
}

DialogForm::DialogForm(forms::Runtime& rt, Recorder& rec) : LoggingForm(rt, rec, "Dialog") {
    setFormBorderStyle(1);
    move(9000, 6000, 3000, 2000);
    lblOk.move(600, 600, 900, 300);
    bindMouse(lblOk);
}

}  // namespace formstest
