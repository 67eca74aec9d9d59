// The question panel: the task of the current question, the session's commands, the question
// grid, the exam-taker page and the exam clock.
#pragma once

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmTm : public forms::Form {
public:
    explicit FrmTm(Program& p);

    forms::Label lblMove;
    forms::Label LblBiao;
    forms::PictureBox FrmZhuYa;
    forms::PictureBox PicUnit;
    forms::Label LblUnit;
    forms::Timer TimerREDO;
    forms::Timer TimKsModel;
    forms::Timer TimeKS;

    void DqExam();

private:
    [[maybe_unused]] Program& p_;
};

}  // namespace qz
