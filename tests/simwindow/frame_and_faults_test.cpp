// The window frame (load, docking, drag strip), the step machine's bounds and the layout's
// handling of bad data: each fault is reported once and the window goes on.
#include <algorithm>

#include "platform/vb_error.h"
#include "session/question_sets.h"
#include "simwindow/step_record.h"
#include "tests/simwindow/sim_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vb_error_of.h"

namespace {

using simtest::Rec;
using simtest::SimWindow;

TEST_F(SimWindow, LoadSizesByScreenHeightAndDocksThePanel) {
    struct Case {
        int heightPx;
        bool maximised;
    };
    for (const Case& c : {Case{768, false}, Case{651, false}, Case{650, true}, Case{600, true}}) {
        SCOPED_TRACE(c.heightPx);
        start({Rec("0001"), Rec("9999")}, c.heightPx);
        // The panel's question display, which the load's docking brings about, gives the window
        // its normal state back: on a small screen that is the design size at the corner.
        EXPECT_EQ(m().windowState(), 0);
        EXPECT_EQ(m().width(), 12000);
        EXPECT_EQ(m().height(), 9000);
        EXPECT_EQ(m().left(), c.maximised ? 0 : (1024 * 15 - 12000) / 2);
        EXPECT_EQ(m().top(), c.maximised ? 0 : (c.heightPx * 15 - 9000) / 2);
        EXPECT_EQ(tm().left() + tm().width(), m().left() + m().width());
        EXPECT_EQ(tm().top() + tm().height(), m().top() + m().height());
    }
}

TEST_F(SimWindow, LoadResetsTheFirstFortyResumeStepsAndFillsTheMenuArrays) {
    h = std::make_unique<testsupport::ProgramHarness>(folder);
    // The panel's load resets every entry and loads the window; a window loaded again later,
    // beside the panel, resets only the first forty.
    tm();
    m().unload();
    g().ResumeStep[40] = 7;
    g().ResumeStep[41] = 7;
    m();
    EXPECT_EQ(g().ResumeStep[40], 1);
    EXPECT_EQ(g().ResumeStep[41], 7);
    for (forms::MenuArray* a : {&m().sVtrlSub1, &m().sVtrlSub5, &m().sVtrlInde1, &m().sVtrlInde4})
        EXPECT_EQ(a->items().size(), 11u);
    // Element 10 of an array follows its own element 0 in the popup, before the next title.
    const auto& top = m().wm100.items;
    ASSERT_EQ(top.size(), 5u + 4u * 11u);
    EXPECT_EQ(top[0], &m().sVtrlMain1);
    EXPECT_EQ(top[11], &m().sVtrlInde1(10));
    EXPECT_EQ(top[12], &m().sVtrlMain2);
}

TEST_F(SimWindow, DragStripMovesALargeWindowAndThePanelFollows) {
    struct Case {
        int heightPx;
        int button;
        bool moves;
    };
    // 650 pixels: maximised at load but shown at the design size, and dragged all the same.
    for (const Case& c : {Case{768, forms::buttons::Left, true}, Case{768, forms::buttons::Right, false},
                          Case{650, forms::buttons::Left, true}, Case{649, forms::buttons::Left, false}}) {
        SCOPED_TRACE(c.heightPx * 10 + c.button);
        start({Rec("0001"), Rec("9999")}, c.heightPx);
        tm().move(0, 0, 3000, 2000);  // undocked, as the panel's own drag may leave it
        const int left = m().left();
        if (c.button == forms::buttons::Left) {
            const forms::Point from = headless::HeadlessHost::centreOf(m().lblMove);
            h->host.drag(m().lblMove, {from.x - 1500, from.y + 300});
        } else {
            h->host.click(m().lblMove, c.button);
        }
        settle();
        EXPECT_EQ(m().left(), c.moves ? left - 1500 : left);
        const bool docked = tm().left() + tm().width() == m().left() + m().width();
        EXPECT_EQ(docked, c.heightPx >= 650);
    }
}

TEST_F(SimWindow, BackButtonAndGoStepStayWithinTheQuestion) {
    std::vector<std::string> records;
    for (int i = 1; i <= 11; ++i) records.push_back(Rec("0001"));
    records.push_back(Rec("9999"));
    records.push_back(Rec("0002"));  // the next question's first step
    start(records);
    struct Case {
        std::string go;
        int step;
    };
    for (const Case& c : {Case{"7", 7}, {"0", 7}, {"B", 11}, {"b", 9}, {"Z", 12}, {"-3", 1}, {"99", 12}}) {
        SCOPED_TRACE(c.go);
        h->host.then([this, c] { m().GoStep(c.go); });
        settle();
        EXPECT_EQ(step(), c.step);
        EXPECT_EQ(qz::stepCode(m().laidOutRecord()), c.step == 12 ? "9999" : "0001");
    }
    h->host.then([this] { m().GoStep("3"); });
    h->host.click(m().LblXXK(0));  // no "Q" record: one step back
    settle();
    EXPECT_EQ(step(), 2);
}

TEST_F(SimWindow, BackStepCountNeverGoesBeforeTheFirstStep) {
    start({Rec("0001"), Rec("0001").put(125, "Q0009").put(167, "0500006000"), Rec("0001").put(125, "Q0000").put(167, "0500006000"),
           Rec("9999")});
    h->host.click(m().Label1);
    settle();
    ASSERT_EQ(step(), 2);
    h->host.click(m().LblXXK(0));
    settle();
    EXPECT_EQ(step(), 1);
    h->host.then([this] { m().GoStep("3"); });
    h->host.click(m().LblXXK(0));  // "0" counts as one
    settle();
    EXPECT_EQ(step(), 2);
}

// A missing picture is reported once; the new step is in force without it, and the old
// step's action does not complete it.
TEST_F(SimWindow, MissingPicturesAreReportedOnceAndTheStepStands) {
    start({Rec("0001"), Rec("0002").put(12, "777777").image(1, 10, 10, "777778").hotSpot(50, 60, 700, 800), Rec("9999")});
    h->host.click(m().Label1);
    settle(2500);
    ASSERT_EQ(step(), 2);
    EXPECT_EQ(h->reportsWith("setData").size(), 1u);
    EXPECT_EQ(m().StepCode, 2);
    EXPECT_EQ(m().Label1.rect(), (forms::Rect{50, 60, 700, 800}));
    EXPECT_FALSE(m().picture());
    EXPECT_FALSE(m().Timer2.timerEnabled());
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 2);
}

