#include "demo/frmYanShi.h"

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <vector>

#include "app/program.h"
#include "demo/pointer_motion.h"
#include "forms/on_error.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "simwindow/menu_file.h"
#include "simwindow/step_record.h"

namespace qz {

using steps::allZeros;
using steps::field;
using steps::field16;
using steps::fieldValue;

namespace {

using forms::colors::Red;
using forms::colors::Yellow;
using forms::colors::Green;
constexpr forms::Color LightYellow = 0xC0FFFF;
using forms::colors::Highlight;
constexpr int Parked = -100;

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool startsWithAny(const std::string& s, const char* chars) {
    return !s.empty() && std::string(chars).find(s[0]) != std::string::npos;
}
std::string beforeBar(const std::string& s) { return s.substr(0, s.find('|')); }

// A Long sum, overflowing as the platform's does.
std::int32_t addLong(std::int32_t a, std::int32_t b) {
    const std::int64_t s = static_cast<std::int64_t>(a) + b;
    if (s > std::numeric_limits<std::int32_t>::max() || s < std::numeric_limits<std::int32_t>::min())
        throw platform::VbError(6, "Overflow");
    return static_cast<std::int32_t>(s);
}

// The drawn arrow, in design twips from the pointer point.
struct ArrowLine {
    int x1, y1, x2, y2;
};
constexpr ArrowLine Outline[7] = {{60, 0, 60, 240},    {60, 240, 120, 180},  {120, 180, 180, 300},
                                  {150, 150, 225, 285}, {165, 150, 240, 150}, {60, -15, 240, 165},
                                  {195, 300, 225, 270}};
constexpr ArrowLine Fill[6] = {{75, 15, 75, 210},     {105, 45, 105, 180},  {135, 75, 135, 150},
                               {165, 105, 165, 135}, {195, 120, 195, 135}, {135, 165, 210, 285}};

}  // namespace

frmYanShi::frmYanShi(Program& p)
    : forms::Form(p.rt, "frmYanShi"),
      ImgLogo(this, "ImgLogo"),
      Image1(this, "Image1"),
      Image2(this, "Image2"),
      Image3(this, "Image3"),
      Image4(this, "Image4"),
      Image5(this, "Image5"),
      Label1(this, "Label1"),
      Shape1(this, "Shape1"),
      Label4(this, "Label4"),
      Shape4(this, "Shape4"),
      Shape5(this, "Shape5"),
      Shape6(this, "Shape6"),
      Text1(this, "Text1"),
      Text2(this, "Text2"),
      LHelp(this, "LHelp"),
      LMenu(this, "LMenu"),
      LMBack(this, "LMBack"),
      ImgICO(this, "ImgICO"),
      LPoint(this, "LPoint"),
      LPoinB(this, "LPoinB"),
      LRightMMenu(this, "LRightMMenu"),
      ShapeRMain(this, "ShapeRMain"),
      LRMJL(this, "LRMJL"),
      ImgJLSanjiao(this, "ImgJLSanjiao"),
      LRM2(this, "LRM2"),
      LRM4(this, "LRM4"),
      LRM6(this, "LRM6"),
      LRM9(this, "LRM9"),
      LRFGX(this, "LRFGX"),
      LRightSub(this, "LRightSub"),
      ShapeRSUB(this, "ShapeRSUB"),
      LRS(this, "LRS"),
      LRSFgx(this, "LRSFgx"),
      Timer1(this, "Timer1"),
      Timer2(this, "Timer2"),
      Timer3(this, "Timer3"),
      Timer5(this, "Timer5"),
      TimerRM(this, "TimerRM"),
      TimerRS(this, "TimerRS"),
      TimEnd(this, "TimEnd"),
      p_(p) {
    setFormBorderStyle(0);
    setBackColor(forms::colors::Black);
    setShowInTaskbar(false);
    // The end keys must reach the window whatever holds the focus.
    setKeyPreview(true);

    const char* const designTitles[11] = {"文件(&F)", "编辑(&E)", "查看(&V)", "收藏(&A)", "工具(&T)", "帮助(&H)",
                                          "工具(&T)", "工具(&T)", "工具(&T)", "工具(&T)", "工具(&T)"};
    for (int i = 0; i <= 10; ++i) {
        forms::Label& back = LMBack.load(i);
        back.setBackStyle(1);
        back.setBackColor(Highlight);
        back.setCaption("");
        back.setVisible(false);
        forms::Label& title = LMenu.load(i);
        title.setBackStyle(0);
        title.setAutoSize(true);
        title.setCaption(designTitles[i]);
        title.setVisible(false);
    }
    for (int i = 0; i <= 7; ++i) LPoint.load(i).setBorderColor(forms::colors::WindowText);
    for (int i = 0; i <= 5; ++i) {
        forms::Line& l = LPoinB.load(i);
        l.setBorderColor(forms::colors::White);
        l.setBorderWidth(2);
    }
    for (int i : {1, 3, 5, 7, 8}) {
        LRMJL.load(i).setVisible(false);
        ImgJLSanjiao.load(i).setVisible(false);
    }
    for (int i = 0; i <= 9; ++i) {
        for (auto* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRS}) a->load(i).setVisible(false);
        LRFGX.load(i).setVisible(false);
    }
    for (int i = 0; i <= 5; ++i) LRSFgx.load(i).setVisible(false);
    for (forms::Control* c : std::initializer_list<forms::Control*>{&LRightMMenu, &ShapeRMain, &LRightSub, &ShapeRSUB})
        c->setVisible(false);

