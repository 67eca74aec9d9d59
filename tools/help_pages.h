// The module's five help pages: HTML in GB2312 with its meta tag, one with a drawn figure.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/canvas.h"
#include "tools/sample_source.h"

namespace qz::tools {

struct HelpPage {
    std::string title;
    std::vector<std::string> body;  // HTML lines
};

inline constexpr int kHelpPages = 5;
// The figure a page shows, beside the pages in the data folder.
inline constexpr const char* kHelpFigure = "l38190.mxy";

// "page = title" starts a page, "html = line" adds to it. Exactly five pages; every character
// must be one GB2312 holds, since the pages declare that charset. Throws SourceError.
std::vector<HelpPage> readHelpPages(const SourceFile& src);

// The whole document of a page, line by line.
std::vector<std::string> helpPageLines(const HelpPage& page);

// Writes l38180.mxy to l38184.mxy (CP936, CR LF) and the figure into the data folder.
void writeHelpPages(const std::filesystem::path& data, const Font& font, const std::vector<HelpPage>& pages);

}  // namespace qz::tools
