// Every question of the sample's units demonstrated on the virtual clock, from the middle of
// a practice: the player lays the question's run out in order to its end, its hint seen whole
// on the way, and the session comes back exactly as it was, with no file touched and nothing
// reported.
#include <filesystem>
#include <map>

#include "platform/textfile.h"
#include "simwindow/step_record.h"
#include "tests/demo/player_fixture.h"
#include "tests/support/hint_seen.h"
#include "tests/support/temp_dir.h"

namespace playertest {
namespace {

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = testsupport::readFileBytes(e.path().string());
    return files;
}

TEST_F(PlayerTest, EverySampleQuestionIsDemonstratedToItsEndAndHandsBack) {
    folder.installSampleBank();
    int demonstrated = 0;
    for (int set = 20; set <= 39; ++set) {
        const std::string steps = folder.dataFile("2888" + std::to_string(set) + ".mxy");
        if (!std::filesystem::exists(steps)) continue;
        const std::vector<std::string> lines = platform::readLines(steps);
        std::vector<long> firsts;
        for (long n = 1, first = 1; n <= static_cast<long>(lines.size()); ++n)
            if (qz::steps::stepCode(lines[static_cast<std::size_t>(n - 1)]) == "9999") {
                firsts.push_back(first);
                first = n + 1;
            }
        h = std::make_unique<ProgramHarness>(folder, 15);
        qz::Shared& s = g();
        h->p().computeScale();
        s.DataDir = folder.dataDir();
        s.ProgramFolder = folder.path();
        s.ModuleName = "XYmodule";
        s.ListMode = 5;
        s.StepsFilePath = steps;
        s.TextsFilePath = folder.dataFile("288890.mxy");
        s.QuestionFilePath = folder.dataFile("2888" + std::to_string(set + 50) + ".mxy");
        s.QuestionCount = static_cast<std::int16_t>(firsts.size());
        s.InteractionMode = 2;
        for (std::size_t q = 0; q < firsts.size(); ++q) {
            s.FirstStepLine[q + 1] = static_cast<std::int32_t>(firsts[q]);
            s.ResumeStep[q + 1] = 1;
        }
        for (std::size_t q = 1; q <= firsts.size(); ++q) {
            SCOPED_TRACE("set " + std::to_string(set) + " question " + std::to_string(q));
            s.CurrentQuestion = static_cast<std::int16_t>(q);
            if (q == 1) {
                sim().show();
                tm().show();
            }
            tm().DqExam();
            run(300);
            // Every second question from the middle, where it has a second step.
            if (q % 2 == 0 && qz::steps::stepCode(lines[static_cast<std::size_t>(firsts[q - 1] - 1)]) != "9999") {
                s.CurrentStep = 2;
                s.ResumeStep[q] = 2;
                sim().setData();
                run(300);
            }
            const auto state = std::make_tuple(s.CurrentStep, s.ResumeStep[q], s.QuestionState[q],
                                               s.QuestionPictures[q], sim().laidOutRecord());
            const auto data = snapshot(folder.dataDir());
            const auto records = snapshot(folder.ksdata());

            qz::frmYanShi& y = begin();
            long lastStep = 0;
            bool inOrder = true;
            for (int ms = 0; ms < 60000 && player(); ms += 100) {
                if (y.PlayerStep < lastStep) inOrder = false;
                lastStep = y.PlayerStep;
                if (y.record() != lines[static_cast<std::size_t>(firsts[q - 1] + y.PlayerStep - 2)]) inOrder = false;
                // The hint stands where the window shows it, its success at the end too.
                if (y.LHelp.visible()) {
                    EXPECT_EQ(testsupport::hintHidden(y.LHelp), "") << "step " << y.PlayerStep;
                }
                if (y.code() == "9999") break;
                run(100);
            }
            ASSERT_NE(player(), nullptr);
            EXPECT_TRUE(inOrder);
            EXPECT_EQ(y.code(), "9999");
            const long runLength = [&] {
                long n = firsts[q - 1];
                while (qz::steps::stepCode(lines[static_cast<std::size_t>(n - 1)]) != "9999") ++n;
                return n - firsts[q - 1] + 1;
            }();
            EXPECT_EQ(y.PlayerStep, runLength);
            run(800);
            expectHandedBack();
            EXPECT_EQ(s.InteractionMode, 2);
            EXPECT_EQ(std::make_tuple(s.CurrentStep, s.ResumeStep[q], s.QuestionState[q], s.QuestionPictures[q],
                                      sim().laidOutRecord()),
                      state);
            EXPECT_EQ(snapshot(folder.dataDir()), data);
            EXPECT_EQ(snapshot(folder.ksdata()), records);
            ++demonstrated;
        }
        EXPECT_TRUE(h->reports().empty());
    }
    EXPECT_GT(demonstrated, 50);
}

}  // namespace
}  // namespace playertest