    ImgLogo.setBackStyle(1);
    ImgLogo.setBackColor(LightYellow);
    ImgLogo.setWordWrap(true);
    for (forms::Label* l : {&Label1, &Label4}) {
        l->setBackStyle(0);
        l->setCaption("");
    }
    Shape1.setBorderColor(Red);
    Shape1.setBorderWidth(2);
    Shape1.setVisible(false);
    Shape4.setBorderColor(Green);
    Shape4.setBorderWidth(2);
    Shape4.setVisible(false);
    Shape5.setShape(2);
    Shape5.setBorderWidth(2);
    Shape5.setBorderColor(Red);
    Shape5.move(-500, -500, 375, 375);
    Shape5.setVisible(false);
    Shape6.setBorderColor(forms::colors::White);
    Shape6.setBorderStyle(3);
    Shape6.setVisible(false);
    LHelp.setBackStyle(1);
    LHelp.setBackColor(Yellow);
    LHelp.setForeColor(Red);
    LHelp.setAutoSize(true);
    LHelp.setFont({"宋体", 10.5, true});
    LHelp.setVisible(false);
    Text1.setVisible(false);
    Text2.setVisible(false);
    Text2.setText("新建文件夹");
    ImgICO.move(0, 0, 480, 480);
    ImgICO.setVisible(false);

    buildMenuControls();

    // Stacking, bottom first; the text boxes, being windows, stand above all of it.
    std::vector<forms::Control*> stack = {&Image1, &Image2, &Image3, &Image4, &Image5, &Label1, &Label4, &Shape4, &Shape6};
    for (int i = 0; i <= 10; ++i) stack.push_back(&LMBack(i));
    for (int i = 0; i <= 10; ++i) stack.push_back(&LMenu(i));
    stack.push_back(&LHelp);
    stack.push_back(&ImgLogo);
    stack.push_back(&LRightMMenu);
    stack.push_back(&ShapeRMain);
    for (int i = 0; i <= 9; ++i) stack.push_back(&LRFGX(i));
    for (int i : {1, 3, 5, 7, 8}) {
        stack.push_back(&LRMJL(i));
        stack.push_back(&ImgJLSanjiao(i));
    }
    for (auto* a : {&LRM2, &LRM4, &LRM6, &LRM9})
        for (int i = 0; i <= 9; ++i) stack.push_back(&(*a)(i));
    stack.push_back(&LRightSub);
    stack.push_back(&ShapeRSUB);
    for (int i = 0; i <= 5; ++i) stack.push_back(&LRSFgx(i));
    for (int i = 0; i <= 9; ++i) stack.push_back(&LRS(i));
    stack.push_back(&Shape1);
    stack.push_back(&Shape5);
    stack.push_back(&ImgICO);
    for (int i = 0; i <= 7; ++i) stack.push_back(&LPoint(i));
    for (int i = 0; i <= 5; ++i) stack.push_back(&LPoinB(i));
    for (forms::Control* c : stack) c->zOrder(0);

    Timer1.setInterval(500);
    for (forms::Timer* t : {&Timer2, &Timer3, &Timer5, &TimerRM, &TimerRS, &TimEnd}) t->setInterval(100);
    for (forms::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer5, &TimerRM, &TimerRS, &TimEnd}) t->setEnabled(false);
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.Tick = [this] { Timer3_Timer(); };
    Timer5.Tick = [this] { Timer5_Timer(); };
    TimerRM.Tick = [this] { TimerRM_Timer(); };
    TimerRS.Tick = [this] { TimerRS_Timer(); };
    TimEnd.Tick = [this] { TimEnd_Timer(); };
    Image1.DblClick = [this] { Image1_DblClick(); };
    Image2.DblClick = [this] { Image2_DblClick(); };
    Image3.DblClick = [this] { Image3_DblClick(); };
    Image4.DblClick = [this] { Image4_DblClick(); };
    Image5.DblClick = [this] { Image5_DblClick(); };
}

