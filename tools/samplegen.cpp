// qz_samplegen SAMPLE_DIR PROGRAM_DIR
// Writes the sample module described by the UTF-8 sources in SAMPLE_DIR into PROGRAM_DIR in the
// program's on-disk formats. Every run rewrites every output.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>

#include "session/learner_records.h"
#include "session/question_sets.h"
#include "tools/app_screens.h"
#include "tools/bank.h"
#include "tools/help_pages.h"
#include "tools/legacy_files.h"
#include "tools/menus.h"
#include "tools/pictures.h"
#include "tools/questions.h"
#include "tools/sample_source.h"
#include "tools/steps.h"

namespace fs = std::filesystem;
using namespace qz::tools;

namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

std::vector<std::string> numeric(std::vector<std::string> lines) {
    std::transform(lines.begin(), lines.end(), lines.begin(), [](const std::string& l) { return numericText(l); });
    return lines;
}

// Nothing is written unless every unit can be worked through to its end.
void checkBank(const BankSource& bank, const QuestionBank& questions) {
    BankFacts facts;
    for (const BankPicture& p : bankPictures()) facts.pictures.insert(p.id);
    for (const Cursor& c : programCursors()) facts.cursors.insert(programCursorNumber(c));
    facts.textLines = questions.texts;
    facts.menuLines = menuFileLines();
    for (std::size_t u = 0; u < questions.units.size(); ++u) {
        const UnitFiles& unit = questions.units[u];
        if (static_cast<int>(unit.questions.size()) != bank.counts[u]) {
            throw BankError("unit " + std::to_string(u) + " has " + std::to_string(unit.questions.size()) +
                            " questions, bank.txt counts " + std::to_string(bank.counts[u]));
        }
        checkUnit(static_cast<int>(u), unit.steps, unit.questions, facts);
    }
}

// The papers as a launch builds them from the files just written: a set it would refuse means
// a paper no learner could take.
void checkPaperSets(const fs::path& data, const std::vector<std::string>& catalogue) {
    for (std::size_t line = 2; line < catalogue.size(); ++line) {
        if (!qz::buildSet((data / "").string(), catalogue[line]).sound) {
            throw BankError("paper " + std::to_string(line - 1) + ": the program cannot build its set");
        }
    }
}

std::string twoDigits(std::size_t n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); }

void writeBank(const fs::path& data, const Font& font, const QuestionBank& questions) {
    for (std::size_t u = 0; u < questions.units.size(); ++u) {
        writeLegacyText(data / ("2888" + twoDigits(20 + u) + ".mxy"), questions.units[u].steps);
        writeLegacyText(data / ("2888" + twoDigits(70 + u) + ".mxy"), questions.units[u].questions);
    }
    writeLegacyText(data / "288890.mxy", questions.texts);
    for (const BankPicture& p : bankPictures()) {
        Canvas canvas(p.width, p.height);
        p.draw(canvas, font);
        canvas.savePng(data / (std::string(p.id) + ".mxy"));
    }
}

// A pair goes in only where neither of its files is, so that a rebuild keeps what a learner
// practised; every code must be one the program can build a practice from.
void seedReviewRecords(const SourceFile& src, const fs::path& data, const fs::path& ksdata) {
    struct Seed {
        const char *key, *listFile, *flagsFile;
    };
    for (const Seed& seed : {Seed{"favourites", qz::recordfile::Favourites, qz::recordfile::FavouritesReview},
                             Seed{"mistakes", qz::recordfile::WrongQuestions, qz::recordfile::WrongReview}}) {
        const Entry* list = nullptr;
        const Entry* flags = nullptr;
        for (const Entry& e : src.entries) {
            if (e.key == seed.key) list = &e;
            else if (e.key == std::string(seed.key) + ".flags") flags = &e;
        }
        if (!list || !flags) throw SourceError(src.path.string() + ": \"" + seed.key + "\" needs its list and flags");
        std::string codes = list->value;
        codes.erase(std::remove(codes.begin(), codes.end(), ' '), codes.end());
        if (codes.size() % 4 != 0 || codes.size() / 4 != flags->value.size())
            src.fail(*flags, "one flag for each four-digit code");
        if (!qz::buildSet((data / "").string(), codes).sound) src.fail(*list, "a code the bank does not hold");
        if (fs::exists(ksdata / seed.listFile) || fs::exists(ksdata / seed.flagsFile)) continue;
        writeLegacyText(ksdata / seed.listFile, {codes});
        writeLegacyText(ksdata / seed.flagsFile, {flags->value});
    }
}

void generate(const fs::path& sample, const fs::path& out) {
    const ModuleInfo module = readModuleInfo(readSource(sample / "ver.txt"));
    const std::vector<std::string> product = readProductInfo(readSource(sample / "productinfo.txt"));
    const SkinTexts skinTexts(readSource(sample / "skin.txt"));
    const BankSource bank = readBank(readSource(sample / "bank.txt"), module);
    const std::vector<std::string> advert = readAdvert(readSource(sample / "advert.txt"));
    const QuestionBank questions = readQuestions(readSource(sample / "questions.txt"), module);
    const std::vector<HelpPage> help = readHelpPages(readSource(sample / "help.txt"));
    checkBank(bank, questions);
    const std::vector<std::string> catalogue = catalogueLines(bank);
    checkPapers(catalogue, bank.counts);

    const fs::path data = out / module.folder;
    fs::create_directories(data);
    writeLegacyText(data / "288901.mxy", numeric(product));
    // A new installation has not been started yet.
    writeLegacyText(data / "288892.mxy", {"0"});
    writeLegacyText(data / "288891.mxy", catalogue);
    writeLegacyText(data / "288895.mxy", {bank.version});
    // Which module the data folder belongs to.
    writeLegacyText(data / "288899.mxy", {module.number});
    fs::create_directories(out / "ksdata");
    writeLegacyText(out / "ksdata" / "170100.mxy", advert);

    const Font font(kFont, 0);
    writePictures(data, Skin{font, skinTexts, module});
    writeWindowPictures(out, Skin{font, skinTexts, module});
    writeProgramCursors(out);
    writeLegacyText(out / "sMenu.sys", menuFileLines());
    writeBank(data, font, questions);
    writeHelpPages(data, font, help);
    checkPaperSets(data, catalogue);
    seedReviewRecords(readSource(sample / "review.txt"), data, out / "ksdata");
    skinTexts.checkAllUsed();

    // Last: the build takes ver.txt as the mark that the whole module was written.
    writeLegacyText(out / "ver.txt", numeric(module.lines()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qz_samplegen SAMPLE_DIR PROGRAM_DIR\n";
        return 2;
    }
    try {
        generate(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "qz_samplegen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
