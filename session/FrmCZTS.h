// The operation tips dialog of an exam: why no answer is shown, and the way to see it.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmCZTS : public forms::Form {
public:
    explicit FrmCZTS(Program& p);

    void Form_Load() override;

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
