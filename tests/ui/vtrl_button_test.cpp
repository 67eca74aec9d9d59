// The skin button on a small window of its own: frames, caption placement, the hover poll,
// clicks with every button, and its stored properties.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "forms/runtime.h"
#include "host/headless/headless_host.h"
#include "tests/support/case_name.h"
#include "tests/support/program_folder.h"
#include "ui/vtrlButton.h"

namespace forms {
// Readable failures for fonts.
inline void PrintTo(const Font& f, std::ostream* os) {
    *os << "{\"" << f.name << "\", " << f.size << (f.bold ? ", bold" : "") << (f.italic ? ", italic" : "")
        << (f.underline ? ", underline" : "") << "}";
}
}  // namespace forms

namespace {

using forms::Point;
using qz::PropertyBag;
using qz::vtrlButton;

// A real strip of the sample module: 360 × 30 pixels, four frames of 90 × 30.
std::string strip() { return testsupport::sampleDataDir() + "/l20001.mxy"; }
std::string smallStrip() { return testsupport::sampleDataDir() + "/l20003.mxy"; }

constexpr int W = 1350;
constexpr int H = 450;

// A borderless window at 1500,1500 (screen twips) with two buttons: `btn` shows a caption,
// `plain` shows its strip only.
class ButtonForm : public forms::Form {
public:
    ButtonForm(forms::Runtime& r, const PropertyBag& extra) : Form(r, "ButtonForm") {
        setFormBorderStyle(0);
        move(1500, 1500, 9000, 4000);
        for (vtrlButton* b : {&btn, &plain}) {
            // What a stored layout carries (size, fore colour, font), then what the window's
            // own code sets when it loads.
            b->move(600, b == &btn ? 600 : 1500, W, H);
            PropertyBag bag;
            bag.set("ForeColor", std::to_string(forms::colors::White));
            bag.set("FontName", "宋体");
            bag.set("FontSize", "9");
            for (const auto& [k, v] : extra.values()) bag.set(k, v);
            b->UserControl_ReadProperties(bag);
            b->setPicture(r.host().loadPicture(strip()));
        }
        btn.setCaption("OK");
        for (vtrlButton* b : {&btn, &plain})
            b->Click = [this, b] { clicks.push_back({b->name(), b->frame()}); };
    }

    void Form_MouseDown(int, int, int, int) override { ++formDowns; }

    vtrlButton btn{this, "btn"};
    vtrlButton plain{this, "plain"};

    struct ClickSeen {
        std::string who;
        int frame;  // shown when Click was raised
    };
    std::vector<ClickSeen> clicks;
    int formDowns = 0;

    Point screenAt(int x, int y) const { return {left() + x, top() + y}; }
    Point inside(const vtrlButton& b, int x, int y) const { return screenAt(b.left() + x, b.top() + y); }
    // On the window, away from both buttons.
    Point outside() const { return screenAt(6000, 3000); }
};

struct Seen {
    int frame = 0;
    int imgLeft = 0;
    int imgTop = 0;
    Point caption;
    bool timer = false;
};

Seen seenOf(const vtrlButton& b) {
    return {b.frame(), b.ImgBack.left(), b.ImgBack.top(), {b.LblCaption.left(), b.LblCaption.top()},
            b.Timer1.timerEnabled()};
}

class ButtonTest : public ::testing::Test {
protected:
    ButtonForm& make(const PropertyBag& extra = {}) {
        form = std::make_unique<ButtonForm>(rt, extra);
        form->load();
        form->show();
        return *form;
    }
    // Records the button's state at this point of the script.
    void snap(const vtrlButton& b) {
        host.then([this, &b] { seen.push_back(seenOf(b)); });
    }

