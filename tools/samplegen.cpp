// qz_samplegen SAMPLE_DIR PROGRAM_DIR
// Writes the sample module described by the UTF-8 sources in SAMPLE_DIR into PROGRAM_DIR in the
// program's on-disk formats. Every run rewrites every output.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>

#include "tools/bank.h"
#include "tools/legacy_files.h"
#include "tools/pictures.h"
#include "tools/sample_source.h"

namespace fs = std::filesystem;
using namespace qz::tools;

namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

std::vector<std::string> numeric(std::vector<std::string> lines) {
    std::transform(lines.begin(), lines.end(), lines.begin(), [](const std::string& l) { return numericText(l); });
    return lines;
}

void generate(const fs::path& sample, const fs::path& out) {
    const ModuleInfo module = readModuleInfo(readSource(sample / "ver.txt"));
    const std::vector<std::string> product = readProductInfo(readSource(sample / "productinfo.txt"));
    const SkinTexts skinTexts(readSource(sample / "skin.txt"));
    const BankSource bank = readBank(readSource(sample / "bank.txt"), module);
    const std::vector<std::string> advert = readAdvert(readSource(sample / "advert.txt"));

    const fs::path data = out / module.folder;
    fs::create_directories(data);
    writeLegacyText(data / "288901.mxy", numeric(product));
    // A new installation has not been started yet.
    writeLegacyText(data / "288892.mxy", {"0"});
    writeLegacyText(data / "288891.mxy", catalogueLines(bank));
    writeLegacyText(data / "288895.mxy", {bank.version});
    // Which module the data folder belongs to.
    writeLegacyText(data / "288899.mxy", {module.number});
    fs::create_directories(out / "ksdata");
    writeLegacyText(out / "ksdata" / "170100.mxy", advert);

    const Font font(kFont, 0);
    writePictures(data, Skin{font, skinTexts, module});
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
