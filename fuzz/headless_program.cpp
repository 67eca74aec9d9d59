#include "fuzz/headless_program.h"

#include <stdexcept>

#include "platform/files.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

namespace harness {

namespace {

class FailedRequest : public platform::HttpRequest {
public:
    int readyState() override { return 4; }
    bool failed() const override { return true; }
    std::string responseBody() override { return {}; }
    void wait(int) override {}
};

}  // namespace

std::unique_ptr<platform::HttpRequest> NoNetwork::get(const std::string&, std::int64_t) {
    return std::make_unique<FailedRequest>();
}

std::unique_ptr<platform::HttpRequest> NoNetwork::download(const std::string&, const std::string&, std::int64_t,
                                                           AcceptDownload) {
    return std::make_unique<FailedRequest>();
}

HeadlessProgram::HeadlessProgram(const std::string& folder, const std::string& settingsPath)
    : root(folder), data(folder + "/data/"), settings(settingsPath) {
    if (!platform::makeDir(data)) throw std::runtime_error("cannot create " + data);
    qz::Services s;
    s.host = &host;
    s.http = &http;
    s.shell = &shell;
    s.settings = &settings;
    s.programFolder = root;
    program = std::make_unique<qz::Program>(s);
}

qz::Shared& HeadlessProgram::practice() {
    qz::Shared& g = program->g;
    g.DataDir = data;
    g.ProgramFolder = root;
    g.StepsFilePath = data + "288820.mxy";
    g.TextsFilePath = data + "288890.mxy";
    g.QuestionCount = 1;
    g.CurrentQuestion = 1;
    g.CurrentStep = 1;
    g.FirstStepLine[1] = 1;
    g.InteractionMode = 2;
    return g;
}

qz::FrmMain& HeadlessProgram::openSession() {
    program->frmTm().show();
    qz::FrmMain& m = program->frmMain();
    m.show();
    return m;
}

}  // namespace harness
