// The program's own message box, asked the way its callers ask it, once the whole program is
// up on the home screen: layout, answers, dragging, a second box, missing pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "home/FrmFengmian.h"
#include "platform/legacy_text.h"
#include "tests/app/program_harness.h"
#include "ui/FrmQZMSGBOX.h"

namespace {

using forms::Point;
using qz::FrmQZMSGBOX;
using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

struct Call {
    std::string title = "退出系统";
    std::string icon = "l20071";
    std::string prompt = "\r\n\r\n\r\n您确实要退出学习软件吗？";
};

// What the caller saw of one box.
struct Asked {
    bool homeUp = false;
    bool loadedByFirstTouch = false;
    int widthAtFirstTouch = 0;
    bool buttonFaceAtFirstTouch = false;
    int result = -1;
    bool loadedAfter = true;
};

class OwnMessageBox : public ::testing::Test {
protected:
    void start(int twipsPerPixel = 15) {
        h = std::make_unique<ProgramHarness>(folder, twipsPerPixel);
        h->host.pause(500);  // splash, then the home screen
    }

    // Asks as every caller does: result to 0, title (the first touch), icon, prompt, modal
    // show, then the answer. `whileShown` runs once the box is up and scripts the answer;
    // `after` runs in the caller once the box is gone.
    void ask(const Call& c, std::function<void(FrmQZMSGBOX&)> whileShown, std::function<void()> after = {}) {
        h->host.then([this, c, after] {
            qz::Shared& g = h->g();
            Asked a;
            a.homeUp = h->isLoaded("FrmFengmian") && h->p().frmFengmian().visible();
            g.MsgBoxResult = 0;
            FrmQZMSGBOX& box = h->p().frmQZMSGBOX();
            a.loadedByFirstTouch = box.isLoaded();
            a.widthAtFirstTouch = box.width();
            a.buttonFaceAtFirstTouch = box.LblClick(1).Picture() != nullptr;
            box.LblTitle.setCaption(c.title);
            box.Image1.setPicture(h->p().LoadPicture(g.DataDir + c.icon + ".mxy"));
            box.LblPrompt.setCaption(c.prompt);
            box.show(true);
            a.result = g.MsgBoxResult;
            a.loadedAfter = h->isLoaded("FrmQZMSGBOX");
            asked.push_back(a);
            if (after) after();
        });
        h->host.then([this, whileShown] { whileShown(h->p().frmQZMSGBOX()); });
    }

    // The last answer of a box: a click on one of its buttons. Should the click miss, the
    // button's hover poll would keep the modal loop busy for ever; this ends it.
    void closeWith(FrmQZMSGBOX& box, int index) {
        h->host.click(box.LblClick(index));
        h->host.pause(5000);
        h->host.then([this] {
            if (h->p().rt.topModal()) throw headless::ScriptStarved{"the box is still open"};
        });
    }

    void run() {
        try {
            h->p().run();
        } catch (const headless::ScriptStarved& s) {
            ADD_FAILURE() << s.what;
        }
    }

    Point screenOf(const FrmQZMSGBOX& box, int x, int y) const { return {box.left() + x, box.top() + y}; }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;
    std::vector<Asked> asked;
};

// ---- answers ----

struct AnswerCase {
    int index;
    int result;
};

class Answers : public OwnMessageBox, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, OnlyTheConfirmButtonConfirms) {
    const AnswerCase c = GetParam();
    start();
    ask({}, [this, c](FrmQZMSGBOX& box) { closeWith(box, c.index); });
    run();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].homeUp);
    EXPECT_EQ(asked[0].result, c.result);
    EXPECT_FALSE(asked[0].loadedAfter) << "every button unloads the box";
    EXPECT_EQ(h->g().MsgBoxResult, c.result);
    EXPECT_FALSE(h->p().rt.ended());
    EXPECT_TRUE(h->reports().empty());
}

INSTANTIATE_TEST_SUITE_P(Box, Answers, ::testing::Values(AnswerCase{1, 1}, AnswerCase{0, 0}, AnswerCase{3, 0}),
                         [](const auto& p) {
                             return std::string(p.param.index == 1 ? "Confirm" : p.param.index == 0 ? "Second" : "Close") +
                                    "Button";
                         });

TEST_F(OwnMessageBox, TheResultIsOnlyEverSetToOne) {
    // A caller that forgets the reset sees what it left, unless the box confirms.
    start();
    h->host.then([this] { h->g().MsgBoxResult = 7; });
    h->host.then([this] {
        FrmQZMSGBOX& box = h->p().frmQZMSGBOX();
        box.LblTitle.setCaption("t");
        box.show(true);
        Asked a;
        a.result = h->g().MsgBoxResult;
        asked.push_back(a);
    });
    h->host.then([this] { closeWith(h->p().frmQZMSGBOX(), 3); });
    run();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].result, 7);
}

