// The about box, opened from the home screen's version label as a learner opens it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FrmAbout.h"
#include "app/program.h"
#include "home/FrmFengmian.h"
#include "tests/app/program_harness.h"
#include "tests/home/home_fixture.h"

namespace {

using testsupport::ProgramFolder;
using testsupport::ProgramHarness;

class AboutBox : public ::testing::Test {
protected:
    explicit AboutBox(std::string folderName = "quorvane") : folder(ProgramFolder::Kind::Full, std::move(folderName)) {
        writeInfo(info());
    }
    // The home screen's labels where a learner can reach them.
    static std::vector<std::string> info() { return hometest::HomeRun::defaultInfo(); }

    void start(int twipsPerPixel = 15) {
        h = std::make_unique<ProgramHarness>(folder, twipsPerPixel);
        h->p().run();  // splash, then the home screen standing idle
        ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    }
    // Clicks the version label and runs `whileShown` on the box once it is up.
    void open(std::function<void(qz::FrmAbout&)> whileShown) {
        h->host.click(h->p().frmFengmian().LblInfo(0));
        h->host.then([this, whileShown] {
            forms::Form* top = h->p().rt.topModal();
            ASSERT_TRUE(top && top->name() == "FrmAbout");
            whileShown(static_cast<qz::FrmAbout&>(*top));
        });
        h->host.runUntilIdle();
    }
    void writeInfo(const std::vector<std::string>& info) { folder.writeProductInfo(info); }

