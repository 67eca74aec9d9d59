#include "demo/pointer_motion.h"

#include <gtest/gtest.h>

#include "platform/vb_error.h"

namespace {

using qz::motion::arrived;
using qz::motion::computeMove;

struct MoveCase {
    const char* what;
    int px, py, tx, ty;
    double scaleX;
    int stepX, stepY;
    int ticks;  // the tick on which the pointer arrives
    int endX, endY;
};

// Ticks a move as a mover does: the step first, then the test.
void play(const MoveCase& c) {
    SCOPED_TRACE(c.what);
    const qz::motion::Move m = computeMove(c.px, c.py, c.tx, c.ty);
    EXPECT_EQ(m.stepX, c.stepX);
    EXPECT_EQ(m.stepY, c.stepY);
    int x = c.px, y = c.py;
    int tick = 0;
    while (tick < 100) {
        ++tick;
        x += m.stepX;
        y += m.stepY;
        if (arrived(x, y, c.tx, c.ty, m.stepLength, 120 * c.scaleX)) break;
    }
    EXPECT_EQ(tick, c.ticks);
    EXPECT_EQ(x, c.endX);
    EXPECT_EQ(y, c.endY);
}

TEST(PointerMotion, MovesArriveWhereAndWhenTheTestFirstHolds) {
    const MoveCase cases[] = {
        {"x major, 142 twips short", 6000, 4500, 7500, 5000, 1, 105, 35, 13, 7365, 4955},
        {"a tie is y major, both steps rounded alike", 6000, 4500, 3000, 1500, 1, -283, -283, 10, 3170, 1670},
        {"the minor axis overshoots", 0, 0, 1500, 25, 1, 100, 2, 14, 1400, 28},
        {"zero move arrives at once, unmoved", 400, 300, 400, 300, 1, 0, 0, 1, 400, 300},
        {"a short move arrives after one step", 0, 0, 100, 0, 1, 7, 0, 1, 7, 0},
        {"a start inside the tolerance still steps", 0, 0, 0, -50, 1, 0, -3, 1, 0, -3},
        {"the radius is scaled: 110 twips at 12 twips a pixel", 0, 0, 110, 0, 0.8, 7, 0, 3, 21, 0},
        {"the same move at 15 twips a pixel", 0, 0, 110, 0, 1, 7, 0, 1, 7, 0},
        {"leftwards at 12 twips a pixel", 0, 0, -150, 0, 0.8, -10, 0, 6, -60, 0},
    };
    for (const MoveCase& c : cases) play(c);
}

TEST(PointerMotion, StepLengthIsAFifteenthOfTheDistance) {
    EXPECT_NEAR(computeMove(6000, 4500, 7500, 5000).stepLength, 105.409, 0.001);
    EXPECT_EQ(computeMove(0, 0, 0, 0).stepLength, 0);
}

TEST(PointerMotion, AStepBeyondSixteenBitsIsAnOverflow) {
    EXPECT_THROW(computeMove(0, 0, 2000000000, 0), platform::VbError);
}

TEST(PointerMotion, CentresRoundHalvesToEven) {
    EXPECT_EQ(qz::motion::centre(100, 5), 102);  // 102.5
    EXPECT_EQ(qz::motion::centre(100, 7), 104);  // 103.5
    EXPECT_EQ(qz::motion::centre(-100, 0), -100);
}

}  // namespace
