// The input-method choice: the panel's menu of the desktop's layouts, what each entry switches
// to, and the dialog that turns the service on and off.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "session/FrmIME.h"
#include "tests/session/panel_fixture.h"
#include "tests/support/fake_keyboard.h"
#include "tests/support/popup_captions.h"
#include "tests/support/scoped_failure.h"
#include "ui/FrmQZMSGBOX.h"

namespace paneltest {
namespace {

using platform::KeyboardLayout;

class InputMethod : public PanelTest {
public:
    // A session on screen over a desktop offering these layouts, the service on or off.
    qz::FrmTm& open(std::vector<KeyboardLayout> layouts, bool use = true) {
        start(3);
        writeQuestions({record("任务")});
        desktop = {};
        desktop.layouts = std::move(layouts);
        h->p().svc.keyboard = &desktop;
        g().UseInputMethod = use;
        sim().show();
        panel().show();
        settle();
        return panel();
    }
    void settle(int ms = 300) { h->host.runFor(ms); }
    // Opens the menu from the indicator and picks the entry by caption ("" dismisses it).
    void choose(const std::string& caption) {
        h->host.pause(1000);  // not a double click
        h->host.choosePopup(caption);
        h->host.click(panel().LblIME);
        settle();
    }
    std::string optionFile() { return folder.ksdata() + "/288890.mxy"; }
    testsupport::FakeKeyboardLayouts desktop;
};

std::vector<KeyboardLayout> plainAndNamed(int named) {
    std::vector<KeyboardLayout> out{{"us", ""}};
    for (int k = 1; k <= named; ++k) out.push_back({"im" + std::to_string(k), "输入法" + std::to_string(k)});
    return out;
}

struct MenuCase {
    const char* what;
    std::vector<KeyboardLayout> layouts;
    std::vector<std::string> shown;
    // Entry caption, then the id it stores.
    std::vector<std::pair<std::string, std::string>> choices;
    int menuCount;
};

TEST_F(InputMethod, EachEntrySwitchesToTheLayoutItNames) {
    std::vector<std::string> firstTen;
    for (int k = 1; k <= 10; ++k) firstTen.push_back("输入法" + std::to_string(k));
    const std::vector<MenuCase> cases{
        {"one plain layout", {{"us", ""}}, {"英语（美国）", "中文1"}, {{"英语（美国）", "us"}, {"中文1", ""}}, 1},
        {"plain first",
         {{"us", ""}, {"pinyin", "拼音"}, {"wubi", "五笔"}},
         {"英语（美国）", "拼音", "五笔"},
         {{"英语（美国）", "us"}, {"拼音", "pinyin"}, {"五笔", "wubi"}},
         3},
        {"input method first", {{"pinyin", "拼音"}, {"us", ""}}, {"英语（美国）", "拼音"},
         {{"英语（美国）", "us"}, {"拼音", "pinyin"}}, 2},
        {"a plain layout between named ones",
         {{"pinyin", "拼音"}, {"de", ""}, {"wubi", "五笔"}},
         {"英语（美国）", "拼音", "五笔"},
         {{"英语（美国）", "de"}, {"拼音", "pinyin"}, {"五笔", "wubi"}},
         3},
        {"twelve input methods", plainAndNamed(12), {}, {{"输入法10", "im10"}}, 13},
        {"twenty layouts", plainAndNamed(19), {}, {{"输入法10", "im10"}}, 16},
        {"none", {}, {"英语（美国）", "中文1"}, {{"英语（美国）", ""}, {"中文1", ""}}, 1},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.what);
        qz::FrmTm& f = open(c.layouts);
        EXPECT_EQ(f.LayoutMenuCount, c.menuCount);
        EXPECT_EQ(f.LayoutHandles.size(), std::min<std::size_t>(c.layouts.size(), 16));

        choose("");
        ASSERT_EQ(h->host.popups.size(), 1u);
        const forms::PopupRequest& req = h->host.popups[0];
        std::vector<std::string> shown = c.shown;
        if (shown.empty()) {
            shown = firstTen;
            shown.insert(shown.begin(), "英语（美国）");
        }
        EXPECT_EQ(testsupport::captionsOf(req.items), shown);
        // The menu's right edge at the indicator's left, 300 twips per entry above it.
        EXPECT_TRUE(req.rightAligned);
        EXPECT_EQ(req.screen.x, f.left() + f.clientOffset().x + f.LblIME.left());
        EXPECT_EQ(req.screen.y, f.top() + f.clientOffset().y + f.LblIME.top() - c.menuCount * 300 + f.FrmZhuYa.top());

        for (const auto& [caption, id] : c.choices) {
            SCOPED_TRACE(caption);
            g().ChosenKeyboardLayout = "stale";
            choose(caption);
            EXPECT_EQ(g().ChosenKeyboardLayout, id);
        }
    }
}

TEST_F(InputMethod, WithTheServiceOffTheIndicatorOpensNothing) {
    qz::FrmTm& f = open({{"us", ""}, {"pinyin", "拼音"}}, false);
    h->host.click(f.LblIME);  // a popup here would starve the script
    settle();
    EXPECT_TRUE(h->host.popups.empty());
    EXPECT_EQ(g().ChosenKeyboardLayout, "");
}

TEST_F(InputMethod, AChoiceBringsTheCommandLineBackAndSwitchesOnceWhenItTakesTheFocus) {
    for (const bool boxShown : {true, false}) {
        SCOPED_TRACE(boxShown);
        open({{"us", ""}, {"pinyin", "拼音"}});
        qz::FrmMain& m = sim();
        m.Text1.setVisible(boxShown);
        m.setWindowState(1);
        m.hide();
        settle();
        choose("拼音");
        EXPECT_EQ(g().ChosenKeyboardLayout, "pinyin");
        EXPECT_TRUE(m.visible());
        EXPECT_EQ(m.windowState(), 0);
        if (boxShown) {
            EXPECT_EQ(h->p().rt.focused(), &m.Text1);
            EXPECT_EQ(desktop.activated, std::vector<std::string>{"pinyin"});
            continue;
        }
        // No box on this step: the switch waits for the next one.
        EXPECT_TRUE(desktop.activated.empty());
        m.Text1.setVisible(true);
        m.Text1.setFocus();
        settle();
        EXPECT_EQ(desktop.activated, std::vector<std::string>{"pinyin"});

        // The choice outlives the panel.
        g().AllowPanelUnload = 1;
        ASSERT_TRUE(panel().unload());
        EXPECT_EQ(g().ChosenKeyboardLayout, "pinyin");
    }
}

class ImeDialog : public InputMethod {
public:
    qz::FrmIME* dialog() { return h->p().loadedFrmIME(); }
    // The panel's button clicked; `inside` runs while the dialog is open and must close it.
    void openDialog(const std::function<void(qz::FrmIME&)>& inside) {
        h->host.click(panel().CmdEn);
        h->host.then([this, inside] {
            ASSERT_NE(dialog(), nullptr);
            EXPECT_EQ(h->p().rt.topModal(), dialog());
            EXPECT_TRUE(panel().FrmZXH.visible());  // the panel is minimised meanwhile
            inside(*dialog());
        });
        settle(10000);
        EXPECT_EQ(dialog(), nullptr);
    }
    std::optional<std::string> fileBytes() { return platform::readBytes(optionFile()); }
    void writeOption(const std::string& bytes) { platform::writeBytesReplace(optionFile(), bytes); }
};

TEST_F(ImeDialog, TheWindowScalesItsFrameAndIsNotTopmost) {
    for (const int tpp : {15, 12}) {
        SCOPED_TRACE(tpp);
        start(3, 1, tpp);
        writeQuestions({record("任务")});
        sim().show();
        panel().show();
        settle();
        openDialog([&](qz::FrmIME& d) {
            EXPECT_FALSE(d.topmost());
            EXPECT_FALSE(d.showInTaskbar());
            EXPECT_EQ(d.formBorderStyle(), 0);
            EXPECT_EQ(d.caption(), "Quorvane练习系统");
            EXPECT_EQ(d.width(), h->p().sx(6300));
            const forms::Size screen = h->host.screenSize();
            EXPECT_EQ(d.left(), (screen.width - d.width()) / 2);
            EXPECT_EQ(d.LblClick(0).rect(),
                      (forms::Rect{d.width() - h->p().sx(420), h->p().sy(90), h->p().sx(330), h->p().sy(330)}));
            EXPECT_EQ(d.lblMove.width(), h->p().sx(5580));
            EXPECT_EQ(d.Label1(0).caption(), qz::FrmIME::Advice);
            EXPECT_EQ(d.Label1(2).caption(), "输入法调用提示");
            EXPECT_EQ(d.Check1.caption(), "调用输入法");
            EXPECT_EQ(d.Check1.font().size, 9 * g().ScaleX);
            h->host.click(d.LblClick(1));
        });
    }
}

TEST_F(ImeDialog, TheBoxShowsTheFileAndWritesOnlyWhatChanges) {
    struct Case {
        const char* what;
        std::optional<std::string> file;
        int ticked;
    };
    for (const Case& c : {Case{"on", "1\r\n", 1}, Case{"off", "0\r\n", 0}, Case{"not exactly 1", " 1\r\n", 0},
                          Case{"missing", std::nullopt, 0}}) {
        SCOPED_TRACE(c.what);
        open({}, false);
        std::filesystem::remove(optionFile());
        if (c.file) writeOption(*c.file);
        const auto before = std::filesystem::exists(optionFile())
                                ? std::filesystem::last_write_time(optionFile())
                                : std::filesystem::file_time_type{};
        openDialog([&](qz::FrmIME& d) {
            EXPECT_EQ(d.Check1.value(), c.ticked);
            EXPECT_EQ(g().UseInputMethod, c.ticked == 1);  // only a tick changes it
            if (c.ticked) {
                EXPECT_EQ(fileBytes(), "1\r\n");  // rewritten by the load's tick
            } else {
                EXPECT_EQ(fileBytes(), c.file);
                if (c.file) {
                    EXPECT_EQ(std::filesystem::last_write_time(optionFile()), before);
                }
            }
            h->host.click(d.LblClick(1));
        });
        EXPECT_EQ(g().UseInputMethod, c.ticked == 1);
    }
}

TEST_F(ImeDialog, TickAndUntickWriteTheFileAndEitherButtonRestoresTheDockedPanel) {
    for (const int button : {0, 1}) {
        SCOPED_TRACE(button);
        open({});
        std::filesystem::remove(optionFile());
        qz::FrmMain& m = sim();
        // The script runs in order: each check below sees the click before it.
        openDialog([&](qz::FrmIME& d) {
            h->host.click(d.Check1);
            h->host.then([&] {
                EXPECT_EQ(fileBytes(), "1\r\n");
                EXPECT_TRUE(g().UseInputMethod);
            });
            h->host.pause(1000);
            h->host.click(d.Check1);
            h->host.then([&] {
                EXPECT_EQ(fileBytes(), "0\r\n");
                EXPECT_FALSE(g().UseInputMethod);
                m.setWindowState(1);
                m.hide();
            });
            h->host.click(d.LblClick(button));
        });
        qz::FrmTm& f = panel();
        EXPECT_TRUE(m.visible());
        EXPECT_EQ(m.windowState(), 0);
        EXPECT_EQ(f.width(), h->p().sx(4980));
        EXPECT_EQ(f.height(), h->p().sy(3630));
        EXPECT_EQ(f.left(), m.left() + m.width() - f.width());
        EXPECT_EQ(f.top(), m.top() + m.height() - f.height());
        EXPECT_FALSE(f.FrmZXH.visible());
    }
}

TEST_F(ImeDialog, AFailedWriteKeepsTheOldFileAndTellsTheLearnerOnce) {
    open({});
    writeOption("0\r\n");
    // Off again whatever the test's end; each failure is set just before its click.
    testsupport::ScopedReplaceFailure off(0, platform::ReplaceFailure::BeforeRename);
    int told = 0;
    openDialog([&](qz::FrmIME& d) {
        platform::setReplaceFailureForTesting(1, platform::ReplaceFailure::BeforeRename);
        h->host.click(d.Check1);
        h->host.then([&] {
            qz::FrmQZMSGBOX* box = dynamic_cast<qz::FrmQZMSGBOX*>(h->p().rt.topModal());
            ASSERT_NE(box, nullptr);
            ++told;
            EXPECT_EQ(box->LblTitle.caption(), "保存设置");
            h->host.click(box->LblClick(1));
            h->host.then([&] {
                EXPECT_EQ(fileBytes(), "0\r\n");
                EXPECT_TRUE(g().UseInputMethod);  // the choice holds for this run
                platform::setReplaceFailureForTesting(1, platform::ReplaceFailure::AfterTemporaryFile);
                h->host.pause(1000);
                h->host.click(d.Check1);
                h->host.then([&] {
                    EXPECT_EQ(h->p().rt.topModal(), &d);  // not told a second time
                    EXPECT_EQ(fileBytes(), "0\r\n");
                    EXPECT_FALSE(g().UseInputMethod);
                    h->host.click(d.LblClick(0));
                });
            });
        });
    });
    EXPECT_EQ(told, 1);
    // Nothing is left beside the file.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.ksdata())) ++entries;
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace paneltest
