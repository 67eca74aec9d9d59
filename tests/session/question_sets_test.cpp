// Question codes, lists, records and the checks and build of a question set.
#include "session/question_sets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/vb_error_of.h"

namespace {

using qz::QuestionCode;
using qz::QuestionCodeList;
using qz::QuestionRecord;

TEST(QuestionCode, WrittenAndShown) {
    struct Case {
        int value;
        const char* text;
        const char* shown;
        int unit, question;
    };
    for (const Case& c : {Case{5, "0005", "0105", 0, 5}, Case{1203, "1203", "1303", 12, 3}, Case{0, "0000", "0100", 0, 0},
                          Case{1999, "1999", "2099", 19, 99}}) {
        QuestionCode code{c.value};
        EXPECT_EQ(code.text(), c.text);
        EXPECT_EQ(code.shown(), c.shown);
        EXPECT_EQ(code.unit(), c.unit);
        EXPECT_EQ(code.question(), c.question);
    }
}

TEST(QuestionCodeList, CountRoundsHalfToEvenAndStopsAt500) {
    struct Case {
        std::string list;
        int count;
    };
    for (const Case& c : {Case{"", 0}, Case{"0001", 1}, Case{"00010", 1}, Case{"000100", 2}, Case{"0001000", 2},
                          Case{"0001000100", 2},      // 2.5
                          Case{"00010001000100", 4},  // 3.5
                          Case{"第一题第二题", 2},    // characters, not bytes
                          Case{std::string(4 * 501, '0'), 500}, Case{std::string(4 * 40000, '0'), 500}})
        EXPECT_EQ(QuestionCodeList::entryCount(c.list), c.count) << c.list.size();
}

TEST(QuestionCodeList, EntriesAreTheirGroupsLeadingNumbers) {
    const std::string list = "00031202 1 abcd0150012";
    std::vector<int> want{3, 1202, 1, 0, 1500, 12};
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(QuestionCodeList::entry(list, i).value, want[static_cast<std::size_t>(i - 1)]) << i;
}

TEST(QuestionRecord, Fields) {
    QuestionRecord plain{"第01题03画一条直线|再画一条"};
    EXPECT_EQ(plain.stepCount(), 3);
    EXPECT_EQ(plain.text(), "画一条直线|再画一条");
    EXPECT_EQ(plain.pictureId(), "");
    EXPECT_EQ(plain.task(), "画一条直线|再画一条");

    QuestionRecord picture{"0001 2pictureab12cd按图画线"};
    EXPECT_EQ(picture.stepCount(), 2);
    EXPECT_EQ(picture.pictureId(), "ab12cd");
    EXPECT_EQ(picture.task(), "按图画线");
    // A blank id names no picture.
    EXPECT_EQ((QuestionRecord{"000101picture      按图画线"}).pictureId(), "");
    EXPECT_EQ((QuestionRecord{"0001"}).stepCount(), 0);
}

TEST(QuestionFile, RunsStartWhereThePreviousEndAndStopAtABlankLine) {
    auto records = qz::usableRecords({"000103a", "000105b", "000104c", "   ", "000109d"});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(qz::firstStepLines(records), (std::vector<std::int32_t>{1, 4, 9, 13}));
    EXPECT_EQ(qz::firstStepLines({}), (std::vector<std::int32_t>{1}));
}

std::string step(const std::string& code) { return "步010101" + code + "00000"; }

TEST(QuestionFile, RunChecks) {
    const std::vector<std::string> steps{step("A101"), step("9999"), step("9999"), step("A101"), step("A102")};
    struct Case {
        const char* name;
        long first;
        int count;
        bool sound;
    };
    for (const Case& c : {Case{"two steps", 1, 2, true}, Case{"one step", 3, 1, true}, Case{"no step", 3, 0, false},
                          Case{"negative count", 3, -1, false}, Case{"9999 before the last", 2, 2, false},
                          Case{"last is not 9999", 4, 2, false}, Case{"past the end", 5, 2, false},
                          Case{"before the start", 0, 2, false}})
        EXPECT_EQ(qz::soundRun(steps, c.first, c.count), c.sound) << c.name;

    std::vector<QuestionRecord> records{{"000102a"}, {"000101b"}, {"000102c"}};
    EXPECT_TRUE(qz::soundSet(records, 2, steps));
    EXPECT_FALSE(qz::soundSet(records, 3, steps));  // its run is A101 A102
    EXPECT_FALSE(qz::soundSet(records, 0, steps));
    EXPECT_FALSE(qz::soundSet(records, 4, steps));  // more entries than records
}

TEST(QuestionFile, UnfinishableStepsAreFound) {
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("ico07.CUR"), "cursor");
    testsupport::writeFileBytes(dir.file("texts.mxy"), "001a|b\r\n002ab\r\n");
    // With a hot spot of 600 x 300 unless the field given replaces it.
    auto put = [](std::string r, int col, const std::string& value) {
        return r.replace(static_cast<std::size_t>(col - 1), value.size(), value);
    };
    auto rec = [&](const std::string& code, int col, const std::string& value) {
        return put(put(put(std::string(196, '0'), 8, code), 66, "01000010000060000300"), col, value);
    };
    const std::string noSpot(20, '0');
    struct Case {
        const char* name;
        std::string record;
        bool stuck;
    };
    for (const Case& c : {Case{"standard pointer 0", rec("0050", 101, "S0000"), true},
                          Case{"standard pointer 2", rec("0051", 101, "S0002"), false},
                          Case{"standard pointer 16", rec("0050", 101, "S0016"), true},
                          Case{"cursor file present", rec("0050", 101, "M0007"), false},
                          Case{"cursor file missing", rec("0050", 101, "M0008"), true},
                          Case{"any other kind reads a file", rec("0050", 101, "X0008"), true},
                          Case{"rubber band ignores its pointer", rec("0040", 101, "S0000"), false},
                          Case{"rename with alternatives", rec("0021", 109, "001"), true},
                          Case{"rename without", rec("0021", 109, "002"), false},
                          Case{"command with alternatives", rec("0020", 109, "001"), false},
                          Case{"8005", rec("8005", 1, "0"), true}, Case{"8004", rec("8004", 1, "0"), false},
                          // The hot spot under a pixel (15 design twips) where only it completes the step.
                          Case{"click, no hot spot", rec("0001", 66, noSpot), true},
                          Case{"click, 14 wide", rec("0001", 76, "00014"), true},
                          Case{"click, height 0 is a line", rec("0002", 81, "00000"), false},
                          Case{"hover, 10 high", rec("0030", 81, "00010"), true},
                          Case{"button with shift, no hot spot", rec("9102", 66, noSpot), true},
                          Case{"context menu, no hot spot", rec("3122", 66, noSpot), true},
                          Case{"drag onto no hot spot", rec("0040", 66, noSpot), true},
                          Case{"bar code, no hot spot", rec("A120", 66, noSpot), true},
                          Case{"bar code with its bar", put(rec("A120", 66, noSpot), 125, "0030000400"), false},
                          Case{"typed answer", put(rec("0001", 66, noSpot), 86, "00100001000100000300"), false},
                          Case{"a key also does", rec("2000", 66, noSpot), false},
                          Case{"a work-area click also does", put(rec("0001", 66, noSpot), 187, "0060000300"), false},
                          Case{"a work area locked to clicks", put(put(rec("0001", 66, noSpot), 187, "0060000300"), 6, "EE"), true},
                          Case{"a key step", rec("6013", 66, noSpot), false}}) {
        const std::vector<std::string> steps{rec("0001", 1, "0"), c.record, rec("9999", 1, "0")};
        const std::vector<QuestionRecord> records{{"000103q"}};
        const auto found = qz::stuckSteps(records, 1, steps, dir.path(), dir.file("texts.mxy"));
        ASSERT_EQ(found.size(), c.stuck ? 1u : 0u) << c.name;
        if (c.stuck) {
            EXPECT_EQ(found[0].question, 1) << c.name;
            EXPECT_EQ(found[0].step, 2) << c.name;
        }
    }
}

