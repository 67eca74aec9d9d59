// The installation files of the start-up window: ver.txt and the product information
// (288901.mxy in the data folder), read by a whole start-up window on the headless host.
// Input: ver.txt, 0x1E, 288901.mxy; without a separator the input is the product
// information and ver.txt names the data folder "data".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/FrmStart.h"
#include "app/program.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "host/headless/headless_host.h"
#include "platform/settings.h"
#include "platform/shell.h"

using namespace fuzzsupport;

namespace {

struct Folder {
    std::string root = scratchDir() + "/program";
    std::string ver = root + "/ver.txt";
    std::string info = root + "/data/288901.mxy";
    std::string defaultVer = numericAscii("huitu") + "\r\n" + numericAscii("CAD") + "\r\n" + numericAscii("data") +
                             "\r\n" + numericAscii("7") + "\r\n";
    Folder() {
        makeDir(root + "/data");
        makeDir(root + "/ksdata");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folder folder;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    writeFile(folder.ver, parts.size() == 2 ? parts[0] : std::string_view(folder.defaultVer));
    writeFile(folder.info, parts.back());

    HeadlessProgram run(folder.root);
    qz::Program& p = run.p();
    try {
        p.frmStart();
    } catch (const forms::ProgramEnd&) {
        fail("the start-up window ended the program");
    }
    const qz::Shared& g = p.g;
    if (g.DataDir.empty() || g.DataDir.back() != '/') fail("the data folder has no trailing separator");
    return 0;
}
