// Pictures decoded by Qt, and the pointer shapes built from them.
#pragma once

#include <QCursor>
#include <QImage>
#include <memory>
#include <optional>
#include <string>

#include "forms/types.h"

class QThreadPool;

namespace qthost {

class Decoding;

// The size comes from the file's header at load; the pixels are decoded when first drawn, so
// the pictures of hidden panels cost nothing until they are shown, unless handed to the
// decoding threads ahead of that.
class QtPicture : public forms::Picture {
public:
    explicit QtPicture(std::shared_ptr<Decoding> decoding);
    ~QtPicture() override;
    // Premultiplied ARGB (RGB32 when opaque) at its natural size in pixels; null when the
    // bytes do not decode. Waits for a decoding already under way.
    const QImage& image() const;
    QCursor cursor() const;
    // Starts the decoding on one of decoders' threads, once.
    void decodeAhead(QThreadPool& decoders) const;

private:
    std::shared_ptr<Decoding> decoding_;
    mutable std::optional<QCursor> cursor_;
};

// Judges the picture by content, whatever the file's extension. Throws VbError 481 when the
// bytes are no picture.
std::shared_ptr<QtPicture> decodePicture(std::string bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY);

// The pointer for a MousePointer value; 99 takes the icon (the arrow when there is none).
QCursor cursorFor(int mousePointer, const forms::PicturePtr& icon);

}  // namespace qthost
