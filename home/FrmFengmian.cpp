#include "home/FrmFengmian.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "app/FrmAbout.h"
#include "app/program.h"
#include "app/records.h"
#include "forms/on_error.h"
#include "home/paper_records.h"
#include "home/review_lists.h"
#include "net/FrmUpdata.h"
#include "platform/files.h"
#include "platform/legacy_text.h"
#include "platform/numbers.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "platform/vb_error.h"
#include "session/FrmLogon.h"
#include "session/FrmTm.h"
#include "session/learner_records.h"
#include "session/question_sets.h"
#include "session/session_launch.h"
#include "simwindow/FrmMain.h"
#include "ui/FrmQZMSGBOX.h"

namespace qz {

namespace {

std::string twoDigits(int n) { return platform::rightChars("0" + std::to_string(n), 2); }

// Leading number of a text as a 16-bit integer, as the files' numbers are read.
int numberOf(const std::string& text) { return platform::cint(platform::val(text)); }

constexpr int UnitLimit = 20;    // unit buttons 50-69
constexpr int PaperSlots = 30;   // rows 0-29
constexpr int FixedPaperLimit = 20;

// A paper row's score frame; the best score stands in its blanks.
constexpr const char* ScoreLead = "最好成绩：";
constexpr const char* ScoreBlanks = "    ";

}  // namespace

FrmFengmian::FrmFengmian(Program& p)
    : forms::Form(p.rt, "FrmFengmian"),
      picShouYe(this, "picShouYe"),
      LblInfo(this, "LblInfo"),
      PicTOP(this, "PicTOP"),
      lblMove(&PicTOP, "lblMove"),
      LblCaption(&PicTOP, "LblCaption"),
      PicTiKu(this, "PicTiKu"),
      PicKaCH(this, "PicKaCH"),
      PicBiaoZhi(this, "PicBiaoZhi"),
      PicCuoTi(this, "PicCuoTi"),
      PicHelp(this, "PicHelp"),
      PicUnitLeft(&PicTiKu, "PicUnitLeft"),
      imgPicIII(&PicTiKu, "imgPicIII"),
      ImgUnitGezi(&PicTiKu, "ImgUnitGezi"),
      ImgUnitD(&PicTiKu, "ImgUnitD"),
      ImgUnitC(&PicTiKu, "ImgUnitC"),
      LblUnitDQCAP(&PicTiKu, "LblUnitDQCAP"),
      PicKaCHLeft(&PicKaCH, "PicKaCHLeft"),
      ImgSuiJi(&PicKaCH, "ImgSuiJi"),
      LblNoHis(&PicKaCH, "LblNoHis"),
      ImgShiJuan(&PicKaCH, "ImgShiJuan"),
      LblShiJuanBiao(&PicKaCH, "LblShiJuanBiao"),
      LblShiJuanTime(&PicKaCH, "LblShiJuanTime"),
      LblShiJuanSSSS(&PicKaCH, "LblShiJuanSSSS"),
      LblShiJuanScore(&PicKaCH, "LblShiJuanScore"),
      LblShiJuanCCC(&PicKaCH, "LblShiJuanCCC"),
      LblShiJuanCuoTi(&PicKaCH, "LblShiJuanCuoTi"),
      LblShiJuanDel(&PicKaCH, "LblShiJuanDel"),
      PicHelpLeft(&PicHelp, "PicHelpLeft"),
      LlbHelpCAP(&PicHelp, "LlbHelpCAP"),
      WebHelpCON(&PicHelp, "WebHelpCON"),
      ImgBiaoZhiBack(&PicBiaoZhi, "ImgBiaoZhiBack"),
      LblBiaoZhiWei(&PicBiaoZhi, "LblBiaoZhiWei"),
      LblBiaoZhiYI(&PicBiaoZhi, "LblBiaoZhiYI"),
      ImgCuoTiBack(&PicCuoTi, "ImgCuoTiBack"),
      LblCuoTiWei(&PicCuoTi, "LblCuoTiWei"),
      LblCuoTiYI(&PicCuoTi, "LblCuoTiYI"),
      ClickBotn(this, "ClickBotn"),
      PicAd(this, "PicAd"),
      LblAD(&PicAd, "LblAD"),
      TimFH(this, "TimFH"),
      p_(p) {
    setFormBorderStyle(0);
    setStartUpPosition(2);
    move(0, 0, 12000, 9000);
    setBackColor(forms::colors::White);
    for (forms::PictureBox* box : {&PicTOP, &PicTiKu, &PicKaCH, &PicBiaoZhi, &PicCuoTi, &PicHelp, &PicAd}) {
        box->setBorderStyle(0);
        box->setVisible(false);
        box->setBackColor(forms::colors::White);
    }
    for (int i : {0, 1, 2, 3, 17, 18, 19, 20, 21}) {
        forms::Label& l = LblInfo.load(i);
        l.setBackStyle(0);
        l.setAutoSize(i <= 3);
        l.setFont({"宋体", 9});
    }
    lblMove.setBackStyle(0);
    lblMove.setCaption("");
    LblCaption.setBackStyle(0);
    LblCaption.setAutoSize(true);
    LblCaption.setForeColor(forms::colors::White);
    LblCaption.setFont({"宋体", 10});
    ImgUnitD.setStretch(true);
    ImgUnitC.setStretch(true);
    for (int i = 0; i <= 4; ++i) {
        forms::Label& l = LblUnitDQCAP.load(i);
        l.setBackStyle(0);
        l.setAutoSize(true);
        l.setForeColor(forms::rgb(51, 51, 51));
        l.setFont({"宋体", 9});
    }
    LblUnitDQCAP(0).setCaption("学习进度信息");

    // The paper rows: all backgrounds first, then the labels, which thus paint above them.
    const forms::Color grey = forms::rgb(102, 102, 102), blue = forms::rgb(12, 127, 233);
    for (int s = 0; s < PaperSlots; ++s) ImgShiJuan.load(s);
    // At the sizes the build gives them, so that no caption is measured at a size it never shows in.
    auto rowLabels = [&](forms::ControlArray<forms::Label>& labels, forms::Color color, const std::string& caption,
                         double size = 9) {
        for (int s = 0; s < PaperSlots; ++s) {
            forms::Label& l = labels.load(s);
            l.setBackStyle(0);
            l.setAutoSize(true);
            l.setFont({"宋体", size});
            l.setForeColor(color);
            l.setCaption(caption);
        }
    };
    rowLabels(LblShiJuanBiao, forms::rgb(51, 51, 51), "", 10);
    rowLabels(LblShiJuanTime, grey, "");
    rowLabels(LblShiJuanSSSS, grey, std::string(ScoreLead) + ScoreBlanks + "分");
    rowLabels(LblShiJuanScore, blue, "");
    for (int s = 0; s < PaperSlots; ++s) LblShiJuanScore(s).setAutoSize(false);
    rowLabels(LblShiJuanCCC, forms::rgb(224, 0, 0), "错题复习");
    rowLabels(LblShiJuanCuoTi, grey, "");
    rowLabels(LblShiJuanDel, blue, "");
    LblShiJuanCCC.bind([this](forms::Label& l, int i) { l.Click = [this, i] { LblShiJuanCCC_Click(i); }; });
    LblShiJuanDel.bind([this](forms::Label& l, int i) { l.Click = [this, i] { LblShiJuanDel_Click(i); }; });
    LblNoHis.setBackStyle(0);
    LblNoHis.setAutoSize(true);
    LblNoHis.setForeColor(forms::rgb(51, 51, 51));
    LblNoHis.setFont({"宋体", 20});
    LblNoHis.setCaption("您还没有练习过随机试卷！");
    LblNoHis.setVisible(false);
    ImgSuiJi.setVisible(false);
    LlbHelpCAP.setBackStyle(0);
    LlbHelpCAP.setFont({"宋体", 20});
    LblInfo.bind([this](forms::Label& l, int i) { l.Click = [this, i] { LblInfo_Click(i); }; });
    for (forms::Label* l : {&LblBiaoZhiWei, &LblBiaoZhiYI, &LblCuoTiWei, &LblCuoTiYI}) {
        l->setBackStyle(0);
        l->setFont({"宋体", 10});
        l->setCaption("00");
    }
    LblAD.setBackStyle(0);
    LblAD.setAutoSize(true);
    LblAD.setFont({"宋体", 10});

    // Each button lives in the container its section owns; the others sit on the window.
    auto containerOf = [this](int i) -> forms::Container* {
        if (i >= 13 && i <= 19) return &PicTOP;
        if (i == 20 || (i >= 37 && i <= 39) || (i >= 47 && i <= 69)) return &PicTiKu;
        if (i == 21 || (i >= 28 && i <= 31) || i >= 70) return &PicKaCH;
        if (i == 22 || i == 23 || i == 40 || i == 41) return &PicBiaoZhi;
        if (i == 24 || i == 25 || i == 42 || i == 43) return &PicCuoTi;
        if (i >= 32 && i <= 36) return &PicHelp;
        return this;
    };
    // The buttons' stored layout: white 宋体 9 pt captions.
    for (int i = 0; i <= 99; ++i) {
        vtrlButton& b = ClickBotn.load(i, containerOf(i));
        b.setForeColor(forms::colors::White);
        b.setFont({"宋体", 9});
    }
    ClickBotn.bind([this](vtrlButton& b, int i) { b.Click = [this, i] { ClickBotn_Click(i); }; });
    // Stacking: the window's own buttons, then the panels and the top strip, then the
    // advertisement strip on top.
    for (forms::PictureBox* box : {&PicTiKu, &PicKaCH, &PicBiaoZhi, &PicCuoTi, &PicHelp, &PicTOP, &PicAd})
        box->zOrder(0);

    TimFH.setInterval(100);
    TimFH.setEnabled(false);
    TimFH.Tick = [this] { TimFH_Timer(); };
    LblAD.Click = [this] { LblAD_Click(); };
    lblMove.MouseDown = [this](int b, int s, int x, int y) { lblMove_MouseDown(b, s, x, y); };
    picShouYe.MouseDown = [this](int b, int s, int x, int y) { picShouYe_MouseDown(b, s, x, y); };
}

int FrmFengmian::sx(double v) const { return p_.sx(v); }
int FrmFengmian::sy(double v) const { return p_.sy(v); }

forms::PicturePtr FrmFengmian::skin(const std::string& id) { return p_.SkinPicture(id); }

// ---- load ----

void FrmFengmian::Form_Load() {
    Shared& g = p_.g;
    // A missing skin picture or advertisement leaves that part plain; the screen is still
    // built, since the home screen is of no use without its build. A picture or an
    // advertisement that is there but cannot be read is reported.
    forms::OnError step = p_.reporting("fengmianload");
    step([&] { p_.computeScale(); });
    step([&] { setWidth(sx(12000)); });
    step([&] { setHeight(sy(9000)); });
    step([&] { setIcon(skin("l62011")); });
    step([&] { setPicture(skin("l20060")); });
    step([&] { picShouYe.moveTo(0, 0); });
    step([&] { picShouYe.setPicture(skin("l20051")); });
    step([&] { PicTOP.moveTo(0, 0); });
    step([&] { PicTOP.setPicture(skin("l20052")); });
    step([&] { PicTOP.setVisible(false); });
    step([&] { lblMove.move(0, 0, sx(10455), sy(675)); });
    step([&] { PicTiKu.move(0, sy(1650), sx(12000), sy(6900)); });
    step([&] { PicTiKu.setPicture(skin("l20053")); });
    step([&] { PicTiKu.setVisible(false); });
    // PicTOP is as wide as the window and as high as its picture.
    step([&] { PicTOP.move(0, 0, width(), PicTOP.picture() ? PicTOP.picture()->heightTwips : sy(1650)); });
    for (forms::PictureBox* box : {&PicKaCH, &PicBiaoZhi, &PicCuoTi, &PicHelp}) {
        step([&] {
            box->move(PicTiKu.left(), PicTiKu.top(), PicTiKu.width(), PicTiKu.height());
            box->setPicture(PicTiKu.picture());
            box->setVisible(false);
        });
    }
    std::vector<std::string> ad;
    // One larger than any advertisement would hold up every start: it counts as none.
    step([&] {
        ad = readRecordLines(platform::joinPath(platform::joinPath(g.ProgramFolder, "ksdata"), "170100.mxy"),
                             AdvertisementMaxBytes);
    });
    std::string line1 = ad.size() > 0 ? ad[0] : "";
    std::string line2 = ad.size() > 1 ? ad[1] : "";
    AdLink = ad.size() > 2 ? ad[2] : "";
    step([&] { PicAd.moveTo(sx(3000), sy(8100)); });
    step([&] { LblAD.moveTo(0, 0); });
    step([&] {
        LblAD.setMousePointer(99);
        LblAD.setMouseIcon(skin("9l0015"));
    });
    step([&] { LblAD.setFontSize(10 * g.ScaleX); });
    step([&] {
        std::string text;
        for (char32_t c : platform::toU32(platform::trimSpaces(line1))) {
            if (c == U'◎') text += "\r\n";
            else text += platform::fromU32(std::u32string(1, c));
        }
        LblAD.setCaption(text);
    });
    step([&] { LblAD.setForeColor(static_cast<forms::Color>(platform::clng(platform::val(line2)))); });
    step([&] {
        PicAd.setWidth(LblAD.width());
        PicAd.setHeight(LblAD.height());
        PicAd.setVisible(false);
    });
    FengMainCsh();
}

// ---- the build ----

void FrmFengmian::FengMainCsh() {
    Shared& g = p_.g;
    auto& pi = g.ProductInfo;
    forms::OnError on = p_.reporting("fengmaincsh");

    std::string versionLine;
    on([&] {
        auto lines = platform::readLines(g.DataDir + "288895.mxy");
        if (!lines.empty()) versionLine = lines[0];
    });
    on([&] { g.QuestionBankVersion = platform::trimSpaces(versionLine); });

    std::string stamp;
    on([&] {
        auto lines = platform::readLines(g.DataDir + "288899.mxy");
        if (!lines.empty()) stamp = lines[0];
    });
    // A stamp too large to read as a number matches no module either.
    bool otherModule = true;
    on([&] { otherModule = platform::val(stamp) != g.ModuleNumber; });
    if (otherModule) {
        std::string stamped = platform::trimSpaces(stamp);
        std::fprintf(stderr, "The question bank in %s belongs to module %s, not to module %d; the program ends.\n",
                     g.DataDir.c_str(), stamped.empty() ? "(none)" : stamped.c_str(), static_cast<int>(g.ModuleNumber));
        rt().endProgram();
    }

    on([&] { LblInfo(1).setCaption("官方网站：" + pi[16]); });
    on([&] { LblInfo(2).setCaption("客服电话：" + pi[10]); });
    on([&] { LblInfo(3).setCaption("客服QQ：" + pi[11]); });

    std::string ime;
    on([&] {
        auto lines = readRecordLines(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::ImeOption));
        if (!lines.empty()) ime = lines[0];
    });
    on([&] { g.UseInputMethod = platform::val(ime) != 0; });

