// The web-browser control: a text browser over the control's rect showing a local page.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextBrowser>
#include <cstddef>
#include <string>

namespace qthost {

// The page's text in the charset its meta tag names; without one, UTF-8 when the bytes are
// valid UTF-8 and the Chinese ANSI code page otherwise.
QString decodeHtml(const QByteArray& bytes);

class HtmlView : public QTextBrowser {
public:
    // A page, picture or style sheet is read only when it is a regular file inside the program
    // folder and no larger than this; anything else shows as missing.
    static constexpr std::size_t kMaxResourceBytes = std::size_t{16} << 20;

    explicit HtmlView(QWidget* parent);
    // A local path (any letter case, "\" separators) or a file: URL; anything else, and a
    // missing page, shows blank. A new navigation number reloads even the page shown.
    void showLocation(const std::string& location, int navigation);
    const std::string& location() const { return location_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    // Local pages open here as HTML whatever their extension; other schemes go to the desktop.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    // A scroll moves pixels on screen, also those of the controls the mask leaves in sight:
    // a masked view is painted anew instead.
    void scrollContentsBy(int dx, int dy) override;

private:
    std::string location_;
    int navigation_ = -1;
};

}  // namespace qthost
