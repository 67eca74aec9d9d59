// The home screen's build from start-up: the question bank's files, the learner's records,
// the frame, the cover, the advertisement, and a question bank of another module.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>

#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "tests/home/home_fixture.h"
#include "tests/support/scoped_failure.h"

namespace hometest {
namespace {

using testsupport::gbkBytes;
using testsupport::readFileBytes;

// The sample module's question counts, unit 0 first.
const std::vector<int> kSampleCounts{20, 6, 5, 4, 5, 5, 4, 3, 4, 4, 3, 42};

// The progress file as the build writes it: 25 lines, then one more line end.
std::string progressFile(const std::vector<std::string>& lines) {
    std::vector<std::string> all = lines;
    all.resize(25);
    return crlf(all) + "\r\n";
}

// A file's bytes and identity: a file replaced by a write has another inode even when its
// bytes are the same.
struct FileSeen {
    std::string bytes;
    std::uintmax_t inode = 0;
    friend bool operator==(const FileSeen&, const FileSeen&) = default;
    friend std::ostream& operator<<(std::ostream& os, const FileSeen& f) {
        return os << "inode " << f.inode << ", " << f.bytes.size() << " bytes: " << f.bytes;
    }
};
std::optional<FileSeen> fileSeen(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileSeen{readFileBytes(path), static_cast<std::uintmax_t>(st.st_ino)};
}

const std::vector<std::string> kSeededProgress{"TTFTFFTT", "TTTTTT", "FTF", "", "TTTTT"};

TEST_F(HomeScreen, FreshKsdataIsBuiltWithoutReports) {
    qz::FrmFengmian& home = start();
    EXPECT_TRUE(h->reports().empty());
    EXPECT_TRUE(home.visible());
    EXPECT_EQ(g().PaperCount, 5);
    EXPECT_EQ(g().UnitCount, 12);

    std::vector<std::string> want;
    for (int c : kSampleCounts) want.push_back(std::string(static_cast<std::size_t>(c), 'F'));
    EXPECT_EQ(progressBytes(), progressFile(want));

    for (std::size_t u = 0; u < kSampleCounts.size(); ++u) {
        SCOPED_TRACE(u);
        const auto& row = g().UnitTable[u];
        EXPECT_EQ(row[2], std::to_string(kSampleCounts[u]));
        EXPECT_EQ(row[3], std::to_string(kSampleCounts[u]));
        EXPECT_EQ(row[4], want[u]);
    }
    EXPECT_EQ(g().UnitTable[12][2], "");
    // All units are selected: 105 questions, none learned.
    EXPECT_EQ(home.SelectedUnit, -1);
    EXPECT_FALSE(home.ClickBotn(49).Enabled());
    EXPECT_EQ(home.LblUnitDQCAP(1).caption(), "所有题库中题目");
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), "105题");
    EXPECT_EQ(home.LblUnitDQCAP(3).caption(), "0题");
    EXPECT_EQ(home.LblUnitDQCAP(4).caption(), "105题");
    // The cover shows; the sections wait hidden.
    for (forms::Control* c : std::initializer_list<forms::Control*>{&home.PicTOP, &home.PicTiKu, &home.PicKaCH,
                                                                    &home.PicBiaoZhi, &home.PicCuoTi, &home.PicHelp,
                                                                    &home.PicAd})
        EXPECT_FALSE(c->visible()) << c->name();
    EXPECT_TRUE(home.picShouYe.visible());
}

