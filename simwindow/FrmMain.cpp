#include "simwindow/FrmMain.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/program.h"
#include "forms/on_error.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "session/FrmTm.h"
#include "simwindow/menu_file.h"
#include "simwindow/step_record.h"

namespace qz {

using steps::allZeros;
using steps::field;
using steps::field16;
using steps::fieldValue;
using steps::stepCode;

namespace {

using forms::colors::Red;
using forms::colors::Yellow;
using forms::colors::Green;
using forms::colors::Highlight;
using forms::colors::HighlightText;

}  // namespace

FrmMain::FrmMain(Program& p)
    : forms::Form(p.rt, "FrmMain"),
      Image1(this, "Image1"),
      Image2(this, "Image2"),
      Image3(this, "Image3"),
      Image4(this, "Image4"),
      Image5(this, "Image5"),
      LMBack(this, "LMBack"),
      LMenu(this, "LMenu"),
      Shape1(this, "Shape1"),
      LHelp(this, "LHelp"),
      LblXXK(this, "LblXXK"),
      LblSuccess(this, "LblSuccess"),
      ImgLogo(this, "ImgLogo"),
      Shape4(this, "Shape4"),
      Shape6(this, "Shape6"),
      Shape2(this, "Shape2"),
      lblMove(this, "lblMove"),
      Label1(this, "Label1"),
      Label4(this, "Label4"),
      Text1(this, "Text1"),
      Text2(this, "Text2"),
      Timer2(this, "Timer2"),
      Timer3(this, "Timer3"),
      p_(p),
      laidOutMatch_(this, "laidOutMatch") {
    setFormBorderStyle(0);
    setBackColor(forms::colors::Black);
    const char* const initialTitles[11] = {"文件(&F)", "编辑(&E)", "查看(&V)", "收藏(&A)", "工具(&T)", "帮助(&H)",
                                           "转到(&T)", "文件(&F)", "文件(&F)", "帮助(&H)", "文件(&F)"};
    for (int i = 0; i <= 10; ++i) {
        forms::Label& bar = LMBack.load(i);
        bar.setBackStyle(1);
        bar.setBackColor(Highlight);
        bar.setVisible(false);
        forms::Label& title = LMenu.load(i);
        title.setBackStyle(0);
        title.setAutoSize(true);
        title.setCaption(initialTitles[i]);
        title.setVisible(false);
    }
    LblXXK.load(0).setBackStyle(0);
    // Stacking, bottom first: the pictures, the first seven bars and titles, the hot-spot
    // mark, the last four bars and titles, then the rest as declared.
    std::vector<forms::Control*> stack = {&Image1, &Image2, &Image3, &Image4, &Image5};
    for (int i = 0; i <= 6; ++i) stack.push_back(&LMBack(i));
    for (int i : {1, 2, 3, 4, 5, 0, 6}) stack.push_back(&LMenu(i));
    stack.push_back(&Shape1);
    for (int i = 7; i <= 10; ++i) stack.push_back(&LMBack(i));
    for (int i = 7; i <= 10; ++i) stack.push_back(&LMenu(i));
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &LHelp, &LblXXK(0), &LblSuccess, &ImgLogo, &Shape4, &Shape6, &Shape2, &lblMove, &Label1, &Label4})
        stack.push_back(c);
    for (forms::Control* c : stack) c->zOrder(0);

    for (forms::Label* l : {&Label1, &Label4, &lblMove}) {
        l->setBackStyle(0);
        l->setCaption("");
    }
    Shape1.setBorderColor(Red);
    Shape1.setBorderWidth(2);
    Shape2.setBorderColor(Yellow);
    Shape2.setBorderWidth(2);
    Shape2.move(11280, 18840, 975, 375);
    Shape4.setBorderColor(Green);
    Shape4.setBorderWidth(2);
    Shape6.setBorderColor(forms::colors::White);
    Shape6.setBorderStyle(3);
    for (forms::Shape* s : {&Shape1, &Shape2, &Shape4, &Shape6}) s->setVisible(false);
    ImgLogo.setStretch(true);
    LblSuccess.setCaption("操作成功！");
    LblSuccess.setForeColor(Red);
    LblSuccess.setBackStyle(0);
    LblSuccess.setAutoSize(true);
    LblSuccess.setFont({"宋体", 72});
    LblSuccess.setVisible(false);
    LHelp.setBackStyle(1);
    LHelp.setBackColor(Yellow);
    LHelp.setForeColor(Red);
    LHelp.setAutoSize(true);
    LHelp.setFont({"宋体", 10.5, true});
    LHelp.setVisible(false);
    Text1.setMultiLine(true);
    Text1.setScrollBars(0);
    Text1.setVisible(false);
    Text2.setVisible(false);
    Text2.setText("新建文件夹");

    // The popup's entries in their menu order; loaded items join their array's element 0.
    wm100.visible = false;
    wm100.items.push_back(&sVtrlMain1);
    sVtrlSub1.load(0);
    sVtrlInde1.load(0);
    wm100.items.push_back(&sVtrlMain2);
    sVtrlSub2.load(0);
    sVtrlInde2.load(0);
    wm100.items.push_back(&sVtrlMain3);
    sVtrlSub3.load(0);
    sVtrlInde3.load(0);
    wm100.items.push_back(&sVtrlMain4);
    sVtrlSub4.load(0);
    wm100.items.push_back(&sVtrlMain5);
    sVtrlSub5.load(0);
    sVtrlInde4.load(0);

    Timer2.setInterval(100);
    Timer2.setEnabled(false);
    Timer2.Tick = [this] { Timer2_Timer(); };
    Timer3.setInterval(1000);
    Timer3.setEnabled(false);
    Timer3.Tick = [this] { Timer3_Timer(); };
    LblXXK.bind([this](forms::Label& l, int i) { l.Click = [this, i] { LblXXK_Click(i); }; });
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
    Label1.MouseDown = [this](int b, int s, int x, int y) { Label1_MouseDown(b, s, x, y); };
    Label1.MouseUp = [this](int b, int s, int x, int y) { Label1_MouseUp(b, s, x, y); };
    Label1.MouseMove = [this](int b, int s, int x, int y) { Label1_MouseMove(b, s, x, y); };
    Label1.DblClick = [this] { Label1_DblClick(); };
    Label4.MouseDown = [this](int b, int s, int x, int y) { Label4_MouseDown(b, s, x, y); };
    Label4.MouseMove = [this](int b, int s, int x, int y) { Label4_MouseMove(b, s, x, y); };
    Label4.MouseUp = [this](int b, int s, int x, int y) { Label4_MouseUp(b, s, x, y); };
    Image5.MouseMove = [this](int b, int s, int x, int y) { Image5_MouseMove(b, s, x, y); };
    Image5.MouseUp = [this](int b, int s, int x, int y) { Image5_MouseUp(b, s, x, y); };
    Text1.Change = [this] { Text1_Change(); };
    Text1.GotFocus = [this] { Text1_GotFocus(); };
    Text1.KeyDown = [this](int& k, int) {
        text1KeysDown_.insert(k);
        formKeyDown_ = false;
    };
    // A key that went down on the window belongs to the step it completed, not to the box
    // the next step shows.
    Text1.KeyPress = [this](int& ascii) {
        if (formKeyDown_) ascii = 0;
    };
    Text1.KeyUp = [this](int& k, int s) {
        formKeyDown_ = false;
        Text1_KeyUp(k, s);
    };
    Text2.Change = [this] { Text2_Change(); };
    laidOutMatch_.setInterval(1);
    laidOutMatch_.setEnabled(false);
    laidOutMatch_.Tick = [this] {
        laidOutMatch_.setEnabled(false);
        if (Text2.visible()) Text2_Change();
        else Text1_Change();
    };

    LMenu.bind([this](forms::Label& l, int i) {
        l.MouseMove = [this, i](int b, int s, int x, int y) { LMenu_MouseMove(i, b, s, x, y); };
        l.Click = [this, i] { LMenu_Click(i); };
    });
    LMBack.bind([this](forms::Label& l, int i) { l.Click = [this, i] { LMBack_Click(i); }; });
    for (forms::Image* im : {&Image1, &Image2, &Image3, &Image4}) im->Click = [this] { Form_Click(); };
    sVtrlSub1.onClick = [this](int i) { sVtrlSub1_Click(i); };
    sVtrlSub2.onClick = [this](int i) { sVtrlSub2_Click(i); };
    sVtrlSub3.onClick = [this](int i) { sVtrlSub3_Click(i); };
    sVtrlSub4.onClick = [this](int i) { sVtrlSub4_Click(i); };
    sVtrlSub5.onClick = [this](int i) { sVtrlSub5_Click(i); };
    sVtrlInde1.onClick = [this](int i) { sVtrlInde1_Click(i); };
    sVtrlInde2.onClick = [this](int i) { sVtrlInde2_Click(i); };
    sVtrlInde3.onClick = [this](int i) { sVtrlInde3_Click(i); };
    sVtrlInde4.onClick = [this](int i) { sVtrlInde4_Click(i); };
}

