#include "session/FrmChengji.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/program.h"
#include "forms/on_error.h"
#include "home/FrmFengmian.h"
#include "platform/clock.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "session/learner_records.h"
#include "session/question_sets.h"
#include "session/session_launch.h"
#include "simwindow/FrmMain.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

namespace {

constexpr forms::Color ReportBack = 0xFEF9F6;
constexpr int PaperSize = 40;

}  // namespace

FrmChengji::FrmChengji(Program& p)
    : forms::Form(p.rt, "FrmChengji"),
      Picture1(this, "Picture1"),
      Label1(&Picture1, "Label1"),
      Frame1(&Picture1, "Frame1"),
      CmTNO(&Frame1, "CmTNO"),
      LblTiMuYQ(&Picture1, "LblTiMuYQ"),
      Command1(&Picture1, "Command1"),
      Command2(&Picture1, "Command2"),
      Command3(&Picture1, "Command3"),
      Timer1(this, "Timer1"),
      p_(p) {
    setFormBorderStyle(0);
    setShowInTaskbar(false);
    setBackColor(ReportBack);
    setWindowState(2);

    Picture1.setBorderStyle(0);
    Picture1.setBackColor(ReportBack);
    Picture1.move(0, 0, 12000, 9000);
    Label1.setBackStyle(0);
    Label1.setFont({"宋体", 12, true});
    Label1.setAutoSize(true);
    Label1.setCaption("得分：0分");
    Frame1.setCaption("");
    Frame1.setBorderStyle(0);
    Frame1.setBackColor(ReportBack);
    Frame1.setVisible(false);
    for (int i = 1; i <= PaperSize; ++i) CmTNO.load(i);
    CmTNO.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { CmTNO_Click(i); }; });
    LblTiMuYQ.setBackStyle(0);
    LblTiMuYQ.setWordWrap(true);
    LblTiMuYQ.setFont({"宋体", 10});
    LblTiMuYQ.setCaption("");

    Timer1.setInterval(100);
    Timer1.setEnabled(true);
    Timer1.Tick = [this] { Timer1_Timer(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
}

int FrmChengji::sx(double v) const { return p_.sx(v); }
int FrmChengji::sy(double v) const { return p_.sy(v); }
forms::PicturePtr FrmChengji::skin(const std::string& id) { return p_.SkinPicture(id); }

// ---- load ----

void FrmChengji::Form_Load() {
    Shared& g = p_.g;
    forms::OnError step;

    // The exam's windows may be gone already; asking must not load them again.
    g.AllowPanelUnload = 1;
    step([&] {
        if (FrmMain* m = p_.loadedFrmMain()) m->unload();
    });
    step([&] {
        if (FrmTm* t = p_.loadedFrmTm()) t->unload();
    });

    step([&] { setIcon(skin("l62011")); });
    step([&] { setCaption("Quorvane练习系统"); });
    step([&] { Command3.setVisible(true); });
    step([&] { Picture1.setPicture(skin("9l0058")); });

    step([&] { Command3.move(sx(3480), sy(4080), sx(1920), sy(450)); });
    step([&] {
        Command1.move(Command3.left() + Command3.width() + sx(120), Command3.top(), Command3.width(), Command3.height());
    });
    step([&] { Command2.move(Command1.left() + Command1.width() + sx(120), Command3.top(), sx(870), Command3.height()); });
    step([&] { Command1.setPicture(skin("l01035")); });
    step([&] { Command2.setPicture(skin("l01037")); });
    step([&] { Command3.setPicture(skin("l01036")); });
    step([&] { Label1.moveTo(sx(5010), sy(5040)); });

    // The paper is the set that was worked, whatever its file holds now.
    const int entries = std::clamp<int>(g.QuestionCount, 0, PaperSize);
    int completed = 0;
    for (int i = 1; i <= PaperSize; ++i) {
        vtrlButton& b = CmTNO(i);
        const bool done = i <= entries && questionstate::done(g.QuestionState[static_cast<std::size_t>(i)]);
        if (done) ++completed;
        step([&] { b.setCaption(std::to_string(i)); });
        step([&] { b.move(sx(((i - 1) % 10) * 480), sy(((i - 1) / 10) * 480), sx(450), sy(450)); });
        step([&] { b.setPicture(skin(done ? "l01033" : "l01034")); });
        step([&] { b.setFontBold(true); });
        step([&] { b.setForeColor(forms::colors::Black); });
        if (i > entries) step([&] { b.setVisible(false); });
    }

    if (!g.ExamRecorded) {
        unsaved_ = true;
        step([&] { unsaved_ = !writeRecords(entries, completed); });
        g.ExamRecorded = true;
    }

    step([&] {
        const vtrlButton& last = CmTNO(PaperSize);
        Frame1.setWidth(last.left() + last.width());
        Frame1.setHeight(last.top() + last.height());
    });
    step([&] { Frame1.moveTo(platform::clng((Picture1.width() - Frame1.width()) / 2.0), sy(5520)); });
    step([&] { LblTiMuYQ.setWidth(sx(9855)); });
    step([&] { LblTiMuYQ.setHeight(sy(855)); });
    step([&] {
        LblTiMuYQ.moveTo(platform::clng((Picture1.width() - LblTiMuYQ.width()) / 2.0),
                         Frame1.top() + Frame1.height() + sy(360));
    });
    step([&] { Frame1.setVisible(true); });

    const std::string score = scoreText(completed);
    step([&] {
        Label1.setCaption(g.ListMode == 8 ? "随机题得分：" + score + "分"
                                          : "第" + std::to_string(g.ListBase + 1) + "套得分：" + score + "分");
    });

    g.ExamStartTime = "-1";

    step([&] {
        const std::vector<std::string> lines = platform::readLines(g.QuestionFilePath);
        for (std::size_t k = 1; k <= lines.size() && k <= PaperSize; ++k)
            RequirementTexts[k] = QuestionRecord{lines[k - 1]}.task();
    });
}

bool FrmChengji::writeRecords(int paperEntries, int completed) {
    Shared& g = p_.g;
    auto file = [&](const std::string& name) { return recordfile::path(g.ProgramFolder, name); };

    std::vector<WorkedEntry> paper;
    std::vector<WorkedEntry> notCompleted;
    for (int i = 1; i <= paperEntries; ++i) {
        const std::int16_t s = g.QuestionState[static_cast<std::size_t>(i)];
        const WorkedEntry e{QuestionCode{g.QuestionCodes[static_cast<std::size_t>(i)]}.text(), questionstate::done(s),
                            questionstate::marked(s)};
        paper.push_back(e);
        // Added to the wrong questions as marks are to the favourites: each code once.
        if (!e.done) notCompleted.push_back({e.code, false, true});
    }
    std::vector<std::string> paperWrong;
    for (const auto& e : notCompleted) paperWrong.push_back(e.code);

    // Every new content comes from what was read before the first write, and all of it is one
    // group: after a crash the next launch shows the exam wholly recorded or not at all. A
    // record that is there but cannot be read, or that the start of the program holds, is not
    // written over with what little this exam knows.
    auto held = [&](const std::string& name) { return g.HeldRecords.holds(file(name)); };
    std::optional<ReviewedList> favourites;
    std::optional<ReviewedList> wrong;
    std::optional<ExamHistory> history;
    forms::OnError read;
    if (!held(recordfile::Favourites) && !held(recordfile::FavouritesReview))
        read([&] {
            favourites =
                readReviewedList(g.HeldRecords, file(recordfile::Favourites), file(recordfile::FavouritesReview));
        });
    if (!held(recordfile::WrongQuestions) && !held(recordfile::WrongReview))
        read([&] {
            wrong = readReviewedList(g.HeldRecords, file(recordfile::WrongQuestions), file(recordfile::WrongReview));
        });
    if (!held(recordfile::ExamHistory))
        read([&] { history = readExamHistory(g.HeldRecords, file(recordfile::ExamHistory)); });
    const std::string paperWrongName = recordfile::paperWrong(g.PaperSlot);
    const bool paperHeld = held(paperWrongName);
    // Only added to: the end of a practice is what removes a favourite.
    if (favourites) addMarked(*favourites, paper);
    if (wrong) addMarked(*wrong, notCompleted);
    if (history) recordExam(*history, g.PaperSlot, g.ExamStartTime, completed, platform::timeText(p_.localNow()));

    std::vector<RecordBytes> group;
    forms::OnError write;
    const bool planned = write([&] {
        auto add = [&](std::vector<RecordBytes> files) { group.insert(group.end(), files.begin(), files.end()); };
        if (favourites)
            add(reviewedListBytes(file(recordfile::Favourites), file(recordfile::FavouritesReview), *favourites));
        if (!paperHeld) group.push_back(recordLineBytes(file(paperWrongName), joinCodes(paperWrong)));
        if (wrong) add(reviewedListBytes(file(recordfile::WrongQuestions), file(recordfile::WrongReview), *wrong));
        if (history)
            group.push_back({file(recordfile::ExamHistory), platform::linesFileBytes(examHistoryLines(*history, 31))});
    });
    const bool written = planned && write([&] { writeRecordGroup(group); });
    return written && favourites && wrong && history && !paperHeld;
}

void FrmChengji::Timer1_Timer() {
    forms::OnError step;
    step([&] {
        Picture1.moveTo(platform::clng((width() - Picture1.width()) / 2.0),
                        platform::clng((height() - Picture1.height()) / 2.0));
    });
    Timer1.setEnabled(false);
    tellUnsaved();
}

void FrmChengji::tellUnsaved() {
    if (!unsaved_) return;
    unsaved_ = false;
    forms::OnError step;
    step([&] {
        p_.frmQZMSGBOX().ask("保存记录", "l20072", "\r\n\r\n学习记录未能保存，\r\n本次考试的部分结果没有记下。", step);
    });
}

void FrmChengji::CmTNO_Click(int Index) {
    if (Index < 1 || Index > PaperSize) return;
    LblTiMuYQ.setCaption("第" + std::to_string(Index) + "题： " + RequirementTexts[static_cast<std::size_t>(Index)]);
}

// ---- buttons ----

void FrmChengji::Command1_Click() {
    tellUnsaved();
    // The report is unloaded on the way; only these go on.
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError step;
    // The list, its set and its done marks stay, and so does PaperSlot: the panel's title of a
    // random paper reads it.
    g.InteractionMode = 2;
    g.AllowPanelUnload = 0;
    for (int i = 1; i <= PaperSize; ++i) g.DoneBefore[static_cast<std::size_t>(i)] = "F";
    step([&] { unload(); });
    // Before the panel's first touch: its load shows the current question.
    g.CurrentQuestion = 1;
    step([&] { p.frmTm().TimKsModel.setEnabled(true); });
    step([&] { p.frmMain().show(); });
    step([&] { p.frmTm().show(); });
    step([&] { p.frmTm().LblUnit.setCaption(""); });
    g.CurrentQuestion = 1;
    step([&] { p.frmTm().TimerREDO.setEnabled(true); });
    step([&] { p.frmMain().dockPanel(); });
    // Last: the panel's load started the countdown again.
    step([&] { p.frmTm().TimeKS.setEnabled(false); });
}

void FrmChengji::Command2_Click() {
    tellUnsaved();
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError step;
    step([&] {
        if (FrmMain* m = p.loadedFrmMain()) m->unload();
    });
    step([&] { unload(); });
    g.ReturnButton = 17;
    step([&] { p.frmFengmian().TimFH.setEnabled(true); });
    step([&] { p.frmFengmian().show(); });
}

void FrmChengji::Command3_Click() {
    tellUnsaved();
    InitShiTi();
}

void FrmChengji::InitShiTi() {
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError silent;
    const std::optional<std::vector<std::string>> codes =
        readPaperWrong(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::paperWrong(g.PaperSlot)));
    if (codes && codes->empty()) {
        p.frmQZMSGBOX().ask("没有生成错题", "l20071",
                            "\r\n\r\n\r\n你可能是还没有做本套试题，或者上次得分为0。\r\n请点“开始考试”做本套试题。", silent);
        return;
    }

    // A refusal leaves the paper as the report found it, ready for its other buttons.
    struct Kept {
        std::int16_t listMode, listBase, interactionMode, questionCount;
        std::array<std::int32_t, 501> codes;
        std::array<std::int16_t, 501> state;
    };
    const Kept kept{g.ListMode, g.ListBase, g.InteractionMode, g.QuestionCount, g.QuestionCodes, g.QuestionState};
    int built = -1;
    if (codes) {
        forms::OnError building = p.reporting("initshiti");
        built = buildListSet(p, joinCodes(*codes), 19, building);
    }
    g.ListMode = 2;
    g.ListBase = 17;
    g.InteractionMode = 2;
    const int count = std::clamp<int>(g.QuestionCount, 0, QuestionCodeList::MaxEntries);
    // Cleared before the launch marks the favourites, so the marks sit on a fresh list.
    for (int i = 1; i <= count; ++i) g.QuestionState[static_cast<std::size_t>(i)] = 0;
    forms::OnError launching = p.reporting("startlianxi");
    if (built < 0 || !prepareSession(p, built, false, launching)) {
        g.ListMode = kept.listMode;
        g.ListBase = kept.listBase;
        g.InteractionMode = kept.interactionMode;
        g.QuestionCount = kept.questionCount;
        g.QuestionCodes = kept.codes;
        g.QuestionState = kept.state;
        refuseLaunch(p, silent);
        return;
    }
    for (int i = 1; i <= count; ++i) g.DoneBefore[static_cast<std::size_t>(i)] = "F";

    forms::OnError step;
    for (int i = count + 1; i <= PaperSize; ++i) step([&] { p.frmTm().CmTNO(i).setVisible(false); });
    step([&] { p.frmTm().TimKsModel.setEnabled(true); });
    step([&] { p.frmTm().LblUnit.setCaption(""); });
    g.CurrentQuestion = 1;
    step([&] { p.frmTm().TimerREDO.setEnabled(true); });
    step([&] { unload(); });
    step([&] { p.frmMain().show(); });
    step([&] { p.frmTm().show(); });
    step([&] { p.frmMain().dockPanel(); });
    step([&] { p.frmTm().TimeKS.setEnabled(false); });
    // What the panel's load noted of the list goes; the favourites' marks stay.
    for (int i = 1; i <= count; ++i) {
        auto& s = g.QuestionState[static_cast<std::size_t>(i)];
        s = static_cast<std::int16_t>(s & 2);
    }
}

}  // namespace qz
