#include "tests/support/program_folder.h"

#include <stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

namespace {

// The characters of a UTF-8 text, one string each.
std::vector<std::string> utf8Chars(std::string_view s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace

std::string numericLine(std::string_view utf8, int base) {
    std::string out;
    for (const auto& ch : utf8Chars(utf8)) {
        const std::string b = gbkBytes(ch);
        int code = static_cast<unsigned char>(b[0]);
        if (b.size() == 2) code = code * 256 + static_cast<unsigned char>(b[1]);
        char group[16];
        std::snprintf(group, sizeof group, "%06d", base + code);
        out += group;
    }
    return out;
}

void writePng(const std::string& path, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i % 3 == 0 ? 0x30 : 0x90);
    if (!stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3))
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> ProgramFolder::fullVerLines() {
    std::vector<std::string> lines{ModuleName, std::string("  ") + ModuleTitle + " ", DataFolderName, "7"};
    for (int u = 0; u <= 20; ++u) lines.push_back("第" + std::to_string(u + 1) + "单元");
    return lines;
}

std::vector<std::string> ProgramFolder::fullProductInfo() {
    std::vector<std::string> lines;
    for (int k = 0; k <= 40; ++k) lines.push_back("info" + std::to_string(k));
    lines[0] = "测试品牌";
    lines[1] = "not-the-module";
    lines[8] = "张三";
    lines[9] = "绘图练习系统";
    lines[10] = "  400-123-4567  ";
    lines[15] = RegistryKeyName;
    lines[26] = "2015";
    lines[29] = "&H666666";
    return lines;
}

ProgramFolder::ProgramFolder(Kind kind, std::string folderName) : path_(root_.file(folderName)) {
    std::filesystem::create_directories(path_);
    std::filesystem::create_directory(runtimeDir());
    std::filesystem::permissions(runtimeDir(), std::filesystem::perms::owner_all);
    if (kind == Kind::Missing) return;
    std::filesystem::create_directories(ksdata());
    std::filesystem::create_directories(dataDir());

    std::vector<std::string> ver = fullVerLines();
    if (kind == Kind::FourLines) ver.resize(4);
    if (kind == Kind::Garbage) {
        std::vector<std::string> enc;
        for (const auto& l : ver) enc.push_back(numericLine(l));
        // 500000 gives code 300000 and 999999 code 499999: neither is a character.
        enc[0] = numericLine("hui") + "500000" + numericLine("tu");
        enc[4] = "999999" + enc[4];
        writeVerRaw(enc);
    } else {
        writeVer(ver);
    }
    writeProductInfo(fullProductInfo());
    writeFirstRunBytes("0\r\n");
    writePicture("l20059", 400, 200);
    writePicture("l62011", 32, 32);
    writePicture("l20060", 800, 600);
    // The home screen refuses a question bank of another module, and is built from the
    // sample's skins and catalogue.
    writeDataBytes("288899.mxy", "7\r\n");
    for (const auto& e : std::filesystem::directory_iterator(sampleDataDir())) {
        std::string name = e.path().filename().string();
        bool skin = (name.rfind("l", 0) == 0 || name.rfind("9l", 0) == 0) && name.size() > 4 &&
                    name.substr(name.size() - 4) == ".mxy";
        if ((skin || name == "288891.mxy" || name == "288895.mxy") &&
            !std::filesystem::exists(dataFile(name)))
            std::filesystem::copy_file(e.path(), dataFile(name));
    }
}

void ProgramFolder::installSampleBank() {
    namespace fs = std::filesystem;
    auto copyMissing = [](const fs::path& from, const std::string& to) {
        if (!fs::exists(to)) fs::copy_file(from, to);
    };
    for (const auto& e : fs::directory_iterator(sampleDataDir()))
        if (e.path().filename() != "288899.mxy") copyMissing(e.path(), dataFile(e.path().filename().string()));
    for (const auto& e : fs::directory_iterator(fs::path(sampleDataDir()).parent_path()))
        if (e.path().extension() == ".CUR" || e.path().filename() == "sMenu.sys")
            copyMissing(e.path(), file(e.path().filename().string()));
}

bool noRunLog(const std::string& ksdata) {
    if (!std::filesystem::exists(ksdata)) return true;
    for (const auto& e : std::filesystem::directory_iterator(ksdata))
        if (e.path().extension() == ".txt") return false;
    return true;
}

std::string sampleDataDir() { return QZ_SAMPLE_DATA_DIR; }

void ProgramFolder::writeVer(const std::vector<std::string>& lines) {
    std::vector<std::string> enc;
    for (const auto& l : lines) enc.push_back(numericLine(l));
    writeVerRaw(enc);
}

void ProgramFolder::writeVerRaw(const std::vector<std::string>& encodedLines) {
    writeFileBytes(file("ver.txt"), crlf(encodedLines));
}

void ProgramFolder::writeProductInfo(const std::vector<std::string>& lines) {
    std::vector<std::string> enc;
    for (const auto& l : lines) enc.push_back(numericLine(l));
    writeFileBytes(dataFile("288901.mxy"), crlf(enc));
}

void ProgramFolder::writeFirstRunBytes(std::string_view bytes) { writeFileBytes(dataFile("288892.mxy"), bytes); }

void ProgramFolder::writePicture(std::string_view name, int width, int height) {
    writePng(dataFile(std::string(name) + ".mxy"), width, height);
}

void ProgramFolder::writeDataBytes(std::string_view name, std::string_view bytes) {
    writeFileBytes(dataFile(name), bytes);
}

void ProgramFolder::removeVer() { std::filesystem::remove(file("ver.txt")); }

void ProgramFolder::removeDataFolder() { std::filesystem::remove_all(dataDir()); }

}  // namespace testsupport
