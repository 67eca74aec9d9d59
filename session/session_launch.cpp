#include "session/session_launch.h"

#include <algorithm>
#include <vector>

#include "app/program.h"
#include "app/records.h"
#include "platform/textfile.h"
#include "session/learner_records.h"
#include "session/question_sets.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

int buildListSet(Program& p, const std::string& list, int n, forms::OnError& on) {
    Shared& g = p.g;
    const int count = QuestionCodeList::entryCount(list);
    for (int i = 1; i <= count; ++i)
        on([&] { g.QuestionCodes[static_cast<std::size_t>(i)] = QuestionCodeList::entry(list, i).value; });
    g.QuestionCount = static_cast<std::int16_t>(count);
    // Only the built numbers: the units' own sets and the texts file lie above them.
    if (n < 0 || n > QuestionSet::LastUnit) return -1;
    BuiltSet set;
    if (!on([&] { set = buildSet(g.DataDir, list); }) || !set.sound) return -1;
    if (!on([&] { writeSet(g.DataDir, n, set); })) return -1;
    return n;
}

bool prepareSession(Program& p, int builtSet, bool progressUnread, forms::OnError& on) {
    Shared& g = p.g;
    if (g.QuestionCount > QuestionCodeList::MaxEntries) g.QuestionCount = QuestionCodeList::MaxEntries;
    const QuestionSet set{g.ListMode + g.ListBase};
    // A whole unit reads its own set; every other list the set just built for it. Nothing
    // of the session changes until the set has proved whole, so a refusal records nothing.
    bool sound = g.ListMode == 20 ? g.ListBase >= 0 && g.ListBase <= QuestionSet::LastUnit : builtSet == set.n;
    std::vector<QuestionRecord> records;
    std::vector<std::string> steps;
    sound = sound && on([&] {
        records = usableRecords(platform::readLines(set.questionPath(g.DataDir)));
        steps = platform::readLines(set.stepsPath(g.DataDir));
    });
    if (!sound || !soundSet(records, g.QuestionCount, steps)) return false;
    // Such a step holds the learner on its question for good; the bank's makers hear of all of
    // them in one report per launch, and the practice goes on.
    g.TextsFilePath = g.DataDir + "288890.mxy";
    on([&] {
        const std::vector<StuckStep> stuck =
            stuckSteps(records, g.QuestionCount, steps, g.ProgramFolder, g.TextsFilePath);
        if (stuck.empty()) return;
        std::string what = "Steps no learner can complete:";
        for (const StuckStep& one : stuck) what += " " + one.text() + ";";
        p.ReportError("startlianxi", 5, what);
    });
    g.StepsFilePath = set.stepsPath(g.DataDir);
    g.QuestionFilePath = set.questionPath(g.DataDir);
    g.CurrentQuestion = 1;
    g.CurrentStep = 1;
    g.ExamMinutesLeft = 50;
    g.ExamRecorded = false;
    const std::vector<std::int32_t> first = firstStepLines(records);
    for (std::size_t k = 1; k <= first.size() && k < g.FirstStepLine.size(); ++k) g.FirstStepLine[k] = first[k - 1];
    for (auto& pictures : g.QuestionPictures) pictures.fill({});

    std::vector<std::string> favourites;
    g.UnreadRecords.clear();
    for (const std::string& name : g.HeldRecords.names()) g.UnreadRecords.insert(name);
    const bool favouritesRead = on([&] {
        const auto lines = readRecordLines(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::Favourites));
        if (!lines.empty()) favourites = splitCodes(lines.front());
    });
    if (!favouritesRead) g.UnreadRecords.insert(recordfile::Favourites);
    if (progressUnread) g.UnreadRecords.insert(recordfile::UnitProgress);
    for (std::size_t k = 1; k < g.QuestionCodes.size(); ++k) {
        const std::string code = QuestionCode{g.QuestionCodes[k]}.text();
        if (std::find(favourites.begin(), favourites.end(), code) != favourites.end())
            g.QuestionState[k] = static_cast<std::int16_t>(g.QuestionState[k] + 2);
    }
    return true;
}

void refuseLaunch(Program& p, forms::OnError& iconFailure) {
    p.frmQZMSGBOX().ask("题库错误", "l20072", "\r\n\r\n本次练习的题目文件不完整或已损坏，\r\n无法开始练习。\r\n请重新安装或更新题库！",
                        iconFailure);
}

}  // namespace qz
