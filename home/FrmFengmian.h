// The home screen: the cover, the section panels and the one dispatcher of their buttons.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/on_error.h"
#include "session/learner_records.h"
#include "ui/vtrlButton.h"

namespace qz {

class Program;
struct RecordWrite;

class FrmFengmian : public forms::Form {
public:
    explicit FrmFengmian(Program& p);

    // Window, cover and panels.
    forms::Image picShouYe;
    forms::ControlArray<forms::Label> LblInfo;
    forms::PictureBox PicTOP;
    forms::Label lblMove;
    forms::Label LblCaption;
    forms::PictureBox PicTiKu;
    forms::PictureBox PicKaCH;
    forms::PictureBox PicBiaoZhi;
    forms::PictureBox PicCuoTi;
    forms::PictureBox PicHelp;
    // Unit section.
    forms::Image PicUnitLeft;
    forms::Image imgPicIII;
    forms::Image ImgUnitGezi;
    forms::Image ImgUnitD;
    forms::Image ImgUnitC;
    forms::ControlArray<forms::Label> LblUnitDQCAP;
    // Paper section: its decoration, the drawing tab's picture, the note shown when no random
    // paper is listed, and one row per paper slot (the index is the slot). A row's labels are
    // loaded after its background, so they stand above it.
    forms::Image PicKaCHLeft;
    forms::Image ImgSuiJi;
    forms::Label LblNoHis;
    forms::ControlArray<forms::Image> ImgShiJuan;
    forms::ControlArray<forms::Label> LblShiJuanBiao;
    forms::ControlArray<forms::Label> LblShiJuanTime;
    forms::ControlArray<forms::Label> LblShiJuanSSSS;
    forms::ControlArray<forms::Label> LblShiJuanScore;
    forms::ControlArray<forms::Label> LblShiJuanCCC;
    forms::ControlArray<forms::Label> LblShiJuanCuoTi;
    forms::ControlArray<forms::Label> LblShiJuanDel;
    // Help section: the page's title above the browser.
    forms::Image PicHelpLeft;
    forms::Label LlbHelpCAP;
    forms::WebBrowser WebHelpCON;
    // Favourites and wrong-question sections: background and the two counters of each.
    forms::Image ImgBiaoZhiBack;
    forms::Label LblBiaoZhiWei;
    forms::Label LblBiaoZhiYI;
    forms::Image ImgCuoTiBack;
    forms::Label LblCuoTiWei;
    forms::Label LblCuoTiYI;
    // The buttons of every section, and the advertisement above the panels.
    forms::ControlArray<vtrlButton> ClickBotn;
    forms::PictureBox PicAd;
    forms::Label LblAD;
    forms::Timer TimFH;

    // Form-level state.
    std::string AdLink;
    int RandomPaperCount = 0;
    int SelectedUnit = -1;
    int UnitFilter = 0;
    // Exam history as the paper list holds it (line n = line n of the history file) and
    // the last slot of the first paper tab.
    ExamHistory HistoryTable;
    int SprintLastSlot = 1;
    // Which groups the review panels' practice and clear take (bit 1 not reviewed, 2 reviewed).
    int FavouritesFilter = 1;
    int WrongFilter = 1;

    void Form_Load() override;
    void FengMainCsh();
    void ClickBotn_Click(int Index);
    void TimFH_Timer();
    void LblAD_Click();
    void lblMove_MouseDown(int Button, int Shift, int X, int Y);
    void picShouYe_MouseDown(int Button, int Shift, int X, int Y);

    // Unit section: the build step and the buttons.
    void unitStep(forms::OnError& on);
    void showUnitSelection(int Index);
    void showUnitPage(int page);
    void unitPage(int Index);
    void unitFilter(int Index);
    void startUnitPractice();

    // Paper section: the build step, the tabs (28 to 31) and the rows' actions.
    void paperStep(forms::OnError& on);
    void paperTab(int Index);
    void drawRandomPaper();
    void startPaper(int Index);
    void LblShiJuanCCC_Click(int Index);
    void LblShiJuanDel_Click(int Index);

    // Help section and the information labels.
    void helpStep(forms::OnError& on);
    void showHelpPage(int Index);
    void LblInfo_Click(int Index);
    // Favourites (pair 0) and wrong-question (pair 1) sections: the build step and the buttons.
    void reviewStep(forms::OnError& on);
    void reviewFilter(int Index);
    void reviewPractice(int pair);
    void reviewClear(int pair);

    // The last slot of the first paper tab for a bank of this many fixed papers.
    static int sprintLastSlot(int paperCount);

    // Session launch: builds set nBTTS (0 to 19) from a list, filling QuestionCodes and
    // QuestionCount; false when the set could not be built whole.
    bool InitShiTi(const std::string& btShuJu, int nBTTS);
    // Opens the prepared session on set ListMode + ListBase, or tells the learner why not.
    void startLianXi();
    // The set that the last InitShiTi of this screen built whole; -1 for none.
    int BuiltSetNumber = -1;

    // The 25-column caption of a unit button.
    static std::string unitCaption(int unit, const std::string& name);

private:
    void sectionSwitch(forms::PictureBox& panel, int tab);
    void openHelp();
    void chooseUnit();
    void choosePaperTab();
    void backToCover();
    void confirmExit();
    void refuseLaunch();
    // The row's labels and start button take its background's visibility.
    void rowFollowsBackground(int slot);
    // The row's best score over the blanks of its frame, in the frame's font.
    void scoreInBlanks(int slot);
    // A paper's entries 1 to count start not done before and untouched.
    void clearPaperEntries(int count);
    struct ReviewControls {
        forms::Image& back;
        forms::Label& notReviewed;
        forms::Label& reviewed;
        int& filter;
    };
    ReviewControls reviewControls(int pair);
    void ownMessage(const std::string& title, const std::string& icon, const std::string& prompt);
    // Computes a draw's or a deletion's records, then writes them in order. False, with the
    // learner told, when a record could not be read or a write failed; when some writes had
    // landed before the failure, the screen is rebuilt from what the files then hold.
    bool savePaperRecords(const std::function<std::vector<RecordWrite>()>& plan, forms::OnError& on,
                          const std::string& notDone);
    forms::PicturePtr skin(const std::string& id);
    int sx(double v) const;
    int sy(double v) const;
    Program& p_;
    // The last build could not read the unit progress, so its lists know nothing done before.
    bool progressUnread_ = false;
};

}  // namespace qz
