// The score report of a mock exam: the score, the paper's grid, and the records written once.
#pragma once

#include <array>
#include <string>

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;

class FrmChengji : public forms::Form {
public:
    explicit FrmChengji(Program& p);

    // Bottom first; the picture box carries everything.
    forms::PictureBox Picture1;
    forms::Label Label1;
    forms::Frame Frame1;
    forms::ControlArray<vtrlButton> CmTNO;
    forms::Label LblTiMuYQ;
    vtrlButton Command1;
    vtrlButton Command2;
    vtrlButton Command3;
    forms::Timer Timer1;

    // The task of each entry of the paper, from 1.
    std::array<std::string, 41> RequirementTexts;

    // Scores the paper and writes its records.
    void Form_Load() override;
    void Timer1_Timer();
    void CmTNO_Click(int Index);
    // The paper again, as practice.
    void Command1_Click();
    // Back to the home screen's papers.
    void Command2_Click();
    // The paper's wrong questions, as practice.
    void Command3_Click();
    // Builds the wrong questions' set and opens its practice; refused with a message, the
    // report staying open, when there is nothing to redo or the set cannot be opened.
    void InitShiTi();

private:
    // Writes the exam's records; false when one of them could not be saved.
    bool writeRecords(int paperEntries, int completed);
    // The learner hears of records not saved once the report is up, at the latest before
    // leaving it.
    void tellUnsaved();
    int sx(double v) const;
    int sy(double v) const;
    forms::PicturePtr skin(const std::string& id);
    Program& p_;
    // Told once the report is up, not from inside its load.
    bool unsaved_ = false;
};

}  // namespace qz
