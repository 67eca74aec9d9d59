// The picture window of a question that carries a picture.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmPicture : public forms::Form {
public:
    explicit FrmPicture(Program& p);
    forms::Image Image1;

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
