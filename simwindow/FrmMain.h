// The simulated application window: screenshot pieces of the drafting application with the
// hot spot, work area, command line and menus of the current step laid over them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "simwindow/step_record.h"
#include "forms/on_error.h"
#include "platform/vb_error.h"

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
    void Form_KeyUp(int& keyCode, int shift) override;
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

    void Label4_MouseDown(int Button, int Shift, int X, int Y);
    void Label4_MouseMove(int Button, int Shift, int X, int Y);
    void Label4_MouseUp(int Button, int Shift, int X, int Y);
    void Image5_MouseMove(int Button, int Shift, int X, int Y);
    void Image5_MouseUp(int Button, int Shift, int X, int Y);
    void Text1_Change();
    void Text1_GotFocus();
    void Text1_KeyUp(int KeyCode, int Shift);
    void Text2_Change();

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
    // The step's pointer on c: "S" a standard pointer by number, else the step's cursor file, or
    // the default when that cannot be loaded.
    void setStepPointer(forms::Control& c, bool report);
    // The custom pointer of the step's cursor file ("ico" + number + ".CUR"); null when it
    // cannot be loaded, which is reported once per step.
    forms::PicturePtr stepCursor(const std::string& number, bool report);
    // The typed step's expected answer; nullopt when it cannot be read (reported once a step).
    std::optional<std::string> expectedAnswer();
    // The command box's text, as Space or Enter confirms it, against the answer.
    bool typedAnswerMatches(const std::optional<std::string>& answer) const;
    // A chosen item of the array numbered arrayNumber (1-9, in menu order).
    void menuItemChosen(int arrayNumber, int Index);
    // Question q's state counts it done, once however often its last step is reached.
    void markQuestionDone(std::size_t q);
    // The step layout proper; setData holds its reports until it has returned.
    void layOut();

    // Faults met while the window works on a step are reported once that work is done: a
    // report's wait runs events, and input must never meet a half-laid-out step.
    class ReportsHeld {
    public:
        explicit ReportsHeld(FrmMain& m) : m_(m) { ++m_.holdDepth_; }
        ~ReportsHeld();
        ReportsHeld(const ReportsHeld&) = delete;
        ReportsHeld& operator=(const ReportsHeld&) = delete;
        // Sends what was held, when this is the outermost holder.
        void release();

    private:
        FrmMain& m_;
        bool released_ = false;
    };
    template <class F>
    void holdingReports(F&& work) {
        ReportsHeld held(*this);
        std::forward<F>(work)();
        held.release();
    }
    // Error handling that holds a fault for the end of the outermost holdingReports (or
    // reports it at once outside one), once per tag for the step on screen.
    forms::OnError heldReporting(const std::string& tag);

    Program& p_;
    std::string record_;
    // The hint on screen has its "输入 " prefix, and its ending for typed menu codes.
    steps::HintMarks hint_;
    // The custom pointer of the step on screen, loaded once per step.
    std::string cursorPath_;
    forms::PicturePtr cursor_;
    // A step's layout is under way: a match its own text changes cause waits for the end.
    bool layingOut_ = false;
    forms::Timer laidOutMatch_;
    struct Fault {
        std::string tag;
        platform::VbError error;
    };
    int holdDepth_ = 0;
    std::vector<Fault> heldFaults_;
    // Tags already reported or held for the step on screen.
    std::set<std::string> faultTags_;
    // The keys that went down in the command box on the step on screen and are not up yet.
    std::set<int> text1KeysDown_;
    // The key now down went down on the window itself.
    bool formKeyDown_ = false;
    // The work-area drag under way.
    std::int32_t dragStartX_ = 0;
    std::int32_t dragStartY_ = 0;
    bool dragging_ = false;
};

}  // namespace qz
