#include "tools/menus.h"

#include <array>
#include <cctype>

#include "simwindow/menu_file.h"
#include "simwindow/step_record.h"

namespace qz::tools {

namespace {

using Block = std::array<const char*, 15>;

// Line by line: a name, then submenu 1 (caption, items), plain items, submenu 2, plain items,
// submenu 3, plain items, submenu 4, submenu 5, plain items at the end. "0" is none.
const Block kBar[11] = {
    Block{"文件", "0", "0", "新建(&N)...|打开(&O)...|关闭(&C)|-|保存(&S)|另存为(&A)...|输出(&E)...", "0", "0",
          "-|页面设置管理器(&G)...|打印预览(&V)|打印(&P)...", "图形实用工具(&U)", "检查(&C)|修复(&R)|清理(&P)...", "0",
          "0", "0", "0", "0", "-|退出(&X)"},
    Block{"编辑", "0", "0", "放弃(&U)|重做(&R)|-|剪切(&T)|复制(&C)|带基点复制(&B)|粘贴(&P)", "0", "0", "0", "0", "0",
          "-|删除(&E)|全部选择(&L)", "0", "0", "0", "0", "-|查找(&F)..."},
    Block{"视图", "0", "0", "重画(&R)|重生成(&G)|全部重生成(&A)|-", "缩放(&Z)", "实时(&R)|上一个(&P)|窗口(&W)|-|全部(&A)|范围(&E)",
          "0", "平移(&P)", "实时(&T)|点(&P)|左(&L)|右(&R)", "-|命名视图(&N)...", "0", "0", "0", "0", "-|显示(&L)"},
    Block{"插入", "0", "0", "块(&B)...|外部参照(&N)...|光栅图像(&I)...|-|字段(&F)...", "0", "0", "0", "0", "0", "0", "0",
          "0", "0", "0", "0"},
    Block{"格式", "0", "0", "图层(&L)...|图层状态管理器(&A)...|-|颜色(&C)...|线型(&N)...|线宽(&W)...", "0", "0",
          "-|文字样式(&S)...|标注样式(&D)...|表格样式(&B)...", "0", "0", "-|点样式(&P)...|单位(&U)...", "0", "0", "0",
          "0", "0"},
    Block{"工具", "0", "0", "拼写检查(&E)|快速选择(&K)...|-|绘图顺序(&D)", "查询(&Q)", "距离(&D)|面积(&A)|列表(&L)|点坐标(&I)",
          "-|草图设置(&F)...|选项(&N)...", "0", "0", "0", "0", "0", "0", "0", "0"},
    Block{"绘图", "0", "0", "直线(&L)|射线(&R)|构造线(&T)|-|多线(&U)|多段线(&P)|正多边形(&Y)|矩形(&G)", "圆弧(&A)",
          "三点(&P)|-|起点、圆心、端点(&S)|起点、圆心、角度(&T)|圆心、起点、端点(&C)", "0", "圆(&C)",
          "圆心、半径(&R)|圆心、直径(&D)|-|两点(&2)|三点(&3)", "圆环(&D)|样条曲线(&S)", "椭圆(&E)", "圆心(&C)|轴、端点(&E)|圆弧(&A)",
          "文字(&X)", "多行文字(&M)...|单行文字(&S)", "-|图案填充(&H)...|渐变色...|边界(&B)..."},
    Block{"标注", "0", "0", "快速标注(&Q)|-|线性(&L)|对齐(&G)|半径(&R)|直径(&D)|角度(&A)", "0", "0",
          "-|基线(&B)|连续(&C)|引线(&E)", "0", "0", "-|标注样式(&S)...", "0", "0", "0", "0", "0"},
    Block{"修改", "0", "0", "特性(&P)|特性匹配(&M)|-|删除(&E)|复制(&Y)|镜像(&I)|偏移(&S)|阵列(&A)...", "0", "0",
          "-|移动(&V)|旋转(&R)|缩放(&L)|拉伸(&H)|修剪(&T)|延伸(&D)", "0", "0", "-|倒角(&C)|圆角(&F)|分解(&X)", "0", "0",
          "0", "0", "0"},
    Block{"窗口", "0", "0", "关闭(&O)|全部关闭(&L)|-|层叠(&C)|水平平铺(&H)|垂直平铺(&T)", "0", "0", "0", "0", "0", "0",
          "0", "0", "0", "0", "-|1 底板.pdw"},
    Block{"帮助", "0", "0", "帮助(&H)|新功能专题研习(&N)|-|关于 Planar Draft 2026(&A)", "0", "0", "0", "0", "0", "0",
          "0", "0", "0", "0", "0"},
};

const Block kShortcut[9] = {
    Block{"绘图区域", "最近的输入(&E)", "LINE|CIRCLE|ERASE", "-|剪切(&T)|复制(&C)|带基点复制(&B)|粘贴(&P)", "0", "0",
          "-|放弃(&U)|重做(&R)", "0", "0", "-|平移(&A)|缩放(&Z)", "0", "0", "0", "0", "-|快速选择(&Q)...|选项(&O)..."},
    Block{"图层工具栏", "0", "0", "图层特性管理器(&L)...|-|锁定图层(&K)|解锁图层(&U)|冻结图层(&F)|解冻图层(&T)", "0", "0",
          "0", "0", "0", "0", "0", "0", "0", "0", "-|自定义(&C)..."},
    Block{"选中的对象", "0", "0", "重复(&R)|-|剪切(&T)|复制(&C)|粘贴(&P)", "0", "0", "-|删除(&E)|移动(&M)|复制选择(&Y)|缩放(&L)|旋转(&O)",
          "0", "0", "0", "0", "0", "0", "0", "-|特性(&S)"},
    Block{"命令行", "最近使用的命令(&R)", "LINE|CIRCLE|ERASE|COPY", "-|复制(&C)|粘贴(&P)", "0", "0", "0", "0", "0", "0", "0",
          "0", "0", "0", "-|选项(&O)..."},
    Block{"状态栏按钮", "0", "0", "启用(&E)|-|设置(&S)...", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
    Block{"布局选项卡", "0", "0", "新建布局(&N)|来自样板(&T)...|删除(&D)|重命名(&R)|-|页面设置管理器(&G)...|打印(&P)...", "0",
          "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
    Block{"工具栏", "0", "0", "标准(&S)|图层(&L)|绘图(&D)|修改(&M)|-|锁定位置(&K)", "0", "0", "0", "0", "0", "0", "0",
          "0", "0", "0", "-|自定义(&C)..."},
    Block{"文字", "0", "0", "剪切(&T)|复制(&C)|粘贴(&P)|-|全部选择(&A)", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
          "-|查找和替换(&F)..."},
    Block{"对话框", "0", "0", "确定(&O)|取消(&C)|-|帮助(&H)", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
};

void addBlock(std::vector<std::string>& out, const Block& b) {
    for (const char* line : b) out.emplace_back(line);
}

std::string plainCaption(std::string s) {
    for (const char* cut : {"...", "  ▶"})
        if (auto at = s.find(cut); at != std::string::npos) s.erase(at, std::string(cut).size());
    if (auto open = s.find("(&"); open != std::string::npos && s.ends_with(")")) s.erase(open);
    return s;
}

}  // namespace

std::vector<std::string> menuFileLines() {
    std::vector<std::string> out;
    for (const Block& b : kBar) addBlock(out, b);
    for (const Block& b : kShortcut) addBlock(out, b);
    for (const Block& b : kBar) addBlock(out, b);
    return out;
}

namespace {

// Where a code's item line stands, and whether it is a submenu's; nullopt for no item array.
struct ItemLine {
    std::size_t line;  // from 1
    bool submenu;
};

std::optional<ItemLine> itemLineIn(long first, int array) {
    if (array < 1 || array > 9) return std::nullopt;
    const menus::ItemArray at = menus::ItemArrays[static_cast<std::size_t>(array - 1)];
    return ItemLine{static_cast<std::size_t>(first + at.line), at.submenu};
}

bool menuDigits(const std::string& code) {
    return code.size() == 4 && std::isdigit(static_cast<unsigned char>(code[1])) &&
           std::isdigit(static_cast<unsigned char>(code[2])) && std::isdigit(static_cast<unsigned char>(code[3]));
}

// As the simulated window reads the code.
std::optional<ItemLine> itemLineOf(const std::string& code) {
    if (!menuDigits(code)) return std::nullopt;
    const bool context = code[0] == '3' || code[0] == '4';
    int menu = code[1] - '0';
    if (code[0] == 'B' && code[1] == '2' && code[2] == '2') menu = 11;  // only B22I reaches menu 11
    else if (!context && menu == 0) return std::nullopt;                 // the bar has no title for menu 0
    const auto first = menus::blockFirstLine(steps::stepCodeValue(code), menu);
    if (!first) return std::nullopt;
    return itemLineIn(*first, code[2] - '0');
}

// As the demonstration reads it: the family by the first character alone, and "B"M as block
// M + 9, so a bar code needs one of the eleven titles to open under.
std::optional<ItemLine> demoItemLineOf(const std::string& code) {
    if (!menuDigits(code)) return std::nullopt;
    const bool bar = code[0] == 'A' || code[0] == 'B' || code[0] == 'C';
    const int block = code[1] - '0' + (code[0] == 'B' ? 9 : 0);
    if (bar && (block < 1 || block > 11)) return std::nullopt;
    const long base = code[0] == 'A' || code[0] == 'B' ? 0 : code[0] == 'C' ? 300 : 165;
    return itemLineIn(base + (block - 1) * menus::BlockLines + 1, code[2] - '0');
}

std::string lineOf(const std::vector<std::string>& lines, std::size_t n) {
    return n >= 1 && n <= lines.size() ? lines[n - 1] : std::string();
}

std::optional<std::string> itemAt(const std::vector<std::string>& lines, const std::optional<ItemLine>& at,
                                  const std::string& code) {
    if (!at) return std::nullopt;
    if (lineOf(lines, at->submenu ? at->line - 1 : at->line) == "0") return std::nullopt;
    const std::vector<std::string> texts = menus::splitItems(lineOf(lines, at->line));
    const auto item = static_cast<std::size_t>(code[3] - '0');
    if (item >= texts.size() || texts[item].empty() || texts[item] == "-") return std::nullopt;
    return plainCaption(texts[item]);
}

}  // namespace

std::optional<std::string> menuItemOf(const std::vector<std::string>& lines, const std::string& code) {
    return itemAt(lines, itemLineOf(code), code);
}

std::optional<std::string> demoMenuItemOf(const std::vector<std::string>& lines, const std::string& code) {
    return itemAt(lines, demoItemLineOf(code), code);
}

std::string menuSubmenuOf(const std::vector<std::string>& lines, const std::string& code) {
    const auto at = itemLineOf(code);
    return at && at->submenu ? plainCaption(lineOf(lines, at->line - 1)) : std::string();
}

std::string menuTitleOf(int menu) { return menu >= 1 && menu <= 11 ? kBar[menu - 1][0] : ""; }

}  // namespace qz::tools
