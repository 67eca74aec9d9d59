// The running program: its runtime, its services, the shared state every window reaches,
// and the typed accessors that load a window on first touch.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/records.h"
#include "forms/on_error.h"
#include "forms/runtime.h"
#include "platform/clock.h"
#include "platform/http.h"
#include "platform/instance.h"
#include "platform/keyboard.h"
#include "platform/settings.h"
#include "platform/shell.h"

namespace qz {

class FrmStart;
class FrmFengmian;
class FrmQZMSGBOX;
class FrmAbout;
class FrmTm;
class FrmMain;
class FrmPicture;
class FrmLogon;
class FrmEnd1;
class FrmEnd2;
class FrmChengji;
class FrmCZTS;
class FrmIME;
class frmYanShi;
class FrmUpdata;
// The player's class shares its name with its accessor.
using PlayerForm = frmYanShi;

// How large an answer from the update server may be, in bytes: the advertisement (as large as
// the home screen reads), a list (getHtmlStr's answer and the stored list) and a listed file.
inline constexpr std::int64_t AdvertisementMaxBytes = std::int64_t{4} << 20;
inline constexpr std::int64_t ListMaxBytes = std::int64_t{1} << 20;
inline constexpr std::int64_t ListedFileMaxBytes = std::int64_t{256} << 20;

// What the program needs from outside; tests hand in their own.
struct Services {
    forms::Host* host = nullptr;
    platform::HttpClient* http = nullptr;
    platform::Shell* shell = nullptr;
    platform::SettingsStore* settings = nullptr;
    platform::KeyboardLayouts* keyboard = nullptr;  // null: no layouts to switch to
    std::function<platform::LocalTime()> localTime;  // empty: the system's local time
    platform::RandomNumbers* random = nullptr;      // null: numbers seeded from the clock
    std::string programFolder;                     // the executable's folder
    std::string runtimeDir;                        // where the single-instance lock lies; empty:
                                                   // the user's runtime directory
    std::string reportServer = QZ_REPORT_SERVER;   // scheme and host of the maker's server
    std::string updateServer = QZ_UPDATE_SERVER;   // scheme and host of the question-bank server
    // How long a download may block the program, in ms: the advertisement and the stored list,
    // and each listed file.
    int shortDownloadLimitMs = 5000;
    int fileDownloadLimitMs = 60000;
};

// The module-level variables shared by all windows. Indexes follow the original tables:
// ProductInfo from 0; UnitTable rows from 0, columns 1 to 4.
struct Shared {
    std::string ProgramFolder;
    std::string DataDir;  // with a trailing separator
    double ScaleX = 1;
    double ScaleY = 1;
    std::array<std::string, 41> ProductInfo;
    std::string ModuleName;
    std::string ModuleTitle;
    std::int16_t ModuleNumber = 0;
    std::array<std::array<std::string, 5>, 41> UnitTable;
    std::string ErrorProcName;
    std::int32_t ErrorNumber = 0;
    std::string ErrorDescription;
    std::string RunLogPath;
    std::string OsVersion;
    std::string QuestionBankVersion;
    std::int16_t ListBase = 0;
    bool DemoRunning = false;
    std::string ExamineeName;
    std::int16_t ShowUpdateWindow = 0;
    std::int16_t MsgBoxResult = 0;
    std::int16_t PaperCount = 0;
    std::int16_t UnitCount = 0;
    bool UseInputMethod = false;
    std::int16_t ReturnButton = 0;
    // The session being prepared; per-question arrays are indexed from 1.
    std::int16_t ListMode = 0;
    std::int16_t PaperSlot = 0;
    std::int16_t InteractionMode = 0;
    std::int16_t QuestionCount = 0;
    std::int16_t CurrentQuestion = 0;
    std::array<std::int32_t, 501> QuestionCodes{};
    std::array<std::int16_t, 501> QuestionState{};
    std::array<std::string, 501> DoneBefore;
    std::array<std::int32_t, 501> FirstStepLine{};
    std::array<std::int16_t, 501> ResumeStep{};
    // Per entry: the background and the five screenshot pieces last shown; every launch
    // clears them, and an empty id shows no picture.
    std::array<std::array<std::string, 6>, 501> QuestionPictures;
    std::string QuestionLine;
    std::string StepsFilePath;
    std::string QuestionFilePath;
    std::string TextsFilePath;
    std::int16_t CurrentStep = 0;
    std::string StepLine;
    std::int16_t ExamMinutesLeft = 50;
    // When the paper being worked started, "yyyy-mm-dd hh:mm:ss"; the score report compares
    // it with "-1" as text.
    std::string ExamStartTime;
    std::int16_t AllowPanelUnload = 0;
    // Record files (their ksdata names) that the launch could not read. What the session
    // holds of them was built without them, so its end never writes that over them. Every
    // launch takes in the files held for the run.
    std::set<std::string> UnreadRecords;
    // The files of a group the program's start could not complete: read as the group's new
    // bytes and not written for the rest of the run.
    RecordOverlay HeldRecords;
    // The score report has written the records of the exam held in the session state; the
    // next launch clears it, so however often a report opens, an exam is recorded once.
    bool ExamRecorded = false;
    std::string ExamineeSeat;
    std::string ExamineeSession;
    std::string ExamineeAdmissionNo;
    std::string ExamineeIdNo;
    std::string ChosenKeyboardLayout;
};

class Program {
public:
    explicit Program(const Services& services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the first window and runs until the program ends.
    void run();

    forms::Runtime rt;
    Services svc;
    Shared g;

    // Windows, loaded on first touch.
    FrmStart& frmStart();
    FrmFengmian& frmFengmian();
    FrmQZMSGBOX& frmQZMSGBOX();
    FrmAbout& frmAbout();
    FrmTm& frmTm();
    FrmMain& frmMain();
    FrmPicture& frmPicture();
    FrmLogon& frmLogon();
    FrmEnd1& frmEnd1();
    FrmEnd2& frmEnd2();
    FrmChengji& frmChengji();
    FrmCZTS& frmCZTS();
    FrmIME& frmIME();
    PlayerForm& frmYanShi();
    FrmUpdata& frmUpdata();
    // The windows of a session, when loaded; null otherwise (asking loads nothing).
    FrmTm* loadedFrmTm() const;
    FrmMain* loadedFrmMain() const;
    FrmPicture* loadedFrmPicture() const;
    FrmLogon* loadedFrmLogon() const;
    FrmEnd1* loadedFrmEnd1() const;
    FrmEnd2* loadedFrmEnd2() const;
    FrmChengji* loadedFrmChengji() const;
    FrmCZTS* loadedFrmCZTS() const;
    FrmIME* loadedFrmIME() const;
    PlayerForm* loadedFrmYanShi() const;

    // ---- module procedures ----
    // HTTP GET with a time-out in seconds; the body as text, or the time-out text.
    std::string getHtmlStr(const std::string& url, std::int16_t timeout);
    void ReportError(const std::string& tag, std::int32_t number, const std::string& description);
    void AppendLogEntry(const std::string& path, const std::string& text);
    // Reporting error handling for a procedure with this tag; with firstOnly, failures after the
    // first are skipped silently.
    forms::OnError reporting(const std::string& tag, bool firstOnly = false);
    // What reporting handling does with one fault: noted as the last error, then reported.
    void reportFault(const std::string& tag, const platform::VbError& e);
    // The request URL of an error report.
    std::string errorReportUrl(const std::string& tag, std::int32_t number, const std::string& description) const;

    // Pictures of the data folder and the like; the path may use either separator.
    forms::PicturePtr LoadPicture(const std::string& path);
    // A skin picture of the data folder by its id, read from its file at every call.
    forms::PicturePtr SkinPicture(const std::string& id);
    // The keyboard layouts of the services, or none.
    platform::KeyboardLayouts& keyboard();
    // Now, as the exam records and the paper draw take it.
    platform::LocalTime localNow() const;
    platform::RandomNumbers& random();

    // The screen's twips per pixel over 15, as start-up and the home screen compute it.
    void computeScale();
    // Design twips on the screen: horizontal values by ScaleX, vertical ones by ScaleY.
    int sx(double design) const;
    int sy(double design) const;

    // Takes the single-instance lock of this user; false only when another copy holds it. A
    // lock that cannot be taken at all lets this copy run.
    bool takeInstanceLock();
    // Takes the lock of the program folder, FolderLockName in ksdata (made when missing), which
    // every copy on the folder meets whatever its user or runtime folder; false only when
    // another copy holds it. A ksdata that cannot hold it (read-only) lets this copy run.
    bool takeFolderLock();
    // Whether this copy holds the folder's lock; start-up work that must never race another
    // copy on the same records asks.
    bool holdsFolderLock() const { return folderLock_.held(); }
    // A run-log entry from before the run log is named; held, then written once it is.
    void logAtStart(const std::string& text);
    // Names the run log and writes what start-up held for it.
    void openRunLog(const std::string& path);

    static constexpr const char* TimeoutText = "error-timeout，网络状况不好，请重试！";
    // The folder lock's file in ksdata: hidden, and no record's or temporary file's name.
    static constexpr const char* FolderLockName = ".instance.lock";

private:
    platform::NoKeyboardLayouts noKeyboard_;
    platform::SystemRandomNumbers systemRandom_;
    std::unique_ptr<forms::FormSlot<FrmStart>> frmStart_;
    std::unique_ptr<forms::FormSlot<FrmFengmian>> frmFengmian_;
    std::unique_ptr<forms::FormSlot<FrmQZMSGBOX>> frmQZMSGBOX_;
    std::unique_ptr<forms::FormSlot<FrmAbout>> frmAbout_;
    std::unique_ptr<forms::FormSlot<FrmIME>> frmIME_;
    std::unique_ptr<forms::FormSlot<FrmTm>> frmTm_;
    std::unique_ptr<forms::FormSlot<FrmMain>> frmMain_;
    std::unique_ptr<forms::FormSlot<FrmPicture>> frmPicture_;
    std::unique_ptr<forms::FormSlot<FrmLogon>> frmLogon_;
    std::unique_ptr<forms::FormSlot<FrmEnd1>> frmEnd1_;
    std::unique_ptr<forms::FormSlot<FrmEnd2>> frmEnd2_;
    std::unique_ptr<forms::FormSlot<FrmChengji>> frmChengji_;
    std::unique_ptr<forms::FormSlot<FrmCZTS>> frmCZTS_;
    std::unique_ptr<forms::FormSlot<PlayerForm>> frmYanShi_;
    std::unique_ptr<forms::FormSlot<FrmUpdata>> frmUpdata_;
    // getHtmlStr's request and wait, with the error handling the caller chose: its own
    // reporting one, or a silent one for the request of an error report.
    std::string fetchPolled(const std::string& url, std::int16_t timeout, forms::OnError& on);

    platform::SingleInstanceLock instanceLock_;
    platform::SingleInstanceLock folderLock_;
    std::vector<std::string> heldLogEntries_;
};

}  // namespace qz
