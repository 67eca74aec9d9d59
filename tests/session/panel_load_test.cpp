// The question panel's load: placement at the screen's scale, pictures, pages, the grid and
// the state every session starts from.
#include "tests/session/panel_fixture.h"

#include "platform/numbers.h"
#include "simwindow/FrmMain.h"

namespace paneltest {
namespace {

struct Placed {
    const char* what;
    const forms::Control* c;
    double left, top, width, height;  // design twips; negative width or height: not checked
};

class PanelLoad : public PanelTest, public ::testing::WithParamInterface<int> {};

TEST_P(PanelLoad, PlacesEveryControlAtTheScreensScale) {
    const int tpp = GetParam();
    const double s = tpp / 15.0;
    start(20, 1, tpp);
    writeQuestions({record("任务")});
    qz::FrmTm& f = panel();
    auto at = [s](double v) { return platform::clng(v * s); };

    EXPECT_EQ(f.width(), at(4980));
    EXPECT_EQ(f.height(), at(3630));
    // The simulated window, which the first display loads, docks the panel at its corner.
    const qz::FrmMain& m = h->p().frmMain();
    EXPECT_EQ(f.left(), m.left() + m.width() - f.width());
    EXPECT_EQ(f.top(), m.top() + m.height() - f.height());
    EXPECT_TRUE(f.topmost());
    EXPECT_FALSE(f.showInTaskbar());

    const std::vector<Placed> table = {
        {"lblMove", &f.lblMove, 0, 0, 4980, 450},
        {"ImgLogo1", &f.ImgLogo1, 60, 30, -1, -1},
        {"LblBiao", &f.LblBiao, 510, 90, -1, -1},
        {"LblZXH", &f.LblZXH, 4185, 30, 330, 330},
        {"LblClose", &f.LblClose, 4590, 30, 330, 330},
        {"FrmSelect", &f.FrmSelect, 0, 450, 4980, 4035},
        {"FrmKSXX", &f.FrmKSXX, 0, 450, 4980, 4035},
        {"CmdGN(0)", &f.CmdGN(0), 90, 15, 720, 330},
        {"CmdGN(1)", &f.CmdGN(1), 1020, 15, 720, 330},
        {"CmdGN(2)", &f.CmdGN(2), 1950, 15, 870, 330},
        {"CmdGN(3)", &f.CmdGN(3), 3030, 15, 870, 330},
        {"CmdGN(4)", &f.CmdGN(4), 4110, 15, 720, 330},
        {"CmdGN(5)", &f.CmdGN(5), 90, 2355, 870, 330},
        {"CmdGN(6)", &f.CmdGN(6), 2010, 2355, 870, 330},
        {"CmdGN(7)", &f.CmdGN(7), 3930, 2355, 870, 330},
        {"CmdGN(8)", &f.CmdGN(8), 90, 2355, 870, 330},
        {"CmdGN(9)", &f.CmdGN(9), 2010, 2355, 870, 330},
        {"CmdGN(10)", &f.CmdGN(10), 3930, 2355, 870, 330},
        {"CmdGN(11)", &f.CmdGN(11), 3030, 15, 870, 330},
        {"RtbTM", &f.RtbTM, 90, 450, 4770, 1815},
        {"Image2", &f.Image2, 3720, 1800, 870, 330},
        {"LblTime", &f.LblTime, 90, 2760, 1215, 285},
        {"PTime", &f.PTime, 1365, 2760, 2055, 285},
        {"LblName", &f.LblName, 3450, 2760, 735, 285},
        {"LblIME", &f.LblIME, 4230, 2760, 615, 285},
        {"CmdEn", &f.CmdEn, 4605, 2760, 240, 270},
        {"PicUnit", &f.PicUnit, 90, 2760, 4080, 285},
        {"LblUnit", &f.LblUnit, 0, 0, -1, -1},
        {"Image1", &f.Image1, 120, 120, 1455, 1740},
        {"Label1(0)", &f.Label1(0), 1680, 120, -1, -1},
        {"Label1(5)", &f.Label1(5), 1680, 1695, -1, -1},
        {"KsName1", &f.KsName1, 2640, 120, -1, -1},
        {"KsSFZ1", &f.KsSFZ1, 2640, 1695, -1, -1},
        {"CmTNO(1)", &f.CmTNO(1), 60, 150, 450, 450},
        {"CmTNO(12)", &f.CmTNO(12), 540, 630, 450, 450},
        {"CmTNO(40)", &f.CmTNO(40), 4380, 1590, 450, 450},
    };
    for (const Placed& p : table) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(p.c->left(), at(p.left));
        EXPECT_EQ(p.c->top(), at(p.top));
        if (p.width >= 0) {
            EXPECT_EQ(p.c->width(), at(p.width));
        }
        if (p.height >= 0) {
            EXPECT_EQ(p.c->height(), at(p.height));
        }
    }