int FrmMain::sx(double v) const { return p_.sx(v); }
int FrmMain::sy(double v) const { return p_.sy(v); }

bool FrmMain::inputBlocked() const { return Timer2.timerEnabled() || p_.g.DemoRunning; }

bool FrmMain::largeScreen() const {
    return 650 * p_.g.ScaleY < rt().host().screenSize().height / 15.0;
}

void FrmMain::dockPanel() {
    FrmTm& tm = p_.frmTm();
    tm.moveTo(left() + width() - tm.width(), top() + height() - tm.height());
}

// ---- frame ----

void FrmMain::Form_Load() {
    forms::OnError on;
    Shared& g = p_.g;
    on([&] { setIcon(p_.SkinPicture("l62011")); });
    on([&] {
        // Where the window goes back to when a small screen's maximised window is restored:
        // the design area, from the screen's corner.
        move(0, 0, sx(12000), sy(9000));
        setWindowState(2);
    });
    on([&] {
        if (!largeScreen()) return;
        setWindowState(0);
        const forms::Size screen = rt().host().screenSize();
        const int w = sx(12000), h = sy(9000);
        move((screen.width - w) / 2, (screen.height - h) / 2, w, h);
    });
    on([&] { dockPanel(); });
    on([&] { Label1.setCaption(""); });
    on([&] {
        ImgLogo.move(sx(9210), sy(8700), sx(1165), sy(225));
        ImgLogo.setPicture(p_.SkinPicture("l62009"));
    });
    for (int i = 1; i <= 40; ++i) g.ResumeStep[static_cast<std::size_t>(i)] = 1;
    for (forms::MenuArray* a : {&sVtrlInde1, &sVtrlInde2, &sVtrlInde3, &sVtrlInde4, &sVtrlSub1, &sVtrlSub2,
                                &sVtrlSub3, &sVtrlSub4, &sVtrlSub5})
        for (int i = 1; i <= 10; ++i) a->load(i);
    for (int i = 0; i <= 10; ++i) {
        on([&] { LMenu(i).setFontSize(9 * g.ScaleX); });
        on([&] { LMBack(i).setWidth(sx(870)); });
    }
    on([&] { lblMove.move(sx(1440), 0, sx(9495), sy(375)); });
    on([&] {
        LblSuccess.setFontSize(72 * g.ScaleX);
        LblSuccess.moveTo(sx(2640), sy(3840));
        LblSuccess.setVisible(false);
    });
}

