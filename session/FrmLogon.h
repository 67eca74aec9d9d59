// The exam login: an imitation of the examination's log-in screen before a mock paper starts.
// Nothing typed is checked; it only fills the confirmation page and the examinee data.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmLogon : public forms::Form {
public:
    explicit FrmLogon(Program& p);

    // Bottom first: the confirmation page lies under the input page until the first tick.
    forms::PictureBox Picture2;
    forms::Label LblName;
    forms::Label LblZwh;
    forms::Label LblCC;
    forms::Label LblKm;
    forms::Label LblSfz;
    forms::Label LblDah;
    forms::Label LblDate;
    forms::PictureBox P2;
    forms::Label LJD;

    forms::PictureBox Picture1;
    forms::TextBox TxtZwh;
    forms::TextBox TxtSFZ;
    forms::Label CmdLog;
    forms::Label CmdExit;

    forms::Timer Timer1;
    forms::Timer Timer2;

    void Form_Load() override;
    void Timer1_Timer();
    void Timer2_Timer();
    void TxtSFZ_KeyPress(int& KeyAscii);
    void CmdLog_Click();
    void CmdExit_Click();

    // The ID box's first content, and the number whose leading digits complete a short ID.
    // Both are made up: no one's real number.
    static constexpr const char* SampleIdNo = "990101200001010011";
    static constexpr const char* FillIdNo = "990202198808080022";
    // The hand pointer of the two hot areas, beside the program.
    static constexpr const char* HandCursorFile = "FrmLogon.cur";

private:
    // The seat box and the ID box take turns on Tab, in this order.
    void tabBetweenBoxes(int& KeyCode);
    Program& p_;
};

}  // namespace qz