TEST_F(OwnMessageBox, TheHiddenButtonTakesNoClick) {
    start();
    bool stillOpen = false, visible = true;
    ask({}, [&](FrmQZMSGBOX& box) {
        visible = box.LblClick(2).visible();
        const qz::vtrlButton& hidden = box.LblClick(2);
        h->host.clickAt(headless::HeadlessHost::centreOf(hidden));
        h->host.then([&, this] {
            stillOpen = h->p().rt.topModal() != nullptr;
            closeWith(h->p().frmQZMSGBOX(), 0);
        });
    });
    run();
    EXPECT_FALSE(visible);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].result, 0);
}

// ---- layout ----

struct LayoutCase {
    int tpp;
    int width, height;
    int closeLeft;  // width minus 420 scaled
    forms::Rect strip, confirm, second, close, hidden;
    forms::Rect title;  // left, top only
    forms::Rect prompt;
    Point icon, logo;
    double fontSize;
};

class BoxLayout : public OwnMessageBox, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(BoxLayout, LaidOutByItsLoadAndCentredOnTheScreen) {
    const LayoutCase& L = GetParam();
    start(L.tpp);
    struct Seen {
        forms::Rect window, strip, confirm, second, close, hidden, prompt, icon;
        Point title, logo;
        bool topmost = false, taskbar = false, hiddenVisible = true, background = false, logoPicture = false,
             windowIcon = false, borderless = false;
        double titleSize = 0, promptSize = 0;
        bool promptWraps = false, titleAutoSize = false;
        std::string caption, titleText, promptText, iconPath;
        std::vector<std::string> faces;
        forms::Color titleColour = 0, buttonColour = 0;
        std::string buttonFont;
        double buttonFontSize = 0;
        std::vector<std::string> shown;
    } s;
    Call call{"删除随机卷", "l20072", "\r\n\r\n您确实要删除吗？"};
    ask(call, [&](FrmQZMSGBOX& b) {
        s.window = {b.left(), b.top(), b.width(), b.height()};
        s.strip = b.lblMove.rect();
        s.confirm = b.LblClick(1).rect();
        s.second = b.LblClick(0).rect();
        s.close = b.LblClick(3).rect();
        s.hidden = b.LblClick(2).rect();
        s.hiddenVisible = b.LblClick(2).visible();
        s.prompt = b.LblPrompt.rect();
        s.icon = b.Image1.rect();
        s.title = {b.LblTitle.left(), b.LblTitle.top()};
        s.logo = {b.ImgLogo1.left(), b.ImgLogo1.top()};
        s.topmost = b.topmost();
        s.taskbar = b.showInTaskbar();
        s.borderless = b.formBorderStyle() == 0;
        s.background = b.picture() != nullptr;
        s.logoPicture = b.ImgLogo1.picture() != nullptr;
        s.windowIcon = b.icon() != nullptr;
        s.caption = b.caption();
        s.titleText = b.LblTitle.caption();
        s.titleSize = b.LblTitle.font().size;
        s.titleAutoSize = b.LblTitle.autoSize();
        s.titleColour = b.LblTitle.foreColor();
        s.promptText = b.LblPrompt.caption();
        s.promptSize = b.LblPrompt.font().size;
        s.promptWraps = b.LblPrompt.wordWrap();
        s.iconPath = b.Image1.picture() ? b.Image1.picture()->path : "";
        for (int i = 0; i < 4; ++i) s.faces.push_back(b.LblClick(i).Picture() ? b.LblClick(i).Picture()->path : "");
        s.buttonColour = b.LblClick(1).ForeColor();
        s.buttonFont = b.LblClick(1).FontName();
        s.buttonFontSize = b.LblClick(1).FontSize();
        s.shown = h->host.shownLog;
        closeWith(b, 0);
    });
    run();

    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].loadedByFirstTouch);
    EXPECT_EQ(asked[0].widthAtFirstTouch, L.width) << "the layout must be in place before the caller's texts";
    EXPECT_TRUE(asked[0].buttonFaceAtFirstTouch);

    const forms::Size screen = h->host.screenSize();
    EXPECT_EQ(s.window, (forms::Rect{(screen.width - L.width) / 2, (screen.height - L.height) / 2, L.width, L.height}));
    EXPECT_EQ(s.close.left, L.closeLeft);
    EXPECT_EQ(s.strip, L.strip);
    EXPECT_EQ(s.confirm, L.confirm);
    EXPECT_EQ(s.second, L.second);
    EXPECT_EQ(s.close, L.close);
    EXPECT_EQ(s.hidden, L.hidden);
    EXPECT_FALSE(s.hiddenVisible);
    EXPECT_EQ(s.prompt, L.prompt);
    EXPECT_EQ(s.title, (Point{L.title.left, L.title.top}));
    EXPECT_EQ(s.icon, (forms::Rect{L.icon.x, L.icon.y, 48 * L.tpp, 48 * L.tpp})) << "the icon keeps its picture's size";
    EXPECT_EQ(s.logo, L.logo);
    EXPECT_TRUE(s.topmost);
    EXPECT_TRUE(s.taskbar);
    EXPECT_TRUE(s.borderless);
    EXPECT_TRUE(s.background);
    EXPECT_TRUE(s.logoPicture);
    EXPECT_TRUE(s.windowIcon);
    EXPECT_EQ(s.caption, "Quorvane练习系统");
    EXPECT_EQ(s.titleText, call.title);
    EXPECT_DOUBLE_EQ(s.titleSize, L.fontSize);
    EXPECT_TRUE(s.titleAutoSize);
    EXPECT_EQ(s.titleColour, forms::colors::White);
    EXPECT_EQ(s.promptText, call.prompt);
    EXPECT_DOUBLE_EQ(s.promptSize, L.fontSize);
    EXPECT_TRUE(s.promptWraps);
    EXPECT_EQ(s.iconPath, folder.dataFile("l20072.mxy"));
    ASSERT_EQ(s.faces.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.faces[static_cast<std::size_t>(i)], folder.dataFile("l2000" + std::to_string(i) + ".mxy"));
    EXPECT_EQ(s.buttonColour, forms::colors::White);
    EXPECT_EQ(s.buttonFont, "宋体");
    EXPECT_DOUBLE_EQ(s.buttonFontSize, 9);
    ASSERT_FALSE(s.shown.empty());
    EXPECT_EQ(s.shown.back(), "show FrmQZMSGBOX");
}