TEST_F(HomeScreen, SeededProgressFollowsTheBank) {
    writeCatalogue({"0504", "05500304"});
    std::vector<std::string> seeded{"TTF", "TT", "TFTFTFT", "TTTT", "TTT"};
    for (int u = 5; u < 30; ++u) seeded.push_back("TTFF");  // 30 lines: units 25 on are not kept
    writeProgress(seeded);
    start();
    EXPECT_TRUE(h->reports().empty());

    const std::string fifty = "TT" + std::string(48, 'F');  // 48 short of its count, filled at once
    std::vector<std::string> want{"TTFFF", fifty, "TFT", "TTTT", ""};
    for (int u = 5; u < 25; ++u) want.push_back("");  // units past the catalogue's counts
    EXPECT_EQ(progressBytes(), progressFile(want));

    struct Row {
        const char* count;
        const char* notLearned;
        std::string line;
    };
    const std::vector<Row> rows{{"5", "3", "TTFFF"}, {"50", "48", fifty}, {"3", "1", "TFT"}, {"4", "0", "TTTT"}};
    for (std::size_t u = 0; u < rows.size(); ++u) {
        SCOPED_TRACE(u);
        EXPECT_EQ(g().UnitTable[u][2], rows[u].count);
        EXPECT_EQ(g().UnitTable[u][3], rows[u].notLearned);
        EXPECT_EQ(g().UnitTable[u][4], rows[u].line);
    }
    // Units from UnitCount on are not part of the table.
    EXPECT_EQ(g().UnitTable[4][2], "");
    EXPECT_EQ(g().UnitTable[4][4], "");
    EXPECT_EQ(home().LblUnitDQCAP(2).caption(), "62题");
    EXPECT_EQ(home().LblUnitDQCAP(4).caption(), "52题");
}

TEST(HomeBuild, ProgressAlreadyInShapeIsLeftAsItIs) {
    HomeRun r;
    r.writeProgress(kSeededProgress);
    const std::string path = r.folder.ksdata() + "/288893.mxy";
    r.run();  // pads the lines to the bank's counts
    const auto shaped = fileSeen(path);
    ASSERT_TRUE(shaped);
    EXPECT_NE(shaped->bytes, progressFile(kSeededProgress));
    r.run();
    EXPECT_TRUE(r.h->reports().empty());
    EXPECT_EQ(fileSeen(path), shaped);
}

TEST_F(HomeScreen, VersionInfoLabelsAndCaptions) {
    folder.writeDataBytes("288895.mxy", "  2026.12 beta  \r\n");
    setInfo(10, "400-123-4567");
    setInfo(11, "12345678");
    setInfo(16, "www.example.invalid");
    setInfo(29, "&HFF");
    setInfo(30, "300");
    setInfo(31, "5100");
    setInfo(32, "&H1D00");
    setInfo(33, "9930 px");
    qz::FrmFengmian& home = start();

    EXPECT_EQ(g().QuestionBankVersion, "2026.12 beta");
    struct Info {
        int index;
        std::string caption;
        int left;
    };
    const std::vector<Info> labels{{0, "题库版本：V  2026.12 beta  ", 300},
                                   {1, "官方网站：www.example.invalid", 5100},
                                   {2, "客服电话：400-123-4567", 7424},
                                   {3, "客服QQ：12345678", 9930}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.index);
        const forms::Label& lbl = home.LblInfo(l.index);
        EXPECT_EQ(lbl.caption(), l.caption);
        EXPECT_EQ(lbl.left(), l.left);
        EXPECT_EQ(lbl.top(), 8670);
        EXPECT_DOUBLE_EQ(lbl.font().size, 9);
        EXPECT_EQ(lbl.foreColor(), 255u);
        EXPECT_TRUE(lbl.visible());
    }
    EXPECT_EQ(home.caption(), "Quorvane练习系统");
    EXPECT_EQ(home.LblCaption.caption(), ProgramFolder::ModuleTitle);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, MissingVersionFileIsReportedAndReadsEmpty) {
    std::filesystem::remove(folder.dataFile("288895.mxy"));
    qz::FrmFengmian& home = start();
    EXPECT_EQ(g().QuestionBankVersion, "");
    EXPECT_EQ(home.LblInfo(0).caption(), "题库版本：V");
    EXPECT_EQ(h->reportsWith("errsub=fengmaincsh&errno=53&").size(), 1u);
    EXPECT_EQ(h->reports().size(), 1u);
    EXPECT_TRUE(home.visible());
}

struct CoverCase {
    const char* entry34;
    bool twoSections;
    friend void PrintTo(const CoverCase& c, std::ostream* os) { *os << '"' << c.entry34 << '"'; }
};

class Cover : public HomeRun, public ::testing::TestWithParam<CoverCase> {};

