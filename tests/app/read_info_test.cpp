// Product information and installation settings, read during a whole start-up.
#include <gtest/gtest.h>

#include <filesystem>

#include "home/FrmFengmian.h"
#include "platform/files.h"
#include "tests/app/program_harness.h"

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;
using testsupport::readFileBytes;

namespace {

const std::string kKey = std::string("HKEY_CURRENT_USER\\Software\\") + ProgramFolder::RegistryKeyName;

std::optional<std::string> stored(ProgramHarness& h, const std::string& name) { return h.settings.value(kKey, name); }

}  // namespace

TEST(ReadInfo, FullInstallation) {
    ProgramFolder folder;
    ProgramHarness h(folder);
    h.p().run();
    const qz::Shared& g = h.g();

    EXPECT_TRUE(h.reports().empty());
    EXPECT_EQ(g.ModuleName, ProgramFolder::ModuleName);  // product-info line 1 does not change it
    EXPECT_EQ(g.ModuleTitle, ProgramFolder::ModuleTitle);
    EXPECT_EQ(g.ModuleNumber, 7);
    EXPECT_EQ(g.DataDir, folder.dataDir());
    for (int u = 0; u <= 20; ++u)
        EXPECT_EQ(g.UnitTable[static_cast<std::size_t>(u)][1], "第" + std::to_string(u + 1) + "单元") << u;

    // Every entry from the product-information file, trimmed.
    auto info = ProgramFolder::fullProductInfo();
    for (std::size_t k = 0; k <= 10; ++k) EXPECT_EQ(g.ProductInfo[k], k == 10 ? "400-123-4567" : info[k]) << k;
    for (std::size_t k = 11; k <= 40; ++k) EXPECT_EQ(g.ProductInfo[k], info[k]) << k;
    EXPECT_EQ(h.p().rt.appTitle, "测试品牌绘图练习系统——huitu模块");
}

TEST(ReadInfo, FourLineVerUsesDefaultUnitNames) {
    ProgramFolder folder(ProgramFolder::Kind::FourLines);
    ProgramHarness h(folder);
    h.p().run();
    const qz::Shared& g = h.g();
    EXPECT_TRUE(h.reports().empty());
    EXPECT_EQ(g.ModuleName, ProgramFolder::ModuleName);
    EXPECT_EQ(g.ModuleNumber, 7);

    // What the same program gives entries 5 to 25 without any installation files.
    ProgramFolder bare(ProgramFolder::Kind::Missing);
    ProgramHarness defaults(bare);
    defaults.p().run();
    bool someDefault = false;
    for (std::size_t u = 0; u <= 20; ++u) {
        EXPECT_EQ(g.UnitTable[u][1], defaults.g().UnitTable[u][1]) << u;
        someDefault = someDefault || !g.UnitTable[u][1].empty();
    }
    EXPECT_TRUE(someDefault) << "entries 5 to 25 have no defaults at all";
    // The product-information file still gives entries 5 to 25 afterwards.
    EXPECT_EQ(g.ProductInfo[5], "info5");
    EXPECT_NE(g.UnitTable[0][1], "info5");
}

TEST(ReadInfo, DefaultsWhereTheFilesSayNothing) {
    ProgramFolder folder(ProgramFolder::Kind::FourLines);
    std::filesystem::remove(folder.dataFile("288901.mxy"));
    ProgramHarness h(folder);
    h.p().run();
    const auto& pi = h.g().ProductInfo;
    EXPECT_EQ(h.reportsWith("errsub=readInfo&errno=53&").size(), 1u);
    EXPECT_EQ(h.reports().size(), 1u);
    // Entries 1 to 4 keep the ver.txt lines, trimmed.
    EXPECT_EQ(pi[1], ProgramFolder::ModuleName);
    EXPECT_EQ(pi[2], ProgramFolder::ModuleTitle);
    EXPECT_EQ(pi[3], ProgramFolder::DataFolderName);
    EXPECT_EQ(pi[4], "7");
    struct Case {
        std::size_t entry;
        const char* value;
    } fixed[] = {{9, "Quorvane练习系统"}, {26, "2015"}, {29, "&H666666"}, {30, "240"}, {31, "5040"},
                 {32, "7440"},            {33, "9930"}, {34, "2"},          {39, ""},    {40, ""}};
    for (const auto& c : fixed) EXPECT_EQ(pi[c.entry], c.value) << c.entry;
    for (std::size_t k : {0, 8, 15}) EXPECT_FALSE(pi[k].empty()) << k;
    EXPECT_EQ(h.g().ExamineeName, pi[8]);
    EXPECT_EQ(h.p().rt.appTitle, pi[0] + "Quorvane练习系统——huitu模块");
}

TEST(ReadInfo, MissingVerIsReported) {
    ProgramFolder folder;
    folder.removeVer();
    ProgramHarness h(folder);
    h.p().run();
    auto reports = h.reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports[0].find("errsub=readInfo&errno=53&"), std::string::npos) << reports[0];
    // No usable module values: the data folder is not found either.
    EXPECT_NE(h.g().DataDir, folder.dataDir());
    EXPECT_EQ(h.g().ModuleNumber, 0);
    EXPECT_FALSE(stored(h, "ProPath00").has_value());
    EXPECT_EQ(readFileBytes(folder.dataFile("288892.mxy")), "0\r\n");
    EXPECT_TRUE(h.isLoaded("FrmFengmian"));
}

