// The picture window of a question that carries a picture.
#pragma once

#include "forms/form.h"

namespace qz {

class Program;

class FrmPicture : public forms::Form {
public:
    explicit FrmPicture(Program& p);
    forms::Image Image1;
    forms::Timer Timer1;

    void Form_Load() override;
    void Form_MouseDown(int Button, int Shift, int X, int Y) override;
    void Timer1_Timer();
    void Image1_MouseDown(int Button, int Shift, int X, int Y);

private:
    Program& p_;
};

}  // namespace qz