void FrmMain::lblMove_MouseDown(int Button, int, int, int) {
    // Unlike the load's test, a screen exactly 650 pixels high still drags.
    if (650 * p_.g.ScaleY > rt().host().screenSize().height / 15.0) return;
    if (Button == forms::buttons::Left) beginDrag();
    dockPanel();
}

void FrmMain::Form_Click() {
    for (int i = 0; i <= 10; ++i) {
        LMenu(i).setForeColor(forms::colors::ButtonText);
        LMBack(i).setVisible(false);
    }
}

// ---- layout ----

FrmMain::ReportsHeld::~ReportsHeld() {
    if (released_) return;
    // Unwinding (the program ends): what was held goes with it.
    if (--m_.holdDepth_ == 0) m_.heldFaults_.clear();
}

void FrmMain::ReportsHeld::release() {
    if (released_) return;
    released_ = true;
    if (--m_.holdDepth_ > 0) return;
    // A report's wait may lay out another step, which holds and sends its own faults.
    const std::vector<Fault> faults = std::move(m_.heldFaults_);
    m_.heldFaults_.clear();
    Program& p = m_.p_;
    for (const Fault& f : faults) p.reportFault(f.tag, f.error);
}

forms::OnError FrmMain::heldReporting(const std::string& tag) {
    return forms::OnError(tag, [this](const std::string& t, const platform::VbError& e) {
        // A bad record tends to fail in several fields at once, and again at every pointer move.
        if (!faultTags_.insert(t).second) return;
        if (holdDepth_ > 0) heldFaults_.push_back({t, e});
        else p_.reportFault(t, e);
    });
}

void FrmMain::setData() {
    holdingReports([this] { layOut(); });
}

