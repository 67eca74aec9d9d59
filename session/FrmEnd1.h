// The first hand-in confirmation of a mock exam.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmEnd1 : public forms::Form {
public:
    explicit FrmEnd1(Program& p);

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
