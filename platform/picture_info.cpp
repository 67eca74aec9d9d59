#include "platform/picture_info.h"

#include <stb_image.h>

#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace platform {

namespace {

int le16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

}  // namespace

PictureInfo pictureInfoFromBytes(const std::string& bytes) {
    PictureInfo info;
    // Icon and cursor files: a six-byte header, then one 16-byte entry per image.
    if (bytes.size() >= 22 && le16(bytes, 0) == 0 && (le16(bytes, 2) == 1 || le16(bytes, 2) == 2) &&
        le16(bytes, 4) >= 1) {
        auto w = static_cast<unsigned char>(bytes[6]);
        auto h = static_cast<unsigned char>(bytes[7]);
        info.width = w == 0 ? 256 : w;
        info.height = h == 0 ? 256 : h;
        if (le16(bytes, 2) == 2) {
            info.hotX = le16(bytes, 10);
            info.hotY = le16(bytes, 12);
        }
        info.isCursorOrIcon = true;
        return info;
    }
    int w = 0, h = 0, comp = 0;
    if (bytes.empty() || bytes.size() > 0x7fffffff ||
        !stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &w, &h,
                               &comp))
        throw VbError(481, vbErrorDescription(481));
    info.width = w;
    info.height = h;
    return info;
}

PictureInfo readPictureInfo(const std::string& path) {
    auto bytes = readBytes(path);
    if (!bytes) throw VbError(53, vbErrorDescription(53));
    return pictureInfoFromBytes(*bytes);
}

}  // namespace platform
