#include "tools/app_screens.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "tools/drafting.h"

namespace qz::tools {

namespace {

constexpr int kW = 800, kH = 600;
constexpr Rgba kChrome = Rgba::hex(0xf0f0f0);
constexpr Rgba kChromeEdge = Rgba::hex(0xc8ccd2);
constexpr Rgba kTitleTop = Rgba::hex(0x3d5370), kTitleBottom = Rgba::hex(0x2a3b52);
constexpr Rgba kIconInk = Rgba::hex(0x2c3e57);
constexpr Rgba kIconBlue = Rgba::hex(0x2f78c4);
constexpr Rgba kIconRed = Rgba::hex(0xc9382e);
constexpr Rgba kPaper = Rgba::hex(0x1f252d);  // the drawing area, dark as drafting programs have it
constexpr Rgba kBlack = Rgba::hex(0x000000);
constexpr Rgba kMenuText = Rgba::hex(0x1a1a1a);
constexpr Rgba kSelect = Rgba::hex(0xcde4f7), kSelectEdge = Rgba::hex(0x7eb4ea);

// Tool bars: the standard one across the top, drawing down the left, editing down the right.
enum Icon {
    New, Open, Save, Print, Undo, Redo, Pan, Zoom, Layers,
    Line, Polyline, Polygon, Rectangle, Arc, Circle, Spline, Ellipse, Hatch, MText,
    Erase, Copy, Mirror, Offset, Array, Move, Rotate, Scale, Trim, Extend,
};
struct Tool {
    Icon icon;
    const char* name;
};
constexpr std::array kStandard{Tool{New, "新建"},   Tool{Open, "打开"},     Tool{Save, "保存"},
                               Tool{Print, "打印"}, Tool{Undo, "放弃"},     Tool{Redo, "重做"},
                               Tool{Pan, "实时平移"}, Tool{Zoom, "实时缩放"}, Tool{Layers, "图层特性管理器"}};
constexpr std::array kDraw{Tool{Line, "直线"},   Tool{Polyline, "多段线"}, Tool{Polygon, "正多边形"},
                           Tool{Rectangle, "矩形"}, Tool{Arc, "圆弧"},       Tool{Circle, "圆"},
                           Tool{Spline, "样条曲线"}, Tool{Ellipse, "椭圆"},   Tool{Hatch, "图案填充"},
                           Tool{MText, "多行文字"}};
constexpr std::array kModify{Tool{Erase, "删除"},  Tool{Copy, "复制"},   Tool{Mirror, "镜像"}, Tool{Offset, "偏移"},
                             Tool{Array, "阵列"},  Tool{Move, "移动"},   Tool{Rotate, "旋转"}, Tool{Scale, "缩放"},
                             Tool{Trim, "修剪"},   Tool{Extend, "延伸"}};

constexpr int kButton = 24;
PixelRect standardButton(int i) {
    // Separators after save, print, redo and zoom.
    const int gaps = (i > 2) + (i > 3) + (i > 5) + (i > 7);
    return {8 + i * (kButton + 2) + gaps * 8, 47, kButton, kButton};
}
PixelRect drawButton(int i) { return {7, 86 + i * (kButton + 2), kButton, kButton}; }
PixelRect modifyButton(int i) { return {769, 86 + i * (kButton + 2), kButton, kButton}; }
constexpr PixelRect kLayerBar{326, 45, 170, 28};  // the layer tool bar: grip, layer list, button
constexpr PixelRect kDrawingArea{36, 78, 728, 438};
constexpr PixelRect kCommandLine{0, 536, 800, 44};
constexpr const char* kMenuTitles[] = {"文件(F)", "编辑(E)", "视图(V)", "插入(I)", "格式(O)", "工具(T)",
                                       "绘图(D)", "标注(N)", "修改(M)", "窗口(W)", "帮助(H)"};
struct StatusButton {
    const char* name;
    int x, w;
};
constexpr std::array kStatus{StatusButton{"捕捉", 168, 36},   StatusButton{"栅格", 206, 36},
                             StatusButton{"正交", 244, 36},   StatusButton{"极轴", 282, 36},
                             StatusButton{"对象捕捉", 320, 60}, StatusButton{"对象追踪", 382, 60}};
constexpr int kStatusTop = 582;

// Drawing entities, shared by the picture and the places a step points at.
constexpr Point kHoleCentre{262, 236};
constexpr double kHoleRadius = 46;
constexpr double kLineY = 420;

void ellipse(Canvas& c, Point o, double rx, double ry, Rgba ink, double w) {
    std::vector<Point> pts;
    for (int i = 0; i < 48; ++i) {
        const double a = i * 2 * std::numbers::pi / 48;
        pts.push_back({o.x + rx * std::cos(a), o.y + ry * std::sin(a)});
    }
    c.polyline(pts, ink, w, true);
}

void arrowHead(Canvas& c, Point tip, double dx, double dy, Rgba ink) {
    const double len = std::hypot(dx, dy), ux = dx / len, uy = dy / len;
    c.fillConvex({tip, {tip.x - ux * 5 - uy * 3, tip.y - uy * 5 + ux * 3}, {tip.x - ux * 5 + uy * 3, tip.y - uy * 5 - ux * 3}},
                 ink);
}

void icon(Canvas& c, const Font& font, Icon which, PixelRect r) {
    const double x = r.x + 4, y = r.y + 4, s = r.w - 8;  // a 16-pixel box
    const auto at = [&](double fx, double fy) { return Point{x + fx * s, y + fy * s}; };
    const double w = 1.3;
    switch (which) {
    case New:
        c.fillConvex({at(0.15, 0), at(0.65, 0), at(0.85, 0.2), at(0.85, 1), at(0.15, 1)}, Rgba::hex(0xffffff));
        c.polyline({at(0.15, 0), at(0.65, 0), at(0.85, 0.2), at(0.85, 1), at(0.15, 1)}, kIconInk, 1, true);
        break;
    case Open:
        c.fillRect(int(x), int(y + s * 0.25), int(s * 0.8), int(s * 0.7), Rgba::hex(0xe9b949));
        c.fillConvex({at(0.15, 0.45), at(1, 0.45), at(0.85, 0.95), at(0, 0.95)}, Rgba::hex(0xf6d26b));
        break;
    case Save:
        c.fillRoundRect(x, y, s, s, 2, Rgba::hex(0x3c6fb0));
        c.fillRect(int(x + s * 0.2), int(y), int(s * 0.6), int(s * 0.35), Rgba::hex(0xffffff));
        c.fillRect(int(x + s * 0.25), int(y + s * 0.6), int(s * 0.5), int(s * 0.4), Rgba::hex(0xd9e4f2));
        break;
    case Print:
        c.fillRect(int(x + s * 0.2), int(y), int(s * 0.6), int(s * 0.4), Rgba::hex(0xffffff));
        c.fillRoundRect(x, y + s * 0.35, s, s * 0.45, 2, Rgba::hex(0x6b7785));
        c.fillRect(int(x + s * 0.2), int(y + s * 0.65), int(s * 0.6), int(s * 0.35), Rgba::hex(0xffffff));
        break;
    case Undo:
    case Redo: {
        const bool back = which == Undo;
        c.arc(at(0.5, 0.6), s * 0.35, 0, 160, kIconBlue, 2);
        const Point end = back ? at(0.17, 0.48) : at(0.85, 0.6);
        arrowHead(c, end, back ? -1 : 0, 1, kIconBlue);
        break;
    }
    case Pan:
    case Move:
        c.line(at(0.5, 0), at(0.5, 1), which == Pan ? kIconInk : kIconBlue, w);
        c.line(at(0, 0.5), at(1, 0.5), which == Pan ? kIconInk : kIconBlue, w);
        for (const auto& [tx, ty, dx, dy] : std::array<std::array<double, 4>, 4>{
                 {{0.5, 0.0, 0.0, -1.0}, {0.5, 1.0, 0.0, 1.0}, {0.0, 0.5, -1.0, 0.0}, {1.0, 0.5, 1.0, 0.0}}}) {
            arrowHead(c, at(tx, ty), dx, dy, which == Pan ? kIconInk : kIconBlue);
        }
        break;
    case Zoom:
        c.circle(at(0.42, 0.42), s * 0.3, kIconInk, 1.6);
        c.line(at(0.64, 0.64), at(0.98, 0.98), kIconInk, 2.6);
        break;
    case Layers:
        for (int i = 2; i >= 0; --i) {
            const double dy = i * 0.2;
            c.fillConvex({at(0.5, 0.15 + dy), at(1, 0.35 + dy), at(0.5, 0.55 + dy), at(0, 0.35 + dy)},
                         i == 0 ? Rgba::hex(0xf2c14e) : i == 1 ? Rgba::hex(0x6fb35a) : Rgba::hex(0x4a90d9));
            c.polyline({at(0.5, 0.15 + dy), at(1, 0.35 + dy), at(0.5, 0.55 + dy), at(0, 0.35 + dy)}, kIconInk, 0.8,
                       true);
        }
        break;
    case Line:
        c.line(at(0.05, 0.95), at(0.95, 0.05), kIconInk, w);
        c.fillRect(int(x - 1), int(y + s - 2), 3, 3, kIconRed);
        c.fillRect(int(x + s - 2), int(y - 1), 3, 3, kIconRed);
        break;
    case Polyline:
        c.polyline({at(0, 0.9), at(0.3, 0.2), at(0.65, 0.75), at(1, 0.1)}, kIconInk, w);
        break;
    case Polygon:
    case Rectangle: {
        if (which == Rectangle) {
            c.strokeRoundRect(x, y + s * 0.2, s, s * 0.6, 0, kIconInk, w);
            break;
        }
        std::vector<Point> hex;
        for (int i = 0; i < 6; ++i) hex.push_back({at(0.5, 0.5).x + s * 0.48 * std::cos(i * std::numbers::pi / 3),
                                                   at(0.5, 0.5).y + s * 0.48 * std::sin(i * std::numbers::pi / 3)});
        c.polyline(hex, kIconInk, w, true);
        break;
    }
    case Arc:
        c.arc(at(0.5, 0.85), s * 0.5, 10, 170, kIconInk, w);
        break;
    case Circle:
        c.circle(at(0.5, 0.5), s * 0.45, kIconInk, w);
        c.fillCircle(at(0.5, 0.5), 1.2, kIconRed);
        break;
    case Spline:
        c.polyline({at(0, 0.7), at(0.15, 0.35), at(0.3, 0.25), at(0.45, 0.45), at(0.6, 0.7), at(0.75, 0.7),
                    at(0.9, 0.4), at(1, 0.2)},
                   kIconInk, w);
        break;
    case Ellipse:
        ellipse(c, at(0.5, 0.5), s * 0.5, s * 0.3, kIconInk, w);
        break;
    case Hatch:
        c.strokeRoundRect(x, y, s, s, 0, kIconInk, 1);
        for (int i = 1; i < 5; ++i) c.line(at(0, i * 0.25), at(i * 0.25, 0), kIconInk, 0.8);
        for (int i = 1; i < 4; ++i) c.line(at(i * 0.25, 1), at(1, i * 0.25), kIconInk, 0.8);
        break;
    case MText:
        c.textInBox(font, x, y, s, s, "A", 15, kIconInk);
        break;
    case Erase:
        c.fillConvex({at(0.1, 0.65), at(0.55, 0.15), at(0.9, 0.45), at(0.45, 0.95)}, Rgba::hex(0xf08ca0));
        c.polyline({at(0.1, 0.65), at(0.55, 0.15), at(0.9, 0.45), at(0.45, 0.95)}, kIconInk, 0.9, true);
        break;
    case Copy:
        c.strokeRoundRect(x, y, s * 0.65, s * 0.65, 0, kIconInk, 1);
        c.fillRect(int(x + s * 0.35), int(y + s * 0.35), int(s * 0.65), int(s * 0.65), Rgba::hex(0xffffff));
        c.strokeRoundRect(x + s * 0.35, y + s * 0.35, s * 0.65, s * 0.65, 0, kIconBlue, 1);
        break;
    case Mirror:
        c.fillConvex({at(0, 0.9), at(0.4, 0.9), at(0.4, 0.1)}, Rgba::hex(0x8fb8e3));
        c.polyline({at(0.6, 0.9), at(1, 0.9), at(0.6, 0.1)}, kIconInk, 1, true);
        c.dashedLine(at(0.5, 0), at(0.5, 1), kIconRed, 2, 1.5, 1);
        break;
    case Offset:
        c.arc(at(0.5, 1), s * 0.45, 20, 160, kIconInk, w);
        c.arc(at(0.5, 1), s * 0.8, 25, 155, kIconBlue, w);
        break;
    case Array:
        for (int i = 0; i < 4; ++i)
            c.strokeRoundRect(x + (i % 2) * s * 0.55, y + (i / 2) * s * 0.55, s * 0.42, s * 0.42, 0, kIconInk, 1);
        break;
    case Rotate:
        c.arc(at(0.5, 0.5), s * 0.42, 40, 320, kIconBlue, 1.6);
        arrowHead(c, at(0.82, 0.24), 0.3, -1, kIconBlue);
        break;
    case Scale:
        c.strokeRoundRect(x, y + s * 0.5, s * 0.45, s * 0.5, 0, kIconInk, 1);
        c.strokeRoundRect(x, y, s, s, 0, kIconBlue, 1);
        break;
    case Trim:
        c.line(at(0.5, 0), at(0.5, 1), kIconInk, w);
        c.line(at(0, 0.5), at(0.5, 0.5), kIconInk, w);
        c.dashedLine(at(0.5, 0.5), at(1, 0.5), kIconRed, 2, 1.5, 1);
        break;
    case Extend:
        c.line(at(0.9, 0), at(0.9, 1), kIconInk, w);
        c.line(at(0, 0.5), at(0.45, 0.5), kIconInk, w);
        c.dashedLine(at(0.45, 0.5), at(0.9, 0.5), kIconBlue, 2, 1.5, 1);
        arrowHead(c, at(0.88, 0.5), 1, 0, kIconBlue);
        break;
    }
}

void toolButton(Canvas& c, const Font& font, Icon which, PixelRect r) {
    c.fillRoundRect(r.x, r.y, r.w, r.h, 3, Rgba::hex(0xfbfbfb), Rgba::hex(0xe7e9ec));
    c.strokeRoundRect(r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1, 3, Rgba::hex(0xd5d9de), 1);
    icon(c, font, which, r);
}

void toolBarFrame(Canvas& c, int x, int y, int w, int h, bool vertical) {
    c.fillRoundRect(x, y, w, h, 3, Rgba::hex(0xf7f7f7), Rgba::hex(0xe8eaed));
    c.strokeRoundRect(x + 0.5, y + 0.5, w - 1, h - 1, 3, kChromeEdge, 1);
    // The grip.
    for (int i = 0; i < 4; ++i) {
        if (vertical)
            c.fillRect(x + 6 + i * 4, y + 4, 2, 2, Rgba::hex(0xa9b0b9));
        else
            c.fillRect(x + 4, y + 6 + i * 4, 2, 2, Rgba::hex(0xa9b0b9));
    }
}

void comboBox(Canvas& c, const Font& font, int x, int y, int w, std::string_view text, Rgba swatch) {
    c.fillRect(x, y, w, 20, Rgba::hex(0xffffff));
    c.strokeRoundRect(x + 0.5, y + 0.5, w - 1, 19, 0, Rgba::hex(0xa7b0bb), 1);
    c.fillRect(x + 5, y + 6, 9, 9, swatch);
    c.text(font, x + 19, y + 15, text, 12, kMenuText);
    c.fillRect(x + w - 16, y + 1, 15, 18, Rgba::hex(0xe9ecef));
    c.fillConvex({{x + w - 12.0, y + 8.0}, {x + w - 4.0, y + 8.0}, {x + w - 8.0, y + 13.0}}, kIconInk);
}

void drawDrawing(Canvas& c, const Font& font) {
    const auto [ax, ay, aw, ah] = kDrawingArea;
    c.fillRect(ax, ay, aw, ah, kPaper);
    drawGrid(c, ax, ay, aw, ah, 20, 5, Rgba::hex(0x2a323c), Rgba::hex(0x323c48));
    const Rgba white = Rgba::hex(0xe8ecf0), yellow = Rgba::hex(0xf2d25c), red = Rgba::hex(0xf06a5a),
               cyan = Rgba::hex(0x5fd4e8), green = Rgba::hex(0x7fd07a);
    // A base plate with a bore, two fixing holes and chamfered corners.
    c.polyline({{120, 150}, {392, 150}, {412, 170}, {412, 314}, {392, 334}, {120, 334}, {100, 314}, {100, 170}}, white,
               1.4, true);
    drawCentredCircle(c, kHoleCentre, kHoleRadius, white, 1.4);
    c.circle(kHoleCentre, kHoleRadius * 0.55, white, 1.2);
    for (const double hx : {140.0, 372.0}) drawCentredCircle(c, {hx, 190}, 9, white, 1.2);
    // Dimensions in green.
    c.line({100, 352}, {412, 352}, green, 1);
    arrowHead(c, {100, 352}, -1, 0, green);
    arrowHead(c, {412, 352}, 1, 0, green);
    c.line({100, 338}, {100, 358}, green, 1);
    c.line({412, 338}, {412, 358}, green, 1);
    c.text(font, 256, 348, "156", 12, green, Align::Center);
    // A guide line, drawn in the red layer.
    c.line({90, kLineY}, {430, kLineY}, red, 1.6);
    c.fillRect(88, int(kLineY) - 2, 5, 5, red);
    c.fillRect(428, int(kLineY) - 2, 5, 5, red);
    // A hexagon nut seen from above and a note.
    std::vector<Point> hex;
    for (int i = 0; i < 6; ++i)
        hex.push_back({590 + 52 * std::cos(i * std::numbers::pi / 3), 200 + 52 * std::sin(i * std::numbers::pi / 3)});
    c.polyline(hex, cyan, 1.4, true);
    c.circle({590, 200}, 26, cyan, 1.4);
    c.arc({590, 200}, 31, 20, 290, cyan, 1);
    c.text(font, 470, 300, "底板  1:1", 14, yellow);
    // The coordinate icon in the lower left corner.
    const Point o{ax + 22.0, ay + ah - 22.0};
    c.line(o, {o.x + 34, o.y}, white, 1.4);
    c.line(o, {o.x, o.y - 34}, white, 1.4);
    c.text(font, o.x + 36, o.y + 4, "X", 11, white);
    c.text(font, o.x - 4, o.y - 38, "Y", 11, white);
    c.strokeRoundRect(o.x - 4, o.y - 4, 8, 8, 0, white, 1);
    // The cross-hair pointer with its pick box, resting in an empty part of the drawing.
    const Point p{660, 320};
    c.line({p.x - 40, p.y}, {p.x + 40, p.y}, white, 1);
    c.line({p.x, p.y - 40}, {p.x, p.y + 40}, white, 1);
    c.strokeRoundRect(p.x - 4, p.y - 4, 8, 8, 0, white, 1);
}

void drawMainWindow(Canvas& c, const Font& font, bool menuTitles) {
    c.fillRect(0, 0, kW, kH, kChrome);
    // Title bar.
    c.verticalGradient(0, 0, kW, 24, kTitleTop, kTitleBottom);
    c.fillRoundRect(5, 4, 16, 16, 3, Rgba::hex(0xe8733a), Rgba::hex(0xb94d1c));
    c.text(font, 13, 17, "P", 12, Rgba::hex(0xffffff), Align::Center);
    c.text(font, 28, 17, "Planar Draft 2026 - [底板.pdw]", 13, Rgba::hex(0xffffff));
    for (int i = 0; i < 3; ++i) {
        const double bx = kW - 84 + i * 28.0;
        const Rgba ink = Rgba::hex(0xffffff);
        if (i == 0) c.line({bx + 8, 15}, {bx + 18, 15}, ink, 1.4);
        if (i == 1) c.strokeRoundRect(bx + 8, 7, 10, 9, 0, ink, 1.2);
        if (i == 2) {
            c.line({bx + 8, 7}, {bx + 18, 17}, ink, 1.4);
            c.line({bx + 18, 7}, {bx + 8, 17}, ink, 1.4);
        }
    }
    // Menu bar.
    c.fillRect(0, 24, kW, 20, Rgba::hex(0xfafafa));
    c.line({0, 43.5}, {double(kW), 43.5}, kChromeEdge, 1);
    if (menuTitles) {
        for (int i = 0; i < 11; ++i) c.text(font, kMenuBarOrigin.x + 6 + i * 54.0, 39, kMenuTitles[i], 12, kMenuText);
    }
    // Standard and layer tool bars.
    toolBarFrame(c, 0, 45, 318, 28, false);
    for (int i = 0; i < int(kStandard.size()); ++i) toolButton(c, font, kStandard[i].icon, standardButton(i));
    toolBarFrame(c, kLayerBar.x, kLayerBar.y, kLayerBar.w, kLayerBar.h, false);
    comboBox(c, font, kLayerBar.x + 12, 49, 126, "0", Rgba::hex(0xffffff));
    toolButton(c, font, Layers, {kLayerBar.x + 142, 47, kButton, kButton});
    toolBarFrame(c, 504, 45, 290, 28, false);
    comboBox(c, font, 516, 49, 130, "ByLayer", Rgba::hex(0xffffff));
    comboBox(c, font, 652, 49, 136, "Continuous", Rgba::hex(0x1f252d));
    // Drawing and editing tool bars.
    toolBarFrame(c, 3, 76, 32, 12 + int(kDraw.size()) * (kButton + 2), true);
    for (int i = 0; i < int(kDraw.size()); ++i) toolButton(c, font, kDraw[i].icon, drawButton(i));
    toolBarFrame(c, 765, 76, 32, 12 + int(kModify.size()) * (kButton + 2), true);
    for (int i = 0; i < int(kModify.size()); ++i) toolButton(c, font, kModify[i].icon, modifyButton(i));
    drawDrawing(c, font);
    // Model and layout tabs.
    c.fillRect(0, 516, kW, 20, kChrome);
    const char* tabs[] = {"模型", "布局1", "布局2"};
    for (int i = 0; i < 3; ++i) {
        const double tx = 40 + i * 56.0;
        c.fillRect(int(tx), 516, 54, 18, i == 0 ? Rgba::hex(0xffffff) : Rgba::hex(0xe3e6ea));
        c.strokeRoundRect(tx + 0.5, 515.5, 53, 18, 0, kChromeEdge, 1);
        c.text(font, tx + 27, 530, tabs[i], 12, kMenuText, Align::Center);
    }
    // Command line: two lines of history and the prompt.
    const auto [lx, ly, lw, lh] = kCommandLine;
    c.fillRect(lx, ly, lw, lh, Rgba::hex(0xffffff));
    c.strokeRoundRect(lx + 0.5, ly + 0.5, lw - 1, lh - 1, 0, kChromeEdge, 1);
    c.text(font, 6, ly + 13, "命令: _circle 指定圆的圆心或 [三点(3P)/两点(2P)/切点、切点、半径(T)]:", 12,
           Rgba::hex(0x505050));
    c.text(font, 6, ly + 27, "指定圆的半径或 [直径(D)]: 23", 12, Rgba::hex(0x505050));
    c.text(font, 6, ly + 41, "命令:", 12, kBlack);
    c.line({42, ly + 31.0}, {42, ly + 42.0}, kBlack, 1);
    // Status bar: the pointer's coordinates and the drafting aids.
    c.fillRect(0, 580, kW, 20, kChrome);
    c.line({0, 580.5}, {double(kW), 580.5}, kChromeEdge, 1);
    c.text(font, 8, 595, "1215.4021, 867.2093, 0.0000", 12, kMenuText);
    for (const StatusButton& b : kStatus) {
        const bool on = b.name == std::string_view("对象捕捉") || b.name == std::string_view("极轴");
        c.fillRect(b.x, kStatusTop, b.w, 16, on ? Rgba::hex(0xdbe8f6) : Rgba::hex(0xf4f4f4));
        c.strokeRoundRect(b.x + 0.5, kStatusTop + 0.5, b.w - 1, 15, 0, on ? kSelectEdge : kChromeEdge, 1);
        c.text(font, b.x + b.w / 2.0, kStatusTop + 13, b.name, 11, kMenuText, Align::Center);
    }
}

void drawMain(Canvas& c, const Font& font) { drawMainWindow(c, font, true); }
// The same window while the simulated menu bar writes the titles and one menu is open.
void drawMainForMenu(Canvas& c, const Font& font) { drawMainWindow(c, font, false); }

void menuFrame(Canvas& c) {
    c.fillRect(0, 0, c.width(), c.height(), Rgba::hex(0xf8f8f8));
    c.fillRect(0, 0, 26, c.height(), Rgba::hex(0xeceef1));
    c.strokeRoundRect(0.5, 0.5, c.width() - 1, c.height() - 1, 0, Rgba::hex(0x9aa3ad), 1);
}

constexpr int kItemHeight = 20;
constexpr const char* kDrawMenu[] = {"直线(L)",  "射线(R)",   "构造线(T)", "-",         "多段线(P)", "正多边形(Y)",
                                     "矩形(G)",  "-",         "圆弧(A)  ▶", "圆(C)  ▶", "圆环(D)",   "样条曲线(S)",
                                     "椭圆(E)  ▶", "-",       "图案填充(H)...", "文字(X)  ▶"};
constexpr int kArcItem = 8;

constexpr int menuItemTop(const char* const* items, int index) {
    int y = 3;
    for (int i = 0; i < index; ++i) y += items[i][0] == '-' ? 7 : kItemHeight;
    return y;
}

void drawMenuPiece(Canvas& c, const char* const* items, int count, int selected, const Font& font) {
    menuFrame(c);
    for (int i = 0; i < count; ++i) {
        const int y = menuItemTop(items, i);
        if (items[i][0] == '-') {
            c.line({30, y + 3.5}, {c.width() - 4.0, y + 3.5}, Rgba::hex(0xd0d4d9), 1);
            continue;
        }
        if (i == selected) {
            c.fillRoundRect(3, y, c.width() - 6, kItemHeight, 2, kSelect);
            c.strokeRoundRect(3.5, y + 0.5, c.width() - 7, kItemHeight - 1, 2, kSelectEdge, 1);
        }
        std::string text = items[i];
        const auto arrow = text.find("  ▶");
        if (arrow != std::string::npos) {
            text.erase(arrow);
            c.fillConvex({{c.width() - 12.0, y + 6.0}, {c.width() - 8.0, y + 10.0}, {c.width() - 12.0, y + 14.0}},
                         kMenuText);
        }
        c.text(font, 32, y + 15, text, 12, kMenuText);
    }
}

void drawDrawMenu(Canvas& c, const Font& font) {
    drawMenuPiece(c, kDrawMenu, int(std::size(kDrawMenu)), kArcItem, font);
    icon(c, font, Line, {3, menuItemTop(kDrawMenu, 0) - 2, 24, 24});
    icon(c, font, Arc, {3, menuItemTop(kDrawMenu, kArcItem) - 2, 24, 24});
    icon(c, font, Circle, {3, menuItemTop(kDrawMenu, 9) - 2, 24, 24});
}

constexpr const char* kShortcutMenu[] = {"重复CIRCLE(R)", "最近的输入  ▶", "-",        "剪切(T)", "复制(C)",
                                         "粘贴(P)",       "-",             "放弃(U)",  "平移(A)", "缩放(Z)",
                                         "-",             "快速选择(Q)...", "选项(O)..."};

void drawShortcutMenu(Canvas& c, const Font& font) {
    drawMenuPiece(c, kShortcutMenu, int(std::size(kShortcutMenu)), 0, font);
}

// The layer dialog, 320 x 200, with its back button where the step records put it.
constexpr int kDialogX = 120, kDialogY = 100;
constexpr PixelRect kDialogOk{170 + kDialogX, 172 + kDialogY, 64, 19};

void dialogButton(Canvas& c, const Font& font, int x, int y, int w, int h, std::string_view text, bool primary) {
    c.fillRoundRect(x, y, w, h, 3, Rgba::hex(0xfdfdfd), Rgba::hex(0xe4e7eb));
    c.strokeRoundRect(x + 0.5, y + 0.5, w - 1, h - 1, 3, primary ? kSelectEdge : Rgba::hex(0xa7b0bb), primary ? 1.6 : 1);
    c.textInBox(font, x, y, w, h, text, 12, kMenuText);
}

void drawLayerDialog(Canvas& c, const Font& font) {
    const int w = c.width(), h = c.height();
    c.fillRect(0, 0, w, h, kChrome);
    c.verticalGradient(0, 0, w, 22, kTitleTop, kTitleBottom);
    c.text(font, 8, 16, "图层特性管理器", 13, Rgba::hex(0xffffff));
    c.line({w - 16.0, 7}, {w - 8.0, 15}, Rgba::hex(0xffffff), 1.3);
    c.line({w - 8.0, 7}, {w - 16.0, 15}, Rgba::hex(0xffffff), 1.3);
    c.strokeRoundRect(0.5, 0.5, w - 1, h - 1, 0, Rgba::hex(0x56657a), 1);
    // The layer list.
    c.fillRect(10, 32, w - 20, 128, Rgba::hex(0xffffff));
    c.strokeRoundRect(10.5, 32.5, w - 21, 127, 0, Rgba::hex(0xa7b0bb), 1);
    c.fillRect(11, 33, w - 22, 18, Rgba::hex(0xeceef1));
    const char* heads[] = {"状态", "名称", "开", "冻结", "锁定", "颜色", "线型"};
    const int cols[] = {16, 52, 120, 146, 180, 214, 252};
    for (int i = 0; i < 7; ++i) c.text(font, cols[i], 47, heads[i], 11, kMenuText);
    struct Layer {
        const char* name;
        Rgba colour;
        const char* colourName;
        const char* type;
    };
    const Layer layers[] = {{"0", Rgba::hex(0xffffff), "白", "Continuous"},
                            {"轮廓线", Rgba::hex(0xffffff), "白", "Continuous"},
                            {"中心线", Rgba::hex(0xf06a5a), "红", "CENTER"},
                            {"尺寸", Rgba::hex(0x7fd07a), "绿", "Continuous"},
                            {"文字", Rgba::hex(0xf2d25c), "黄", "Continuous"}};
    for (int i = 0; i < 5; ++i) {
        const int y = 53 + i * 21;
        if (i == 1) c.fillRect(11, y, w - 22, 20, kSelect);
        c.fillRect(cols[0] + 4, y + 6, 8, 8, i == 1 ? Rgba::hex(0x3c9a3c) : Rgba::hex(0xb8c0c8));
        c.text(font, cols[1], y + 15, layers[i].name, 12, kMenuText);
        c.fillCircle({cols[2] + 6.0, y + 10.0}, 4, Rgba::hex(0xf2c14e));
        c.fillCircle({cols[3] + 8.0, y + 10.0}, 4, Rgba::hex(0x9fc5e8));
        c.strokeRoundRect(cols[4] + 4, y + 6, 8, 8, 1, kIconInk, 1);
        c.fillRect(cols[5], y + 5, 9, 9, layers[i].colour);
        c.strokeRoundRect(cols[5] + 0.5, y + 5.5, 8, 8, 0, kIconInk, 0.8);
        c.text(font, cols[5] + 12, y + 15, layers[i].colourName, 11, kMenuText);
        c.text(font, cols[6], y + 15, layers[i].type, 11, kMenuText);
    }
    dialogButton(c, font, kDialogBack.x - kDialogX, kDialogBack.y - kDialogY, kDialogBack.w, kDialogBack.h, "< 上一步",
                 false);
    dialogButton(c, font, kDialogOk.x - kDialogX, kDialogOk.y - kDialogY, kDialogOk.w, kDialogOk.h, "确定", true);
    dialogButton(c, font, 244, 172, 64, 19, "取消", false);
}

// A task picture: the drawing tool-bar's circle button, enlarged and ringed, beside what it draws.
void drawCircleTask(Canvas& c, const Font& font) {
    const int w = c.width(), h = c.height();
    c.fillRect(0, 0, w, h, Rgba::hex(0xffffff));
    c.fillRoundRect(20, 30, 60, 60, 6, kChrome);
    c.strokeRoundRect(20.5, 30.5, 59, 59, 6, Rgba::hex(0x56657a), 1);
    c.circle({50, 60}, 18, kMenuText, 2);
    c.circle({50, 60}, 36, Rgba::hex(0xe03c31), 3);
    c.line({92, 60}, {128, 60}, Rgba::hex(0xe03c31), 2);
    c.circle({170, 60}, 34, Rgba::hex(0x2f6fb5), 2);
    c.text(font, 30, h - 6.0, "“圆”按钮", 12, kMenuText);
}

constexpr int kMenuX = kMenuBarOrigin.x + 6 * 54, kMenuY = 44;
constexpr int kShortcutX = 300, kShortcutY = 250;

constexpr std::array kScenes{
    Scene{"cadw01", nullptr, 0, 0, false},
    Scene{"cadw02", "cadp01", kMenuX, kMenuY, true},
    Scene{"cadw01", "cadp02", kDialogX, kDialogY, false},
    Scene{"cadw01", "cadp03", kShortcutX, kShortcutY, false},
    Scene{"cadw02", nullptr, 0, 0, true},
};

constexpr std::array kBankPictures{
    BankPicture{"cadw01", kW, kH, drawMain},
    BankPicture{"cadw02", kW, kH, drawMainForMenu},
    BankPicture{"cadp01", 150, menuItemTop(kDrawMenu, int(std::size(kDrawMenu))) + 3, drawDrawMenu},
    BankPicture{"cadp02", 320, 200, drawLayerDialog},
    BankPicture{"cadt01", 220, 120, drawCircleTask},
    BankPicture{"cadp03", 150, menuItemTop(kShortcutMenu, int(std::size(kShortcutMenu))) + 3, drawShortcutMenu},
};

std::vector<Spot> makeSpots() {
    std::vector<Spot> out;
    const auto add = [&](std::string name, std::string label, PixelRect at, SceneId s) {
        out.push_back({std::move(name), std::move(label), at, s});
    };
    for (int i = 0; i < int(kStandard.size()); ++i)
        add(std::string("tool.") + kStandard[i].name, std::string("“") + kStandard[i].name + "”按钮",
            standardButton(i), SceneId::Main);
    for (int i = 0; i < int(kDraw.size()); ++i)
        add(std::string("tool.") + kDraw[i].name, std::string("“") + kDraw[i].name + "”按钮", drawButton(i),
            SceneId::Main);
    for (int i = 0; i < int(kModify.size()); ++i)
        add(std::string("tool.") + kModify[i].name, std::string("“") + kModify[i].name + "”按钮", modifyButton(i),
            SceneId::Main);
    for (const StatusButton& b : kStatus)
        add(std::string("status.") + b.name, std::string("状态栏上的“") + b.name + "”按钮", {b.x, kStatusTop, b.w, 16},
            SceneId::Main);
    add("layerbar", "“图层”工具栏", kLayerBar, SceneId::Main);
    add("drawing", "绘图区域", {60, 90, 400, 250}, SceneId::Main);
    add("circle", "图中的圆", {int(kHoleCentre.x - kHoleRadius) - 3, int(kHoleCentre.y - kHoleRadius) - 3,
                                int(2 * kHoleRadius) + 6, int(2 * kHoleRadius) + 6},
        SceneId::Main);
    add("redline", "红色直线", {88, int(kLineY) - 6, 344, 12}, SceneId::Main);
    add("commandline", "命令行", {0, kCommandLine.y, 460, kCommandLine.h}, SceneId::Main);
    add("tab.布局1", "“布局1”选项卡", {96, 516, 54, 18}, SceneId::Main);
    add("menu.圆弧", "“圆弧”命令", {kMenuX + 3, kMenuY + menuItemTop(kDrawMenu, kArcItem), 144, kItemHeight},
        SceneId::Menu);
    add("dialog.确定", "“确定”按钮", kDialogOk, SceneId::Dialog);
    add("shortcut.重复", "“重复CIRCLE”命令",
        {kShortcutX + 3, kShortcutY + menuItemTop(kShortcutMenu, 0), 144, kItemHeight}, SceneId::Shortcut);
    return out;
}

}  // namespace

const Scene& scene(SceneId id) { return kScenes[static_cast<std::size_t>(id)]; }

std::span<const Spot> spots() {
    static const std::vector<Spot> table = makeSpots();
    return table;
}

const Spot* findSpot(std::string_view name) {
    for (const Spot& s : spots())
        if (name == s.name) return &s;
    return nullptr;
}

std::span<const BankPicture> bankPictures() { return kBankPictures; }

}  // namespace qz::tools
