// The player's drop-down, context and submenus: the layout comes from demo/menu_panel, the
// move and the arrival from the player's one mover.
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "demo/menu_panel.h"
#include "forms/on_error.h"
#include "platform/files.h"

namespace qz {

namespace {

constexpr forms::Color MenuFrame = 0xC0C0C0;
constexpr int Cascades[] = {1, 3, 5, 7, 8};

void entryLabel(forms::Label& l) {
    l.setAutoSize(true);
    l.setBackStyle(0);
    l.setCaption("");
    l.setVisible(false);
}

void face(forms::Label& l, forms::Shape& frame) {
    l.setBackStyle(1);
    l.setBackColor(forms::colors::White);
    l.setCaption("");
    l.setVisible(false);
    frame.setBorderColor(MenuFrame);
    frame.setVisible(false);
}

// An auto-sized label's size for a caption, taken from a label of the same design whose own
// caption is put back afterwards.
demo::MeasureCaption measureWith(forms::Label& probe) {
    return [&probe](const std::string& caption) {
        const std::string own = probe.caption();
        probe.setCaption(caption);
        const forms::Size size{probe.width(), probe.height()};
        probe.setCaption(own);
        return size;
    };
}

// The triangle of an arrow image: four columns of 7, 5, 3 and 1 pixels, pointing right.
void drawArrow(forms::ControlArray<forms::Line>& strokes, const forms::Image& arrow, int index, int tppX, int tppY) {
    for (int k = 0; k < 4; ++k) {
        forms::Line& l = strokes(10 * index + k);
        const int x = arrow.left() + k * tppX;
        l.setPoints(x, arrow.top() + k * tppY, x, arrow.top() + (6 - k) * tppY);
        l.zOrder(0);
        l.setVisible(true);
    }
}

void hideArrows(forms::ControlArray<forms::Line>& strokes) {
    strokes.forEach([](int, forms::Line& l) { l.setVisible(false); });
}

}  // namespace

void frmYanShi::buildMenuControls() {
    face(LRightMMenu, ShapeRMain);
    face(LRightSub, ShapeRSUB);
    for (int i : Cascades) {
        entryLabel(LRMJL(i));
        forms::Image& arrow = ImgJLSanjiao(i);
        arrow.move(0, 0, 60, 105);
        arrow.setVisible(false);
        for (int k = 0; k < 4; ++k) {
            forms::Line& l = LJLStroke.load(10 * i + k);
            l.setBorderColor(forms::colors::Black);
            l.setVisible(false);
        }
    }
    for (int i = 0; i <= 9; ++i) {
        for (auto* a : {&LRM2, &LRM4, &LRM6, &LRM9, &LRS}) entryLabel((*a)(i));
        LRFGX(i).setBorderColor(MenuFrame);
        LRFGX(i).setVisible(false);
    }
    for (int i = 0; i <= 5; ++i) {
        LRSFgx(i).setBorderColor(MenuFrame);
        LRSFgx(i).setVisible(false);
    }
}

void frmYanShi::RightKeyMenu() {
    Shared& g = p_.g;
    if (!g.DemoRunning) return;
    forms::OnError on;
    on([&] { LRightMMenu.setVisible(true); });
    on([&] { ShapeRMain.setVisible(true); });

    demo::PanelInput in;
    in.code = code();
    in.block = demo::readMenuBlock(platform::joinPath(g.ProgramFolder, "sMenu.sys"), in.code);
    in.dropDown = demo::opensDropDown(record());
    for (int i = 0; i < demo::MenuTitles; ++i) {
        in.titles[static_cast<std::size_t>(i)] = LMenu(i).rect();
        in.backs[static_cast<std::size_t>(i)] = LMBack(i).rect();
    }
    in.panelBefore = {LRightMMenu.left(), LRightMMenu.top()};
    in.pointer = {PointerX, PointerY};
    in.target = {TargetX, TargetY};
    in.windowWidth = width();
    in.windowHeight = height();
    in.scaleY = g.ScaleY;
    in.measure = measureWith(LRS(9));
    std::optional<demo::MenuPanel> laid;
    on([&] { laid = demo::layoutPanel(in); });
    if (laid) {
        const demo::MenuPanel& m = *laid;
        hideArrows(LJLStroke);
        MenuNumber = static_cast<std::int16_t>(m.menuNumber);
        if (m.title) LMBack(*m.title).setVisible(true);
        LRightMMenu.move(m.panel.left, m.panel.top, m.panel.width, m.panel.height);
        ShapeRMain.move(m.panel.left, m.panel.top, m.panel.width, m.panel.height);
        for (const demo::CascadeRow& c : m.cascades) {
            forms::Label& l = LRMJL(c.index);
            l.setCaption(c.caption);
            l.moveTo(c.label.left, c.label.top);
            l.setVisible(true);
            ImgJLSanjiao(c.index).move(c.arrow.left, c.arrow.top, c.arrow.width, c.arrow.height);
            ImgJLSanjiao(c.index).setVisible(true);
            drawArrow(LJLStroke, ImgJLSanjiao(c.index), c.index, rt().host().twipsPerPixelX(),
                      rt().host().twipsPerPixelY());
        }
        for (const demo::EntryLabel& e : m.entries) {
            forms::ControlArray<forms::Label>& a = e.array == 2   ? LRM2
                                                   : e.array == 4 ? LRM4
                                                   : e.array == 6 ? LRM6
                                                                  : LRM9;
            forms::Label& l = a(e.index);
            l.setCaption(e.caption);
            l.moveTo(e.rect.left, e.rect.top);
            l.setVisible(true);
        }
        for (const demo::SeparatorLine& s : m.separators) {
            LRFGX(s.index).setPoints(s.from.x, s.from.y, s.to.x, s.to.y);
            LRFGX(s.index).setVisible(true);
        }
        TargetX = m.target.x;
        TargetY = m.target.y;
        Shape1.move(m.frame.left, m.frame.top, m.frame.width, m.frame.height);
    }
    on([&] { startMove(); });
    TimerRM.setEnabled(true);
}

void frmYanShi::TimerRM_Timer() {
    if (!p_.g.DemoRunning) return;
    forms::OnError on;
    stepPointer();
    if (!arrived()) return;
    if (demo::clicksPlainEntry(code())) {
        startClickMarker();
        TimerRM.setEnabled(false);
        // The next step's layout hides the panel; its drawn arrows go with it.
        hideArrows(LJLStroke);
        on([&] { doNext(); });
        return;
    }
    TimerRM.setEnabled(false);
    on([&] { RightKeySub(); });
}

void frmYanShi::RightKeySub() {
    Shared& g = p_.g;
    if (!g.DemoRunning) return;
    forms::OnError on;
    demo::SubmenuInput in;
    in.code = code();
    in.block = demo::readMenuBlock(platform::joinPath(g.ProgramFolder, "sMenu.sys"), in.code);
    in.panel = LRightMMenu.rect();
    // A cascade the panel does not show has no submenu to open beside it.
    if (const auto c = demo::cascadeOf(in.code); c && LRMJL(*c).visible()) in.cascadeTop = LRMJL(*c).top();
    in.pointer = {PointerX, PointerY};
    in.measure = measureWith(LRM9(9));
    std::optional<demo::Submenu> laid;
    on([&] { laid = demo::layoutSubmenu(in); });
    if (laid) {
        const demo::Submenu& s = *laid;
        MenuNumber = static_cast<std::int16_t>(s.menuNumber);
        if (s.shown) {
            LRightSub.move(s.rect.left, s.rect.top, s.rect.width, s.rect.height);
            ShapeRSUB.move(s.rect.left, s.rect.top, s.rect.width, s.rect.height);
            LRightSub.setVisible(true);
            ShapeRSUB.setVisible(true);
            for (const demo::EntryLabel& e : s.entries) {
                forms::Label& l = LRS(e.index);
                l.setCaption(e.caption);
                l.moveTo(e.rect.left, e.rect.top);
                l.setVisible(true);
            }
            for (const demo::SeparatorLine& sep : s.separators) {
                LRSFgx(sep.index).setPoints(sep.from.x, sep.from.y, sep.to.x, sep.to.y);
                LRSFgx(sep.index).setVisible(true);
            }
        }
        TargetX = s.target.x;
        TargetY = s.target.y;
        if (s.frame) Shape1.move(s.frame->left, s.frame->top, s.frame->width, s.frame->height);
    }
    on([&] { startMove(); });
    TimerRS.setEnabled(true);
}

void frmYanShi::TimerRS_Timer() {
    if (!p_.g.DemoRunning) return;
    forms::OnError on;
    stepPointer();
    if (!arrived()) return;
    startClickMarker();
    TimerRS.setEnabled(false);
    hideArrows(LJLStroke);
    on([&] { doNext(); });
}

}  // namespace qz