    on([&] { setCaption("Quorvane练习系统"); });
    on([&] { LblCaption.moveTo(sx(240), sy(120)); });
    on([&] { LblCaption.setFontSize(10 * g.ScaleX); });
    on([&] { LblInfo(0).setCaption("题库版本：V" + versionLine); });
    on([&] { LblCaption.setCaption(g.ModuleTitle); });

    forms::PicturePtr hand;
    on([&] { hand = skin("9l0015"); });
    for (int i = 0; i <= 99; ++i) {
        on([&] {
            ClickBotn(i).setMousePointerValue(99);
            ClickBotn(i).setMouseIcon(hand);
        });
    }
    on([&] { ClickBotn(0).setVisible(false); });
    on([&] { ClickBotn(1).setVisible(false); });

    for (int i = 0; i <= 3; ++i) {
        on([&] { LblInfo(i).setTop(sy(8670)); });
        on([&] { LblInfo(i).setFontSize(9 * g.ScaleX); });
        on([&] { LblInfo(i).setForeColor(static_cast<forms::Color>(platform::clng(platform::val(pi[29])))); });
    }
    for (int i = 0; i <= 3; ++i) on([&] { LblInfo(i).setLeft(sx(platform::val(pi[30 + i]))); });

    std::string catalogue;
    on([&] {
        auto lines = platform::readLines(g.DataDir + "288891.mxy");
        if (!lines.empty()) catalogue = lines[0];
    });
    on([&] {
        catalogue = platform::trimSpaces(catalogue);
        // Slots from 20 on are the random papers' rows.
        g.PaperCount = static_cast<std::int16_t>(
            std::clamp(numberOf(platform::leftChars(catalogue, 2)), 0, FixedPaperLimit));
        // Units beyond the twentieth have no buttons, and set 20 + u of a 21st unit would be
        // the texts file.
        g.UnitCount = static_cast<std::int16_t>(std::clamp(numberOf(platform::midChars(catalogue, 3, 2)), 0, UnitLimit));
    });

