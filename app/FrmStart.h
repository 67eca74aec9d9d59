// The splash: refuses a second copy, loads the product information and hands over to the
// home screen on the first tick of its timer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "platform/vb_error.h"

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
    // Reads ver.txt for readInfo, quietly: false when it names a data folder that leads out of
    // the program folder. Nothing is written, removed or sent.
    bool readVer();
    void readInfo();
    // Before any record is read: the group of record files a crash cut short, completed or,
    // when its intent file is damaged, dropped. One that cannot be completed now is held for
    // the run, and the learner told.
    void recoverRecords();
    static constexpr const char* RecordsHeldText = "上次的练习记录未能保存完整，将在下次启动时完成。";
    // Only while this copy holds the folder's lock: what crashed writes left in ksdata, examdata
    // and a data folder inside the program folder; never in the program folder itself.
    void sweepLeftovers();

    static std::string GetOSVersionOF();
    // Writes one value of the settings store in place of the registry; 0 on success.
    long WriteRegistryValue(const std::string& rootKey, const std::string& subKey, const std::string& valueName,
                            std::int32_t valueType, const std::string& value, std::int32_t& byteCount);

    static constexpr const char* AlreadyRunningText =
        "考试练习系统已在运行。如果你没有找到，请关闭其它窗口和程序，或者注销或重启。";
    static constexpr const char* InvalidDataFolderText = "安装的数据文件夹无效，请重新安装本软件。";

private:
    Program& p_;
    // ver.txt as readVer found it, for readInfo; a failure to read it is reported there.
    std::vector<std::string> verLines_;
    std::optional<platform::VbError> verError_;
    // The data folder's name as ver.txt (or the default) gives it.
    std::string dataFolderName_;
};

}  // namespace qz
