// The program's own skinned message box. The caller sets MsgBoxResult to 0, sets the title,
// icon and prompt, shows the box modally and treats MsgBoxResult = 1 as confirmed.
#pragma once

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmQZMSGBOX : public forms::Form {
public:
    explicit FrmQZMSGBOX(Program& p);

    forms::Image ImgLogo1;
    forms::Label lblMove;
    forms::Label LblTitle;
    forms::Label LblPrompt;
    forms::Image Image1;
    forms::ControlArray<vtrlButton> LblClick;

    void Form_Load() override;
    void LblClick_Click(int Index);
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);

private:
    Program& p_;
};

}  // namespace qz
