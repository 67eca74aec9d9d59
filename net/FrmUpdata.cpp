#include "net/FrmUpdata.h"

#include <ctime>
#include <filesystem>

#include "app/program.h"
#include "forms/on_error.h"
#include "forms/runtime.h"
#include "net/download.h"
#include "net/update_list.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

namespace {

using forms::colors::Red;
// What a missing file's stamp reads, older than any listed one.
constexpr const char* NoFileStamp = "190011011030";

std::string stampOf(const std::string& path) {
    const std::optional<std::int64_t> t = platform::fileModifiedTime(path);
    if (!t) return NoFileStamp;
    const std::time_t secs = static_cast<std::time_t>(*t);
    std::tm tm{};
    if (!::localtime_r(&secs, &tm)) return NoFileStamp;
    char out[32];
    std::strftime(out, sizeof out, "%Y%m%d%H%M", &tm);
    return out;
}

std::string dataFolderName(const Shared& g) {
    std::string d = g.DataDir;
    if (d.compare(0, g.ProgramFolder.size(), g.ProgramFolder) == 0) d.erase(0, g.ProgramFolder.size());
    std::string name;
    for (char c : d)
        if (c != '/' && c != '\\') name += c;
    return name;
}

// The program folder's ver.txt, which names the data folder at the next start.
bool isInstallationFile(const std::string& local, const std::string& programFolder) {
    std::error_code ec;
    return platform::asciiIEqual(platform::leafOf(local), "ver.txt") &&
           std::filesystem::equivalent(platform::folderOf(local), programFolder, ec);
}

}  // namespace

