// Size (and a cursor's hot spot) of a picture file, judged by its content whatever its
// extension.
#pragma once

#include <string>

namespace platform {

struct PictureInfo {
    int width = 0;
    int height = 0;
    int hotX = 0;  // cursor files only
    int hotY = 0;
    bool isCursorOrIcon = false;
};

// Throws VbError 53 for a missing file, 481 for one that is no picture.
PictureInfo readPictureInfo(const std::string& path);
PictureInfo pictureInfoFromBytes(const std::string& bytes);

}  // namespace platform
