#include "home/review_lists.h"

#include <algorithm>

namespace qz::review {

namespace {

// Flags of a list that did not come through the reader are fitted here too.
FlagLine fitted(const ReviewedList& list) {
    FlagLine flags = list.reviewed;
    flags.fit(list.codes.size());
    return flags;
}

const std::string Done = "T";
const std::string NotDone = "F";

}  // namespace

Counts count(const ReviewedList& list) {
    const Split s = split(list);
    return {s.notReviewed.size(), s.reviewed.size()};
}

Split split(const ReviewedList& list) {
    const FlagLine flags = fitted(list);
    Split out;
    for (std::size_t k = 1; k <= list.codes.size(); ++k)
        (flags.isSet(k) ? out.reviewed : out.notReviewed).push_back(list.codes[k - 1]);
    return out;
}

Practice practice(const ReviewedList& list, int filter) {
    Practice out;
    const Split s = split(list);
    const FlagLine flags = fitted(list);
    if (filter == NotReviewed + Reviewed) {
        out.codes = list.codes;
        out.group = 0;
        // Entries past the list have no flag: nothing done before.
        for (std::size_t k = 1; k <= PracticeLimit; ++k) {
            if (k <= list.codes.size()) out.doneBefore[k - 1] = flags.isSet(k) ? Done : NotDone;
            out.questionState[k - 1] = flags.isSet(k) ? 4 : 0;
        }
    } else {
        const bool reviewed = filter == Reviewed;
        out.codes = reviewed ? s.reviewed : s.notReviewed;
        out.group = reviewed ? 2 : 1;
        out.doneBefore.fill(reviewed ? Done : NotDone);
        out.questionState.fill(reviewed ? 4 : 0);
    }
    if (out.codes.size() > PracticeLimit) out.codes.resize(PracticeLimit);
    return out;
}

ReviewedList clear(const ReviewedList& list, int filter) {
    ReviewedList kept;
    if (filter == NotReviewed + Reviewed) return kept;
    const bool keepReviewed = filter == NotReviewed;
    const Split s = split(list);
    kept.codes = keepReviewed ? s.reviewed : s.notReviewed;
    kept.reviewed = FlagLine(std::string(kept.codes.size(), keepReviewed ? 'T' : 'F'));
    return kept;
}

}  // namespace qz::review
