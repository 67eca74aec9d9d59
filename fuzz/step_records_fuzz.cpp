// Step records and the texts file through the simulated window's layout, its step advance
// the matchers that need no popup and the jump to a step, on the headless host with the question panel loaded.
// Input: steps file, 0x1E, texts file. Each line of the steps file is laid out as one step.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/program.h"
#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "platform/legacy_text.h"
#include "simwindow/FrmMain.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    writeFile(run.data + "288820.mxy", parts.empty() ? std::string_view() : parts[0]);
    writeFile(run.data + "288890.mxy", parts.size() > 1 ? parts[1] : std::string_view());

    qz::Shared& g = run.practice();
    g.QuestionCount = 2;
    g.InteractionMode = 1;
    try {
        qz::FrmMain& m = run.openSession();
        for (int step = 1; step <= 12; ++step) {
            g.CurrentStep = static_cast<std::int16_t>(step);
            m.setData();
            if (m.laidOutRecord() != g.StepLine && platform::charCount(g.StepLine) >= 196) fail("laid out another record");
            int key = 13;
            m.Form_KeyDown(key, 0);
            m.Label1_MouseUp(1, 0, 0, 0);
            m.Label1_DblClick();
            m.Label1_MouseMove(0, 0, 0, 0);
            m.LblXXK_Click(0);
            if (g.CurrentStep < 1) fail("went before the first step");
            m.GoStep(step % 3 == 0 ? "B" : std::to_string(step));
            if (g.CurrentStep < 1) fail("went to a step before the first");
        }
    } catch (const forms::ProgramEnd&) {
    }
    return 0;
}
