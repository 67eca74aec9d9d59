#include "host/qt/fonts.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace qthost {

namespace {

struct FaceMap {
    std::string_view windowsName;
    const char* family;
};

// The windows ask for these faces; one CJK font covers them all so that Chinese captions never
// fall back glyph by glyph.
constexpr FaceMap kFaces[] = {
    {"", kCjkFamily},
    // SimSun's Latin letters are half an em wide, fixed; the padded captions rely on it.
    {"宋体", "WenQuanYi Micro Hei Mono"},
    {"新宋体", "WenQuanYi Micro Hei Mono"},
    {"黑体", kCjkFamily},
    {"微软雅黑", kCjkFamily},
    {"楷体_GB2312", kCjkFamily},
    {"楷体", kCjkFamily},
    {"仿宋_GB2312", kCjkFamily},
    {"Arial", kCjkFamily},
    {"Tahoma", kCjkFamily},
    {"MS Sans Serif", kCjkFamily},
    {"Microsoft Sans Serif", kCjkFamily},
    {"Times New Roman", kCjkFamily},
    {"System", kCjkFamily},
    {"Courier New", "WenQuanYi Micro Hei Mono"},
    {"Fixedsys", "WenQuanYi Micro Hei Mono"},
};

bool sameAsciiCaseless(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

int pixelSizeFor(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

QFont qtFont(const forms::Font& font) {
    QFont q;
    const char* family = nullptr;
    for (const auto& f : kFaces)
        if (sameAsciiCaseless(f.windowsName, font.name)) family = f.family;
    if (family)
        q.setFamilies(QStringList{QString::fromUtf8(family)});
    else
        q.setFamilies(QStringList{QString::fromStdString(font.name), QString::fromUtf8(kCjkFamily)});
    q.setPixelSize(pixelSizeFor(font.size));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    return q;
}

}  // namespace qthost
