#include "session/FrmTm.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "forms/on_error.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/FrmCZTS.h"
#include "session/FrmEnd1.h"
#include "session/FrmIME.h"
#include "session/FrmPicture.h"
#include "session/question_sets.h"
#include "simwindow/FrmMain.h"

namespace qz {

namespace {

constexpr forms::Color PanelGrey = 0xF0F0F0;
const forms::Color Blue = forms::rgb(0, 0, 255);
constexpr const char* SmallPanelPicture = "FrmZXH.png";

// The per-question tables run from 1 to MaxEntries; anything else is the platform's subscript
// error, which the panel's silent handling skips.
std::size_t entry(int k) {
    if (k < 0 || k > QuestionCodeList::MaxEntries) platform::raise(9);
    return static_cast<std::size_t>(k);
}

void transparent(forms::Label& l, bool autoSize) {
    l.setBackStyle(0);
    l.setAutoSize(autoSize);
}

}  // namespace

FrmTm::FrmTm(Program& p)
    : forms::Form(p.rt, "FrmTm"),
      ImgLogo1(this, "ImgLogo1"),
      LblBiao(this, "LblBiao"),
      lblMove(this, "lblMove"),
      LblZXH(this, "LblZXH"),
      LblClose(this, "LblClose"),
      FrmZhuYa(this, "FrmZhuYa"),
      LblTime(&FrmZhuYa, "LblTime"),
      LblName(&FrmZhuYa, "LblName"),
      LblIME(&FrmZhuYa, "LblIME"),
      RtbTM(&FrmZhuYa, "RtbTM"),
      Image2(&FrmZhuYa, "Image2"),
      PTime(&FrmZhuYa, "PTime"),
      LblTimeJD(&PTime, "LblTimeJD"),
      PicUnit(&FrmZhuYa, "PicUnit"),
      LblUnit(&PicUnit, "LblUnit"),
      CmdGN(&FrmZhuYa, "CmdGN"),
      CmdEn(&FrmZhuYa, "CmdEn"),
      FrmSelect(this, "FrmSelect"),
      CmTNO(&FrmSelect, "CmTNO"),
      CmdSelLast(&FrmSelect, "CmdSelLast"),
      CmdSelFH(&FrmSelect, "CmdSelFH"),
      CmdSelNext(&FrmSelect, "CmdSelNext"),
      FrmKSXX(this, "FrmKSXX"),
      Image1(&FrmKSXX, "Image1"),
      Label1(&FrmKSXX, "Label1"),
      KsName1(&FrmKSXX, "KsName1"),
      KsZWH1(&FrmKSXX, "KsZWH1"),
      KsCC1(&FrmKSXX, "KsCC1"),
      KsDAH1(&FrmKSXX, "KsDAH1"),
      KsKM1(&FrmKSXX, "KsKM1"),
      KsSFZ1(&FrmKSXX, "KsSFZ1"),
      CmdKSFH(&FrmKSXX, "CmdKSFH"),
      FrmZXH(this, "FrmZXH"),
      Label2(&FrmZXH, "Label2"),
      Command2(&FrmZXH, "Command2"),
      TimKsModel(this, "TimKsModel"),
      TimeKS(this, "TimeKS"),
      TimerREDO(this, "TimerREDO"),
      TimStartYS(this, "TimStartYS"),
      p_(p),
      heldTimeOut_(this, "heldTimeOut") {
    setFormBorderStyle(0);
    setShowInTaskbar(false);
    setBackColor(PanelGrey);
    move(0, 0, 4980, 3630);

    ImgLogo1.moveTo(60, 30);
    transparent(LblBiao, true);
    LblBiao.setForeColor(forms::colors::White);
    LblBiao.setFont({"宋体", 10, true});
    transparent(lblMove, false);
    lblMove.setCaption("");
    lblMove.move(0, 0, 4980, 450);

    for (forms::Container* page : std::array<forms::Container*, 5>{&FrmZhuYa, &FrmSelect, &FrmKSXX, &FrmZXH, &PicUnit}) {
        page->setBorderStyle(0);
        page->setBackColor(PanelGrey);
        page->setFont({"宋体", 9});
    }
    FrmZhuYa.move(0, 450, 4980, 4125);
    FrmSelect.move(0, 450, 4980, 4035);
    FrmKSXX.move(0, 450, 4980, 4035);
    FrmZXH.move(0, 0, 810, 870);
    FrmZXH.setVisible(false);

    for (forms::Label* l : {&LblTime, &LblName}) l->setFont({"宋体", 9});
    LblTime.setCaption("剩余50分钟");
    LblTime.setBackColor(PanelGrey);
    LblName.setBackColor(PanelGrey);
    LblIME.setFont({"宋体", 9});
    LblIME.setCaption("EN");
    LblIME.setForeColor(forms::colors::White);
    LblIME.setBackColor(Blue);
    // Left, clear of the input-method button that stands over the indicator's right part.
    LblIME.setAlignment(0);
    RtbTM.setMultiLine(true);
    RtbTM.setLocked(true);
    RtbTM.setFont({"宋体", 11});
    Image2.setCaption("显示图片");
    Image2.setForeColor(forms::colors::Black);
    PTime.setBorderStyle(1);
    PTime.setBackColor(forms::colors::White);
    LblTimeJD.setCaption("");
    LblTimeJD.setBackColor(Blue);
    LblTimeJD.move(0, 0, 0, 255);
    transparent(LblUnit, true);
    LblUnit.setFont({"宋体", 9});
    // The practice and the exam command sets share places: loading 8 to 11 after 5 to 7 and
    // 3 stacks them on top until the button set is chosen.
    for (int i = 0; i <= 11; ++i) CmdGN.load(i);
    CmdGN.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { CmdGN_Click(i); }; });

    FrmSelect.setCaption("");
    for (int m = 1; m <= 40; ++m) {
        vtrlButton& b = CmTNO.load(m);
        b.setForeColor(forms::colors::Black);
        b.setCaption(std::to_string(m));
    }
    CmTNO.bind([this](vtrlButton& b, int m) { b.Click = [this, m] { CmTNO_Click(m); }; });

    FrmKSXX.setCaption("");
    Image1.setStretch(true);
    Image1.move(120, 120, 1455, 1740);
    static const std::array<const char*, 6> rowCaptions = {"姓    名：", "座 位 号：", "场    次：",
                                                           "档 案 号：", "报考科目：", "身份证号："};
    for (int k = 0; k <= 5; ++k) {
        forms::Label& l = Label1.load(k);
        transparent(l, true);
        l.setFont({"宋体", 9});
        l.setCaption(rowCaptions[static_cast<std::size_t>(k)]);
    }
    for (forms::Label* v : {&KsName1, &KsZWH1, &KsCC1, &KsDAH1, &KsKM1, &KsSFZ1}) {
        transparent(*v, true);
        v->setFont({"宋体", 9});
    }

    for (forms::Label* l : {&Label2, &Command2}) {
        transparent(*l, false);
        l->setCaption("");
    }
    Label2.move(-120, 0, 855, 255);

    TimKsModel.setInterval(500);
    TimKsModel.setEnabled(true);
    TimeKS.setInterval(60000);
    TimeKS.setEnabled(true);
    TimerREDO.setInterval(100);
    TimerREDO.setEnabled(false);
    TimStartYS.setInterval(100);
    TimStartYS.setEnabled(false);
    heldTimeOut_.setInterval(100);
    heldTimeOut_.setEnabled(false);

    TimKsModel.Tick = [this] { TimKsModel_Timer(); };
    TimeKS.Tick = [this] { TimeKS_Timer(); };
    TimerREDO.Tick = [this] { TimerREDO_Timer(); };
    TimStartYS.Tick = [this] { TimStartYS_Timer(); };
    heldTimeOut_.Tick = [this] { heldTimeOut_Timer(); };
    CmdSelLast.Click = [this] { CmdSelLast_Click(); };
    CmdSelFH.Click = [this] { CmdSelFH_Click(); };
    CmdSelNext.Click = [this] { CmdSelNext_Click(); };
    CmdKSFH.Click = [this] { CmdKSFH_Click(); };
    Image2.Click = [this] { Image2_Click(); };
    LblZXH.Click = [this] { LblZXH_Click(); };
    LblClose.Click = [this] { LblClose_Click(); };
    CmdEn.Click = [this] { CmdEn_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    LblIME.Click = [this] { LblIME_Click(); };

    mIme.caption = "输入法";
    mIme.visible = false;
    mEng.caption = "英语（美国）";
    mEng.Click = [this] { mIme_Click(0); };
    mIme.items.push_back(&mEng);
    for (int k = 1; k <= 10; ++k) {
        mCn(k).caption = "中文" + std::to_string(k);
        mCn(k).Click = [this, k] { mIme_Click(k); };
        mIme.items.push_back(&mCn(k));
    }

    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
    Label2.MouseDown = [this](int b, int s, int x, int y) { Label2_MouseDown(b, s, x, y); };
    FrmZXH.MouseDown = [this](int b, int s, int x, int y) { FrmZXH_MouseDown(b, s, x, y); };
    FrmZXH.MouseMove = [this](int b, int s, int x, int y) { FrmZXH_MouseMove(b, s, x, y); };
    Command2.MouseMove = [this](int b, int s, int x, int y) { Command2_MouseMove(b, s, x, y); };
    LblUnit.Click = [this] { LblUnit_Click(); };
    LblUnit.MouseMove = [this](int b, int s, int x, int y) { LblUnit_MouseMove(b, s, x, y); };
    RtbTM.Click = [this] { RtbTM_Click(); };
    RtbTM.KeyUp = [this](int& k, int s) { RtbTM_KeyUp(k, s); };
    PicUnit.KeyUp = [this](int& k, int s) { PicUnit_KeyUp(k, s); };

    // The small panel's face is part of the window, not of the module's skin; without it the
    // panel still works, only bare.
    forms::OnError{}([&] { FrmZXH.setPicture(p.LoadPicture(platform::joinPath(p.g.ProgramFolder, SmallPanelPicture))); });
}

