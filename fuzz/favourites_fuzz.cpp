// The favourites (288862.mxy) with their review flags (288872.mxy).
#include "fuzz/learner_records_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    recordsfuzz::reviewedList(data, size, "288862.mxy", "288872.mxy");
    return 0;
}
