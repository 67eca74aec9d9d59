// The favourites and wrong-question sections: counters, filters, the practice each starts and
// what a clear leaves, on both twins through the screen's own buttons.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "home/review_lists.h"
#include "session/FrmTm.h"
#include "session/question_sets.h"
#include "tests/home/paper_fixture.h"
#include "tests/support/scoped_failure.h"

namespace hometest {
namespace {

// Four questions of the sample's first unit.
const std::string A = "0001", B = "0002", C = "0003", D = "0004";
const std::string ABCD = A + B + C + D;

// Pair 0 is the favourites, 1 the wrong questions.
class Review : public PaperRun {
public:
    const qz::review::Pair& pair(int p) const { return qz::review::Pairs[static_cast<std::size_t>(p)]; }
    void seed(int p, std::optional<std::string> list, std::optional<std::string> flags) {
        if (list) writeRecord(pair(p).listFile, *list + "\r\n");
        if (flags) writeRecord(pair(p).reviewFile, *flags + "\r\n");
    }
    // Opens the section from the top strip, reached from the cover through the paper section.
    void open(int p) {
        if (!HomeRun::home().PicTOP.visible()) click(5);
        click(18 + p);
    }
    // Filter 1 is set by the build; the buttons flip it to the one wanted.
    void setFilter(int p, int filter) {
        const int first = pair(p).firstFilterButton;
        if (!(filter & 1)) click(first);
        if (filter & 2) click(first + 1);
    }
    std::string counters(int p) {
        qz::FrmFengmian& home = HomeRun::home();
        const forms::Label& wei = p == 0 ? home.LblBiaoZhiWei : home.LblCuoTiWei;
        const forms::Label& yi = p == 0 ? home.LblBiaoZhiYI : home.LblCuoTiYI;
        return wei.caption() + " / " + yi.caption();
    }
    std::string bytes(const char* name) const { return record(name).value_or("(missing)"); }
};

class ReviewScreen : public ::testing::Test, public Review {};

// ---- practice ----

enum class Message { None, NothingRecorded, NoNotReviewed, NoReviewed };

struct PracticeCase {
    const char* name;
    std::optional<std::string> list;
    std::optional<std::string> flags;
    int filter;
    std::string counters;
    std::vector<std::string> codes;  // empty: nothing starts
    int group;                       // 0 all, 1 not reviewed, 2 reviewed
    std::string doneBefore;          // one character per entry
    std::vector<int> states;         // before the favourites' mark
    Message message;
    friend void PrintTo(const PracticeCase& c, std::ostream* os) { *os << c.name; }
};

class ReviewPractice : public Review, public ::testing::TestWithParam<std::tuple<int, PracticeCase>> {};

TEST_P(ReviewPractice, StartsTheChosenEntries) {
    const auto& [p, c] = GetParam();
    const qz::review::Pair& t = pair(p);
    seed(p, c.list, c.flags);
    start();
    open(p);
    EXPECT_EQ(counters(p), c.counters);
    setFilter(p, c.filter);
    const BoxSeen box = clickAnswering(t.practiceButton, Confirm);
    const char* text = c.message == Message::NothingRecorded ? t.nothingRecorded
                       : c.message == Message::NoNotReviewed ? t.noNotReviewed
                       : c.message == Message::NoReviewed    ? t.noReviewed
                                                             : nullptr;
    if (text) {
        EXPECT_EQ(box.title, t.practiceTitle);
        EXPECT_EQ(box.icon, "l20072");
        EXPECT_EQ(box.prompt, std::string("\r\n\r\n\r\n") + text);
    } else {
        EXPECT_FALSE(box.opened);
    }
    EXPECT_TRUE(h->reports().empty());
    if (c.codes.empty()) {
        EXPECT_TRUE(h->isLoaded("FrmFengmian"));
        EXPECT_FALSE(h->isLoaded("FrmTm"));
        return;
    }
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_FALSE(h->isLoaded("FrmFengmian"));
    EXPECT_EQ(g().ListMode, t.listMode[static_cast<std::size_t>(c.group)]);
    EXPECT_EQ(g().ListMode + g().ListBase, 19);
    EXPECT_EQ(g().InteractionMode, 2);
    EXPECT_EQ(g().StepsFilePath, qz::QuestionSet{19}.stepsPath(folder.dataDir()));
    ASSERT_EQ(g().QuestionCount, static_cast<int>(c.codes.size()));
    // A favourites practice starts with every entry marked; the panel's own "opened" bit on
    // the first entry is not this screen's.
    const int marked = p == 0 ? 2 : 0;
    for (std::size_t k = 1; k <= c.codes.size(); ++k) {
        EXPECT_EQ(qz::QuestionCode{g().QuestionCodes[k]}.text(), c.codes[k - 1]) << k;
        if (k <= c.doneBefore.size()) {
            EXPECT_EQ(g().DoneBefore[k], c.doneBefore.substr(k - 1, 1)) << k;
        }
        if (k <= c.states.size()) {
            EXPECT_EQ(g().QuestionState[k] & 6, c.states[k - 1] + marked) << k;
        }
    }
}

std::vector<PracticeCase> practiceCases() {
    std::string many;
    for (int i = 0; i < 501; ++i) many += A;
    return {
        {"not reviewed", ABCD, "TFFT", 1, "2 / 2", {B, C}, 1, "FF", {0, 0}, Message::None},
        {"all", ABCD, "TFFT", 3, "2 / 2", {A, B, C, D}, 0, "TFFT", {4, 0, 0, 4}, Message::None},
        {"reviewed", ABCD, "TFFT", 2, "2 / 2", {A, D}, 2, "TT", {4, 4}, Message::None},
        {"no filter", ABCD, "TFFT", 0, "2 / 2", {}, 0, "", {}, Message::None},
        {"empty list", std::nullopt, std::nullopt, 1, "0 / 0", {}, 0, "", {}, Message::NothingRecorded},
        {"no review file", ABCD, std::nullopt, 1, "4 / 0", {A, B, C, D}, 1, "FFFF", {0, 0, 0, 0}, Message::None},
        {"short flags, all", ABCD, "T", 3, "3 / 1", {A, B, C, D}, 0, "TFFF", {4, 0, 0, 0}, Message::None},
        {"flags past the list", A + B, "TFTT", 1, "1 / 1", {B}, 1, "F", {0}, Message::None},
        {"all reviewed", ABCD, "TTTT", 1, "0 / 4", {}, 0, "", {}, Message::NoNotReviewed},
        {"none reviewed", ABCD, "FFFF", 2, "4 / 0", {}, 0, "", {}, Message::NoReviewed},
        {"501 codes", many, std::string(501, 'F'), 3, "501 / 0", std::vector<std::string>(500, A), 0, "", {},
         Message::None},
        {"partial tail", ABCD + "12", "TFFT", 3, "2 / 2", {A, B, C, D}, 0, "TFFT", {4, 0, 0, 4}, Message::None},
    };
}

INSTANTIATE_TEST_SUITE_P(Home, ReviewPractice, ::testing::Combine(::testing::Values(0, 1),
                                                                    ::testing::ValuesIn(practiceCases())),
                         [](const auto& named) {
                             std::string name = std::string(std::get<0>(named.param) == 0 ? "Favourites_" : "Wrong_") +
                                                std::get<1>(named.param).name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

// Entries past 500 and the ones beyond a short list keep nothing from an earlier session.
TEST_F(ReviewScreen, EveryEntryUpTo500IsSetForTheChosenGroup) {
    seed(1, ABCD, "TFFT");
    start();
    for (std::size_t k = 1; k <= 500; ++k) {
        g().DoneBefore[k] = "X";
        g().QuestionState[k] = 7;
    }
    open(1);
    setFilter(1, 2);
    click(24);
    ASSERT_TRUE(h->isLoaded("FrmTm"));
    EXPECT_EQ(g().DoneBefore[500], "T");
    EXPECT_EQ(g().QuestionState[500], 4);
}

// The practice unloads the screen, so its end finds the section again with the build's filters.
TEST_F(ReviewScreen, AFavouritesPracticeEndsOnItsSectionWithFilter1Only) {
    seed(0, ABCD, "TFFT");
    start();
    open(0);
    setFilter(0, 2);
    click(22);
    qz::FrmTm* panel = h->p().loadedFrmTm();
    ASSERT_NE(panel, nullptr);
    runAnswering([panel] { panel->EndPractice(); }, Confirm);
    h->host.pause(300);  // the home screen's return timer
    h->host.runUntilIdle();
    ASSERT_TRUE(h->isLoaded("FrmFengmian"));
    qz::FrmFengmian& home = HomeRun::home();
    EXPECT_TRUE(home.PicBiaoZhi.visible());
    EXPECT_FALSE(home.PicCuoTi.visible());
    EXPECT_EQ(home.FavouritesFilter, 1);
    EXPECT_EQ(pictureId(home.ClickBotn(40).Picture()), "l20090");
    EXPECT_EQ(pictureId(home.ClickBotn(41).Picture()), "l20041");
    EXPECT_EQ(counters(0), "2 / 2");
    EXPECT_TRUE(h->reports().empty());
}

// ---- filters ----

TEST_F(ReviewScreen, FiltersSwapTheirPicturesAndReadNoFile) {
    seed(0, ABCD, "TFFT");
    seed(1, A, "T");
    qz::FrmFengmian& home = start();
    open(0);
    for (int i = 40; i <= 43; ++i)
        EXPECT_EQ(pictureId(home.ClickBotn(i).Picture()), "l200" + std::to_string(i % 2 == 0 ? i + 50 : i)) << i;
    EXPECT_EQ(pictureId(home.ImgBiaoZhiBack.picture()), "l20057");
    EXPECT_EQ(pictureId(home.ImgCuoTiBack.picture()), "l20058");
    // Records changed behind the screen's back stay unseen until the next build.
    seed(0, A, "F");
    struct Step {
        int button, favourites, wrong;
    };
    for (const Step& s : {Step{41, 3, 1}, Step{40, 2, 1}, Step{43, 2, 3}, Step{41, 0, 3}, Step{42, 0, 2}}) {
        open(s.button <= 41 ? 0 : 1);
        click(s.button);
        EXPECT_EQ(home.FavouritesFilter, s.favourites) << s.button;
        EXPECT_EQ(home.WrongFilter, s.wrong) << s.button;
        const int filter = s.button <= 41 ? s.favourites : s.wrong;
        const bool ticked = filter & (s.button % 2 == 0 ? 1 : 2);
        EXPECT_EQ(pictureId(home.ClickBotn(s.button).Picture()),
                  "l200" + std::to_string(ticked ? s.button + 50 : s.button));
    }
    EXPECT_EQ(counters(0), "2 / 2");
    EXPECT_EQ(counters(1), "0 / 1");
    open(0);
    // With both unticked the practice and the clear do nothing at all.
    EXPECT_FALSE(clickAnswering(22, Confirm).opened);
    EXPECT_FALSE(clickAnswering(23, Confirm).opened);
    EXPECT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_EQ(bytes(qz::recordfile::Favourites), A + "\r\n");
    EXPECT_TRUE(h->reports().empty());
}

// ---- clear ----

struct ClearCase {
    const char* name;
    std::string flags;
    int filter;
    BoxButton answer;
    std::string listAfter;   // the list's line
    std::string flagsAfter;  // the flags' line
    std::string counters;
    friend void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.name; }
};

class ReviewClear : public Review, public ::testing::TestWithParam<std::tuple<int, ClearCase>> {};

TEST_P(ReviewClear, KeepsTheOtherGroup) {
    const auto& [p, c] = GetParam();
    const qz::review::Pair& t = pair(p);
    seed(p, ABCD, c.flags);
    start();
    open(p);
    setFilter(p, c.filter);
    const BoxSeen box = clickAnswering(t.clearButton, c.answer);
    EXPECT_EQ(box.title, t.clearTitle);
    EXPECT_EQ(box.icon, "l20071");
    EXPECT_EQ(box.prompt, std::string("\r\n\r\n\r\n") + t.clearQuestion[static_cast<std::size_t>(c.filter - 1)]);
    EXPECT_EQ(bytes(t.listFile), c.listAfter + "\r\n");
    EXPECT_EQ(bytes(t.reviewFile), c.flagsAfter + "\r\n");
    EXPECT_EQ(counters(p), c.counters);
    EXPECT_TRUE(h->reports().empty());
    // The next build counts what was written.
    if (c.answer == Confirm) {
        run();
        open(p);
        const std::size_t reviewed = static_cast<std::size_t>(std::count(c.flagsAfter.begin(), c.flagsAfter.end(), 'T'));
        EXPECT_EQ(counters(p), std::to_string(c.listAfter.size() / 4 - reviewed) + " / " + std::to_string(reviewed));
    }
}

INSTANTIATE_TEST_SUITE_P(Home, ReviewClear,
                         ::testing::Combine(::testing::Values(0, 1),
                                            ::testing::Values(ClearCase{"NotReviewed", "TFFT", 1, Confirm, A + D, "TT", "0 / 2"},
                                                              ClearCase{"Reviewed", "TFFT", 2, Confirm, B + C, "FF", "2 / 0"},
                                                              ClearCase{"All", "TFFT", 3, Confirm, "", "", "0 / 0"},
                                                              ClearCase{"ShortFlags", "TF", 2, Confirm, B + C + D, "FFF", "3 / 0"},
                                                              ClearCase{"Declined", "TFFT", 1, Cancel, ABCD, "TFFT", "2 / 2"})),
                         [](const auto& named) {
                             return std::string(std::get<0>(named.param) == 0 ? "Favourites_" : "Wrong_") +
                                    std::get<1>(named.param).name;
                         });

TEST_F(ReviewScreen, AnEmptyListAsksThenChangesNothing) {
    seed(0, std::nullopt, "TT");
    start();
    open(0);
    EXPECT_TRUE(clickAnswering(23, Confirm).opened);
    EXPECT_EQ(bytes(qz::recordfile::Favourites), "(missing)");
    EXPECT_EQ(bytes(qz::recordfile::FavouritesReview), "TT\r\n");
    EXPECT_EQ(counters(0), "0 / 0");
    EXPECT_TRUE(h->reports().empty());
}

// Either replace failing leaves both files as they were, and the counters with them.
TEST_F(ReviewScreen, AFailedWriteKeepsThePairAndTheCounters) {
    // The group's intent file, the list, the flags.
    for (long nth : {1L, 2L, 3L}) {
        SCOPED_TRACE(nth);
        seed(1, ABCD, "TFFT");
        start();
        open(1);
        setFilter(1, 2);
        {
            testsupport::ScopedReplaceFailure failure(nth, platform::ReplaceFailure::AfterTemporaryFile);
            clickAnswering(25, Confirm);
        }
        EXPECT_EQ(bytes(qz::recordfile::WrongQuestions), ABCD + "\r\n");
        EXPECT_EQ(bytes(qz::recordfile::WrongReview), "TFFT\r\n");
        EXPECT_EQ(counters(1), "2 / 2");
        EXPECT_EQ(h->reports().size(), 1u);
    }
}

// A pair the start of the program holds is not cleared: the learner is told, and the files
// stay for the next start to complete.
TEST_F(ReviewScreen, AHeldPairIsNotCleared) {
    seed(1, ABCD, "TFFT");
    start();
    g().HeldRecords.hold(ksdataPath(qz::recordfile::WrongReview), "TTFT\r\n");
    open(1);
    setFilter(1, 2);
    BoxSeen question, notice;
    h->host.click(home().ClickBotn(25));
    // The notice opens once the question's answer is in: it is looked for after that click.
    h->host.then([&] {
        answerBox(question, Confirm);
        h->host.then([&] { answerBox(notice, Confirm); });
    });
    h->host.runUntilIdle();
    EXPECT_EQ(question.title, pair(1).clearTitle);
    EXPECT_EQ(notice.title, "保存记录");
    EXPECT_EQ(bytes(qz::recordfile::WrongQuestions), ABCD + "\r\n");
    EXPECT_EQ(bytes(qz::recordfile::WrongReview), "TFFT\r\n");
}

// A pair that cannot be read is neither counted nor written over.
TEST_F(ReviewScreen, AnUnreadablePairIsLeftAlone) {
    seed(0, ABCD, "TFFT");
    const testsupport::ScopedReadFailure unreadable(ksdataPath(qz::recordfile::FavouritesReview));
    start();
    open(0);
    EXPECT_EQ(counters(0), "00 / 00");
    clickAnswering(23, Confirm);
    EXPECT_EQ(bytes(qz::recordfile::Favourites), ABCD + "\r\n");
    EXPECT_FALSE(clickAnswering(22, Confirm).opened);
    EXPECT_TRUE(h->isLoaded("FrmFengmian"));
    EXPECT_FALSE(h->reports().empty());
}

}  // namespace
}  // namespace hometest
