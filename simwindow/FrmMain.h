// The simulated application window: screenshot pieces of the drafting application with the
// hot spot, work area, command line and menus of the current step laid over them.
#pragma once

#include "forms/form.h"

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
    forms::Timer Timer2;
    forms::Timer Timer3;

    void setData();
    void doNext();

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
