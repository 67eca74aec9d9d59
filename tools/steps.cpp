#include "tools/steps.h"

#include <algorithm>
#include <cmath>

#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "simwindow/step_record.h"
#include "tools/menus.h"

namespace qz::tools {

namespace {

std::string digits(int value, int width) {
    std::string s = std::to_string(value);
    if (value < 0 || static_cast<int>(s.size()) > width) {
        throw std::invalid_argument(std::to_string(value) + " does not fit " + std::to_string(width) + " columns");
    }
    return std::string(static_cast<std::size_t>(width) - s.size(), '0') + s;
}

std::string sixChars(const std::string& id) {
    if (id.size() != 6) throw std::invalid_argument("a picture id is six characters: \"" + id + "\"");
    return id;
}

std::string slot(const std::optional<ImageSlot>& s) {
    if (!s) return std::string(10, '0') + kKeepPicture;
    return digits(s->left, 5) + digits(s->top, 5) + sixChars(s->id);
}

std::string rect(const std::optional<Rect>& r) {
    if (!r) return std::string(20, '0');
    return digits(r->left, 5) + digits(r->top, 5) + digits(r->width, 5) + digits(r->height, 5);
}

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What completes a step, as far as the bank may use it now.
// Context: a right click on the hot spot opens the menu whose item completes it. BarMenu: an
// item of the menu bar's drop-downs completes it, and a left click on a hot spot if it has one.
enum class Kind { OnSpot, Key, Auto, End, Typed, Drag, Picture, Context, BarMenu, Unsupported };

Kind kindOf(const std::string& code, std::string& why) {
    if (code == "0001" || code == "0002" || code == "0003" || code == "0030") return Kind::OnSpot;
    if (code == "2000") return Kind::Key;  // Enter or Space, or a right click on a hot spot
    if (code == "8888") return Kind::Auto;
    if (code == "9999") return Kind::End;
    if (typedCode(code)) return Kind::Typed;
    if (code == "8005") {
        why = "\"8005\" moves no picture";
        return Kind::Unsupported;
    }
    if (pictureCode(code)) return Kind::Picture;
    if (dragCode(code)) {
        if (code[3] < '0' || code[3] > '7') why = "no such shift state";
        return why.empty() ? Kind::Drag : Kind::Unsupported;
    }
    if (code.size() == 4 && (code[0] == 'A' || code[0] == 'B' || code[0] == 'C') && allDigits(code.substr(1))) {
        // The demonstration opens the menu under the code's title and aims at the entry it
        // names, so it has to have both.
        if (code[2] == '0') why = "a menu code whose tens digit is 0 names no entry array";
        else if (code[0] == 'B' && code[1] != '1' && code[1] != '2')
            why = "the demonstration has no title for a \"B\" menu other than B1 and B2";
        return why.empty() ? Kind::BarMenu : Kind::Unsupported;
    }
    if (code.size() == 4 && (code[0] == '3' || code[0] == '4') && allDigits(code)) {
        if (code[2] == '0') {
            why = "a menu code whose tens digit is 0 names no item";
            return Kind::Unsupported;
        }
        return Kind::Context;
    }
    const double v = platform::val(code);
    if (code.size() == 4 && allDigits(code)) {
        const int n = static_cast<int>(v);
        if (n / 1000 == 6) {
            if (n % 1000 / 100 > 7 || n % 100 == 0) why = "no such key and shift state";
            return why.empty() ? Kind::Key : Kind::Unsupported;
        }
        if (n / 1000 == 9) {
            if (n % 1000 / 100 > 7 || n % 100 == 0 || n % 100 > 7) why = "no such mouse button and shift state";
            return why.empty() ? Kind::OnSpot : Kind::Unsupported;
        }
    }
    if (v > 10000 && v <= 2147483647.0 && v == std::floor(v)) return Kind::OnSpot;  // a left click completes it
    why = "the step code is of a kind the bank does not use yet";
    return Kind::Unsupported;
}

const Rect kWindow{0, 0, kWindowWidth, kWindowHeight};
const Rect kPanel{kWindowWidth - kPanelWidth, kWindowHeight - kPanelHeight, kPanelWidth, kPanelHeight};

bool inside(const Rect& r, const Rect& outer) {
    return r.left >= outer.left && r.top >= outer.top && r.left + r.width <= outer.left + outer.width &&
           r.top + r.height <= outer.top + outer.height;
}

using steps::allZeros;
using steps::field;

int intField(const std::string& line, int from, int to) { return static_cast<int>(steps::fieldValue(line, from, to)); }
Rect rectAt(const std::string& line, int from) {
    return {intField(line, from, from + 4), intField(line, from + 5, from + 9), intField(line, from + 10, from + 14),
            intField(line, from + 15, from + 19)};
}

}  // namespace

bool typedCode(const std::string& code) { return code == "0020" || code == "0021"; }
bool dragCode(const std::string& code) {
    return code.size() == 4 && (code.starts_with("004") || code.starts_with("005"));
}
bool pictureCode(const std::string& code) {
    return code.size() == 4 && code.starts_with("800") && code[3] >= '1' && code[3] <= '9';
}

std::string stepRecord(const Step& s) {
    if (s.code.size() != 4) throw std::invalid_argument("a step code is four characters: \"" + s.code + "\"");
    std::string r = "00000" "00" + s.code + sixChars(s.background) + slot(s.image1) + slot({}) + slot({});
    r += rect(s.hotSpot);
    if (s.box) {
        if (s.pointer) throw std::invalid_argument("a step with a command box has no pointer");
        r += rect(s.box);
    } else {
        // No command box: its height columns carry the pointer instead.
        r += std::string(15, '0');
        r += s.pointer ? std::string(1, s.pointer) + "00" + digits(s.pointerNumber, 2) : std::string(5, '0');
    }
    r += digits(s.prefill, 3) + digits(s.answer, 3);
    r += s.hintAt ? digits(s.hintAt->left, 5) + digits(s.hintAt->top, 5) : std::string(10, '0');
    r += digits(s.hintText, 3);
    if (s.back > 0) {
        r += "Q000" + digits(s.back, 1) + "00000";
    } else if (s.menuBar) {
        r += digits(s.menuBar->left, 5) + digits(s.menuBar->top, 5);
    } else {
        r += std::string(10, '0');
    }
    r += slot({}) + slot(s.image5);
    if (s.back > 0 && s.image5) throw std::invalid_argument("a picture's target and the back button share columns");
    r += s.back > 0 ? digits(s.backLeft, 5) + digits(s.backTop, 5)
         : s.image5 ? digits(s.snapLeft, 5) + digits(s.snapTop, 5)
                    : std::string(10, '0');
    if (s.workArea) {
        r += digits(s.workArea->left, 5) + (s.areaClick ? "0" : "1") + digits(s.workArea->top, 4) +
             digits(s.workArea->width, 5) + digits(s.workArea->height, 5);
    } else {
        r += std::string(20, '0');
    }
    return r;
}

Rect hintArea(int left, int top, const std::string& caption) {
    // A character outside ASCII one em of 14 pixels, any other half of it, and each with room
    // for the bold stroke.
    int width = 0;
    for (const char32_t c : platform::toU32(caption)) width += c < 0x80 ? 9 : 15;
    return {left, top, width * kTwipsPerPixel, 22 * kTwipsPerPixel};
}

std::string hintHidden(const Rect& hint, const std::optional<Rect>& box) {
    if (!inside(hint, kWindow)) return "the hint leaves the window";
    if (box && box->overlaps(hint)) return "the command box lies over the hint";
    return {};
}

std::string questionRecord(int unit, int question, int steps, const std::string& text) {
    return digits(unit, 2) + digits(question, 2) + digits(steps, 2) + text;
}

void checkUnit(int unit, const std::vector<std::string>& steps, const std::vector<std::string>& questions,
               const BankFacts& facts) {
    const std::string where = "unit " + std::to_string(unit);
    const int texts = static_cast<int>(facts.textLines.size());
    std::size_t line = 0;
    for (std::size_t q = 0; q < questions.size(); ++q) {
        const std::string qwhere = where + " question " + std::to_string(q + 1);
        const std::string& rec = questions[q];
        if (rec.size() < 7 || !allDigits(rec.substr(0, 6))) throw BankError(qwhere + ": no step count in columns 5-6");
        const int count = std::stoi(rec.substr(4, 2));
        if (count < 1) throw BankError(qwhere + ": a question has at least its last step");
        // A task with a picture names it in the six characters after "picture".
        if (rec.compare(6, 7, "picture") == 0) {
            const std::string id = rec.substr(13, 6);
            if (!facts.pictures.contains(id)) throw BankError(qwhere + ": no picture \"" + id + "\" for the task");
        }
        if (line + static_cast<std::size_t>(count) > steps.size()) {
            throw BankError(qwhere + ": the steps file ends before its " + std::to_string(count) + " steps");
        }
        std::optional<Rect> hintAt;
        std::string hintCaption;
        steps::HintMarks hintMarks;
        for (int k = 1; k <= count; ++k, ++line) {
            const std::string& s = steps[line];
            const auto fail = [&](const std::string& what) {
                throw BankError(qwhere + " step " + std::to_string(k) + ": " + what);
            };
            if (platform::charCount(s) != static_cast<std::size_t>(kRecordColumns)) {
                fail("a record is " + std::to_string(kRecordColumns) + " columns");
            }
            if (!std::all_of(s.begin(), s.end(), [](char c) { return c > ' ' && c < 127; })) {
                fail("a record is plain characters");
            }
            const std::string code = field(s, 8, 11);
            // The demonstration takes these to the hot spot whatever else completes them.
            const bool aimsAtSpot = code == "0001" || code == "0002" || code == "0003" || code == "2000" ||
                                    (code.starts_with("9") && code != "9999");
            const bool menuCode = code.size() == 4 && allDigits(code.substr(1)) &&
                                  (code[0] == 'A' || code[0] == 'B' || code[0] == 'C' || code[0] == '3' || code[0] == '4');
            std::string why;
            Kind kind = kindOf(code, why);
            // A press on the work area would complete it, but the demonstration still opens its menu.
            if (menuCode && kind == Kind::Unsupported) fail("\"" + code + "\": " + why);
            const bool hasBox = steps::fieldValue(s, 86, 105) != 0;
            const bool hasArea = !allZeros(s, 187, 196);
            const int answer = intField(s, 109, 111);
            // A press on the work area completes any step; a typed answer any step showing the box.
            const bool areaClick = hasArea && s[181] == '0' && field(s, 6, 7) != "EE";
            if (kind != Kind::End && areaClick) kind = Kind::OnSpot;
            else if ((kind == Kind::OnSpot || kind == Kind::BarMenu || kind == Kind::Context) && hasBox && answer > 0)
                kind = Kind::Typed;
            if (kind == Kind::Unsupported) fail("\"" + code + "\": " + why);
            if ((kind == Kind::End) != (k == count)) fail("a question ends in its only \"9999\"");

            const std::string background = field(s, 12, 17);
            if (k == 1 && background == kKeepPicture) fail("the first step names its background");
            if (background != kKeepPicture && !facts.pictures.contains(background)) {
                fail("no picture \"" + background + "\"");
            }
            for (const int at : {18, 34, 50, 135, 151}) {
                const std::string id = field(s, at + 10, at + 15);
                if (!allZeros(s, at, at + 9) && id != kKeepPicture && !facts.pictures.contains(id)) {
                    fail("no picture \"" + id + "\"");
                }
            }

            const Rect box = rectAt(s, 86);
            const Rect area{intField(s, 177, 181), intField(s, 183, 186), intField(s, 187, 191), intField(s, 192, 196)};
            Rect spot = rectAt(s, 66);
            if (kind == Kind::Key && hasBox) fail("the command box would take the key");
            const int prefill = intField(s, 106, 108);
            if (answer > texts || prefill > texts) fail("no text " + field(s, answer > texts ? 109 : 106, 111));
            // A bar menu step with a hot spot is completed by a left click on it as well.
            const bool byMenuAlone = kind == Kind::BarMenu && allZeros(s, 66, 85);
            if ((kind == Kind::Context || byMenuAlone) && !menuItemOf(facts.menuLines, code))
                fail("\"" + code + "\" names no item of the menu file");
            // The demonstration opens every menu code's menu, whatever else completes the step,
            // and reads some codes as another menu than the window does.
            if (menuCode && kind != Kind::Typed) {
                const auto shown = demoMenuItemOf(facts.menuLines, code);
                if (!shown) fail("\"" + code + "\" names no entry of the demonstration's menu");
                if (shown != menuItemOf(facts.menuLines, code))
                    fail("the demonstration shows another entry for \"" + code + "\" than the window takes");
            }
            if (byMenuAlone && (allZeros(s, 125, 134) || s[124] == 'Q')) fail("the menu bar is not shown");
            const bool spotted =
                (kind == Kind::OnSpot || kind == Kind::Context || kind == Kind::BarMenu || (kind == Kind::Key && aimsAtSpot && !allZeros(s, 66, 85))) &&
                !byMenuAlone && !areaClick;
            if (areaClick) {
                if (!inside(area, kWindow) || area.overlaps(kPanel)) fail("the work area is out of reach");
                if (spot.height == 0) spot.height = kOneLineHotSpot;
                if (!allZeros(s, 66, 85) && !inside(spot, area)) fail("the hot spot lies outside the work area");
            } else if (kind == Kind::Typed) {
                if (!hasBox || !inside(box, kWindow) || box.overlaps(kPanel)) fail("the command box is out of reach");
                const auto text = [&](int n) {
                    const auto at = static_cast<std::size_t>(n - 1);
                    return at < facts.textLines.size() ? platform::midChars(facts.textLines[at], 4) : std::string();
                };
                if (code == "0021" && text(answer).find('|') != std::string::npos)
                    fail("the rename box takes no alternatives");
                if (!typedCode(code) && answer == 0) fail("a confirmed step names its answer");
            } else if (kind == Kind::Drag) {
                if (!hasArea || !inside(area, kWindow) || area.overlaps(kPanel)) fail("the work area is out of reach");
                if (allZeros(s, 66, 85) || !inside(spot, kWindow) || spot.overlaps(kPanel)) {
                    fail("the drop has no place");
                }
                if (code[2] == '5' && !hasBox) {
                    const int number = intField(s, 104, 105);
                    if (s[100] == 'S' ? number < 1 || number > 15 : !facts.cursors.contains(number))
                        fail("the drag's pointer never differs from the default one");
                }
            } else if (kind == Kind::Picture) {
                if (allZeros(s, 151, 160)) fail("no picture to drag");
                const Rect target{intField(s, 167, 171), intField(s, 172, 176), 1, 1};
                if (!inside(target, kWindow)) fail("the picture's target leaves the window");
            } else if (spotted) {
                // Height 0 is one line of the hot spot's font; under a pixel no pointer finds it.
                if (allZeros(s, 66, 85) || spot.width < kTwipsPerPixel || (spot.height != 0 && spot.height < kTwipsPerPixel))
                    fail("the hot spot is smaller than a pixel");
                if (spot.height == 0) spot.height = kOneLineHotSpot;
                if (!inside(spot, kWindow)) fail("the hot spot leaves the window");
                if (spot.overlaps(kPanel)) fail("the question panel covers the hot spot");
                if (hasBox && box.overlaps(spot)) fail("the command box lies over the hot spot");
                if (hasArea && area.overlaps(spot)) fail("the work area lies over the hot spot");
            }
            if (aimsAtSpot && allZeros(s, 66, 85)) fail("the demonstration aims \"" + code + "\" at a hot spot it has not");
            if (!hasBox && s[100] == 'M' && !facts.cursors.contains(intField(s, 104, 105))) {
                fail("no cursor file for pointer " + field(s, 104, 105));
            }
            const int hint = intField(s, 122, 124);
            if (hint > texts) fail("no text " + field(s, 122, 124));
            // The hint as the window shows it, where it shows it: a record without a place keeps
            // the last one's, and its typing prefix too.
            const bool hintCarried = allZeros(s, 112, 121);
            if (!hintCarried) {
                hintAt = Rect{intField(s, 112, 116), intField(s, 117, 121), 0, 0};
                hintCaption = hint == 0 ? "  " : platform::midChars(facts.textLines[static_cast<std::size_t>(hint - 1)], 4);
            }
            hintCaption = steps::typingHint(code, hintCaption, hintCarried, hintMarks);
            // Guided help shows it on every record but the last, where the demonstration writes
            // its success in the label instead.
            if (kind == Kind::End) hintCaption = "操作成功！";
            if (hintAt) {
                const std::string hidden =
                    hintHidden(hintArea(hintAt->left, hintAt->top, hintCaption), hasBox ? std::optional(box) : std::nullopt);
                if (!hidden.empty()) fail(hidden);
            }
            if (s[124] == 'Q') {
                const int back = std::max(1, s[128] - '0');
                if (s[128] < '0' || s[128] > '9') fail("the back step count is one digit");
                if (back >= k) fail("the back button goes before the first step");
                const Rect button{intField(s, 167, 171), intField(s, 172, 176), kBackButtonWidth, kBackButtonHeight};
                if (!inside(button, kWindow) || button.overlaps(kPanel)) fail("the back button is out of reach");
                if (spotted && button.overlaps(spot)) fail("the back button lies over the hot spot");
            }
        }
    }
    if (line != steps.size()) throw BankError(where + ": the steps file has records no question counts");
}

}  // namespace qz::tools
