// The menu file: 15-line blocks that fill the simulated drop-down and context menus, and
// the rule that matches a chosen item against a menu step code (M A I in its last digits).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qz::menus {

inline constexpr int BlockLines = 15;
inline constexpr int MaxItems = 10;

// The imitated application's menu-bar titles, 0 to 10, as menu codes name them.
inline constexpr std::array<const char*, 11> BarTitles = {"文件(&F)", "编辑(&E)", "视图(&V)", "插入(&I)",
                                                          "格式(&O)", "工具(&T)", "绘图(&D)", "标注(&N)",
                                                          "修改(&M)", "窗口(&W)", "帮助(&H)"};

// Where an item array takes its texts in a block.
struct ItemArray {
    int line;      // from 0
    bool submenu;  // titled by the line before it
};
// By array number 1-9 (element 0 for array 1), in menu order.
inline constexpr std::array<ItemArray, 9> ItemArrays = {
    {{2, true}, {3, false}, {5, true}, {6, false}, {8, true}, {9, false}, {11, true}, {13, true}, {14, false}}};

// Line (from 1) where block menuNumber of the code's family starts; nullopt for a code of
// no family (its menu is built from empty lines).
std::optional<long> blockFirstLine(std::int32_t stepCode, int menuNumber);

// The 15 lines from line `first` of the decoded file; lines past its end are "". Errors of
// the file (missing: 53, unreadable: 75) are thrown.
std::vector<std::string> readBlock(const std::string& path, long first);

// The texts of an item line, at most ten.
std::vector<std::string> splitItems(const std::string& line);

// Whether choosing item `index` of the array numbered arrayNumber (1-9, in menu order) in
// menu menuNumber completes the step. Only codes of the three menu families can match.
bool itemCompletes(std::int32_t stepCode, int menuNumber, int arrayNumber, int index);

// A menu code that names no item array: no choice completes it, and for a context code no
// other action does either.
bool namesNoArray(std::int32_t stepCode);

}  // namespace qz::menus
