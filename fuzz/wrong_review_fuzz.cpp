// The wrong questions (288863.mxy) with their review flags (288873.mxy).
#include "fuzz/learner_records_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    recordsfuzz::reviewedList(data, size, "288863.mxy", "288873.mxy");
    return 0;
}
