// The question panel: the task of the current question, the session's commands, the question
// grid, the exam-taker page and the exam clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/form.h"
#include "platform/keyboard.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmTm : public forms::Form {
public:
    explicit FrmTm(Program& p);

    // Bottom first. Title strip.
    forms::Image ImgLogo1;
    forms::Label LblBiao;
    forms::Label lblMove;
    vtrlButton LblZXH;
    vtrlButton LblClose;

    // The main page.
    forms::PictureBox FrmZhuYa;
    forms::Label LblTime;
    forms::Label LblName;
    forms::Label LblIME;
    forms::TextBox RtbTM;
    vtrlButton Image2;
    forms::PictureBox PTime;
    forms::Label LblTimeJD;
    forms::PictureBox PicUnit;
    forms::Label LblUnit;
    forms::ControlArray<vtrlButton> CmdGN;
    vtrlButton CmdEn;

    // The question grid page.
    forms::Frame FrmSelect;
    forms::ControlArray<vtrlButton> CmTNO;
    vtrlButton CmdSelLast;
    vtrlButton CmdSelFH;
    vtrlButton CmdSelNext;

    // The exam-taker page.
    forms::Frame FrmKSXX;
    forms::Image Image1;
    forms::ControlArray<forms::Label> Label1;
    forms::Label KsName1;
    forms::Label KsZWH1;
    forms::Label KsCC1;
    forms::Label KsDAH1;
    forms::Label KsKM1;
    forms::Label KsSFZ1;
    vtrlButton CmdKSFH;

    // The small panel shown while the panel is minimised.
    forms::PictureBox FrmZXH;
    forms::Label Label2;
    forms::Label Command2;

    // The input-method menu, only ever a popup.
    forms::MenuItem mIme{"mIme"};
    forms::MenuItem mEng{"mEng"};
    forms::MenuItem mCn1{"mCn1"}, mCn2{"mCn2"}, mCn3{"mCn3"}, mCn4{"mCn4"}, mCn5{"mCn5"};
    forms::MenuItem mCn6{"mCn6"}, mCn7{"mCn7"}, mCn8{"mCn8"}, mCn9{"mCn9"}, mCn10{"mCn10"};
    forms::MenuItem& mCn(int k) { return *mCn_.at(static_cast<std::size_t>(k - 1)); }

    forms::Timer TimKsModel;
    forms::Timer TimeKS;
    forms::Timer TimerREDO;
    forms::Timer TimStartYS;

    // Form-level state.
    std::int16_t DemoStartTicks = 0;
    std::int16_t GridPage = 0;
    std::int16_t LastGridPage = 0;
    // The desktop's layouts as the load found them, at most MaxLayouts, in its order.
    static constexpr std::size_t MaxLayouts = 16;
    std::vector<platform::KeyboardLayout> LayoutHandles;
    // 1 + the layouts with a description; the popup opens 300 twips per entry above LblIME.
    std::int16_t LayoutMenuCount = 1;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    // Shows question CurrentQuestion of the current set.
    void DqExam();
    void TimerREDO_Timer();
    void TimKsModel_Timer();
    // The command set that goes with PicUnit: a practice's while it shows, an exam's otherwise.
    void showButtonSet();
    void TimeKS_Timer();
    void TimStartYS_Timer();

    // Commands and the question grid.
    void CmdGN_Click(int Index);
    void CmTNO_Click(int Index);
    void CmdSelLast_Click();
    void CmdSelFH_Click();
    void CmdSelNext_Click();
    void CmdKSFH_Click();
    // Shows the grid page GridPage.
    void dqYeMian();
    void Image2_Click();
    void LblZXH_Click();
    void LblClose_Click();
    // The input-method menu: built by the load, opened by the indicator.
    void buildImeMenu();
    void LblIME_Click();
    // mEng_Click (Position 0) and mCn1_Click … mCn10_Click (Position k) in one.
    void mIme_Click(int Position);
    // What the entry at Position switches to: mEng the first plain layout, mCn k the k-th
    // layout with a description; empty when there is none.
    std::string layoutFor(int Position) const;
    void CmdEn_Click();
    // Back from the small panel: the simulated window shown, the panel full size and docked.
    void Command2_Click();
    // Saves the practice into the learner's records and returns to the home screen.
    void EndPractice();

    // Window behaviour: drag strips, the small panel, the tool tip, the focus.
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);
    void Label2_MouseDown(int Button, int Shift, int X, int Y);
    void FrmZXH_MouseDown(int Button, int Shift, int X, int Y);
    void FrmZXH_MouseMove(int Button, int Shift, int X, int Y);
    void Command2_MouseMove(int Button, int Shift, int X, int Y);
    void LblUnit_Click();
    void LblUnit_MouseMove(int Button, int Shift, int X, int Y);
    void RtbTM_Click();
    void RtbTM_KeyUp(int& KeyCode, int Shift);
    void PicUnit_KeyUp(int& KeyCode, int Shift);

    // The panel's title for question q by the list being worked; `unchanged` when the list
    // has no title of its own.
    static std::string titleFor(const std::string& moduleName, std::int16_t listMode, std::int16_t listBase,
                                std::int16_t paperSlot, int q, std::int16_t questionCount, std::int32_t code,
                                const std::string& doneBefore, const std::string& unchanged);

private:
    // Gives the keyboard back to the simulated window; the panel, topmost, stays above it.
    void bringMainBack();
    // Reads the current question again and starts the player through TimStartYS.
    void StartDemonstration();
    // The end of the exam's time: the paper goes to the hand-in, or, while a demonstration or
    // another window's handler is under way, as soon as that has ended.
    void timeOut();
    bool timeOutMustWait() const;
    void heldTimeOut_Timer();
    // Page buttons only for a list longer than a page, no cells past a shorter list's end, and
    // LastGridPage; returns the list's length in the tables.
    int fitGridToList();
    forms::PicturePtr skin(const std::string& id);
    int sx(double v) const;
    int sy(double v) const;
    Program& p_;
    std::array<forms::MenuItem*, 10> mCn_{&mCn1, &mCn2, &mCn3, &mCn4, &mCn5, &mCn6, &mCn7, &mCn8, &mCn9, &mCn10};
    bool ending_ = false;
    // Runs while a time-out waits for its moment.
    forms::Timer heldTimeOut_;
};

}  // namespace qz