void FrmMain::layOut() {
    Shared& g = p_.g;
    struct LayingOut {
        bool& flag;
        bool was;
        ~LayingOut() { flag = was; }
    } layingOut{layingOut_, layingOut_};
    layingOut_ = true;
    faultTags_.clear();
    text1KeysDown_.clear();
    forms::OnError on = heldReporting("setData");
    const auto q = static_cast<std::size_t>(std::clamp<int>(g.CurrentQuestion, 0, 500));

    LblSuccess.setVisible(false);
    on([&] {
        p_.frmTm().setTopmost(true);
        if (visible()) show();
    });
    on([&] {
        for (forms::TextBox* t : {&Text1, &Text2}) {
            forms::Font f = t->font();
            f.size = 9 * g.ScaleX;
            t->setFont(f);
        }
    });
    on([&] {
        const long lineNo = static_cast<long>(g.FirstStepLine[q]) + g.CurrentStep - 1;
        if (auto line = steps::numberedLine(g.StepsFilePath, lineNo)) g.StepLine = *line;
    });
    // From here on the window works on what it laid out: the old step can no longer be
    // completed, whatever else fails below.
    record_ = g.StepLine;
    StepCode = 0;
    cursorPath_.clear();
    cursor_.reset();
    on([&] {
        if (static_cast<int>(platform::charCount(record_)) < steps::RecordLength) {
            record_ += std::string(steps::RecordLength - platform::charCount(record_), '0');
            throw platform::VbError(5, "Step record shorter than 196 characters");
        }
    });
    const std::string& r = record_;
    on([&] {
        Shape6.setWidth(1);
        Shape6.setHeight(1);
    });
    if (g.CurrentStep == 1)
        for (forms::Image* im : {&Image1, &Image2, &Image3, &Image4, &Image5}) im->setPicture(nullptr);
    g.ResumeStep[q] = g.CurrentStep;

    on([&] {
        const std::string id = field(r, 12, 17);
        if (id == "888888") return;
        g.QuestionPictures[q][0] = id;
        setPicture(nullptr);
        setPicture(p_.LoadPicture(g.DataDir + id + ".mxy"));
    });
    forms::Image* images[5] = {&Image1, &Image2, &Image3, &Image4, &Image5};
    const int slots[5] = {18, 34, 50, 135, 151};
    for (int k = 0; k < 5; ++k) {
        forms::Image& im = *images[k];
        const int s = slots[k];
        on([&] {
            if (allZeros(r, s, s + 9)) {
                im.setVisible(false);
                return;
            }
            im.setVisible(true);
            const std::string id = field(r, s + 10, s + 15);
            if (id != "888888") {
                g.QuestionPictures[q][static_cast<std::size_t>(k + 1)] = id;
                im.setPicture(nullptr);
            }
            im.moveTo(sx(field16(r, s, s + 4)), sy(field16(r, s + 5, s + 9)));
            if (id != "888888") im.setPicture(p_.LoadPicture(g.DataDir + id + ".mxy"));
        });
    }
    on([&] { SnapX = field16(r, 167, 171); });
    on([&] { SnapY = field16(r, 172, 176); });

    // Hot spot.
    on([&] {
        if (allZeros(r, 66, 85)) {
            Label1.setWidth(sx(1));
            Label1.setHeight(sy(1));
            return;
        }
        Label1.setVisible(true);
        const int left = sx(field16(r, 66, 70)), top = sy(field16(r, 71, 75)), width = sx(field16(r, 76, 80));
        const int height = field16(r, 81, 85);
        // Height 0 is a label sized to its empty caption: one line of its font high, and as
        // wide as the record says, so that a learner can still hit it.
        Label1.setAutoSize(false);
        Label1.move(left, top, width, height != 0 ? sy(height) : Label1.lineHeight());
    });
    Shape1.move(Label1.left(), Label1.top(), Label1.width(), Label1.height());

    // Command box.
    on([&] {
        if (fieldValue(r, 86, 105) == 0) {
            Text1.setVisible(false);
            Text2.setVisible(false);
            return;
        }
        Text1.setVisible(true);
        Text1.move(sx(field16(r, 86, 90)), sy(field16(r, 91, 95)), sx(field16(r, 96, 100)), sy(field16(r, 101, 105)));
        std::string text;
        on([&] {
            if (field(r, 106, 108) != "000")
                if (auto line = steps::numberedLine(g.TextsFilePath, field16(r, 106, 108))) text = steps::textOf(*line);
        });
        Text1.setText(text);
        // A hidden window cannot take the focus; it gets it when shown.
        if (effectivelyVisible()) Text1.setFocus();
        Text1.setSelStart(0);
        Text1.setSelLength(static_cast<int>(platform::charCount(Text1.text())));
    });

    // Hint.
    const bool hintCarried = allZeros(r, 112, 121);
    on([&] {
        if (hintCarried) return;
        hint_ = {};
        LHelp.moveTo(sx(field16(r, 112, 116)), sy(field16(r, 117, 121)));
        std::string caption = "  ";
        on([&] {
            if (field(r, 122, 124) != "000")
                if (auto line = steps::numberedLine(g.TextsFilePath, field16(r, 122, 124)))
                    caption = steps::textOf(*line);
        });
        LHelp.setCaption(caption);
    });

    // Menu bar.
    bool bar = false;
    on([&] {
        if (fieldValue(r, 125, 134) == 0) return;
        bar = true;
        MenuBarX = field16(r, 125, 129);
        MenuBarY = field16(r, 130, 134);
        setMenuPos();
    });
    for (int i = 0; i <= 10; ++i) LMenu(i).setVisible(bar);

    const std::string code = stepCode(r);
    on([&] { StepCode = steps::stepCodeValue(code); });
    if (!code.empty() && (code[0] == 'A' || code[0] == 'B' || code[0] == 'C'))
        for (int i = 0; i <= 10; ++i) LMenu(i).setCaption(menus::BarTitles[static_cast<std::size_t>(i)]);
    Form_Click();

    // Back button.
    on([&] {
        if (field(r, 125, 125) != "Q") {
            BackStepCode = "NONO";
            LblXXK(0).move(LblXXK(0).left(), LblXXK(0).top(), 1, 1);
            return;
        }
        BackStepCode = field(r, 125, 129);
        LblXXK(0).move(sx(field16(r, 167, 171)), sy(field16(r, 172, 176)), sx(1095), sy(285));
    });

    // Work area.
    on([&] {
        if (allZeros(r, 187, 196)) {
            Label4.move(-1, Label4.top(), 1, 1);
            return;
        }
        Label4.setVisible(true);
        Label4.move(sx(field16(r, 177, 181)), sy(field16(r, 183, 186)), sx(field16(r, 187, 191)),
                    sy(field16(r, 192, 196)));
    });
    Shape4.move(Label4.left(), Label4.top(), Label4.width(), Label4.height());

    const bool guided = g.InteractionMode == 1;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&LHelp, &Shape1, &Shape2, &Shape4})
        c->setVisible(guided);

    Timer3.setEnabled(StepCode == 8888);

    if (code == "9999") {
        on([&] { markQuestionDone(q); });
        Shape1.setVisible(false);
        if (g.InteractionMode != 3) {
            LblSuccess.setVisible(true);
            LHelp.setVisible(false);
        }
        on([&] {
            std::string list = "未完成的题目";
            for (int i = 1; i <= std::min<int>(g.QuestionCount, 500); ++i)
                if (g.QuestionState[static_cast<std::size_t>(i)] < 4) list += " " + std::to_string(i);
            FrmTm& tm = p_.frmTm();
            tm.LblUnit.setCaption(list);
            std::string title = tm.LblBiao.caption();
            const std::string from = "(未完成)", to = "(已完成)";
            for (std::size_t at = title.find(from); at != std::string::npos; at = title.find(from, at + to.size()))
                title.replace(at, from.size(), to);
            tm.LblBiao.setCaption(title);
        });
    }

    if (code == "0021") {
        Shape1.setVisible(false);
        Text2.setText(Text1.text());
        Text2.move(Text1.left(), Text1.top(), Text1.width(), Text1.height());
        Text2.setVisible(true);
        Text1.setVisible(false);
        on([&] {
            if (effectivelyVisible()) Text2.setFocus();
            Text2.setSelStart(0);
            Text2.setSelLength(static_cast<int>(platform::charCount(Text2.text())));
        });
    } else {
        Text2.setVisible(false);
    }
    if (code == "0020" || code == "0021") Shape1.setVisible(false);
    LHelp.setCaption(steps::typingHint(code, LHelp.caption(), hintCarried, hint_));
}

