#pragma once
// A scratch installation: the program folder with ver.txt, the data folder with the product
// information, the first-run marker and the skin pictures, and an empty ksdata folder.
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_dir.h"

namespace testsupport {

// One line of the installation's digit encoding: each character becomes the six-digit group
// base + its GBK code (lead * 256 + trail for a double-byte character).
std::string numericLine(std::string_view utf8, int base = 200000);

// Writes a w × h RGB PNG.
void writePng(const std::string& path, int width, int height);

// True when a ksdata folder holds no run log (the home screen's own records may be there).
bool noRunLog(const std::string& ksdata);

// Where the build wrote the sample module; the fixtures borrow its skin pictures and bank.
std::string sampleDataDir();

class ProgramFolder {
public:
    enum class Kind {
        Full,       // ver.txt of 25 lines, product information, first-run "0", pictures
        FourLines,  // as Full, but ver.txt stops after the module number
        Garbage,    // as Full, but some ver.txt lines carry groups that name no character
        Missing,    // an empty program folder: no ver.txt, no data folder
    };

    explicit ProgramFolder(Kind kind = Kind::Full, std::string folderName = "quorvane");

    // What Full writes; tests compare against these.
    static std::vector<std::string> fullVerLines();
    static std::vector<std::string> fullProductInfo();
    static constexpr const char* ModuleName = "huitu";
    static constexpr const char* ModuleTitle = "计算机绘图";
    static constexpr const char* DataFolderName = "data";
    static constexpr const char* RegistryKeyName = "quorvanetest";

    const std::string& path() const { return path_; }
    std::string dataDir() const { return path_ + "/" + DataFolderName + "/"; }
    std::string ksdata() const { return path_ + "/ksdata"; }
    std::string file(std::string_view relative) const { return path_ + "/" + std::string(relative); }
    std::string dataFile(std::string_view name) const { return dataDir() + std::string(name); }
    // A runtime directory beside the program folder, for its single-instance lock: every
    // program started on this folder in a test shares it, as the copies of one user would.
    std::string runtimeDir() const { return root_.file("run"); }

    // Each line in the digit encoding, CR LF after each.
    void writeVer(const std::vector<std::string>& lines);
    // Lines already encoded (or deliberately not).
    void writeVerRaw(const std::vector<std::string>& encodedLines);
    void writeProductInfo(const std::vector<std::string>& lines);
    // The first-run marker's bytes as given.
    void writeFirstRunBytes(std::string_view bytes);
    void writePicture(std::string_view name, int width, int height);
    void writeDataBytes(std::string_view name, std::string_view bytes);
    // The sample module's whole question bank (step, question and texts files, screenshots)
    // its cursor files and menu file, where the folder has none of its own yet.
    void installSampleBank();
    void removeVer();
    void removeDataFolder();

private:
    TempDir root_;
    std::string path_;
};

}  // namespace testsupport
