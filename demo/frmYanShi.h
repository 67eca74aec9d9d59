// The demonstration player: plays a question's steps on an imitation of the simulated window
// with a gliding pointer, click markers, typing, drags and opened menus.
#pragma once

#include <cstdint>
#include <string>

#include "forms/form.h"
#include "simwindow/step_record.h"

namespace qz {

class Program;

class frmYanShi : public forms::Form {
public:
    explicit frmYanShi(Program& p);

    // ---- controls ----
    // The step.
    forms::Label ImgLogo;  // the question text
    forms::Image Image1;
    forms::Image Image2;
    forms::Image Image3;
    forms::Image Image4;
    forms::Image Image5;
    forms::Label Label1;  // hot spot
    forms::Shape Shape1;  // its outline, and the target frame of the menus
    forms::Label Label4;  // work area
    forms::Shape Shape4;  // its outline; Left -100 once the step's first phase is over
    forms::Shape Shape5;  // click marker
    forms::Shape Shape6;  // rubber band
    forms::TextBox Text1;
    forms::TextBox Text2;
    forms::Label LHelp;
    forms::ControlArray<forms::Label> LMenu;   // 0-10
    forms::ControlArray<forms::Label> LMBack;  // 0-10

    // The pointer.
    forms::Image ImgICO;
    forms::ControlArray<forms::Line> LPoint;  // 0-7
    forms::ControlArray<forms::Line> LPoinB;  // 0-5

    // The menu panel.
    forms::Label LRightMMenu;
    forms::Shape ShapeRMain;
    forms::ControlArray<forms::Label> LRMJL;         // 1, 3, 5, 7, 8
    forms::ControlArray<forms::Image> ImgJLSanjiao;  // 1, 3, 5, 7, 8
    // The arrows' triangles, drawn: lines 10 × i + 0 to 3 over ImgJLSanjiao(i).
    forms::ControlArray<forms::Line> LJLStroke{this, "LJLStroke"};
    forms::ControlArray<forms::Label> LRM2;          // 0-9
    forms::ControlArray<forms::Label> LRM4;
    forms::ControlArray<forms::Label> LRM6;
    forms::ControlArray<forms::Label> LRM9;
    forms::ControlArray<forms::Line> LRFGX;  // 0-9

    // The submenu.
    forms::Label LRightSub;
    forms::Shape ShapeRSUB;
    forms::ControlArray<forms::Label> LRS;    // 0-9
    forms::ControlArray<forms::Line> LRSFgx;  // 0-5

    forms::Timer Timer1;  // typing, 500 ms
    forms::Timer Timer2;  // the pointer
    forms::Timer Timer3;  // the picture drag
    forms::Timer Timer5;  // the click marker
    forms::Timer TimerRM;
    forms::Timer TimerRS;
    forms::Timer TimEnd;

    // ---- form-level state ----
    std::int16_t PlayerStep = 1;
    std::int16_t BlinkCount = 0;
    std::int32_t PointerX = 0;
    std::int32_t PointerY = 0;
    std::int32_t TargetX = 0;
    std::int32_t TargetY = 0;
    std::int16_t StepX = 0;
    std::int16_t StepY = 0;
    double StepLength = 0;
    std::int32_t StepCodeValue = 0;
    std::int32_t MenuBarX = 0;
    std::int32_t MenuBarY = 0;
    std::int16_t SnapX = 0;
    std::int16_t SnapY = 0;
    std::string TypedText;
    std::int16_t TypedCount = 0;
    bool DragStarted = false;
    std::int16_t MenuNumber = 0;

    // ---- handlers and procedures ----
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_DblClick() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyPress(int& keyAscii) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Image1_DblClick();
    void Image2_DblClick();
    void Image3_DblClick();
    void Image4_DblClick();
    void Image5_DblClick();

    void doNext();
    void CSH();
    void sMenuCSH();
    void setData();
    void setMenuPos();
    void MuBiaoWei();
    void pointMove();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer5_Timer();
    void TimEnd_Timer();

    // The menus.
    void RightKeyMenu();
    void TimerRM_Timer();
    void RightKeySub();
    void TimerRS_Timer();

    // ---- what every mover shares ----
    // Starts a move from the pointer to (TargetX, TargetY): StepX, StepY and StepLength.
    void startMove();
    // The pointer has arrived at the target of the move under way.
    bool arrived() const;
    // One tick of a menu or picture mover: the pointer a step on, the arrow drawn there.
    void stepPointer();
    // The click marker at the pointer, flashing.
    void startClickMarker();
    // The record of the step on screen, as the player laid it out.
    const std::string& record() const { return record_; }
    // Its four-character code.
    std::string code() const;

private:
    // The menu controls' design properties.
    void buildMenuControls();
    // The end's hand-back to the session, once, whatever ends the demonstration.
    void handBack();
    // The step's line could not be reached: the player shows the last line and waits.
    void stall();
    void arrival();
    // One step further, or the end at the last step.
    void advanceOnce();
    // The end timer, started once: a held key does not postpone the end.
    void startEnd();
    int sx(double v) const;
    int sy(double v) const;

    Program& p_;
    // The player's own copy of the line it laid out.
    std::string record_;
    // The steps file ended before the step's line: nothing moves until the learner ends it.
    bool stalled_ = false;
    // Passed-over steps ("6...", 8888) advance in a loop, not by recursion: what they ask for
    // while an advance is under way waits for it to return.
    bool advancing_ = false;
    int pendingAdvances_ = 0;
    bool pending8888_ = false;
    // The hint on screen: its text as the step gave it, and whether it already carries the
    // "输入 " prefix and the typed menu code's ending.
    std::string hintText_;
    steps::HintMarks hint_;
    // The cursor picture of the step on screen is loaded once.
    bool cursorTried_ = false;
    bool handedBack_ = false;
    bool endingByTimer_ = false;
};

}  // namespace qz
