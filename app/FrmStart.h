// The splash: refuses a second copy, loads the product information and hands over to the
// home screen on the first tick of its timer.
#pragma once

#include <cstdint>
#include <string>

#include "forms/form.h"

namespace qz {

class Program;

class FrmStart : public forms::Form {
public:
    explicit FrmStart(Program& p);

    forms::Label Label1;
    forms::Timer Timer1;
    bool StartPending = false;

    void Form_Load() override;
    void Timer1_Timer();
    void UpdataExe();
    void readInfo();
    // Before any record is read: the group of record files a crash cut short, completed or,
    // when its intent file is damaged, dropped. One that cannot be completed now is held for
    // the run, and the learner told.
    void recoverRecords();
    static constexpr const char* RecordsHeldText = "上次的练习记录未能保存完整，将在下次启动时完成。";
    // Only while this copy holds the lock: what crashed writes left in the folders it writes.
    void sweepLeftovers();

    static std::string GetOSVersionOF();
    // Writes one value of the settings store in place of the registry; 0 on success.
    long WriteRegistryValue(const std::string& rootKey, const std::string& subKey, const std::string& valueName,
                            std::int32_t valueType, const std::string& value, std::int32_t& byteCount);

    static constexpr const char* AlreadyRunningText =
        "考试练习系统已在运行。如果你没有找到，请关闭其它窗口和程序，或者注销或重启。";

private:
    Program& p_;
};

}  // namespace qz
