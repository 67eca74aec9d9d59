// The exam's countdown and its hand-in on a whole program, headless and on the virtual clock:
// the minutes shown, the time-out and when it may come, the two dialogs and their ways back,
// and a paper handed in once.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "home/FrmFengmian.h"
#include "session/FrmChengji.h"
#include "session/FrmPicture.h"
#include "tests/session/exam_fixture.h"

namespace examtest {
namespace {

using qz::FrmEnd1;

class Countdown : public ExamRun {
protected:
    qz::FrmTm& panel() { return p().frmTm(); }
    qz::FrmMain& sim() { return p().frmMain(); }
    // Where the panel sits docked at the simulated window's bottom-right corner.
    forms::Point docked() {
        return {sim().left() + sim().width() - panel().width(), sim().top() + sim().height() - panel().height()};
    }
    forms::Point at(const forms::Form& f) { return {f.left(), f.top()}; }
    // Clicks a control that is on screen now, then goes on with the next stage.
    void clickThen(const forms::Control& c, std::function<void()> next) {
        host().click(c);
        host().then(std::move(next));
    }
    // Both dialogs confirmed, from the first one open now.
    void handIn(std::function<void()> next) {
        ASSERT_NE(end1(), nullptr);
        clickThen(end1()->Command1, [this, next] {
            ASSERT_NE(end2(), nullptr);
            clickThen(end2()->Command1, next);
        });
    }
    std::vector<std::string> prompts() {
        std::vector<std::string> out;
        for (const auto& b : host().messageBoxes) out.push_back(b.prompt);
        return out;
    }
    static constexpr const char* TimeUp = "时间已到，自动交卷！";
    // Enough virtual time for every scripted stage of a test to have run.
    void runScript() { host().runFor(static_cast<int>(loadedAt + 130 * minute - host().nowMs())); }
    bool done = false;  // the script's last stage was reached
};

TEST_F(Countdown, EachTickShowsTheMinutesBeforeItAndTheBarFillsToFortyNineFiftieths) {
    qz::FrmTm& f = startExam();
    ASSERT_EQ(f.PTime.width(), 2055);
    struct Seen {
        std::int64_t at;
        const char* text;
        int bar;
        int left;
    };
    for (const Seen& s : {Seen{59000, "剩余50分钟", 0, 50}, Seen{61000, "剩余50分钟", 0, 49},
                          Seen{2 * minute + 1000, "剩余49分钟", 41, 48}, Seen{25 * minute + 1000, "剩余26分钟", 986, 25},
                          Seen{49 * minute + 1000, "剩余2分钟", 1973, 1}}) {
        SCOPED_TRACE(s.at);
        host().runFor(static_cast<int>(loadedAt + s.at - host().nowMs()));
        EXPECT_EQ(f.LblTime.caption(), s.text);
        EXPECT_EQ(f.LblTimeJD.width(), s.bar);
        EXPECT_EQ(g().ExamMinutesLeft, s.left);
        EXPECT_TRUE(f.TimeKS.timerEnabled());
    }
    EXPECT_TRUE(host().messageBoxes.empty());
}

TEST_F(Countdown, TheTimeOutStopsTheClockFirstAndTheBoxLeftOpenTicksNoMore) {
    qz::FrmTm& f = startExam();
    host().answerMessageBox(forms::mb::ResultOk, 3 * minute);
    pauseUntil(50 * minute + 500);
    then([&] {
        // Steps wait while the learner is in the box: it has just closed.
        EXPECT_GE(host().nowMs(), loadedAt + 53 * minute);
        ASSERT_EQ(host().messageBoxes.size(), 1u);
        EXPECT_EQ(host().messageBoxes[0].prompt, TimeUp);
        EXPECT_EQ(host().messageBoxes[0].title, g().ModuleName);
        EXPECT_EQ(host().messageBoxes[0].flags, forms::mb::OkOnly);
        EXPECT_EQ(g().ExamMinutesLeft, 0);
        EXPECT_EQ(f.LblTime.caption(), "剩余1分钟");
        EXPECT_EQ(f.LblTimeJD.width(), 2014);
        EXPECT_FALSE(f.TimeKS.timerEnabled());
        ASSERT_NE(end1(), nullptr);
        EXPECT_TRUE(end1()->visible());
        EXPECT_TRUE(f.visible());  // the time-out leaves the panel where it is
        clickThen(end1()->Command2, [&] { done = true; });
    });
    runScript();
    EXPECT_TRUE(done);
}

TEST_F(Countdown, BackAfterTheTimeOutTheClockStaysStoppedUntilTheLearnerHandsIn) {
    qz::FrmTm& f = startExam();
    pauseUntil(50 * minute + 500);
    then([&] {
        clickThen(end1()->Command2, [&] {
            EXPECT_EQ(end1(), nullptr);
            EXPECT_TRUE(f.visible());
            EXPECT_EQ(at(f), docked());
            pauseUntil(60 * minute);
            then([&] {
                EXPECT_EQ(prompts(), std::vector<std::string>{TimeUp});
                EXPECT_EQ(g().ExamMinutesLeft, 0);
                EXPECT_EQ(f.LblTime.caption(), "剩余1分钟");
                EXPECT_FALSE(f.TimeKS.timerEnabled());
                EXPECT_EQ(end1(), nullptr);
                clickThen(f.CmdGN(8), [&] {
                    EXPECT_FALSE(f.visible());
                    handIn([&] { done = true; });
                });
            });
        });
    });
    runScript();
    EXPECT_TRUE(done);
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    EXPECT_EQ(shows("FrmChengji"), 1);
    EXPECT_EQ(g().ExamMinutesLeft, 50);
}

TEST_F(Countdown, ATimeOutWithADialogOpenIsShownAndThatDialogDecidesAlone) {
    for (bool second : {false, true}) {
        SCOPED_TRACE(second);
        h.reset();
        done = false;
        qz::FrmTm& f = startExam();
        pauseUntil(49 * minute + 30000);
        then([&] {
            clickThen(f.CmdGN(8), [&] {
                auto decide = [&] {
                    pauseUntil(50 * minute + 500);
                    then([&] {
                        EXPECT_EQ(prompts(), std::vector<std::string>{TimeUp});
                        EXPECT_FALSE(f.TimeKS.timerEnabled());
                        EXPECT_EQ(p().rt.modalForms().size(), second ? 2u : 1u);
                        EXPECT_EQ(shows("FrmEnd1"), 1);
                        qz::HandInDialog* open = second ? static_cast<qz::HandInDialog*>(end2()) : end1();
                        ASSERT_NE(open, nullptr);
                        clickThen(open->Command1, [&] {
                            if (end2()) host().click(end2()->Command1);
                            host().then([&] {
                                pauseUntil(120 * minute);
                                then([&] { done = true; });
                            });
                        });
                    });
                };
                if (second) clickThen(end1()->Command1, decide);
                else decide();
            });
        });
        runScript();
        EXPECT_TRUE(done);
        // One hand-in, and no exam of its own left behind.
        EXPECT_EQ(shows("FrmChengji"), 1);
        EXPECT_EQ(shows("FrmEnd1"), 1);
        EXPECT_EQ(prompts(), std::vector<std::string>{TimeUp});
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        EXPECT_FALSE(h->isLoaded("FrmMain"));
    }
}

TEST_F(Countdown, TheTimeOutWaitsForADemonstrationOrAnotherWindowsHandlerAndComesOnceAfter) {
    enum Holder { Demonstration, MessageBox, WaitInAHandler };
    for (Holder holder : {Demonstration, MessageBox, WaitInAHandler}) {
        SCOPED_TRACE(holder);
        h.reset();
        done = false;
        qz::FrmTm& f = startExam();
        auto nothingYet = [&] {
            EXPECT_EQ(g().ExamMinutesLeft, 0);
            EXPECT_FALSE(f.TimeKS.timerEnabled());
            EXPECT_EQ(end1(), nullptr);
        };
        // Once the holder has gone: the time-out, once, then back to the exam for good.
        auto afterwards = [&] {
            host().pause(300);
            then([&] {
                ASSERT_NE(end1(), nullptr);
                EXPECT_EQ(prompts().back(), TimeUp);
                clickThen(end1()->Command2, [&] {
                    pauseUntil(70 * minute);
                    then([&] { done = true; });
                });
            });
        };
        pauseUntil(49 * minute + 30000);
        switch (holder) {
            case Demonstration:
                then([&] { g().DemoRunning = true; });
                pauseUntil(55 * minute);
                then([&] {
                    EXPECT_TRUE(prompts().empty());
                    nothingYet();
                    g().DemoRunning = false;
                    afterwards();
                });
                break;
            case MessageBox:
                host().answerMessageBox(forms::mb::ResultOk, 5 * minute);
                then([&] {
                    p().rt.msgBox("别的提示");
                    // Closed just now, and nothing of the time-out shown over it.
                    EXPECT_EQ(prompts(), std::vector<std::string>{"别的提示"});
                    nothingYet();
                    afterwards();
                });
                break;
            case WaitInAHandler:
                // A handler polling for an answer, as a request does: events run inside it.
                then([&] {
                    p().rt.invoke([&] {
                        for (int s = 0; s < 300; ++s) {
                            host().letTimePass(1000);
                            p().rt.doEvents();
                        }
                        EXPECT_TRUE(prompts().empty());
                        nothingYet();
                    });
                    afterwards();
                });
                break;
        }
        runScript();
        EXPECT_TRUE(done);
        EXPECT_EQ(shows("FrmEnd1"), 1);
        EXPECT_EQ(prompts().size(), holder == MessageBox ? 2u : 1u);
        EXPECT_TRUE(h->isLoaded("FrmTm"));  // back in the exam, to hand in by hand
    }
}

TEST_F(Countdown, HandingInWhileTheTimeOutWaitsDropsIt) {
    qz::FrmTm& f = startExam();
    pauseUntil(49 * minute + 30000);
    then([&] { g().DemoRunning = true; });
    pauseUntil(51 * minute);
    then([&] {
        clickThen(f.CmdGN(8), [&] {
            g().DemoRunning = false;
            clickThen(end1()->Command2, [&] {
                pauseUntil(60 * minute);
                then([&] { done = true; });
            });
        });
    });
    runScript();
    EXPECT_TRUE(done);
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(shows("FrmEnd1"), 1);
    EXPECT_TRUE(f.visible());
    EXPECT_FALSE(f.TimeKS.timerEnabled());
}

TEST_F(Countdown, BackFromEitherDialogDocksThePanelAndTheClockGoesOn) {
    struct Road {
        bool second;
        bool titleBar;
    };
    for (const Road road : {Road{false, false}, Road{false, true}, Road{true, false}, Road{true, true}}) {
        SCOPED_TRACE(std::to_string(road.second) + std::to_string(road.titleBar));
        h.reset();
        done = false;
        qz::FrmTm& f = startExam();
        f.moveTo(1500, 1200);  // dragged away from its place
        host().runFor(3 * minute);
        clickThen(f.CmdGN(8), [&] {
            EXPECT_EQ(at(f), (forms::Point{0, 0}));
            EXPECT_FALSE(f.visible());
            auto back = [&] {
                qz::HandInDialog* open = road.second ? static_cast<qz::HandInDialog*>(end2()) : end1();
                ASSERT_NE(open, nullptr);
                if (road.titleBar) {
                    p().rt.postClose(*open);  // the window manager's close
                    host().pause(10);
                } else {
                    host().click(open->Command2);
                }
                then([&] {
                    EXPECT_EQ(end1(), nullptr);
                    EXPECT_EQ(end2(), nullptr);
                    EXPECT_TRUE(f.visible());
                    EXPECT_EQ(at(f), docked());
                    done = true;
                });
            };
            if (road.second) clickThen(end1()->Command1, back);
            else back();
        });
        host().runFor(minute);
        EXPECT_TRUE(done);
        EXPECT_TRUE(f.TimeKS.timerEnabled());
        EXPECT_EQ(g().ExamMinutesLeft, 46);
        EXPECT_EQ(shows("FrmEnd2"), road.second ? 1 : 0);
        EXPECT_FALSE(h->isLoaded("FrmChengji"));
    }
}

TEST_F(Countdown, TheHandInClosesTheExamsWindowsBeforeTheReportShows) {
    qz::FrmTm& f = startExam();
    p().frmPicture().show();
    g().QuestionState[3] = 5;
    clickThen(f.CmdGN(8), [&] {
        ASSERT_NE(end1(), nullptr);
        EXPECT_EQ(end1()->Label1.caption(), "您还有题目未做或仍处于标识状态！\r\n\r\n您是否确定交卷?");
        clickThen(end1()->Command1, [&] {
            ASSERT_NE(end2(), nullptr);
            EXPECT_EQ(end2()->Label1.caption(), "按“交卷”后您将退出本场考试，并且不能重新登录!\r\n\r\n是否确定交卷?");
            host().shownLog.clear();
            clickThen(end2()->Command1, [&] { done = true; });
        });
    });
    host().runFor(minute);
    ASSERT_TRUE(done);
    EXPECT_FALSE(p().loadedFrmPicture() && p().loadedFrmPicture()->visible());
    EXPECT_FALSE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmMain"));
    EXPECT_FALSE(h->isLoaded("FrmEnd2"));
    EXPECT_EQ(g().AllowPanelUnload, 1);
    EXPECT_EQ(g().QuestionState[3], 5);
    const std::vector<std::string> log = host().shownLog;
    const std::vector<std::string> want = {"hide FrmEnd2", "hide FrmPicture", "hide FrmMain", "show FrmChengji"};
    EXPECT_EQ(log, want);
    ASSERT_TRUE(h->isLoaded("FrmChengji"));
    EXPECT_TRUE(p().frmChengji().visible());
    EXPECT_TRUE(p().rt.modalForms().empty());  // modeless
}

TEST_F(Countdown, TheDialogsKeepTheirDesignFrameAndScaleOnlyTheirButtons) {
    run(20);
    for (qz::HandInDialog* d : std::array<qz::HandInDialog*, 2>{&p().frmEnd1(), &p().frmEnd2()}) {
        SCOPED_TRACE(d->name());
        EXPECT_EQ(d->formBorderStyle(), 1);
        EXPECT_EQ(d->clientSize(), (forms::Size{4410, 2670}));
        EXPECT_EQ(d->caption(), "Quorvane练习系统");
        EXPECT_EQ(d->backColor(), 0xD8E9EBu);
        EXPECT_EQ(d->Frame1.rect(), (forms::Rect{90, 60, 4215, 1935}));
        EXPECT_EQ(d->Label1.rect(), (forms::Rect{150, 240, 3855, 1575}));
        EXPECT_EQ(d->Label1.foreColor(), 0x0000FFu);
        EXPECT_EQ(d->Label1.font(), (forms::Font{"宋体", 15, true}));
        EXPECT_EQ(d->Command1.rect(), (forms::Rect{600, 2160, 1760, 560}));
        EXPECT_EQ(d->Command2.rect(), (forms::Rect{2400, 2160, 1760, 560}));
    }
}

TEST(HandInQuestion, WarnsWhileAQuestionIsUnopenedOrStillMarked) {
    for (std::int16_t state = 0; state <= 7; ++state) {
        SCOPED_TRACE(state);
        std::array<std::int16_t, 501> states{};
        states.fill(1);  // opened, not marked
        states[41] = 0;  // past the paper: never looked at
        states[17] = state;
        const bool warn = state % 2 == 0 || state == 3 || state == 7;
        EXPECT_EQ(FrmEnd1::questionText(states),
                  warn ? "您还有题目未做或仍处于标识状态！\r\n\r\n您是否确定交卷?" : "\r\n您是否确定交卷?");
    }
}

TEST_F(Countdown, ASecondPaperInTheSameRunStartsAgainAtFifty) {
    qz::FrmTm& first = startExam(0);
    host().runFor(3 * minute);
    EXPECT_EQ(g().ExamMinutesLeft, 47);
    clickThen(first.CmdGN(8), [&] { handIn([&] { done = true; }); });
    host().runFor(minute);
    ASSERT_TRUE(done);
    ASSERT_FALSE(h->isLoaded("FrmTm"));
    // The report's way home, which this test takes in its place.
    then([&] {
        p().frmChengji().unload();
        p().frmFengmian().show();
    });
    host().runFor(1);
    host().runFor(1000);

    qz::FrmTm& second = startExam(1);
    EXPECT_EQ(g().ExamMinutesLeft, 50);
    EXPECT_EQ(second.LblTime.caption(), "剩余50分钟");
    EXPECT_EQ(second.LblTimeJD.width(), 0);
    host().runFor(static_cast<int>(loadedAt + 2 * minute + 1000 - host().nowMs()));
    EXPECT_EQ(second.LblTime.caption(), "剩余49分钟");
    EXPECT_EQ(g().ExamMinutesLeft, 48);
    EXPECT_TRUE(second.TimeKS.timerEnabled());
}

}  // namespace
}  // namespace examtest
