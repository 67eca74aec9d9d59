// The question-bank update window: asks the server for the module's file list and, when the
// learner agrees to a newer bank, replaces the listed files and ends the program.
#pragma once

#include <string>

#include "forms/form.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;
struct UpdateEntry;

class FrmUpdata : public forms::Form {
public:
    explicit FrmUpdata(Program& p);

    forms::Image ImgLogo1;
    forms::Label Label4;
    forms::Label lblMove;
    forms::Label Label3;
    forms::Label LblVer;
    forms::Label Label1;
    forms::Label Label2;
    vtrlButton Command2;
    vtrlButton Command3;
    vtrlButton Command1;
    forms::Timer Timer1;

    void Form_Load() override;
    void Timer1_Timer();
    void TKUP();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);

    static constexpr const char* UpToDate = "已是最新版本，无需升级。";
    static constexpr const char* Unknown = "最新题库版本是：未知";
    static constexpr const char* CheckFailed = "检测失败，无法连接升级服务器。";
    static constexpr const char* Declined = "有新版本，本次未升级。";

private:
    void showFailure();
    // The local file an accepted entry names, below its folder; empty when a folder it names
    // is not there.
    std::string localPathOf(const UpdateEntry& e) const;

    Program& p_;
};

}  // namespace qz