int FrmTm::sx(double v) const { return p_.sx(v); }
int FrmTm::sy(double v) const { return p_.sy(v); }
forms::PicturePtr FrmTm::skin(const std::string& id) { return p_.SkinPicture(id); }

// ---- load ----

void FrmTm::Form_Load() {
    Shared& g = p_.g;
    forms::OnError step;  // silent: a missing skin or a bad value skips only its statement
    const double fx = g.ScaleX;

    // Every session starts guarded, whichever road opened it and whatever the last one left.
    g.AllowPanelUnload = 0;
    step([&] { setIcon(skin("l62011")); });
    step([&] { setWidth(sx(4980)); });
    step([&] { setHeight(sy(3630)); });
    step([&] { setPicture(skin("l01046")); });
    step([&] { ImgLogo1.moveTo(sx(60), sy(30)); });
    step([&] { ImgLogo1.setPicture(skin("l20067")); });

    step([&] { DemoStartTicks = 0; });
    for (int k = 1; k <= QuestionCodeList::MaxEntries; ++k) g.ResumeStep[static_cast<std::size_t>(k)] = 1;

    step([&] { setTopmost(true); });
    step([&] { setLeft(sx(15360) - width()); });
    step([&] { setTop(sy(9000) - height()); });

    for (forms::Label* l : {&LblUnit, &LblTime, &LblIME, &LblName}) step([&] { l->setFontSize(9 * fx); });
    step([&] { LblBiao.moveTo(sx(510), sy(90)); });
    step([&] { LblBiao.setFontSize(10 * fx); });

    step([&] { lblMove.move(0, 0, width(), sy(450)); });
    step([&] { LblClose.move(width() - sx(390), sy(30), sx(330), sy(330)); });
    step([&] { LblClose.setPicture(skin("l20003")); });
    step([&] { LblZXH.move(width() - sx(795), sy(30), sx(330), sy(330)); });
    step([&] { LblZXH.setPicture(skin("l20002")); });

    step([&] { FrmSelect.move(0, sy(450), width(), sy(4035)); });
    step([&] { FrmKSXX.move(0, sy(450), width(), sy(4035)); });
    // The main page keeps its design height.
    step([&] { FrmZhuYa.move(0, sy(450), width(), FrmZhuYa.height()); });
    step([&] { FrmZXH.moveTo(0, 0); });

    static const std::array<int, 12> lefts = {90, 1020, 1950, 3030, 4110, 90, 2010, 3930, 90, 2010, 3930, 3030};
    for (int i = 0; i <= 11; ++i) {
        vtrlButton& b = CmdGN(i);
        std::string id = "l010" + platform::rightChars("0" + std::to_string(i), 2);
        if (g.InteractionMode == 3 && i == 3) id = "l01053";
        if (g.InteractionMode == 3 && i == 11) id = "l01054";
        step([&] { b.setPicture(skin(id)); });
        const bool narrow = i == 0 || i == 1 || i == 4;
        const int top = i >= 5 && i <= 10 ? 2355 : 15;
        step([&] { b.move(sx(lefts[static_cast<std::size_t>(i)]), sy(top), sx(narrow ? 720 : 870), sy(330)); });
    }

    step([&] {
        Command2.setWidth(sx(645));
        Command2.setHeight(sy(540));
        Command2.setLeft(platform::clng((FrmZXH.width() - Command2.width()) / 2.0));
        Command2.setTop(sy(270));
    });

    step([&] { RtbTM.move(CmdGN(0).left(), sy(450), sx(4770), sy(1815)); });
    step([&] {
        forms::Font f = RtbTM.font();
        f.size = 11 * fx;
        RtbTM.setFont(f);
    });
    step([&] { Image2.move(sx(3720), sy(1800), sx(870), sy(330)); });
    step([&] { Image2.setFontSize(9 * fx); });
    step([&] { Image2.setCaption("显示图片"); });
    step([&] { Image2.setForeColor(forms::colors::Black); });
    step([&] { Image2.setPicture(skin("l01044")); });

    step([&] { LblTime.move(CmdGN(5).left(), sy(2760), sx(1215), sy(285)); });
    step([&] { PTime.move(sx(1365), LblTime.top(), sx(2055), LblTime.height()); });
    step([&] { LblName.move(sx(3450), LblTime.top(), sx(735), LblTime.height()); });
    step([&] { LblIME.move(sx(4230), LblTime.top(), sx(615), LblTime.height()); });
    step([&] { PicUnit.move(LblTime.left(), LblTime.top(), sx(4080), LblTime.height()); });

    step([&] { Image1.move(sx(120), sy(120), sx(1455), sy(1740)); });
    step([&] { Label1(0).moveTo(sx(1680), sy(120)); });
    for (int k = 1; k <= 5; ++k) {
        step([&] {
            Label1(k).moveTo(Label1(0).left(), platform::clng(Label1(k - 1).top() + 315 * g.ScaleY));
        });
    }
    const std::array<forms::Label*, 6> values = {&KsName1, &KsZWH1, &KsCC1, &KsDAH1, &KsKM1, &KsSFZ1};
    step([&] { KsName1.setLeft(sx(2640)); });
    for (int k = 0; k <= 5; ++k) {
        forms::Label& v = *values[static_cast<std::size_t>(k)];
        step([&] { v.moveTo(KsName1.left(), Label1(k).top()); });
    }
    step([&] { Label1(0).setFontSize(9 * fx); });
    for (int k = 1; k <= 5; ++k) step([&] { Label1(k).setFontSize(Label1(0).font().size); });
    for (int k = 0; k <= 5; ++k) {
        forms::Label& v = *values[static_cast<std::size_t>(k)];
        step([&] { v.setFontSize(Label1(k).font().size); });
    }
    const std::array<const std::string*, 6> texts = {&g.ExamineeName, &g.ExamineeSeat, &g.ExamineeSession,
                                                     &g.ExamineeAdmissionNo, &g.ModuleName, &g.ExamineeIdNo};
    for (int k = 0; k <= 5; ++k) {
        step([&] { values[static_cast<std::size_t>(k)]->setCaption(*texts[static_cast<std::size_t>(k)]); });
    }

    step([&] {
        CmdEn.setTop(LblIME.top());
        CmdEn.setWidth(sx(240));
        CmdEn.setHeight(sy(270));
        CmdEn.setLeft(LblIME.left() + LblIME.width() - CmdEn.width());
    });
    step([&] { CmdEn.setPicture(skin("l01043")); });

    step([&] { g.ExamMinutesLeft = 50; });
    step([&] { LblTime.setCaption("剩余" + std::to_string(g.ExamMinutesLeft) + "分钟"); });
    step([&] { LblTimeJD.setWidth(platform::clng((50 - g.ExamMinutesLeft) * PTime.width() / 50.0)); });
    step([&] { LblName.setCaption(g.ExamineeName); });

    for (int m = 1; m <= 40; ++m) {
        vtrlButton& b = CmTNO(m);
        step([&] { b.setCaption(std::to_string(m)); });
        step([&] { b.setForeColor(forms::colors::Black); });
        step([&] {
            b.move(platform::clng(60 * g.ScaleX + ((m - 1) % 10) * 480 * g.ScaleX),
                   platform::clng(150 * g.ScaleY + ((m - 1) / 10) * 480 * g.ScaleY), sx(450), sy(450));
        });
        step([&] { b.setPicture(skin("l01030")); });
    }

    step([&] { GridPage = 0; });
    step([&] { fitGridToList(); });

    step([&] {
        CmdSelFH.setWidth(sx(825));
        CmdSelFH.setHeight(sy(330));
        CmdSelFH.setLeft(platform::clng((FrmSelect.width() - CmdSelFH.width()) / 2.0));
        CmdSelFH.setTop(CmTNO(35).top() + CmTNO(35).height() + sy(540));
    });
    step([&] { CmdSelFH.setPicture(skin("l01045")); });
    step([&] {
        CmdSelLast.move(platform::clng(CmdSelFH.left() - 1.5 * CmdSelFH.width()), CmdSelFH.top(), CmdSelFH.width(),
                        CmdSelFH.height());
    });
    step([&] { CmdSelLast.setPicture(skin("l01047")); });
    step([&] { CmdKSFH.move(CmdSelFH.left(), CmdSelFH.top(), CmdSelFH.width(), CmdSelFH.height()); });
    step([&] { CmdKSFH.setPicture(skin("l01045")); });
    step([&] {
        CmdSelNext.move(platform::clng(CmdSelFH.left() + 1.5 * CmdSelFH.width()), CmdSelFH.top(), CmdSelFH.width(),
                        CmdSelFH.height());
    });
    step([&] { CmdSelNext.setPicture(skin("l01048")); });

    step([&] { FrmSelect.setVisible(false); });
    step([&] { FrmKSXX.setVisible(false); });

    step([&] {
        auto& s = g.QuestionState[1];
        if (!questionstate::opened(s)) s = static_cast<std::int16_t>(s + 1);
    });

    step([&] { buildImeMenu(); });

    step([&] { DqExam(); });
    step([&] { TimKsModel.setEnabled(true); });
}

