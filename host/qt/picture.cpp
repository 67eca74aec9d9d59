#include "host/qt/picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>
#include <unordered_map>

#include "platform/picture_info.h"
#include "platform/vb_error.h"

namespace qthost {

namespace {

// Windows read their pictures from the files at every assignment, and a screen assigns the
// same strip to many buttons. The file is still read each time; only the decoding of bytes
// already seen is shared, so a changed file is a new picture.
// The formats Qt decodes itself. Named, with detection off, they skip the probe that loads
// every image plugin to ask it about the bytes; no plugin claims these signatures, so the
// decoder is the one the probe would have found.
QByteArray builtInFormat(const std::string& bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1a\n")) return "png";
    if (bytes.starts_with("BM")) return "bmp";
    return {};
}

QImage decode(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QByteArray format = builtInFormat(bytes);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    return reader.read();
}

const QImage& decodedImage(const std::string& bytes) {
    static std::unordered_map<std::string, QImage> cache;
    auto it = cache.find(bytes);
    if (it != cache.end()) return it->second;
    QImage image = decode(bytes);
    // Opaque pictures come as RGB32, which is drawn as fast and looks the same; converting
    // them would only copy the pixels.
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (cache.size() >= 256) cache.clear();
    return cache.emplace(bytes, std::move(image)).first->second;
}

}  // namespace

const QImage& QtPicture::image() const {
    if (!image_) {
        image_ = decodedImage(bytes_);
        std::string().swap(bytes_);
    }
    return *image_;
}

QCursor QtPicture::cursor() const {
    if (!cursor_) cursor_ = QCursor(QPixmap::fromImage(image()), hotX, hotY);
    return *cursor_;
}

std::shared_ptr<QtPicture> decodePicture(std::string bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY) {
    platform::PictureInfo info = platform::pictureInfoFromBytes(bytes);
    auto p = std::make_shared<QtPicture>(std::move(bytes));
    p->describe(path, info, twipsPerPixelX, twipsPerPixelY);
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
