#include "tools/cursor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

using namespace qz::tools;

namespace {

unsigned u16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t u32(const std::string& b, std::size_t at) { return u16(b, at) | std::uint32_t{u16(b, at + 2)} << 16; }

constexpr std::size_t kPixels = 22 + 40;  // colour rows start after the directory and the info header

}  // namespace

TEST(CursorFile, HeadersDescribeOneCursorImage) {
    const Canvas image(32, 32);
    const std::string f = cursorFile(image, 9, 1);
    ASSERT_EQ(f.size(), 22u + 40 + 32 * 32 * 4 + 32 * 4);
    EXPECT_EQ(u16(f, 0), 0u);
    EXPECT_EQ(u16(f, 2), 2u);  // cursor, not icon
    EXPECT_EQ(u16(f, 4), 1u);
    EXPECT_EQ(static_cast<unsigned char>(f[6]), 32);
    EXPECT_EQ(static_cast<unsigned char>(f[7]), 32);
    EXPECT_EQ(f[8], 0);
    EXPECT_EQ(u16(f, 10), 9u);  // hotspot
    EXPECT_EQ(u16(f, 12), 1u);
    EXPECT_EQ(u32(f, 14), f.size() - 22);
    EXPECT_EQ(u32(f, 18), 22u);
    EXPECT_EQ(u32(f, 22), 40u);
    EXPECT_EQ(u32(f, 26), 32u);
    EXPECT_EQ(u32(f, 30), 64u);  // colour and mask stacked
    EXPECT_EQ(u16(f, 34), 1u);
    EXPECT_EQ(u16(f, 36), 32u);
    EXPECT_EQ(u32(f, 38), 0u);
}

TEST(CursorFile, RowsRunBottomUpWithTheMaskAfterTheColours) {
    Canvas image(32, 32);
    image.fillRect(0, 0, 1, 1, Rgba::hex(0x112233));        // top left
    image.fillRect(31, 31, 1, 1, Rgba::hex(0x445566));      // bottom right
    image.fillRect(9, 31, 1, 1, Rgba::hex(0xffffff, 100));  // mostly transparent: masked, black
    const std::string f = cursorFile(image, 0, 0);

    auto pixel = [&](int x, int row) { return f.substr(kPixels + static_cast<std::size_t>(row * 32 + x) * 4, 4); };
    EXPECT_EQ(pixel(0, 31), std::string("\x33\x22\x11\xff", 4));  // BGRA, top row stored last
    EXPECT_EQ(pixel(31, 0), std::string("\x66\x55\x44\xff", 4));
    EXPECT_EQ(pixel(9, 0), std::string("\0\0\0\x64", 4));
    EXPECT_EQ(pixel(5, 5), std::string("\0\0\0\0", 4));

    const std::size_t mask = kPixels + 32 * 32 * 4;
    auto maskByte = [&](int row, int b) {
        return static_cast<unsigned char>(f[mask + static_cast<std::size_t>(row * 4 + b)]);
    };
    EXPECT_EQ(maskByte(31, 0), 0x7f);  // the opaque top-left pixel is the leftmost bit
    EXPECT_EQ(maskByte(0, 3), 0xfe);
    EXPECT_EQ(maskByte(0, 1), 0xff);  // the faint pixel counts as transparent
    EXPECT_EQ(maskByte(10, 2), 0xff);
}

TEST(CursorFile, MaskRowsArePaddedToFourBytes) {
    Canvas image(40, 20);
    image.fillRect(0, 0, 40, 20, Rgba::hex(0x000000));
    const std::string f = cursorFile(image, 39, 19);
    const std::size_t stride = 8;  // 40 bits rounded up to 64
    ASSERT_EQ(f.size(), 22u + 40 + 40 * 20 * 4 + stride * 20);
    EXPECT_EQ(u32(f, 30), 40u);
    const std::size_t mask = kPixels + 40 * 20 * 4;
    for (std::size_t i = 0; i < stride * 20; ++i) EXPECT_EQ(f[mask + i], 0) << i;
}

TEST(CursorFile, RejectsWhatTheFormatCannotHold) {
    EXPECT_THROW(cursorFile(Canvas(32, 32), 32, 0), std::invalid_argument);
    EXPECT_THROW(cursorFile(Canvas(32, 32), 0, -1), std::invalid_argument);
    EXPECT_THROW(cursorFile(Canvas(257, 16), 0, 0), std::invalid_argument);
    const std::string big = cursorFile(Canvas(256, 256), 0, 0);
    EXPECT_EQ(big[6], 0);  // 256 is written as 0
    EXPECT_EQ(big[7], 0);
}
