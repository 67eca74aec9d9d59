// The random paper's draw over any bank and any generator: it ends, with 40 distinct codes of
// units with questions, or refuses; a bank of fewer than 40 questions is always refused.
// Input: the number of units, one byte per unit's question count, then the generator's
// numbers, two bytes each, over again from the first when they run out.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "home/paper_records.h"

namespace {

struct BytesRandom : platform::RandomNumbers {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0, at = 0;
    void reseed() override {}
    double next() override {
        if (size < 2) return 0;
        if (at + 1 >= size) at = 0;
        const unsigned v = static_cast<unsigned>(data[at]) << 8 | data[at + 1];
        at += 2;
        // The top value stands for a generator that breaks its range.
        return v == 0xFFFF ? 1.0 : v / 65536.0;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fuzzsupport::fail;
    if (size == 0) return 0;
    const std::size_t units = std::min<std::size_t>(data[0] % 22, size - 1);
    std::vector<int> counts;
    long total = 0;
    for (std::size_t u = 0; u < units; ++u) {
        counts.push_back(data[1 + u] % 110);
        total += std::min(counts.back(), 99);
    }
    BytesRandom random;
    random.data = data + 1 + units;
    random.size = size - 1 - units;

    const auto paper = qz::drawPaperCodes(counts, random);
    if (!paper) return 0;
    if (total < 40) fail("a bank of fewer than 40 questions gave a paper");
    if (paper->size() != 160) fail("a paper that is not 40 codes");
    std::set<std::string> seen;
    for (std::size_t i = 0; i < 160; i += 4) {
        const std::string code = paper->substr(i, 4);
        if (code.find_first_not_of("0123456789") != std::string::npos) fail("a code that is not four digits");
        const int unit = std::stoi(code.substr(0, 2)), question = std::stoi(code.substr(2, 2));
        if (unit >= static_cast<int>(units) || counts[static_cast<std::size_t>(unit)] == 0)
            fail("a code of a unit without questions");
        if (question < 1 || question > counts[static_cast<std::size_t>(unit)])
            fail("a question its unit does not have");
        if (!seen.insert(code).second) fail("a code drawn twice");
    }
    return 0;
}
