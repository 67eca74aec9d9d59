// The module's skin pictures: each is drawn on a canvas and saved as PNG under its legacy name.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "tools/canvas.h"
#include "tools/sample_source.h"

namespace qz::tools {

struct Skin {
    const Font& font;
    const SkinTexts& texts;
    const ModuleInfo& module;
    // The words of the picture being drawn (its Picture::words entry of skin.txt), else empty.
    std::string_view words = {};
};

struct Picture {
    const char* file;  // name in the data folder
    int width, height;
    void (*draw)(Canvas&, const Skin&);
    const char* words = nullptr;  // key in skin.txt of the words drawn into it, if any
};

// Mouse pointers, written as Windows cursor files.
struct Cursor {
    const char* file;
    int size;        // square
    int hotX, hotY;  // the pixel that points
    void (*draw)(Canvas&);
};

// Every picture the generator writes, in writing order.
std::span<const Picture> pictures();
std::span<const Cursor> cursors();
// The cursor files in the program's folder, "ico" and the two digits a step names them by.
std::span<const Cursor> programCursors();
int programCursorNumber(const Cursor& c);

// The navy title band across the top of a page, `height` pixels, without its words.
void drawBandBackdrop(Canvas& c, int height);

void writePictures(const std::filesystem::path& dataDir, const Skin& skin);
// Pictures and pointers that belong to a window of the program rather than to the module's skin.
void writeWindowPictures(const std::filesystem::path& programDir, const Skin& skin);
void writeProgramCursors(const std::filesystem::path& programDir);

}  // namespace qz::tools
