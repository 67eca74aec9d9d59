#pragma once
// A list and its flag file as the next reading pairs them, so that a test sees a flag that
// moved onto another code and not only a flag line of the right length.
#include <string>

#include "session/learner_records.h"

namespace sessiontest {

// "0001T 0002F": each code with its flag; "<unreadable>" when the pair cannot be read. With the
// files a program holds, the pair as that program reads it.
inline std::string pairing(const std::string& listPath, const std::string& reviewPath,
                           const qz::RecordOverlay& held = qz::RecordOverlay()) {
    const auto read = qz::readReviewedList(held, listPath, reviewPath);
    if (!read) return "<unreadable>";
    std::string out;
    for (std::size_t k = 1; k <= read->codes.size(); ++k)
        out += (k > 1 ? " " : "") + read->codes[k - 1] + (read->reviewed.isSet(k) ? "T" : "F");
    return out;
}

}  // namespace sessiontest
