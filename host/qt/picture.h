// Pictures decoded by Qt, and the pointer shapes built from them.
#pragma once

#include <QCursor>
#include <QImage>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "forms/types.h"

namespace qthost {

// The size comes from the file's header at load; the pixels are decoded when first drawn, so
// the pictures of hidden panels cost nothing until they are shown.
class QtPicture : public forms::Picture {
public:
    explicit QtPicture(std::string bytes) : bytes_(std::move(bytes)) {}
    // Premultiplied ARGB (RGB32 when opaque) at its natural size in pixels; null when the
    // bytes do not decode.
    const QImage& image() const;
    QCursor cursor() const;

private:
    mutable std::string bytes_;  // the file, kept only until it is decoded
    mutable std::optional<QImage> image_;
    mutable std::optional<QCursor> cursor_;
};

// Judges the picture by content, whatever the file's extension. Throws VbError 481 when the
// bytes are no picture.
std::shared_ptr<QtPicture> decodePicture(std::string bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY);

// The pointer for a MousePointer value; 99 takes the icon (the arrow when there is none).
QCursor cursorFor(int mousePointer, const forms::PicturePtr& icon);

}  // namespace qthost
