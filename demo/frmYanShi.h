// The demonstration player: plays a question's steps on an imitation of the simulated window
// with a gliding pointer, click markers, typing, drags and opened menus.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class frmYanShi : public forms::Form {
public:
    explicit frmYanShi(Program& p);

    void Form_Load() override;

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
