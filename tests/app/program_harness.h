#pragma once
// A whole program on the headless host, with its error reports going to a loopback server
// and its settings to a scratch file.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "forms/form.h"
#include "host/headless/headless_host.h"
#include "platform/http.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "tests/support/loopback_server.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_random.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// Scheme, host and port of a loopback server, without a trailing slash: what the program
// puts in front of its request paths.
inline std::string originOf(const std::string& url) {
    const std::size_t slash = url.find('/', url.find("//") + 2);
    return slash == std::string::npos ? url : url.substr(0, slash);
}
inline std::string originOf(const LoopbackHttpServer& server) { return originOf(server.url("/")); }

// A window of its own with a timer at 100 ms, for handlers that run while the program waits.
struct TickingForm : forms::Form {
    explicit TickingForm(forms::Runtime& rt) : forms::Form(rt, "TickingForm"), Timer1(this, "Timer1") {
        Timer1.setInterval(100);
    }
    forms::Timer Timer1;
};

struct ProgramHarness {
    explicit ProgramHarness(const ProgramFolder& folder, int twipsPerPixel = 15,
                            std::string settingsPath = {})
        : host(twipsPerPixel),
          settings(settingsPath.empty() ? settingsDir.file("registry.ini") : settingsPath) {
        server.setReply(LoopbackHttpServer::Answer("ok"));
        qz::Services s;
        s.host = &host;
        s.http = &http;
        s.shell = &shell;
        s.settings = &settings;
        s.programFolder = folder.path();
        s.runtimeDir = folder.runtimeDir();
        s.reportServer = originOf(server);
        s.localTime = [this] { return now; };
        s.random = &random;
        program = std::make_unique<qz::Program>(s);
    }
    ~ProgramHarness() { program.reset(); }

    qz::Program& p() { return *program; }
    qz::Shared& g() { return program->g; }

    // Names of the loaded windows, in load order.
    std::vector<std::string> loadedForms() {
        std::vector<std::string> out;
        for (auto* f : program->rt.loadedForms()) out.push_back(f->name());
        return out;
    }
    bool isLoaded(const std::string& name) {
        auto l = loadedForms();
        return std::find(l.begin(), l.end(), name) != l.end();
    }

    // Targets of the error reports the server received.
    std::vector<std::string> reports() {
        std::vector<std::string> out;
        for (const auto& t : server.targets())
            if (t.rfind("/up/error/submit.asp?", 0) == 0) out.push_back(t);
        return out;
    }
    std::vector<std::string> reportsWith(const std::string& fragment) {
        std::vector<std::string> out;
        for (const auto& t : reports())
            if (t.find(fragment) != std::string::npos) out.push_back(t);
        return out;
    }

    // The local time the program reads, and the numbers its paper draw takes.
    platform::LocalTime now{2026, 12, 10, 9, 30, 0};
    ScriptedRandom random;
    LoopbackHttpServer server;
    TempDir settingsDir;
    headless::HeadlessHost host;
    platform::CurlHttpClient http;
    platform::SettingsStore settings;
    platform::RecordingShell shell;  // links and programs the program asked to open
    std::unique_ptr<qz::Program> program;
};

}  // namespace testsupport
