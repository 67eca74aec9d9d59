// The update list as the server sends it: which lines are entries, where each file goes locally
// and on the server, and which names are refused before anything is requested.
#include <gtest/gtest.h>

#include "net/update_list.h"
#include "tests/support/program_folder.h"

using qz::readUpdateList;
using qz::UpdateEntry;

namespace {

const std::string kBase = "http://h/up/tgmhb/CAD/";

std::vector<UpdateEntry> entriesOf(std::vector<std::string> lines) {
    return readUpdateList(lines, "cadbank", kBase).entries;
}

}  // namespace

TEST(UpdateList, VersionIsTheFirstLineTrimmedToTwelveCharacters) {
    struct Case {
        std::string answer, version;
    } cases[] = {
        {"  201801011200extra\r\nD201801011200x", "201801011200"},
        {"2018\r\nD201801011200abcdef", "2018"},  // a short line 1 keeps line 2 out
        {"2018 \nnext", "2018"},
        {"  2018010112 3456", "2018010112 3"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(qz::updateListVersion(c.answer), c.version) << c.answer;
}

TEST(UpdateList, OnlyTwelveDigitsAreAVersion) {
    for (const char* v : {"201801011200", "209912312359"}) EXPECT_TRUE(qz::isListVersion(v)) << v;
    for (const char* v : {"2018", "20180101120", "2018010112 3", "2018-01-0112", "２０１８０１０１１２００", ""})
        EXPECT_FALSE(qz::isListVersion(v)) << v;
}

TEST(UpdateList, VerTxtNamesItsDataFolderOnItsThirdLineDecoded) {
    using testsupport::numericLine;
    EXPECT_EQ(qz::verDataFolderName({numericLine("huitu"), numericLine("绘图"), numericLine(" ../victim "), "7"}),
              "../victim");
    // A group that names no character is skipped, as start-up skips it.
    EXPECT_EQ(qz::verDataFolderName({"", "", "500000" + numericLine("data")}), "data");
    EXPECT_EQ(qz::verDataFolderName({"", ""}), std::nullopt);
}

TEST(UpdateList, EntriesAreLinesLongerThanEighteenNotBeginningWith20) {
    auto e = entriesOf({"201801011200",
                        "D20180101120012345",       // 18 characters: ignored
                        "201801011200123456789",    // a "20" line: ignored
                        "   D201801011200288901  ",  // trimmed of spaces
                        "\tD201801011200288902",    // a tab is no space: the letter is the tab
                        "K201801011200题库文件名称"});  // characters counted after decoding
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, "288901");
    EXPECT_EQ(e[0].stamp, "201801011200");
    EXPECT_EQ(e[1].letter, "\t");
    EXPECT_EQ(e[2].name, "题库文件名称");
}

TEST(UpdateList, FoldersLocalNamesAndServerAddresses) {
    auto e = entriesOf({"2019",
                        "X201801011200first.txt",  // before any folder: the program folder
                        "D201801011200288901",
                        "M201801011200sMenu.sys",
                        "K201801011200abc.txt",
                        "Q201801011200keptname",  // unknown letter: the previous folder
                        "E201801011200sub\\ok.dat",
                        "M201801011200名 称.sys"});
    struct Want {
        std::string folder, localName, url;
    } want[] = {
        {"", "first.txt", kBase + "first.rar"},
        {"cadbank", "288901.mxy", kBase + "cadbank/288901.rar"},
        {"", "sMenu.sys", kBase + "sMenu.rar"},
        {"ksdata", "abc.txt", kBase + "ksdata/abc.rar"},
        {"ksdata", "keptname.mxy", kBase + "ksdata/keptname.rar"},
        {"examdata", "sub\\ok.dat", kBase + "examdata/sub/ok.rar"},
        {"", "名 称.sys", kBase + "%E5%90%8D%20%E7%A7%B0.rar"},
    };
    ASSERT_EQ(e.size(), std::size(want));
    for (std::size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].folder, want[i].folder) << i;
        EXPECT_EQ(e[i].localName, want[i].localName) << i;
        EXPECT_EQ(e[i].serverUrl, want[i].url) << i;
        EXPECT_TRUE(e[i].accepted()) << i;
    }
    EXPECT_EQ(e[5].localParts, (std::vector<std::string>{"sub", "ok.dat"}));
}

TEST(UpdateList, NamesThatCouldLeaveTheirFolderAreRefused) {
    for (std::string name : {"../xfile", "a\\..\\..\\b", "/etc/xfile", "c:xfile", "ab\\\\cd", "ab\\.\\cd",
                             "abcdef/", "a\x01b.txt"}) {
        auto e = entriesOf({"2019", "M201801011200" + name});
        ASSERT_EQ(e.size(), 1u) << name;
        EXPECT_FALSE(e[0].accepted()) << name;
        EXPECT_TRUE(e[0].serverUrl.empty()) << name;
    }
    EXPECT_EQ(qz::checkedNameParts("sub/ok"), (std::vector<std::string>{"sub", "ok"}));
    EXPECT_EQ(qz::checkedNameParts("...x"), (std::vector<std::string>{"...x"}));
}
