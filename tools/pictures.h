// The module's skin pictures: each is drawn on a canvas and saved as PNG under its legacy name.
#pragma once

#include <filesystem>
#include <span>

#include "tools/canvas.h"
#include "tools/sample_source.h"

namespace qz::tools {

struct Skin {
    const Font& font;
    const SkinTexts& texts;
};

struct Picture {
    const char* file;  // name in the data folder
    int width, height;
    void (*draw)(Canvas&, const Skin&);
};

// Every picture the generator writes, in writing order.
std::span<const Picture> pictures();

void writePictures(const std::filesystem::path& dataDir, const Skin& skin);

}  // namespace qz::tools
