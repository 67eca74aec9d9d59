#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QThreadPool>

#include "tests/support/vb_error_of.h"
#include "host/qt/fonts.h"
#include "host/qt/painting.h"
#include "platform/vb_error.h"
#include "tests/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

using namespace qttest;
using forms::rgb;

namespace {

QColor at(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

// 20 × 10 pixels, each column its own shade of red, so a drawn column tells where it came from.
QImage columnStripes() {
    QImage img(20, 10, QImage::Format_RGB32);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 10; ++y) img.setPixelColor(x, y, QColor(10 * x + 50, 0, 0));
    return img;
}

}  // namespace

using testsupport::errorOf;

TEST(QtHostScale, TwipsPerPixelFollowTheLogicalDpi) {
    struct Case {
        double dpi;
        int tpp;
    } cases[] = {{96, 15}, {120, 12}, {144, 10}, {72, 20}, {192, 8}};
    for (const auto& c : cases) EXPECT_EQ(qthost::QtHost::twipsPerPixelForDpi(c.dpi), c.tpp) << c.dpi;

    qthost::QtHost host;
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(host.twipsPerPixelX(), qthost::QtHost::twipsPerPixelForDpi(screen->logicalDotsPerInchX()));
    EXPECT_EQ(host.screenSize().width, screen->availableGeometry().width() * host.twipsPerPixelX());
}

TEST_F(QtHostTest, RendersTheModelInZOrderAndClipsToContainers) {
    ASSERT_EQ(host.twipsPerPixelX(), kTpp) << "the offscreen screen is 96 DPI";
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("stripes.png"), encoded(columnStripes(), "PNG"));

    form.setBackColor(rgb(0, 128, 0));
    forms::Label opaque(&form, "Label1");
    place(opaque, px(10, 10, 40, 20));
    opaque.setBackColor(rgb(255, 255, 0));

    forms::Shape box(&form, "Shape1");
    place(box, px(60, 10, 40, 30));
    box.setBorderColor(rgb(255, 0, 0));
    forms::Shape oval(&form, "Shape2");
    place(oval, px(110, 10, 40, 30));
    oval.setShape(2);
    oval.setFillStyle(0);
    oval.setFillColor(rgb(0, 0, 255));

    // A windowless label stacked above the picture box is still painted beneath it.
    forms::Label under(&form, "Label2");
    forms::PictureBox holder(&form, "Picture1");
    place(holder, px(10, 50, 30, 20));
    holder.setBorderStyle(0);
    holder.setBackColor(rgb(255, 255, 255));
    place(under, px(0, 45, 60, 30));
    under.setBackColor(rgb(0, 255, 255));
    under.zOrder(0);
    forms::Image pic(&holder, "Image1");
    pic.setPicture(host.loadPicture(dir.file("stripes.png")));
    pic.moveTo(-5 * kTpp, 0);

    forms::Label chinese(&form, "Label3");
    place(chinese, px(10, 100, 60, 24));
    chinese.setBackColor(rgb(255, 255, 255));
    chinese.setForeColor(rgb(0, 0, 0));
    chinese.setFontSize(12);
    chinese.setCaption("中文");

    QImage img = qthost::renderForm(form);
    ASSERT_EQ(img.size(), QSize(200, 150));
    EXPECT_EQ(at(img, 5, 5), QColor(0, 128, 0));      // form background
    EXPECT_EQ(at(img, 30, 20), QColor(255, 255, 0));  // opaque label
    EXPECT_EQ(at(img, 60, 20), QColor(255, 0, 0));    // shape's left border
    EXPECT_EQ(at(img, 80, 25), QColor(0, 128, 0));    // transparent inside
    EXPECT_EQ(at(img, 130, 25), QColor(0, 0, 255));   // filled oval's centre
    EXPECT_EQ(at(img, 111, 11), QColor(0, 128, 0));   // outside the oval, inside its bounds

    EXPECT_EQ(at(img, 9, 55), QColor(0, 255, 255));          // the label beside the box
    EXPECT_EQ(at(img, 10, 55), QColor(5 * 10 + 50, 0, 0));   // column 5: the first 5 are clipped away
    EXPECT_EQ(at(img, 24, 55), QColor(19 * 10 + 50, 0, 0));  // the last column
    EXPECT_EQ(at(img, 25, 55), QColor(255, 255, 255));       // the box behind, past the natural width
    EXPECT_EQ(at(img, 15, 65), QColor(255, 255, 255));       // below the natural height

    int dark = 0;
    for (int x = 10; x < 70; ++x)
        for (int y = 100; y < 124; ++y) dark += at(img, x, y).lightness() < 100;
    EXPECT_GT(dark, 40) << "the CJK font draws the caption";
    // A label sized by its text: the font has real CJK metrics, not a fallback's.
    forms::Size two = host.measureText(chinese.font(), "中文");
    EXPECT_EQ(two.width, 2 * qthost::pixelSizeFor(12) * kTpp);
}

