// The mock-exam login on a whole program, headless: what the boxes take, the examinee data
// it fixes, the bar that opens the exam, and the way back home.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "home/FrmFengmian.h"
#include "platform/clock.h"
#include "tests/session/exam_fixture.h"
#include "tests/support/temp_dir.h"

namespace examtest {
namespace {

using qz::FrmLogon;
namespace vk = forms::vk;

class Login : public ExamRun {
protected:
    // A cursor file's directory entry with its hot spot; enough for the pointer's header.
    static std::string cursorBytes(int hotX, int hotY) {
        std::string b = {0, 0, 2, 0, 1, 0, 32, 32, 0, 0};
        b += {static_cast<char>(hotX), 0, static_cast<char>(hotY), 0};
        b += std::string(8, '\0');
        return b;
    }
};

TEST_F(Login, TheWindowShowsTheInputPageOverTheWholeScreen) {
    FrmLogon& f = openLogin();
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(f.windowState(), 2);
    EXPECT_EQ(f.formBorderStyle(), 0);
    EXPECT_FALSE(f.showInTaskbar());
    EXPECT_EQ(f.backColor(), 0x808040u);
    EXPECT_EQ(f.caption(), "Quorvane练习系统");
    EXPECT_TRUE(f.Picture1.visible());
    EXPECT_FALSE(f.Picture2.visible());
    EXPECT_EQ(f.TxtZwh.text(), "18");
    EXPECT_EQ(f.TxtSFZ.text(), FrmLogon::SampleIdNo);
    EXPECT_TRUE(f.TxtZwh.hasFocus());
    // The load recomputed the paper's paths.
    EXPECT_EQ(g().StepsFilePath, folder.dataDir() + "288800.mxy");
    EXPECT_EQ(g().QuestionFilePath, folder.dataDir() + "288850.mxy");
    EXPECT_EQ(g().TextsFilePath, folder.dataDir() + "288890.mxy");
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
}

TEST_F(Login, TheHotAreasTakeTheHandPointerBesideTheProgram) {
    for (bool withFile : {true, false}) {
        SCOPED_TRACE(withFile);
        const std::string cursor = folder.file(FrmLogon::HandCursorFile);
        if (withFile) testsupport::writeFileBytes(cursor, cursorBytes(9, 1));
        else std::filesystem::remove(cursor);
        h.reset();
        FrmLogon& f = openLogin();
        for (const forms::Label* area : {&f.CmdLog, &f.CmdExit}) {
            const auto [shape, icon] = p().rt.pointerAt(headless::HeadlessHost::centreOf(*area));
            EXPECT_EQ(shape, withFile ? forms::pointer::Custom : forms::pointer::Default);
            ASSERT_EQ(icon != nullptr, withFile);
            if (icon) {
                EXPECT_EQ(std::make_pair(icon->hotX, icon->hotY), std::make_pair(9, 1));
            }
        }
    }
}

TEST_F(Login, SeatAndIdAreCutByCharacters) {
    struct Case {
        std::string seat, id, wantSeat, wantId;
    };
    const std::string fill = FrmLogon::FillIdNo;
    const std::vector<Case> cases = {
        {"7", "123456789012345678", "07", "123456789012345678"},
        {"123", "", "23", fill},
        // The sample's last digits complete a short ID: the last 18 of the two together.
        {"", "1234567890123456", "00", fill.substr(16) + "1234567890123456"},
        {"ab", "12345678901234567x", "ab", "12345678901234567x"},
        {" 5 ", " 1 ", "05", fill.substr(1) + "1"},
        {"座1", "12345678901234567X", "座1", "12345678901234567X"},
    };
    FrmLogon& f = openLogin();
    g().ExamineeName = "张三";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seat + "|" + c.id);
        g().AllowPanelUnload = 1;
        f.TxtZwh.setText(c.seat);
        f.TxtSFZ.setText(c.id);
        f.CmdLog_Click();
        EXPECT_EQ(g().AllowPanelUnload, 0);
        EXPECT_EQ(g().ExamineeSeat, c.wantSeat);
        EXPECT_EQ(g().ExamineeIdNo, c.wantId);
        EXPECT_EQ(g().ExamineeSession, "18");
        EXPECT_EQ(g().ExamineeAdmissionNo, "888888");
        const std::vector<std::string> page = {f.LblName.caption(), f.LblZwh.caption(), f.LblCC.caption(),
                                               f.LblKm.caption(),   f.LblSfz.caption(), f.LblDah.caption()};
        EXPECT_EQ(page, (std::vector<std::string>{"张三", c.wantSeat, "18", g().ModuleName, c.wantId, "888888"}));
        EXPECT_FALSE(f.Picture1.visible());
        EXPECT_TRUE(f.Picture2.visible());
        EXPECT_TRUE(f.Timer2.timerEnabled());
    }
}

TEST_F(Login, TheIdBoxTakesDigitsAndAnXOnlyAsItsEighteenthCharacter) {
    FrmLogon& f = openLogin();
    host().key(vk::Tab, 0, "\t");  // from the seat box to the ID box
    host().key(vk::End);
    for (int i = 0; i < 18; ++i) host().key(vk::Back, 0, "\b");
    host().type("Xx a-");
    host().key(vk::Return, 0, "\r");
    host().then([&] { EXPECT_EQ(f.TxtSFZ.text(), ""); });
    host().type("1234567890123456");
    host().type("x");  // the 17th character
    host().then([&] { EXPECT_EQ(f.TxtSFZ.text(), "1234567890123456"); });
    host().type("7x9");
    host().runFor(500);
    EXPECT_EQ(f.TxtSFZ.text(), "12345678901234567x");

    host().key(vk::Back, 0, "\b");
    host().type("X");
    host().runFor(500);
    EXPECT_EQ(f.TxtSFZ.text(), "12345678901234567X");

    // The seat box has no filter, only its length.
    host().key(vk::Tab, 0, "\t");
    host().key(vk::End);
    for (int i = 0; i < 3; ++i) host().key(vk::Back, 0, "\b");
    host().type("a b座");
    host().runFor(500);
    EXPECT_EQ(f.TxtZwh.text(), "a b");
    EXPECT_TRUE(h->isLoaded("FrmLogon"));
    EXPECT_TRUE(f.Picture1.visible());  // no key logs in
}