    on([&] {
        const auto papers =
            readRandomPapers(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::RandomPapers));
        if (!papers) platform::raise(75);
        RandomPaperCount = std::min(static_cast<int>(papers->size()), RandomPaperLimit);
    });

    for (int i = 0; i <= 48; ++i) on([&] { ClickBotn(i).setPicture(skin("l200" + twoDigits(i))); });

    auto place = [&](int i, double l, double t, double w, double h) {
        on([&] { ClickBotn(i).move(sx(l), sy(t), sx(w), sy(h)); });
    };
    const double W = 12000;
    place(2, W - 825, 90, 330, 330);
    place(3, W - 420, 90, 330, 330);
    place(13, W - 825, 90, 330, 330);
    place(14, W - 420, 90, 330, 330);
    for (int i : {0, 1, 44, 45, 46, 9, 10, 26, 27}) on([&] { ClickBotn(i).setVisible(false); });

    if (platform::trimSpaces(pi[34]) == "2") {
        place(4, 2400, 3000, 2250, 2250);
        place(5, 6900, 3000, 2250, 2250);
        on([&] { ClickBotn(6).setVisible(false); });
        on([&] { ClickBotn(7).setVisible(false); });
        for (int i = 17; i <= 21; ++i) {
            on([&] {
                forms::Label& l = LblInfo(i);
                l.setCaption("");
                if (i <= 20) l.move(sx(1440 + ((i + 1) % 2) * 1590), sy(6840 + ((i - 17) / 2) * 600), sx(1380), sy(300));
                else l.move(sx(480), sy(6570), sx(2820), sy(300));
                l.setVisible(true);
            });
        }
    } else {
        for (int i = 4; i <= 7; ++i) place(i, 750 + (i - 4) * 2700, 3840, 2250, 2400);
        for (int i = 17; i <= 21; ++i) on([&] { LblInfo(i).setVisible(false); });
    }
    place(8, 7800, 7320, 540, 825);
    place(11, 9720, 7320, 540, 825);
    place(12, 10680, 7320, 540, 825);
    for (int i = 15; i <= 19; ++i) place(i, 225 + (i - 15) * 1305, 435, 1230, 1200);
    place(20, 9000, 5880, 1800, 600);
    place(21, 9750, 5850, 1800, 600);
    place(22, 8880, 2310, 1800, 600);
    place(23, 6240, 3300, 1200, 375);
    place(24, 8880, 2310, 1800, 600);
    place(25, 6240, 3300, 1200, 375);

    unitStep(on);
    paperStep(on);
    reviewStep(on);
    helpStep(on);
}

// ---- unit section ----

std::string FrmFengmian::unitCaption(int unit, const std::string& name) {
    std::u32string text = platform::toU32(std::to_string(unit + 1) + "." + name + std::string(7, ' ') + std::string(64, ' '));
    auto cols = [](char32_t c) { return platform::ansiCode(c) > 0 ? 1 : 2; };
    int sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        sum += cols(text[i]);
        if (sum >= 24) {
            std::u32string out = text.substr(0, i + 1);
            if (sum == 24) out += (i + 1 < text.size() && cols(text[i + 1]) == 1) ? text[i + 1] : U' ';
            return platform::fromU32(out);
        }
    }
    return platform::fromU32(text);
}