    // Centred under the grid, the page buttons one and a half widths beside it.
    const bool one = tpp == 15;
    EXPECT_EQ(f.CmdSelFH.rect(), (forms::Rect{one ? 2078 : 4155, at(2580), at(825), at(330)}));
    EXPECT_EQ(f.CmdSelLast.rect(), (forms::Rect{one ? 840 : 1680, at(2580), at(825), at(330)}));
    EXPECT_EQ(f.CmdSelNext.rect(), (forms::Rect{one ? 3316 : 6630, at(2580), at(825), at(330)}));
    EXPECT_EQ(f.CmdKSFH.rect(), f.CmdSelFH.rect());
    EXPECT_EQ(f.Command2.rect(),
              (forms::Rect{platform::clng((810 - at(645)) / 2.0), at(270), at(645), at(540)}));

    // What stays at its design size at every scale.
    EXPECT_EQ(f.FrmZXH.rect(), (forms::Rect{0, 0, 810, 870}));
    EXPECT_EQ(f.Label2.rect(), (forms::Rect{-120, 0, 855, 255}));
    EXPECT_EQ(f.LblTimeJD.height(), 255);
    EXPECT_EQ(f.FrmZhuYa.rect(), (forms::Rect{0, at(450), at(4980), 4125}));

    EXPECT_DOUBLE_EQ(f.LblBiao.font().size, 10 * s);
    EXPECT_TRUE(f.LblBiao.font().bold);
    EXPECT_DOUBLE_EQ(f.RtbTM.font().size, 11 * s);
    for (const forms::Label* l : {&f.LblUnit, &f.LblTime, &f.LblIME, &f.LblName, &f.Label1(3), &f.KsKM1})
        EXPECT_DOUBLE_EQ(l->font().size, 9 * s) << l->name();
    EXPECT_DOUBLE_EQ(f.Image2.FontSize(), 9 * s);
}

INSTANTIATE_TEST_SUITE_P(Scales, PanelLoad, ::testing::Values(15, 30));

TEST_F(PanelTest, SkinsByTheirIdsAndTheExamPicturesOfTheMarkButtons) {
    const std::vector<std::string> ids = {"l01046", "l01044", "l01043", "l01030", "l01045", "l01047",
                                          "l01048", "l01053", "l01054"};
    for (const auto& id : ids) folder.writePicture(id, 88, 22);
    for (int i = 0; i <= 11; ++i) folder.writePicture("l010" + std::string(i < 10 ? "0" : "") + std::to_string(i), 88, 22);
    writeQuestions({record("任务")});

    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        start();
        g().InteractionMode = static_cast<std::int16_t>(mode);
        qz::FrmTm& f = panel();
        EXPECT_EQ(pictureId(f.icon()), "l62011");
        EXPECT_EQ(pictureId(f.picture()), "l01046");
        EXPECT_EQ(pictureId(f.ImgLogo1.picture()), "l20067");
        EXPECT_EQ(pictureId(f.LblZXH.Picture()), "l20002");
        EXPECT_EQ(pictureId(f.LblClose.Picture()), "l20003");
        EXPECT_EQ(pictureId(f.Image2.Picture()), "l01044");
        EXPECT_EQ(pictureId(f.CmdEn.Picture()), "l01043");
        EXPECT_EQ(pictureId(f.CmTNO(17).Picture()), "l01030");
        EXPECT_EQ(pictureId(f.CmdSelFH.Picture()), "l01045");
        EXPECT_EQ(pictureId(f.CmdKSFH.Picture()), "l01045");
        EXPECT_EQ(pictureId(f.CmdSelLast.Picture()), "l01047");
        EXPECT_EQ(pictureId(f.CmdSelNext.Picture()), "l01048");
        EXPECT_EQ(pictureId(f.CmdGN(0).Picture()), "l01000");
        EXPECT_EQ(pictureId(f.CmdGN(10).Picture()), "l01010");
        EXPECT_EQ(pictureId(f.CmdGN(3).Picture()), mode == 3 ? "l01053" : "l01003");
        EXPECT_EQ(pictureId(f.CmdGN(11).Picture()), mode == 3 ? "l01054" : "l01011");
    }
}

TEST_F(PanelTest, MissingSkinsLeaveTheRestOfTheLoadDone) {
    for (const char* id : {"l62011", "l20067", "l20002", "l20003", "l01005"}) removeSkin(id);
    writeQuestions({record("任务")});
    start(7, 1, 30);
    g().ExamineeName = "张三";
    qz::FrmTm& f = panel();
    EXPECT_EQ(f.icon(), nullptr);
    EXPECT_EQ(f.LblClose.Picture(), nullptr);
    EXPECT_EQ(f.CmdGN(5).Picture(), nullptr);
    EXPECT_EQ(f.width(), 9960);
    EXPECT_EQ(f.LblClose.left(), 9960 - 780);
    EXPECT_EQ(f.CmdSelFH.top(), 5160);
    EXPECT_EQ(f.LblName.caption(), "张三");
    EXPECT_EQ(f.RtbTM.text(), "任务");
    EXPECT_TRUE(h->reports().empty());
}

