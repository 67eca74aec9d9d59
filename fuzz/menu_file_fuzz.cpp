// The menu file through the simulated window's popup: each block the step codes of the input
// name is read, the popup rebuilt from it, and every item of the nine arrays chosen.
// Input: sMenu.sys, 0x1E, step codes of four characters each.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "platform/files.h"
#include "platform/vb_error.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    // One question of one record: a choice that completes a step changes nothing.
    writeFile(run.data + "288820.mxy", "0000000" "9999" + std::string(185, '0') + "\r\n");
    writeFile(run.data + "288890.mxy", "001\r\n");
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    writeFile(platform::joinPath(run.root, "sMenu.sys"), parts.empty() ? std::string_view() : parts[0]);
    const std::string_view codes = parts.size() > 1 ? parts[1] : std::string_view("3122A750B223");

    qz::Shared& g = run.practice();
    try {
        qz::FrmMain& m = run.openSession();
        m.setData();
        forms::MenuArray* const arrays[] = {&m.sVtrlSub1, &m.sVtrlInde1, &m.sVtrlSub2, &m.sVtrlInde2, &m.sVtrlSub3,
                                            &m.sVtrlInde3, &m.sVtrlSub4, &m.sVtrlSub5, &m.sVtrlInde4};
        for (std::size_t at = 0; at + 4 <= codes.size() && at < 64; at += 4) {
            std::string code(codes.substr(at, 4));
            // A code out of range is the layout's to report; here it names no menu.
            try {
                m.StepCode = qz::steps::stepCodeValue(code);
            } catch (const platform::VbError&) {
                m.StepCode = 0;
            }
            for (int menu = 0; menu <= 10; ++menu) {
                m.MenuNumber = static_cast<std::int16_t>(menu);
                m.systemMenu();
                for (forms::MenuArray* a : arrays)
                    if (a->items().size() != 11) fail("an item array lost its elements");
                for (int i = 0; i <= 10; ++i) {
                    m.sVtrlSub1_Click(i);
                    m.sVtrlInde1_Click(i);
                    m.sVtrlSub5_Click(i);
                    m.sVtrlInde4_Click(i);
                }
                if (g.CurrentStep != 1) fail("a choice moved past the question's only record");
            }
        }
    } catch (const forms::ProgramEnd&) {
    }
    return 0;
}
