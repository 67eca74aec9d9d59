// The files the home screen's build reads from the data folder and the learner's records:
// the bank catalogue (288891.mxy), the unit progress (ksdata/288893.mxy), the bank version
// (288895.mxy) and the module stamp (288899.mxy), through a whole start-up on the headless host.
// Input: catalogue, 0x1E, progress, 0x1E, version, 0x1E, stamp. Missing parts get sound
// defaults; a stamp of another module ends the program, as it should.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/program.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "home/FrmFengmian.h"
#include "host/headless/headless_host.h"
#include "platform/settings.h"
#include "platform/shell.h"

using namespace fuzzsupport;

namespace {

struct Folder {
    std::string root = scratchDir() + "/program";
    std::string data = root + "/data/";
    std::string ksdata = root + "/ksdata/";
    Folder() {
        makeDir(data);
        makeDir(ksdata);
        writeFile(root + "/ver.txt", numericAscii("huitu") + "\r\n" + numericAscii("CAD") + "\r\n" +
                                         numericAscii("data") + "\r\n" + numericAscii("7") + "\r\n");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folder folder;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 4);
    auto part = [&](std::size_t i, std::string_view otherwise) { return i < parts.size() ? parts[i] : otherwise; };
    writeFile(folder.data + "288891.mxy", part(0, ""));
    writeFile(folder.ksdata + "288893.mxy", part(1, ""));
    writeFile(folder.data + "288895.mxy", part(2, "1.0\r\n"));
    writeFile(folder.data + "288899.mxy", part(3, "7\r\n"));

    HeadlessProgram run(folder.root);
    qz::Program& p = run.p();
    try {
        p.frmStart();
        p.frmFengmian();
    } catch (const forms::ProgramEnd&) {
        return 0;
    }
    if (p.g.UnitCount < 0 || p.g.UnitCount > 20) fail("more units than the screen has buttons");
    return 0;
}
