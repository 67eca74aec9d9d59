// The exam login: an imitation of the examination's log-in screen before a mock paper starts.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmLogon : public forms::Form {
public:
    explicit FrmLogon(Program& p);

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
