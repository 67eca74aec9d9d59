#include "tools/questions.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "platform/legacy_text.h"
#include "simwindow/step_record.h"
#include "tools/app_screens.h"
#include "tools/menus.h"
#include "tools/steps.h"

namespace qz::tools {

namespace {

constexpr PixelRect kDefaultHint{40, 500, 0, 0};  // over the drawing, above the command line

Rect twips(PixelRect r) {
    return {r.x * kTwipsPerPixel, r.y * kTwipsPerPixel, r.w * kTwipsPerPixel, r.h * kTwipsPerPixel};
}

std::string shiftWords(int shift) {
    std::string out;
    if (shift & 2) out += "Ctrl+";
    if (shift & 1) out += "Shift+";
    if (shift & 4) out += "Alt+";
    return out;
}

// "按住Ctrl+Shift键" for a mouse action with keys held; "" with none.
std::string holdWords(int shift) {
    std::string keys = shiftWords(shift);
    if (keys.empty()) return keys;
    keys.pop_back();  // the last "+"
    return "按住" + keys + "键";
}

// The key a 6SKK code expects, as the hint names it; empty when it has no name here.
std::string keyName(int kk) {
    switch (kk) {
    case 2: return "Enter";
    case 3: return "F2";
    case 15: return "F4";
    case 20: return "F9";
    case 27: return "Esc";
    case 32: return "空格";
    case 46: return "Delete";
    case 91: return "“/”";
    case 99: return "“.”";
    default:
        if (kk >= 65 && kk <= 90) return std::string(1, static_cast<char>(kk));
        if (kk >= 48 && kk <= 57) return std::string(1, static_cast<char>(kk));
        return {};
    }
}

// The hint of a step: what to do, in the words of the task text.
std::string hintFor(const std::string& code, const Spot* spot, const std::vector<std::string>& menuLines) {
    const std::string at = spot ? spot->label : "";
    if (const auto item = menuItemOf(menuLines, code)) {
        const std::string sub = menuSubmenuOf(menuLines, code);
        const std::string where = sub.empty() ? "" : "“" + sub + "”子菜单中的";
        if (code[0] == '3' || code[0] == '4')
            return "在" + at + (at.ends_with("区域") ? "中" : "上") + "单击鼠标右键，然后单击" + where + "“" + *item + "”命令";
        const int menu = code[0] == 'B' && code.compare(1, 2, "22") == 0 ? 11 : code[1] - '0';
        return "单击“" + menuTitleOf(menu) + "”菜单" + (sub.empty() ? "中的" : where) + "“" + *item + "”命令";
    }
    if (code == "0001") return "单击" + at;
    if (code == "0002") return "双击" + at;
    if (code == "0003") return "在" + at + (at.ends_with("区域") ? "中" : "上") + "单击鼠标右键";
    if (code == "0030") return "将鼠标指针移到" + at + "上";
    // A right click on its hot spot does a "2000" as well, and that is what a demonstration shows.
    if (code == "2000" && spot) return "按Enter键，或在" + at + (at.ends_with("区域") ? "中" : "上") + "单击鼠标右键";
    if (code == "2000" || code == "6002") return "按Enter键";
    if (code == "8888") return "请稍候";
    if (code[0] == '6') {
        const int n = std::stoi(code);
        const std::string key = keyName(n % 100);
        return key.empty() ? std::string() : "按" + shiftWords(n % 1000 / 100) + key + "键";
    }
    if (code[0] == '9' && code.find_first_not_of("0123456789") == std::string::npos) {
        const int n = std::stoi(code);
        const int button = n % 100;
        const char* verb = button == 1 ? "单击" : button == 2 ? "右击" : button == 4 ? "用中键单击" : nullptr;
        return verb ? holdWords(n % 1000 / 100) + verb + at : std::string();
    }
    return "单击" + at;  // menu codes and the other codes above 10000 take a left click
}

struct Parsed {
    Step step;
    const Spot* spot = nullptr;
    const Spot* area = nullptr;  // where a work-area click or drag starts
    std::string answer;          // typed in the command box or the rename box
    std::string prefill;         // what the box holds when the step starts
};

// The hint of the steps the place alone does not tell.
std::string hintFor(const Parsed& p, const std::vector<std::string>& menuLines) {
    const std::string& code = p.step.code;
    const std::string at = p.spot ? p.spot->label : "";
    // The window puts "输入 " before the typed codes' hints and a confirmation after "A111"'s.
    if (typedCode(code) || code == "A111") return p.answer;
    if (!p.answer.empty()) return "输入 " + p.answer.substr(0, p.answer.find('|')) + "并按回车键";
    if (pictureCode(code)) return "将对话框拖回原来的位置";
    if (p.area && p.step.areaClick) return "在" + p.area->label + "中单击";
    if (p.area && dragCode(code)) {
        const std::string hold = holdWords(code[3] - '0');
        if (code.starts_with("004")) return hold + "在" + p.area->label + "中拖出选择窗口，在" + at + "上松开";
        return hold + "将" + p.area->label + "拖到" + at + "上";
    }
    return hintFor(code, p.spot, menuLines);
}

// Just below the place, where the learner looks, and moved in from the window's right edge;
// above it where the command box, a real window drawn over the pictures, would hide it.
Rect hintPlace(const Parsed& p, const std::string& hint) {
    if (!p.spot) return twips(kDefaultHint);
    steps::HintMarks marks;
    const std::string caption = steps::typingHint(p.step.code, hint, false, marks);
    const PixelRect& at = p.spot->at;
    const int width = hintArea(0, 0, caption).width;
    const int left = std::max(0, std::min(at.x * kTwipsPerPixel, kWindowWidth - width));
    const Rect below = hintArea(left, std::min(at.y + at.h + 4, 560) * kTwipsPerPixel, caption);
    if (hintHidden(below, p.step.box).empty()) return below;
    return hintArea(left, (at.y - 4) * kTwipsPerPixel - below.height, caption);
}

}  // namespace

QuestionBank readQuestions(const SourceFile& src, const ModuleInfo& module) {
    QuestionBank bank;
    const std::vector<std::string> menuLines = menuFileLines();
    std::map<std::string, int> textNumbers;
    const auto textNumber = [&](const std::string& text) {
        auto [it, added] = textNumbers.emplace(text, static_cast<int>(bank.texts.size()) + 1);
        if (added) {
            const int n = it->second;
            bank.texts.push_back(std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n) + text);
        }
        return it->second;
    };

