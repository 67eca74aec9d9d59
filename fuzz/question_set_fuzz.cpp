// The build of a question set from a list over two units' own sets in a scratch data folder.
// Input: list, 0x1E, unit 0's question file, 0x1E, its steps file, 0x1E, unit 1's question
// file, 0x1E, its steps file, 0x1E, the texts file. A sound build must give a set that is
// itself sound, entry for entry, whose stuck steps all lie within its runs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/legacy_text.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/question_sets.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = [] {
        const std::string d = scratchDir() + "/data/";
        makeDir(d);
        return d;
    }();
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 6);
    auto part = [&](std::size_t i) { return i < parts.size() ? parts[i] : std::string_view{}; };
    writeFile(dir + qz::QuestionSet::fileName(70), part(1));
    writeFile(dir + qz::QuestionSet::fileName(20), part(2));
    writeFile(dir + qz::QuestionSet::fileName(71), part(3));
    writeFile(dir + qz::QuestionSet::fileName(21), part(4));
    writeFile(dir + "288890.mxy", part(5));
    const std::string list = platform::decodeAnsi(part(0));

    qz::BuiltSet set;
    try {
        set = qz::buildSet(dir, list);
    } catch (const platform::VbError&) {
        return 0;  // a unit the folder does not hold
    }
    if (!set.sound) return 0;
    const int count = qz::QuestionCodeList::entryCount(list);
    if (set.questionLines.size() != static_cast<std::size_t>(count)) fail("a sound set missing entries");
    qz::writeSet(dir, 19, set);
    const auto records = qz::usableRecords(platform::readLines(qz::QuestionSet{19}.questionPath(dir)));
    const auto steps = platform::readLines(qz::QuestionSet{19}.stepsPath(dir));
    if (count > 0 && !qz::soundSet(records, count, steps)) fail("a sound build wrote a broken set");
    for (const qz::StuckStep& s : qz::stuckSteps(records, count, steps, dir, dir + "288890.mxy"))
        if (s.question < 1 || s.question > count || s.step < 1) fail("a stuck step outside the set's runs");
    return 0;
}