void FrmFengmian::unitStep(forms::OnError& on) {
    Shared& g = p_.g;

    // 1. Question counts of the bank, from the catalogue's second line.
    std::array<int, 26> counts{};
    const bool countsRead = on([&] {
        auto lines = platform::readLines(g.DataDir + "288891.mxy");
        std::string line = lines.size() >= 2 ? lines[1] : (lines.empty() ? "" : lines[0]);
        for (int k = 0; k < 26; ++k) {
            std::string pair = platform::midChars(line, 2 * k + 1, 2);
            counts[static_cast<std::size_t>(k)] = pair.empty() ? 0 : std::max(0, numberOf(pair));
        }
    });

    // 2. The progress file follows the bank: each line padded with "F" to its unit's count
    // (however far it was short) and cut to it.
    const std::string progressPath = recordfile::path(g.ProgramFolder, recordfile::UnitProgress);
    std::vector<std::string> progress;
    const bool progressRead = on([&] { progress = readRecordLines(g.HeldRecords, progressPath); });
    progressUnread_ = !progressRead;
    if (progress.size() > 26) progress.resize(26);
    progress.resize(25);
    for (std::size_t u = 0; u < 25; ++u) {
        std::size_t count = static_cast<std::size_t>(counts[u]);
        std::u32string line = platform::toU32(progress[u]);
        if (line.size() < count) line.append(count - line.size(), U'F');
        line.resize(count);
        progress[u] = platform::fromU32(line);
    }
    // Only lines that were read, cut to counts that were read, go back: a progress file that
    // exists but cannot be read, or a catalogue that is missing or cannot be read, would
    // otherwise turn the learner's progress into "F" or empty lines. Both failures are
    // reported above; the file stays as it is, as it does when the start of the program holds it.
    if (countsRead && progressRead && !g.HeldRecords.holds(progressPath)) {
        on([&] {
            std::vector<std::string> out = progress;
            out.emplace_back();  // the file ends with an empty line
            // A file that holds these lines already is left as it is: its safe replace waits
            // for the disk twice, at every start.
            if (!platform::fileHoldsLines(progressPath, out)) platform::writeLinesReplace(progressPath, out);
        });
    }

    // 3. The unit table.
    for (int u = 0; u < g.UnitCount; ++u) {
        on([&] {
            std::string line = platform::trimSpaces(progress[static_cast<std::size_t>(u)]);
            auto& row = g.UnitTable[static_cast<std::size_t>(u)];
            row[2] = std::to_string(platform::charCount(line));
            row[4] = line;
            row[3] = std::to_string(std::count(line.begin(), line.end(), 'F'));
        });
    }

    on([&] { PicUnitLeft.setPicture(skin("l20054")); });
    on([&] { PicUnitLeft.moveTo(0, PicTiKu.height() - PicUnitLeft.height() - sy(30)); });

    // 4. The unit list.
    for (int i = 50; i <= 69; ++i) {
        int u = i - 50;
        on([&] {
            vtrlButton& b = ClickBotn(i);
            b.move(sx(15), sy(870 + (i % 10) * 525), sx(2700), sy(525));
            b.setPicture(skin("l20045"));
            b.setFontSize(9 * g.ScaleX);
            b.setForeColor(forms::colors::Black);
            b.setCaption(unitCaption(u, g.UnitTable[static_cast<std::size_t>(u)][1]));
            if (i >= 60) b.setVisible(false);
        });
    }
    on([&] {
        ClickBotn(49).move(sx(15), 0, sx(2700), sy(870));
        ClickBotn(49).setPicture(skin("l20044"));
    });
    SelectedUnit = -1;
    on([&] {
        vtrlButton& b = ClickBotn(47);
        b.move(sx(150), sy(6270), sx(1185), sy(555));
        b.setPicture(skin("l20086"));
        b.setForeColor(forms::colors::White);
        b.setFontSize(9 * g.ScaleX);
        b.setCaption("1-10单元");
    });
    on([&] {
        vtrlButton& b = ClickBotn(48);
        b.move(sx(1365), sy(6270), sx(1185), sy(555));
        b.setPicture(skin("l20046"));
        b.setForeColor(forms::colors::White);
        b.setFontSize(9 * g.ScaleX);
        b.setCaption("11-" + std::to_string(g.UnitCount) + "单元");
    });
    if (g.UnitCount <= 10) {
        on([&] { ClickBotn(48).setEnabled(false); });
        on([&] { ClickBotn(48).setCaption(""); });
        on([&] { ClickBotn(47).setCaption("1-" + std::to_string(g.UnitCount) + "单元"); });
    }

    on([&] {
        ImgUnitGezi.setPicture(skin("l20055"));
        ImgUnitGezi.moveTo(sx(2730), sy(1680));
    });
    on([&] {
        ImgUnitD.setPicture(skin("l20061"));
        ImgUnitD.move(sx(5910), sy(5550), sx(900), 0);
    });
    on([&] {
        ImgUnitC.setPicture(skin("l20062"));
        ImgUnitC.move(sx(5910 + 1500), sy(5550), sx(900), 0);
    });
    UnitFilter = 0;
    for (int i = 37; i <= 39; ++i) on([&] { ClickBotn(i).move(sx(4485 + (i - 37) * 1500), sy(5700), sx(900), sy(375)); });
    on([&] { ClickBotn(37).setPicture(skin("l20087")); });
    on([&] {
        imgPicIII.setPicture(skin("l20064"));
        imgPicIII.moveTo(sx(3150), sy(420));
    });
    on([&] {
        LblUnitDQCAP(1).moveTo(sx(4245), sy(630));
        LblUnitDQCAP(1).setFontSize(12 * g.ScaleX);
        LblUnitDQCAP(0).moveTo(LblUnitDQCAP(1).left(), sy(975));
        LblUnitDQCAP(0).setFontSize(10 * g.ScaleX);
        LblUnitDQCAP(2).moveTo(sx(4590), sy(1740));
        LblUnitDQCAP(3).setLeft(ImgUnitD.left() + sx(240));
        LblUnitDQCAP(4).setLeft(ImgUnitC.left() + sx(240));
    });
    on([&] { ClickBotn_Click(49); });
    on([&] {
        PicKaCHLeft.moveTo(PicUnitLeft.left(), PicUnitLeft.top());
        PicKaCHLeft.setPicture(PicUnitLeft.picture());
    });
}

void FrmFengmian::showUnitPage(int page) {
    Shared& g = p_.g;
    ClickBotn(47).setPicture(skin(page == 0 ? "l20086" : "l20046"));
    ClickBotn(48).setPicture(skin(page == 0 ? "l20046" : "l20086"));
    for (int i = 50; i <= 69; ++i) ClickBotn(i).setVisible((i < 60) == (page == 0));
    for (int i = 50 + g.UnitCount; i <= 69; ++i) ClickBotn(i).setVisible(false);
}

void FrmFengmian::showUnitSelection(int Index) {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("clickbotn");
    SelectedUnit = Index - 50;
    long total = 0, notLearned = 0;
    if (Index == 49) {
        on([&] { LblUnitDQCAP(1).setCaption("所有题库中题目"); });
        for (const auto& row : g.UnitTable) {
            total += static_cast<long>(platform::val(row[2]));
            notLearned += static_cast<long>(platform::val(row[3]));
        }
    } else {
        int u = Index - 50;
        on([&] { showUnitPage(Index < 60 ? 0 : 1); });
        const auto& row = g.UnitTable[static_cast<std::size_t>(u)];
        on([&] { LblUnitDQCAP(1).setCaption("第" + std::to_string(u + 1) + "单元 " + row[1]); });
        total = static_cast<long>(platform::val(row[2]));
        notLearned = static_cast<long>(platform::val(row[3]));
    }
    on([&] { LblUnitDQCAP(2).setCaption(std::to_string(total) + "题"); });
    on([&] { LblUnitDQCAP(3).setCaption(std::to_string(total - notLearned) + "题"); });
    on([&] { LblUnitDQCAP(4).setCaption(std::to_string(notLearned) + "题"); });
    on([&] {
        // A selection without questions shows two empty bars.
        double c = total > 0 ? 3570.0 * static_cast<double>(notLearned) / static_cast<double>(total) : 0;
        double d = total > 0 ? 3570.0 * static_cast<double>(total - notLearned) / static_cast<double>(total) : 0;
        ImgUnitC.setHeight(sy(c));
        ImgUnitD.setHeight(sy(d));
        ImgUnitC.setTop(sy(5550 - c));
        ImgUnitD.setTop(sy(5550 - d));
        LblUnitDQCAP(3).setTop(ImgUnitD.top() - sy(240));
        LblUnitDQCAP(4).setTop(ImgUnitC.top() - sy(240));
    });
    for (int i = 49; i <= 69; ++i) on([&] { ClickBotn(i).setEnabled(true); });
    on([&] { ClickBotn(Index).setEnabled(false); });
}

void FrmFengmian::unitPage(int Index) {
    SelectedUnit = 10 * (Index - 47);
    showUnitSelection(SelectedUnit + 50);
    showUnitPage(Index - 47);
}

void FrmFengmian::unitFilter(int Index) {
    UnitFilter = Index - 37;
    for (int i = 37; i <= 39; ++i) ClickBotn(i).setPicture(skin("l200" + std::to_string(i == Index ? i + 50 : i)));
}

void FrmFengmian::startUnitPractice() {
    Shared& g = p_.g;
    PicAd.setVisible(true);
    if (SelectedUnit == -1) {
        ownMessage("单元练习", "l20072",
                   "\r\n本模块共有" + std::to_string(g.UnitCount) +
                       "单元\r\n\r\n请先点击左边单元名称选择您要学习的单元，再点开始学习！");
        return;
    }
    int u = SelectedUnit;
    const auto& row = g.UnitTable[static_cast<std::size_t>(u)];
    g.InteractionMode = 2;
    g.CurrentQuestion = 1;
    g.ListBase = static_cast<std::int16_t>(u);
    std::u32string flags = platform::toU32(row[4]);
    if (UnitFilter == 0) {
        g.ListMode = 20;
        g.ListBase = static_cast<std::int16_t>(u);
        g.QuestionCount = static_cast<std::int16_t>(std::min(QuestionCodeList::MaxEntries, numberOf(row[2])));
        for (int i = 1; i <= g.QuestionCount; ++i) {
            char32_t c = static_cast<std::size_t>(i) <= flags.size() ? flags[static_cast<std::size_t>(i - 1)] : U'\0';
            g.DoneBefore[static_cast<std::size_t>(i)] = c ? platform::fromU32(std::u32string(1, c)) : "";
            g.QuestionState[static_cast<std::size_t>(i)] = c == U'T' ? 4 : 0;
            g.QuestionCodes[static_cast<std::size_t>(i)] = u * 100 + i;
        }
        startLianXi();
        return;
    }
    char32_t want = UnitFilter == 1 ? U'T' : U'F';
    std::string list;
    for (std::size_t q = 0; q < flags.size(); ++q)
        if (flags[q] == want) list += twoDigits(u) + twoDigits(static_cast<int>(q + 1));
    if (list.empty()) {
        ownMessage("章节练习", "l20072", UnitFilter == 1 ? "\r\n\r\n\r\n您本部分没有已学题！" : "\r\n\r\n\r\n您本部分没有未学题！");
        return;
    }
    InitShiTi(list, 19);
    g.ListMode = UnitFilter == 1 ? 5 : 6;
    g.PaperSlot = static_cast<std::int16_t>(u);
    g.ListBase = UnitFilter == 1 ? 14 : 13;
    for (int i = 1; i <= g.QuestionCount && i <= QuestionCodeList::MaxEntries; ++i) {
        g.DoneBefore[static_cast<std::size_t>(i)] = UnitFilter == 1 ? "T" : "F";
        g.QuestionState[static_cast<std::size_t>(i)] = UnitFilter == 1 ? 4 : 0;
    }
    startLianXi();
}