int frmYanShi::sx(double v) const { return p_.sx(v); }
int frmYanShi::sy(double v) const { return p_.sy(v); }

std::string frmYanShi::code() const { return steps::stepCode(record_); }

// ---- window, step cycle and end ----

void frmYanShi::Form_Load() {
    forms::OnError on;
    Shared& g = p_.g;
    on([&] { setIcon(p_.SkinPicture("l62011")); });
    on([&] { PointerX = platform::clng(6000 * g.ScaleX); });
    on([&] { PointerY = platform::clng(4500 * g.ScaleY); });
    // A first step that names no target stays where the pointer is.
    TargetX = PointerX;
    TargetY = PointerY;
    on([&] { move(left(), top(), sx(12000), sy(9000)); });
    on([&] { setWindowState(0); });
    on([&] {
        ImgLogo.move(sx(9420), sy(7620), sx(2535), ImgLogo.height());
        ImgLogo.setFontSize(9 * g.ScaleX);
    });
    on([&] {
        FrmTm* tm = p_.loadedFrmTm();
        if (tm) ImgLogo.setCaption(platform::trimSpaces(tm->RtbTM.text()));
    });
    on([&] {
        const auto lines = static_cast<long>(platform::charCount(ImgLogo.caption())) / 14 + 1;
        ImgLogo.setHeight(sy(static_cast<double>(lines) * 180 + 15));
    });
    on([&] { ImgLogo.setForeColor(forms::colors::ButtonText); });
    on([&] { setTopmost(true); });
    on([&] {
        const forms::Size screen = rt().host().screenSize();
        moveTo(platform::clng((screen.width - width()) / 2.0), platform::clng((screen.height - height()) / 2.0));
    });
    on([&] {
        FrmMain* m = p_.loadedFrmMain();
        if (m && m->windowState() == 0) moveTo(m->left(), m->top());
    });
    on([&] { Label1.setCaption(""); });
    // The drag pointer's first picture, which a step's missing cursor file leaves in place.
    on([&] { ImgICO.setPicture(p_.LoadPicture(platform::joinPath(g.ProgramFolder, "ico00.CUR"))); });
    for (int i = 0; i <= 10; ++i) {
        on([&] { LMenu(i).setFontSize(9 * g.ScaleX); });
        on([&] { LMBack(i).setWidth(sx(870)); });
    }
    g.InteractionMode = 1;
    PlayerStep = 1;
    on([&] { CSH(); });
    on([&] { setData(); });
}

void frmYanShi::doNext() {
    if (!p_.g.DemoRunning) return;
    if (advancing_) {
        // A passed-over step inside a layout: the advance under way takes it on its return.
        ++pendingAdvances_;
        return;
    }
    struct Advancing {
        bool& flag;
        ~Advancing() { flag = false; }
    } guard{advancing_ = true};
    pendingAdvances_ = 0;
    pending8888_ = false;
    advanceOnce();
    while (pendingAdvances_ > 0 && p_.g.DemoRunning && !stalled_) {
        --pendingAdvances_;
        advanceOnce();
    }
    pendingAdvances_ = 0;
    if (pending8888_ && p_.g.DemoRunning && !stalled_) {
        // What a passed-over 8888 does after its advance: the move as the target now stands.
        pending8888_ = false;
        forms::OnError on;
        on([&] { startMove(); });
        Timer2.setEnabled(true);
    }
}

void frmYanShi::advanceOnce() {
    if (code() == "9999") {
        Timer2.setEnabled(false);
        Shape5.moveTo(-500, -500);
        PointerX = PointerY = -500;
        startEnd();
        return;
    }
    // The steps file ended before this step: nothing goes further until the learner ends it.
    if (stalled_) return;
    if (PlayerStep == std::numeric_limits<std::int16_t>::max()) {
        stall();
        return;
    }
    ++PlayerStep;
    sMenuCSH();
    CSH();
    setData();
}

