#pragma once
// A whole program on the headless host in a scratch program folder, with no network: what
// the targets that drive the system's windows start from.
#include <string>

#include "app/program.h"
#include "fuzz/fuzz_support.h"
#include "host/headless/headless_host.h"
#include "platform/settings.h"
#include "platform/shell.h"

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

    headless::HeadlessHost host;
    NoNetwork http;
    platform::RecordingShell shell;
    platform::SettingsStore settings;
    std::unique_ptr<qz::Program> program;
};

}  // namespace fuzzsupport
