// The simulated application window: screenshot pieces of the drafting application with the
// hot spot, work area, command line and menus of the current step laid over them.
#pragma once

#include <cstdint>
#include <string>

#include "forms/form.h"
#include "forms/on_error.h"

namespace qz {

class Program;

class FrmMain : public forms::Form {
public:
    explicit FrmMain(Program& p);

    // Bottom first.
    forms::Image Image1;
    forms::Image Image2;
    forms::Image Image3;
    forms::Image Image4;
    forms::Image Image5;
    forms::ControlArray<forms::Label> LMBack;  // elements placed by the constructor
    forms::ControlArray<forms::Label> LMenu;
    forms::Shape Shape1;
    forms::Label LHelp;
    forms::ControlArray<forms::Label> LblXXK;
    forms::Label LblSuccess;
    forms::Image ImgLogo;
    forms::Shape Shape4;
    forms::Shape Shape6;
    forms::Shape Shape2;
    forms::Label lblMove;
    forms::Label Label1;
    forms::Label Label4;
    forms::TextBox Text1;
    forms::TextBox Text2;
    forms::Timer Timer2;
    forms::Timer Timer3;

    // The hidden menu shown as the simulated drop-down and context menus.
    forms::MenuItem wm100{"wm100"};
    forms::MenuItem sVtrlMain1{"sVtrlMain1"};
    forms::MenuItem sVtrlMain2{"sVtrlMain2"};
    forms::MenuItem sVtrlMain3{"sVtrlMain3"};
    forms::MenuItem sVtrlMain4{"sVtrlMain4"};
    forms::MenuItem sVtrlMain5{"sVtrlMain5"};
    forms::MenuArray sVtrlSub1{"sVtrlSub1", &sVtrlMain1};
    forms::MenuArray sVtrlSub2{"sVtrlSub2", &sVtrlMain2};
    forms::MenuArray sVtrlSub3{"sVtrlSub3", &sVtrlMain3};
    forms::MenuArray sVtrlSub4{"sVtrlSub4", &sVtrlMain4};
    forms::MenuArray sVtrlSub5{"sVtrlSub5", &sVtrlMain5};
    forms::MenuArray sVtrlInde1{"sVtrlInde1", &wm100};
    forms::MenuArray sVtrlInde2{"sVtrlInde2", &wm100};
    forms::MenuArray sVtrlInde3{"sVtrlInde3", &wm100};
    forms::MenuArray sVtrlInde4{"sVtrlInde4", &wm100};

    // Kept for the matchers by the layout.
    std::int32_t StepCode = 0;
    std::int16_t MenuNumber = 0;
    std::int32_t MenuBarX = 0;
    std::int32_t MenuBarY = 0;
    std::int16_t SnapX = 0;
    std::int16_t SnapY = 0;
    std::string BackStepCode = "NONO";

    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Click() override;

    void setData();
    void doNext();
    void GoStep(const std::string& cStep);
    void Timer2_Timer();
    void Timer3_Timer();
    void LblXXK_Click(int Index);
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);
    void Label1_MouseDown(int Button, int Shift, int X, int Y);
    void Label1_MouseUp(int Button, int Shift, int X, int Y);
    void Label1_DblClick();
    void Label1_MouseMove(int Button, int Shift, int X, int Y);

    // Filled in by the command line and the menus.
    void Text1_Change() {}
    void Text1_GotFocus() {}
    void Text2_Change() {}

    // The menus.
    void setMenuPos();
    void systemMenu();
    void LMenu_MouseMove(int Index, int Button, int Shift, int X, int Y);
    void LMenu_Click(int Index);
    void LMBack_Click(int Index);
    void sVtrlSub1_Click(int Index);
    void sVtrlSub2_Click(int Index);
    void sVtrlSub3_Click(int Index);
    void sVtrlSub4_Click(int Index);
    void sVtrlSub5_Click(int Index);
    void sVtrlInde1_Click(int Index);
    void sVtrlInde2_Click(int Index);
    void sVtrlInde3_Click(int Index);
    void sVtrlInde4_Click(int Index);

    // The record on screen, as this window laid it out.
    const std::string& laidOutRecord() const { return record_; }
    // Docks the question panel at this window's bottom-right corner.
    void dockPanel();

private:
    // A layout is pending or a demonstration is running: input must not complete a step.
    bool inputBlocked() const;
    // More than 650 pixels high: a normal, movable window.
    bool largeScreen() const;
    int sx(double v) const;
    int sy(double v) const;
    void applyPointer();
    // A chosen item of the array numbered arrayNumber (1-9, in menu order).
    void menuItemChosen(int arrayNumber, int Index);

    Program& p_;
    std::string record_;
    bool hintPrefixed_ = false;
    // The custom pointer of the step on screen, loaded once per step.
    std::string cursorPath_;
    forms::PicturePtr cursor_;
};

}  // namespace qz
