// Screenshots of the drafting program the bank teaches, "Planar Draft": its main window and the
// pieces laid over it (a drop-down menu, a dialog, a shortcut menu), with the places a step can
// point at. Everything is in pixels of the 800 x 600 window; a step record takes 15 twips to one.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tools/canvas.h"
#include "tools/steps.h"

namespace qz::tools {

struct PixelRect {
    int x, y, w, h;
};

// What the window shows for a step: the background, at most one piece over it, and whether the
// simulated menu bar writes its own titles (the background then leaves them out).
enum class SceneId { Main, Menu, Dialog, Shortcut, Bar };
struct Scene {
    const char* background;
    const char* piece;  // nullptr: none
    int pieceX, pieceY;
    bool menuBar;
};
const Scene& scene(SceneId id);
// Where the menu bar's titles start when the window writes them.
inline constexpr PixelRect kMenuBarOrigin{6, 28, 0, 0};
// The back button drawn in the dialog piece, in window pixels.
inline constexpr PixelRect kDialogBack{132, 272, 73, 19};

struct Spot {
    std::string name;   // as the question source names it
    std::string label;  // as a hint names it: "“直线”按钮"
    PixelRect at;
    SceneId scene;
};
std::span<const Spot> spots();
const Spot* findSpot(std::string_view name);

struct BankPicture {
    const char* id;  // six characters
    int width, height;
    void (*draw)(Canvas&, const Font&);
};
std::span<const BankPicture> bankPictures();

}  // namespace qz::tools