    headless::HeadlessHost host;
    forms::Runtime rt{host};
    std::unique_ptr<ButtonForm> form;
    std::vector<Seen> seen;
};

struct CaseName {
    template <class P>
    std::string operator()(const ::testing::TestParamInfo<P>& p) const {
        return testsupport::caseName(std::string(std::get<0>(p.param).what) +
                                     (std::get<1>(p.param) ? "_OnTheCaption" : "_OnThePicture"));
    }
};

// ---- the state table ----

enum class Cap { Centred, Pressed };

struct StateCase {
    const char* what;
    std::function<void(headless::HeadlessHost&, ButtonForm&, vtrlButton&)> script;
    int frame;
    Cap caption;
    int clicks;
};

class StateTable : public ButtonTest, public ::testing::WithParamInterface<std::tuple<StateCase, bool>> {};

// Each case runs on the captioned button (the pointer lands on the caption, which passes the
// mouse on) and on the plain one (the pointer lands on the picture).
TEST_P(StateTable, FrameCaptionAndClicks) {
    const auto& [c, onCaption] = GetParam();
    ButtonForm& f = make();
    vtrlButton& b = onCaption ? f.btn : f.plain;
    const Point centred{b.LblCaption.left(), b.LblCaption.top()};
    c.script(host, f, b);
    snap(b);
    host.runFor(1000);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].frame, c.frame);
    EXPECT_EQ(seen[0].imgLeft, -c.frame * W);
    EXPECT_EQ(seen[0].imgTop, 0);
    const Point want = c.caption == Cap::Centred ? centred : Point{centred.x + 15, centred.y + 15};
    EXPECT_EQ(seen[0].caption, want) << "caption at " << seen[0].caption.x << "," << seen[0].caption.y;
    ASSERT_EQ(static_cast<int>(f.clicks.size()), c.clicks);
    for (const auto& k : f.clicks) {
        EXPECT_EQ(k.who, b.name());
        EXPECT_EQ(k.frame, 0) << "Click came before the normal frame";
    }
}

using Script = headless::HeadlessHost;

INSTANTIATE_TEST_SUITE_P(
    Button, StateTable,
    ::testing::Combine(
        ::testing::Values(
            StateCase{"created", [](Script&, ButtonForm&, vtrlButton&) {}, 0, Cap::Centred, 0},
            StateCase{"move over", [](Script& h, ButtonForm&, vtrlButton& b) { h.moveTo(b); }, 1, Cap::Centred, 0},
            StateCase{"press", [](Script& h, ButtonForm&, vtrlButton& b) { h.press(b); }, 2, Cap::Pressed, 0},
            StateCase{"press with right button",
                      [](Script& h, ButtonForm&, vtrlButton& b) { h.press(b, forms::buttons::Right); }, 2, Cap::Pressed,
                      0},
            StateCase{"moves while pressed",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.press(b);
                          h.moveTo(f.inside(b, 30, 30));
                          h.moveTo(f.inside(b, W - 30, H - 30));
                      },
                      2, Cap::Pressed, 0},
            StateCase{"moves outside while pressed",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.press(b);
                          h.moveTo(f.outside());
                      },
                      2, Cap::Pressed, 0},
            StateCase{"tick after leaving while pressed",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.press(b);
                          h.moveTo(f.outside());
                          h.pause(150);
                      },
                      0, Cap::Centred, 0},
            StateCase{"tick after leaving hover",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.moveTo(b);
                          h.moveTo(f.outside());
                          h.pause(150);
                      },
                      0, Cap::Centred, 0},
            StateCase{"ticks while over keep hover",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.moveTo(b);
                          h.pause(750);
                      },
                      1, Cap::Centred, 0},
            StateCase{"ticks while over keep pressed",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.press(b);
                          h.pause(750);
                      },
                      2, Cap::Pressed, 0},
            StateCase{"back over while held",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.press(b);
                          h.moveTo(f.outside());
                          h.pause(150);
                          h.moveTo(b);
                      },
                      1, Cap::Centred, 0},
            StateCase{"release",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.press(b);
                          h.release(Script::centreOf(b));
                      },
                      0, Cap::Centred, 1},
            StateCase{"release after coming back over",
                      [](Script& h, ButtonForm& f, vtrlButton& b) {
                          h.press(b);
                          h.moveTo(f.outside());
                          h.pause(150);
                          h.moveTo(b);
                          h.release(Script::centreOf(b));
                      },
                      0, Cap::Centred, 1},
            StateCase{"disabled while pressed",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.press(b);
                          h.then([&b] { b.setEnabled(false); });
                      },
                      3, Cap::Pressed, 0},
            StateCase{"enabled again after pressed and disabled",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.press(b);
                          h.then([&b] { b.setEnabled(false); });
                          h.then([&b] { b.setEnabled(true); });
                      },
                      0, Cap::Pressed, 0},
            StateCase{"enabled set while hover",
                      [](Script& h, ButtonForm&, vtrlButton& b) {
                          h.moveTo(b);
                          h.then([&b] { b.setEnabled(true); });
                      },
                      0, Cap::Centred, 0}),
        ::testing::Bool()),
    CaseName{});

