// The favourites and the wrong questions as their home-screen panels work on them: the
// counters, the choice of a practice and what a clear keeps. The lists come in with their
// flags fitted (readReviewedList), so an entry without a flag is one not yet reviewed.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "session/learner_records.h"

namespace qz::review {

// Filter bits of a panel; 3 takes both groups, 0 neither.
inline constexpr int NotReviewed = 1;
inline constexpr int Reviewed = 2;
// A practice runs at most this many entries.
inline constexpr std::size_t PracticeLimit = 500;

// One panel's records, session triples and texts. Triples are ordered all, not reviewed,
// reviewed; clear questions by filter 1, 2, 3.
struct Pair {
    const char* background;
    int practiceButton;
    int clearButton;
    int firstFilterButton;  // flag 1's; flag 2's is the next
    const char* listFile;
    const char* reviewFile;
    std::array<int, 3> listMode;
    std::array<int, 3> listBase;
    const char* practiceTitle;
    const char* nothingRecorded;
    const char* noNotReviewed;
    const char* noReviewed;
    const char* clearTitle;
    std::array<const char*, 3> clearQuestion;
};

inline constexpr std::array<Pair, 2> Pairs{{
    {"l20057", 22, 23, 40, recordfile::Favourites, recordfile::FavouritesReview, {9, 10, 11}, {10, 9, 8},
     "收藏题目练习", "您还没有已收藏题目！", "您没有未复习的收藏题目！", "您没有已复习的收藏题目！",
     "清除收藏的题目",
     {"您确实要清除未复习的收藏题目吗？", "您确实要清除已复习的收藏题目吗？", "您确实要清除全部收藏题目吗？"}},
    {"l20058", 24, 25, 42, recordfile::WrongQuestions, recordfile::WrongReview, {12, 13, 14}, {7, 6, 5},
     "错题复习", "您还没有错题记录！", "您还没有未复习的错题记录！", "您还没有已复习的错题记录！",
     "清除我的错题",
     {"您确实要清除未学习的我的错题题目吗？", "您确实要清除已学习的我的错题题目吗？",
      "您确实要清除全部我的错题题目吗？"}},
}};

struct Counts {
    std::size_t notReviewed = 0;
    std::size_t reviewed = 0;
};
Counts count(const ReviewedList& list);

// Both groups in the list's order.
struct Split {
    std::vector<std::string> notReviewed;
    std::vector<std::string> reviewed;
};
Split split(const ReviewedList& list);

// The session a practice opens: its entries (cut to the limit), which triple it runs on, and
// the done-before flag and state of entries 1 to 500 (index 0 is entry 1).
struct Practice {
    std::vector<std::string> codes;
    int group = 0;  // 0 all, 1 not reviewed, 2 reviewed
    std::array<std::string, PracticeLimit> doneBefore;
    std::array<int, PracticeLimit> questionState{};
};
// Filter 1 to 3.
Practice practice(const ReviewedList& list, int filter);

// What a clear with filter 1 to 3 leaves: the other group, all "T" or all "F".
ReviewedList clear(const ReviewedList& list, int filter);

}  // namespace qz::review