TEST_F(QtHostTest, MeasuresEachFontAndTextApartAndALineIsAsHighAsItsFont) {
    forms::Font song{"宋体", 9};
    forms::Font bigger{"宋体", 12};
    forms::Font bold{"宋体", 9, true};
    forms::Font other{"Arial", 9};
    // Measured twice each, so that a remembered answer must belong to its own font and text.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(host.measureText(song, "中文").width, 2 * qthost::pixelSizeFor(9) * kTpp) << round;
        EXPECT_EQ(host.measureText(bigger, "中文").width, 2 * qthost::pixelSizeFor(12) * kTpp) << round;
        EXPECT_EQ(host.measureText(song, "中文中文").width, 4 * qthost::pixelSizeFor(9) * kTpp) << round;
        EXPECT_EQ(host.measureText(song, "").width, 0) << round;
        EXPECT_NE(host.measureText(song, "Wide").width, host.measureText(other, "Wide").width) << round;
        EXPECT_GE(host.measureText(bold, "Wide").width, host.measureText(song, "Wide").width) << round;
    }
    for (const forms::Font& f : {song, bigger, bold, other}) {
        int line = host.measureText(f, "").height;
        EXPECT_GT(line, 0) << f.name << f.size;
        for (const char* text : {"Ag", "中文", "_"}) EXPECT_EQ(host.measureText(f, text).height, line) << f.name << text;
    }
    EXPECT_LT(host.measureText(song, "").height, host.measureText(bigger, "").height);
}

// The layouts count SimSun's ASCII at half an em: a paper row's time only fits beside its
// button so, and a text box's caret must stand where its characters are drawn.
TEST_F(QtHostTest, SimSunsAsciiIsHalfAnEmBesideFullWidthChinese) {
    for (double size : {9.0, 12.0}) {
        SCOPED_TRACE(size);
        const int em = qthost::pixelSizeFor(size);
        for (bool bold : {false, true}) {
            const forms::Font song{"宋体", size, bold};
            EXPECT_EQ(host.measureText(song, "2026-12-11 02:22").width, 16 * em / 2 * kTpp);
            EXPECT_EQ(host.measureText(song, "最后考试时间：2026-12-11 02:22").width, (7 * em + 16 * em / 2) * kTpp);
            EXPECT_EQ(host.measureText(song, "CA 1套").width, (em + 4 * em / 2) * kTpp);
        }
    }
    // Another face keeps its own letters.
    const forms::Font mono{"Courier New", 9};
    EXPECT_GT(host.measureText(mono, "2026-12-11 02:22").width, 16 * qthost::pixelSizeFor(9) / 2 * kTpp);
}

TEST_F(QtHostTest, LoadsPicturesByContentAndReportsMissingAndBadFiles) {
    testsupport::TempDir dir;
    QImage small(7, 5, QImage::Format_ARGB32);
    small.fill(Qt::red);
    testsupport::writeFileBytes(dir.file("Skin.MXY"), encoded(small, "PNG"));
    testsupport::writeFileBytes(dir.file("photo.mxy"), encoded(small, "JPEG"));
    testsupport::writeFileBytes(dir.file("bad.mxy"), "this is no picture at all");

    struct Case {
        const char* file;
        int error;
    } cases[] = {{"skin.mxy", 0}, {"photo.mxy", 0}, {"missing.mxy", 53}, {"bad.mxy", 481}};
    for (const auto& c : cases) {
        forms::PicturePtr p;
        EXPECT_EQ(errorOf([&] { p = host.loadPicture(dir.file(c.file)); }), c.error) << c.file;
        if (c.error) continue;
        ASSERT_TRUE(p) << c.file;
        EXPECT_EQ(p->widthTwips, 7 * kTpp) << c.file;
        EXPECT_EQ(p->heightTwips, 5 * kTpp) << c.file;
        EXPECT_NE(dynamic_cast<const qthost::QtPicture*>(p.get()), nullptr);
    }
}