// ---- edge cases of the pointer ----

TEST_F(ButtonTest, ReleaseOutsideStillClicksAndTheFrameIsNormalFromTheFirstTickAfterLeaving) {
    ButtonForm& f = make();
    host.press(f.btn);
    host.moveTo(f.outside());  // the pressed button still gets this move: its poll restarts
    host.pause(99);
    snap(f.btn);
    host.pause(2);
    snap(f.btn);
    host.release(f.outside());
    snap(f.btn);
    host.runFor(1000);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].frame, 2) << "normal before the tick";
    EXPECT_EQ(seen[1].frame, 0) << "still pressed after the tick";
    EXPECT_FALSE(seen[1].timer);
    EXPECT_EQ(seen[2].frame, 0);
    ASSERT_EQ(f.clicks.size(), 1u);
    EXPECT_EQ(f.clicks[0].who, "btn");
    EXPECT_EQ(f.formDowns, 0);
}

TEST_F(ButtonTest, EveryMouseButtonClicks) {
    struct Case {
        const char* what;
        std::function<void(headless::HeadlessHost&, vtrlButton&)> script;
        int clicks;
    };
    const Case cases[] = {
        {"left", [](auto& h, vtrlButton& b) { h.click(b, forms::buttons::Left); }, 1},
        {"right", [](auto& h, vtrlButton& b) { h.click(b, forms::buttons::Right); }, 1},
        {"middle", [](auto& h, vtrlButton& b) { h.click(b, forms::buttons::Middle); }, 1},
        // The second press of a double click is no MouseDown, but its release still clicks.
        {"double click", [](auto& h, vtrlButton& b) { h.doubleClick(b); }, 2},
        {"right released outside",
         [](auto& h, vtrlButton& b) {
             h.press(b, forms::buttons::Right);
             h.release(Point{0, 0}, forms::buttons::Right);
         },
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm& f = make();
        for (vtrlButton* b : {&f.btn, &f.plain}) c.script(host, *b);
        host.runFor(1000);
        ASSERT_EQ(static_cast<int>(f.clicks.size()), 2 * c.clicks);
        EXPECT_EQ(f.clicks.front().who, "btn");
        EXPECT_EQ(f.clicks.back().who, "plain");
        EXPECT_EQ(f.btn.frame(), 0);
        EXPECT_EQ(f.plain.frame(), 0);
    }
}

TEST_F(ButtonTest, AfterAClickTheFrameIsNormalUntilThePointerMovesAgain) {
    ButtonForm& f = make();
    host.click(f.btn);
    snap(f.btn);
    host.pause(500);
    snap(f.btn);
    host.moveTo(f.inside(f.btn, 300, 300));
    snap(f.btn);
    host.runFor(1000);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].frame, 0);
    EXPECT_FALSE(seen[0].timer) << "a release stops the poll";
    EXPECT_EQ(seen[1].frame, 0) << "pointer still over, but no move yet";
    EXPECT_EQ(seen[2].frame, 1);
    EXPECT_TRUE(seen[2].timer);
    EXPECT_EQ(f.clicks.size(), 1u);
}