// ---- question display ----

std::string FrmTm::titleFor(const std::string& moduleName, std::int16_t listMode, std::int16_t listBase,
                            std::int16_t paperSlot, int q, std::int16_t questionCount, std::int32_t code,
                            const std::string& doneBefore, const std::string& unchanged) {
    const std::string l2 = platform::leftChars(moduleName, 2);
    const std::string c4 = QuestionCode{code}.shown();
    const std::string d = doneBefore == "F" ? "(未完成)" : "(已完成)";
    const std::string qs = std::to_string(q);
    const std::string of = qs + "/" + std::to_string(questionCount) + "(" + c4 + ")" + d;
    switch (listMode) {
        case 0:
            return l2 + " " + std::to_string(listBase + 1) + "套" + "第" + qs + "题(" + c4 + ")";
        case 2:
            return l2 + " 错" + std::to_string(paperSlot + 1) + "-" + of;
        case 5:
            return l2 + " 已" + of;
        case 6:
            return l2 + " 未" + of;
        case 8:
            return l2 + " 随" + std::to_string(paperSlot - 20) + "-" + qs + "(" + c4 + ")";
        case 9:
        case 10:
        case 11:
            return l2 + " 藏" + of;
        case 12:
        case 13:
        case 14:
            return l2 + " 复" + of;
        case 20:
            return l2 + " " + std::to_string(listBase + 1) + "单元" + qs + "/" + std::to_string(questionCount) + "题" + d;
        default:
            return unchanged;
    }
}

