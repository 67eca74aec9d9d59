#include "demo/menu_panel.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/vb_error.h"
#include "simwindow/menu_file.h"
#include "simwindow/step_record.h"

namespace qz::demo {

namespace {

// Offsets of the imitation menus, in twips of the window whatever the screen.
constexpr int PanelTopGap = 90;
constexpr int SubmenuTopGap = 135;
constexpr int RowHeight = 270;
constexpr int SeparatorGap = 135;
constexpr int CaptionLeft = 300;
constexpr int SeparatorLeft = 60;
constexpr int SeparatorShorter = 120;
constexpr int ExtraWidth = 690;
constexpr int ArrowFromRight = 180;
constexpr int ArrowBelowRow = 30;
constexpr int ArrowWidth = 60;
constexpr int ArrowHeight = 105;
constexpr int BottomMargin = 300;
constexpr int SubmenuOverlap = 60;
constexpr int SubmenuFrameHeight = 285;
constexpr int SubmenuFrameAbove = 60;

std::string firstChar(const std::string& code) { return steps::field(code, 1, 1); }

forms::Point centreOf(const forms::Rect& r) {
    return {platform::clng(r.left + r.width / 2.0), platform::clng(r.top + r.height / 2.0)};
}

// One group or list: entries as labels of `array`, "-" as a separator drawn while lines last.
struct Rows {
    int y = 0;
    int widest = 0;
    int separators = 0;
};

void layGroup(const std::string& line, int array, int left, int lines, const MeasureCaption& measure, Rows& rows,
              std::vector<EntryLabel>& entries, std::vector<SeparatorLine>& separators) {
    const std::vector<std::string> texts = menus::splitItems(line);
    for (std::size_t j = 0; j < texts.size(); ++j) {
        if (texts[j] == "-") {
            if (rows.separators < lines)
                separators.push_back({rows.separators, {left + SeparatorLeft, rows.y}, {left + SeparatorLeft, rows.y}});
            ++rows.separators;
            rows.y += SeparatorGap;
            continue;
        }
        const forms::Size size = measure(texts[j]);
        entries.push_back(
            {array, static_cast<int>(j), texts[j], {left + CaptionLeft, rows.y, size.width, size.height}});
        rows.widest = std::max(rows.widest, size.width);
        rows.y += RowHeight;
    }
}

void finishSeparators(std::vector<SeparatorLine>& separators, int width) {
    for (SeparatorLine& s : separators) s.to.x = s.from.x + width - SeparatorShorter;
}

std::optional<forms::Point> shownEntry(const std::vector<EntryLabel>& entries, int array, int index) {
    for (const EntryLabel& e : entries)
        if (e.array == array && e.index == index) return centreOf(e.rect);
    return std::nullopt;
}

}  // namespace

int codeDigit(const std::string& code, int position) {
    return static_cast<int>(platform::val(steps::field(code, position, position)));
}

int menuNumberOf(const std::string& code) { return codeDigit(code, 2) + (firstChar(code) == "B" ? 9 : 0); }

int titleIndexOf(const std::string& code) { return menuNumberOf(code) - 1; }

long blockStartOf(const std::string& code) {
    const std::string family = firstChar(code);
    const long base = family == "A" || family == "B" ? 0 : family == "C" ? 300 : 165;
    return std::max(1L, base + (static_cast<long>(menuNumberOf(code)) - 1) * menus::BlockLines + 1);
}

std::vector<std::string> readMenuBlock(const std::string& menuFile, const std::string& code) {
    try {
        return menus::readBlock(menuFile, blockStartOf(code));
    } catch (const platform::VbError&) {
        return std::vector<std::string>(menus::BlockLines);
    }
}

bool opensDropDown(const std::string& stepLine) { return steps::field(stepLine, 130, 134) != "00000"; }

std::optional<int> cascadeOf(const std::string& code) {
    const std::string c = steps::field(code, 3, 3);
    if (c == "1" || c == "3" || c == "5" || c == "7" || c == "8") return codeDigit(code, 3);
    return std::nullopt;
}

bool clicksPlainEntry(const std::string& code) {
    const std::string c = steps::field(code, 3, 3);
    return c == "2" || c == "4" || c == "6" || c == "9";
}

MenuPanel layoutPanel(const PanelInput& in) {
    MenuPanel out;
    out.menuNumber = menuNumberOf(in.code);
    out.target = in.target;
    forms::Point corner = in.pointer;
    if (in.dropDown) {
        corner = in.panelBefore;
        const int k = titleIndexOf(in.code);
        if (k >= 0 && k < MenuTitles) {
            const forms::Rect& back = in.backs[static_cast<std::size_t>(k)];
            corner = {back.left, back.top + back.height};
            out.title = k;
            out.target.y = centreOf(in.titles[static_cast<std::size_t>(k)]).y;
        }
    }

    Rows rows{corner.y + PanelTopGap, 0, 0};
    std::vector<std::string> block = in.block;
    block.resize(menus::BlockLines);
    for (std::size_t a = 0; a < menus::ItemArrays.size(); ++a) {
        const int digit = static_cast<int>(a) + 1;
        const menus::ItemArray at = menus::ItemArrays[a];
        if (at.submenu) {
            const std::string& caption = block[static_cast<std::size_t>(at.line - 1)];
            if (caption == "0") continue;
            // A cascade caption is not measured into the panel's width.
            const forms::Size size = in.measure(caption);
            out.cascades.push_back({digit,
                                    caption,
                                    {corner.x + CaptionLeft, rows.y, size.width, size.height},
                                    {0, rows.y + ArrowBelowRow, ArrowWidth, ArrowHeight}});
            rows.y += RowHeight;
        } else {
            const std::string& line = block[static_cast<std::size_t>(at.line)];
            if (line == "0") continue;
            layGroup(line, digit, corner.x, PanelSeparators, in.measure, rows, out.entries, out.separators);
        }
    }

    const int width = rows.widest + ExtraWidth;
    const int height = rows.y - corner.y;
    out.panel = {corner.x, corner.y, width, height};
    for (CascadeRow& c : out.cascades) c.arrow.left = corner.x + width - ArrowFromRight;
    finishSeparators(out.separators, width);

    if (!in.dropDown) {
        // A context menu opens away from the window's right and bottom edges.
        int dx = 0;
        int dy = 0;
        if (corner.x + width >= in.windowWidth - width) dx = -width;
        if (corner.y + height >= in.windowHeight - BottomMargin) dy = -height;
        const auto shift = [&](forms::Rect& r) {
            r.left += dx;
            r.top += dy;
        };
        shift(out.panel);
        for (CascadeRow& c : out.cascades) {
            shift(c.label);
            shift(c.arrow);
        }
        for (EntryLabel& e : out.entries) shift(e.rect);
        for (SeparatorLine& s : out.separators) {
            s.from = {s.from.x + dx, s.from.y + dy};
            s.to = {s.to.x + dx, s.to.y + dy};
        }
    }

    const int named = codeDigit(in.code, 3);
    if (named >= 1 && named <= 9) {
        if (menus::ItemArrays[static_cast<std::size_t>(named - 1)].submenu) {
            for (const CascadeRow& c : out.cascades)
                if (c.index == named) out.entry = centreOf(c.label);
        } else {
            out.entry = shownEntry(out.entries, named, codeDigit(in.code, 4));
        }
        // An entry the panel does not show is aimed at where the pointer stands.
        out.target = out.entry.value_or(in.pointer);
    }

    out.frame = {out.panel.left, platform::clng(out.target.y - 135 * in.scaleY), out.panel.width,
                 platform::clng(RowHeight * in.scaleY)};
    return out;
}

Submenu layoutSubmenu(const SubmenuInput& in) {
    Submenu out;
    out.menuNumber = menuNumberOf(in.code);
    out.target = in.pointer;
    const std::optional<int> c = cascadeOf(in.code);
    if (!c || !in.cascadeTop) return out;

    std::vector<std::string> block = in.block;
    block.resize(menus::BlockLines);
    const std::string& list = block[static_cast<std::size_t>(menus::ItemArrays[static_cast<std::size_t>(*c - 1)].line)];
    const forms::Point corner{in.panel.left + in.panel.width - SubmenuOverlap, *in.cascadeTop};
    Rows rows{corner.y + SubmenuTopGap, 0, 0};
    layGroup(list, 0, corner.x, SubmenuSeparators, in.measure, rows, out.entries, out.separators);

    const int width = rows.widest + ExtraWidth;
    out.shown = true;
    out.rect = {corner.x, corner.y, width, rows.y - corner.y};
    finishSeparators(out.separators, width);

    const int k = codeDigit(in.code, 4);
    out.entry = shownEntry(out.entries, 0, k);
    if (out.entry) {
        out.target = *out.entry;
        for (const EntryLabel& e : out.entries)
            if (e.index == k)
                out.frame = forms::Rect{corner.x, e.rect.top - SubmenuFrameAbove, width, SubmenuFrameHeight};
    }
    return out;
}

}  // namespace qz::demo
