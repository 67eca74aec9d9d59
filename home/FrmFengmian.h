// The home screen: every session starts and ends here.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmFengmian : public forms::Form {
public:
    explicit FrmFengmian(Program& p);
    void Form_Load() override;

private:
    Program& p_;
};

}  // namespace qz
