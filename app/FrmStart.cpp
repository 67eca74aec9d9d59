#include "app/FrmStart.h"

#include <filesystem>

#include "app/numeric_text.h"
#include "app/program.h"
#include "home/FrmFengmian.h"
#include "net/update_list.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/osinfo.h"
#include "platform/textfile.h"
#include "session/learner_records.h"
#include "session/leftovers.h"
#include "session/record_group.h"

namespace qz {

namespace {

// Built-in product information, used where the installation files say nothing.
void setProductDefaults(std::array<std::string, 41>& pi) {
    for (auto& e : pi) e.clear();
    pi[0] = "Quorvane";
    pi[1] = "https://www.quorvane.invalid/";
    pi[2] = "https://study.quorvane.invalid/";
    pi[3] = "https://chat.quorvane.invalid/service1";
    pi[4] = "https://chat.quorvane.invalid/service2";
    pi[5] = "https://pay.quorvane.invalid/";
    pi[6] = "https://shop.quorvane.invalid/";
    pi[7] = "Quorvane教育软件工作室";
    pi[8] = "考生";
    pi[9] = "Quorvane练习系统";
    pi[10] = "400-000-0000";
    pi[11] = "100000";
    pi[12] = "quorvane";
    pi[13] = "https://www.quorvane.invalid/upgrade";
    pi[15] = "quorvane";
    pi[16] = "www.quorvane.invalid";
    pi[26] = "2015";
    pi[29] = "&H666666";
    pi[30] = "240";
    pi[31] = "5040";
    pi[32] = "7440";
    pi[33] = "9930";
    pi[34] = "2";
}

// File names for a run-log line.
std::string spaced(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

}  // namespace

FrmStart::FrmStart(Program& p)
    : forms::Form(p.rt, "FrmStart"), Label1(this, "Label1"), Timer1(this, "Timer1"), p_(p) {
    setFormBorderStyle(0);
    setStartUpPosition(2);
    move(0, 0, 6000, 3000);
    Label1.setBackStyle(0);
    Label1.setForeColor(forms::colors::White);
    Label1.setAutoSize(true);
    Timer1.setInterval(100);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void FrmStart::Form_Load() {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("startload");
    auto refuseSecondCopy = [&] {
        rt().msgBox(AlreadyRunningText, forms::mb::OkOnly | forms::mb::Information, "系统提示");
        rt().endProgram();
    };
    // Nothing may be read before the running copy has been asked.
    bool first = true;
    on([&] { first = p_.takeInstanceLock(); });
    if (!first) refuseSecondCopy();
    // An update may have replaced ver.txt: a data folder it names outside the program folder
    // is known before anything is written, removed or sent, and then nothing is.
    if (!readVer()) {
        rt().msgBox(InvalidDataFolderText, forms::mb::OkOnly | forms::mb::Exclamation, "系统提示");
        rt().endProgram();
    }
    // Copies of other users or runtime folders meet here, before any record is touched.
    on([&] { first = p_.takeFolderLock(); });
    if (!first) refuseSecondCopy();
    on([&] { recoverRecords(); });
    on([&] { readInfo(); });
    on([&] { sweepLeftovers(); });
    on([&] { p_.computeScale(); });
    on([&] { setWidth(p_.sx(6000)); });
    on([&] { setHeight(p_.sy(3000)); });
    on([&] { setPicture(p_.SkinPicture("l20059")); });
    on([&] { Label1.setTop(p_.sy(2160)); });
    on([&] { Label1.setCaption("正在启动" + g.ModuleTitle + "，请稍候..."); });
    on([&] { Label1.setFontSize(11 * g.ScaleX); });
    on([&] { Label1.setLeft((width() - Label1.width()) / 2); });
    on([&] {
        g.ListBase = 0;
        g.DemoRunning = false;
    });
    on([&] { g.ExamineeName = g.ProductInfo[8]; });
    on([&] { setIcon(p_.SkinPicture("l62011")); });
    on([&] { setCaption("Quorvane练习系统"); });
    on([&] { g.OsVersion = GetOSVersionOF(); });
    on([&] {
        StartPending = true;
        Timer1.setEnabled(true);
    });
}

void FrmStart::Timer1_Timer() {
    // A tick already queued behind the first must not start the home screen twice.
    if (!StartPending) return;
    StartPending = false;
    Timer1.setEnabled(false);
    UpdataExe();
}

void FrmStart::UpdataExe() {
    forms::OnError silent;
    silent([&] { p_.frmFengmian().show(); });
    silent([&] {
        p_.openRunLog(platform::joinPath(platform::joinPath(p_.g.ProgramFolder, "ksdata"),
                                         platform::localTimeStamp("%Y%m%d%H%M%S") + ".txt"));
    });
    silent([&] { unload(); });
}

void FrmStart::recoverRecords() {
    // Also without a lock: a group a crash left must be completed before any record is read,
    // and another copy that may be running writes the same bytes from the same intent file.
    Shared& g = p_.g;
    const GroupRecovery r = recoverRecordGroup(platform::resolvePath(platform::joinPath(g.ProgramFolder, "ksdata")));
    const std::string names = spaced(r.names);
    switch (r.outcome) {
        case GroupRecovery::Nothing: break;
        case GroupRecovery::Completed: p_.logAtStart("启动检查:已完成上次中断的记录保存:" + names); break;
        case GroupRecovery::Damaged:
            p_.logAtStart(std::string("启动检查:记录保存的中间文件") + RecordIntentName +
                          (r.removed ? "已损坏，已删除，记录未改动。" : "已损坏，未能删除，记录未改动。"));
            break;
        case GroupRecovery::Failed: {
            // Some of the group's files may be new and some old: for this run they read as the
            // group's new bytes and none is written, so that nothing is built on the mix.
            if (r.pending) {
                for (const IntentEntry& e : *r.pending)
                    g.HeldRecords.hold(recordfile::path(g.ProgramFolder, e.name), e.bytes);
            } else {
                for (const std::string& name : recordFileNames())
                    g.HeldRecords.hold(recordfile::path(g.ProgramFolder, name), std::nullopt);
            }
            p_.logAtStart(std::string("启动检查:上次中断的记录保存未能完成，下次启动再试:") + RecordIntentName);
            rt().msgBox(RecordsHeldText, forms::mb::OkOnly | forms::mb::Information, "系统提示");
            break;
        }
    }
}

void FrmStart::sweepLeftovers() {
    // Another copy's writes in progress leave the same names: without the folder's lock nothing
    // goes.
    if (!p_.holdsFolderLock()) return;
    const Shared& g = p_.g;
    // The program folder holds the program and the installation, which no sweep may reach:
    // a folder that is it by any name is left out.
    auto folder = [&](const std::string& path) {
        const std::string resolved = platform::resolvePath(path);
        std::error_code ec;
        return std::filesystem::equivalent(resolved, g.ProgramFolder, ec) ? std::string() : resolved;
    };
    WrittenFolders folders{folder(platform::joinPath(g.ProgramFolder, "ksdata")), "",
                           folder(platform::joinPath(g.ProgramFolder, "examdata"))};
    if (platform::folderNameInside(g.ProgramFolder, dataFolderName_)) folders.data = folder(g.DataDir);
    const std::vector<std::string> removed = qz::sweepLeftovers(folders);
    if (removed.empty()) return;
    p_.logAtStart("启动检查:已删除中断的保存留下的文件:" + spaced(removed));
}

std::string FrmStart::GetOSVersionOF() { return platform::osVersionText(); }

bool FrmStart::readVer() {
    verLines_.clear();
    verError_.reset();
    try {
        verLines_ = platform::readLines(platform::joinPath(p_.g.ProgramFolder, "ver.txt"));
    } catch (const platform::VbError& e) {
        verError_ = e;
        return true;
    }
    // Without a third line the default stands, as readInfo reports it.
    const std::optional<std::string> name = verDataFolderName(verLines_);
    return !name || platform::folderNameInside(p_.g.ProgramFolder, *name);
}

void FrmStart::readInfo() {
    Shared& g = p_.g;
    auto& pi = g.ProductInfo;
    forms::OnError on = p_.reporting("readInfo");
    auto reportGroup = [&](const platform::VbError& e) { on([&] { throw e; }); };
    // Entries beyond the table are reported and not stored; reading goes on.
    auto store = [&](std::size_t k, const std::string& line) {
        on([&] {
            std::string text = decodeNumericText(line, reportGroup);
            if (k >= pi.size()) platform::raise(9);
            pi[k] = text;
        });
    };

    on([&] { setProductDefaults(pi); });

    // ver.txt as the load read and checked it, so that the data folder is the one it accepted.
    on([&] {
        if (verError_) throw *verError_;
    });
    const std::vector<std::string>& ver = verLines_;
    for (std::size_t i = 0; i < ver.size(); ++i) store(i + 1, ver[i]);

    on([&] { g.ModuleNumber = platform::cint(platform::val(pi[4])); });
    on([&] { g.ModuleName = platform::trimSpaces(pi[1]); });
    on([&] { g.ModuleTitle = platform::trimSpaces(pi[2]); });
    on([&] {
        dataFolderName_ = platform::trimSpaces(pi[3]);
        g.DataDir = platform::joinPath(g.ProgramFolder, dataFolderName_) + "/";
    });
    for (std::size_t u = 0; u <= 20; ++u) on([&] { g.UnitTable[u][1] = platform::trimSpaces(pi[5 + u]); });

    std::vector<std::string> info;
    on([&] { info = platform::readLines(g.DataDir + "288901.mxy"); });
    for (std::size_t k = 0; k < info.size(); ++k) store(k, info[k]);

    for (auto& e : pi) on([&] { e = platform::trimSpaces(e); });
    on([&] { rt().appTitle = pi[0] + pi[9] + "——" + g.ModuleName + "模块"; });

    std::string firstRunPath = g.DataDir + "288892.mxy";
    std::string firstLine;
    bool haveLine = false;
    on([&] {
        auto lines = platform::readLines(firstRunPath);
        if (!lines.empty()) {
            firstLine = lines[0];
            haveLine = true;
        }
    });
    if (haveLine && firstLine == "0") {
        std::string nn = platform::rightChars("0" + platform::cstr(g.ModuleNumber), 2);
        std::string key = "Software\\" + pi[15];
        std::int32_t count = 0;
        long r1 = -1, r2 = -1;
        on([&] {
            r1 = WriteRegistryValue("HKEY_CURRENT_USER", key, "ProPath" + nn, 1, g.ProgramFolder + std::string(72, '*'),
                                    count);
        });
        on([&] {
            r2 = WriteRegistryValue("HKEY_CURRENT_USER", key, "ProName" + nn, 1,
                                    platform::executableBaseName() + std::string(36, '*'), count);
        });
        // Only a start that really stored both values is the first run; otherwise the next
        // start tries again.
        if (r1 == 0 && r2 == 0)
            on([&] { platform::writeLinesReplace(firstRunPath, {"1"}, platform::FolderSync::BestEffort); });
    }
}

long FrmStart::WriteRegistryValue(const std::string& rootKey, const std::string& subKey, const std::string& valueName,
                                  std::int32_t valueType, const std::string& value, std::int32_t& byteCount) {
    platform::SettingsStore* store = p_.svc.settings;
    if (!store) return 1;
    std::string key = rootKey + "\\" + subKey;
    long r = store->createKey(key);
    if (r != 0) return r;
    switch (valueType) {
        case 1:
        case 2:
            // Stored whole: the text's characters, not cut to a byte count.
            byteCount = static_cast<std::int32_t>(platform::charCount(value));
            return store->setValue(key, valueName, value);
        case 3:
        case 4:
            if (valueType == 4) byteCount = 4;
            return store->setValue(key, valueName, std::to_string(platform::clng(platform::val(value))));
        default:
            return 0;
    }
}

}  // namespace qz