    ProgramFolder folder;
    std::unique_ptr<ProgramHarness> h;
};

struct AboutLayout {
    int tpp;
    forms::Rect window, strip, close, ok, folderLabel;
    forms::Point product, strapline, module, version, company, logo;
    int lineY, lineX1, lineX2, etch;
    double size, moduleSize;
};

class AboutBoxLayout : public AboutBox, public ::testing::WithParamInterface<AboutLayout> {};

TEST_P(AboutBoxLayout, LaysOutAtEveryScale) {
    const AboutLayout& L = GetParam();
    start(L.tpp);
    forms::Rect window{}, strip{}, close{}, ok{}, folderLabel{};
    std::vector<forms::Point> at;
    std::vector<std::string> texts, faces;
    std::vector<forms::Color> colours;
    std::vector<int> lines;
    bool topmost = false, taskbar = true, borderless = false, wraps = false, moduleBold = false, hand = false;
    double size = 0, moduleSize = 0;
    std::string versionLabel;
    open([&](qz::FrmAbout& b) {
        window = {b.left(), b.top(), b.width(), b.height()};
        strip = b.lblMove.rect();
        close = b.LblClick(0).rect();
        ok = b.LblClick(1).rect();
        folderLabel = b.Label1(3).rect();
        for (int i : {2, 1, 4, 0, 6}) at.push_back({b.Label1(i).left(), b.Label1(i).top()});
        at.push_back({b.ImgLogo1.left(), b.ImgLogo1.top()});
        for (int i : {2, 1, 4, 0, 3, 6}) texts.push_back(b.Label1(i).caption());
        for (int i : {2, 1, 4}) colours.push_back(b.Label1(i).foreColor());
        colours.push_back(b.Line1(4).borderColor());
        colours.push_back(b.Line1(3).borderColor());
        for (int i : {4, 3}) lines.insert(lines.end(), {b.Line1(i).x1(), b.Line1(i).y1(), b.Line1(i).x2(), b.Line1(i).y2()});
        for (int i = 0; i < 2; ++i) faces.push_back(b.LblClick(i).Picture() ? b.LblClick(i).Picture()->path : "");
        topmost = b.topmost();
        taskbar = b.showInTaskbar();
        borderless = b.formBorderStyle() == 0;
        wraps = b.Label1(3).wordWrap();
        moduleBold = b.Label1(4).font().bold;
        hand = b.Label1(3).mousePointer() == 99 && b.Label1(3).mouseIcon() != nullptr;
        size = b.Label1(0).font().size;
        moduleSize = b.Label1(4).font().size;
        versionLabel = h->p().frmFengmian().LblInfo(0).caption();
        h->host.click(b.LblClick(0));
    });
    EXPECT_FALSE(h->isLoaded("FrmAbout"));

    const forms::Size screen = h->host.screenSize();
    EXPECT_EQ(window, (forms::Rect{(screen.width - L.window.width) / 2, (screen.height - L.window.height) / 2,
                                   L.window.width, L.window.height}));
    EXPECT_EQ(strip, L.strip);
    EXPECT_EQ(close, L.close);
    EXPECT_EQ(close.left, window.width - L.close.width * 420 / 330) << "420 scaled twips from the right edge";
    EXPECT_EQ(ok, L.ok);
    EXPECT_EQ(folderLabel, L.folderLabel);
    const std::vector<forms::Point> want{L.product, L.strapline, L.module, L.version, L.company, L.logo};
    EXPECT_EQ(at, want);
    const std::string product = "测试品牌绘图练习系统";
    const std::vector<std::string> wantTexts{product, product, std::string("── ") + ProgramFolder::ModuleTitle,
                                             versionLabel, "系统工作目录: " + folder.path(), "info7"};
    EXPECT_EQ(texts, wantTexts);
    EXPECT_EQ(colours, (std::vector<forms::Color>{forms::colors::White, 0x00E97F0C, 0x000000FF, 0x00808080,
                                                  forms::colors::White}));
    EXPECT_EQ(lines, (std::vector<int>{L.lineX1, L.lineY, L.lineX2, L.lineY, L.lineX1 + L.etch, L.lineY + L.etch,
                                       L.lineX2 + L.etch, L.lineY + L.etch}));
    EXPECT_EQ(faces, (std::vector<std::string>{folder.dataFile("l20003.mxy"), folder.dataFile("l20001.mxy")}));
    EXPECT_TRUE(topmost);
    EXPECT_FALSE(taskbar);
    EXPECT_TRUE(borderless);
    EXPECT_TRUE(wraps);
    EXPECT_TRUE(moduleBold);
    EXPECT_TRUE(hand);
    EXPECT_DOUBLE_EQ(size, L.size);
    EXPECT_DOUBLE_EQ(moduleSize, L.moduleSize);
}

// Design twips times 15 / twips per pixel.
INSTANTIATE_TEST_SUITE_P(
    Box, AboutBoxLayout,
    ::testing::Values(AboutLayout{15, {0, 0, 6300, 4200}, {0, 0, 5580, 540}, {5880, 90, 330, 330}, {4680, 3480, 1350, 450},
                                  {480, 1800, 5490, 540}, {600, 180}, {480, 720}, {480, 1080}, {480, 1500}, {480, 3600},
                                  {120, 90}, 2385, 360, 5760, 15, 10, 12},
                      AboutLayout{12, {0, 0, 5040, 3360}, {0, 0, 4464, 432}, {4704, 72, 264, 264}, {3744, 2784, 1080, 360},
                                  {384, 1440, 4392, 432}, {480, 144}, {384, 576}, {384, 864}, {384, 1200}, {384, 2880},
                                  {96, 72}, 1908, 288, 4608, 12, 8, 9.6}),
    [](const auto& p) { return "At" + std::to_string(p.param.tpp) + "TwipsPerPixel"; });

TEST_F(AboutBox, EmptyEntriesLeaveTheirLabelsEmptyAndMoveNothing) {
    std::vector<std::string> emptied = info();
    emptied[0] = emptied[7] = emptied[9] = "";
    writeInfo(emptied);
    start();
    std::vector<std::string> texts;
    std::vector<forms::Point> at;
    open([&](qz::FrmAbout& b) {
        for (int i : {2, 1, 6}) texts.push_back(b.Label1(i).caption());
        for (int i : {2, 1, 4, 0, 3, 6}) at.push_back({b.Label1(i).left(), b.Label1(i).top()});
        h->host.click(b.LblClick(1));
    });
    EXPECT_EQ(texts, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(at, (std::vector<forms::Point>{{600, 180}, {480, 720}, {480, 1080}, {480, 1500}, {480, 1800}, {480, 3600}}));
    EXPECT_FALSE(h->isLoaded("FrmAbout"));
}

class AboutBoxLongFolder : public AboutBox {
protected:
    AboutBoxLongFolder() : AboutBox(std::string(90, 'q')) {}
};

TEST_F(AboutBoxLongFolder, ALongFolderWrapsToTwoLinesAndItsClickOpensItWithTheBoxStaying) {
    start();
    std::size_t lineCount = 0;
    int lineHeight = 0, labelHeight = 0;
    bool stillOpen = false;
    std::vector<std::string> opened;
    open([&](qz::FrmAbout& b) {
        const std::vector<std::string> lines = b.Label1(3).lines();
        lineCount = lines.size();
        lineHeight = h->host.measureText(b.Label1(3).font(), "系").height;
        labelHeight = b.Label1(3).height();
        for (int i : {0, 1, 2, 4, 6}) h->host.click(b.Label1(i));
        h->host.click(b.Label1(3));
        h->host.then([&] {
            stillOpen = h->p().rt.topModal() == &b;
            for (const auto& c : h->shell.calls) opened.push_back(c.target);
            h->host.click(b.LblClick(1));
        });
    });
    EXPECT_GE(lineCount, 2u);
    EXPECT_GE(labelHeight, 2 * lineHeight) << "two lines are shown";
    EXPECT_LT(labelHeight, 3 * lineHeight) << "a third would not be";
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(opened, std::vector<std::string>{folder.path()});
    EXPECT_FALSE(h->isLoaded("FrmAbout"));
}

}  // namespace
