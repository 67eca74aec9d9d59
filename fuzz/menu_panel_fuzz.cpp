// The menu file through the player's imitation menus: each block the step codes of the input
// name is read and laid out as a context menu at several pointer points, as a drop-down and
// as the submenu beside it; every row must stand inside its panel and every index inside its
// control array.
// Input: sMenu.sys, 0x1E, step codes of four characters each (in the ANSI code page).
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "demo/menu_panel.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "platform/legacy_text.h"

using namespace fuzzsupport;
namespace demo = qz::demo;

namespace {

forms::Size measure(const std::string& caption) {
    return {static_cast<int>(platform::charCount(caption)) * 90 + 15, 180};
}

bool inside(const forms::Rect& row, const forms::Rect& panel) {
    return row.left >= panel.left && row.top >= panel.top && row.top < panel.top + panel.height;
}

void checkRows(const std::vector<demo::EntryLabel>& entries, const std::vector<demo::SeparatorLine>& separators,
               const forms::Rect& panel, int lines) {
    std::set<std::pair<int, int>> labels;
    for (const demo::EntryLabel& e : entries) {
        if (e.index < 0 || e.index > 9) fail("an entry outside its label array");
        if (!labels.insert({e.array, e.index}).second) fail("one label given two entries");
        if (!inside(e.rect, panel)) fail("an entry outside its panel");
    }
    std::set<int> drawn;
    for (const demo::SeparatorLine& s : separators) {
        if (s.index < 0 || s.index >= lines) fail("a separator outside its line array");
        if (!drawn.insert(s.index).second) fail("one line given two separators");
        if (s.from.y < panel.top || s.from.y >= panel.top + panel.height) fail("a separator outside its panel");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
    const std::string file = platform::joinPath(scratchDir(), "sMenu.sys");
    writeFile(file, parts.empty() ? std::string_view() : parts[0]);
    const std::string codes = platform::decodeAnsi(std::string(parts.size() > 1 ? parts[1] : "3122A212B1910000"));

    const forms::Point pointers[] = {{6000, 4500}, {0, 0}, {11999, 8999}, {-500, -500}, {11000, 200}};
    for (std::size_t at = 0; at < 16; ++at) {
        const std::string code = platform::midChars(codes, static_cast<long>(at * 4 + 1), 4);
        if (code.empty()) break;
        const std::vector<std::string> block = demo::readMenuBlock(file, code);
        if (block.size() != 15) fail("a block of other than 15 lines");

        for (bool dropDown : {false, true}) {
            for (const forms::Point& pointer : pointers) {
                demo::PanelInput in;
                in.block = block;
                in.code = code;
                in.dropDown = dropDown;
                for (int i = 0; i < demo::MenuTitles; ++i) {
                    in.titles[static_cast<std::size_t>(i)] = {100 + 810 * i + 200, 300, 400, 180};
                    in.backs[static_cast<std::size_t>(i)] = {100 + 810 * i, 262, 810, 255};
                }
                in.panelBefore = {-7, -9};
                in.pointer = pointer;
                in.target = {123, 456};
                in.windowWidth = 12000;
                in.windowHeight = 9000;
                in.measure = measure;
                const demo::MenuPanel m = demo::layoutPanel(in);
                if (m.panel.width < 690 || m.panel.height < 90) fail("a panel smaller than its margins");
                if (m.title && (*m.title < 0 || *m.title > 10)) fail("a title outside the bar");
                checkRows(m.entries, m.separators, m.panel, demo::PanelSeparators);
                for (const demo::CascadeRow& c : m.cascades)
                    if (!inside(c.label, m.panel) || !inside(c.arrow, m.panel)) fail("a cascade outside its panel");
                if (m.entry && m.target != *m.entry) fail("a shown entry not aimed at");

                demo::SubmenuInput sin;
                sin.block = block;
                sin.code = code;
                sin.panel = m.panel;
                sin.cascadeTop = m.entry ? std::optional<int>(m.entry->y) : std::nullopt;
                sin.pointer = m.target;
                sin.measure = measure;
                const demo::Submenu s = demo::layoutSubmenu(sin);
                if (!s.shown) {
                    if (!s.entries.empty() || s.target != m.target) fail("a submenu that did not open moved something");
                    continue;
                }
                if (s.rect.left != m.panel.left + m.panel.width - 60) fail("a submenu away from its panel");
                checkRows(s.entries, s.separators, s.rect, demo::SubmenuSeparators);
                if (s.entry && s.target != *s.entry) fail("a shown submenu entry not aimed at");
            }
        }
    }
    return 0;
}
