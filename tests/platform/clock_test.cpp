// The wall-clock texts the exam records and the login show.
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, TimesAndDatesArePaddedToTheirColumns) {
    const platform::LocalTime t{2019, 7, 6, 9, 5, 3};
    EXPECT_EQ(platform::timeText(t), "2019-07-06 09:05:03");
    EXPECT_EQ(platform::dateText(t), "2019年07月06日");
    platform::SystemRandomNumbers r;
    r.reseed();
    for (int i = 0; i < 100; ++i) {
        const double v = r.next();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
    }
}

}  // namespace