void FrmMain::Timer2_Timer() {
    struct Disarm {
        forms::Timer& t;
        ~Disarm() { t.setEnabled(false); }
    } disarm{Timer2};
    setData();
}

// ---- step advance ----

void FrmMain::doNext() {
    forms::OnError on;
    on([&] {
        if (StepCode / 1000 == 99) Form_Click();
    });
    Shared& g = p_.g;
    on([&] {
        if (stepCode(record_) != "9999") {
            g.CurrentStep = platform::cint(g.CurrentStep + 1.0);
            setData();
            return;
        }
        markQuestionDone(static_cast<std::size_t>(g.CurrentQuestion));
    });
}

void FrmMain::markQuestionDone(std::size_t q) {
    auto& state = p_.g.QuestionState.at(q);
    if (state < 4) state = static_cast<std::int16_t>(state + 4);
}

void FrmMain::Timer3_Timer() {
    if (inputBlocked()) return;
    if (StepCode == 8888) doNext();
}

void FrmMain::LblXXK_Click(int Index) {
    if (Index != 0) return;
    Shared& g = p_.g;
    int back = 1;
    if (!BackStepCode.empty() && BackStepCode[0] == 'Q') {
        back = static_cast<int>(platform::val(platform::rightChars(BackStepCode, 1)));
        if (back == 0) back = 1;
    }
    // Never before the question's first step.
    g.CurrentStep = static_cast<std::int16_t>(std::max(1, g.CurrentStep - back));
    setData();
}

void FrmMain::GoStep(const std::string& cStep) {
    forms::OnError on;
    on([&] {
        if (cStep == "0") return;
        int s = platform::cint(platform::val(cStep));
        if (s == 0) {
            const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
            const std::size_t at = letters.find(cStep);
            s = (at == std::string::npos ? 0 : static_cast<int>(at) + 1) + 9;
        }
        Shared& g = p_.g;
        const auto q = static_cast<std::size_t>(g.CurrentQuestion);
        const int last = steps::questionStepCount(g.StepsFilePath, g.FirstStepLine.at(q));
        g.CurrentStep = static_cast<std::int16_t>(std::clamp(s, 1, last));
        setData();
    });
}

// ---- hot spot and keys ----

void FrmMain::Form_KeyDown(int& keyCode, int shift) {
    formKeyDown_ = true;
    if (inputBlocked() || Text1.visible() || Text2.visible()) return;
    int s = 0;
    if (StepCode / 1000 == 6) {
        s = (StepCode % 1000) / 100;
        const int k = steps::remapKey(StepCode % 100);
        if (keyCode == k && shift == s) doNext();
        if (shift == s && keyCode == 32 && StepCode == 6002) doNext();
    }
    if ((keyCode == 32 || keyCode == 13 || keyCode == 27) && shift == s && (StepCode == 3420 || StepCode == 3220))
        doNext();
    if ((keyCode == 32 || keyCode == 13) && shift == s && StepCode == 2000) doNext();
}