TEST(QuestionFile, StepsNoActionCompletes) {
    // 196 columns; with a hot spot or without.
    const auto rec = [](const std::string& code, bool spot) {
        std::string r = "0000000" + code + std::string(185, '0');
        if (spot) r.replace(65, 20, "01000010000060000300");
        return r;
    };
    const std::vector<std::string> steps{
        rec("3120", true), rec("3101", true),  rec("9999", false),                                       // 1
        rec("A100", false), rec("A100", true), rec("4000", true), rec("1E99", true), rec("9999", false),  // 2
        rec("3001", true), rec("9999", false),                                                           // 3
    };
    const std::vector<QuestionRecord> records{{"000103a"}, {"000205b"}, {"000302c"}};
    const auto stuck = [&](int count) {
        std::vector<std::string> where;
        for (const auto& s : qz::stuckSteps(records, count, steps, "", ""))
            where.push_back(std::to_string(s.question) + "/" + std::to_string(s.step) + " " + s.code);
        return where;
    };
    // 2/1 has no hot spot and no menu bar, so nothing completes it.
    EXPECT_EQ(stuck(2), (std::vector<std::string>{"1/2 3101", "2/1 A100", "2/3 4000"}));
    EXPECT_EQ(stuck(3).back(), "3/1 3001");
    EXPECT_TRUE(stuck(0).empty());
}

