#include "tools/cursor.h"

#include <cstdint>
#include <stdexcept>

#include "platform/textfile.h"
#include "platform/vb_error.h"

namespace qz::tools {

namespace {

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::string cursorFile(const Canvas& image, int hotX, int hotY) {
    const int w = image.width(), h = image.height();
    if (w > 256 || h > 256) throw std::invalid_argument("a cursor is at most 256 x 256 pixels");
    if (hotX < 0 || hotY < 0 || hotX >= w || hotY >= h) throw std::invalid_argument("the hotspot is off the cursor");

    const auto maskStride = static_cast<std::uint32_t>((w + 31) / 32 * 4);  // rows padded to 32 bits
    const auto colourBytes = static_cast<std::uint32_t>(w * h * 4);
    const std::uint32_t maskBytes = maskStride * static_cast<std::uint32_t>(h);
    constexpr std::uint32_t kHeaderBytes = 6 + 16, kInfoBytes = 40;

    std::string out;
    put16(out, 0);  // reserved
    put16(out, 2);  // cursor
    put16(out, 1);  // one image
    out += static_cast<char>(w == 256 ? 0 : w);
    out += static_cast<char>(h == 256 ? 0 : h);
    out += '\0';  // no palette
    out += '\0';
    put16(out, static_cast<unsigned>(hotX));
    put16(out, static_cast<unsigned>(hotY));
    put32(out, kInfoBytes + colourBytes + maskBytes);
    put32(out, kHeaderBytes);

    put32(out, kInfoBytes);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(2 * h));  // colour image and mask stacked
    put16(out, 1);                                  // planes
    put16(out, 32);                                 // bits per pixel
    put32(out, 0);                                  // uncompressed
    put32(out, colourBytes + maskBytes);
    for (int i = 0; i < 4; ++i) put32(out, 0);  // resolution and palette counts

    std::string mask(maskBytes, '\0');
    for (int row = 0; row < h; ++row) {  // bottom-up
        const int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            Rgba p = image.pixel(x, y);
            if (p.a < 128) {
                mask[row * maskStride + static_cast<std::uint32_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
                p = {0, 0, 0, p.a};
            }
            out += static_cast<char>(p.b);
            out += static_cast<char>(p.g);
            out += static_cast<char>(p.r);
            out += static_cast<char>(p.a);
        }
    }
    return out + mask;
}

void saveCursor(const std::filesystem::path& file, const Canvas& image, int hotX, int hotY) {
    try {
        platform::writeBytesReplace(file.string(), cursorFile(image, hotX, hotY));
    } catch (const platform::VbError& e) {
        throw std::runtime_error("cannot write " + file.string() + ": " + e.what());
    }
}

}  // namespace qz::tools