TEST_F(ButtonTest, LeavingForTheNextButtonHandsOverTheHover) {
    ButtonForm& f = make();
    host.moveTo(f.btn);
    host.moveTo(f.plain);
    snap(f.btn);
    host.pause(150);
    snap(f.btn);
    snap(f.plain);
    host.runFor(1000);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].frame, 1) << "the first button waits for its poll";
    EXPECT_EQ(seen[1].frame, 0);
    EXPECT_FALSE(seen[1].timer);
    EXPECT_EQ(seen[2].frame, 1);
    EXPECT_TRUE(seen[2].timer);
}

TEST_F(ButtonTest, ADisabledButtonTakesNoPointerAndKeepsItsFrame) {
    PropertyBag off;
    off.set("Enabled", "0");
    ButtonForm& f = make(off);
    const Point centred{f.btn.LblCaption.left(), f.btn.LblCaption.top()};
    snap(f.btn);
    host.moveTo(f.btn);
    host.click(f.btn);
    host.click(f.plain, forms::buttons::Right);
    host.pause(300);
    snap(f.btn);
    host.then([&f] { f.btn.setEnabled(true); });
    snap(f.btn);
    host.runFor(1000);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].frame, 3);
    EXPECT_EQ(seen[0].imgLeft, -3 * W);
    EXPECT_EQ(seen[1].frame, 3) << "the poll's first tick took the disabled frame away";
    EXPECT_EQ(seen[1].caption, centred);
    EXPECT_FALSE(seen[1].timer);
    EXPECT_TRUE(f.clicks.empty());
    EXPECT_EQ(f.formDowns, 2) << "the presses went through to the window";
    EXPECT_EQ(seen[2].frame, 0);
}

TEST_F(ButtonTest, AreasOutsideThePictureAndCaptionDoNotReact) {
    struct Case {
        const char* what;
        int width, height;
        Point at;  // inside the button
    };
    // The strip is 5400 × 450 twips: a wider button leaves its right end bare, a taller one
    // its bottom.
    const Case cases[] = {
        {"right of the strip", 6000, H, {5700, 200}},
        {"below the strip", W, 600, {675, 525}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm& f = make();
        f.plain.move(600, 1500, c.width, c.height);
        const Point p = f.inside(f.plain, c.at.x, c.at.y);
        ASSERT_EQ(rt.windowFromPoint(p), &f.plain) << "the point must lie on the button";
        host.moveTo(p);
        snap(f.plain);
        host.clickAt(p);
        host.clickAt(p, forms::buttons::Right);
        snap(f.plain);
        host.runFor(1000);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].frame, 0);
        EXPECT_EQ(seen[1].frame, 0);
        EXPECT_TRUE(f.clicks.empty());
        seen.clear();
    }
}

TEST_F(ButtonTest, ThePollStopsAtTheFirstTickThatFindsThePointerOutside) {
    ButtonForm& f = make();
    int ticks = 0;
    auto tick = f.btn.Timer1.Tick;
    f.btn.Timer1.Tick = [&ticks, tick] {
        ++ticks;
        tick();
    };
    EXPECT_TRUE(f.btn.Timer1.timerEnabled()) << "polls from creation";
    EXPECT_EQ(f.btn.Timer1.interval(), 100);
    std::vector<int> counts;
    host.pause(1000);
    host.then([&] { counts.push_back(ticks); });
    host.moveTo(f.btn);
    host.pause(1000);
    host.then([&] { counts.push_back(ticks); });
    host.moveTo(f.outside());
    host.pause(1000);
    host.then([&] { counts.push_back(ticks); });
    host.runFor(4000);

    ASSERT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts[0], 1) << "the pointer was never over it";
    EXPECT_EQ(counts[1], 11) << "one tick every 100 ms while over";
    EXPECT_EQ(counts[2], 12) << "one more tick, then no more";
    EXPECT_EQ(ticks, 12);
    EXPECT_FALSE(f.btn.Timer1.timerEnabled());
}

