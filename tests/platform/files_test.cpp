#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "tests/support/vb_error_of.h"
#include "tests/support/temp_dir.h"

using namespace platform;
using testsupport::readFileBytes;
using testsupport::TempDir;
using testsupport::writeFileBytes;

using testsupport::errorOf;

TEST(VbErrors, CarryNumberAndText) {
    struct Case {
        int number;
        const char* text;
    } cases[] = {{53, "File not found"},
                 {6, "Overflow"},
                 {429, "ActiveX component can't create object"},
                 {-2147012889, "Automation error"}};
    for (const auto& c : cases) {
        try {
            platform::raise(c.number);
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, c.number);
            EXPECT_STREQ(e.what(), c.text);
        }
    }
}

TEST(Files, ProgramFolder) {
    const std::string real = programFolder();
    EXPECT_FALSE(real.empty());
    EXPECT_NE(real.back(), '/');
    EXPECT_TRUE(fileExists(joinPath(real, executableBaseName())));
    EXPECT_EQ(executableBaseName(), "test_platform");
    setProgramFolderForTesting("/opt/x");
    EXPECT_EQ(programFolder(), "/opt/x");
    setProgramFolderForTesting("");
    EXPECT_EQ(programFolder(), real);
}

TEST(Files, PathText) {
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a", "\\b"), "/a/b");
    EXPECT_EQ(joinPath("", "b"), "b");
    EXPECT_EQ(toNativePath("data\\题库\\x.txt"), "data/题库/x.txt");
}

TEST(Files, CaseInsensitiveLookup) {
    TempDir dir;
    ASSERT_TRUE(makeDir(dir.file("Data/Sub")));
    writeFileBytes(dir.file("Data/Sub/Ver.TXT"), "1");
    writeFileBytes(dir.file("Data/exact.txt"), "a");
    writeFileBytes(dir.file("Data/EXACT.txt"), "b");

    EXPECT_EQ(findExistingCaseInsensitive(dir.file("data/sub/ver.txt")), dir.file("Data/Sub/Ver.TXT"));
    EXPECT_EQ(findExistingCaseInsensitive(dir.file("Data/EXACT.txt")), dir.file("Data/EXACT.txt"));
    EXPECT_EQ(findExistingCaseInsensitive(dir.file("DATA/exact.txt")), dir.file("Data/exact.txt"));
    EXPECT_FALSE(findExistingCaseInsensitive(dir.file("data/none.txt")));

    EXPECT_EQ(resolvePath(dir.path() + "\\DATA\\SUB\\ver.txt"), dir.file("Data/Sub/Ver.TXT"));
    EXPECT_EQ(resolvePath(dir.path() + "\\data\\new.txt"), dir.file("Data/new.txt"));
    EXPECT_EQ(resolvePath(dir.path() + "\\no\\new.txt"), dir.file("no/new.txt"));
}

TEST(Files, CopyAndRemove) {
    TempDir dir;
    const auto a = dir.file("a.bin"), b = dir.file("b.bin");
    writeFileBytes(a, std::string("x\0y", 3));
    copyFile(a, b, false);
    EXPECT_EQ(readFileBytes(b), std::string("x\0y", 3));
    EXPECT_EQ(errorOf([&] { copyFile(a, b, false); }), 58);
    writeFileBytes(a, "new");
    copyFile(a, b, true);
    EXPECT_EQ(readFileBytes(b), "new");
    EXPECT_EQ(errorOf([&] { copyFile(a, a, true); }), 75);
    EXPECT_EQ(readFileBytes(a), "new");

    EXPECT_EQ(errorOf([&] { copyFile(dir.file("none"), b, true); }), 53);
    EXPECT_EQ(errorOf([&] { copyFile(a, dir.file("none/b"), true); }), 76);
    EXPECT_EQ(errorOf([&] { copyFile(dir.path(), b, true); }), 75);

    EXPECT_TRUE(fileModifiedTime(a).has_value());
    EXPECT_FALSE(fileModifiedTime(dir.file("none")));
    removeFile(a);
    EXPECT_FALSE(fileExists(a));
    EXPECT_EQ(errorOf([&] { removeFile(a); }), 53);
    EXPECT_EQ(errorOf([&] { removeFile(dir.path()); }), 75);
}

