// A demonstration of the input's question on the headless host: played for a while on the
// virtual clock, then broken off with Esc. Afterwards the player must be gone, the session's
// windows back, and no file touched.
// Input: steps file, 0x1E, texts file, 0x1E, sMenu.sys.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "platform/files.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"

using namespace fuzzsupport;

namespace {

// Every file under the folder with its contents.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        std::string bytes;
        if (std::FILE* f = std::fopen(e.path().c_str(), "rb")) {
            char buf[4096];
            for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
            std::fclose(f);
        }
        files[e.path().string()] = std::move(bytes);
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
    writeFile(run.data + "288820.mxy", parts.empty() ? std::string_view() : parts[0]);
    writeFile(run.data + "288890.mxy", parts.size() > 1 ? parts[1] : std::string_view());
    writeFile(platform::joinPath(run.root, "sMenu.sys"), parts.size() > 2 ? parts[2] : std::string_view());
    writeFile(run.data + "288855.mxy", "000211task\r\n");

    qz::Shared& g = run.practice();
    g.QuestionFilePath = run.data + "288855.mxy";
    try {
        qz::FrmMain& m = run.openSession();
        qz::FrmTm& tm = run.p().frmTm();
        run.host.runFor(200);
        const auto before = snapshot(run.root);
        // Started as the panel starts it.
        g.DemoRunning = true;
        m.hide();
        tm.hide();
        run.p().frmYanShi().show();
        run.host.runFor(15000);
        if (run.p().loadedFrmYanShi()) {
            run.host.key(27);
            for (int ms = 0; ms < 1000 && run.p().loadedFrmYanShi(); ms += 100) run.host.runFor(100);
        }
        if (run.p().loadedFrmYanShi()) fail("Esc left the player running");
        if (g.DemoRunning) fail("the demonstration is still flagged");
        if (!m.visible() || !tm.visible()) fail("the session's windows stayed hidden");
        if (snapshot(run.root) != before) fail("the demonstration wrote a file");
    } catch (const forms::ProgramEnd&) {
    }
    return 0;
}