// The report of a layout's fault waits for the layout's end: input that arrives during the
// report's wait meets the new step whole, so a move over the old hot spot is no hover there.
TEST_F(SimWindow, InputDuringALayoutsReportMeetsTheWholeNewStep) {
    start({Rec("0001").hotSpot(1000, 1000, 600, 300), Rec("0030").put(12, "777777").hotSpot(4000, 4000, 600, 300),
           Rec("9999")});
    h->server.setReply(testsupport::LoopbackHttpServer::Slow(400, "ok"));
    const forms::Point old = headless::HeadlessHost::centreOf(m().Label1);
    h->host.click(m().Label1);
    h->host.moveTo(old);
    h->host.moveTo({old.x + 15, old.y});
    settle(2500);
    ASSERT_EQ(h->reportsWith("setData").size(), 1u);
    EXPECT_EQ(step(), 2);
    h->host.moveTo(m().Label1);
    settle();
    EXPECT_EQ(step(), 3);
}

TEST_F(SimWindow, BadRecordsAreReportedOnceAndTheWindowGoesOn) {
    struct Case {
        std::string name;
        std::string record;
        int stepCode;
        int reports;
    };
    const std::string shortRecord = std::string(Rec("0001")).substr(0, 120);
    for (const Case& c : {Case{"short", shortRecord, 1, 1},
                          {"field above 32767", Rec("0001").hotSpot(40000, 100, 100, 100), 1, 1},
                          {"hot spot height above 32767", Rec("0001").put(81, "99999"), 1, 1},
                          {"exponent out of range", Rec("1E99"), 0, 1},
                          {"exponent in range", Rec("99E3"), 99000, 0}}) {
        SCOPED_TRACE(c.name);
        start({c.record, Rec("9999")});
        settle(2500);
        EXPECT_EQ(m().StepCode, c.stepCode);
        EXPECT_EQ(h->reportsWith("setData").size(), static_cast<std::size_t>(c.reports));
        EXPECT_FALSE(m().Timer2.timerEnabled());
    }
}

TEST_F(SimWindow, MissingStepsFileStillDisarmsTheLayoutTimer) {
    start({Rec("0001"), Rec("9999")});
    g().StepsFilePath = folder.dataFile("288821.mxy");
    m().Timer2.setEnabled(true);
    settle(2500);
    EXPECT_FALSE(m().Timer2.timerEnabled());
    EXPECT_EQ(h->reportsWith("setData").size(), 1u);
    EXPECT_EQ(m().StepCode, 1);  // the record on screen stays in force
}

TEST_F(SimWindow, ExponentMenuValueResetsTheTitlesBeforeAdvancing) {
    start({Rec("0001").put(125, "0030000400"), Rec("99E3").put(125, "0030000400"), Rec("9999")});
    h->host.then([this] {
        m().doNext();
        m().LMBack(2).setVisible(true);
        m().LMenu(2).setForeColor(0x8000000E);
        m().doNext();
    });
    settle();
    EXPECT_EQ(step(), 3);
    EXPECT_FALSE(m().LMBack(2).visible());
    EXPECT_EQ(m().LMenu(2).foreColor(), forms::colors::ButtonText);
}

// ---- reading the files ----

