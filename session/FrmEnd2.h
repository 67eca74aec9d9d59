// The second hand-in confirmation: once confirmed, the exam cannot be entered again.
#pragma once

#include "session/hand_in_dialog.h"

namespace qz {

class FrmEnd2 : public HandInDialog {
public:
    explicit FrmEnd2(Program& p);

    // Hands the paper in: the exam's windows close and the score report opens.
    void Command1_Click();
};

}  // namespace qz
