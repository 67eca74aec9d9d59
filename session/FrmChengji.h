// The score report of a mock exam: the score, the paper's grid, and the records written once.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmChengji : public forms::Form {
public:
    explicit FrmChengji(Program& p);

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
