// A small program for the form-model tests: a main window with one control of each kind that
// takes the mouse or the keyboard, a second window to show modally, and a log both write to.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/runtime.h"
#include "host/headless/headless_host.h"
#include "tests/support/case_name.h"

namespace formstest {

struct Event {
    std::string name;  // "control.Event" or "FormName.Event"
    int button = 0, shift = 0, x = 0, y = 0;
};

// Event names, as a recorder lists them.
using Names = std::vector<std::string>;

class Recorder {
public:
    void add(std::string name) { events.push_back({std::move(name)}); }
    void mouse(std::string name, int button, int shift, int x, int y) {
        events.push_back({std::move(name), button, shift, x, y});
    }
    // Event names in order; moves are left out unless asked for.
    std::vector<std::string> names(bool withMoves = false) const;
    // The events whose name is exactly this.
    std::vector<Event> only(const std::string& name) const;
    int count(const std::string& name) const { return static_cast<int>(only(name).size()); }
    void clear() { events.clear(); }

    std::vector<Event> events;
};

// Handlers log their event and then run the hook registered under the same name, if any.
class LoggingForm : public forms::Form {
public:
    LoggingForm(forms::Runtime& rt, Recorder& rec, std::string name);

    std::map<std::string, std::function<void()>> on;
    std::function<void(int& cancel)> onUnload;
    std::function<void(int& keyAscii)> onFormKeyPress;

    void Form_Load() override { fire(name() + ".Load"); }
    void Form_Unload(int& cancel) override;
    void Form_Activate() override { fire(name() + ".Activate"); }
    void Form_Click() override { fire(name() + ".Click"); }
    void Form_DblClick() override { fire(name() + ".DblClick"); }
    void Form_MouseDown(int b, int s, int x, int y) override { mouse(name() + ".MouseDown", b, s, x, y); }
    void Form_MouseMove(int b, int s, int x, int y) override { mouse(name() + ".MouseMove", b, s, x, y); }
    void Form_MouseUp(int b, int s, int x, int y) override { mouse(name() + ".MouseUp", b, s, x, y); }
    void Form_KeyDown(int& keyCode, int) override { fire(name() + ".KeyDown " + std::to_string(keyCode)); }
    void Form_KeyPress(int& keyAscii) override;
    void Form_KeyUp(int& keyCode, int) override { fire(name() + ".KeyUp " + std::to_string(keyCode)); }

    void fire(const std::string& event);
    void mouse(const std::string& event, int b, int s, int x, int y);
    void bindMouse(forms::Control& c);

    // Screen twips of a point given in this form's client area.
    forms::Point screenAt(int x, int y) const;

protected:
    Recorder& rec_;
};

class MainForm : public LoggingForm {
public:
    MainForm(forms::Runtime& rt, Recorder& rec, std::string name = "Main");

    forms::Label lbl{this, "lbl"};
    forms::Label lblUnder{this, "lblUnder"};  // partly under pic
    forms::PictureBox pic{this, "pic"};
    forms::Label picLbl{&pic, "picLbl"};
    forms::Label picLblOff{&pic, "picLblOff"};  // disabled
    forms::TextBox picTxt{&pic, "picTxt"};
    forms::Label lblOff{this, "lblOff"};        // disabled
    forms::Image img{this, "img"};
    forms::Label lblTrans{this, "lblTrans"};  // BackStyle 0, over img
    forms::Label lblBelow{this, "lblBelow"};  // under shp and ln
    forms::Shape shp{this, "shp"};
    forms::Line ln{this, "ln"};
    forms::TextBox txt{this, "txt"};
    forms::CheckBox chk{this, "chk"};
    forms::Timer tmr{this, "tmr"};
    forms::Timer tmr2{this, "tmr2"};

    std::function<void(int& keyAscii)> onTxtKeyPress;
};

class DialogForm : public LoggingForm {
public:
    DialogForm(forms::Runtime& rt, Recorder& rec);
    forms::Label lblOk{this, "lblOk"};
};

using testsupport::CaseName;

class FormsTest : public ::testing::Test {
protected:
    headless::HeadlessHost host;
    forms::Runtime rt{host};
    Recorder rec;
    forms::FormSlot<MainForm> mainSlot{rt, [this] { return std::make_unique<MainForm>(rt, rec); }};
    forms::FormSlot<DialogForm> dialogSlot{rt, [this] { return std::make_unique<DialogForm>(rt, rec); }};

    MainForm& main() { return mainSlot.get(); }
    DialogForm& dialog() { return dialogSlot.get(); }
    // Loads and shows the main window, then forgets what loading logged.
    MainForm& shownMain() {
        MainForm& f = main();
        f.show();
        rec.clear();
        return f;
    }
};

}  // namespace formstest