void FrmMain::Form_KeyUp(int&, int) { formKeyDown_ = false; }

void FrmMain::Label1_MouseDown(int Button, int Shift, int, int) {
    if (inputBlocked()) return;
    if (Button == 2 && (StepCode == 3 || StepCode == 2000)) doNext();
    if (StepCode / 1000 == 9 && StepCode != 9999) {
        const int s = (StepCode % 1000) / 100, b = StepCode % 100;
        if (Button == b && Shift == s) doNext();
    }
    if (Button == 2 && (StepCode / 1000 == 3 || StepCode / 1000 == 4)) {
        MenuNumber = static_cast<std::int16_t>((StepCode / 100) % 10);
        systemMenu();
        popupMenu(wm100);
    }
}

void FrmMain::Label1_MouseUp(int Button, int Shift, int, int) {
    if (inputBlocked()) return;
    if (Button == 1 && Shift == 0 && (StepCode == 1 || StepCode > 10000)) doNext();
}

void FrmMain::Label1_DblClick() {
    if (inputBlocked()) return;
    if (StepCode == 2) doNext();
}

void FrmMain::Label1_MouseMove(int, int, int, int) {
    if (inputBlocked()) return;
    holdingReports([this] {
        if (stepCode(record_) == "0030") doNext();
        applyPointer();
    });
}

void FrmMain::applyPointer() {
    const std::string code = stepCode(record_);
    const std::string kind = field(record_, 101, 101);
    if (code.rfind("004", 0) == 0 || code.rfind("005", 0) == 0 || (kind != "S" && kind != "M")) {
        Label1.setMousePointer(0);
        return;
    }
    setStepPointer(Label1, true);
}

void FrmMain::setStepPointer(forms::Control& c, bool report) {
    const std::string number = field(record_, 104, 105);
    if (field(record_, 101, 101) == "S") {
        c.setMousePointer(steps::standardPointer(number));
    } else if (forms::PicturePtr cursor = stepCursor(number, report)) {
        c.setMouseIcon(cursor);
        c.setMousePointer(99);
    } else {
        c.setMousePointer(0);
    }
}

forms::PicturePtr FrmMain::stepCursor(const std::string& number, bool report) {
    const std::string path = platform::joinPath(p_.g.ProgramFolder, "ico" + number + ".CUR");
    if (path != cursorPath_) {
        cursorPath_ = path;
        cursor_.reset();
        (report ? heldReporting("setData") : forms::OnError())([&] { cursor_ = p_.LoadPicture(path); });
    }
    return cursor_;
}

// ---- drags ----

namespace {

bool inside(float x, float y, const forms::Control& c) {
    const auto f = [](int v) { return static_cast<float>(v); };
    return f(c.left()) <= x && x <= f(c.left() + c.width()) && f(c.top()) <= y && y <= f(c.top() + c.height());
}

}  // namespace

void FrmMain::Label4_MouseDown(int Button, int Shift, int X, int Y) {
    if (inputBlocked()) return;
    const std::string c = field(record_, 8, 10);
    const int d = static_cast<int>(fieldValue(record_, 11, 11));
    if (field(record_, 6, 7) != "EE" && Button == 1 && field(record_, 182, 182) == "0") {
        doNext();
        return;
    }
    if (c == "004" && Shift == d) {
        Shape6.setWidth(15);
        Shape6.setHeight(15);
        Shape6.setVisible(true);
        dragStartX_ = Label4.left() + X;
        dragStartY_ = Label4.top() + Y;
    }
    if ((c == "004" || c == "005") && Shift == d) dragging_ = true;
}

void FrmMain::Label4_MouseMove(int, int Shift, int X, int Y) {
    if (inputBlocked()) return;
    const std::string c = field(record_, 8, 10);
    const int d = static_cast<int>(fieldValue(record_, 11, 11));
    if (c == "004" && Shift == d) {
        if (!Shape6.visible()) return;
        Shape6.move(dragStartX_, dragStartY_, std::abs(Label4.left() + X - dragStartX_),
                    std::abs(Label4.top() + Y - dragStartY_));
    }
    if ((c == "004" || c == "005") && Shift == d && dragging_) setStepPointer(Label4, false);
}

void FrmMain::Label4_MouseUp(int, int Shift, int X, int Y) {
    if (inputBlocked()) return;
    const std::string c = field(record_, 8, 10);
    const int d = static_cast<int>(fieldValue(record_, 11, 11));
    const float px = static_cast<float>(Label4.left()) + static_cast<float>(X);
    const float py = static_cast<float>(Label4.top()) + static_cast<float>(Y);
    if (c == "004" && Shift == d) {
        const bool shown = Shape6.visible();
        Shape6.setWidth(15);
        Shape6.setHeight(15);
        if (shown && inside(px, py, Label1)) doNext();
        Shape6.setVisible(false);
        dragging_ = false;
        Label4.setMousePointer(0);
    }
    if (c == "005" && Shift == d) {
        dragging_ = false;
        if (inside(px, py, Label1) && Label4.mousePointer() != 0) doNext();
        Label4.setMousePointer(0);
    }
}

