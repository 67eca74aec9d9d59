// The menu file sMenu.sys of the sample module: the drop-down menus of "Planar Draft 2026"'s
// menu bar and its shortcut menus, in 15-line blocks, and what a menu step code names in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qz::tools {

// The 465 lines: bar menus 1-11, shortcut menus 1-9, then the bar menus again for "C" codes.
std::vector<std::string> menuFileLines();

// The caption of the item a menu step code names ("3122", "A750", "B223"), access keys,
// ellipses and arrows taken off; nullopt when the code names no item there.
std::optional<std::string> menuItemOf(const std::vector<std::string>& lines, const std::string& code);

// The same as the demonstration player reads the code: its family by the first character
// alone ("A" and "B" the bar, "C" the bar's copy, any other the shortcut menus) and "B"M as
// block M + 9. The two readings agree on "A", "C", the shortcut menus and B22I only.
std::optional<std::string> demoMenuItemOf(const std::vector<std::string>& lines, const std::string& code);

// The caption of the submenu holding that item, cleaned the same way; "" for a plain item.
std::string menuSubmenuOf(const std::vector<std::string>& lines, const std::string& code);

// The title of bar menu `menu` (1-11) as a hint names it: "绘图".
std::string menuTitleOf(int menu);

}  // namespace qz::tools