TEST(ReadInfo, GarbageGroupsAreReportedAndTheRestRead) {
    ProgramFolder folder(ProgramFolder::Kind::Garbage);
    ProgramHarness h(folder);
    h.p().run();
    EXPECT_EQ(h.g().ModuleName, "huitu");
    EXPECT_EQ(h.g().UnitTable[0][1], "第1单元");
    EXPECT_EQ(h.g().UnitTable[1][1], "第2单元");
    EXPECT_EQ(h.reportsWith("errsub=readInfo&").size(), 2u);
    EXPECT_EQ(h.reports().size(), 2u);
}

TEST(ReadInfo, LinesBeyondTheTableAreReportedNotStored) {
    struct Case {
        const char* what;
        bool inVer;  // else in the product-information file
    } cases[] = {{"ver.txt line 41", true}, {"product-information line 42", false}};
    for (const auto& c : cases) {
        ProgramFolder folder;
        auto ver = ProgramFolder::fullVerLines();
        auto info = ProgramFolder::fullProductInfo();
        if (c.inVer) {
            for (int k = 26; k <= 41; ++k) ver.push_back("ver" + std::to_string(k));
            info.resize(20);  // leaves entries 20 to 40 to ver.txt
        } else {
            info.push_back("info41");
        }
        folder.writeVer(ver);
        folder.writeProductInfo(info);
        ProgramHarness h(folder);
        h.p().run();
        EXPECT_EQ(h.reports().size(), 1u) << c.what;
        EXPECT_EQ(h.reportsWith("errsub=readInfo&errno=9&").size(), 1u) << c.what;
        EXPECT_EQ(h.g().ProductInfo[40], c.inVer ? "ver40" : "info40") << c.what;
        EXPECT_EQ(h.g().ModuleName, ProgramFolder::ModuleName) << c.what;
    }
}

TEST(ReadInfo, ModuleNumberNamesTheValues) {
    struct Case {
        const char* number;
        const char* nn;
    } cases[] = {{"7", "07"}, {"12", "12"}, {"0", "00"}, {"123", "23"}, {" 5.5", "06"}};
    for (const auto& c : cases) {
        ProgramFolder folder;
        auto ver = ProgramFolder::fullVerLines();
        ver[3] = c.number;
        folder.writeVer(ver);
        ProgramHarness h(folder);
        h.p().run();
        EXPECT_TRUE(stored(h, std::string("ProPath") + c.nn).has_value()) << c.number;
        EXPECT_TRUE(stored(h, std::string("ProName") + c.nn).has_value()) << c.number;
    }
}

TEST(ReadInfo, ModuleNumberOutOfRange) {
    ProgramFolder folder;
    auto ver = ProgramFolder::fullVerLines();
    ver[3] = "40000";
    folder.writeVer(ver);
    ProgramHarness h(folder);
    h.p().run();
    EXPECT_EQ(h.g().ModuleNumber, 0);
    EXPECT_EQ(h.reportsWith("errsub=readInfo&errno=6&").size(), 1u);
    EXPECT_EQ(h.g().ModuleName, ProgramFolder::ModuleName);
}

TEST(ReadInfo, FirstRunStoresWholeValuesAndMarksTheInstallation) {
    for (const char* name : {"quorvane", "练习系统quorvane"}) {
        ProgramFolder folder(ProgramFolder::Kind::Full, name);
        ProgramHarness h(folder);
        h.p().run();
        EXPECT_EQ(stored(h, "ProPath07"), folder.path() + std::string(72, '*')) << name;
        EXPECT_EQ(stored(h, "ProName07"), platform::executableBaseName() + std::string(36, '*')) << name;
        EXPECT_EQ(readFileBytes(folder.dataFile("288892.mxy")), "1\r\n") << name;
    }
}

TEST(ReadInfo, OnlyAnExactZeroIsAFirstRun) {
    struct Case {
        const char* bytes;
        bool firstRun;
    } cases[] = {{"0\r\n", true}, {"0", true},      {"0\r\n1\r\n", true}, {" 0\r\n", false},
                 {"0 \r\n", false}, {"1\r\n", false}, {"", false},          {"\r\n0\r\n", false}};
    for (const auto& c : cases) {
        ProgramFolder folder;
        folder.writeFirstRunBytes(c.bytes);
        ProgramHarness h(folder);
        h.p().run();
        EXPECT_EQ(stored(h, "ProPath07").has_value(), c.firstRun) << '"' << c.bytes << '"';
        EXPECT_EQ(readFileBytes(folder.dataFile("288892.mxy")), c.firstRun ? "1\r\n" : c.bytes)
            << '"' << c.bytes << '"';
    }
}

TEST(ReadInfo, SecondStartWritesNothing) {
    ProgramFolder folder;
    testsupport::TempDir settings;
    const std::string store = settings.file("registry.ini");
    { ProgramHarness(folder, 15, store).p().run(); }
    const std::string before = readFileBytes(store);
    const auto stamp = std::filesystem::last_write_time(folder.dataFile("288892.mxy"));
    { ProgramHarness(folder, 15, store).p().run(); }
    EXPECT_EQ(readFileBytes(store), before);
    EXPECT_EQ(std::filesystem::last_write_time(folder.dataFile("288892.mxy")), stamp);
}

TEST(ReadInfo, FailedSettingsWriteKeepsTheFirstRunMarker) {
    ProgramFolder folder;
    testsupport::TempDir scratch;
    testsupport::writeFileBytes(scratch.file("plain-file"), "x");
    // A folder below a regular file can never be created, even by root.
    ProgramHarness h(folder, 15, scratch.file("plain-file/quorvane/registry.ini"));
    h.p().run();
    EXPECT_EQ(readFileBytes(folder.dataFile("288892.mxy")), "0\r\n");
    // Not noticed as a failing statement, and start-up goes on.
    EXPECT_TRUE(h.reports().empty());
    EXPECT_TRUE(h.isLoaded("FrmFengmian"));
}