void FrmTm::DqExam() {
    Shared& g = p_.g;
    forms::OnError step;
    const int q = g.CurrentQuestion;

    step([&] { CmdGN(0).setEnabled(q > 1); });
    step([&] { CmdGN(1).setEnabled(q < g.QuestionCount); });

    // An empty list has no task and no step: the set's files hold nothing of it.
    const bool emptyList = g.QuestionCount < 1;
    // A file that cannot be read shows no task rather than the previous question's.
    if (emptyList || !step([&] { g.QuestionLine = platform::readLine(g.QuestionFilePath, q); }))
        g.QuestionLine.clear();

    const QuestionRecord question{g.QuestionLine};
    step([&] {
        std::string shown;
        for (char c : question.text()) {
            if (c == '|') shown += "\r\n";
            else shown += c;
        }
        RtbTM.setText(shown);
    });
    step([&] { p_.frmPicture().hide(); });
    step([&] { Image2.setVisible(false); });

    if (question.hasPicture()) {
        const std::string id = question.pictureId();
        // A picture that cannot be read, or a blank id, must not leave another question's
        // picture behind, nor a button that would show nothing.
        const bool loaded = !id.empty() && step([&] { p_.frmPicture().Image1.setPicture(skin(id)); });
        if (!loaded) step([&] { p_.frmPicture().Image1.setPicture(nullptr); });
        step([&] { Image2.setCaption("显示图片"); });
        step([&] { RtbTM.setText(question.task()); });
        if (loaded) step([&] { Image2.setVisible(true); });
    }

    // Pictures not recorded yet are left for the step layout to set.
    if (!emptyList) step([&] {
        const auto& pics = g.QuestionPictures[entry(q)];
        FrmMain& m = p_.frmMain();
        std::array<forms::Image*, 5> images = {&m.Image1, &m.Image2, &m.Image3, &m.Image4, &m.Image5};
        for (std::size_t c = 0; c <= 5; ++c) {
            if (pics[c].empty()) continue;
            step([&] {
                forms::PicturePtr pic = skin(pics[c]);
                if (c == 0) m.setPicture(pic);
                else images[c - 1]->setPicture(pic);
            });
        }
    });

    // The automatic steps belong to the question that was shown before.
    step([&] { p_.frmMain().Timer3.setEnabled(false); });
    if (!emptyList) step([&] { p_.frmMain().Timer2.setEnabled(true); });

    step([&] {
        const std::size_t k = entry(q);
        LblBiao.setCaption(titleFor(g.ModuleName, g.ListMode, g.ListBase, g.PaperSlot, q, g.QuestionCount,
                                    g.QuestionCodes[k], g.DoneBefore[k], LblBiao.caption()));
    });

    step([&] {
        std::string list = "未完成的题目";
        const int last = std::min<int>(g.QuestionCount, QuestionCodeList::MaxEntries);
        for (int k = 1; k <= last; ++k)
            if (!questionstate::done(g.QuestionState[static_cast<std::size_t>(k)])) list += " " + std::to_string(k);
        LblUnit.setCaption(list);
    });

    step([&] {
        auto& s = g.QuestionState[entry(q)];
        if (!questionstate::opened(s)) s = static_cast<std::int16_t>(s + 1);
    });
    step([&] { g.CurrentStep = g.ResumeStep[entry(q)]; });
    step([&] {
        if (g.InteractionMode != 3) g.InteractionMode = 2;
    });
    step([&] {
        CmdGN(3).setVisible(!questionstate::marked(g.QuestionState[entry(q)]));
        CmdGN(11).setVisible(!CmdGN(3).visible());
    });
    step([&] {
        if (g.ListMode == 0 && g.InteractionMode == 2) TimKsModel.setEnabled(true);
    });
    step([&] { p_.frmMain().setWindowState(0); });
    step([&] { p_.frmMain().show(); });
}

