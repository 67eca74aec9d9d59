// The about box: product, module, bank version and the working folder, which opens on a click.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmAbout : public forms::Form {
public:
    explicit FrmAbout(Program& p);

    forms::Image ImgLogo1;
    forms::Label lblMove;
    forms::ControlArray<vtrlButton> LblClick;
    forms::ControlArray<forms::Label> Label1;
    forms::ControlArray<forms::Line> Line1;

    void Form_Load() override;
    void Label1_Click(int Index);
    void LblClick_Click(int Index);
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);

private:
    Program& p_;
};

}  // namespace qz