void FrmMain::Image5_MouseMove(int Button, int, int X, int Y) {
    if (inputBlocked() || Button != 1) return;
    const auto half = [](int v) { return static_cast<int>(std::lround(v / 2.0)); };
    if (StepCode == 8001 || StepCode == 8002) Image5.setLeft(Image5.left() + half(X));
    if (StepCode == 8003 || StepCode == 8004) Image5.setTop(Image5.top() + half(Y));
    if (StepCode >= 8006 && StepCode <= 8009) {
        Image5.setLeft(Image5.left() + half(X));
        Image5.setTop(Image5.top() + half(Y));
    }
}

void FrmMain::Image5_MouseUp(int, int, int, int) {
    if (inputBlocked()) return;
    // Each code in turn against the step now on screen: a completed drop lays out the next
    // step, whose own code is then tested with the same release.
    for (const int code : {8001, 8002, 8003, 8004, 8006, 8007, 8008, 8009}) {
        if (StepCode != code) continue;
        const int toX = sx(SnapX), toY = sy(SnapY);
        const int x = Image5.left(), y = Image5.top();
        const bool leftOk = x <= toX, rightOk = x >= toX, upOk = y <= toY, downOk = y >= toY;
        bool ok = false;
        switch (code) {
            case 8001: ok = leftOk; break;
            case 8002: ok = rightOk; break;
            case 8003: ok = upOk; break;
            case 8004: ok = downOk; break;
            case 8006: ok = downOk && leftOk; break;
            case 8007: ok = downOk && rightOk; break;
            case 8008: ok = upOk && leftOk; break;
            default: ok = upOk && rightOk; break;
        }
        const bool horizontal = code != 8003 && code != 8004;
        const bool vertical = code != 8001 && code != 8002;
        if (ok) {
            if (vertical) Image5.setTop(toY);
            if (horizontal) Image5.setLeft(toX);
            doNext();
        } else {
            if (vertical) Image5.setTop(sy(field16(record_, 156, 160)));
            if (horizontal) Image5.setLeft(sx(field16(record_, 151, 155)));
        }
    }
}

// ---- command line ----

namespace {

std::string comparisonForm(const std::string& s) {
    return platform::lowerCase(platform::trimSpaces(s));
}

bool matches(const std::string& a, const std::string& b) { return comparisonForm(a) == comparisonForm(b); }

struct Alternatives {
    std::string a1, a2;
    bool either(const std::string& t) const { return matches(t, a1) || matches(t, a2); }
};

Alternatives alternatives(const std::string& answer) {
    const std::size_t bar = answer.find('|');
    if (bar == std::string::npos) return {answer, answer};
    return {answer.substr(0, bar), answer.substr(bar + 1)};
}

}  // namespace

std::optional<std::string> FrmMain::expectedAnswer() {
    const std::string number = field(record_, 109, 111);
    if (number == "000") return std::string();
    std::optional<std::string> line;
    const bool read = heldReporting("Text1")([&] {
        line = steps::numberedLine(p_.g.TextsFilePath, field16(record_, 109, 111));
        if (!line) throw platform::VbError(62, "Input past end of file");
    });
    if (!read || !line) return std::nullopt;
    return steps::textOf(*line);
}

void FrmMain::Text1_GotFocus() {
    if (!p_.g.UseInputMethod || p_.g.ChosenKeyboardLayout.empty()) return;
    p_.keyboard().activate(p_.g.ChosenKeyboardLayout);
}

void FrmMain::Text1_Change() {
    if (layingOut_) {
        laidOutMatch_.setEnabled(true);
        return;
    }
    if (inputBlocked() || stepCode(record_) != "0020") return;
    holdingReports([this] {
        const std::optional<std::string> answer = expectedAnswer();
        if (answer && alternatives(*answer).either(Text1.text())) doNext();
    });
}

void FrmMain::Text1_KeyUp(int KeyCode, int) {
    // Keys roll: the last letter of an answer often comes up after the Enter went down.
    const bool wentDownHere = text1KeysDown_.erase(KeyCode) > 0;
    if (!wentDownHere || inputBlocked() || stepCode(record_) == "0020") return;
    if (KeyCode != 32 && KeyCode != 13) return;
    holdingReports([&] {
        if (typedAnswerMatches(expectedAnswer())) doNext();
        else if (KeyCode == 13) Text1.setText("");
    });
}

bool FrmMain::typedAnswerMatches(const std::optional<std::string>& answer) const {
    if (!answer) return false;
    const Alternatives a = alternatives(*answer);
    const std::string t = Text1.text();
    std::string printable, unbroken;
    for (const char32_t ch : platform::toU32(t)) {
        const int code = platform::ansiCode(ch);
        if (code > 32 && code < 127) printable += static_cast<char>(code);
        if (ch != U'\r' && ch != U'\n') unbroken += platform::fromU32(std::u32string(1, ch));
    }
    return a.either(printable) || a.either(t) || a.either(unbroken);
}

