// The last hand-in confirmation: after it the exam cannot be entered again.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmEnd2 : public forms::Form {
public:
    explicit FrmEnd2(Program& p);

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