TEST(QuestionSet, FileNames) {
    EXPECT_EQ(qz::QuestionSet{5}.stepsPath("/d/"), "/d/288805.mxy");
    EXPECT_EQ(qz::QuestionSet{5}.questionPath("/d/"), "/d/288855.mxy");
    EXPECT_EQ(qz::QuestionSet{19}.questionPath("/d/"), "/d/288869.mxy");
    EXPECT_EQ(qz::QuestionSet::ofUnit(4).stepsPath("/d/"), "/d/288824.mxy");
    EXPECT_EQ(qz::QuestionSet::ofUnit(4).questionPath("/d/"), "/d/288874.mxy");
}

class BuildSet : public ::testing::Test {
protected:
    void SetUp() override {
        // Unit 0: questions of 2, 1 and 3 steps; unit 1: of 1 and 2 steps, its second run
        // holding a GB18030-only character that must come through untouched.
        write("288870.mxy", "Q00102\xb5\xda\xd2\xbb\r\nQ00201b\r\nQ00303c\r\n");
        write("288820.mxy", "S000101A101\r\nS0001029999\r\nS0002019999\r\nS000301A101\r\nS000302A102\r\nS0003039999\r\n");
        write("288871.mxy", "Q10101a\r\nQ10202b\r\n");
        write("288821.mxy", "S0101019999\r\nS010201A101\x95\x32\x82\x36\r\nS0102029999\r\n");
    }
    void write(const std::string& name, const std::string& bytes) { testsupport::writeFileBytes(dir() + name, bytes); }
    std::string dir() const { return tmp.path() + "/"; }
    testsupport::TempDir tmp;
};

TEST_F(BuildSet, CopiesEachEntrysLinesInListOrder) {
    qz::BuiltSet set = qz::buildSet(dir(), "00030102000300010003");
    ASSERT_TRUE(set.sound);
    EXPECT_EQ(set.questionLines,
              (std::vector<std::string>{"Q00303c", "Q10202b", "Q00303c", "Q00102\xb5\xda\xd2\xbb", "Q00303c"}));
    ASSERT_EQ(set.stepLines.size(), 3u + 2 + 3 + 2 + 3);
    EXPECT_EQ(set.stepLines[3], "S010201A101\x95\x32\x82\x36");
    EXPECT_EQ(set.stepLines[5], "S000301A101");

    qz::writeSet(dir(), 19, set);
    EXPECT_EQ(testsupport::readFileBytes(dir() + "288869.mxy"),
              "Q00303c\r\nQ10202b\r\nQ00303c\r\nQ00102\xb5\xda\xd2\xbb\r\nQ00303c\r\n");
    const std::string first = qz::buildSet(dir(), "0102").stepLines[0];
    EXPECT_EQ(first, "S010201A101\x95\x32\x82\x36");
    // The same list twice gives the same files.
    qz::writeSet(dir(), 18, qz::buildSet(dir(), "00030102000300010003"));
    EXPECT_EQ(testsupport::readFileBytes(dir() + "288818.mxy"), testsupport::readFileBytes(dir() + "288819.mxy"));
}

TEST_F(BuildSet, AnEmptyListBuildsAnEmptySet) {
    qz::BuiltSet set = qz::buildSet(dir(), "");
    EXPECT_TRUE(set.sound);
    qz::writeSet(dir(), 5, set);
    EXPECT_EQ(testsupport::readFileBytes(dir() + "288805.mxy"), "");
    EXPECT_EQ(testsupport::readFileBytes(dir() + "288855.mxy"), "");
}

TEST_F(BuildSet, EntriesTheUnitsDoNotHoldLeaveItUnsound) {
    write("288872.mxy", "Q20101a\r\nQ20202b\r\n");
    write("288822.mxy", "S020101A101\r\nS020201A101\r\nS0202029999\r\n");  // question 1 never ends
    struct Case {
        const char* list;
        const char* why;
    };
    for (const Case& c : {Case{"00010000", "question 0"}, Case{"0004", "past the unit's last question"},
                          Case{"2001", "unit 20 would read the texts file"}, Case{"-001", "negative"},
                          Case{"0201", "a run without its 9999"}, Case{"0001zzzz", "no number"}})
        EXPECT_FALSE(qz::buildSet(dir(), c.list).sound) << c.why;
    EXPECT_TRUE(qz::buildSet(dir(), "0202").sound);
}

TEST_F(BuildSet, AMissingUnitFileFailsTheBuild) {
    EXPECT_EQ(testsupport::errorOf([&] { qz::buildSet(dir(), "00010501"); }), 53) << "built without unit 5";
}

}  // namespace