void FrmTm::TimerREDO_Timer() {
    forms::OnError step;
    step([&] { DqExam(); });
    step([&] { TimerREDO.setEnabled(false); });
}

// ---- timers ----

// An exam offers hand-in, examinee data and tips where a practice offers end, guided help and
// the demonstration, and keeps the list of questions not done to itself.
void FrmTm::TimKsModel_Timer() {
    PicUnit.setVisible(p_.g.InteractionMode != 3);
    showButtonSet();
    TimKsModel.setEnabled(false);
}

void FrmTm::showButtonSet() {
    for (int k = 5; k <= 10; ++k) {
        CmdGN(k).setVisible(PicUnit.visible());
        if (k >= 8) CmdGN(k).setVisible(!PicUnit.visible());
    }
}

// Text and bar show the minutes before this tick: the first one, a minute after the load,
// reads 50 with an empty bar, the 50th reads 1 and ends the time.
void FrmTm::TimeKS_Timer() {
    Shared& g = p_.g;
    forms::OnError step;
    if (g.ListMode != 0 && g.ListMode != 8) {
        step([&] { TimeKS.setEnabled(false); });
        return;
    }
    step([&] { LblTime.setCaption("剩余" + std::to_string(g.ExamMinutesLeft) + "分钟"); });
    step([&] { LblTimeJD.setWidth(platform::clng(PTime.width() * (50 - g.ExamMinutesLeft) / 50.0)); });
    step([&] { g.ExamMinutesLeft = static_cast<std::int16_t>(g.ExamMinutesLeft - 1); });
    if (g.ExamMinutesLeft <= 0) timeOut();
}

