// Typed answers against the command line's matchers: the expected answer, the text the learner
// types into the command box and the rename box, then Enter and Space.
// Input: the answer line of the texts file, 0x1E, the typed text (UTF-8 after decoding).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/runtime.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/headless_program.h"
#include "platform/legacy_text.h"
#include "simwindow/FrmMain.h"

using namespace fuzzsupport;

namespace {

// A record of code `code` with a command box, no prefill and answer text 001.
std::string record(const std::string& code) {
    std::string r = "0000000" + code + std::string(185, '0');
    r.replace(85, 20, "00100060000600000300");
    r.replace(108, 3, "001");
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScratchProgram run;
    writeFile(run.data + "288820.mxy", record("0020") + "\r\n" + record("0021") + "\r\n" + record("0001") + "\r\n" +
                                           "0000000" "9999" + std::string(185, '0') + "\r\n");
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    writeFile(run.data + "288890.mxy", std::string("001") + std::string(parts.empty() ? std::string_view() : parts[0]));
    const std::string typed = platform::decodeAnsi(std::string(parts.size() > 1 ? parts[1] : std::string_view()));

    qz::Shared& g = run.practice();
    try {
        qz::FrmMain& m = run.openSession();
        for (int step = 1; step <= 3; ++step) {
            g.CurrentStep = static_cast<std::int16_t>(step);
            m.setData();
            run.host.runFor(50);
            forms::TextBox& box = m.Text2.visible() ? m.Text2 : m.Text1;
            if (!box.visible()) continue;
            box.setText(typed);
            run.host.type(typed);
            run.host.key(forms::vk::Return, 0, "\r");
            run.host.key(forms::vk::Space, 0, " ");
            run.host.runFor(50);
            if (g.CurrentStep < step || g.CurrentStep > 4) fail("the typed answer moved outside the question");
        }
    } catch (const forms::ProgramEnd&) {
    } catch (const headless::ScriptStarved&) {
    }
    return 0;
}