void frmYanShi::CSH() {
    if (!p_.g.DemoRunning) return;
    forms::OnError on;
    for (int i = 0; i <= 9; ++i) {
        for (auto* a : {&LRM2, &LRM4, &LRM6, &LRM9}) {
            on([&] { (*a)(i).setVisible(false); });
            on([&] { (*a)(i).setCaption(""); });
        }
        on([&] { LRFGX(i).setVisible(false); });
        on([&] { LRS(i).setVisible(false); });
        on([&] { LRS(i).setCaption(""); });
    }
    for (int i : {1, 3, 5, 7, 8}) {
        on([&] { LRMJL(i).setVisible(false); });
        on([&] { LRMJL(i).setCaption(""); });
        on([&] { ImgJLSanjiao(i).setVisible(false); });
    }
    for (int i = 0; i <= 5; ++i) on([&] { LRSFgx(i).setVisible(false); });
    for (forms::Control* c : std::initializer_list<forms::Control*>{&LRightMMenu, &ShapeRMain, &LRightSub, &ShapeRSUB})
        on([&] { c->setVisible(false); });
    on([&] { sMenuCSH(); });
    for (int i = 0; i <= 10; ++i) {
        on([&] { LMenu(i).setForeColor(forms::colors::ButtonText); });
        on([&] { LMBack(i).setVisible(false); });
    }
}

void frmYanShi::sMenuCSH() {}

void frmYanShi::startEnd() {
    if (!TimEnd.timerEnabled()) TimEnd.setEnabled(true);
}

void frmYanShi::TimEnd_Timer() {
    forms::OnError on;
    on([&] { Shape5.moveTo(-500, -500); });
    on([&] { BlinkCount = platform::cint(BlinkCount + 1.0); });
    for (forms::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer5}) t->setEnabled(false);
    if (BlinkCount <= 3) return;
    BlinkCount = 0;
    PlayerStep = 1;
    p_.g.DemoRunning = false;
    TimEnd.setEnabled(false);
    // The window goes first; nothing here touches it afterwards.
    endingByTimer_ = true;
    unload();
    handBack();
}

void frmYanShi::Form_Unload(int& cancel) {
    (void)cancel;
    for (forms::Timer* t : {&Timer1, &Timer2, &Timer3, &Timer5, &TimerRM, &TimerRS, &TimEnd}) t->setEnabled(false);
    // Any other close ends the demonstration as the end timer does, or the session's windows
    // would stay hidden for good.
    if (!endingByTimer_) handBack();
}

void frmYanShi::handBack() {
    if (handedBack_) return;
    handedBack_ = true;
    Shared& g = p_.g;
    g.DemoRunning = false;
    forms::OnError on;
    // Only windows still there: a hand-in may have closed the session meanwhile.
    on([&] {
        if (FrmMain* m = p_.loadedFrmMain()) m->show();
    });
    on([&] {
        if (FrmTm* tm = p_.loadedFrmTm()) tm->TimerREDO.setEnabled(true);
    });
    on([&] {
        if (FrmTm* tm = p_.loadedFrmTm()) tm->show();
    });
}

void frmYanShi::Form_DblClick() { startEnd(); }
void frmYanShi::Image1_DblClick() { startEnd(); }
void frmYanShi::Image2_DblClick() { startEnd(); }
void frmYanShi::Image3_DblClick() { startEnd(); }
void frmYanShi::Image4_DblClick() { startEnd(); }
void frmYanShi::Image5_DblClick() { startEnd(); }

// The player takes every key before its text boxes, which no key edits.
void frmYanShi::Form_KeyDown(int& keyCode, int shift) {
    (void)shift;
    keyCode = 0;
}

void frmYanShi::Form_KeyPress(int& keyAscii) { keyAscii = 0; }

void frmYanShi::Form_KeyUp(int& keyCode, int shift) {
    (void)shift;
    const int key = keyCode;
    keyCode = 0;
    if (key == 13 || key == 32 || key == 27) startEnd();
}

void frmYanShi::stall() {
    stalled_ = true;
    for (forms::Timer* t : {&Timer1, &Timer2, &Timer3, &TimerRM, &TimerRS}) t->setEnabled(false);
}

// ---- step layout ----

