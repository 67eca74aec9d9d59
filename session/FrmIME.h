// The input-method dialog: whether the command line switches to the layout chosen in the
// panel, kept across runs in ksdata.
#pragma once

#include <string>

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmIME : public forms::Form {
public:
    explicit FrmIME(Program& p);

    // Bottom first.
    forms::Image ImgLogo1;
    forms::Label lblMove;
    forms::ControlArray<forms::Label> Label1;
    forms::CheckBox Check1;
    forms::ControlArray<vtrlButton> LblClick;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void Check1_Click();
    void LblClick_Click(int Index);
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);

    static std::string optionFile(const std::string& programFolder);
    static constexpr const char* Advice =
        "如果输入文字时出现计算机考试***.exe遇到问题需要关闭时，说明您另外安装的输入法和本软件不兼容，您可以取消调用输入法，"
        "在您需要输入汉字时，可以按Ctrl+Shift键切换，或者点击电脑右下角的输入法按钮。";

private:
    Program& p_;
    bool toldWriteFailed_ = false;
};

}  // namespace qz