    for (const Entry& e : src.entries) {
        if (e.key == "unit") {
            const std::size_t u = bank.units.size();
            if (u >= module.units.size() || e.value != module.units[u]) {
                src.fail(e, u < module.units.size() ? "expected unit \"" + module.units[u] + "\" here, as in ver.txt"
                                                    : "ver.txt has no unit \"" + e.value + "\"");
            }
            bank.units.emplace_back();
            continue;
        }
        if (e.key != "q") src.fail(e, "unknown key \"" + e.key + "\"");
        if (bank.units.empty()) src.fail(e, "a question comes after its \"unit = \" line");
        UnitFiles& unit = bank.units.back();

        std::vector<std::string> parts;
        std::stringstream ss(e.value);
        for (std::string part; std::getline(ss, part, ';');) parts.push_back(platform::trimSpaces(part));
        if (parts.size() < 2 || parts[0].empty()) src.fail(e, "expected \"TASK ; STEP ; ...\"");

        std::vector<Parsed> steps;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            std::stringstream words(parts[i]);
            Parsed p;
            std::string word;
            words >> p.step.code;
            if (p.step.code.size() != 4) src.fail(e, "a step starts with its four-character code: \"" + parts[i] + "\"");
            if (p.step.code == "9999") src.fail(e, "the \"9999\" step is added by itself");
            SceneId sceneId = SceneId::Main;
            bool oneLine = false;
            while (words >> word) {
                if (const Spot* spot = findSpot(word)) {
                    p.spot = spot;
                    sceneId = spot->scene;
                } else if (word.size() == 3 && word[0] == 'M' && std::isdigit(static_cast<unsigned char>(word[1])) &&
                           std::isdigit(static_cast<unsigned char>(word[2]))) {
                    p.step.pointer = 'M';
                    p.step.pointerNumber = std::stoi(word.substr(1));
                } else if (word.starts_with("back") && word.size() == 5 && std::isdigit(static_cast<unsigned char>(word[4]))) {
                    p.step.back = word[4] - '0';
                    p.step.backLeft = kDialogBack.x * kTwipsPerPixel;
                    p.step.backTop = kDialogBack.y * kTwipsPerPixel;
                } else if (word.starts_with("area.") || word.starts_with("click.")) {
                    p.area = findSpot(word.substr(word.find('.') + 1));
                    if (!p.area) src.fail(e, "\"" + word + "\" names no place of the screenshots");
                    p.step.workArea = twips(p.area->at);
                    p.step.areaClick = word.starts_with("click.");
                } else if (word.starts_with("answer=") && word.size() > 7) {
                    p.answer = word.substr(7);
                } else if (word == "oneline") {
                    oneLine = true;
                } else if (word.starts_with("prefill=") && word.size() > 8) {
                    p.prefill = word.substr(8);
                } else if (word == "+shortcut") {
                    sceneId = SceneId::Shortcut;
                } else if (word == "+dialog") {
                    sceneId = SceneId::Dialog;
                } else if (word == "+menubar") {
                    sceneId = SceneId::Bar;
                } else {
                    src.fail(e, "\"" + word + "\" is no place of the screenshots nor a step option");
                }
            }
            const Scene& sc = scene(sceneId);
            p.step.background = sc.background;
            if (sc.piece) p.step.image1 = ImageSlot{sc.pieceX * kTwipsPerPixel, sc.pieceY * kTwipsPerPixel, sc.piece};
            if (sc.menuBar) {
                p.step.menuBar = Rect{kMenuBarOrigin.x * kTwipsPerPixel, kMenuBarOrigin.y * kTwipsPerPixel, 0, 0};
            }
            if (p.spot && (typedCode(p.step.code) || !p.answer.empty())) {
                p.step.box = twips(p.spot->at);
                if (!p.answer.empty()) p.step.answer = textNumber(p.answer);
                if (!p.prefill.empty()) p.step.prefill = textNumber(p.prefill);
            } else if (p.spot) {
                p.step.hotSpot = twips(p.spot->at);
            }
            if (oneLine) {
                if (!p.step.hotSpot) src.fail(e, "\"oneline\" takes a hot spot: \"" + parts[i] + "\"");
                p.step.hotSpot->height = 0;
            }
            if (pictureCode(p.step.code)) {
                // The layer dialog, moved out of its place the way the code will bring it back.
                const Scene& dialog = scene(SceneId::Dialog);
                const int d = p.step.code[3] - '0';
                const int dx = d == 1 || d == 6 || d == 8 ? 60 : d == 2 || d == 7 || d == 9 ? -60 : 0;
                const int dy = d == 3 || d == 8 || d == 9 ? 60 : d == 4 || d == 6 || d == 7 ? -60 : 0;
                p.step.image5 = ImageSlot{(dialog.pieceX + dx) * kTwipsPerPixel, (dialog.pieceY + dy) * kTwipsPerPixel,
                                          dialog.piece};
                p.step.snapLeft = dialog.pieceX * kTwipsPerPixel;
                p.step.snapTop = dialog.pieceY * kTwipsPerPixel;
            }
            const std::string hint = hintFor(p, menuLines);
            if (hint.empty()) src.fail(e, "no hint for the step \"" + p.step.code + "\"");
            p.step.hintText = textNumber(hint);
            p.step.hintAt = hintPlace(p, hint);
            steps.push_back(std::move(p));
        }
        // The last record shows the window at rest: the task done, nothing left open.
        Parsed end;
        end.step.code = "9999";
        end.step.background = scene(SceneId::Main).background;
        steps.push_back(std::move(end));

        const int question = static_cast<int>(unit.questions.size()) + 1;
        const int unitIndex = static_cast<int>(bank.units.size()) - 1;
        if (steps.size() > 99) src.fail(e, "a question has at most 99 steps");
        unit.questions.push_back(questionRecord(unitIndex, question, static_cast<int>(steps.size()), parts[0]));
        try {
            for (const Parsed& p : steps) unit.steps.push_back(stepRecord(p.step));
        } catch (const std::invalid_argument& x) {
            src.fail(e, x.what());
        }
    }
    if (bank.units.size() != module.units.size()) {
        throw SourceError(src.path.string() + ": no questions for unit \"" + module.units[bank.units.size()] + "\"");
    }
    return bank;
}

}  // namespace qz::tools
