#include "tools/help_pages.h"

#include "platform/legacy_text.h"
#include "tools/legacy_files.h"

namespace qz::tools {

namespace {

// GB2312's rows: symbols A1-A9, hanzi B0-F7, trail bytes A1-FE. GBK's extensions lie outside.
bool gb2312Only(const std::string& utf8) {
    const std::string bytes = platform::encodeAnsi(utf8);
    if (platform::decodeAnsi(bytes) != utf8) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) continue;
        if (i + 1 >= bytes.size()) return false;
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        const bool row = (lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7);
        if (!row || trail < 0xA1 || trail > 0xFE) return false;
    }
    return true;
}

// A small drafting figure: a plate with a hole, its centre lines and a dimension.
void drawFigure(Canvas& c, const Font& font) {
    const Rgba ink = Rgba::hex(0x1A1A1A), centre = Rgba::hex(0xC03030), dim = Rgba::hex(0x2060B0);
    c.fillRect(0, 0, c.width(), c.height(), Rgba::hex(0xFFFFFF));
    c.polyline({{60, 40}, {300, 40}, {300, 160}, {60, 160}}, ink, 2.0, true);
    c.circle({180, 100}, 34, ink, 2.0);
    c.dashedLine({130, 100}, {230, 100}, centre, 12, 4);
    c.dashedLine({180, 50}, {180, 150}, centre, 12, 4);
    c.line({60, 182}, {300, 182}, dim);
    c.fillConvex({{60, 182}, {70, 178}, {70, 186}}, dim);
    c.fillConvex({{300, 182}, {290, 178}, {290, 186}}, dim);
    c.text(font, 180, 178, "240", 13, dim, Align::Center);
    c.text(font, 180, 24, "底板的画法", 15, ink, Align::Center);
}

}  // namespace

std::vector<HelpPage> readHelpPages(const SourceFile& src) {
    std::vector<HelpPage> pages;
    for (const Entry& e : src.entries) {
        if (!gb2312Only(e.value)) src.fail(e, "\"" + e.value + "\" has a character that GB2312 cannot hold");
        if (e.key == "page") {
            if (e.value.empty()) src.fail(e, "a page needs a title");
            pages.push_back({e.value, {}});
        } else if (e.key == "html") {
            if (pages.empty()) src.fail(e, "html before the first page");
            pages.back().body.push_back(e.value);
        } else {
            src.fail(e, "unknown key \"" + e.key + "\"");
        }
    }
    if (pages.size() != kHelpPages) {
        throw SourceError(src.path.string() + ": " + std::to_string(pages.size()) + " pages, the module has " +
                          std::to_string(kHelpPages));
    }
    return pages;
}

std::vector<std::string> helpPageLines(const HelpPage& page) {
    std::vector<std::string> lines{
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">",
        "<title>" + page.title + "</title>",
        "</head>",
        "<body>",
    };
    lines.insert(lines.end(), page.body.begin(), page.body.end());
    lines.push_back("</body>");
    lines.push_back("</html>");
    return lines;
}

void writeHelpPages(const std::filesystem::path& data, const Font& font, const std::vector<HelpPage>& pages) {
    for (std::size_t n = 0; n < pages.size(); ++n)
        writeLegacyText(data / ("l3818" + std::to_string(n) + ".mxy"), helpPageLines(pages[n]));
    Canvas figure(360, 200);
    drawFigure(figure, font);
    figure.savePng(data / kHelpFigure);
}

}  // namespace qz::tools