TEST_F(QtHostTest, DecodesEveryFormatByContentToItsPixels) {
    testsupport::TempDir dir;
    QImage opaque(6, 4, QImage::Format_RGB32);
    opaque.fill(QColor(200, 40, 10));
    QImage clear(6, 4, QImage::Format_ARGB32);
    clear.fill(QColor(200, 40, 10));
    clear.setPixelColor(0, 0, Qt::transparent);
    std::string png = encoded(opaque, "PNG");

    struct Case {
        const char* name;
        std::string bytes;
        bool decodes;
        bool transparentCorner;
    } cases[] = {
        {"opaque.png", png, true, false},
        {"alpha.png", encoded(clear, "PNG"), true, true},
        {"plain.bmp", encoded(opaque, "BMP"), true, false},
        {"photo.jpg", encoded(opaque, "JPEG"), true, false},
        {"icon.ico", encoded(clear, "ICO"), true, true},
        // A PNG's signature and size, then nothing that decodes: drawn as no picture at all.
        {"cut.png", png.substr(0, 40), false, false},
    };
    for (const auto& c : cases) {
        testsupport::writeFileBytes(dir.file(c.name), c.bytes);
        forms::PicturePtr p = host.loadPicture(dir.file(c.name));
        auto* q = dynamic_cast<const qthost::QtPicture*>(p.get());
        ASSERT_NE(q, nullptr) << c.name;
        const QImage& img = q->image();
        ASSERT_EQ(!img.isNull(), c.decodes) << c.name;
        if (!c.decodes) continue;
        EXPECT_EQ(img.size(), QSize(6, 4)) << c.name;
        EXPECT_TRUE(img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32_Premultiplied)
            << c.name << " is drawn without a conversion per paint";
        QColor far = img.pixelColor(5, 3);
        EXPECT_NEAR(far.red(), 200, 8) << c.name;
        EXPECT_NEAR(far.green(), 40, 8) << c.name;
        EXPECT_NEAR(far.blue(), 10, 8) << c.name;
        EXPECT_EQ(img.pixelColor(0, 0).alpha(), c.transparentCorner ? 0 : 255) << c.name;
    }
}

TEST_F(QtHostTest, AFileReadAgainSharesItsDecodingOnlyWhileItsBytesAreTheSame) {
    testsupport::TempDir dir;
    const std::string file = dir.file("skin.bmp");
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage marked = red;
    marked.setPixelColor(5, 0, Qt::blue);
    // Same size, one pixel apart: whatever shortcut finds a picture already seen must still
    // tell these two apart.
    std::string before = encoded(red, "BMP"), after = encoded(marked, "BMP");
    ASSERT_EQ(before.size(), after.size());

    testsupport::writeFileBytes(file, before);
    auto first = std::dynamic_pointer_cast<const qthost::QtPicture>(host.loadPicture(file));
    auto again = std::dynamic_pointer_cast<const qthost::QtPicture>(host.loadPicture(file));
    testsupport::writeFileBytes(file, after);
    auto changed = std::dynamic_pointer_cast<const qthost::QtPicture>(host.loadPicture(file));
    ASSERT_TRUE(first && again && changed);
    EXPECT_EQ(&first->image(), &again->image()) << "the same bytes are decoded once";
    EXPECT_EQ(first->image().pixelColor(5, 0), QColor(Qt::red));
    EXPECT_EQ(changed->image().pixelColor(5, 0), QColor(Qt::blue));
}

