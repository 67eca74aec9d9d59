#include "tools/bank.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <set>
#include <stdexcept>

namespace qz::tools {

namespace {

// SplitMix64: small, well mixed and fully specified, unlike the standard distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t s_;
};

template <class T>
bool parseNumber(const std::string& s, T& out) {
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc{} && ptr == end && !s.empty() && s.front() != '-' && s.front() != '+';
}

std::string twoDigits(int v) { return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)}; }

// How many questions each unit gives a paper: proportional shares, the seats left over going to
// the largest remainders, ties settled by the draw so the papers differ.
std::vector<int> shares(const std::vector<int>& counts, int total, Rng& rng) {
    const std::size_t n = counts.size();
    std::vector<int> quota(n);
    std::vector<std::pair<long, std::uint64_t>> rest(n);  // remainder, tie-break
    int given = 0;
    for (std::size_t u = 0; u < n; ++u) {
        const long scaled = static_cast<long>(counts[u]) * kPaperSize;
        quota[u] = static_cast<int>(scaled / total);
        rest[u] = {scaled % total, rng.next()};
        given += quota[u];
    }
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rest[a] > rest[b]; });
    for (std::size_t i = 0; given < kPaperSize; ++i, ++given) ++quota[order[i % n]];
    return quota;
}

}  // namespace

BankSource readBank(const SourceFile& src, const ModuleInfo& module) {
    BankSource bank;
    std::set<std::string> seen;
    std::size_t unit = 0;
    for (const Entry& e : src.entries) {
        if (e.key.starts_with("unit ")) {
            const std::string name = e.key.substr(5);
            if (unit >= module.units.size()) src.fail(e, "ver.txt has no unit \"" + name + "\"");
            if (name != module.units[unit]) {
                src.fail(e, "expected unit \"" + module.units[unit] + "\" here, as in ver.txt");
            }
            int count = 0;
            if (!parseNumber(e.value, count) || count < kMinUnitQuestions || count > kMaxUnitQuestions) {
                src.fail(e, "a unit has " + std::to_string(kMinUnitQuestions) + " to " +
                                std::to_string(kMaxUnitQuestions) + " questions");
            }
            bank.counts.push_back(count);
            ++unit;
            continue;
        }
        if (!seen.insert(e.key).second) src.fail(e, "\"" + e.key + "\" is given twice");
        if (e.key == "version") {
            if (e.value.size() != 12 ||
                !std::all_of(e.value.begin(), e.value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                src.fail(e, "the version is twelve digits");
            }
            bank.version = e.value;
        } else if (e.key == "papers") {
            if (!parseNumber(e.value, bank.papers) || bank.papers < 1 || bank.papers > kMaxPapers) {
                src.fail(e, "papers must be 1 to " + std::to_string(kMaxPapers));
            }
        } else if (e.key == "seed") {
            if (!parseNumber(e.value, bank.seed)) src.fail(e, "the seed must be a whole number");
        } else {
            src.fail(e, "unknown key \"" + e.key + "\"");
        }
    }
    for (const char* key : {"version", "papers", "seed"}) {
        if (!seen.contains(key)) throw SourceError(src.path.string() + ": \"" + key + "\" is missing");
    }
    if (unit != module.units.size()) {
        throw SourceError(src.path.string() + ": no question count for unit \"" + module.units[unit] + "\"");
    }
    // A unit's own files are numbered after it; a 21st would be written over the texts file.
    if (module.units.size() > 20) throw SourceError(src.path.string() + ": the program reads at most 20 units");
    const int total = std::accumulate(bank.counts.begin(), bank.counts.end(), 0);
    if (total < kPaperSize) {
        throw SourceError(src.path.string() + ": the units hold " + std::to_string(total) +
                          " questions, fewer than a paper's " + std::to_string(kPaperSize));
    }
    return bank;
}

std::vector<std::vector<QuestionCode>> drawPapers(const std::vector<int>& counts, int papers, std::uint64_t seed) {
    Rng rng(seed);
    const int total = std::accumulate(counts.begin(), counts.end(), 0);
    if (total < kPaperSize) throw std::invalid_argument("the units hold fewer questions than a paper");
    std::vector<std::vector<QuestionCode>> out;
    for (int p = 0; p < papers; ++p) {
        std::vector<QuestionCode> paper;
        const std::vector<int> quota = shares(counts, total, rng);
        for (std::size_t u = 0; u < counts.size(); ++u) {
            std::vector<int> q(static_cast<std::size_t>(counts[u]));
            std::iota(q.begin(), q.end(), 1);
            for (int i = 0; i < quota[u]; ++i) {  // partial Fisher-Yates
                const auto k = static_cast<std::size_t>(i + rng.below(counts[u] - i));
                std::swap(q[static_cast<std::size_t>(i)], q[k]);
                paper.push_back({static_cast<int>(u), q[static_cast<std::size_t>(i)]});
            }
        }
        std::sort(paper.begin(), paper.end());
        out.push_back(std::move(paper));
    }
    return out;
}

std::vector<std::string> catalogueLines(const BankSource& bank) {
    const int units = static_cast<int>(bank.counts.size());
    std::vector<std::string> lines{twoDigits(bank.papers) + twoDigits(units), ""};
    for (const int c : bank.counts) lines[1] += twoDigits(c);
    for (const auto& paper : drawPapers(bank.counts, bank.papers, bank.seed)) {
        std::string line;
        for (const QuestionCode& q : paper) line += twoDigits(q.unit) + twoDigits(q.question);
        lines.push_back(std::move(line));
    }
    return lines;
}

void checkPapers(const std::vector<std::string>& catalogue, const std::vector<int>& counts) {
    for (std::size_t line = 2; line < catalogue.size(); ++line) {
        const std::string& codes = catalogue[line];
        const auto fail = [&](const std::string& what) {
            throw BankError("paper " + std::to_string(line - 1) + ": " + what);
        };
        if (codes.size() != 4 * static_cast<std::size_t>(kPaperSize) ||
            codes.find_first_not_of("0123456789") != std::string::npos) {
            fail("a paper is " + std::to_string(kPaperSize) + " four-digit codes");
        }
        std::set<std::string> seen;
        for (std::size_t at = 0; at < codes.size(); at += 4) {
            const std::string code = codes.substr(at, 4);
            const int unit = std::stoi(code.substr(0, 2)), question = std::stoi(code.substr(2, 2));
            if (unit >= static_cast<int>(counts.size()) || question < 1 ||
                question > counts[static_cast<std::size_t>(unit)]) {
                fail("no question " + code + " in the bank");
            }
            if (!seen.insert(code).second) fail(code + " is given twice");
        }
    }
}

}  // namespace qz::tools