bool FrmFengmian::InitShiTi(const std::string& btShuJu, int nBTTS) {
    forms::OnError on = p_.reporting("initshiti");
    BuiltSetNumber = buildListSet(p_, btShuJu, nBTTS, on);
    return BuiltSetNumber >= 0;
}

void FrmFengmian::startLianXi() {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("startlianxi");
    if (!prepareSession(p_, BuiltSetNumber, progressUnread_, on)) {
        refuseLaunch();
        return;
    }
    on([&] { unload(); });
    if (g.ListMode == 0 || g.ListMode == 8) {
        // The exam login opens the working windows itself.
        on([&] { p_.frmLogon().show(); });
        return;
    }
    on([&] { p_.frmTm().TimerREDO.setEnabled(true); });
    on([&] { p_.frmTm().TimKsModel.setEnabled(true); });
    on([&] { p_.frmTm().show(); });
    on([&] { p_.frmMain().show(); });
}

// ---- paper section ----

namespace {

// A paper's place in its group, from 1, as its title counts it.
std::string numeral(int k) {
    static const std::u32string digits = U"一二三四五六七八九十";
    if (k >= 1 && k <= 10) return platform::fromU32(digits.substr(static_cast<std::size_t>(k - 1), 1));
    if (k >= 11 && k <= 19) return "十" + platform::fromU32(digits.substr(static_cast<std::size_t>(k - 11), 1));
    return "";
}

// Rows stand two to a line; a group of more than ten papers needs a sixth line, so its lines
// stand closer to keep it inside the panel.
int rowTop(int k, int groupSize) { return 120 + (k / 2) * (groupSize > 10 ? 1110 : 1350); }

}  // namespace

int FrmFengmian::sprintLastSlot(int paperCount) {
    if (paperCount >= 4 && paperCount <= 7) return 1;
    if (paperCount >= 8 && paperCount <= 11) return 3;
    if (paperCount >= 12 && paperCount <= 15) return 5;
    return 7;
}

void FrmFengmian::paperStep(forms::OnError& on) {
    Shared& g = p_.g;
    for (int i = 28; i <= 31; ++i) on([&] { ClickBotn(i).move(sx(15), sy(15 + (i - 28) * 750), sx(2700), sy(750)); });
    SprintLastSlot = sprintLastSlot(g.PaperCount);

    struct Group {
        int first, last, size;
        const char* word;
        forms::Color color;
        bool shown;
        const char* deletion;
    };
    const Group groups[] = {
        {0, SprintLastSlot, SprintLastSlot + 1, "冲刺试卷", forms::rgb(12, 127, 233), true, ""},
        {SprintLastSlot + 1, FirstRandomSlot - 1, std::max(0, g.PaperCount - SprintLastSlot - 1), "模拟试卷",
         forms::rgb(51, 51, 51), false, ""},
        {FirstRandomSlot, PaperSlots - 1, RandomPaperLimit, "随机试卷", forms::rgb(51, 51, 51), false, "删除试卷"}};
    for (const Group& group : groups) {
        for (int s = group.first; s <= group.last; ++s) {
            const int k = s - group.first;
            on([&] { ImgShiJuan(s).setTop(sy(rowTop(k, group.size))); });
            on([&] { LblShiJuanBiao(s).setCaption(group.word + numeral(k + 1)); });
            on([&] { LblShiJuanBiao(s).setForeColor(group.color); });
            on([&] { ImgShiJuan(s).setVisible(group.shown); });
            on([&] { LblShiJuanDel(s).setCaption(group.deletion); });
        }
    }

    HistoryTable = ExamHistory();
    on([&] {
        auto read = readExamHistory(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::ExamHistory));
        if (!read) platform::raise(75);
        HistoryTable = *read;
    });

    forms::PicturePtr background, hand;
    on([&] { background = skin("l20065"); });
    on([&] { hand = skin("9l0015"); });
    for (int s = 0; s < PaperSlots; ++s) {
        forms::Image& row = ImgShiJuan(s);
        on([&] { row.move(sx(2880 + (s % 2) * 4560), row.top(), sx(4410), sy(1200)); });
        on([&] { row.setPicture(background); });
        on([&] {
            auto left = [&](forms::Label& l, int dx, double size) {
                l.setLeft(row.left() + sx(dx));
                l.setFontSize(size * g.ScaleX);
            };
            left(LblShiJuanBiao(s), 120, 10);
            left(LblShiJuanTime(s), 120, 9);
            left(LblShiJuanSSSS(s), 120, 9);
            left(LblShiJuanScore(s), 1140, 9);
            left(LblShiJuanCCC(s), 1800, 9);
            left(LblShiJuanCuoTi(s), 2520, 9);
            left(LblShiJuanDel(s), 1800, 9);
        });
        on([&] {
            LblShiJuanScore(s).setCaption("");
            LblShiJuanScore(s).setAlignment(2);
        });
        on([&] { scoreInBlanks(s); });
        on([&] {
            for (forms::Label* l : {&LblShiJuanCCC(s), &LblShiJuanDel(s)}) {
                l->setMousePointer(99);
                l->setMouseIcon(hand);
            }
        });
        on([&] { ClickBotn(70 + s).move(row.left() + sx(3000), row.top() + sy(630), sx(1275), sy(450)); });
        on([&] {
            LblShiJuanBiao(s).setTop(row.top() + sy(210));
            LblShiJuanTime(s).setTop(row.top() + sy(555));
            for (forms::Label* l : {&LblShiJuanSSSS(s), &LblShiJuanScore(s), &LblShiJuanCCC(s), &LblShiJuanCuoTi(s)})
                l->setTop(row.top() + sy(870));
            LblShiJuanDel(s).setTop(row.top() + sy(225));
        });
        on([&] { rowFollowsBackground(s); });
        // A missing file is no error: nothing was left unfinished.
        std::size_t unfinished = 0;
        on([&] {
            const auto codes =
                readPaperWrong(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::paperWrong(s)));
            if (!codes) platform::raise(75);
            unfinished = codes->size();
        });
        on([&] { LblShiJuanCuoTi(s).setCaption("(" + std::to_string(unfinished) + ")"); });
        on([&] { LblShiJuanTime(s).setCaption("最后考试时间：" + platform::leftChars(HistoryTable.time(s), 16)); });
        on([&] { LblShiJuanScore(s).setCaption(HistoryTable.score(s)); });
    }

    on([&] { ImgSuiJi.moveTo(sx(2730), sy(90)); });
    on([&] { ImgSuiJi.setPicture(skin("l20066")); });
    on([&] { ImgSuiJi.setVisible(false); });
    on([&] { ClickBotn(21).setVisible(ImgSuiJi.visible()); });
    on([&] { LblNoHis.moveTo(sx(4680), sy(2160)); });
    on([&] { LblNoHis.setFontSize(20 * g.ScaleX); });
    on([&] { LblNoHis.setVisible(false); });
    on([&] { ClickBotn_Click(28); });
}