// ---- caption placement ----

struct CaptionCase {
    const char* what;
    int width, height;
    std::string caption;
    int left, top;
};

class CaptionPlacement : public ButtonTest, public ::testing::WithParamInterface<CaptionCase> {};

// At 宋体 9 pt a Latin character is 90 twips wide and a line 225 high.
TEST_P(CaptionPlacement, CentredOnTheFifteenTwipGrid) {
    const CaptionCase& c = GetParam();
    ButtonForm& f = make();
    f.btn.move(600, 600, c.width, c.height);
    f.btn.setCaption(c.caption);
    EXPECT_EQ(f.btn.LblCaption.left(), c.left);
    EXPECT_EQ(f.btn.LblCaption.top(), c.top);
    // The pressed offset is one pixel from the centred place, whatever its sign.
    host.press(f.btn);
    snap(f.btn);
    host.runFor(50);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, (Point{c.left + 15, c.top + 15}));
}

INSTANTIATE_TEST_SUITE_P(
    Button, CaptionPlacement,
    ::testing::Values(
        CaptionCase{"fits", W, H, "OK", 585, 105},
        CaptionCase{"wider than the button", W, H, std::string(16, 'W'), -45, 105},
        // -20 is not on the grid: toward zero, not down.
        CaptionCase{"wider rounds toward zero", 1310, H, std::string(15, 'W'), -15, 105},
        // -14.5 goes to -14 (even), not to -15.
        CaptionCase{"wider by an odd amount halves to even toward zero", 1321, H, std::string(15, 'W'), 0, 105},
        // -29.5 goes to -30 (even) before the grid, not to -29.
        CaptionCase{"wider by an odd amount halves to even away from zero", 1291, H, std::string(15, 'W'), -30,
                    105},
        // 14.5 goes to 14 (even), not to 15.
        CaptionCase{"narrower by an odd amount halves to even", 1379, H, std::string(15, 'W'), 0, 105},
        CaptionCase{"height halves to even", W, 284, "OK", 585, 30},
        CaptionCase{"taller than the button", W, 150, "OK", 585, -30},
        CaptionCase{"empty", W, H, "", 675, 105}),
    testsupport::CaseName());