// Design twips times 15 / twips per pixel.
INSTANTIATE_TEST_SUITE_P(
    Box, BoxLayout,
    ::testing::Values(
        LayoutCase{15, 5550, 3750, 5130, {0, 0, 4500, 540}, {2460, 2880, 1350, 450}, {3960, 2880, 1350, 450},
                   {5130, 90, 330, 330}, {4560, 120, 330, 330}, {600, 180, 0, 0}, {1200, 720, 4080, 1920},
                   {240, 690}, {120, 90}, 10},
        LayoutCase{12, 4440, 3000, 4104, {0, 0, 3600, 432}, {1968, 2304, 1080, 360}, {3168, 2304, 1080, 360},
                   {4104, 72, 264, 264}, {3648, 96, 264, 264}, {480, 144, 0, 0}, {960, 576, 3264, 1536},
                   {192, 552}, {96, 72}, 8}),
    [](const auto& p) { return "At" + std::to_string(p.param.tpp) + "TwipsPerPixel"; });

TEST_F(OwnMessageBox, ALongPromptWrapsWithinThePromptArea) {
    start();
    std::string longPrompt = "\r\n\r\n";
    for (int i = 0; i < 5; ++i) longPrompt += "题库升级需要连接网络，";  // 11 characters, 2200 twips at 10 pt
    std::vector<std::string> lines;
    int width = 0, height = 0;
    std::vector<int> lineWidths;
    ask({"题库升级", "l20072", longPrompt}, [&, this](FrmQZMSGBOX& box) {
        lines = box.LblPrompt.lines();
        width = box.LblPrompt.width();
        height = box.LblPrompt.height();
        for (const auto& l : lines) lineWidths.push_back(h->host.measureText(box.LblPrompt.font(), l).width);
        closeWith(box, 0);
    });
    run();
    EXPECT_EQ(width, 4080);
    EXPECT_EQ(height, 1920) << "the prompt area does not grow";
    // Two empty lines, then 55 characters at 20 a line (a 21st would take 4200 of 4080 twips).
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_LE(lineWidths[i], 4080) << lines[i];
    EXPECT_EQ(platform::charCount(lines[2]), 20u);
    EXPECT_EQ(platform::charCount(lines[3]), 20u);
    EXPECT_EQ(lines[2] + lines[3] + lines[4], longPrompt.substr(4));
}

// ---- dragging ----

