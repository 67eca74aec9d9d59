// What the two hand-in confirmations of a mock exam share: the frame, the red question, the
// confirm and back buttons, and the way back to the exam.
#pragma once

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class HandInDialog : public forms::Form {
public:
    HandInDialog(Program& p, std::string name);

    // Bottom first.
    forms::Frame Frame1;
    forms::Label Label1;
    vtrlButton Command1;
    vtrlButton Command2;

    void Form_Load() override;
    // Closed by its title bar, the dialog goes back to the exam as its back button does:
    // the panel the hand-in button hid would otherwise never come back.
    void Form_Unload(int& Cancel) override;
    // Back to the exam: the dialog goes, the panel comes back docked to the simulated window.
    void Command2_Click();

protected:
    // Unloads the dialog without going back to the exam; the caller goes on.
    void leave();
    Program& p_;

private:
    void backToExam();
    bool leaving_ = false;
};

}  // namespace qz
