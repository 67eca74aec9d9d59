// The help view: local links open in it as HTML, other links go to the desktop, every
// navigation reloads, a missing page shows nothing, and windowed controls above it stay seen.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QImage>
#include <QTextBlock>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "host/qt/form_window.h"
#include "host/qt/html_view.h"
#include "platform/files.h"
#include "tests/qt/qt_fixture.h"
#include "tests/support/program_folder.h"
#include "tests/support/temp_dir.h"

namespace {

using qttest::place;
using qttest::px;

// Receives the links the view hands to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

std::string gbkPage(const std::string& body) {
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head><body>" +
           testsupport::gbkBytes(body) + "</body></html>";
}

// A press and release on the middle of a text of the page, as a learner clicks a link.
void clickText(QTextBrowser* view, const QString& text) {
    QTextCursor found = view->document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor mid(view->document());
    mid.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    const QPoint at = view->cursorRect(mid).center();
    qttest::send(view->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    qttest::send(view->viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
}

// The pictures of the page shown, in their order; a null image for one that is missing.
std::vector<QImage> picturesOf(QTextBrowser* view) {
    std::vector<QImage> out;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat()) continue;
            const QVariant r = view->document()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
            out.push_back(r.userType() == QMetaType::QByteArray ? QImage::fromData(r.toByteArray()) : r.value<QImage>());
        }
    }
    return out;
}

class HelpView : public qttest::QtHostTest {
protected:
    void SetUp() override {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("tencent"), &catcher, "open");
    }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("tencent"));
    }
    qthost::HtmlView* viewOf(const forms::WebBrowser& web) {
        host.sync();
        qthost::FormWindow* w = host.windowOf(form);
        return w ? w->browserFor(web) : nullptr;
    }
    // The program folder, where the pages are.
    testsupport::TempDir dir;
    qttest::ScopedProgramFolder folder{dir.path()};
    LinkCatcher catcher;
};

TEST_F(HelpView, LinksOpenLocalPagesInTheViewAndOthersOnTheDesktop) {
    std::string filler;
    for (int i = 0; i < 60; ++i) filler += "<p>填充段落" + std::to_string(i) + "</p>";
    testsupport::writeFileBytes(dir.file("l38180.mxy"),
                                gbkPage("<p>第一页的正文</p><p><a href=\"L38183.MXY\">答题技巧的链接</a></p>"
                                        "<p><a href=\"https://site.example/page\">外部网站的链接</a></p>"
                                        "<p><a href=\"#tail\">到页尾去的链接</a></p>" +
                                        filler + "<p><a name=\"tail\"></a>页尾的文字</p>"));
    testsupport::writeFileBytes(dir.file("l38183.mxy"), gbkPage("<p>第四页的正文</p>"));

    forms::WebBrowser web(&form, "WebHelpCON");
    place(web, px(0, 0, 200, 120));
    form.show();
    web.navigate(dir.file("l38180.mxy"));
    qthost::HtmlView* view = viewOf(web);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第一页的正文")));
    EXPECT_FALSE(view->toPlainText().contains(QChar(0xFFFD)));

    // An anchor scrolls within the page.
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    clickText(view, QStringLiteral("到页尾去的链接"));
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第一页的正文")));
    view->verticalScrollBar()->setValue(0);

    // Another scheme goes to the desktop and the page stays.
    clickText(view, QStringLiteral("外部网站的链接"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("https://site.example/page")));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第一页的正文")));

    // A local page opens as HTML whatever its extension and letter case.
    clickText(view, QStringLiteral("答题技巧的链接"));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第四页的正文"))) << view->toPlainText().toStdString();
    EXPECT_FALSE(view->toPlainText().contains(QStringLiteral("<p>")));

    // The control still names the first page; navigating to it again shows it again.
    web.navigate(dir.file("l38180.mxy"));
    viewOf(web);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第一页的正文")));

    // A page that is not there shows nothing, not the page before.
    web.navigate(dir.file("l38184.mxy"));
    viewOf(web);
    EXPECT_TRUE(view->toPlainText().trimmed().isEmpty()) << view->toPlainText().toStdString();
    web.navigate(dir.file("l38183.mxy"));
    viewOf(web);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第四页的正文")));
    EXPECT_EQ(catcher.urls.size(), 1);
}

TEST_F(HelpView, WindowedControlsAboveTheViewAreCutOutOfIt) {
    forms::PictureBox panel(&form, "PicHelp");
    place(panel, px(0, 0, 200, 150));
    forms::WebBrowser web(&panel, "WebHelpCON");
    place(web, px(20, 20, 160, 100));
    forms::PictureBox ad(&form, "PicAd");  // created later: above the panel
    place(ad, px(40, 110, 100, 30));
    forms::PictureBox under(&form, "Under");
    place(under, px(0, 0, 30, 30));
    under.zOrder(1);  // below the panel
    form.show();
    web.navigate("about:blank");
    qthost::HtmlView* view = viewOf(web);
    ASSERT_NE(view, nullptr);
    const QRegion mask = view->mask();
    EXPECT_FALSE(mask.isEmpty());
    // View coordinates: the ad covers x 20-120, y 90-100 of the view.
    EXPECT_FALSE(mask.contains(QPoint(50, 95)));
    EXPECT_TRUE(mask.contains(QPoint(50, 50)));
    EXPECT_TRUE(mask.contains(QPoint(150, 95)));
    EXPECT_TRUE(mask.contains(QPoint(5, 5))) << "a control below the panel is covered by the view";

    ad.setVisible(false);
    viewOf(web);
    EXPECT_TRUE(view->mask().isEmpty()) << "nothing above: no mask";
}

