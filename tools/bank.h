// The question bank's catalogue: how many questions each unit has and the fixed exam papers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample_source.h"
#include "tools/steps.h"

namespace qz::tools {

inline constexpr int kPaperSize = 40;  // questions in every exam paper
inline constexpr int kMinUnitQuestions = 3, kMaxUnitQuestions = 42;
// The home screen lists at most this many fixed papers.
inline constexpr int kMaxPapers = 20;

struct BankSource {
    std::string version;      // twelve digits
    std::vector<int> counts;  // questions per unit, in the order of ver.txt
    int papers = 0;           // fixed papers
    std::uint64_t seed = 0;   // the draw of the papers
};
// Checks the units against the module's, in name and order, and that together they hold a
// paper's worth of questions. Throws SourceError.
BankSource readBank(const SourceFile& src, const ModuleInfo& module);

struct QuestionCode {
    int unit;      // from 0
    int question;  // from 1
    bool operator==(const QuestionCode&) const = default;
    auto operator<=>(const QuestionCode&) const = default;
};

// Papers of kPaperSize distinct questions drawn from every unit in proportion to its size, each
// paper in unit and question order. The same counts and seed give the same papers on every
// platform. Throws std::invalid_argument when the units hold fewer questions than a paper.
std::vector<std::vector<QuestionCode>> drawPapers(const std::vector<int>& counts, int papers, std::uint64_t seed);

// The catalogue's lines: paper and unit count ("0512"), the unit sizes as two digits each, then
// each paper as four-digit codes, unit then question.
std::vector<std::string> catalogueLines(const BankSource& bank);

// Each paper of the catalogue's lines must be kPaperSize whole, distinct codes of questions the
// units have (counts: questions per unit), as a mock exam scores exactly that many. Throws
// BankError naming the paper.
void checkPapers(const std::vector<std::string>& catalogue, const std::vector<int>& counts);

}  // namespace qz::tools
