// Step records of the question bank: building the fixed-column lines and checking a unit's
// files before they are written, so no learner meets a step that cannot be completed.
#pragma once

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qz::tools {

inline constexpr int kRecordColumns = 196;
// The simulated window's design area and the question panel docked on its bottom-right corner,
// in design twips (15 to a pixel).
inline constexpr int kWindowWidth = 12000, kWindowHeight = 9000;
inline constexpr int kPanelWidth = 4980, kPanelHeight = 3630;
inline constexpr int kBackButtonWidth = 1095, kBackButtonHeight = 285;
inline constexpr const char* kKeepPicture = "888888";
inline constexpr int kTwipsPerPixel = 15;  // design twips to a pixel of the 800 x 600 window
// What a hot spot of height 0 covers at most: one line of its 9-point font, with room.
inline constexpr int kOneLineHotSpot = 300;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool overlaps(const Rect& o) const {
        return left < o.left + o.width && o.left < left + width && top < o.top + o.height && o.top < top + height;
    }
};

struct ImageSlot {
    int left = 0, top = 0;
    std::string id;  // six characters
};

struct Step {
    std::string code;                       // four characters
    std::string background = kKeepPicture;  // six characters
    std::optional<ImageSlot> image1;
    std::optional<Rect> hotSpot;
    char pointer = 0;  // 'M' a cursor file, 'S' a standard pointer, else the default
    int pointerNumber = 0;
    std::optional<Rect> hintAt;  // only left and top are written
    int hintText = 0;            // line of the texts file, 0 for none
    std::optional<Rect> menuBar;  // origin in left and top
    int back = 0;                // steps the back button goes back; 0 shows none
    int backLeft = 0, backTop = 0;
    std::optional<Rect> box;     // the command box; its height takes the pointer's columns
    int prefill = 0, answer = 0;  // lines of the texts file, 0 for none
    std::optional<ImageSlot> image5;  // the dragged picture
    int snapLeft = 0, snapTop = 0;    // its target; shares the back button's columns
    std::optional<Rect> workArea;
    bool areaClick = false;  // a left press on the work area completes the step
};

// Step codes by their shape: an answer typed in a box ("0020", "0021"), a drag with keys held
// ("004S", "005S") and a picture dropped back in place ("8001"-"8009").
bool typedCode(const std::string& code);
bool dragCode(const std::string& code);
bool pictureCode(const std::string& code);

// The 196 columns of one step. Throws std::invalid_argument when a value does not fit its field.
std::string stepRecord(const Step& s);

// Where the hint label stands at most with this caption at (left, top), in design twips: the
// window sizes it to its 10.5-point bold text, which no host draws wider or taller than this.
Rect hintArea(int left, int top, const std::string& caption);
// Why a hint there would not be seen whole: outside the window, or under the step's command
// box, a real window drawn over the pictures. Empty when it is seen.
std::string hintHidden(const Rect& hint, const std::optional<Rect>& box);

// "0001" and its question text: code UUQQ, step count as two digits, the text.
std::string questionRecord(int unit, int question, int steps, const std::string& text);

class BankError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BankFacts {
    std::set<std::string> pictures;  // ids of the bank pictures written
    std::set<int> cursors;           // numbers of the cursor files written
    std::vector<std::string> textLines;  // the texts file's lines
    std::vector<std::string> menuLines;  // the menu file
};

// Checks one unit's steps file against its question file. Throws BankError naming the unit,
// the question, the step and what is wrong.
void checkUnit(int unit, const std::vector<std::string>& steps, const std::vector<std::string>& questions,
               const BankFacts& facts);

}  // namespace qz::tools