// The countdown stops before anything is shown: a box left open must not tick on below 0.
// A hand-in dialog already open decides alone, so the paper goes in once. Under a
// demonstration or inside another window's handler the hand-in would unload windows whose
// code is still running; it waits for them instead.
void FrmTm::timeOut() {
    forms::OnError step;
    step([&] { TimeKS.setEnabled(false); });
    const bool dialogOpen = p_.loadedFrmEnd1() || p_.loadedFrmEnd2();
    if (!dialogOpen && timeOutMustWait()) {
        step([&] { heldTimeOut_.setEnabled(true); });
        return;
    }
    step([&] { heldTimeOut_.setEnabled(false); });
    step([&] { rt().msgBox("时间已到，自动交卷！", forms::mb::OkOnly, p_.g.ModuleName); });
    if (dialogOpen) return;
    step([&] { p_.frmEnd1().show(true); });
    // The panel may be gone now: nothing after the dialogs touches it.
}

// The tick is one handler frame of its own; a deeper one runs inside another handler that is
// still waiting: a modal window, a message box, a popup menu, a drag or a request.
bool FrmTm::timeOutMustWait() const { return p_.g.DemoRunning || rt().nestedLoops() > 0 || rt().depth() > 1; }

void FrmTm::heldTimeOut_Timer() {
    if (timeOutMustWait()) return;
    timeOut();
}

// The player starts from a tick of its own, a moment after the request, so that the click
// that asked for it has long returned.
void FrmTm::TimStartYS_Timer() {
    forms::OnError step;
    step([&] { DemoStartTicks = static_cast<std::int16_t>(DemoStartTicks + 1); });
    if (DemoStartTicks <= 1) return;
    step([&] { DemoStartTicks = 0; });
    step([&] { TimStartYS.setEnabled(false); });
    step([&] {
        if (FrmMain* m = p_.loadedFrmMain()) m->hide();
    });
    step([&] { hide(); });
    // Showing loads the player, whose load lays out the first step before the window appears.
    step([&] { p_.frmYanShi().show(); });
    step([&] { p_.g.DemoRunning = true; });
}

void FrmTm::StartDemonstration() {
    Shared& g = p_.g;
    forms::OnError step;
    step([&] { p_.frmPicture().hide(); });
    step([&] { Image2.setCaption("显示图片"); });
    step([&] { g.DemoRunning = true; });

    // A file that cannot be read, or holds nothing, leaves the line the panel already has.
    step([&] {
        const std::vector<std::string> lines = platform::readLines(g.QuestionFilePath);
        if (lines.empty()) return;
        const int q = g.CurrentQuestion;
        g.QuestionLine = q >= 1 && static_cast<std::size_t>(q) <= lines.size()
                             ? lines[static_cast<std::size_t>(q) - 1]
                             : lines.back();
    });

    // The player shows this text as its task, with the marks as they stand.
    const QuestionRecord question{g.QuestionLine};
    step([&] { RtbTM.setText(question.text()); });
    step([&] { Image2.setVisible(false); });
    if (question.hasPicture()) {
        // A picture that cannot be read leaves the one the picture window has.
        step([&] { p_.frmPicture().Image1.setPicture(skin(question.pictureId())); });
        step([&] { Image2.setCaption("显示图片"); });
        step([&] { RtbTM.setText(question.task()); });
        step([&] { Image2.setVisible(true); });
    }

    step([&] { g.DemoRunning = true; });
    step([&] { TimStartYS.setEnabled(true); });
}

// ---- commands ----

