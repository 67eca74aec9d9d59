// The first hand-in confirmation of a mock exam: whether to hand in, with a warning while
// questions are unopened or still marked.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "session/hand_in_dialog.h"

namespace qz {

class FrmEnd1 : public HandInDialog {
public:
    explicit FrmEnd1(Program& p);

    void Form_Load() override;
    // Goes on to the second confirmation.
    void Command1_Click();

    // The question for a paper in these states (entries 1 to 40 of the session's table).
    static std::string questionText(const std::array<std::int16_t, 501>& questionState);
};

}  // namespace qz