FrmUpdata::FrmUpdata(Program& p)
    : forms::Form(p.rt, "FrmUpdata"),
      ImgLogo1(this, "ImgLogo1"),
      Label4(this, "Label4"),
      lblMove(this, "lblMove"),
      Label3(this, "Label3"),
      LblVer(this, "LblVer"),
      Label1(this, "Label1"),
      Label2(this, "Label2"),
      Command2(this, "Command2"),
      Command3(this, "Command3"),
      Command1(this, "Command1"),
      Timer1(this, "Timer1"),
      p_(p) {
    setFormBorderStyle(0);
    setStartUpPosition(2);
    Label4.setBackStyle(0);
    Label4.setAutoSize(true);
    Label4.setForeColor(forms::colors::White);
    Label4.setFont({"宋体", 10});
    lblMove.setBackStyle(0);
    for (forms::Label* l : {&Label3, &LblVer, &Label1}) {
        l->setBackStyle(0);
        l->setAutoSize(true);
        l->setFont({"宋体", 9});
    }
    Label2.setBackStyle(0);
    Label2.setAutoSize(true);
    Label2.setForeColor(Red);
    Label2.setFont({"宋体", 14});
    // Both close the window; the one that lies over the other stays out of sight.
    Command3.setVisible(false);
    Timer1.setInterval(100);
    Timer1.setEnabled(false);

    Timer1.Tick = [this] { Timer1_Timer(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
}

void FrmUpdata::Form_Load() {
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError on = p.reporting("upload");
    auto sx = [&](double v) { return p.sx(v); };
    auto sy = [&](double v) { return p.sy(v); };
    auto pic = [&](const std::string& id) { return p.SkinPicture(id); };
    on([&] { setTopmost(true); });
    on([&] { setWidth(sx(5550)); });
    on([&] { setHeight(sy(3750)); });
    on([&] { setIcon(pic("l62011")); });
    on([&] { setCaption("Quorvane练习系统"); });
    on([&] { setPicture(pic("l20069")); });
    on([&] { ImgLogo1.moveTo(sx(120), sy(90)); });
    on([&] { ImgLogo1.setPicture(pic("l20067")); });
    on([&] { lblMove.move(0, 0, sx(5580), sy(540)); });
    on([&] { Label3.moveTo(sx(360), sy(960)); });
    on([&] { Label3.setFontSize(9 * g.ScaleX); });
    on([&] { Label1.moveTo(Label3.left(), sy(1440)); });
    on([&] { Label1.setFontSize(9 * g.ScaleX); });
    on([&] { LblVer.moveTo(sx(1800), Label3.top()); });
    on([&] { LblVer.setFontSize(9 * g.ScaleX); });
    on([&] { Label2.moveTo(Label3.left(), sy(1920)); });
    on([&] { Label2.setFontSize(14 * g.ScaleX); });
    on([&] { Label4.moveTo(sx(600), sy(150)); });
    on([&] { Label4.setFontSize(10 * g.ScaleX); });
    on([&] { Label4.setCaption("新版本检测——" + g.ModuleTitle); });
    on([&] { Command2.move(sx(420), sy(2880), sx(2100), sy(450)); });
    on([&] { Command3.move(sx(3000), Command2.top(), Command2.width(), Command2.height()); });
    on([&] { Command1.move(sx(3480), Command2.top(), sx(1350), sy(450)); });
    on([&] { Command1.setPicture(pic("l20001")); });
    on([&] { Command2.setPicture(pic("l20075")); });
    on([&] { Command3.setPicture(pic("l20076")); });
    on([&] { Label3.setCaption("当前题库版本是："); });
    on([&] { LblVer.setCaption(g.QuestionBankVersion); });
    on([&] { Label1.setCaption("最新题库版本是：" + g.QuestionBankVersion); });
    on([&] { Label2.setCaption(UpToDate); });
    on([&] { hide(); });
    on([&] { Timer1.setEnabled(true); });
    // The home screen reads the advertisement at its next build; a failed fetch keeps the old one.
    on([&] {
        const std::string ksdata = platform::joinPath(g.ProgramFolder, "ksdata");
        platform::makeDir(ksdata);
        downloadToFile(p, p.svc.updateServer + "/up/ad/" + platform::percentEncode(g.ProductInfo[12]) + "/170100.rar",
                       platform::joinPath(ksdata, "170100.mxy"), DownloadKind::Advertisement);
    });
}

void FrmUpdata::Timer1_Timer() {
    setVisible(p_.g.ShowUpdateWindow != 0);
    Timer1.setEnabled(false);
    TKUP();
}

void FrmUpdata::showFailure() {
    forms::OnError on = p_.reporting("tkup");
    on([&] { Label1.setCaption(Unknown); });
    on([&] { Label2.setCaption(CheckFailed); });
}

std::string FrmUpdata::localPathOf(const UpdateEntry& e) const {
    const std::string folder = platform::joinPath(p_.g.ProgramFolder, e.folder);
    std::string dir;
    if (auto found = platform::findExistingCaseInsensitive(folder); found && platform::dirExists(*found))
        dir = *found;
    else if ((e.folder == "ksdata" || e.folder == "examdata") && platform::makeDir(folder))
        dir = folder;
    else
        return {};
    for (std::size_t i = 0; i + 1 < e.localParts.size(); ++i) {
        auto next = platform::findExistingCaseInsensitive(platform::joinPath(dir, e.localParts[i]));
        if (!next || !platform::dirExists(*next)) return {};
        dir = *next;
    }
    const std::string file = platform::joinPath(dir, e.localParts.back());
    return platform::findExistingCaseInsensitive(file).value_or(file);
}

void FrmUpdata::TKUP() {
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError on = p.reporting("tkup");
    const std::string dataName = dataFolderName(g);
    const std::string base = p.svc.updateServer + "/up/tgmhb/" + platform::percentEncode(g.ModuleName) + "/";
    const std::string listUrl = base + platform::percentEncode(dataName) + "/288895.txt";

    const std::string answer = p.getHtmlStr(listUrl, 2);
    // Closed while the list was on its way: that check is over.
    if (!isLoaded()) return;
    if (answer.compare(0, 5, "error") == 0 || answer.compare(0, 2, "20") != 0) {
        showFailure();
        return;
    }
    const std::string version = updateListVersion(answer);
    // Only a stamp compares as a version, and only it can tell the list fetched next.
    if (!isListVersion(version)) {
        showFailure();
        return;
    }
    if (!(version > g.QuestionBankVersion)) return;

    const std::string ksdata = platform::joinPath(g.ProgramFolder, "ksdata");
    const std::string listCopy = platform::joinPath(ksdata, "288895.mxy");
    bool fetched = false;
    on([&] {
        platform::makeDir(ksdata);
        // The second answer must be the list the first one announced, not an error page a
        // proxy or a busy server gives in its place.
        fetched = downloadToFile(p, listUrl, listCopy, DownloadKind::List, [&](const std::string& got) {
            return updateListVersion(platform::readFirstLine(got)) == version;
        });
    });
    if (!fetched) {
        showFailure();
        return;
    }

    on([&] { hide(); });
    if (rt().msgBox("题库有新文件，是否要进行升级？", forms::mb::YesNo | forms::mb::Question, "升级软件") !=
        forms::mb::ResultYes) {
        on([&] { Label1.setCaption("最新题库版本是：" + version); });
        on([&] { Label2.setCaption(Declined); });
        return;
    }
    // Files are replaced under the learner's windows from here on: nothing may act on them,
    // not even while a refused entry is being reported.
    forms::Runtime::InputDiscarded quiet(rt());

    std::vector<UpdateEntry> entries;
    const bool listRead = on([&] {
        std::vector<std::string> lines = platform::readLines(listCopy);
        entries = readUpdateList(lines, dataName, base).entries;
    });
    // Nothing was replaced yet: the learner is told, and the program goes on.
    if (!listRead) {
        on([&] { show(); });
        showFailure();
        return;
    }
    int updated = 0, attempted = 0;
    const std::string programFile = platform::lowerCase(platform::executableBaseName() + ".exe");
    std::string newProgramFile;
    for (const UpdateEntry& e : entries) {
        std::string local = e.accepted() ? localPathOf(e) : std::string();
        if (local.empty()) {
            ++attempted;
            on([&] { throw platform::VbError(52, "Bad file name or number: " + e.name); });
            continue;
        }
        std::string localStamp = stampOf(local);
        const bool isProgram = platform::lowerCase(e.localName) == programFile;
        if (isProgram) {
            // Never over the running program; the updater puts it in place once we have ended.
            local += "_bak";
            localStamp = stampOf("/proc/self/exe");
        }
        if (!(e.stamp > localStamp)) continue;
        bool ok = false;
        bool folderRefused = false;
        // A new ver.txt must keep the data folder inside the program folder, or the next start
        // would take a folder elsewhere as its own.
        auto keepsDataFolderInside = [&](const std::string& got) {
            const std::optional<std::string> folder = verDataFolderName(platform::readLines(got));
            folderRefused = !folder || !platform::folderNameInside(g.ProgramFolder, *folder);
            return !folderRefused;
        };
        on([&] {
            ok = downloadToFile(p, e.serverUrl, local, DownloadKind::ListedFile,
                                isInstallationFile(local, g.ProgramFolder) ? keepsDataFolderInside
                                                                           : platform::HttpClient::AcceptDownload());
        });
        ++attempted;
        if (folderRefused) on([&] { throw platform::VbError(52, "Bad file name or number: " + e.name); });
        if (!ok) continue;
        ++updated;
        if (isProgram) newProgramFile = local;
    }
    // A failed file keeps the installed version behind the server's, so the next check asks again.
    if (updated == attempted) {
        on([&] {
            const std::optional<std::string> bytes = platform::readBytes(listCopy);
            if (!bytes) platform::raise(53);
            platform::writeBytesReplace(platform::joinPath(g.DataDir, "288895.mxy"), *bytes);
        });
    }
    bool updaterReady = false;
    if (!newProgramFile.empty())
        updaterReady = on([&] {
            platform::writeBytesReplace(platform::joinPath(g.ProgramFolder, "uprun.dll"), newProgramFile + "\r\n");
        });

    on([&] {
        rt().msgBox("已更新" + std::to_string(updated) + "/" + std::to_string(attempted) + "文件。请重新打开软件！",
                    forms::mb::OkOnly);
    });
    if (updaterReady)
        on([&] {
            if (!p.svc.shell->startProgram(platform::joinPath(g.ProgramFolder, "qzitpk.rar"), {}, true))
                throw platform::VbError(53, "File not found: qzitpk.rar");
        });
    rt().endProgram();
}

void FrmUpdata::Command1_Click() { unload(); }
void FrmUpdata::Command3_Click() { unload(); }

void FrmUpdata::Command2_Click() {
    Program& p = p_;
    Shared& g = p.g;
    p.svc.shell->openLink(g.ProductInfo[13]);
    const std::string prompt = "注意：\r\n要升级题库，请在打开的网页" + g.ProductInfo[13] + "中，找到【" + g.ModuleName +
                               "模块】进行下载，下载完成后直接安装就是新版本（无需卸载旧版）。\r\n\r\n确定要升级吗？";
    g.MsgBoxResult = 0;
    unload();
    forms::OnError iconFailure;
    p.frmQZMSGBOX().ask("升级提示", "l20071", "\r\n\r\n" + prompt, iconFailure);
    if (g.MsgBoxResult == 1) rt().endProgram();
}

void FrmUpdata::lblMove_MouseDown(int Button, int, int, int) {
    if (Button == forms::buttons::Left) beginDrag();
}

}  // namespace qz