TEST_P(Cover, LayoutByEntry34) {
    // Entries are trimmed at start-up, so " 2 " reads "2"; "02" is another layout.
    setInfo(34, GetParam().entry34);
    qz::FrmFengmian& home = start();
    auto rect = [&](int i) { return home.ClickBotn(i).rect(); };
    if (GetParam().twoSections) {
        EXPECT_EQ(rect(4), (forms::Rect{2400, 3000, 2250, 2250}));
        EXPECT_EQ(rect(5), (forms::Rect{6900, 3000, 2250, 2250}));
        for (int i : {4, 5}) EXPECT_TRUE(home.ClickBotn(i).visible()) << i;
        for (int i : {6, 7}) EXPECT_FALSE(home.ClickBotn(i).visible()) << i;
        const std::map<int, forms::Rect> spots{{17, {1440, 6840, 1380, 300}},
                                               {18, {3030, 6840, 1380, 300}},
                                               {19, {1440, 7440, 1380, 300}},
                                               {20, {3030, 7440, 1380, 300}},
                                               {21, {480, 6570, 2820, 300}}};
        for (const auto& [i, r] : spots) {
            EXPECT_EQ(home.LblInfo(i).rect(), r) << i;
            EXPECT_TRUE(home.LblInfo(i).visible()) << i;
            EXPECT_EQ(home.LblInfo(i).caption(), "") << i;
        }
    } else {
        for (int i = 4; i <= 7; ++i) {
            EXPECT_EQ(rect(i), (forms::Rect{750 + (i - 4) * 2700, 3840, 2250, 2400})) << i;
            EXPECT_TRUE(home.ClickBotn(i).visible()) << i;
        }
        for (int i = 17; i <= 21; ++i) EXPECT_FALSE(home.LblInfo(i).visible()) << i;
    }
    for (int i : {0, 1, 9, 10, 26, 27, 44, 45, 46}) EXPECT_FALSE(home.ClickBotn(i).visible()) << i;
    for (int i : {2, 3, 8, 11, 12}) EXPECT_TRUE(home.ClickBotn(i).visible()) << i;
    EXPECT_EQ(rect(2), (forms::Rect{12000 - 825, 90, 330, 330}));
    EXPECT_EQ(rect(3), (forms::Rect{12000 - 420, 90, 330, 330}));
    EXPECT_EQ(rect(13), rect(2));
    EXPECT_EQ(rect(14), rect(3));
    for (int i = 15; i <= 19; ++i) EXPECT_EQ(rect(i), (forms::Rect{225 + (i - 15) * 1305, 435, 1230, 1200})) << i;
    // The unit and review sections give their filter and page buttons their selected strips.
    const std::map<int, std::string> own{
        {37, "l20087"}, {40, "l20090"}, {42, "l20092"}, {47, "l20086"}, {48, "l20046"}};
    for (int i = 0; i <= 48; ++i) {
        char id[8];
        std::snprintf(id, sizeof id, "l200%02d", i);
        EXPECT_EQ(pictureId(home.ClickBotn(i).Picture()), own.count(i) ? own.at(i) : id) << i;
    }
    for (int i = 0; i <= 99; ++i) {
        EXPECT_EQ(home.ClickBotn(i).MousePointer(), 99) << i;
        EXPECT_EQ(pictureId(home.ClickBotn(i).MouseIcon()), "9l0015") << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Home, Cover,
                         ::testing::Values(CoverCase{" 2 ", true}, CoverCase{"2", true}, CoverCase{"02", false},
                                           CoverCase{"4", false}, CoverCase{"", false}),
                         [](const ::testing::TestParamInfo<CoverCase>& i) { return "case" + std::to_string(i.index); });

TEST(HomeBuild, LayoutScalesWithTheScreen) {
    HomeRun r;
    r.writeCatalogue({"0502", "3040"});
    r.writeProgress({std::string(20, 'T') + std::string(10, 'F'), std::string(40, 'F')});
    r.run(12);  // 0.8 of the design size
    qz::FrmFengmian& home = r.home();
    EXPECT_EQ(home.width(), 9600);
    EXPECT_EQ(home.height(), 7200);
    EXPECT_EQ(home.PicTiKu.rect(), (forms::Rect{0, 1320, 9600, 5520}));
    EXPECT_EQ(home.ClickBotn(3).rect(), (forms::Rect{9264, 72, 264, 264}));
    EXPECT_EQ(home.ClickBotn(14).rect(), home.ClickBotn(3).rect());
    EXPECT_EQ(home.ClickBotn(16).rect(), (forms::Rect{1224, 348, 984, 960}));
    EXPECT_EQ(home.ClickBotn(51).rect(), (forms::Rect{12, 1116, 2160, 420}));
    EXPECT_DOUBLE_EQ(home.ClickBotn(51).FontSize(), 9 * 0.8);
    EXPECT_EQ(home.LblInfo(1).left(), 4032);
    EXPECT_EQ(home.LblInfo(1).top(), 6936);
    // All units: bars of 3570 × 20/70 and × 50/70 design twips on the base line at 5550.
    EXPECT_EQ(home.ImgUnitD.height(), 816);
    EXPECT_EQ(home.ImgUnitD.top(), 3624);
    EXPECT_EQ(home.ImgUnitC.height(), 2040);
    EXPECT_EQ(home.ImgUnitC.top(), 2400);
    EXPECT_EQ(home.LblUnitDQCAP(3).top(), 3624 - 192);
    EXPECT_TRUE(r.h->reports().empty());
}

TEST(HomeBuild, InputMethodOption) {
    struct Case {
        const char* file;  // nullptr: no file
        bool use;
    };
    for (const Case& c : {Case{nullptr, false}, Case{"1\r\n", true}, Case{"0\r\n", false}, Case{" 2x\r\n", true},
                          Case{"abc\r\n1\r\n", false}, Case{"", false}}) {
        SCOPED_TRACE(c.file ? c.file : "(none)");
        HomeRun r;
        if (c.file) r.writeRecord("288890.mxy", c.file);
        r.run();
        EXPECT_EQ(r.g().UseInputMethod, c.use);
        EXPECT_TRUE(r.h->reports().empty());
    }
}

TEST(HomeBuild, RandomPaperCount) {
    auto papers = [](int n) {
        std::vector<std::string> lines;
        for (int i = 0; i < n; ++i) lines.push_back("010" + std::to_string(i % 10) + "0102");
        return crlf(lines);
    };
    struct Case {
        std::string name;
        std::optional<std::string> file;
        int count;
    };
    const std::vector<Case> cases{{"none", std::nullopt, 0},
                                  {"empty", "", 0},
                                  {"blank line stops", crlf({"0101", "0102", "0103", "   ", "0104"}), 3},
                                  {"seven", papers(7), 7},
                                  {"fifteen", papers(15), 10},
                                  {"twenty", papers(20), 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HomeRun r;
        if (c.file) r.writeRecord("288891.mxy", *c.file);
        qz::FrmFengmian& home = r.start();
        EXPECT_EQ(home.RandomPaperCount, c.count);
        EXPECT_TRUE(r.h->reports().empty());
    }
}

TEST(HomeBuild, Advertisement) {
    struct Case {
        std::string name;
        std::optional<std::string> file;  // UTF-8, written in GBK
        std::string caption;
        forms::Color color;
        std::string link;
    };
    std::vector<Case> cases{
        {"two lines, red", "  欢迎◎光临 本站  \r\n255\r\nhttps://ad.example.invalid/a  \r\n", "欢迎\r\n光临 本站", 255,
         "https://ad.example.invalid/a  "},
        {"spaces around the mark stay", "a ◎ b\r\n&HFF0000\r\nx\r\nignored\r\n", "a \r\n b", 0xFF0000, "x"},
        {"letters give black", "文字\r\nred\r\n/tmp/some file\r\n", "文字", 0, "/tmp/some file"},
        {"one line: black, empty link", "只有一行\r\n", "只有一行", 0, ""},
        {"no file", std::nullopt, "", 0, ""},
    };
    // As large as the home screen reads, and one byte more: that one counts as no advertisement.
    const std::string head = "最大◎广告\r\n255\r\nhttps://ad.example.invalid/\r\n";
    const std::string full = head + std::string(qz::AdvertisementMaxBytes - gbkBytes(head).size(), 'p');
    cases.push_back({"at the bound", full, "最大\r\n广告", 255, "https://ad.example.invalid/"});
    cases.push_back({"one byte over the bound", full + "p", "", 0, ""});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HomeRun r;
        if (c.file) r.writeRecord("170100.mxy", gbkBytes(*c.file));
        qz::FrmFengmian& home = r.start();
        EXPECT_EQ(home.LblAD.caption(), c.caption);
        EXPECT_EQ(home.LblAD.foreColor(), c.color);
        EXPECT_EQ(home.AdLink, c.link);
        EXPECT_EQ(home.PicAd.width(), home.LblAD.width());
        EXPECT_EQ(home.PicAd.height(), home.LblAD.height());
        EXPECT_FALSE(home.PicAd.visible());
        EXPECT_TRUE(r.h->reports().empty());
        if (c.caption.empty()) continue;
        // The strip shows in an open section; a click hands the link to the shell as read.
        r.click(4);
        EXPECT_TRUE(home.PicAd.visible());
        r.click(home.LblAD);
        ASSERT_EQ(r.h->shell.calls.size(), 1u);
        EXPECT_EQ(r.h->shell.calls[0].kind, platform::RecordingShell::Call::Link);
        EXPECT_EQ(r.h->shell.calls[0].target, c.link);
    }
}

TEST(HomeBuild, ModuleStamp) {
    struct Case {
        const char* stamp;
        bool ends;
        std::size_t overflowReports = 0;
    };
    // A number past the platform's range is an error, reported; the stamp then matches nothing.
    for (const Case& c : {Case{"8\r\n", true}, Case{"07\r\n", false}, Case{" 7 \r\n", false}, Case{"", true},
                          Case{"12345678901\r\n", true}, Case{"1e400\r\n", true, 1}}) {
        SCOPED_TRACE(c.stamp);
        HomeRun r;
        r.folder.writeDataBytes("288899.mxy", c.stamp);
        r.writeProgress(kSeededProgress);
        const auto progressBefore = fileSeen(r.folder.ksdata() + "/288893.mxy");
        testing::internal::CaptureStderr();
        r.run();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(r.h->p().rt.ended(), c.ends);
        if (c.ends) {
            // The learner's progress is not touched by a build that ends.
            EXPECT_EQ(fileSeen(r.folder.ksdata() + "/288893.mxy"), progressBefore);
            // The window never showed; standard error says which modules disagree.
            EXPECT_EQ(r.h->host.shownLog, (std::vector<std::string>{"show FrmStart", "hide FrmStart"}));
            std::string stamped(c.stamp, std::strcspn(c.stamp, "\r"));
            EXPECT_NE(err.find("module " + (stamped.empty() ? std::string("(none)") : stamped)), std::string::npos)
                << err;
            EXPECT_NE(err.find("module 7"), std::string::npos) << err;
        } else {
            EXPECT_EQ(r.h->host.shownLog,
                      (std::vector<std::string>{"show FrmStart", "show FrmFengmian", "hide FrmStart"}));
            EXPECT_EQ(err, "");
        }
        EXPECT_EQ(r.h->reportsWith("errsub=fengmaincsh&errno=6&").size(), c.overflowReports);
        EXPECT_EQ(r.h->reports().size(), c.overflowReports);
    }
}

// ---- bad input ----

TEST(HomeBadInput, CatalogueFirstLine) {
    struct Case {
        const char* line;
        int papers;
        int units;
    };
    for (const Case& c : {Case{"  0508  ", 5, 8}, Case{"05", 5, 0}, Case{"ab12", 0, 12}, Case{"0525", 5, 20},
                          Case{"05-3", 5, 0}, Case{"", 0, 0}}) {
        SCOPED_TRACE(c.line);
        HomeRun r;
        r.writeCatalogue({c.line, "0806050405050403040403040404040404040404040404"});
        r.run();
        EXPECT_EQ(r.g().PaperCount, c.papers);
        EXPECT_EQ(r.g().UnitCount, c.units);
        EXPECT_TRUE(r.h->reports().empty());
        EXPECT_FALSE(r.h->p().rt.ended());
    }
}

TEST_F(HomeScreen, GarbageCountsReadAsTheirLeadingNumber) {
    // Pairs "08", "ab", " 7", "x0", "4".
    writeCatalogue({"0505", "08ab 7x04"});
    qz::FrmFengmian& home = start();
    EXPECT_EQ(progressBytes(), progressFile({"FFFFFFFF", "", "FFFFFFF", "", "FFFF"}));
    const std::vector<std::string> counts{"8", "0", "7", "0", "4"};
    for (std::size_t u = 0; u < counts.size(); ++u) EXPECT_EQ(g().UnitTable[u][2], counts[u]) << u;
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), "19题");
    click(4);
    click(51);
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), "0题");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, OtherLettersInProgressAreKeptAndCountAsLearned) {
    writeCatalogue({"0501", "06"});
    writeProgress({"TXF?t"});
    writeUnitSet(0, {1, 1, 1, 1, 1, 1});
    qz::FrmFengmian& home = start();
    EXPECT_EQ(progressBytes(), progressFile({"TXF?tF"}));
    EXPECT_EQ(g().UnitTable[0][2], "6");
    EXPECT_EQ(g().UnitTable[0][3], "2");
    EXPECT_EQ(g().UnitTable[0][4], "TXF?tF");
    click(4);
    EXPECT_EQ(home.SelectedUnit, 0);
    EXPECT_EQ(home.LblUnitDQCAP(3).caption(), "4题");
    EXPECT_EQ(home.LblUnitDQCAP(4).caption(), "2题");
    // Only "T" is learned for the learned list, only "F" for the other.
    clicks({38, 20});
    EXPECT_EQ(g().QuestionCount, 1);
    EXPECT_EQ(g().QuestionCodes[1], 1);
    // The practice has replaced the home screen; it ends, and the home screen comes back rebuilt.
    g().AllowPanelUnload = 1;
    h->p().frmMain().unload();
    h->p().frmTm().unload();
    h->p().frmFengmian().show();
    clicks({4, 39, 20});
    EXPECT_EQ(g().QuestionCount, 2);
    EXPECT_EQ(g().QuestionCodes[1], 3);
    EXPECT_EQ(g().QuestionCodes[2], 6);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, OverLongLines) {
    std::string counts;
    for (int k = 0; k < 100; ++k) counts += "09";
    writeCatalogue({"0503", counts});
    writeProgress({std::string(5000, 'T'), std::string(3000, 'F') + "T", "TF"});
    writeRecord("170100.mxy", std::string(4000, 'a') + "\r\n255\r\n");
    qz::FrmFengmian& home = start();
    std::vector<std::string> want{std::string(9, 'T'), std::string(9, 'F'), "TFFFFFFFF"};
    // The catalogue's counts are held for units 0 to 25; the file keeps units 0 to 24.
    for (int u = 3; u < 25; ++u) want.push_back(std::string(9, 'F'));
    EXPECT_EQ(progressBytes(), progressFile(want));
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), "27题");
    EXPECT_EQ(home.LblAD.caption().size(), 4000u);
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(HomeScreen, CatalogueOfTwentyFiveUnits) {
    std::string counts;
    for (int u = 1; u <= 25; ++u) counts += (u < 10 ? "0" : "") + std::to_string(u);
    writeCatalogue({"0525", counts});
    qz::FrmFengmian& home = start();
    EXPECT_EQ(g().UnitCount, 20);
    std::vector<std::string> want;
    for (int u = 1; u <= 25; ++u) want.push_back(std::string(static_cast<std::size_t>(u), 'F'));
    EXPECT_EQ(progressBytes(), progressFile(want));
    EXPECT_EQ(g().UnitTable[19][2], "20");
    EXPECT_EQ(g().UnitTable[20][2], "");
    EXPECT_EQ(home.ClickBotn(48).Caption(), "11-20单元");
    EXPECT_TRUE(home.ClickBotn(69).Caption().rfind("20.第20单元", 0) == 0) << home.ClickBotn(69).Caption();
    click(4);
    click(48);
    for (int i = 60; i <= 69; ++i) EXPECT_TRUE(home.ClickBotn(i).visible()) << i;
    click(69);
    EXPECT_EQ(home.SelectedUnit, 19);
    EXPECT_EQ(home.LblUnitDQCAP(2).caption(), "20题");
    EXPECT_TRUE(h->reports().empty());
}

