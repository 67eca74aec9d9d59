// The mock exam's pictures: the paper rows and the draw tab of the home screen, the login's two
// pages, the hand-in dialogs' buttons and the score report with its grid cells. The pages are
// drawn around the places where their windows lay their own controls, given here in design
// twips (15 to a pixel), so a box or a button in the picture lies under the control that acts.
#pragma once

#include "tools/canvas.h"
#include "tools/pictures.h"
#include "tools/steps.h"

namespace qz::tools::exam {

constexpr int px(int twips) { return twips / kTwipsPerPixel; }

// Every page is the design size of its window.
inline constexpr int kPageWidth = 12000, kPageHeight = 9000;

// Login, input page: the two boxes and the hot areas of log-in and exit.
inline constexpr Rect kSeatBox{5070, 4440, 3255, 360};
inline constexpr Rect kIdBox{5070, 4905, 3255, 360};
inline constexpr Rect kLogInArea{4275, 5640, 1335, 495};
inline constexpr Rect kExitArea{6660, 5640, 1335, 495};

// Login, confirmation page: where the seven labels start (name, seat, session, subject, ID,
// admission number, date; 12-point bold), and the progress track.
inline constexpr Rect kConfirmLabels[] = {{4080, 2610}, {4080, 2940}, {4080, 3300}, {2505, 4215},
                                          {2505, 4590}, {2505, 4950}, {2505, 5250}};
inline constexpr Rect kTrack{1110, 7980, 10335, 180};

// Score report: the three buttons (wrong questions, redo, home), the score label, the grid of
// 40 cells of 450 at a pitch of 480, and the requirement label under it.
inline constexpr int kCell = 450;
inline constexpr Rect kWrongButton{3480, 4080, 1920, 450};
inline constexpr Rect kRedoButton{5520, 4080, 1920, 450};
inline constexpr Rect kHomeButton{7560, 4080, 870, 450};
inline constexpr Rect kScoreLabel{5010, 5040};
inline constexpr Rect kGrid{3615, 5520, 4770, 1890};
inline constexpr Rect kRequirement{1072, 7770, 9855, 855};

// Home screen: a paper row with its start button, and the draw tab's picture with button 21,
// both in the paper section's panel.
inline constexpr int kRowWidth = 4410, kRowHeight = 1200;
inline constexpr Rect kRowStart{3000, 630, 1275, 450};
inline constexpr Rect kDrawPicture{2730, 90, 9120, 6630};
inline constexpr Rect kDrawButton{9750, 5850, 1800, 600};

// The hand-in dialogs' buttons, and the tips dialog's two, which stand on its plain face.
inline constexpr int kDialogButtonWidth = 1320, kDialogButtonHeight = 420;
inline constexpr int kTipsButtonWidth = 1920, kTipsButtonHeight = 450;

void drawPaperRow(Canvas& c, const Skin& s);
void drawRandomPaperTab(Canvas& c, const Skin& s);
void drawLoginPage(Canvas& c, const Skin& s);
void drawConfirmPage(Canvas& c, const Skin& s);
void drawScoreReport(Canvas& c, const Skin& s);

// Button strips.
void rowStartButton(Canvas& c, const Skin& s);
void rowStartAltButton(Canvas& c, const Skin& s);
void doneCell(Canvas& c, const Skin& s);
void notDoneCell(Canvas& c, const Skin& s);
void handInButton(Canvas& c, const Skin& s);
void backToExamButton(Canvas& c, const Skin& s);
void tipsBackButton(Canvas& c, const Skin& s);
void tipsAnswerButton(Canvas& c, const Skin& s);
void redoButton(Canvas& c, const Skin& s);
void wrongQuestionsButton(Canvas& c, const Skin& s);
void homeButton(Canvas& c, const Skin& s);

}  // namespace qz::tools::exam
