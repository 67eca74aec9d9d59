#include "tools/buttons.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/exam_pictures.h"
#include "tools/pictures.h"

using namespace qz::tools;

namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

bool sameFrames(const Canvas& c, int a, int b) {
    const int w = c.width() / 4;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < w; ++x)
            if (!(c.pixel(a * w + x, y) == c.pixel(b * w + x, y))) return false;
    return true;
}

bool opaque(const Canvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.pixel(x, y).a != 255) return false;
    return true;
}

class Strips : public testing::Test {
protected:
    Font font{kFont};
    SkinTexts texts{SourceFile{"skin.txt", {}}};
    ModuleInfo module{"CAD", "计算机辅助设计", "cadbank", "7", {}};
    Skin skin{font, texts, module, "单元练习"};
};

}  // namespace

TEST(DrawStrip, KeepsEachFrameToItsQuarter) {
    Canvas strip(40, 5);
    const Rgba colours[] = {Rgba::hex(0x110000), Rgba::hex(0x002200), Rgba::hex(0x000033), Rgba::hex(0x444444)};
    int frames = 0;
    drawStrip(strip, [&](Canvas& f, Look look) {
        EXPECT_EQ(f.width(), 10);
        EXPECT_EQ(f.height(), 5);
        f.fillRect(-50, -50, 200, 200, colours[static_cast<int>(look)]);  // far past the frame
        ++frames;
    });
    EXPECT_EQ(frames, 4);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(strip.pixel(x, 2), colours[x / 10]) << x;
}

// The program shows a strip's frames on a button face of its own colour, so every frame must
// be opaque, and a frame that looked like another would hide a state from the user.
TEST_F(Strips, EveryFamilyDrawsFourOpaqueDistinctFrames) {
    struct Case {
        const char* name;
        int w, h;
        void (*draw)(Canvas&, const Skin&);
    } cases[] = {
        {"orange", 480, 40, [](Canvas& c, const Skin& s) { plainButtons(c, s, kOrangeButton, Rgba::hex(0xf3f6fa)); }},
        {"blue", 360, 30, [](Canvas& c, const Skin& s) { plainButtons(c, s, kBlueButton, Rgba::hex(0xf3f6fa)); }},
        {"light", 320, 25, [](Canvas& c, const Skin& s) { plainButtons(c, s, kLightButton, Rgba::hex(0xf3f6fa)); }},
        {"close", 88, 22,
         [](Canvas& c, const Skin& s) {
             windowButtons(
                 c, s, Glyph::Close, [](double) { return Rgba::hex(0x2361a6); }, 6);
         }},
        {"tab", 328, 80, [](Canvas& c, const Skin& s) { sectionTabs(c, s, Glyph::Home); }},
        {"tile", 600, 150,
         [](Canvas& c, const Skin& s) { coverTiles(c, s, Glyph::Exam, Rgba::hex(0xfbb452), Rgba::hex(0xdb7414)); }},
        {"small", 144, 55, [](Canvas& c, const Skin& s) { coverSmallButtons(c, s, Glyph::Help); }},
        {"menu", 720, 50, [](Canvas& c, const Skin& s) { columnItems(c, s, Glyph::Bullet, 10, 15); }},
        {"unit", 720, 35, unitRows},
        {"page", 316, 37, [](Canvas& c, const Skin& s) { pageButtons(c, s, false); }},
        {"current page", 316, 37, [](Canvas& c, const Skin& s) { pageButtons(c, s, true); }},
        {"filter", 240, 25, [](Canvas& c, const Skin& s) { checkFilters(c, s, false); }},
        {"ticked filter", 240, 25, [](Canvas& c, const Skin& s) { checkFilters(c, s, true); }},
        {"done cell", 120, 30, exam::doneCell},
        {"not done cell", 120, 30, exam::notDoneCell},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas strip(c.w, c.h);
        c.draw(strip, skin);
        EXPECT_TRUE(opaque(strip));
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) EXPECT_FALSE(sameFrames(strip, a, b)) << "frames " << a << " and " << b;
    }
}

// Words drawn on a frame with none would double the caption the program writes itself.
TEST_F(Strips, AButtonWithoutWordsIsAPlainFace) {
    Skin bare = skin;
    bare.words = {};
    Canvas with(360, 30), without(360, 30);
    plainButtons(with, skin, kLightButton, Rgba::hex(0xf3f6fa));
    plainButtons(without, bare, kLightButton, Rgba::hex(0xf3f6fa));
    auto plainMiddle = [](const Canvas& c) {  // across the normal frame, where words would go
        for (int x = 20; x < 70; ++x)
            if (!(c.pixel(x, 14) == c.pixel(20, 14))) return false;
        return true;
    };
    EXPECT_TRUE(plainMiddle(without));
    EXPECT_FALSE(plainMiddle(with));
}

TEST(PictureTable, NamesEveryFileOnce) {
    std::set<std::string> names;
    for (const Picture& p : pictures()) {
        EXPECT_TRUE(names.insert(p.file).second) << p.file;
        EXPECT_GT(p.width, 0);
        EXPECT_GT(p.height, 0);
    }
    for (const Cursor& k : cursors()) EXPECT_TRUE(names.insert(k.file).second) << k.file;
}