void FrmTm::CmdGN_Click(int Index) {
    Shared& g = p_.g;
    // An empty list has nothing to show, mark or grid; only the end of the practice works.
    if (g.QuestionCount < 1 && Index != 5) return;
    forms::OnError step;
    switch (Index) {
        case 0:
            step([&] { g.CurrentQuestion = static_cast<std::int16_t>(std::max(g.CurrentQuestion - 1, 1)); });
            step([&] { DqExam(); });
            break;
        case 1:
            step([&] {
                g.CurrentQuestion = static_cast<std::int16_t>(std::min<int>(g.CurrentQuestion + 1, g.QuestionCount));
            });
            step([&] { DqExam(); });
            break;
        case 2:
            // Only the steps start again: a done question stays done.
            step([&] { g.ResumeStep[entry(g.CurrentQuestion)] = 1; });
            step([&] { DqExam(); });
            break;
        case 3:
            step([&] {
                auto& s = g.QuestionState[entry(g.CurrentQuestion)];
                if (!questionstate::marked(s)) s = static_cast<std::int16_t>(s + 2);
            });
            step([&] { CmdGN(11).setVisible(true); });
            step([&] { CmdGN(3).setVisible(false); });
            break;
        case 4:
            step([&] { dqYeMian(); });
            break;
        case 5:
            step([&] { EndPractice(); });
            break;
        case 6:
            step([&] { g.InteractionMode = 1; });
            // The step already on screen gets its hint and marks now; later layouts keep them.
            step([&] {
                FrmMain& m = p_.frmMain();
                const std::initializer_list<forms::Control*> hints = {&m.LHelp, &m.Shape1, &m.Shape4, &m.Shape2};
                for (forms::Control* c : hints) step([&] { c->setVisible(true); });
            });
            step([&] { bringMainBack(); });
            break;
        case 7:
            step([&] { StartDemonstration(); });
            break;
        case 8:
            // Handing in drops a time-out still waiting: the dialogs decide from here.
            step([&] { heldTimeOut_.setEnabled(false); });
            step([&] { moveTo(0, 0); });
            step([&] { hide(); });
            step([&] { p_.frmEnd1().show(true); });
            // The panel may be gone now: nothing after the dialogs touches it.
            break;
        case 9:
            step([&] { FrmKSXX.setVisible(true); });
            break;
        case 10:
            step([&] { p_.frmPicture().hide(); });
            step([&] { Image2.setCaption("显示图片"); });
            // The dialog unloads itself; nothing here touches it once the show returns.
            step([&] { p_.frmCZTS().show(true); });
            break;
        case 11:
            step([&] {
                auto& s = g.QuestionState[entry(g.CurrentQuestion)];
                if (questionstate::marked(s)) s = static_cast<std::int16_t>(s - 2);
            });
            step([&] { CmdGN(3).setVisible(true); });
            step([&] { CmdGN(11).setVisible(false); });
            break;
        default:
            break;
    }
}

void FrmTm::CmTNO_Click(int Index) {
    Shared& g = p_.g;
    const int q = GridPage * 40 + Index;
    if (q < 1 || q > g.QuestionCount) return;
    forms::OnError step;
    step([&] { g.CurrentQuestion = static_cast<std::int16_t>(q); });
    step([&] { FrmSelect.setVisible(false); });
    step([&] { DqExam(); });
}

void FrmTm::CmdSelLast_Click() {
    GridPage = static_cast<std::int16_t>(std::max(GridPage - 1, 0));
    dqYeMian();
}

void FrmTm::CmdSelFH_Click() { FrmSelect.setVisible(false); }

void FrmTm::CmdSelNext_Click() {
    GridPage = static_cast<std::int16_t>(std::min<int>(GridPage + 1, LastGridPage));
    dqYeMian();
}

void FrmTm::CmdKSFH_Click() { FrmKSXX.setVisible(false); }

// ---- question grid ----

int FrmTm::fitGridToList() {
    const int count = std::clamp<int>(p_.g.QuestionCount, 0, QuestionCodeList::MaxEntries);
    CmdSelLast.setVisible(count > 40);
    CmdSelNext.setVisible(count > 40);
    for (int m = count + 1; m <= 40; ++m) CmTNO(m).setVisible(false);
    LastGridPage = static_cast<std::int16_t>(count / 40 - (count % 40 == 0 ? 1 : 0));
    return count;
}

void FrmTm::dqYeMian() {
    const Shared& g = p_.g;
    const int count = fitGridToList();
    // A page kept from a longer list must not show entries the list no longer has.
    GridPage = static_cast<std::int16_t>(std::clamp<int>(GridPage, 0, std::max<int>(LastGridPage, 0)));

    const int n = count < GridPage * 40 + 40 ? count % 40 : 40;
    for (int k = 1; k <= n; ++k) {
        const int q = GridPage * 40 + k;
        vtrlButton& b = CmTNO(k);
        b.setCaption(std::to_string(q));
        const std::int16_t state = g.QuestionState[static_cast<std::size_t>(q)];
        const char* id = questionstate::opened(state) ? "l01031" : "l01030";
        if (questionstate::marked(state)) id = "l01032";
        // A missing grid picture costs that picture, not the rest of the page.
        forms::OnError()([&] { b.setPicture(skin(id)); });
        FrmSelect.setVisible(true);
        b.setVisible(true);
    }
    for (int k = n + 1; k <= 40; ++k) CmTNO(k).setVisible(false);
}

// ---- input-method choice ----