// Centred in the blanks, a score of up to four characters ("97.5") stays clear of "分"; one
// standing at a fixed left edge ran over it from three characters on.
void FrmFengmian::scoreInBlanks(int s) {
    const forms::Label& frame = LblShiJuanSSSS(s);
    forms::Label& score = LblShiJuanScore(s);
    forms::Host& host = rt().host();
    const int lead = host.measureText(frame.font(), ScoreLead).width;
    const int blanks = host.measureText(frame.font(), ScoreBlanks).width;
    score.move(frame.left() + lead, score.top(), blanks, frame.height());
}

void FrmFengmian::rowFollowsBackground(int s) {
    const bool shown = ImgShiJuan(s).visible();
    for (forms::ControlArray<forms::Label>* labels :
         {&LblShiJuanBiao, &LblShiJuanTime, &LblShiJuanSSSS, &LblShiJuanScore, &LblShiJuanCCC, &LblShiJuanCuoTi,
          &LblShiJuanDel})
        (*labels)(s).setVisible(shown);
    ClickBotn(70 + s).setVisible(shown);
}

void FrmFengmian::paperTab(int Index) {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("clickbotn");
    on([&] { LblNoHis.setVisible(false); });
    for (int i = 28; i <= 31; ++i) on([&] { ClickBotn(i).setEnabled(true); });
    on([&] { ClickBotn(Index).setEnabled(false); });
    // Rows first to last shown, their start buttons in the tab's skin; every other row hidden.
    auto showRows = [&](int first, int last, const char* startSkin) {
        forms::PicturePtr start;
        if (first <= last) on([&] { start = skin(startSkin); });
        for (int s = 0; s < PaperSlots; ++s) {
            const bool shown = s >= first && s <= last;
            on([&] { ImgShiJuan(s).setVisible(shown); });
            if (shown) on([&] { ClickBotn(70 + s).setPicture(start); });
        }
    };
    switch (Index) {
        case 28:
            // Only papers the bank has: a bank of fewer than four still ends its first tab at 7.
            showRows(0, std::min(SprintLastSlot, g.PaperCount - 1), "l20047");
            on([&] { ImgSuiJi.setVisible(false); });
            break;
        case 29:
            showRows(SprintLastSlot + 1, g.PaperCount - 1, "l20048");
            on([&] { ImgSuiJi.setVisible(false); });
            break;
        case 30:
            showRows(0, -1, "");
            on([&] { ImgSuiJi.setVisible(true); });
            break;
        default:
            showRows(FirstRandomSlot, FirstRandomSlot - 1 + RandomPaperCount, "l20048");
            on([&] { LblNoHis.setVisible(RandomPaperCount == 0); });
            on([&] { ImgSuiJi.setVisible(false); });
            break;
    }
    on([&] { ClickBotn(21).setVisible(ImgSuiJi.visible()); });
    for (int s = 0; s < PaperSlots; ++s) on([&] { rowFollowsBackground(s); });
}

void FrmFengmian::drawRandomPaper() {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("clickbotn");
    std::vector<int> counts;
    for (int u = 0; u < g.UnitCount; ++u) counts.push_back(numberOf(g.UnitTable[static_cast<std::size_t>(u)][2]));
    platform::RandomNumbers& random = p_.random();
    random.reseed();
    const std::optional<std::string> list = drawPaperCodes(counts, random);
    if (!list) {
        ownMessage("随机试卷", "l20072", "\r\n\r\n题库中的题目不足40道，\r\n无法生成随机试卷！");
        return;
    }
    // The paper is recorded only once its set stands whole: a refused launch would otherwise
    // have pushed the oldest paper out for an exam that never starts.
    if (!InitShiTi(*list, 19)) {
        refuseLaunch();
        return;
    }
    g.QuestionCount = PaperCodes;
    g.PaperSlot = FirstRandomSlot;
    g.ListMode = 8;
    g.ListBase = 11;
    g.InteractionMode = 3;
    g.CurrentQuestion = 1;
    clearPaperEntries(PaperCodes);
    const std::string time = platform::timeText(p_.localNow());
    const int listed = RandomPaperCount;
    if (!savePaperRecords([&] { return drawRecords(g.HeldRecords, g.ProgramFolder, *list, listed, time); }, on,
                          "本次随机试卷没有开始。"))
        return;
    startLianXi();
}

void FrmFengmian::clearPaperEntries(int count) {
    Shared& g = p_.g;
    for (int i = 1; i <= count && i <= QuestionCodeList::MaxEntries; ++i) {
        g.DoneBefore[static_cast<std::size_t>(i)] = "F";
        g.QuestionState[static_cast<std::size_t>(i)] = 0;
    }
}

void FrmFengmian::startPaper(int Index) {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("clickbotn");
    const int slot = Index - 70;
    const bool fixed = slot < FirstRandomSlot;
    // A fixed paper is its line of the bank's catalogue, a random one its line of the papers
    // drawn; a line that is not there, or not 40 whole codes, starts nothing.
    std::optional<std::string> line;
    on([&] {
        if (fixed) {
            const auto lines = platform::readLines(g.DataDir + "288891.mxy");
            if (static_cast<std::size_t>(slot) + 3 <= lines.size()) line = lines[static_cast<std::size_t>(slot) + 2];
        } else {
            const auto papers =
                readRandomPapers(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::RandomPapers));
            if (!papers) platform::raise(75);
            const std::size_t k = static_cast<std::size_t>(slot - FirstRandomSlot + 1);
            if (k <= papers->size()) line = (*papers)[k - 1];
        }
    });
    const std::vector<std::string> codes = line ? splitCodes(*line) : std::vector<std::string>();
    if (codes.size() != PaperCodes || platform::charCount(platform::trimSpaces(*line)) != 4 * PaperCodes) {
        refuseLaunch();
        return;
    }
    g.PaperSlot = static_cast<std::int16_t>(slot);
    g.ListBase = static_cast<std::int16_t>(fixed ? slot : 11);
    g.ListMode = fixed ? 0 : 8;
    InitShiTi(joinCodes(codes), g.ListBase + g.ListMode);
    g.QuestionCount = PaperCodes;
    g.InteractionMode = 3;
    g.CurrentQuestion = 1;
    clearPaperEntries(PaperCodes);
    startLianXi();
}

void FrmFengmian::LblShiJuanCCC_Click(int Index) {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("lblshijuancc");
    if (Index < 0 || Index >= PaperSlots) return;
    // Whole codes only, as the paper's row counts them and the end of the review reads them.
    std::vector<std::string> codes;
    on([&] {
        const auto read =
            readPaperWrong(g.HeldRecords, recordfile::path(g.ProgramFolder, recordfile::paperWrong(Index)));
        if (!read) platform::raise(75);
        codes = *read;
    });
    if (codes.empty()) {
        ownMessage("没有生成错题", "l20071",
                   "\r\n\r\n\r\n你可能是还没有做本套试题，或者上次得分为0。\r\n请点“开始考试”做本套试题。");
        return;
    }
    InitShiTi(joinCodes(codes), 19);
    g.QuestionCount = static_cast<std::int16_t>(std::min<std::size_t>(codes.size(), QuestionCodeList::MaxEntries));
    g.PaperSlot = static_cast<std::int16_t>(Index);
    g.InteractionMode = 2;
    g.CurrentQuestion = 1;
    g.ListMode = 2;
    g.ListBase = 17;
    clearPaperEntries(g.QuestionCount);
    startLianXi();
}

