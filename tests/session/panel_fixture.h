#pragma once
// The question panel of a whole program on the headless host: a scratch installation with a
// question file, the session's shared state set as the launch would set it, and the panel
// loaded by its first touch.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/legacy_text.h"
#include "session/FrmPicture.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/app/program_harness.h"
#include "tests/support/picture_id.h"

namespace paneltest {

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

using testsupport::pictureId;

// A question record: six columns of code, then the task.
inline std::string record(const std::string& task) { return "000211" + task; }

class PanelTest : public ::testing::Test {
public:
    static constexpr const char* QuestionFileName = "288855.mxy";

    // The program before the panel's load, with a session of `count` questions at q.
    void start(int count = 20, int q = 1, int twipsPerPixel = 15) {
        h.reset();
        h = std::make_unique<ProgramHarness>(folder, twipsPerPixel);
        qz::Shared& s = h->g();
        h->p().computeScale();
        s.DataDir = folder.dataDir();
        s.ModuleName = "XYmodule";
        s.ListMode = 5;
        s.InteractionMode = 2;
        s.QuestionCount = static_cast<std::int16_t>(count);
        s.CurrentQuestion = static_cast<std::int16_t>(q);
        s.QuestionFilePath = folder.dataFile(QuestionFileName);
        for (int k = 1; k <= 500; ++k) {
            s.QuestionCodes[static_cast<std::size_t>(k)] = 200 + k;
            s.DoneBefore[static_cast<std::size_t>(k)] = "F";
        }
    }
    // Lines of the question file, encoded and CR LF terminated.
    void writeQuestions(const std::vector<std::string>& lines) {
        folder.writeDataBytes(QuestionFileName, platform::encodeAnsi(testsupport::crlf(lines)));
    }
    qz::FrmTm& panel() { return h->p().frmTm(); }
    qz::Shared& g() { return h->g(); }
    qz::FrmMain& sim() { return h->p().frmMain(); }
    qz::FrmPicture& pictureWindow() { return h->p().frmPicture(); }
    // Shows question q, as navigation does.
    qz::FrmTm& show(int q) {
        g().CurrentQuestion = static_cast<std::int16_t>(q);
        panel().DqExam();
        return panel();
    }
    void removeSkin(const std::string& id) { std::filesystem::remove(folder.dataFile(id + ".mxy")); }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;
};

}  // namespace paneltest
