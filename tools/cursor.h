// Windows cursor files (.CUR) for the mouse pointers the program loads from the data folder.
#pragma once

#include <filesystem>
#include <string>

#include "tools/canvas.h"

namespace qz::tools {

// One 32-bit image: the colour pixels with their alpha, and the 1-bit AND mask that older
// readers use (1 = transparent where alpha is below half). Pixels that are transparent by the
// mask carry black, so a reader that XORs the colour leaves the screen as it was. At most
// 256 x 256; the hotspot must lie on the picture. Throws std::invalid_argument otherwise.
std::string cursorFile(const Canvas& image, int hotX, int hotY);

// Throws std::runtime_error when the file cannot be written.
void saveCursor(const std::filesystem::path& file, const Canvas& image, int hotX, int hotY);

}  // namespace qz::tools