TEST(HomeBadInput, UnreadableRecordFilesAreReported) {
    struct Case {
        const char* name;
        const char* tag;
        std::size_t reports;  // the progress file is read and written back
    };
    // A progress file that cannot be read is not written back either: one report.
    for (const Case& c : {Case{"288890.mxy", "fengmaincsh", 1}, Case{"288891.mxy", "fengmaincsh", 1},
                          Case{"288893.mxy", "fengmaincsh", 1}, Case{"170100.mxy", "fengmianload", 1}}) {
        SCOPED_TRACE(c.name);
        HomeRun r;
        std::filesystem::create_directories(r.folder.ksdata() + "/" + c.name);
        r.run();
        EXPECT_EQ(r.h->reportsWith(std::string("errsub=") + c.tag + "&errno=75&").size(), c.reports);
        EXPECT_EQ(r.h->reports().size(), c.reports);
        EXPECT_TRUE(r.h->isLoaded("FrmFengmian"));
        EXPECT_EQ(r.g().UnitCount, 12);
    }
}

TEST(HomeBadInput, UnreadableProgressIsReportedAndNotWrittenBack) {
    HomeRun r;
    r.writeProgress(kSeededProgress);
    const std::string path = r.folder.ksdata() + "/288893.mxy";
    const auto before = fileSeen(path);
    {
        testsupport::ScopedReadFailure unreadable(path);
        r.run();
    }
    EXPECT_EQ(r.h->reportsWith("errsub=fengmaincsh&errno=75&").size(), 1u);
    EXPECT_EQ(r.h->reports().size(), 1u);
    EXPECT_TRUE(r.h->isLoaded("FrmFengmian"));
    EXPECT_EQ(fileSeen(path), before);
    // The next build, with the file readable again, finds the progress as it was.
    r.run();
    EXPECT_TRUE(r.h->reports().empty());
    EXPECT_EQ(r.g().UnitTable[0][4], "TTFTFFTTFFFFFFFFFFFF");  // the questions added since: not learned
    EXPECT_EQ(r.g().UnitTable[1][4], "TTTTTT");
    EXPECT_EQ(r.g().UnitTable[2][4], "FTFFF");
}

