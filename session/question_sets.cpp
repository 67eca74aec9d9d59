#include "session/question_sets.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "simwindow/menu_file.h"
#include "simwindow/step_record.h"

namespace qz {

namespace {

std::string padded(long value, std::size_t width) {
    std::string digits = std::to_string(std::labs(value));
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace

std::string QuestionCode::text() const { return padded(value, 4); }

std::string QuestionCode::shown() const { return QuestionCode{value + 100}.text(); }

int QuestionCodeList::entryCount(std::string_view list) {
    const double count = static_cast<double>(platform::charCount(list)) / 4;
    // Rounded as the set build rounds, but only once the count is known to fit.
    return count > MaxEntries ? MaxEntries : platform::clng(count);
}

QuestionCode QuestionCodeList::entry(std::string_view list, int i) {
    return {platform::cint(platform::val(platform::midChars(list, 4L * (i - 1) + 1, 4)))};
}

int QuestionRecord::stepCount() const { return platform::cint(platform::val(platform::midChars(line, 5, 2))); }

std::string QuestionRecord::text() const { return platform::midChars(line, 7); }

bool QuestionRecord::hasPicture() const { return platform::leftChars(text(), 7) == "picture"; }

std::string QuestionRecord::pictureId() const {
    return hasPicture() ? platform::trimSpaces(platform::midChars(text(), 8, 6)) : std::string();
}

std::string QuestionRecord::task() const { return hasPicture() ? platform::midChars(text(), 14) : text(); }

std::string QuestionSet::fileName(int number) { return "2888" + padded(number, 2) + ".mxy"; }


std::vector<QuestionRecord> usableRecords(const std::vector<std::string>& decodedLines) {
    std::vector<QuestionRecord> out;
    for (const auto& l : decodedLines) {
        if (platform::trimSpaces(l).empty()) break;
        out.push_back({l});
    }
    return out;
}

std::vector<std::int32_t> firstStepLines(const std::vector<QuestionRecord>& records) {
    std::vector<std::int32_t> out{1};
    for (const auto& r : records) out.push_back(out.back() + r.stepCount());
    return out;
}

bool soundRun(const std::vector<std::string>& decodedSteps, long firstLine, int stepCount) {
    if (stepCount < 1 || firstLine < 1) return false;
    const long last = firstLine + stepCount - 1;
    if (last > static_cast<long>(decodedSteps.size())) return false;
    for (long l = firstLine; l <= last; ++l)
        if ((stepCode(decodedSteps[static_cast<std::size_t>(l - 1)]) == "9999") != (l == last)) return false;
    return true;
}

bool soundSet(const std::vector<QuestionRecord>& records, int count, const std::vector<std::string>& decodedSteps) {
    if (count < 1 || static_cast<std::size_t>(count) > records.size()) return false;
    long first = 1;
    for (int k = 0; k < count; ++k) {
        const int d = records[static_cast<std::size_t>(k)].stepCount();
        if (!soundRun(decodedSteps, first, d)) return false;
        first += d;
    }
    return true;
}

std::string StuckStep::text() const {
    return std::to_string(question) + "/" + std::to_string(step) + " " + code + " (" + why + ")";
}

namespace {

// What a walk over a set's steps looks up outside the steps file, each thing once.
class StepLookups {
public:
    StepLookups(const std::string& programFolder, const std::string& textsPath)
        : programFolder_(programFolder), textsPath_(textsPath) {}

    bool cursorExists(const std::string& number) {
        auto found = cursors_.find(number);
        if (found == cursors_.end()) {
            const bool exists =
                platform::findExistingCaseInsensitive(platform::joinPath(programFolder_, "ico" + number + ".CUR"))
                    .has_value();
            found = cursors_.emplace(number, exists).first;
        }
        return found->second;
    }

    // Line n of the texts file by the rule the running step reads it with: a number below 1 or
    // past the end gives the last line. None for a file that is empty or cannot be read.
    const std::string* text(long n) {
        if (!texts_) {
            texts_.emplace();
            try {
                *texts_ = platform::readLines(textsPath_);
            } catch (const platform::VbError&) {
            }
        }
        if (texts_->empty()) return nullptr;
        if (n < 1 || n > static_cast<long>(texts_->size())) return &texts_->back();
        return &(*texts_)[static_cast<std::size_t>(n - 1)];
    }

private:
    const std::string& programFolder_;
    const std::string& textsPath_;
    std::map<std::string, bool> cursors_;
    std::optional<std::vector<std::string>> texts_;
};

// Steps that only a pointer on the hot spot completes: its clicks and right click, the context
// menu that right click opens, a button with shift keys, a hover, a drag that ends on it.
bool onlyByHotSpot(const std::string& record, const std::string& code, std::int32_t value) {
    if (steps::fieldValue(record, 86, 105) != 0) return false;  // a typed answer completes it
    const bool workAreaClick = !steps::allZeros(record, 187, 196) && steps::field(record, 182, 182) == "0" &&
                               steps::field(record, 6, 7) != "EE";
    if (workAreaClick) return false;
    if (value == 1 || value == 2 || value == 3 || code == "0030") return true;
    if (value / 1000 == 9 && value != 9999) return true;
    if (value / 1000 == 3 || value / 1000 == 4) return value != 3220 && value != 3420;  // else a key does
    if (value > 10000) return steps::fieldValue(record, 125, 134) == 0;  // else the menu bar does
    return code.rfind("004", 0) == 0 || code.rfind("005", 0) == 0;
}

// Sizes scale with the pixel, which is 15 design twips on every screen. A record without a hot
// spot leaves the last one a twip wide; height 0 is one line high.
bool hotSpotUnderAPixel(const std::string& record) {
    if (steps::allZeros(record, 66, 85)) return true;
    try {
        const int width = steps::field16(record, 76, 80), height = steps::field16(record, 81, 85);
        return width < 15 || (height != 0 && height < 15);
    } catch (const platform::VbError&) {
        return false;  // the layout reports that record itself
    }
}

std::string whyStuck(const std::string& record, const std::string& code, StepLookups& lookups) {
    std::int32_t value = 0;
    bool known = true;
    try {
        value = steps::stepCodeValue(code);
    } catch (const platform::VbError&) {
        known = false;
    }
    // A bar code's hot spot still takes a left click; a context code has nothing else.
    if (known && (value / 1000 == 3 || value / 1000 == 4) && menus::namesNoArray(value))
        return "the context menu has no such item";
    if (known && onlyByHotSpot(record, code, value) && hotSpotUnderAPixel(record))
        return "the hot spot is smaller than a pixel";
    if (code == "8005") return "\"8005\" moves no picture";
    if (code.rfind("005", 0) == 0) {
        const std::string number = steps::field(record, 104, 105);
        if (steps::field(record, 101, 101) == "S") {
            if (steps::standardPointer(number) == 0) return "the drag's pointer is the default one";
        } else if (!lookups.cursorExists(number)) {
            return "no cursor file ico" + number + ".CUR";
        }
    }
    if (code == "0021" && steps::field(record, 109, 111) != "000") {
        const std::string* line = nullptr;
        try {
            line = lookups.text(steps::field16(record, 109, 111));
        } catch (const platform::VbError&) {
        }
        if (line && steps::textOf(*line).find('|') != std::string::npos) return "the rename box has no alternatives";
    }
    return {};
}

}  // namespace

std::vector<StuckStep> stuckSteps(const std::vector<QuestionRecord>& records, int count,
                                  const std::vector<std::string>& decodedSteps, const std::string& programFolder,
                                  const std::string& textsPath) {
    std::vector<StuckStep> out;
    StepLookups lookups(programFolder, textsPath);
    std::size_t line = 0;
    for (int q = 0; q < count && static_cast<std::size_t>(q) < records.size(); ++q) {
        const int d = records[static_cast<std::size_t>(q)].stepCount();
        for (int k = 1; k <= d && line < decodedSteps.size(); ++k, ++line) {
            const std::string& r = decodedSteps[line];
            const std::string code = stepCode(r);
            std::string why = whyStuck(r, code, lookups);
            if (!why.empty()) out.push_back({q + 1, k, code, std::move(why)});
        }
    }
    return out;
}

namespace {

// A unit's own set, read once per build.
struct UnitSet {
    std::vector<std::string> rawQuestions;
    std::vector<std::string> rawSteps;
    std::vector<QuestionRecord> records;
    std::vector<std::string> steps;
    std::vector<std::int32_t> first;
};

std::vector<std::string> decoded(const std::vector<std::string>& raw) {
    std::vector<std::string> out;
    out.reserve(raw.size());
    for (const auto& l : raw) out.push_back(platform::decodeAnsi(l));
    return out;
}

}  // namespace

BuiltSet buildSet(const std::string& dataDir, std::string_view list) {
    BuiltSet out;
    out.sound = true;
    std::map<int, UnitSet> units;
    const int count = QuestionCodeList::entryCount(list);
    for (int i = 1; i <= count; ++i) {
        QuestionCode code;
        try {
            code = QuestionCodeList::entry(list, i);
        } catch (const platform::VbError&) {
            out.sound = false;  // not a code any unit holds
            continue;
        }
        if (code.value < 0 || code.unit() > QuestionSet::LastUnit) {
            out.sound = false;
            continue;
        }
        auto found = units.find(code.unit());
        if (found == units.end()) {
            const QuestionSet own = QuestionSet::ofUnit(code.unit());
            UnitSet u;
            u.rawQuestions = platform::readRawLines(own.questionPath(dataDir));
            u.rawSteps = platform::readRawLines(own.stepsPath(dataDir));
            u.records = usableRecords(decoded(u.rawQuestions));
            u.steps = decoded(u.rawSteps);
            u.first = firstStepLines(u.records);
            found = units.emplace(code.unit(), std::move(u)).first;
        }
        const UnitSet& u = found->second;
        const int w = code.question();
        if (w < 1 || static_cast<std::size_t>(w) > u.records.size()) {
            out.sound = false;
            continue;
        }
        const std::size_t q = static_cast<std::size_t>(w - 1);
        const long b = u.first[q];
        const int d = u.records[q].stepCount();
        if (!soundRun(u.steps, b, d)) {
            out.sound = false;
            continue;
        }
        out.questionLines.push_back(u.rawQuestions[q]);
        for (long l = b; l < b + d; ++l) out.stepLines.push_back(u.rawSteps[static_cast<std::size_t>(l - 1)]);
    }
    return out;
}

void writeSet(const std::string& dataDir, int n, const BuiltSet& set) {
    const QuestionSet built{n};
    // Built anew by every session launch: nothing a crash must keep.
    platform::writeBytesReplace(built.stepsPath(dataDir), joinCrlf(set.stepLines), platform::FolderSync::BestEffort);
    platform::writeBytesReplace(built.questionPath(dataDir), joinCrlf(set.questionLines),
                                platform::FolderSync::BestEffort);
}

}  // namespace qz