TEST_F(PanelTest, PagesHiddenAndTheExamTakerPageFilled) {
    writeQuestions({record("任务")});
    start();
    g().ExamineeName = "李四";
    g().ExamineeSeat = "12";
    g().ExamineeSession = "3";
    g().ExamineeAdmissionNo = "A001";
    g().ExamineeIdNo = "110101";
    qz::FrmTm& f = panel();
    EXPECT_FALSE(f.FrmSelect.visible());
    EXPECT_FALSE(f.FrmKSXX.visible());
    EXPECT_FALSE(f.FrmZXH.visible());
    EXPECT_TRUE(f.FrmZhuYa.visible());
    for (const auto& e : h->host.shownLog) EXPECT_NE(e, "show FrmTm");  // the caller shows it
    EXPECT_EQ(f.Label1(0).caption(), "姓    名：");
    EXPECT_EQ(f.Label1(5).caption(), "身份证号：");
    const std::vector<std::pair<const forms::Label*, std::string>> values = {
        {&f.KsName1, "李四"}, {&f.KsZWH1, "12"},       {&f.KsCC1, "3"},
        {&f.KsDAH1, "A001"},  {&f.KsKM1, "XYmodule"}, {&f.KsSFZ1, "110101"}};
    for (const auto& [label, text] : values) EXPECT_EQ(label->caption(), text) << label->name();
}

TEST_F(PanelTest, GridCellsAndPageButtonsByQuestionCount) {
    writeQuestions({record("任务")});
    struct Case {
        int count;
        int visibleCells;
        bool pageButtons;
        int lastPage;
    };
    for (const Case& c : std::vector<Case>{{0, 0, false, -1},
                                           {7, 7, false, 0},
                                           {40, 40, false, 0},
                                           {41, 40, true, 1},
                                           {80, 40, true, 1},
                                           {81, 40, true, 2},
                                           {500, 40, true, 12}}) {
        SCOPED_TRACE(c.count);
        start(c.count);
        qz::FrmTm& f = panel();
        int shown = 0;
        for (int m = 1; m <= 40; ++m) {
            if (f.CmTNO(m).visible()) {
                ++shown;
                EXPECT_LE(m, c.count);
            }
            EXPECT_EQ(f.CmTNO(m).Caption(), std::to_string(m));
        }
        EXPECT_EQ(shown, c.visibleCells);
        EXPECT_EQ(f.CmdSelLast.visible(), c.pageButtons);
        EXPECT_EQ(f.CmdSelNext.visible(), c.pageButtons);
        EXPECT_TRUE(f.CmdSelFH.visible());
        EXPECT_EQ(f.GridPage, 0);
        EXPECT_EQ(f.LastGridPage, c.lastPage);
    }
}

TEST_F(PanelTest, EverySessionStartsAtStepOneWithAFullClock) {
    writeQuestions({record("一"), record("二"), record("三")});
    start(3, 2);
    g().ResumeStep[2] = 4;
    g().ResumeStep[41] = 7;
    g().ResumeStep[500] = 9;
    g().ExamMinutesLeft = 12;
    g().InteractionMode = 3;
    qz::FrmTm& f = panel();
    for (int k = 1; k <= 500; ++k) ASSERT_EQ(g().ResumeStep[static_cast<std::size_t>(k)], 1) << k;
    EXPECT_EQ(g().CurrentStep, 1);  // the question shown by the load resumes at its first step
    EXPECT_EQ(g().ExamMinutesLeft, 50);
    EXPECT_EQ(f.LblTime.caption(), "剩余50分钟");
    EXPECT_EQ(f.LblTimeJD.width(), 0);
    EXPECT_EQ(f.DemoStartTicks, 0);
    EXPECT_TRUE(f.TimKsModel.timerEnabled());
    EXPECT_TRUE(f.TimeKS.timerEnabled());
    EXPECT_FALSE(f.TimerREDO.timerEnabled());
    EXPECT_FALSE(f.TimStartYS.timerEnabled());
}

TEST_F(PanelTest, EntryOneIsOpenedAtLoadWhicheverQuestionIsShown) {
    writeQuestions({record("一"), record("二"), record("三")});
    struct Case {
        std::int16_t before, after;
    };
    for (const Case& c : std::vector<Case>{{0, 1}, {1, 1}, {2, 3}, {3, 3}, {4, 5}, {6, 7}}) {
        SCOPED_TRACE(c.before);
        start(3, 3);
        g().QuestionState[1] = c.before;
        panel();
        EXPECT_EQ(g().QuestionState[1], c.after);
        EXPECT_EQ(g().QuestionState[2], 0);
        EXPECT_EQ(g().QuestionState[3], 1);  // and the question the load shows
    }
}

}  // namespace
}  // namespace paneltest
