#include "host/qt/picture.h"

#include <QPixmap>
#include <unordered_map>

#include "platform/picture_info.h"
#include "platform/vb_error.h"

namespace qthost {

QCursor QtPicture::cursor() const {
    if (!cursor_) cursor_ = QCursor(QPixmap::fromImage(image), hotX, hotY);
    return *cursor_;
}

namespace {

// Windows read their pictures from the files at every assignment, and a screen assigns the
// same strip to many buttons. The file is still read each time; only the decoding of bytes
// already seen is shared, so a changed file is a new picture.
const QImage& decodedImage(const std::string& bytes) {
    static std::unordered_map<std::string, QImage> cache;
    auto it = cache.find(bytes);
    if (it != cache.end()) return it->second;
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    if (image.isNull()) platform::raise(481);
    if (cache.size() >= 256) cache.clear();
    return cache.emplace(bytes, image.convertToFormat(QImage::Format_ARGB32_Premultiplied)).first->second;
}

}  // namespace

std::shared_ptr<QtPicture> decodePicture(const std::string& bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY) {
    const QImage& image = decodedImage(bytes);
    auto p = std::make_shared<QtPicture>();
    p->image = image;
    p->path = path;
    p->widthPx = image.width();
    p->heightPx = image.height();
    p->widthTwips = image.width() * twipsPerPixelX;
    p->heightTwips = image.height() * twipsPerPixelY;
    // Qt drops a cursor file's hot spot; the header has it.
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 2 && bytes[3] == 0) {
        platform::PictureInfo info = platform::pictureInfoFromBytes(bytes);
        p->hotX = info.hotX;
        p->hotY = info.hotY;
    }
    return p;
}

QCursor cursorFor(int mousePointer, const forms::PicturePtr& icon) {
    switch (mousePointer) {
        case forms::pointer::Cross:
            return Qt::CrossCursor;
        case forms::pointer::IBeam:
            return Qt::IBeamCursor;
        case forms::pointer::SizeAll:
        case forms::pointer::SizeAll15:
            return Qt::SizeAllCursor;
        case forms::pointer::SizeNESW:
            return Qt::SizeBDiagCursor;
        case forms::pointer::SizeNS:
            return Qt::SizeVerCursor;
        case forms::pointer::SizeNWSE:
            return Qt::SizeFDiagCursor;
        case forms::pointer::SizeWE:
            return Qt::SizeHorCursor;
        case forms::pointer::UpArrow:
            return Qt::UpArrowCursor;
        case forms::pointer::Hourglass:
            return Qt::WaitCursor;
        case forms::pointer::NoDrop:
            return Qt::ForbiddenCursor;
        case forms::pointer::ArrowHourglass:
            return Qt::BusyCursor;
        case forms::pointer::ArrowQuestion:
            return Qt::WhatsThisCursor;
        case forms::pointer::Custom:
            if (auto* q = dynamic_cast<const QtPicture*>(icon.get())) return q->cursor();
            return Qt::ArrowCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace qthost