void frmYanShi::setData() {
    forms::OnError on;
    Shared& g = p_.g;
    on([&] {
        for (forms::TextBox* t : {&Text1, &Text2}) {
            forms::Font f = t->font();
            f.size = 9 * g.ScaleX;
            t->setFont(f);
        }
    });
    on([&] {
        if (FrmTm* tm = p_.loadedFrmTm()) tm->setTopmost(true);
    });
    on([&] {
        if (visible()) show();
    });
    BlinkCount = 0;
    on([&] { Shape6.move(Shape6.left(), Shape6.top(), 10, 10); });
    DragStarted = false;
    cursorTried_ = false;

    // The step's line, read from the file's start. A file that ends before it (or cannot be
    // read) leaves the last line, which must not be played again and again.
    bool reached = false;
    on([&] {
        const auto q = static_cast<std::size_t>(std::clamp<int>(g.CurrentQuestion, 0, 500));
        const long n = static_cast<long>(g.FirstStepLine[q]) + PlayerStep - 1;
        long count = 0;
        std::optional<std::string> last;
        platform::forEachRawLine(g.StepsFilePath, [&](const std::string& bytes) {
            last = bytes;
            return ++count != n;
        });
        reached = last.has_value() && count == n;
        if (last) {
            g.StepLine = platform::decodeAnsi(*last);
            record_ = g.StepLine;
        }
    });
    if (!reached) stall();
    const std::string r = record_;
    const std::string c = code();

    on([&] {
        const std::string id = field(r, 12, 17);
        if (id != "888888") setPicture(p_.LoadPicture(g.DataDir + id + ".mxy"));
    });
    forms::Image* images[5] = {&Image1, &Image2, &Image3, &Image4, &Image5};
    const int slots[5] = {18, 34, 50, 135, 151};
    for (int k = 0; k < 5; ++k) {
        forms::Image& im = *images[k];
        const int s = slots[k];
        if (allZeros(r, s, s + 9)) {
            on([&] { im.setVisible(false); });
            continue;
        }
        on([&] { im.setLeft(sx(field16(r, s, s + 4))); });
        on([&] { im.setTop(sy(field16(r, s + 5, s + 9))); });
        on([&] {
            const std::string id = field(r, s + 10, s + 15);
            if (id != "888888") im.setPicture(p_.LoadPicture(g.DataDir + id + ".mxy"));
        });
        on([&] { im.setVisible(true); });
    }
    on([&] { SnapX = field16(r, 167, 171); });
    on([&] { SnapY = field16(r, 172, 176); });

    // Hot spot.
    if (allZeros(r, 66, 85)) {
        on([&] { Label1.setWidth(sx(1)); });
        on([&] { Label1.setHeight(sy(1)); });
    } else {
        on([&] { Label1.setVisible(true); });
        // A label still sizing itself from an earlier step would not take the width.
        on([&] {
            if (field16(r, 81, 85) != 0) Label1.setAutoSize(false);
        });
        on([&] { Label1.setLeft(sx(field16(r, 66, 70))); });
        on([&] { Label1.setTop(sy(field16(r, 71, 75))); });
        on([&] { Label1.setWidth(sx(field16(r, 76, 80))); });
        on([&] {
            const std::int16_t h = field16(r, 81, 85);
            if (h != 0) Label1.setHeight(sy(h));
            else Label1.setAutoSize(true);
        });
    }
    on([&] { Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height()); });

    // Command box.
    on([&] {
        if (fieldValue(r, 86, 105) == 0) {
            Text1.setVisible(false);
            Text2.setVisible(false);
            return;
        }
        Text1.setVisible(true);
        on([&] { Text1.setLeft(sx(field16(r, 86, 90))); });
        on([&] { Text1.setTop(sy(field16(r, 91, 95))); });
        on([&] { Text1.setWidth(sx(field16(r, 96, 100))); });
        on([&] { Text1.setHeight(sy(field16(r, 101, 105))); });
        std::string text;
        on([&] {
            if (field(r, 106, 108) != "000")
                if (auto line = steps::numberedLine(g.TextsFilePath, field16(r, 106, 108))) text = steps::textOf(*line);
        });
        Text1.setText(text);
        on([&] { Text1.setFocus(); });
        Text1.setSelStart(0);
        Text1.setSelLength(static_cast<int>(platform::charCount(Text1.text())));
    });

    // Hint.
    const bool hintCarried = allZeros(r, 112, 121);
    if (!hintCarried) {
        hint_ = {};
        on([&] { LHelp.setVisible(true); });
        on([&] { LHelp.setLeft(sx(field16(r, 112, 116))); });
        on([&] { LHelp.setTop(sy(field16(r, 117, 121))); });
        std::string caption = "  ";
        on([&] {
            if (field(r, 122, 124) != "000") {
                caption.clear();
                if (auto line = steps::numberedLine(g.TextsFilePath, field16(r, 122, 124)))
                    caption = steps::textOf(*line);
            }
        });
        hintText_ = caption;
        LHelp.setCaption(caption);
    }
    LHelp.setVisible(true);
    Shape1.setVisible(true);

    // Menu bar: shown by the value of its ten columns.
    bool bar = false;
    on([&] { bar = fieldValue(r, 125, 134) != 0; });
    if (bar) {
        on([&] { MenuBarX = field16(r, 125, 129); });
        on([&] { MenuBarY = field16(r, 130, 134); });
        on([&] { setMenuPos(); });
    }
    for (int i = 0; i <= 10; ++i) {
        LMenu(i).setVisible(bar);
        LMBack(i).setVisible(false);
    }

    on([&] { StepCodeValue = steps::stepCodeValue(c); });
    if (!c.empty() && (c[0] == 'A' || c[0] == 'B' || c[0] == 'C'))
        for (int i = 0; i <= 10; ++i) LMenu(i).setCaption(menus::BarTitles[static_cast<std::size_t>(i)]);
    for (int i = 0; i <= 10; ++i) {
        LMenu(i).setForeColor(forms::colors::ButtonText);
        LMBack(i).setVisible(false);
    }

    // Work area.
    if (!allZeros(r, 187, 196)) {
        on([&] { Label4.setVisible(true); });
        on([&] { Label4.setLeft(sx(field16(r, 177, 181))); });
        on([&] { Label4.setTop(sy(field16(r, 183, 186))); });
        on([&] { Label4.setWidth(sx(field16(r, 187, 191))); });
        on([&] { Label4.setHeight(sy(field16(r, 192, 196))); });
    } else {
        Label4.move(-1, Label4.top(), 1, 1);
    }
    Shape4.move(Label4.left(), Label4.top(), Label4.width(), Label4.height());

    // An 8888 step is passed over before the picture-drag mover could tick on it.
    Timer3.setEnabled(false);

    if (c == "9999") {
        hintText_ = "操作成功！";
        hint_ = {};
        LHelp.setCaption(hintText_);
        startEnd();
        return;
    }
    Shape1.setVisible(LHelp.visible());
    if (c == "0021") {
        Shape1.setVisible(false);
        Text2.setText(Text1.text());
        Text2.move(Text1.left(), Text1.top(), Text1.width(), Text1.height());
        Text2.setVisible(true);
        Text1.setVisible(false);
    } else {
        Text2.setVisible(false);
    }
    if (c == "0020" || c == "0021" || c == "A111") {
        if (c != "A111") Shape1.setVisible(false);
        // A carried-over hint already shows its prefix; what is typed is the text under it.
        TypedText = hintCarried && hint_.prefixed ? hintText_ : LHelp.caption();
        LHelp.setCaption(steps::typingHint(c, LHelp.caption(), hintCarried, hint_));
    }
    on([&] { CSH(); });
    if (stalled_) return;
    on([&] { MuBiaoWei(); });
}