TEST_F(Login, TheDateIsTheLoginsAndTheStartTimeTheFullBars) {
    h.reset();
    run();
    h->now = {2026, 12, 31, 23, 59, 59};
    FrmLogon& f = openLogin();
    g().CurrentQuestion = 7;
    g().ExamineeName = "李四";
    f.TxtZwh.setText("5");
    host().click(f.CmdLog);
    host().then([&] {
        EXPECT_EQ(f.LblDate.caption(), "2026年12月31日");
        h->now = {2027, 1, 1, 0, 0, 0};
    });
    host().runFor(1500);
    EXPECT_EQ(g().ExamStartTime, "2027-01-01 00:00:00");
    EXPECT_EQ(g().CurrentQuestion, 1);
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    ASSERT_TRUE(h->isLoaded("FrmMain"));
    qz::FrmTm& panel = p().frmTm();
    EXPECT_TRUE(panel.visible());
    EXPECT_TRUE(p().frmMain().visible());
    EXPECT_TRUE(panel.TimeKS.timerEnabled());
    EXPECT_EQ(panel.KsZWH1.caption(), "05");
    EXPECT_EQ(panel.KsName1.caption(), "李四");
    EXPECT_EQ(panel.KsSFZ1.caption(), FrmLogon::SampleIdNo);
    EXPECT_TRUE(panel.CmdGN(8).visible());  // the exam's button set
    EXPECT_FALSE(panel.PicUnit.visible());
    EXPECT_NE(panel.LblBiao.caption().find(" 1套第1题("), std::string::npos);
}

TEST_F(Login, TheExamOpensOnTheSeventhTickOfTheBarAtEveryUsualScale) {
    for (int tpp : {12, 15, 20}) {
        SCOPED_TRACE(tpp);
        h.reset();
        FrmLogon& f = openLogin(0, tpp);
        EXPECT_EQ(f.TxtZwh.left(), 5070 * tpp / 15);
        EXPECT_EQ(f.TxtSFZ.top(), 4905 * tpp / 15);
        EXPECT_EQ(f.TxtSFZ.width(), 3255);
        EXPECT_EQ(f.CmdExit.left(), 6660 * tpp / 15);
        EXPECT_EQ(f.LblDate.top(), 5250 * tpp / 15);
        EXPECT_EQ(f.Picture2.width(), 12000);
        EXPECT_EQ(f.P2.width(), 10335 * tpp / 15);
        EXPECT_EQ(f.P2.height(), 180);
        EXPECT_EQ(f.LJD.width(), 255);

        host().click(f.CmdLog);
        host().runFor(50);
        for (int tick = 1; tick <= 6; ++tick) {
            host().runFor(100);
            ASSERT_TRUE(h->isLoaded("FrmLogon")) << tick;
            EXPECT_EQ(f.LJD.width(), 255 + tick * 1500 * tpp / 15);
        }
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        host().runFor(100);
        EXPECT_FALSE(h->isLoaded("FrmLogon"));
        EXPECT_TRUE(h->isLoaded("FrmTm"));
    }
}

TEST_F(Login, ExitAsksAndYesGoesHomeWithThePapersSetKept) {
    FrmLogon& f = openLogin(2);
    const std::string steps = testsupport::readFileBytes(g().StepsFilePath);
    const std::string questions = testsupport::readFileBytes(g().QuestionFilePath);
    f.TxtZwh.setText("42");

    host().answerMessageBox(forms::mb::ResultNo);
    host().click(f.CmdExit);
    host().runFor(1000);  // the next click is no double click
    ASSERT_EQ(host().messageBoxes.size(), 1u);
    const forms::MessageBoxRequest& box = host().messageBoxes[0];
    EXPECT_EQ(box.prompt, "确实要退出考试系统吗？");
    EXPECT_EQ(box.title, g().ProductInfo[0] + "Kestrune");
    EXPECT_EQ(box.flags, forms::mb::YesNo | forms::mb::Question | forms::mb::DefaultButton2);
    ASSERT_TRUE(h->isLoaded("FrmLogon"));
    EXPECT_TRUE(f.Picture1.visible());
    EXPECT_EQ(f.TxtZwh.text(), "42");
    EXPECT_FALSE(h->isLoaded("FrmFengmian"));

    host().answerMessageBox(forms::mb::ResultYes);
    host().click(f.CmdExit);
    host().runFor(500);
    EXPECT_FALSE(h->isLoaded("FrmLogon"));
    ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_TRUE(p().frmFengmian().visible());
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_EQ(g().ListMode, 0);
    EXPECT_EQ(g().ListBase, 2);
    EXPECT_EQ(g().QuestionCount, 40);
    EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288802.mxy")), steps);
    EXPECT_EQ(testsupport::readFileBytes(folder.dataFile("288852.mxy")), questions);
}

}  // namespace
}  // namespace examtest