TEST(StepFiles, NumberedLineCountsFromTheStartAndFallsBackToTheLastLine) {
    testsupport::TempDir dir;
    const std::string path = dir.file("steps.mxy");
    testsupport::writeFileBytes(path, platform::encodeAnsi("一\r\n二\rthree\nfour"));
    struct Case {
        long n;
        std::string line;
    };
    for (const Case& c : {Case{1, "一"}, {2, "二"}, {3, "three"}, {4, "four"}, {5, "four"}, {0, "four"}, {-2, "four"}}) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(qz::steps::numberedLine(path, c.n), c.line);
    }
    testsupport::writeFileBytes(path, "");
    EXPECT_FALSE(qz::steps::numberedLine(path, 1));
    EXPECT_EQ(testsupport::errorOf([&] { qz::steps::numberedLine(dir.file("none.mxy"), 1); }), 53);
}

// Data files come from a system where names ignore case; a folder is no file.
TEST(StepFiles, FoundWhateverTheCaseOfTheirNameAndAFolderIsUnreadable) {
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("288820.MXY"), std::string(Rec("0001")) + "\r\n" + std::string(Rec("9999")));
    EXPECT_EQ(qz::steps::numberedLine(dir.file("288820.mxy"), 2), std::string(Rec("9999")));
    EXPECT_EQ(qz::steps::questionStepCount(dir.file("288820.mxy"), 1), 2);
    try {
        qz::steps::numberedLine(dir.path(), 1);
        FAIL();
    } catch (const platform::VbError& e) {
        EXPECT_EQ(e.number, 75);
    }
}

TEST(StepFiles, EmptyStepsFileLeavesStepLineAsItWas) {
    testsupport::ProgramFolder folder;
    folder.writeDataBytes("288820.mxy", "");
    testsupport::ProgramHarness h(folder);
    h.g().StepsFilePath = folder.dataFile("288820.mxy");
    h.g().StepLine = Rec("0001");
    h.g().CurrentQuestion = 1;
    h.g().FirstStepLine[1] = 1;
    h.g().CurrentStep = 1;
    h.p().frmMain().setData();
    EXPECT_EQ(h.g().StepLine, std::string(Rec("0001")));
    EXPECT_EQ(h.p().frmMain().StepCode, 1);
}

TEST(StepFiles, ColumnsCountCharactersAfterDecoding) {
    // Double-byte characters before the step code do not shift it.
    std::string record = Rec("0002");
    record.replace(0, 5, "汉字汉字汉");
    EXPECT_EQ(qz::steps::field(record, 8, 11), "0002");
    EXPECT_EQ(qz::steps::fieldValue(std::string(Rec("0001").box(0, 0, 0, 0).put(101, "S0007")), 86, 105), 0);
    EXPECT_EQ(qz::steps::fieldValue(std::string(Rec("0001").box(0, 0, 0, 300)), 86, 105), 300);
}

TEST(StepFiles, StepCodeValues) {
    struct Case {
        std::string code;
        int value;
    };
    for (const Case& c : {Case{"0001", 1}, {"6165", 6165}, {"A000", 10000}, {"B229", 11229}, {"C999", 50999},
                          {"a012", 0}, {"99E3", 99000}, {"Q001", 0}, {"1D2 ", 100}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(qz::steps::stepCodeValue(c.code), c.value);
    }
    EXPECT_THROW(qz::steps::stepCodeValue("1E99"), platform::VbError);
}

TEST(StepFiles, KeyRemap) {
    const std::pair<int, int> cases[] = {{15, 115}, {20, 120}, {91, 191}, {3, 113}, {99, 190}, {2, 13},
                                         {27, 27}, {32, 32}, {46, 46}, {65, 65}};
    for (auto [kk, key] : cases) EXPECT_EQ(qz::steps::remapKey(kk), key) << kk;
}


TEST_F(SimWindow, StackingPutsTheBoxesOnTopAndTheWorkAreaOverTheHotSpot) {
    // Column 182 not "0": a press on the work area is no click of its own.
    start({Rec("0001").put(177, "01000").put(182, "1").put(183, "1000").put(187, "0060000300"), Rec("9999")});
    const auto order = m().paintOrder();
    auto at = [&](const forms::Control& c) { return std::find(order.begin(), order.end(), &c) - order.begin(); };
    EXPECT_GT(at(m().Label4), at(m().Label1));
    EXPECT_GT(at(m().Label1), at(m().LMenu(10)));
    EXPECT_GT(at(m().LMBack(7)), at(m().Shape1));
    EXPECT_GT(at(m().Shape1), at(m().LMenu(6)));
    EXPECT_GT(at(m().LMenu(6)), at(m().LMenu(0)));
    EXPECT_GT(at(m().LMenu(0)), at(m().LMenu(5)));
    EXPECT_GT(at(m().LMBack(0)), at(m().Image5));
    EXPECT_EQ(order[order.size() - 2], &m().Text1);
    EXPECT_EQ(order.back(), &m().Text2);
    // The work area over the hot spot takes the click.
    h->host.click(m().Label1);
    settle();
    EXPECT_EQ(step(), 1);
}

}  // namespace
