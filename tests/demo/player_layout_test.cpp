// The step layout as the player lays its steps out.
#include <functional>

#include "platform/numbers.h"
#include "tests/demo/player_fixture.h"
#include "tests/support/case_name.h"

namespace playertest {
namespace {

struct LayoutCase {
    const char* what;
    std::vector<std::string> records;  // the question's run, its "9999" added
    int step;                          // the step looked at
    std::function<void(PlayerTest&, qz::frmYanShi&)> check;
};

class PlayerLayout : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerLayout, StepsAreLaidOutAsTheirRecordsSay) {
    const int tpp = GetParam();
    auto sx = [&](int v) { return h->p().sx(v); };
    auto sy = [&](int v) { return h->p().sy(v); };
    writeTexts({"001abc|abd", "002hint two", "003box text"});
    const std::vector<LayoutCase> cases = {
        {"a slot of ten zeros hides its picture, whatever its id",
         {atStart("0001").image(1, 0, 0, "123456").image(2, 300, 450, "888888")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_FALSE(y.Image1.visible());
             EXPECT_TRUE(y.Image2.visible());
             EXPECT_EQ(y.Image2.left(), sx(300));
             EXPECT_EQ(y.Image2.top(), sy(450));
         }},
        {"a hot spot of zeros stays where it was, a point large and visible",
         {atStart("0001"), Rec("0020").hotSpot(0, 0, 0, 0).box(600, 7000, 3000, 300)},
         2,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_TRUE(y.Label1.visible());
             EXPECT_EQ(y.Label1.left(), sx(5950));
             EXPECT_EQ(y.Label1.width(), sx(1));
             EXPECT_EQ(y.Label1.height(), sy(1));
             EXPECT_EQ(y.Shape1.left(), y.Label1.left());
             EXPECT_EQ(y.Shape1.width(), sx(1));
         }},
        {"a hot spot of height 0 sizes itself",
         {Rec("0001").hotSpot(2000, 1500, 600, 0)},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_TRUE(y.Label1.autoSize());
             EXPECT_EQ(y.Label1.top(), sy(1500));
         }},
        {"the next hot spot with a height takes its width again",
         {atStart("0001").hotSpot(5950, 4450, 100, 0), Rec("0001").hotSpot(2000, 1500, 600, 300)},
         2,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_FALSE(y.Label1.autoSize());
             EXPECT_EQ(y.Label1.width(), sx(600));
             EXPECT_EQ(y.Label1.height(), sy(300));
         }},
        {"a command box of zeros hides both boxes",
         {atStart("0001")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_FALSE(y.Text1.visible());
             EXPECT_FALSE(y.Text2.visible());
         }},
        {"a command box with text 000 is empty, selected and focused once the window shows",
         {atStart("0001"), Rec("0001").box(600, 7000, 3000, 300).put(106, "000")},
         2,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_TRUE(y.Text1.visible());
             EXPECT_EQ(y.Text1.text(), "");
             EXPECT_EQ(y.Text1.left(), sx(600));
             EXPECT_EQ(y.Text1.height(), sy(300));
             EXPECT_TRUE(y.Text1.hasFocus());
         }},
        {"a command box takes its text from the texts file, all selected",
         {Rec("0001").box(600, 7000, 3000, 300).put(106, "003")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.Text1.text(), "box text");
             EXPECT_EQ(y.Text1.selLength(), 8);
         }},
        {"a hint without a position keeps the previous text and place; 000 is two spaces",
         {atStart("0001").hint(300, 200, "000"), Rec("0001")},
         2,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.LHelp.caption(), "  ");
             EXPECT_EQ(y.LHelp.left(), sx(300));
             EXPECT_EQ(y.LHelp.top(), sy(200));
             EXPECT_TRUE(y.LHelp.visible());
             EXPECT_TRUE(y.Shape1.visible());
         }},
        {"a hint with a text line",
         {Rec("0001").hint(300, 200, "002")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) { EXPECT_EQ(y.LHelp.caption(), "hint two"); }},
        {"titles follow the value of the bar's ten columns: MMMMM hides them",
         {Rec("0001").put(125, "MMMMM00400")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             for (int i = 0; i <= 10; ++i) EXPECT_FALSE(y.LMenu(i).visible()) << i;
         }},
        {"titles at y 0 from 0100000000, 810 design twips apart",
         {Rec("0001").put(125, "0100000000")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             for (int i = 0; i <= 10; ++i) {
                 EXPECT_TRUE(y.LMenu(i).visible()) << i;
                 EXPECT_FALSE(y.LMBack(i).visible()) << i;
             }
             EXPECT_EQ(y.LMenu(0).top(), 0);
             EXPECT_EQ(y.LMenu(3).left(), platform::clng((1000 + 810 * 3) * h->g().ScaleX));
             EXPECT_EQ(y.LMBack(3).width(), sx(810));
             EXPECT_EQ(y.LMBack(3).height(), sy(255));
             EXPECT_EQ(y.LMenu(2).caption(), "查看(&V)");
         }},
        {"an A code renames the titles for the rest of the demonstration",
         {atStart("A120").menuBar(100, 100), Rec("0001").menuBar(100, 100)},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.LMenu(2).caption(), "视图(&V)");
             EXPECT_EQ(y.LMenu(10).caption(), "帮助(&H)");
             EXPECT_EQ(y.StepCodeValue, 10120);
         }},
        {"B and C codes have their own values",
         {Rec("B220")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) { EXPECT_EQ(y.StepCodeValue, 11220); }},
        {"a work area of zeros is a point just off the window, its top kept",
         {Rec("0001")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.Label4.left(), -1);
             EXPECT_EQ(y.Label4.width(), 1);
             EXPECT_EQ(y.Label4.height(), 1);
             EXPECT_EQ(y.Shape4.left(), -1);
         }},
        {"a work area, its top from four columns",
         {Rec("0001").put(177, "01000" "0" "2000" "03000" "01500")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_TRUE(y.Label4.visible());
             EXPECT_EQ(y.Label4.left(), sx(1000));
             EXPECT_EQ(y.Label4.top(), sy(2000));
             EXPECT_EQ(y.Label4.width(), sx(3000));
             EXPECT_EQ(y.Shape4.height(), sy(1500));
         }},
        {"9999 first: the success hint, the end started, no move",
         {},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.LHelp.caption(), "操作成功！");
             EXPECT_TRUE(y.TimEnd.timerEnabled());
             EXPECT_FALSE(y.Timer2.timerEnabled());
         }},
        {"0021: the second box in the command box's place, with its text",
         {Rec("0021").box(600, 7000, 3000, 300).put(106, "003").hint(300, 200, "001")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_TRUE(y.Text2.visible());
             EXPECT_FALSE(y.Text1.visible());
             EXPECT_EQ(y.Text2.text(), "box text");
             EXPECT_EQ(y.Text2.left(), sx(600));
             EXPECT_EQ(y.Text2.width(), sx(3000));
             EXPECT_FALSE(y.Shape1.visible());
             EXPECT_EQ(y.LHelp.caption(), "输入 abc");
             EXPECT_EQ(y.TypedText, "abc|abd");
         }},
        {"A111: the first alternative between the prefix and the ending",
         {Rec("A111").box(600, 7000, 3000, 300).hint(300, 200, "001")},
         1,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.LHelp.caption(), "输入 abc并按回车键或空格键");
             EXPECT_EQ(y.TypedText, "abc|abd");
             EXPECT_TRUE(y.Shape1.visible());
         }},
        {"a carried typing hint is not prefixed twice",
         {Rec("0020").box(5700, 4400, 3000, 200).hint(300, 200, "001"), Rec("0020").box(600, 7000, 3000, 200)},
         2,
         [&](PlayerTest&, qz::frmYanShi& y) {
             EXPECT_EQ(y.LHelp.caption(), "输入 abc");
             EXPECT_EQ(y.TypedText, "abc|abd");
         }},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> records = c.records;
        records.push_back(Rec("9999"));
        qz::frmYanShi& y = play(records, tpp);
        if (c.step > 1) {
            for (int ms = 0; ms < 3000 && player() && y.PlayerStep < c.step; ms += 100) run(100);
            ASSERT_NE(player(), nullptr);
            ASSERT_EQ(y.PlayerStep, c.step);
        }
        c.check(*this, y);
    }
}