TEST(HomeBadInput, CatalogueThatCannotBeReadLeavesProgressAlone) {
    struct Case {
        const char* what;
        int errorNumber;
        bool seeded;
    };
    for (const Case& c : {Case{"missing", 53, true}, Case{"unreadable", 75, true}, Case{"missing, no progress yet", 53, false}}) {
        SCOPED_TRACE(c.what);
        HomeRun r;
        if (c.seeded) r.writeProgress(kSeededProgress);
        const std::string path = r.folder.ksdata() + "/288893.mxy";
        const auto before = fileSeen(path);
        const std::string catalogue = r.folder.dataFile("288891.mxy");
        {
            std::optional<testsupport::ScopedReadFailure> unreadable;
            if (c.errorNumber == 53) std::filesystem::remove(catalogue);
            else unreadable.emplace(catalogue);
            r.run();
        }
        // Reported as before: by the build's own read and by the unit step's.
        const std::string reported = "errsub=fengmaincsh&errno=" + std::to_string(c.errorNumber) + "&";
        EXPECT_EQ(r.h->reportsWith(reported).size(), 2u);
        EXPECT_EQ(r.h->reports().size(), 2u);
        EXPECT_TRUE(r.h->isLoaded("FrmFengmian"));
        EXPECT_EQ(fileSeen(path), before);
    }
}

TEST(HomeBadInput, BrokenSkinPictureIsReportedAndTheScreenStillBuilt) {
    for (const char* id : {"l20053", "l20045"}) {
        SCOPED_TRACE(id);
        HomeRun r;
        std::string png = readFileBytes(r.folder.dataFile(std::string(id) + ".mxy"));
        r.folder.writeDataBytes(std::string(id) + ".mxy", png.substr(0, 20));
        r.run();
        EXPECT_FALSE(r.h->reports().empty());
        for (const auto& t : r.h->reports()) EXPECT_NE(t.find("&errno=481&"), std::string::npos) << t;
        EXPECT_EQ(r.g().UnitTable[0][2], "20");
        EXPECT_EQ(r.h->p().frmFengmian().LblUnitDQCAP(2).caption(), "105题");
    }
}

}  // namespace
}  // namespace hometest