TEST_F(QtHostTest, PicturesDecodedAheadDrawTheirOwnPixelsWhoeverComesFirst) {
    testsupport::TempDir dir;
    // Each its own picture, large enough that a draw often meets its decoding under way.
    std::vector<QImage> sources;
    std::vector<std::shared_ptr<const qthost::QtPicture>> pictures;
    auto load = [&](forms::Host& h, int k) {
        QImage img(300, 120, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x % 256, (y * 2 + k) % 256, k * 7 % 256));
        std::string file = dir.file("p" + std::to_string(k) + ".png");
        testsupport::writeFileBytes(file, encoded(img, "PNG"));
        sources.push_back(img);
        pictures.push_back(std::dynamic_pointer_cast<const qthost::QtPicture>(h.loadPicture(file)));
    };
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    for (int k = 0; k < 12; ++k) {
        load(host, k);
        pictures.back()->decodeAhead(pool);
    }
    // A host that goes leaves the pictures it was decoding ahead, begun or not, to their draws.
    {
        qthost::QtHost other;
        forms::Runtime otherRt{other};
        TestForm shown{otherRt};
        shown.show();
        for (int k = 12; k < 24; ++k) {
            load(other, k);
            shown.setPicture(pictures.back());
        }
    }
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        ASSERT_NE(pictures[k], nullptr) << k;
        EXPECT_EQ(pictures[k]->image(), sources[k]) << k;
    }
    pool.waitForDone();
}

TEST_F(QtHostTest, OnlyThePicturesAPaintDrawsAreDecodedAhead) {
    auto picture = [] { return std::make_shared<forms::Picture>(); };
    forms::PicturePtr background = picture(), panel = picture(), icon = picture(), hiddenIcon = picture(),
                      hiddenPanel = picture(), inHiddenPanel = picture();
    form.setPicture(background);
    forms::PictureBox shown(&form, "Picture1");
    shown.setPicture(panel);
    forms::Image inShown(&shown, "Image1");
    inShown.setPicture(icon);
    forms::Image hidden(&shown, "Image2");
    hidden.setPicture(hiddenIcon);
    hidden.setVisible(false);
    forms::PictureBox closed(&form, "Picture2");
    closed.setPicture(hiddenPanel);
    closed.setVisible(false);
    forms::Image inClosed(&closed, "Image3");
    inClosed.setPicture(inHiddenPanel);

    std::vector<forms::PicturePtr> expected{background, panel, icon};
    EXPECT_EQ(qthost::picturesPainted(form), expected);
}