void frmYanShi::setMenuPos() {
    forms::OnError on;
    Shared& g = p_.g;
    for (int i = 0; i <= 10; ++i) {
        forms::Label& title = LMenu(i);
        forms::Label& back = LMBack(i);
        on([&] { title.setLeft(platform::clng((MenuBarX + 810.0 * i) * g.ScaleX)); });
        on([&] { title.setTop(platform::clng(MenuBarY * g.ScaleY)); });
        title.setForeColor(forms::colors::ButtonText);
        on([&] { back.setWidth(sx(810)); });
        on([&] { back.setHeight(sy(255)); });
        on([&] { back.setLeft(platform::clng(title.left() + (title.width() - back.width()) / 2.0)); });
        on([&] { back.setTop(platform::clng(title.top() + (title.height() - back.height()) / 2.0)); });
        back.setVisible(false);
    }
}

// ---- pointer targeting and motion ----

void frmYanShi::startMove() {
    const motion::Move m = motion::computeMove(PointerX, PointerY, TargetX, TargetY);
    StepLength = m.stepLength;
    StepX = m.stepX;
    StepY = m.stepY;
}

bool frmYanShi::arrived() const {
    return motion::arrived(PointerX, PointerY, TargetX, TargetY, StepLength, 120 * p_.g.ScaleX);
}

void frmYanShi::stepPointer() {
    forms::OnError on;
    on([&] { PointerX = addLong(PointerX, StepX); });
    on([&] { PointerY = addLong(PointerY, StepY); });
    on([&] { pointMove(); });
}

void frmYanShi::startClickMarker() {
    forms::OnError on;
    on([&] { Shape5.moveTo(addLong(PointerX, -180), addLong(PointerY, -180)); });
    Timer5.setEnabled(true);
}

