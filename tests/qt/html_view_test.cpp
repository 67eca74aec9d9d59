// The help view: local links open in it as HTML, other links go to the desktop, every
// navigation reloads, a missing page shows nothing, and windowed controls above it stay seen.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QImage>
#include <QTextBlock>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <string>

#include "host/qt/form_window.h"
#include "host/qt/html_view.h"
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
    LinkCatcher catcher;
};

TEST_F(HelpView, LinksOpenLocalPagesInTheViewAndOthersOnTheDesktop) {
    testsupport::TempDir dir;
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
        for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!f.isImageFormat()) continue;
                const QVariant r = view->document()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
                QImage img;
                if (r.userType() == QMetaType::QByteArray) img = QImage::fromData(r.toByteArray());
                else img = r.value<QImage>();
                EXPECT_FALSE(img.isNull()) << f.toImageFormat().name().toStdString();
                ++pictures;
            }
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

}  // namespace

#include "html_view_test.moc"