TEST_F(QtHostTest, CursorFilesKeepTheirHotSpot) {
    testsupport::TempDir dir;
    QImage arrow(32, 32, QImage::Format_ARGB32);
    arrow.fill(Qt::transparent);
    arrow.setPixelColor(3, 4, Qt::black);
    std::string bytes = encoded(arrow, "ICO");
    ASSERT_GT(bytes.size(), 22u);
    // An icon becomes a cursor by its type word; the entry's planes and bit count hold the hot spot.
    bytes[2] = 2;
    bytes[10] = 3, bytes[11] = 0, bytes[12] = 4, bytes[13] = 0;
    testsupport::writeFileBytes(dir.file("hand.cur"), bytes);

    forms::PicturePtr p = host.loadPicture(dir.file("hand.cur"));
    EXPECT_EQ(p->widthTwips, 32 * kTpp);
    EXPECT_EQ(p->hotX, 3);
    EXPECT_EQ(p->hotY, 4);
    QCursor c = qthost::cursorFor(forms::pointer::Custom, p);
    EXPECT_EQ(c.shape(), Qt::BitmapCursor);
    EXPECT_EQ(c.hotSpot(), QPoint(3, 4));
    EXPECT_EQ(qthost::cursorFor(forms::pointer::Hourglass, nullptr).shape(), Qt::WaitCursor);
    EXPECT_EQ(qthost::cursorFor(forms::pointer::Custom, nullptr).shape(), Qt::ArrowCursor);

    // The pointer follows the control under the mouse.
    forms::Label hand(&form, "Label1");
    place(hand, px(10, 10, 50, 20));
    hand.setMousePointer(forms::pointer::Custom);
    hand.setMouseIcon(p);
    forms::TextBox text(&form, "Text1");
    place(text, px(10, 50, 50, 20));
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    auto moveTo = [&](QPoint local) { send(w, QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton); };
    moveTo({20, 20});
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(3, 4));
    moveTo({20, 60});
    EXPECT_EQ(w->cursor().shape(), Qt::IBeamCursor);
    moveTo({150, 100});
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(QtHostTest, WindowsMirrorTheModel) {
    form.setFormBorderStyle(1);
    form.setShowInTaskbar(false);
    form.setTopmost(true);
    form.setCaption("练习");
    form.show();
    host.sync();
    QWidget* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("练习"));
    // A decorated window's client area: inside a 3-pixel border and under a 22-pixel caption.
    EXPECT_EQ(w->geometry(), QRect(103, 105, 194, 122));
    EXPECT_TRUE(w->isVisible());

    form.setTopmost(false);
    form.moveTo(10 * kTpp, 20 * kTpp);
    host.sync();
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->isVisible()) << "changing flags shows the window again";
    EXPECT_EQ(w->geometry().topLeft(), QPoint(13, 45));

    form.setWindowState(1);
    host.sync();
    EXPECT_TRUE(w->isMinimized());
    form.hide();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(QtHostTest, WebBrowserShowsALocalGbkPage) {
    testsupport::TempDir dir;
    qttest::ScopedProgramFolder folder(dir.path());
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        "</head><body><p>" +
        testsupport::gbkBytes("操作说明：绘图") + "</p></body></html>";
    testsupport::writeFileBytes(dir.file("Help.HTM"), page);

    forms::WebBrowser web(&form, "WebBrowser1");
    place(web, px(10, 10, 150, 100));
    form.show();
    web.navigate(dir.file("help.htm"));
    host.sync();
    qthost::FormWindow* w = host.windowOf(form);
    ASSERT_NE(w, nullptr);
    qthost::HtmlView* view = w->browserFor(web);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("操作说明：绘图"))) << view->toPlainText().toStdString();
    EXPECT_EQ(view->geometry(), QRect(10, 10, 150, 100));

    EXPECT_EQ(qthost::decodeHtml(QByteArray("<p>\xe4\xb8\xad</p>")), QStringLiteral("<p>中</p>"));
    EXPECT_EQ(qthost::decodeHtml(QByteArray("<p>\xd6\xd0</p>")), QStringLiteral("<p>中</p>"));
}

TEST_F(QtHostTest, AClickFindsTheBoundaryWhereTheCaretIsDrawn) {
    forms::TextBox text(&form, "Text1");
    place(text, px(10, 10, 180, 24));
    text.setText("ab 中文 MW il.");
    form.show();
    host.sync();
    text.setFocus();
    const int n = 12;
    // The column where the caret at k is drawn: the outermost column that changes against
    // the caret drawn at the other end of the text.
    auto caretColumn = [&](int k) {
        text.setSelStart(k == n ? 0 : n);
        QImage other = qthost::renderForm(form);
        text.setSelStart(k);
        QImage img = qthost::renderForm(form);
        int column = -1;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (img.pixel(x, y) != other.pixel(x, y)) {
                    if (k == n || column < 0) column = x;
                    break;
                }
        return column;
    };
    std::vector<int> columns;
    for (int k = 1; k <= n; ++k) columns.push_back(caretColumn(k));
    // A pixel either side of the middle between two drawn boundaries picks the nearer one.
    for (int k = 1; k < n; ++k) {
        int a = columns[static_cast<std::size_t>(k - 1)], b = columns[static_cast<std::size_t>(k)];
        ASSERT_GE(b - a, 3) << k;
        int middle = (a + b) * kTpp / 2 - 10 * kTpp;
        text.placeCaret({middle - kTpp, 12 * kTpp}, false);
        EXPECT_EQ(text.caret(), k) << "boundaries drawn at columns " << a << " and " << b;
        text.placeCaret({middle + kTpp, 12 * kTpp}, false);
        EXPECT_EQ(text.caret(), k + 1) << "boundaries drawn at columns " << a << " and " << b;
    }
}
