// The player's imitation menus without their controls: which block of the menu file a step
// opens, and where the panel, its submenu, their rows and separators, the aim and the target
// frame stand. The player copies the result onto its labels, lines and shapes.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/types.h"

namespace qz::demo {

inline constexpr int MenuTitles = 11;
inline constexpr int PanelSeparators = 10;
inline constexpr int SubmenuSeparators = 6;

// The size an auto-sized entry label takes for a caption.
using MeasureCaption = std::function<forms::Size(const std::string& caption)>;

// The value of character `position` (from 1) of a step code: its digit, 0 for anything else.
int codeDigit(const std::string& code, int position);
// The block a menu step shows: the menu digit, plus 9 for "B" codes.
int menuNumberOf(const std::string& code);
// The title a drop-down hangs under; may lie outside the bar (0 to 10).
int titleIndexOf(const std::string& code);
// Line (from 1) of the block's first line: base 0 for "A"/"B", 300 for "C", 165 for any other
// first character. Block 0 of base 0 keeps the lines the file has, so it starts at line 1.
long blockStartOf(const std::string& code);
// The 15 block lines of the step's menu; a file that cannot be read gives 15 empty lines.
std::vector<std::string> readMenuBlock(const std::string& menuFile, const std::string& code);
// Columns 130-134 of the record choose a drop-down under a title unless they are "00000".
bool opensDropDown(const std::string& stepLine);
// The cascade entry (1, 3, 5, 7 or 8) whose submenu the code opens.
std::optional<int> cascadeOf(const std::string& code);
// The entry is a plain one: the arrival clicks it rather than opening a submenu.
bool clicksPlainEntry(const std::string& code);

// An auto-sized entry label: `array` 2, 4, 6 or 9 for the panel's groups (LRM2 ...), 0 for the
// submenu's only array; `index` 0 to 9.
struct EntryLabel {
    int array = 0;
    int index = 0;
    std::string caption;
    forms::Rect rect;
    friend bool operator==(const EntryLabel&, const EntryLabel&) = default;
};

// A cascade entry (index 1, 3, 5, 7 or 8) and its 60 x 105 arrow.
struct CascadeRow {
    int index = 0;
    std::string caption;
    forms::Rect label;
    forms::Rect arrow;
    friend bool operator==(const CascadeRow&, const CascadeRow&) = default;
};

// A separator that has a line to draw it.
struct SeparatorLine {
    int index = 0;
    forms::Point from;
    forms::Point to;
    friend bool operator==(const SeparatorLine&, const SeparatorLine&) = default;
};

struct PanelInput {
    std::vector<std::string> block;  // the 15 lines of readMenuBlock
    std::string code;                // the step code, four characters
    bool dropDown = false;
    std::array<forms::Rect, MenuTitles> titles{};  // LMenu(0-10)
    std::array<forms::Rect, MenuTitles> backs{};   // LMBack(0-10)
    forms::Point panelBefore;                      // the panel's place as it stands; kept by a drop-down with no title
    forms::Point pointer;
    forms::Point target;  // the target as it stands; kept by a code that names no entry array
    int windowWidth = 0;
    int windowHeight = 0;
    double scaleY = 1;
    MeasureCaption measure;
};

struct MenuPanel {
    int menuNumber = 0;
    std::optional<int> title;  // the highlight LMBack(title) to show
    forms::Rect panel;         // LRightMMenu and ShapeRMain
    std::vector<CascadeRow> cascades;
    std::vector<EntryLabel> entries;
    std::vector<SeparatorLine> separators;
    std::optional<forms::Point> entry;  // centre of the entry the code names, when it is shown
    forms::Point target;                // where the pointer heads
    forms::Rect frame;                  // Shape1 over the target row
};

MenuPanel layoutPanel(const PanelInput& in);

struct SubmenuInput {
    std::vector<std::string> block;
    std::string code;
    forms::Rect panel;              // the menu panel as it stands
    std::optional<int> cascadeTop;  // Top of the cascade entry cascadeOf(code) names
    forms::Point pointer;
    MeasureCaption measure;
};

struct Submenu {
    int menuNumber = 0;
    bool shown = false;  // false: the code has no list, and nothing opens
    forms::Rect rect;    // LRightSub and ShapeRSUB
    std::vector<EntryLabel> entries;
    std::vector<SeparatorLine> separators;
    std::optional<forms::Point> entry;
    forms::Point target;
    std::optional<forms::Rect> frame;  // none: the frame stays where it is
};

Submenu layoutSubmenu(const SubmenuInput& in);

}  // namespace qz::demo