TEST_F(HelpView, TheSamplePagesShowWithTheirPictureAndTheLongOneScrolls) {
    qttest::ScopedProgramFolder installed(platform::folderOf(testsupport::sampleDataDir()));
    forms::WebBrowser web(&form, "WebHelpCON");
    place(web, px(0, 0, 606, 392));  // the help section's browser at 15 twips per pixel
    form.show();
    int pictures = 0, scrolling = 0;
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(n);
        web.navigate(testsupport::sampleDataDir() + "/l3818" + std::to_string(n) + ".mxy");
        qthost::HtmlView* view = viewOf(web);
        ASSERT_NE(view, nullptr);
        const QString text = view->toPlainText();
        EXPECT_GT(text.size(), 20);
        EXPECT_FALSE(text.contains(QChar(0xFFFD)));
        EXPECT_FALSE(text.contains(QStringLiteral("<p>"))) << "shown as HTML";
        for (const QImage& img : picturesOf(view)) {
            EXPECT_FALSE(img.isNull());
            ++pictures;
        }
        if (view->verticalScrollBar()->maximum() > 0) ++scrolling;
        if (n == 4) {
            const QString html = view->toHtml();
            EXPECT_TRUE(html.contains(QStringLiteral("href=\"l38183.mxy\""))) << "the common questions lead to the tips";
            EXPECT_TRUE(html.contains(QStringLiteral("href=\"https://"))) << "and out to the desktop";
        }
    }
    EXPECT_EQ(pictures, 1);
    EXPECT_GE(scrolling, 1);
}

// A page is data an update may replace. What it names is read only from a regular file inside
// the program folder of at most 16 MiB; anything else is a missing picture, and the page shows
// at once all the same.
TEST_F(HelpView, APictureIsReadOnlyFromAFileOfTheProgramFolderOfBoundedSize) {
    testsupport::TempDir outside;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const std::string png = qttest::encoded(picture, "PNG");
    testsupport::writeFileBytes(outside.file("good.png"), png);
    ASSERT_TRUE(platform::makeDir(dir.file("cadbank")));
    testsupport::writeFileBytes(dir.file("cadbank/good.png"), png);
    ASSERT_EQ(::symlink(outside.file("good.png").c_str(), dir.file("cadbank/out.png").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("cadbank/pipe.png").c_str(), 0600), 0);
    // Read whole it would decode: only its size keeps it out.
    std::string big = png;
    big.resize(std::size_t{17} << 20, '\0');
    ASSERT_FALSE(QImage::fromData(QByteArray::fromStdString(big)).isNull());
    testsupport::writeFileBytes(dir.file("cadbank/big.png"), big);

    forms::WebBrowser web(&form, "WebHelpCON");
    place(web, px(0, 0, 300, 200));
    form.show();
    const struct {
        const char* src;
        bool shown;
    } cases[] = {
        {"../../../../../../../../../../../../dev/zero", false},
        {"pipe.png", false},
        {"out.png", false},
        {"big.png", false},
        {"good.png", true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.src);
        const std::string page = dir.file("cadbank/page" + std::to_string(++n) + ".htm");
        testsupport::writeFileBytes(page, gbkPage("<p>第" + std::to_string(n) + "页的正文</p><p><img src=\"" +
                                                  c.src + "\"></p>"));
        QElapsedTimer t;
        t.start();
        web.navigate(page);
        qthost::HtmlView* view = viewOf(web);
        ASSERT_NE(view, nullptr);
        view->grab();  // lays the page out with its picture and paints it
        const std::vector<QImage> pictures = picturesOf(view);
        EXPECT_LT(t.elapsed(), 3000);
        EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("第%1页的正文").arg(n)));
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(!pictures[0].isNull(), c.shown);
        if (c.shown) {
            EXPECT_EQ(pictures[0].size(), QSize(40, 30));
        }
    }
}

TEST_F(HelpView, AStyleSheetOrALinkedPageOutsideTheRulesIsNotRead) {
    testsupport::TempDir outside;
    testsupport::writeFileBytes(outside.file("away.htm"), gbkPage("<p>外面的正文</p>"));
    ASSERT_EQ(::symlink(outside.file("away.htm").c_str(), dir.file("away.htm").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.css").c_str(), 0600), 0);
    testsupport::writeFileBytes(
        dir.file("first.htm"),
        "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"pipe.css\">"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"../../../../../../../../../../dev/zero\"></head>"
        "<body><p>first page</p><p><a href=\"away.htm\">the way out</a></p></body></html>");

    forms::WebBrowser web(&form, "WebHelpCON");
    place(web, px(0, 0, 300, 200));
    form.show();
    QElapsedTimer t;
    t.start();
    web.navigate(dir.file("first.htm"));
    qthost::HtmlView* view = viewOf(web);
    ASSERT_NE(view, nullptr);
    view->grab();
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("first page")));

    clickText(view, QStringLiteral("the way out"));
    EXPECT_FALSE(view->toPlainText().contains(QStringLiteral("外面的正文"))) << view->toPlainText().toStdString();
    EXPECT_TRUE(catcher.urls.empty());
}

}  // namespace

#include "html_view_test.moc"
