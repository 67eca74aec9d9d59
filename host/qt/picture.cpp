#include "host/qt/picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/picture_info.h"
#include "platform/vb_error.h"

namespace qthost {

namespace {

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
    QImage image = reader.read();
    // Opaque pictures come as RGB32, which is drawn as fast and looks the same; converting
    // them would only copy the pixels.
    if (!image.isNull() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

}  // namespace

// Shared by the pictures of the same bytes. The decoding runs once, on whichever thread asks
// first; a thread that asks meanwhile waits for it.
class Decoding {
public:
    explicit Decoding(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& bytes() const { return bytes_; }
    const QImage& image() {
        std::call_once(once_, [this] { image_ = decode(bytes_); });
        return image_;
    }
    // True the first time only, so that a picture is handed to the decoding threads once.
    bool claimAhead() { return !ahead_.exchange(true); }

private:
    const std::string bytes_;  // the file as read, which later reads are matched against
    std::once_flag once_;
    std::atomic<bool> ahead_{false};
    QImage image_;
};

namespace {

// The size and a few bytes spread over the file: hashing every byte of every read costs more
// than the rest of a load, and equal keys are confirmed byte by byte anyway.
std::uint64_t sampledKey(const std::string& bytes) {
    std::uint64_t key = bytes.size();
    if (bytes.empty()) return key;
    for (std::size_t i = 0; i < 32; ++i)
        key = (key ^ static_cast<unsigned char>(bytes[(bytes.size() - 1) * i / 31])) * 1099511628211u;
    return key;
}

// Windows read their pictures from the files at every assignment, and a screen assigns the
// same strip to many buttons. The file is still read each time; only the decoding of bytes
// already seen is shared, so a changed file is a new picture.
std::shared_ptr<Decoding> decodingOf(std::string bytes) {
    static std::unordered_multimap<std::uint64_t, std::shared_ptr<Decoding>> cache;
    const std::uint64_t key = sampledKey(bytes);
    auto [from, to] = cache.equal_range(key);
    for (auto it = from; it != to; ++it)
        if (it->second->bytes() == bytes) return it->second;
    if (cache.size() >= 256) cache.clear();
    auto d = std::make_shared<Decoding>(std::move(bytes));
    cache.emplace(key, d);
    return d;
}

}  // namespace

QtPicture::QtPicture(std::shared_ptr<Decoding> decoding) : decoding_(std::move(decoding)) {}

QtPicture::~QtPicture() = default;

const QImage& QtPicture::image() const { return decoding_->image(); }

void QtPicture::decodeAhead(QThreadPool& decoders) const {
    if (!decoding_->claimAhead()) return;
    decoders.start([d = decoding_] {
        // A failure here leaves the decoding to the first draw, which meets it again.
        try {
            d->image();
        } catch (...) {
        }
    });
}

QCursor QtPicture::cursor() const {
    if (!cursor_) cursor_ = QCursor(QPixmap::fromImage(image()), hotX, hotY);
    return *cursor_;
}

std::shared_ptr<QtPicture> decodePicture(std::string bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY) {
    platform::PictureInfo info = platform::pictureInfoFromBytes(bytes);
    auto p = std::make_shared<QtPicture>(decodingOf(std::move(bytes)));
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
