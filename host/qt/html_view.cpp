#include "host/qt/html_view.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>
#include <QUrl>
#include <optional>

#include "platform/files.h"
#include "platform/html_text.h"

namespace qthost {

QString decodeHtml(const QByteArray& bytes) {
    const std::string_view raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const platform::HtmlText text = platform::decodeHtmlText(raw);
    if (!text.otherCharset.empty()) {
        QStringDecoder d(text.otherCharset.c_str());
        if (d.isValid()) return d.decode(bytes);
    }
    return QString::fromStdString(text.utf8);
}

HtmlView::HtmlView(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(true);
    setFrameShape(QFrame::StyledPanel);
}

void HtmlView::showLocation(const std::string& location, int navigation) {
    if (location == location_ && navigation == navigation_) return;
    location_ = location;
    navigation_ = navigation;
    QString loc = QString::fromStdString(location);
    QString path;
    if (loc.startsWith(u"file:", Qt::CaseInsensitive))
        path = QUrl(loc).toLocalFile();
    else if (!loc.contains(u"://") && !loc.startsWith(u"about:", Qt::CaseInsensitive))
        path = loc;
    if (path.isEmpty()) {
        clear();
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(platform::resolvePath(path.toStdString())));
    // The view keeps a page it shows; a navigation to it must read the file again.
    if (url.adjusted(QUrl::RemoveFragment) == source().adjusted(QUrl::RemoveFragment))
        reload();
    else
        setSource(url, QTextDocument::HtmlResource);
}

void HtmlView::doSetSource(const QUrl& name, QTextDocument::ResourceType) {
    const QUrl url = source().isValid() ? source().resolved(name) : name;
    if (!url.isLocalFile()) {
        if (!url.scheme().isEmpty()) QDesktopServices::openUrl(url);
        return;
    }
    const QString local = QString::fromStdString(platform::resolvePath(url.toLocalFile().toStdString()));
    if (!QFileInfo(local).isFile()) {
        // A page that is not there leaves the view empty, not on the page before.
        clear();
        return;
    }
    QTextBrowser::doSetSource(url, QTextDocument::HtmlResource);
}

void HtmlView::scrollContentsBy(int dx, int dy) {
    QTextBrowser::scrollContentsBy(dx, dy);
    if (!mask().isEmpty()) viewport()->update();
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
    // Pages refer to their pictures by relative paths, in any letter case.
    const QUrl url = name.isRelative() && source().isValid() ? source().resolved(name) : name;
    // Other schemes stay unread (data: URLs are the document's own). A refusal is an empty
    // answer, not none: given none, the document opens the file itself, without any check.
    if (!url.isLocalFile() && !url.scheme().isEmpty()) return {};
    const QString local = url.isLocalFile() ? url.toLocalFile() : url.path();
    if (!QDir::isAbsolutePath(local)) return QByteArray();
    // A page is data an update may replace: it may name a device, a FIFO or a huge file, and
    // none of them may hold the view.
    const std::optional<std::string> bytes = platform::readFileInside(
        platform::programFolder(), platform::resolvePath(local.toStdString()), kMaxResourceBytes);
    const QByteArray read = bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())) : QByteArray();
    if (type == QTextDocument::HtmlResource) return decodeHtml(read);
    return read;
}

}  // namespace qthost
