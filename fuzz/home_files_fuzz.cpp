// The files the home screen's build reads from the data folder and the learner's records:
// the bank catalogue (288891.mxy), the unit progress (ksdata/288893.mxy), the bank version
// (288895.mxy), the module stamp (288899.mxy) and the advertisement (ksdata/170100.mxy), through
// a whole start-up on the headless host.
// Input: catalogue, 0x1E, progress, 0x1E, version, 0x1E, stamp, 0x1E, advertisement. Missing
// parts get sound defaults (no advertisement); a stamp of another module ends the program, as it
// should.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/program.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "home/FrmFengmian.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    const std::string ksdata = run.root + "/ksdata/";
    makeDir(ksdata);
    writeFile(run.root + "/ver.txt", moduleVer());
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 5);
    auto part = [&](std::size_t i, std::string_view otherwise) { return i < parts.size() ? parts[i] : otherwise; };
    writeFile(run.data + "288891.mxy", part(0, ""));
    writeFile(ksdata + "288893.mxy", part(1, ""));
    writeFile(run.data + "288895.mxy", part(2, "1.0\r\n"));
    writeFile(run.data + "288899.mxy", part(3, "7\r\n"));
    if (parts.size() > 4) writeFile(ksdata + "170100.mxy", parts[4]);

    qz::Program& p = run.p();
    try {
        p.frmStart();
        p.frmFengmian();
    } catch (const forms::ProgramEnd&) {
        return 0;
    }
    if (p.g.UnitCount < 0 || p.g.UnitCount > 20) fail("more units than the screen has buttons");
    if (p.frmFengmian().LblAD.caption().find("◎") != std::string::npos)
        fail("a line-break mark left in the advertisement");
    return 0;
}