void FrmTm::buildImeMenu() {
    forms::OnError step;
    LayoutMenuCount = 1;
    LayoutHandles.clear();
    step([&] {
        std::vector<platform::KeyboardLayout> all = p_.keyboard().list();
        if (all.size() > MaxLayouts) all.resize(MaxLayouts);
        LayoutHandles = std::move(all);
    });
    for (const platform::KeyboardLayout& l : LayoutHandles) {
        if (l.description.empty()) {
            mEng.caption = "英语（美国）";
            continue;
        }
        if (LayoutMenuCount >= 1 && LayoutMenuCount <= 10) mCn(LayoutMenuCount).caption = l.description;
        ++LayoutMenuCount;
    }
    for (int k = 10; k >= 2; --k)
        if (LayoutMenuCount < k + 1) mCn(k).visible = false;
}

std::string FrmTm::layoutFor(int Position) const {
    int described = 0;
    for (const platform::KeyboardLayout& l : LayoutHandles) {
        if (Position == 0 && l.description.empty()) return l.id;
        if (!l.description.empty() && ++described == Position) return l.id;
    }
    return {};
}

void FrmTm::LblIME_Click() {
    forms::OnError step;
    if (!p_.g.UseInputMethod) return;
    step([&] {
        popupMenu(mIme, LblIME.left(), LblIME.top() - LayoutMenuCount * 300 + FrmZhuYa.top(), true);
    });
}

// The command line switches to the stored layout as it takes the focus; a step without one
// leaves the switch to the next box that does.
void FrmTm::mIme_Click(int Position) {
    forms::OnError step;
    step([&] { p_.g.ChosenKeyboardLayout = layoutFor(Position); });
    step([&] { p_.frmMain().setWindowState(0); });
    step([&] { p_.frmMain().show(); });
    step([&] { p_.frmMain().Text1.setFocus(); });
}

void FrmTm::CmdEn_Click() {
    LblZXH_Click();
    p_.frmIME().show(true);
}

// ---- window behaviour ----

void FrmTm::Form_Unload(int& Cancel) {
    if (p_.g.AllowPanelUnload == 0) Cancel = 1;
}

void FrmTm::bringMainBack() {
    FrmMain& m = p_.frmMain();
    m.setWindowState(0);
    m.show();
}

void FrmTm::lblMove_MouseDown(int Button, int, int, int) {
    forms::OnError step;
    if (Button == forms::buttons::Left) step([&] { beginDrag(); });
    step([&] { bringMainBack(); });
}

void FrmTm::Label2_MouseDown(int Button, int, int, int) {
    forms::OnError step;
    if (Button == forms::buttons::Left) step([&] { beginDrag(); });
    step([&] { Command2.setBorderStyle(0); });
    step([&] { bringMainBack(); });
}

void FrmTm::FrmZXH_MouseDown(int Button, int, int, int) {
    forms::OnError step;
    if (Button == forms::buttons::Left) step([&] { beginDrag(); });
    step([&] { Command2.setBorderStyle(0); });
}

void FrmTm::FrmZXH_MouseMove(int, int, int, int) { Command2.setBorderStyle(0); }
void FrmTm::Command2_MouseMove(int, int, int, int) { Command2.setBorderStyle(1); }

// Minimised, the panel is only the small panel, at the simulated window's bottom-left corner.
void FrmTm::LblZXH_Click() {
    forms::OnError step;
    step([&] { setWidth(FrmZXH.width()); });
    step([&] { setHeight(FrmZXH.height()); });
    step([&] { setLeft(p_.frmMain().left()); });
    step([&] { setTop(p_.frmMain().top() + p_.frmMain().height() - height()); });
    step([&] { FrmZXH.setVisible(true); });
}

void FrmTm::Command2_Click() {
    forms::OnError step;
    step([&] { bringMainBack(); });
    step([&] { setWidth(sx(4980)); });
    step([&] { setHeight(sy(3630)); });
    step([&] { p_.frmMain().dockPanel(); });
    step([&] { FrmZXH.setVisible(false); });
}

// A click on the close-style button only shows the button pressed.
void FrmTm::LblClose_Click() {}

void FrmTm::Image2_Click() {
    FrmPicture& f = p_.frmPicture();
    if (Image2.Caption() == "显示图片") {
        f.show();
        f.Timer1.setEnabled(true);
        Image2.setCaption("隐藏图片");
    } else {
        f.setVisible(false);
        Image2.setCaption("显示图片");
    }
}

// The strip can be narrower than the list; the tip shows it whole.
void FrmTm::LblUnit_Click() { LblUnit.setToolTipText(LblUnit.caption()); }
void FrmTm::LblUnit_MouseMove(int, int, int, int) { LblUnit.setToolTipText(LblUnit.caption()); }

void FrmTm::RtbTM_Click() { bringMainBack(); }
void FrmTm::RtbTM_KeyUp(int&, int) { bringMainBack(); }
void FrmTm::Form_KeyUp(int&, int) { bringMainBack(); }

void FrmTm::PicUnit_KeyUp(int&, int) {
    forms::OnError step;
    step([&] { bringMainBack(); });
}

}  // namespace qz