void FrmMain::Text2_Change() {
    if (layingOut_) {
        laidOutMatch_.setEnabled(true);
        return;
    }
    if (inputBlocked() || !Text2.visible()) return;
    holdingReports([this] {
        const std::optional<std::string> answer = expectedAnswer();
        if (answer && matches(Text2.text(), *answer)) doNext();
    });
}

// ---- menus ----

void FrmMain::setMenuPos() {
    // 810 twips apart whatever the captions' widths, each box centred on its title.
    for (int i = 0; i <= 10; ++i) {
        forms::Label& title = LMenu(i);
        forms::Label& box = LMBack(i);
        title.moveTo(sx(MenuBarX + 810.0 * i), sy(MenuBarY));
        title.setForeColor(forms::colors::ButtonText);
        box.setWidth(sx(810));
        box.setHeight(sy(255));
        box.moveTo(title.left() + (title.width() - box.width()) / 2, title.top() + (title.height() - box.height()) / 2);
        box.setVisible(false);
    }
}

void FrmMain::LMenu_MouseMove(int Index, int, int, int, int) {
    Form_Click();
    LMenu(Index).setForeColor(HighlightText);
    LMBack(Index).setVisible(true);
}

void FrmMain::LMenu_Click(int Index) {
    MenuNumber = static_cast<std::int16_t>(Index + 1);
    systemMenu();
    const forms::Label& box = LMBack(Index);
    popupMenu(wm100, box.left(), box.top() + box.height());
}

void FrmMain::LMBack_Click(int Index) { LMenu_Click(Index); }

void FrmMain::systemMenu() {
    // The arrays in menu order, as menus::ItemArrays numbers them; the submenus' titles in the same order.
    forms::MenuArray* const arrays[menus::ItemArrays.size()] = {&sVtrlSub1, &sVtrlInde1, &sVtrlSub2,
                                                                &sVtrlInde2, &sVtrlSub3, &sVtrlInde3,
                                                                &sVtrlSub4, &sVtrlSub5, &sVtrlInde4};
    forms::MenuItem* const titles[5] = {&sVtrlMain1, &sVtrlMain2, &sVtrlMain3, &sVtrlMain4, &sVtrlMain5};
    for (forms::MenuArray* a : arrays)
        for (forms::MenuItem* it : a->items()) it->visible = false;
    for (forms::MenuItem* t : titles) t->visible = false;

    std::vector<std::string> block(menus::BlockLines);
    if (const auto first = menus::blockFirstLine(StepCode, MenuNumber)) {
        try {
            block = menus::readBlock(platform::joinPath(p_.g.ProgramFolder, "sMenu.sys"), *first);
        } catch (const platform::VbError&) {
            return;  // without its file the menu shows nothing, so nothing can be chosen
        }
    }
    const auto fill = [](forms::MenuArray& a, const std::string& line) {
        const std::vector<std::string> texts = menus::splitItems(line);
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (!a.exists(static_cast<int>(k))) continue;
            forms::MenuItem& it = a(static_cast<int>(k));
            it.caption = texts[k];
            it.visible = true;
        }
    };
    forms::MenuItem* const* title = titles;
    for (std::size_t k = 0; k < menus::ItemArrays.size(); ++k) {
        const menus::ItemArray at = menus::ItemArrays[k];
        const std::string& line = block[static_cast<std::size_t>(at.line)];
        if (at.submenu) {
            // "0" in place of its title: the submenu is not there, whatever its item line holds.
            forms::MenuItem& t = **title++;
            const std::string& caption = block[static_cast<std::size_t>(at.line - 1)];
            if (caption == "0") continue;
            t.caption = caption;
            t.visible = true;
        } else if (line == "0") {
            continue;
        }
        fill(*arrays[k], line);
    }
}

void FrmMain::menuItemChosen(int arrayNumber, int Index) {
    if (inputBlocked()) return;
    if (menus::itemCompletes(StepCode, MenuNumber, arrayNumber, Index)) doNext();
}

void FrmMain::sVtrlSub1_Click(int Index) { menuItemChosen(1, Index); }
void FrmMain::sVtrlInde1_Click(int Index) { menuItemChosen(2, Index); }
void FrmMain::sVtrlSub2_Click(int Index) { menuItemChosen(3, Index); }
void FrmMain::sVtrlInde2_Click(int Index) { menuItemChosen(4, Index); }
void FrmMain::sVtrlSub3_Click(int Index) { menuItemChosen(5, Index); }
void FrmMain::sVtrlInde3_Click(int Index) { menuItemChosen(6, Index); }
void FrmMain::sVtrlSub4_Click(int Index) { menuItemChosen(7, Index); }
void FrmMain::sVtrlSub5_Click(int Index) { menuItemChosen(8, Index); }
void FrmMain::sVtrlInde4_Click(int Index) { menuItemChosen(9, Index); }

}  // namespace qz
