// The end of a practice: the learner's records brought in line with what was done and
// marked, both windows of the practice closed, and the home screen back on its section.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/program.h"
#include "forms/on_error.h"
#include "home/FrmFengmian.h"
#include "session/FrmPicture.h"
#include "session/FrmTm.h"
#include "session/learner_records.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

namespace {

std::int16_t returnButtonFor(std::int16_t listMode) {
    switch (listMode) {
        case 5: case 6: case 20: return 16;
        case 9: case 10: case 11: return 18;
        case 12: case 13: case 14: return 19;
        default: return 0;
    }
}

bool isUnit(int u) { return u >= 0 && u < 26; }

}  // namespace

void FrmTm::EndPractice() {
    // The paper question below runs events while the panel is still up.
    if (ending_) return;
    ending_ = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{ending_};

    // Unloading the panel ends every use of its members; only these go on.
    Program& p = p_;
    Shared& g = p.g;
    forms::OnError on;
    bool unsaved = false;
    auto save = [&](const auto& write) {
        if (!on(write)) unsaved = true;
    };
    auto file = [&](const std::string& name) { return recordfile::path(g.ProgramFolder, name); };

    // Hidden only when there: loading it only to hide it would leave a window behind.
    on([&] {
        if (FrmPicture* picture = p.loadedFrmPicture()) picture->hide();
    });
    on([&] { Image2.setCaption("显示图片"); });
    on([&] { LblZXH_Click(); });

    const int count = std::min<int>(g.QuestionCount, QuestionCodeList::MaxEntries);
    std::vector<WorkedEntry> entries;
    for (int i = 1; i <= count; ++i) {
        const std::int16_t s = g.QuestionState[static_cast<std::size_t>(i)];
        entries.push_back({QuestionCode{g.QuestionCodes[static_cast<std::size_t>(i)]}.text(), questionstate::done(s),
                           questionstate::marked(s)});
    }
    auto done = [&](std::size_t k) { return k >= 1 && k <= entries.size() && entries[k - 1].done; };
    bool someDone = false;
    for (const auto& e : entries) someDone = someDone || e.done;
    const std::int16_t mode = g.ListMode;

    // Unit progress.
    const int unit = mode == 20 ? g.ListBase : mode == 6 ? g.PaperSlot : -1;
    // A file the start of the program holds is not written however it reads: the next start
    // puts its group's bytes there.
    auto held = [&](const std::string& name) { return g.HeldRecords.holds(file(name)); };
    if (someDone && isUnit(unit)) {
        if (held(recordfile::UnitProgress)) {
            unsaved = true;
        } else if (auto lines = readUnitProgress(g.HeldRecords, file(recordfile::UnitProgress))) {
            lines->resize(26);
            FlagLine line;
            // A whole unit's list knows what was done before only from the progress the launch
            // read; without it, replacing the line would lose that, so the done ones are added.
            if (mode == 20 && g.UnreadRecords.count(recordfile::UnitProgress) == 0) {
                line.fit(entries.size());
                for (std::size_t i = 1; i <= entries.size(); ++i)
                    if (done(i)) line.set(i);
            } else {
                line = FlagLine((*lines)[static_cast<std::size_t>(unit)]);
                for (std::size_t i = 1; i <= entries.size(); ++i) {
                    const int q = QuestionCode{g.QuestionCodes[i]}.question();
                    if (done(i) && q > 0) line.set(static_cast<std::size_t>(q));
                }
            }
            (*lines)[static_cast<std::size_t>(unit)] = line.text();
            save([&] { writeUnitProgress(file(recordfile::UnitProgress), *lines, g.UnitCount); });
        } else {
            unsaved = true;
        }
    }

    // The wrong questions' flags; the list itself is the score report's.
    if (someDone && (mode == 12 || mode == 13)) {
        if (pairUnread(g.UnreadRecords, recordfile::WrongQuestions, recordfile::WrongReview)) {
            unsaved = true;
        } else if (auto wrong = readReviewedList(g.HeldRecords, file(recordfile::WrongQuestions),
                                                 file(recordfile::WrongReview))) {
            if (mode == 12) {
                for (std::size_t i = 1; i <= entries.size(); ++i)
                    if (done(i)) wrong->reviewed.set(i);
            } else {
                wrong->reviewed.markInOrder(done);
            }
            wrong->reviewed.fit(wrong->codes.size());
            save([&] { writeRecordGroup({recordLineBytes(file(recordfile::WrongReview), wrong->reviewed.text())}); });
        } else {
            unsaved = true;
        }
    }

    // The favourites with their flags, one pair computed whole before either file is written.
    if (pairUnread(g.UnreadRecords, recordfile::Favourites, recordfile::FavouritesReview)) {
        unsaved = true;
    } else if (auto fav =
                   readReviewedList(g.HeldRecords, file(recordfile::Favourites), file(recordfile::FavouritesReview))) {
        if (someDone && mode == 9)
            for (std::size_t i = 1; i <= entries.size(); ++i)
                if (done(i)) fav->reviewed.set(i);
        if (someDone && mode == 10) fav->reviewed.markInOrder(done);
        if (mode < 9 || mode > 11) addMarked(*fav, entries);
        removeUnmarked(*fav, entries);
        save([&] { writeReviewedList(file(recordfile::Favourites), file(recordfile::FavouritesReview), *fav); });
    } else {
        unsaved = true;
    }

    // One paper's wrong questions, when the learner agrees.
    if (someDone && mode == 2) {
        int answer = 0;
        on([&] {
            answer = rt().msgBox(
                "本次答对的题目要从“错题复习”中去掉吗？\r\n如果你认为掌握的还不太好，建议你点“否”，把它们保留在错题记录中。",
                forms::mb::YesNo | forms::mb::Question | forms::mb::DefaultButton2);
        });
        if (answer == forms::mb::ResultYes) {
            const std::string path = file(recordfile::paperWrong(g.PaperSlot));
            if (held(recordfile::paperWrong(g.PaperSlot))) {
                unsaved = true;
            } else if (auto codes = readPaperWrong(g.HeldRecords, path)) {
                std::vector<std::string> kept;
                for (std::size_t i = 1; i <= codes->size(); ++i)
                    if (!done(i)) kept.push_back((*codes)[i - 1]);
                save([&] { writeRecordLine(path, joinCodes(kept)); });
            } else {
                unsaved = true;
            }
        }
    }

    on([&] { TimeKS.setEnabled(false); });
    on([&] { TimStartYS.setEnabled(false); });
    // A demonstration asked for and not started yet: the next session's simulated window
    // would otherwise take it for one running and refuse every input.
    g.DemoRunning = false;
    on([&] { TimerREDO.setEnabled(false); });

    g.AllowPanelUnload = 1;
    on([&] {
        if (FrmMain* m = p.loadedFrmMain()) m->unload();
    });
    on([&] { unload(); });

    g.ReturnButton = returnButtonFor(mode);
    if (g.ReturnButton != 0) on([&] { p.frmFengmian().TimFH.setEnabled(true); });
    on([&] { p.frmFengmian().show(); });

    if (unsaved) {
        on([&] {
            p.frmQZMSGBOX().ask("保存记录", "l20072", "\r\n\r\n学习记录未能保存，\r\n本次练习的部分结果没有记下。", on);
        });
    }
}

}  // namespace qz
