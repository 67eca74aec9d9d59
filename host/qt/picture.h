// Pictures decoded by Qt, and the pointer shapes built from them.
#pragma once

#include <QCursor>
#include <QImage>
#include <memory>
#include <optional>
#include <string>

#include "forms/types.h"

namespace qthost {

class QtPicture : public forms::Picture {
public:
    QImage image;  // premultiplied ARGB, at its natural size in pixels
    QCursor cursor() const;

private:
    mutable std::optional<QCursor> cursor_;
};

// Decodes by content, whatever the file's extension. Throws VbError 481 when the bytes are no
// picture Qt reads.
std::shared_ptr<QtPicture> decodePicture(const std::string& bytes, const std::string& path, int twipsPerPixelX,
                                         int twipsPerPixelY);

// The pointer for a MousePointer value; 99 takes the icon (the arrow when there is none).
QCursor cursorFor(int mousePointer, const forms::PicturePtr& icon);

}  // namespace qthost
