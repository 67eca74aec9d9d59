#include "session/FrmEnd1.h"

#include "app/program.h"
#include "session/FrmEnd2.h"

namespace qz {

FrmEnd1::FrmEnd1(Program& p) : HandInDialog(p, "FrmEnd1") {
    Command1.Click = [this] { Command1_Click(); };
}

// A paper is always 40 entries. Never opened (an even state) or opened and still marked
// (3 or 7) warns; a favourite starts marked, so it warns until the learner unmarks it.
std::string FrmEnd1::questionText(const std::array<std::int16_t, 501>& questionState) {
    bool warn = false;
    for (std::size_t k = 1; k <= 40; ++k) {
        const std::int16_t s = questionState[k];
        warn = warn || s % 2 == 0 || s == 3 || s == 7;
    }
    return warn ? "您还有题目未做或仍处于标识状态！\r\n\r\n您是否确定交卷?" : "\r\n您是否确定交卷?";
}

void FrmEnd1::Form_Load() {
    HandInDialog::Form_Load();
    Label1.setCaption(questionText(p_.g.QuestionState));
}

void FrmEnd1::Command1_Click() {
    Program& p = p_;
    leave();
    p.frmEnd2().show(true);
}

}  // namespace qz