void FrmFengmian::LblShiJuanDel_Click(int Index) {
    Shared& g = p_.g;
    forms::OnError on = p_.reporting("lblshijuandel");
    // Only a listed random paper can go; a fixed paper's label has no caption.
    if (Index < FirstRandomSlot || Index > FirstRandomSlot - 1 + RandomPaperCount) return;
    ownMessage("删除试卷", "l20071", "\r\n\r\n\r\n您确实要删除本套随机试题吗？");
    if (g.MsgBoxResult != 1) return;
    const int listed = RandomPaperCount;
    if (!savePaperRecords([&] { return deletionRecords(g.HeldRecords, g.ProgramFolder, Index, listed); }, on,
                          "删除没有完成。"))
        return;
    FengMainCsh();
}

bool FrmFengmian::savePaperRecords(const std::function<std::vector<RecordWrite>()>& plan, forms::OnError& on,
                                   const std::string& notDone) {
    std::vector<RecordWrite> writes;
    // A file the start of the program holds is not written: the next start completes its group.
    auto unheld = [&] {
        return std::none_of(writes.begin(), writes.end(),
                            [&](const RecordWrite& w) { return p_.g.HeldRecords.holds(w.path); });
    };
    // The papers, the history and the wrong-question files move slots together: one group.
    const bool saved = on([&] { writes = plan(); }) && unheld() && on([&] {
                           std::vector<RecordBytes> group;
                           for (const RecordWrite& w : writes) group.push_back(w.planned());
                           writeRecordGroup(group);
                       });
    if (saved) return true;
    ownMessage("保存记录", "l20072", "\r\n\r\n试卷记录未能保存，\r\n" + notDone);
    return false;
}

void FrmFengmian::refuseLaunch() {
    forms::OnError iconFailure = p_.reporting("clickbotn");
    qz::refuseLaunch(p_, iconFailure);
}

// ---- help section and information labels ----

namespace {

const std::array<const char*, 5> HelpTitles = {"软件介绍", "备考指南", "考试大纲", "答题技巧", "常见问题"};

// Our own links, used in place of the installation's when its entry 26 begins with "2099":
// the web site, a second site and two customer-service chats.
const std::array<const char*, 4> BuiltInLinks = {
    "https://www.quorvane.invalid/",
    "https://learn.quorvane.invalid/",
    "tencent://message/?uin=800100201&Site=quorvane&Menu=yes",
    "tencent://message/?uin=800100202&Site=quorvane&Menu=yes",
};

}  // namespace

void FrmFengmian::helpStep(forms::OnError& on) {
    Shared& g = p_.g;
    on([&] {
        PicHelpLeft.moveTo(PicUnitLeft.left(), PicUnitLeft.top());
        PicHelpLeft.setPicture(PicUnitLeft.picture());
    });
    for (int i = 32; i <= 36; ++i) on([&] { ClickBotn(i).move(sx(15), sy(15 + (i - 32) * 750), sx(2700), sy(750)); });
    on([&] { WebHelpCON.move(sx(2880), sy(870), sx(9090), sy(5880)); });
    on([&] { LlbHelpCAP.setCaption(""); });
    on([&] { LlbHelpCAP.setAlignment(2); });
    // Wide enough for a title of six characters at its size; the titles have four.
    on([&] { LlbHelpCAP.move(sx(6960), sy(240), sx(2520), sy(480)); });
    on([&] { LlbHelpCAP.setFontSize(20 * g.ScaleX); });
    ClickBotn_Click(32);
}

void FrmFengmian::openHelp() {
    forms::OnError on = p_.reporting("clickbotn");
    on([&] { PicTOP.setVisible(true); });
    for (forms::PictureBox* box : {&PicTiKu, &PicKaCH, &PicBiaoZhi, &PicCuoTi}) on([&] { box->setVisible(false); });
    on([&] { PicHelp.setVisible(true); });
    on([&] { PicAd.setVisible(true); });
}

void FrmFengmian::showHelpPage(int Index) {
    forms::OnError on = p_.reporting("clickbotn");
    for (int i = 32; i <= 36; ++i) on([&] { ClickBotn(i).setEnabled(true); });
    const int n = Index - 32;
    const std::string page = p_.g.DataDir + "l3818" + std::to_string(n) + ".mxy";
    on([&] { LlbHelpCAP.setCaption(HelpTitles[static_cast<std::size_t>(n)]); });
    on([&] { ClickBotn(Index).setEnabled(false); });
    on([&] { WebHelpCON.navigate(page); });
}

void FrmFengmian::LblInfo_Click(int Index) {
    const auto& pi = p_.g.ProductInfo;
    forms::OnError on = p_.reporting("lblinfo");
    int link = 0;
    switch (Index) {
        case 0: case 21: on([&] { p_.frmAbout().show(true); }); return;
        case 1: case 17: link = 1; break;
        case 18: link = 2; break;
        case 3: case 20: link = 3; break;
        case 19: link = 4; break;
        default: return;
    }
    on([&] {
        const bool ours = platform::trimSpaces(pi[26]).starts_with("2099");
        const std::string target = ours ? BuiltInLinks[static_cast<std::size_t>(link - 1)] : pi[static_cast<std::size_t>(link)];
        p_.svc.shell->openLink(target);
    });
}

// ---- favourites and wrong questions ----

namespace {

// The counters have no design size; 900 x 300 holds a centred four-digit count in 10 pt.
constexpr double CounterWidth = 900;
constexpr double CounterHeight = 300;

std::string reviewPrompt(const char* text) { return std::string("\r\n\r\n\r\n") + text; }

}  // namespace

FrmFengmian::ReviewControls FrmFengmian::reviewControls(int pair) {
    if (pair == 0) return {ImgBiaoZhiBack, LblBiaoZhiWei, LblBiaoZhiYI, FavouritesFilter};
    return {ImgCuoTiBack, LblCuoTiWei, LblCuoTiYI, WrongFilter};
}

void FrmFengmian::reviewStep(forms::OnError& on) {
    Shared& g = p_.g;
    for (int pair = 0; pair < 2; ++pair) {
        const review::Pair& t = review::Pairs[static_cast<std::size_t>(pair)];
        ReviewControls c = reviewControls(pair);
        on([&] { c.back.moveTo(0, 0); });
        on([&] { c.back.setPicture(skin(t.background)); });
        for (forms::Label* l : {&c.notReviewed, &c.reviewed}) {
            on([&] {
                l->setCaption("00");
                l->setAlignment(2);
                l->setFontSize(10 * g.ScaleX);
            });
        }
        on([&] { c.notReviewed.move(sx(7140), sy(2385), sx(CounterWidth), sy(CounterHeight)); });
        on([&] { c.reviewed.move(sx(7140), sy(2835), sx(CounterWidth), sy(CounterHeight)); });
        const int first = t.firstFilterButton;
        on([&] { ClickBotn(first).move(sx(5775), sy(2235), sx(1200), sy(450)); });
        on([&] { ClickBotn(first + 1).move(sx(5775), sy(2685), sx(1200), sy(450)); });
        c.filter = review::NotReviewed;
        on([&] { ClickBotn(first).setPicture(skin("l200" + std::to_string(first + 50))); });
        on([&] { ClickBotn(first + 1).setPicture(skin("l200" + std::to_string(first + 1))); });
        on([&] {
            const auto list = readReviewedList(g.HeldRecords, recordfile::path(g.ProgramFolder, t.listFile),
                                               recordfile::path(g.ProgramFolder, t.reviewFile));
            if (!list) platform::raise(75);
            const review::Counts n = review::count(*list);
            c.notReviewed.setCaption(std::to_string(n.notReviewed));
            c.reviewed.setCaption(std::to_string(n.reviewed));
        });
    }
}

void FrmFengmian::reviewFilter(int Index) {
    const int pair = Index <= 41 ? 0 : 1;
    const int flag = (Index - 40) % 2 == 0 ? review::NotReviewed : review::Reviewed;
    int& filter = reviewControls(pair).filter;
    filter ^= flag;
    ClickBotn(Index).setPicture(skin("l200" + std::to_string((filter & flag) ? Index + 50 : Index)));
}