void frmYanShi::MuBiaoWei() {
    if (!p_.g.DemoRunning) return;
    forms::OnError on;
    const std::string c = code();
    const std::string c3 = c.substr(0, 3);
    auto aimAt = [&](const forms::Control& ctl) {
        on([&] { TargetX = motion::centre(ctl.left(), ctl.width()); });
        on([&] { TargetY = motion::centre(ctl.top(), ctl.height()); });
    };
    if (c == "0001" || c == "0002" || c == "2000" || c == "0003" || startsWithAny(c, "345T9")) aimAt(Label1);
    if (startsWithAny(c, "ABCD")) {
        on([&] {
            const int n = static_cast<int>(platform::val(c.substr(1, 1))) - 1 + (c[0] == 'B' ? 9 : 0);
            // A title that does not exist keeps the previous target.
            if (n >= 0 && n <= 10) aimAt(LMenu(n));
        });
    }
    if (c3 == "004" || c3 == "005") aimAt(Label4);
    if (c3 == "002" || c3 == "A11") {
        on([&] { TargetX = addLong(Text1.left(), 300); });
        on([&] { TargetY = motion::centre(Text1.top(), Text1.height()); });
    }
    if (c3 == "800") aimAt(Image5);
    if (startsWith(c, "6")) {
        TargetX = PointerX;
        TargetY = PointerY;
        doNext();
        return;
    }
    if (StepCodeValue == 8888) {
        const bool inside = advancing_;
        doNext();
        if (inside) {
            // The advance under way lays the next step out first; the move follows it.
            pending8888_ = true;
            return;
        }
        if (stalled_ || !p_.g.DemoRunning) return;
    }
    on([&] { startMove(); });
    Timer2.setEnabled(true);
}

void frmYanShi::pointMove() {
    const Shared& g = p_.g;
    auto at = [&](std::int32_t base, int offset, double scale) { return platform::clng(base + offset * scale); };
    for (int i = 0; i < 7; ++i) {
        const ArrowLine& l = Outline[i];
        LPoint(i).setPoints(at(PointerX, l.x1, g.ScaleX), at(PointerY, l.y1, g.ScaleY), at(PointerX, l.x2, g.ScaleX),
                            at(PointerY, l.y2, g.ScaleY));
    }
    LPoint(7).setPoints(LPoint(2).x2(), LPoint(2).y2(), LPoint(6).x1(), LPoint(6).y1());
    for (int i = 0; i < 6; ++i) {
        const ArrowLine& l = Fill[i];
        LPoinB(i).setPoints(at(PointerX, l.x1, g.ScaleX), at(PointerY, l.y1, g.ScaleY), at(PointerX, l.x2, g.ScaleX),
                            at(PointerY, l.y2, g.ScaleY));
    }
}

void frmYanShi::Timer2_Timer() {
    forms::OnError on;
    Shared& g = p_.g;
    const std::string c = code();
    const std::string c3 = c.substr(0, 3);
    if (c == "0002") Shape5.setBorderColor(Green);
    else if (c == "0003" || startsWithAny(c, "345")) Shape5.setBorderColor(Yellow);
    else Shape5.setBorderColor(Red);
    if (!g.DemoRunning) {
        Timer2.setEnabled(false);
        return;
    }
    on([&] { Shape6.move(Shape6.left(), Shape6.top(), 1, 1); });
    on([&] { PointerX = addLong(PointerX, StepX); });
    on([&] { PointerY = addLong(PointerY, StepY); });
    if (c3 == "004" || (c3 == "005" && Shape4.left() == Parked)) {
        if (c3 == "004" && DragStarted) {
            on([&] {
                const double w = PointerX - Shape6.left() + 120 * g.ScaleX;
                if (w >= 0) Shape6.setWidth(platform::clng(w));
            });
            on([&] {
                const double h = PointerY - Shape6.top() + 120 * g.ScaleY;
                if (h >= 0) Shape6.setHeight(platform::clng(h));
            });
        }
        on([&] {
            // Loaded once a step; a file that cannot be loaded keeps the picture there was.
            if (cursorTried_) return;
            cursorTried_ = true;
            const std::string pointer = field(record_, 101, 105);
            const std::string name =
                field(pointer, 1, 1) == "S" ? "ico00.CUR" : "ico" + platform::rightChars(pointer, 2) + ".CUR";
            ImgICO.setPicture(p_.LoadPicture(platform::joinPath(g.ProgramFolder, name)));
        });
        on([&] { ImgICO.moveTo(PointerX, PointerY); });
        ImgICO.setVisible(true);
        for (int i = 0; i <= 5; ++i) LPoinB(i).setPoints(Parked, LPoinB(i).y1(), Parked, LPoinB(i).y2());
        for (int i = 0; i <= 7; ++i) LPoint(i).setPoints(Parked, LPoint(i).y1(), Parked, LPoint(i).y2());
    } else {
        ImgICO.setVisible(false);
        on([&] { pointMove(); });
    }
    if (!arrived()) return;
    on([&] { arrival(); });
}

// ---- arrival actions ----