TEST_F(OwnMessageBox, OnlyALeftPressOnTheStripDragsTheBox) {
    start();
    struct Step {
        std::string what;
        Point before, after;
    };
    std::vector<Step> steps;
    auto box = [this]() -> FrmQZMSGBOX& { return h->p().frmQZMSGBOX(); };
    auto at = [&] { return Point{box().left(), box().top()}; };
    // Each stage is scripted once the box has settled after the one before.
    ask({}, [&, this](FrmQZMSGBOX& b) {
        const Point p0 = at();
        const Point grab = headless::HeadlessHost::centreOf(b.lblMove);
        h->host.drag(b.lblMove, {grab.x - 750, grab.y + 1030});
        h->host.then([&, this, p0] {
            steps.push_back({"left on the strip", p0, at()});
            const Point p1 = at();
            const Point far{p1.x + 3000, p1.y + 3000};
            h->host.press(box().lblMove, forms::buttons::Right);
            h->host.moveTo(far);
            h->host.release(far, forms::buttons::Right);
            h->host.then([&, this, p1] {
                steps.push_back({"right on the strip", p1, at()});
                const Point p2 = at();
                h->host.drag(box().LblPrompt, {p2.x + 3000, p2.y + 3000});
                h->host.then([&, this, p2] {
                    steps.push_back({"left on the prompt", p2, at()});
                    closeWith(box(), 1);
                });
            });
        });
    });
    run();

    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].after, (Point{steps[0].before.x - 750, steps[0].before.y + 1030})) << steps[0].what;
    EXPECT_EQ(steps[1].after, steps[1].before) << steps[1].what;
    EXPECT_EQ(steps[2].after, steps[2].before) << steps[2].what;
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].result, 1) << "the moved box still answers";
}

// ---- a second box ----

TEST_F(OwnMessageBox, TheSecondBoxStartsFromTheLoadLayout) {
    start();
    struct Seen {
        forms::Rect second;
        forms::Color promptColour = 0;
        std::string title, prompt, icon;
        bool closeEnabled = false;
        Point window;
    };
    Seen first, second;
    Call one{"清空收藏", "l20071", "\r\n\r\n\r\n您确实要清空收藏吗？"};
    Call two{"清空错题", "l20072", "\r\n\r\n错题"};
    auto look = [](FrmQZMSGBOX& box, Seen& s) {
        s.second = box.LblClick(0).rect();
        s.promptColour = box.LblPrompt.foreColor();
        s.title = box.LblTitle.caption();
        s.prompt = box.LblPrompt.caption();
        s.icon = box.Image1.picture() ? box.Image1.picture()->path : "";
        s.closeEnabled = box.LblClick(3).Enabled();
        s.window = {box.left(), box.top()};
    };
    ask(
        one,
        [&, this](FrmQZMSGBOX& box) {
            // The first caller's box is changed while it is up, and moved.
            box.LblClick(0).move(600, 2880, 1350, 450);
            box.LblPrompt.setForeColor(forms::colors::Grey);
            box.LblClick(3).setEnabled(false);
            box.moveTo(box.left() - 600, box.top() - 600);
            look(box, first);
            closeWith(box, 0);
        },
        [&, this] {
            ask(two, [&, this](FrmQZMSGBOX& box) {
                look(box, second);
                closeWith(box, 1);
            });
        });
    run();

    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].result, 0);
    EXPECT_EQ(asked[1].result, 1);
    EXPECT_TRUE(asked[1].loadedByFirstTouch);
    EXPECT_EQ(asked[1].widthAtFirstTouch, 5550);
    EXPECT_EQ(first.second, (forms::Rect{600, 2880, 1350, 450}));
    EXPECT_EQ(second.second, (forms::Rect{3960, 2880, 1350, 450}));
    EXPECT_EQ(second.promptColour, forms::colors::ButtonText);
    EXPECT_TRUE(second.closeEnabled);
    EXPECT_EQ(second.title, two.title);
    EXPECT_EQ(second.prompt, two.prompt);
    EXPECT_EQ(second.icon, folder.dataFile("l20072.mxy"));
    const forms::Size screen = h->host.screenSize();
    EXPECT_EQ(second.window, (Point{(screen.width - 5550) / 2, (screen.height - 3750) / 2})) << "centred afresh";
}

// ---- missing pictures ----

TEST_F(OwnMessageBox, MissingPicturesLeaveTheirPartsEmpty) {
    std::filesystem::remove(folder.dataFile("l20069.mxy"));
    std::filesystem::remove(folder.dataFile("l20067.mxy"));
    start();
    bool background = true, logo = true, hiddenVisible = true;
    int faces = 0, width = 0, height = 0, closeLeft = 0;
    ask({}, [&](FrmQZMSGBOX& box) {
        background = box.picture() != nullptr;
        logo = box.ImgLogo1.picture() != nullptr;
        hiddenVisible = box.LblClick(2).visible();
        for (int i = 0; i < 4; ++i) faces += box.LblClick(i).Picture() != nullptr;
        width = box.width();
        height = box.height();
        closeLeft = box.LblClick(3).left();
        closeWith(box, 1);
    });
    run();
    EXPECT_FALSE(background);
    EXPECT_FALSE(logo);
    // Every later step of the load still ran.
    EXPECT_FALSE(hiddenVisible);
    EXPECT_EQ(faces, 4);
    EXPECT_EQ(width, 5550);
    EXPECT_EQ(height, 3750);
    EXPECT_EQ(closeLeft, 5130);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].result, 1);
    EXPECT_TRUE(h->reports().empty()) << "the load fails silently";
}

}  // namespace