void FrmFengmian::reviewPractice(int pair) {
    Shared& g = p_.g;
    const review::Pair& t = review::Pairs[static_cast<std::size_t>(pair)];
    const int filter = reviewControls(pair).filter;
    if (filter == 0) return;
    const auto list = readReviewedList(g.HeldRecords, recordfile::path(g.ProgramFolder, t.listFile),
                                       recordfile::path(g.ProgramFolder, t.reviewFile));
    if (!list) platform::raise(75);
    if (list->codes.empty()) {
        ownMessage(t.practiceTitle, "l20072", reviewPrompt(t.nothingRecorded));
        return;
    }
    const review::Practice pr = review::practice(*list, filter);
    if (pr.codes.empty()) {
        ownMessage(t.practiceTitle, "l20072", reviewPrompt(filter == review::NotReviewed ? t.noNotReviewed : t.noReviewed));
        return;
    }
    g.ListMode = static_cast<std::int16_t>(t.listMode[static_cast<std::size_t>(pr.group)]);
    g.ListBase = static_cast<std::int16_t>(t.listBase[static_cast<std::size_t>(pr.group)]);
    for (std::size_t k = 1; k <= review::PracticeLimit; ++k) {
        g.DoneBefore[k] = pr.doneBefore[k - 1];
        g.QuestionState[k] = static_cast<std::int16_t>(pr.questionState[k - 1]);
    }
    InitShiTi(joinCodes(pr.codes), 19);
    g.QuestionCount = static_cast<std::int16_t>(pr.codes.size());
    g.InteractionMode = 2;
    startLianXi();
}

void FrmFengmian::reviewClear(int pair) {
    Shared& g = p_.g;
    const review::Pair& t = review::Pairs[static_cast<std::size_t>(pair)];
    ReviewControls c = reviewControls(pair);
    const int filter = c.filter;
    if (filter == 0) return;
    g.MsgBoxResult = 0;
    ownMessage(t.clearTitle, "l20071", reviewPrompt(t.clearQuestion[static_cast<std::size_t>(filter - 1)]));
    if (g.MsgBoxResult == 0) return;
    const std::string listPath = recordfile::path(g.ProgramFolder, t.listFile);
    const std::string reviewPath = recordfile::path(g.ProgramFolder, t.reviewFile);
    // A pair that cannot be read is not written over with what was not seen.
    const auto list = readReviewedList(g.HeldRecords, listPath, reviewPath);
    if (!list) platform::raise(75);
    if (list->codes.empty()) return;
    if (g.HeldRecords.holds(listPath) || g.HeldRecords.holds(reviewPath)) {
        ownMessage("保存记录", "l20072", "\r\n\r\n学习记录未能保存，\r\n本次清除没有完成。");
        return;
    }
    writeReviewedList(listPath, reviewPath, review::clear(*list, filter));
    if (filter & review::NotReviewed) c.notReviewed.setCaption("0");
    if (filter & review::Reviewed) c.reviewed.setCaption("0");
}

// ---- dispatch ----

void FrmFengmian::ClickBotn_Click(int Index) {
    forms::OnError on = p_.reporting("clickbotn");
    switch (Index) {
        case 2: case 13: on([&] { setWindowState(1); }); break;
        case 3: case 14: on([&] { confirmExit(); }); break;
        case 4: case 16: sectionSwitch(PicTiKu, 16); break;
        case 5: case 17: sectionSwitch(PicKaCH, 17); break;
        case 6: case 18: sectionSwitch(PicBiaoZhi, 18); break;
        case 7: case 19: sectionSwitch(PicCuoTi, 19); break;
        case 11: openHelp(); break;
        case 32: case 33: case 34: case 35: case 36: showHelpPage(Index); break;
        case 8:
            p_.g.ShowUpdateWindow = 1;
            on([&] { p_.frmUpdata().show(); });
            break;
        case 12: on([&] { p_.svc.shell->openLink(p_.g.ProductInfo[2]); }); break;
        case 15: on([&] { backToCover(); }); break;
        case 20: on([&] { startUnitPractice(); }); break;
        case 21: on([&] { drawRandomPaper(); }); break;
        case 22: case 24: on([&] { reviewPractice((Index - 22) / 2); }); break;
        case 23: case 25: on([&] { reviewClear((Index - 23) / 2); }); break;
        case 28: case 29: case 30: case 31: on([&] { paperTab(Index); }); break;
        case 40: case 41: case 42: case 43: on([&] { reviewFilter(Index); }); break;
        case 37: case 38: case 39: on([&] { unitFilter(Index); }); break;
        case 47: case 48: on([&] { unitPage(Index); }); break;
        default:
            if (Index >= 49 && Index <= 69) on([&] { showUnitSelection(Index); });
            if (Index >= 70 && Index <= 99) on([&] { startPaper(Index); });
            break;
    }
}

void FrmFengmian::sectionSwitch(forms::PictureBox& panel, int tab) {
    forms::OnError on = p_.reporting("clickbotn");
    on([&] { PicTOP.setVisible(true); });
    for (forms::PictureBox* box : {&PicTiKu, &PicKaCH, &PicBiaoZhi, &PicCuoTi, &PicHelp})
        on([&] { box->setVisible(box == &panel); });
    for (int i = 15; i <= 19; ++i) on([&] { ClickBotn(i).setEnabled(true); });
    on([&] { ClickBotn(tab).setEnabled(false); });
    if (tab == 16) on([&] { chooseUnit(); });
    if (tab == 17) on([&] { choosePaperTab(); });
    on([&] { PicAd.setVisible(true); });
}

void FrmFengmian::chooseUnit() {
    Shared& g = p_.g;
    // The first unit less than 80 % learned; a unit without questions counts as unlearned,
    // so the search ends at the first row past the last unit at the latest.
    int k = 49;
    for (;;) {
        ++k;
        std::size_t row = static_cast<std::size_t>(k - 50);
        double c = row < g.UnitTable.size() ? platform::val(g.UnitTable[row][2]) : 0;
        double n = row < g.UnitTable.size() ? platform::val(g.UnitTable[row][3]) : 0;
        if (c == 0) c = n = 10;
        if (n / c > 0.2) break;
    }
    if (k > g.UnitCount + 49) k = g.UnitCount + 49;
    ClickBotn_Click(k);
}

void FrmFengmian::choosePaperTab() {
    int f = 1, j = 0;
    do {
        ++j;
        if (platform::val(HistoryTable.score(j)) < 75) f = 0;
    } while (f != 0 && j < SprintLastSlot);
    ClickBotn_Click(f == 0 ? 28 : 29);
}

void FrmFengmian::backToCover() {
    for (forms::PictureBox* box : {&PicTOP, &PicTiKu, &PicKaCH, &PicBiaoZhi, &PicCuoTi, &PicHelp}) box->setVisible(false);
    for (int i = 15; i <= 19; ++i) ClickBotn(i).setEnabled(true);
    PicAd.setVisible(false);
}

void FrmFengmian::ownMessage(const std::string& title, const std::string& icon, const std::string& prompt) {
    forms::OnError iconFailure = p_.reporting("clickbotn");
    p_.frmQZMSGBOX().ask(title, icon, prompt, iconFailure);
}

void FrmFengmian::confirmExit() {
    ownMessage("退出系统", "l20071", "\r\n\r\n\r\n您确实要退出学习软件吗？");
    if (p_.g.MsgBoxResult == 1) rt().endProgram();
}

void FrmFengmian::TimFH_Timer() {
    ClickBotn_Click(p_.g.ReturnButton);
    TimFH.setEnabled(false);
}

void FrmFengmian::LblAD_Click() { p_.svc.shell->openLink(AdLink); }

void FrmFengmian::lblMove_MouseDown(int Button, int, int, int) {
    if (Button == forms::buttons::Left) beginDrag();
}

void FrmFengmian::picShouYe_MouseDown(int Button, int, int, int) {
    if (Button == forms::buttons::Left) beginDrag();
}

}  // namespace qz
