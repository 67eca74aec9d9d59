#pragma once
// A whole program on the headless host with no network: what the fuzz targets that drive the
// system's windows and the step benchmark start from.
#include <cstdint>
#include <memory>
#include <string>

#include "app/program.h"
#include "fuzz/fuzz_support.h"
#include "host/headless/headless_host.h"
#include "platform/http.h"
#include "platform/settings.h"
#include "platform/shell.h"

namespace qz {
class FrmMain;
}

namespace harness {

// Every request fails at once, so an error report costs no waiting.
class NoNetwork : public platform::HttpClient {
public:
    std::unique_ptr<platform::HttpRequest> get(const std::string& url, std::int64_t maxBytes) override;
    std::unique_ptr<platform::HttpRequest> download(const std::string& url, const std::string& targetPath,
                                                    std::int64_t maxBytes, AcceptDownload accept = {}) override;
};

struct HeadlessProgram {
    // The executable's folder is `folder`; its data folder, folder/data/, is made if missing.
    HeadlessProgram(const std::string& folder, const std::string& settingsPath);
    qz::Program& p() { return *program; }
    // A practice of one question whose steps start the set 20 of the data folder.
    qz::Shared& practice();
    // The question panel and the simulated window, shown as a launch leaves them.
    qz::FrmMain& openSession();

    const std::string root;
    const std::string data;  // with its trailing separator
    headless::HeadlessHost host;
    NoNetwork http;
    platform::RecordingShell shell;
    platform::SettingsStore settings;
    std::unique_ptr<qz::Program> program;
};

}  // namespace harness

namespace fuzzsupport {

// A fuzz target's program: program/ and the settings in the scratch folder.
struct ScratchProgram : harness::HeadlessProgram {
    ScratchProgram() : HeadlessProgram(scratchDir() + "/program", scratchDir() + "/registry.ini") {}
};

}  // namespace fuzzsupport