TEST(Files, MakeDir) {
    TempDir dir;
    EXPECT_TRUE(makeDir(dir.file("x/y/z")));
    EXPECT_TRUE(makeDir(dir.file("x/y/z")));
    writeFileBytes(dir.file("f"), "");
    EXPECT_FALSE(makeDir(dir.file("f")));
}

TEST(Files, FolderNameInside) {
    TempDir dir;
    const std::string prog = dir.file("prog");
    ASSERT_TRUE(makeDir(prog + "/cadbank/sub"));
    ASSERT_TRUE(makeDir(dir.file("victim")));
    ASSERT_EQ(::symlink(dir.file("victim").c_str(), (prog + "/out").c_str()), 0);
    ASSERT_EQ(::symlink((prog + "/cadbank").c_str(), (prog + "/alias").c_str()), 0);
    const struct {
        const char* name;
        bool inside;
    } cases[] = {
        {"", true},           {".", true},           {"cadbank", true},       {"CADBANK", true},
        {"cadbank/", true},   {"cadbank\\sub", true}, {"notyet", true},        {"alias", true},
        {"../victim", false}, {"..", false},         {"cadbank/../..", false}, {"/tmp", false},
        {"\\tmp", false},     {"C:\\data", false},   {"c:data", false},       {"out", false},
        {"out/new", false},   {"a//b", true},        {"./cadbank", true},    {"tab\tname", false},
    };
    for (const auto& c : cases) EXPECT_EQ(folderNameInside(prog, c.name), c.inside) << '"' << c.name << '"';
    EXPECT_FALSE(folderNameInside(dir.file("missing"), "cadbank"));
}

TEST(Files, ReadFileInside) {
    TempDir dir;
    const std::string prog = dir.file("prog");
    ASSERT_TRUE(makeDir(prog + "/cadbank/sub"));
    writeFileBytes(prog + "/cadbank/page.htm", "<p>page</p>");
    writeFileBytes(prog + "/cadbank/full.bin", std::string(64, 'x'));
    writeFileBytes(prog + "/cadbank/over.bin", std::string(65, 'x'));
    writeFileBytes(prog + "/cadbank/empty.bin", "");
    writeFileBytes(dir.file("secret.txt"), "outside");
    ASSERT_EQ(::mkfifo((prog + "/cadbank/fifo.png").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(dir.file("secret.txt").c_str(), (prog + "/cadbank/out.png").c_str()), 0);
    ASSERT_EQ(::symlink((prog + "/cadbank/page.htm").c_str(), (prog + "/cadbank/alias.htm").c_str()), 0);
    const struct {
        std::string path;
        std::optional<std::string> want;
    } cases[] = {
        {prog + "/cadbank/page.htm", "<p>page</p>"},
        {prog + "/cadbank/sub/../page.htm", "<p>page</p>"},
        {prog + "/cadbank/alias.htm", "<p>page</p>"},
        {prog + "/cadbank/full.bin", std::string(64, 'x')},
        {prog + "/cadbank/empty.bin", ""},
        {prog + "/cadbank/over.bin", std::nullopt},
        {prog + "/cadbank/fifo.png", std::nullopt},
        {prog + "/cadbank/out.png", std::nullopt},
        {prog + "/cadbank/../../secret.txt", std::nullopt},
        {prog + "/cadbank/../../../../../../../../dev/zero", std::nullopt},
        {prog + "/cadbank/sub", std::nullopt},
        {prog + "/cadbank/missing.png", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readFileInside(prog, c.path, 64), c.want) << c.path;
    EXPECT_FALSE(readFileInside(dir.file("missing"), prog + "/cadbank/page.htm", 64));
    EXPECT_FALSE(readFileInside("/", "/dev/zero", 64)) << "a device, even inside the folder";
}
