// The installation files of the start-up window: ver.txt and the product information
// (288901.mxy in the data folder), read by a whole start-up window on the headless host.
// Input: ver.txt, 0x1E, 288901.mxy; without a separator the input is the product
// information and ver.txt names the data folder "data". A ver.txt may name a folder outside
// the program, which ends the start with one message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/FrmStart.h"
#include "app/program.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    makeDir(run.root + "/ksdata");
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    writeFile(run.root + "/ver.txt", parts.size() == 2 ? parts[0] : std::string_view(moduleVer()));
    writeFile(run.data + "288901.mxy", parts.back());

    qz::Program& p = run.p();
    try {
        p.frmStart();
    } catch (const forms::ProgramEnd&) {
        // The one end a start-up may take: ver.txt names a data folder outside the program.
        const auto& boxes = run.host.messageBoxes;
        if (boxes.size() != 1 || boxes[0].prompt != qz::FrmStart::InvalidDataFolderText)
            fail("the start-up window ended the program");
        return 0;
    }
    const qz::Shared& g = p.g;
    if (g.DataDir.empty() || g.DataDir.back() != '/') fail("the data folder has no trailing separator");
    return 0;
}