void frmYanShi::arrival() {
    forms::OnError on;
    Shared& g = p_.g;
    const std::string c = code();
    const std::string c3 = c.substr(0, 3);
    const std::string& r = record_;
    auto outlineHotSpot = [&] {
        Shape1.setVisible(true);
        Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height());
    };
    auto aimAtHotSpot = [&] {
        on([&] { TargetX = motion::centre(Label1.left(), Label1.width()); });
        on([&] { TargetY = motion::centre(Label1.top(), Label1.height()); });
        on([&] { startMove(); });
    };
    startClickMarker();
    if (field(r, 130, 130) == "X" && field(r, 132, 132) != field(r, 133, 133) && Shape4.left() != Parked) {
        Label1.setVisible(true);
        LHelp.setCaption("");
        aimAtHotSpot();
        Shape4.setLeft(Parked);
        outlineHotSpot();
        on([&] { MuBiaoWei(); });
        return;
    }
    outlineHotSpot();
    if (c == "0001" || c == "0002" || c == "2000" || c == "0003" || Shape4.left() == Parked) {
        doNext();
        return;
    }
    if (c3 == "004" || c3 == "005") {
        aimAtHotSpot();
        DragStarted = true;
        Shape6.move(Shape4.left(), Shape4.top(), 1, 1);
        Shape6.setVisible(c3 == "004");
        Shape4.setLeft(Parked);
        Shape4.setWidth(15);
        Timer2_Timer();
        return;
    }
    Shape6.setVisible(false);
    if (startsWith(c, "9") && c != "9999") {
        doNext();
        return;
    }
    if (startsWithAny(c, "345ABCD") && c3 != "A11") {
        on([&] { RightKeyMenu(); });
        Timer2.setEnabled(false);
        return;
    }
    if (c3 == "002" || c3 == "A11") {
        TypedText.clear();
        on([&] {
            if (field(r, 109, 111) == "000") return;
            if (auto line = steps::numberedLine(g.TextsFilePath, static_cast<long>(fieldValue(r, 109, 111))))
                TypedText = steps::textOf(*line);
        });
        TypedText = beforeBar(TypedText);
        Timer1.setEnabled(true);
        Timer2.setEnabled(false);
        return;
    }
    if (c3 == "800") {
        if (SnapX != 0) on([&] { TargetX = platform::clng(SnapX * g.ScaleX); });
        if (SnapY != 0) on([&] { TargetY = platform::clng(SnapY * g.ScaleY); });
        on([&] { startMove(); });
        Timer2.setEnabled(false);
        Timer3.setEnabled(true);
        return;
    }
    if (c == "9999") {
        startEnd();
        Timer2.setEnabled(false);
        return;
    }
    // A code no rule names goes on as a click does, rather than running the pointer off.
    doNext();
}

void frmYanShi::Timer5_Timer() {
    if (!p_.g.DemoRunning) return;
    Shape5.setVisible(BlinkCount % 2 == 0);
    BlinkCount = static_cast<std::int16_t>(BlinkCount + 1);
    if (BlinkCount >= 3) {
        BlinkCount = 0;
        Shape5.setVisible(false);
        Timer5.setEnabled(false);
    }
}

void frmYanShi::Timer1_Timer() {
    forms::OnError on;
    if (!p_.g.DemoRunning) {
        Timer1.setEnabled(false);
        return;
    }
    const std::string c = code();
    on([&] { TypedCount = platform::cint(TypedCount + 1.0); });
    const auto length = static_cast<long>(platform::charCount(TypedText));
    if (c != "0023") {
        forms::TextBox& box = c == "0021" ? Text2 : Text1;
        on([&] {
            box.setText(platform::leftChars(TypedText, TypedCount));
            box.setSelStart(static_cast<int>(std::min<long>(TypedCount, length)));
        });
        if (TypedCount < length) return;
    }
    TypedCount = 0;
    Timer1.setEnabled(false);
    if (c == "0026" || c == "0022") {
        on([&] { TargetX = motion::centre(Label1.left(), Label1.width()); });
        on([&] { TargetY = motion::centre(Label1.top(), Label1.height()); });
        on([&] { startMove(); });
        Shape4.setLeft(Parked);
        Timer2.setEnabled(true);
        return;
    }
    on([&] { doNext(); });
}

void frmYanShi::Timer3_Timer() {
    if (!p_.g.DemoRunning) return;
    forms::OnError on;
    stepPointer();
    on([&] { Image5.setLeft(platform::clng(PointerX - Image5.width() / 2.0)); });
    on([&] { Image5.setTop(platform::clng(PointerY - Image5.height() / 2.0)); });
    if (!arrived()) return;
    on([&] { doNext(); });
    Timer3.setEnabled(false);
}

}  // namespace qz
