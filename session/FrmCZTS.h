// The operation tips dialog of an exam: why no answer is shown, and the way to see it, which
// turns the exam into practice and plays the current question's demonstration.
#pragma once

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmCZTS : public forms::Form {
public:
    explicit FrmCZTS(Program& p);

    // Bottom first.
    forms::Shape Shape1;
    forms::Shape Shape2;
    forms::Label Label3;
    forms::Label Label2;
    vtrlButton Command1;
    vtrlButton Command2;

    void Form_Load() override;
    // Back to the exam: each of these only closes the dialog.
    void Command1_Click();
    void Form_Click() override;
    void Label2_Click();
    void Label3_Click();
    // Shows the answer now, once the learner has confirmed it.
    void Command2_Click();

    static constexpr const char* Notice =
        "1.正式考试时不能看答案。\r\n\r\n"
        "2.如果有不会做的题目，在结束考试后，可以点“本次错题复习”或者“本次考题复习”，这时，所有试题都可以查看答案"
        "（手把手教和操作演示都可以）。\r\n\r\n"
        "3.如果你实在等不及了，可以点“我想立即看答案”。";
    static constexpr const char* ConfirmTitle = "不建议您立即看答案";
    static constexpr const char* ConfirmPrompt =
        "立即看答案将不能测试您的实际水平，如果你坚持现在看答案，成绩将不记入本次练习记录！\r\n您现在就要看答案吗？";

private:
    Program& p_;
};

}  // namespace qz
