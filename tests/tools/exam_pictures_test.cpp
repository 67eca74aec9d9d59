// The mock exam's pictures as the build wrote them, against the places where the windows lay
// their controls (design twips, 15 to a pixel).
#include <gtest/gtest.h>
#include <stb_image.h>

#include <memory>
#include <string>

#include "tests/support/program_folder.h"
#include "tests/support/temp_dir.h"
#include "tools/pictures.h"

using namespace qz::tools;

namespace {

struct Image {
    int width = 0, height = 0;
    std::shared_ptr<unsigned char> px;

    Rgba at(int x, int y) const {
        const unsigned char* p =
            px.get() +
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

Image load(const std::string& file) {
    Image im;
    int channels = 0;
    unsigned char* data =
        stbi_load((testsupport::sampleDataDir() + "/" + file).c_str(), &im.width, &im.height, &channels, 4);
    if (!data) throw std::runtime_error("cannot decode " + file);
    im.px.reset(data, stbi_image_free);
    return im;
}

constexpr int px(int twips) { return twips / 15; }

struct Box {
    int left, top, width, height;  // twips
};

}  // namespace

// A strip's frame is shown at the button's own width; any other width shows parts of two frames.
TEST(ExamSkins, ButtonStripsAreFourFramesOfTheirButtonsSize) {
    struct Case {
        const char* file;
        int width, height;  // of the button, twips
    } cases[] = {
        {"l20047.mxy", 1275, 450}, {"l20048.mxy", 1275, 450},  // a paper row's start
        {"l20021.mxy", 1800, 600},                             // the random draw
        {"l01041.mxy", 1320, 420}, {"l01042.mxy", 1320, 420},  // hand-in dialogs
        {"l01038.mxy", 1920, 450}, {"l01039.mxy", 1920, 450},  // the tips dialog
        {"l01033.mxy", 450, 450},  {"l01034.mxy", 450, 450},   // score report's grid
        {"l01036.mxy", 1920, 450}, {"l01035.mxy", 1920, 450}, {"l01037.mxy", 870, 450},
    };
    for (const auto& c : cases) {
        const Picture* found = nullptr;
        for (const Picture& p : pictures())
            if (std::string(p.file) == c.file) found = &p;
        ASSERT_NE(found, nullptr) << c.file;
        EXPECT_EQ(found->width, 4 * px(c.width)) << c.file;
        EXPECT_EQ(found->height, px(c.height)) << c.file;
    }
}

// The buttons paint the colour they stand on behind their rounded corners; where the picture
// under them differs, the corners show as stray dots.
TEST(ExamSkins, ButtonCornersMatchWhatTheyStandOn) {
    struct Case {
        const char* strip;
        const char* page;  // nullptr: a plain window colour
        Box at;            // in the page, twips
        Rgba colour;
    } cases[] = {
        {"l20047.mxy", "l20065.mxy", {3000, 630, 1275, 450}, {}},
        {"l20048.mxy", "l20065.mxy", {3000, 630, 1275, 450}, {}},
        {"l20021.mxy", "l20066.mxy", {9750 - 2730, 5850 - 90, 1800, 600}, {}},
        {"l01036.mxy", "9l0058.mxy", {3480, 4080, 1920, 450}, {}},
        {"l01035.mxy", "9l0058.mxy", {5520, 4080, 1920, 450}, {}},
        {"l01037.mxy", "9l0058.mxy", {7560, 4080, 870, 450}, {}},
        {"l01041.mxy", nullptr, {0, 0, 1320, 420}, Rgba::hex(0xebe9d8)},  // &H00D8E9EB&
        {"l01042.mxy", nullptr, {0, 0, 1320, 420}, Rgba::hex(0xebe9d8)},
        {"l01038.mxy", nullptr, {0, 0, 1920, 450}, Rgba::hex(0xf0f0f0)},  // the tips dialog's face
        {"l01039.mxy", nullptr, {0, 0, 1920, 450}, Rgba::hex(0xf0f0f0)},
        {"l01033.mxy", nullptr, {0, 0, 450, 450}, Rgba::hex(0xf0f0f0)},  // a frame's button face
        {"l01034.mxy", nullptr, {0, 0, 450, 450}, Rgba::hex(0xf0f0f0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strip);
        const Image strip = load(c.strip);
        const int w = px(c.at.width), h = px(c.at.height);
        ASSERT_EQ(strip.width, 4 * w);
        for (const auto& [dx, dy] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
            Rgba under = c.colour;
            if (c.page) under = load(c.page).at(px(c.at.left) + dx, px(c.at.top) + dy);
            EXPECT_EQ(strip.at(dx, dy), under) << dx << "," << dy;
        }
    }
}

// The login's buttons are bare hot areas and its boxes plain text boxes: what the learner sees
// and aims at is the page under them.
TEST(ExamSkins, TheLoginPagesDrawTheirControlsWhereTheLoadPutsThem) {
    const Image login = load("9l0056.mxy");
    const Rgba white = Rgba::hex(0xffffff);
    for (const Box area : {Box{4275, 5640, 1335, 495}, Box{6660, 5640, 1335, 495}}) {
        const int l = px(area.left), t = px(area.top), r = px(area.left + area.width) - 1,
                  b = px(area.top + area.height) - 1, cy = (t + b) / 2, cx = (l + r) / 2;
        SCOPED_TRACE(area.left);
        for (const auto& [x, y] : {std::pair{l + 3, t + 3}, {r - 3, t + 3}, {l + 3, b - 3}, {r - 3, b - 3}, {cx, cy}})
            EXPECT_NE(login.at(x, y), white) << "inside at " << x << "," << y;
        for (const auto& [x, y] : {std::pair{l - 3, cy}, {r + 3, cy}, {cx, t - 3}, {cx, b + 3}})
            EXPECT_EQ(login.at(x, y), white) << "outside at " << x << "," << y;
    }
    // A box's frame lies just round it, its inside white like the box.
    const auto framed = [](const Image& page, Box box) {
        const int l = px(box.left), t = px(box.top), r = px(box.left + box.width) - 1, b = px(box.top + box.height) - 1,
                  cy = (t + b) / 2;
        EXPECT_EQ(page.at(l, cy), Rgba::hex(0xffffff));
        EXPECT_EQ(page.at(r, cy), Rgba::hex(0xffffff));
        EXPECT_NE(page.at(l - 2, cy), Rgba::hex(0xffffff));
        EXPECT_NE(page.at(r + 2, cy), Rgba::hex(0xffffff));
    };
    framed(login, {5070, 4440, 3255, 360});
    framed(login, {5070, 4905, 3255, 360});
    framed(load("9l0057.mxy"), {1110, 7980, 10335, 180});  // the progress track
}

// The requirement label draws its text from its top-left corner; the box under it leaves it
// room on every side, its accent bar too.
TEST(ExamSkins, TheRequirementsBoxStandsClearRoundItsLabel) {
    const Image report = load("9l0058.mxy");
    const Rgba inside = report.at(px(1072) + 20, px(7770) + 20);
    const int l = px(1072), t = px(7770), r = px(1072 + 9855) - 1, b = px(7770 + 855) - 1, cy = (t + b) / 2;
    for (const auto& [x, y] : {std::pair{l - 4, cy}, {r + 4, cy}, {l + 20, t - 5}, {l - 4, t - 3}, {r + 4, b}})
        EXPECT_EQ(report.at(x, y), inside) << x << "," << y;
}

TEST(ExamSkins, TheLoginsHandPointsWithItsFingertip) {
    const std::string cur = testsupport::readFileBytes(testsupport::sampleDataDir() + "/../FrmLogon.cur");
    ASSERT_GT(cur.size(), 62u + 32 * 32 * 4);
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned char>(cur[at]) | static_cast<unsigned char>(cur[at + 1]) << 8;
    };
    ASSERT_EQ(u16(2), 2);  // a cursor
    const int hx = u16(10), hy = u16(12);
    const auto alpha = [&](int x, int y) {  // colour rows are stored bottom up
        return static_cast<unsigned char>(cur[62 + static_cast<std::size_t>((31 - y) * 32 + x) * 4 + 3]);
    };
    int top = 32;  // the first row the hand covers
    for (int y = 0; y < 32 && top == 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (alpha(x, y) == 255) top = y;
    EXPECT_EQ(alpha(hx, hy), 255);
    EXPECT_LE(hy - top, 1) << "the hot spot is at the top of the hand, inside its outline";
}