TEST_P(PlayerLayout, TheStepsFileIsReadAgainAtEveryStep) {
    qz::frmYanShi& y = play({atStart("0001"), farOff("0001"), Rec("9999")}, GetParam());
    writeSteps({atStart("0001"), Rec("0001").hotSpot(2000, 2000, 200, 200), Rec("9999")});
    run(150);
    ASSERT_EQ(y.PlayerStep, 2);
    EXPECT_EQ(y.Label1.left(), h->p().sx(2000));
    EXPECT_EQ(g().StepLine, y.record());
}

TEST_P(PlayerLayout, TheQuestionLabelGrowsALineForEveryFourteenCharacters) {
    session({Rec("9999")}, GetParam());
    const std::string text = "  一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十  ";  // 30, trimmed
    tm().RtbTM.setText(text);
    qz::frmYanShi& y = begin();
    EXPECT_EQ(y.ImgLogo.caption(), "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十");
    EXPECT_EQ(y.ImgLogo.height(), h->p().sy(3 * 180 + 15));
    EXPECT_EQ(y.ImgLogo.width(), h->p().sx(2535));
    EXPECT_EQ(y.ImgLogo.left(), h->p().sx(9420));
}

TEST_P(PlayerLayout, AnEmptyQuestionTextIsOneLineHigh) {
    session({Rec("9999")}, GetParam());
    tm().RtbTM.setText("");
    EXPECT_EQ(begin().ImgLogo.height(), h->p().sy(195));
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, PlayerLayout, ::testing::Values(15, 12));

}  // namespace
}  // namespace playertest
