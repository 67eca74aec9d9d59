#pragma once
// A whole program on the headless host in a scratch program folder, with no network: what
// the targets that drive the system's windows start from.
#include <string>

#include "app/program.h"
#include "fuzz/fuzz_support.h"
#include "host/headless/headless_host.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

namespace fuzzsupport {

struct HeadlessProgram {
    explicit HeadlessProgram(const std::string& programFolder) : settings(scratchDir() + "/registry.ini") {
        qz::Services s;
        s.host = &host;
        s.http = &http;
        s.shell = &shell;
        s.settings = &settings;
        s.programFolder = programFolder;
        program = std::make_unique<qz::Program>(s);
    }
    ~HeadlessProgram() { program.reset(); }
    qz::Program& p() { return *program; }
    // A practice of one question whose steps start the set 20 of the data folder.
    qz::Shared& practice(const std::string& root, const std::string& dataDir) {
        qz::Shared& g = program->g;
        g.DataDir = dataDir;
        g.ProgramFolder = root;
        g.StepsFilePath = dataDir + "288820.mxy";
        g.TextsFilePath = dataDir + "288890.mxy";
        g.QuestionCount = 1;
        g.CurrentQuestion = 1;
        g.CurrentStep = 1;
        g.FirstStepLine[1] = 1;
        g.InteractionMode = 2;
        return g;
    }
    // The question panel and the simulated window, shown as a launch leaves them.
    qz::FrmMain& openSession() {
        program->frmTm().show();
        qz::FrmMain& m = program->frmMain();
        m.show();
        return m;
    }

    headless::HeadlessHost host;
    NoNetwork http;
    platform::RecordingShell shell;
    platform::SettingsStore settings;
    std::unique_ptr<qz::Program> program;
};

}  // namespace fuzzsupport
