// The program's own skinned message box: asked modally, MsgBoxResult = 1 is confirmed.
#pragma once

#include <string>

#include "forms/form.h"
#include "forms/on_error.h"
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
    // Resets MsgBoxResult and asks modally. A skin icon that fails goes to iconFailure; the
    // question is still asked.
    void ask(const std::string& title, const std::string& icon, const std::string& prompt,
             forms::OnError& iconFailure);
    void LblClick_Click(int Index);
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);

private:
    Program& p_;
};

}  // namespace qz
