#pragma once
// Random numbers a test gives in advance; past the script, 0.
#include <deque>

#include "platform/clock.h"

namespace testsupport {

struct ScriptedRandom : platform::RandomNumbers {
    std::deque<double> values;
    int reseeds = 0;
    void reseed() override { ++reseeds; }
    double next() override {
        if (values.empty()) return 0;
        const double v = values.front();
        values.pop_front();
        return v;
    }
};

}  // namespace testsupport