TEST_F(ButtonTest, FontChangesLeaveTheCaptionWhereItWas) {
    struct Case {
        const char* what;
        std::function<void(vtrlButton&)> change;
    };
    const Case cases[] = {
        {"Font", [](vtrlButton& b) { b.setFont({"黑体", 18}); }},
        {"FontSize", [](vtrlButton& b) { b.setFontSize(18); }},
        {"FontName", [](vtrlButton& b) { b.setFontName("黑体"); }},
        {"FontBold", [](vtrlButton& b) { b.setFontBold(true); }},
        {"FontUnderline", [](vtrlButton& b) { b.setFontUnderline(true); }},
        {"ForeColor", [](vtrlButton& b) { b.setForeColor(forms::colors::Black); }},
        {"Picture", [this](vtrlButton& b) { b.setPicture(rt.host().loadPicture(smallStrip())); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm& f = make();
        host.moveTo(f.btn);
        host.then([&] { c.change(f.btn); });
        snap(f.btn);
        host.runFor(1000);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, (Point{585, 105}));
        EXPECT_EQ(seen[0].frame, 1) << "the writer re-selected the frame";
        seen.clear();
    }
}

TEST_F(ButtonTest, AfterAFontChangeTheNextPlacementCentresTheNewSize) {
    // At 18 pt "OK" is 360 × 450.
    struct Case {
        const char* what;
        bool hoverFirst;
        std::function<void(headless::HeadlessHost&, ButtonForm&)> place;
        Point at;
    };
    const Case cases[] = {
        {"caption write", false, [](auto& h, ButtonForm& f) { h.then([&f] { f.btn.setCaption("OK"); }); }, {495, 0}},
        {"resize", false, [](auto& h, ButtonForm& f) { h.then([&f] { f.btn.setWidth(1380); }); }, {510, 0}},
        {"move over", false, [](auto& h, ButtonForm& f) { h.moveTo(f.btn); }, {495, 0}},
        {"press", false, [](auto& h, ButtonForm& f) { h.press(f.btn); }, {510, 15}},
        {"click", false, [](auto& h, ButtonForm& f) { h.click(f.btn); }, {495, 0}},
        {"poll after leaving", true,
         [](auto& h, ButtonForm& f) {
             h.moveTo(f.outside());
             h.pause(150);
         },
         {495, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm& f = make();
        if (c.hoverFirst) host.moveTo(f.inside(f.btn, 60, 60));
        host.then([&f] { f.btn.setFontSize(18); });
        snap(f.btn);
        c.place(host, f);
        snap(f.btn);
        host.runFor(1000);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0].caption, (Point{585, 105})) << "moved by the font change";
        EXPECT_EQ(seen[1].caption, c.at);
        EXPECT_EQ(f.btn.LblCaption.width(), 360);
        EXPECT_EQ(f.btn.LblCaption.height(), 450);
        seen.clear();
    }
}

TEST_F(ButtonTest, AResizeKeepsTheStripWhereItWasUntilTheNextFrameChange) {
    struct Case {
        const char* what;
        std::function<void(headless::HeadlessHost&, ButtonForm&)> before;
        int imgLeftBefore;
        std::function<void(headless::HeadlessHost&, ButtonForm&)> next;
        int frameAfter;
    };
    const Case cases[] = {
        {"hover, then the poll after leaving", [](auto& h, ButtonForm& f) { h.moveTo(f.btn); }, -W,
         [](auto& h, ButtonForm& f) {
             h.moveTo(f.outside());
             h.pause(150);
         },
         0},
        {"pressed, then release", [](auto& h, ButtonForm& f) { h.press(f.btn); }, -2 * W,
         [](auto& h, ButtonForm& f) { h.release(headless::HeadlessHost::centreOf(f.btn)); }, 0},
        // Last: it leaves the button held.
        {"hover, then press", [](auto& h, ButtonForm& f) { h.moveTo(f.btn); }, -W,
         [](auto& h, ButtonForm& f) { h.press(f.btn); }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm& f = make();
        c.before(host, f);
        host.then([&f] { f.btn.move(600, 600, 1500, 480); });
        snap(f.btn);
        host.moveTo(f.inside(f.btn, 60, 60));  // a move does not touch a strip that is off its frames
        snap(f.btn);
        c.next(host, f);
        snap(f.btn);
        host.runFor(1000);

        ASSERT_EQ(seen.size(), 3u);
        EXPECT_EQ(seen[0].imgLeft, c.imgLeftBefore);
        EXPECT_EQ(seen[0].imgTop, 0);
        EXPECT_EQ(seen[0].frame, -1) << "no frame of the new width";
        // Re-centred on the new size at once: (1500 - 180) / 2 and (480 - 225) / 2 = 127.5.
        EXPECT_EQ(seen[0].caption, (Point{660, 120}));
        EXPECT_EQ(seen[1].imgLeft, c.imgLeftBefore);
        EXPECT_EQ(seen[2].frame, c.frameAfter);
        EXPECT_EQ(seen[2].imgLeft, -c.frameAfter * 1500);
        seen.clear();
    }
}

// ---- stored properties ----

TEST_F(ButtonTest, DefaultsAreNotStoredAndReadBackFromAnEmptyBag) {
    ButtonForm& f = make();
    // The default of Font is the container's ambient font; that of FontName is "". With an
    // ambient font without a face both can be at their defaults at once.
    f.setFont(forms::Font{"", 9});
    vtrlButton& b = f.plain;
    b.setForeColor(forms::colors::ButtonText);
    b.setEnabled(true);
    b.setFont(f.font());
    b.setCaption("");
    b.setFontBold(false);
    b.setFontName("");
    b.setFontUnderline(false);
    b.setMousePointerValue(0);
    b.setMouseIcon(nullptr);
    b.setPicture(nullptr);
    PropertyBag bag;
    b.UserControl_WriteProperties(bag);
    for (const char* name : {"ForeColor", "Enabled", "Font", "Caption", "FontBold", "FontName", "FontUnderline",
                             "MouseIcon", "MousePointer", "Picture"})
        EXPECT_FALSE(bag.has(name)) << name << " = " << bag.get(name, "");

    // The other button has something else in every property; the bag takes it all back.
    vtrlButton& o = f.btn;
    o.setForeColor(0x0000FF);
    o.setCaption("Go");
    o.setFontBold(true);
    o.setFontName("黑体");
    o.setFontUnderline(true);
    o.setMousePointerValue(forms::pointer::Custom);
    o.setMouseIcon(rt.host().loadPicture(smallStrip()));
    o.setEnabled(false);
    o.setFont({"黑体", 14, true, true, true});
    o.UserControl_ReadProperties(bag);
    EXPECT_EQ(o.ForeColor(), forms::colors::ButtonText);
    EXPECT_EQ(o.Font(), f.font());
    EXPECT_TRUE(o.Enabled());
    EXPECT_EQ(o.frame(), 0);
    EXPECT_EQ(o.Caption(), "");
    EXPECT_FALSE(o.FontBold());
    EXPECT_EQ(o.FontName(), "");
    EXPECT_FALSE(o.FontUnderline());
    EXPECT_EQ(o.MousePointer(), 0);
    EXPECT_EQ(o.MouseIcon(), nullptr);
    EXPECT_EQ(o.Picture(), nullptr);
    EXPECT_EQ(o.FontSize(), b.FontSize());
}

TEST_F(ButtonTest, PropertiesRoundTripThroughTheBag) {
    ButtonForm& f = make();
    vtrlButton& a = f.btn;
    a.setForeColor(0x0000FF);
    a.setCaption("Go on");
    a.setFontBold(true);
    a.setFontName("黑体");
    a.setFontSize(12);
    a.setFontUnderline(true);
    a.setMousePointerValue(forms::pointer::Custom);
    a.setMouseIcon(rt.host().loadPicture(smallStrip()));
    a.setEnabled(false);
    PropertyBag bag;
    a.UserControl_WriteProperties(bag);

    vtrlButton& b = f.plain;
    b.UserControl_ReadProperties(bag);
    EXPECT_EQ(b.ForeColor(), 0x0000FFu);
    EXPECT_FALSE(b.Enabled());
    EXPECT_EQ(b.frame(), 3);
    EXPECT_EQ(b.Caption(), "Go on");
    EXPECT_TRUE(b.FontBold());
    EXPECT_EQ(b.FontName(), "黑体");
    EXPECT_DOUBLE_EQ(b.FontSize(), 12);
    EXPECT_TRUE(b.FontUnderline());
    EXPECT_EQ(b.MousePointer(), forms::pointer::Custom);
    ASSERT_NE(b.MouseIcon(), nullptr);
    EXPECT_EQ(b.MouseIcon()->path, smallStrip());
    ASSERT_NE(b.Picture(), nullptr);
    EXPECT_EQ(b.Picture()->path, strip());
    // Placed for what was read: 5 characters at 12 pt are 600 × 300.
    EXPECT_EQ(b.LblCaption.left(), 375);
    EXPECT_EQ(b.LblCaption.top(), 75);

    // The system colour survives too.
    a.setForeColor(forms::colors::InfoText);
    PropertyBag again;
    a.UserControl_WriteProperties(again);
    b.UserControl_ReadProperties(again);
    EXPECT_EQ(b.ForeColor(), forms::colors::InfoText);
}

TEST_F(ButtonTest, FontIsStoredAndReadWithTheOthers) {
    ButtonForm& f = make();
    vtrlButton& a = f.btn;
    // Italic is carried by Font alone: no property of its own.
    const forms::Font font{"黑体", 12, true, true, true};
    a.setFont(font);
    EXPECT_EQ(a.Font(), font);
    PropertyBag bag;
    a.UserControl_WriteProperties(bag);
    ASSERT_TRUE(bag.has("Font"));
    EXPECT_EQ(bag.get("FontName", ""), "黑体");

    vtrlButton& b = f.plain;
    ASSERT_NE(b.Font(), font);
    b.UserControl_ReadProperties(bag);
    EXPECT_EQ(b.Font(), font);
    EXPECT_EQ(b.Caption(), "OK");

    // The ambient font is the default: not stored, and what a bag without Font gives.
    a.setFont(f.font());
    PropertyBag plain;
    a.UserControl_WriteProperties(plain);
    EXPECT_FALSE(plain.has("Font")) << plain.get("Font", "");
    b.UserControl_ReadProperties(plain);
    EXPECT_EQ(b.Font(), f.font());

    // Any face survives, separators and all.
    const forms::Font odd{"A;Size=3;Name=B", 7.5, false, true, false};
    a.setFont(odd);
    PropertyBag oddBag;
    a.UserControl_WriteProperties(oddBag);
    b.UserControl_ReadProperties(oddBag);
    EXPECT_EQ(b.Font(), odd);
}

TEST_F(ButtonTest, FontIsReadBeforeTheFontProperties) {
    ButtonForm& f = make();
    vtrlButton& a = f.btn;
    a.setFont({"楷体", 14, true, true, true});
    PropertyBag stored;
    a.UserControl_WriteProperties(stored);

    // Font is applied first; FontBold, FontName, FontSize and FontUnderline then apply over it,
    // each with its own default when it is missing.
    PropertyBag bag;
    bag.set("Font", stored.get("Font", ""));
    bag.set("FontName", "黑体");
    bag.set("FontSize", "10");
    vtrlButton& b = f.plain;
    b.UserControl_ReadProperties(bag);
    EXPECT_EQ(b.Font(), (forms::Font{"黑体", 10, false, true, false}));

    // Without FontSize the size is the one Font carries.
    bag = PropertyBag{};
    bag.set("Font", stored.get("Font", ""));
    bag.set("FontName", "黑体");
    b.UserControl_ReadProperties(bag);
    EXPECT_EQ(b.Font(), (forms::Font{"黑体", 14, false, true, false}));
}

TEST_F(ButtonTest, StoredNamesIgnoreCase) {
    ButtonForm& f = make();
    PropertyBag bag;
    bag.set("FORECOLOR", "255");
    bag.set("enabled", "0");
    bag.set("CaPtIoN", "Hi");
    bag.set("fontbold", "-1");
    bag.set("FONTNAME", "黑体");
    bag.set("fontSIZE", "12");
    f.plain.UserControl_ReadProperties(bag);
    EXPECT_EQ(f.plain.ForeColor(), 255u);
    EXPECT_FALSE(f.plain.Enabled());
    EXPECT_EQ(f.plain.Caption(), "Hi");
    EXPECT_TRUE(f.plain.FontBold());
    EXPECT_EQ(f.plain.FontName(), "黑体");
    EXPECT_DOUBLE_EQ(f.plain.FontSize(), 12);

    PropertyBag out;
    f.plain.UserControl_WriteProperties(out);
    EXPECT_EQ(out.get("caption", ""), "Hi");
    EXPECT_EQ(out.get("CAPTION", ""), "Hi");
    EXPECT_TRUE(out.has("Enabled"));
}

}  // namespace
