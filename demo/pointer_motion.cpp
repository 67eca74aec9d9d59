#include "demo/pointer_motion.h"

#include <cmath>

#include "platform/numbers.h"

namespace qz::motion {

Move computeMove(std::int32_t px, std::int32_t py, std::int32_t tx, std::int32_t ty) {
    Move m;
    const double dx = static_cast<double>(tx) - px;
    const double dy = static_cast<double>(ty) - py;
    m.stepLength = std::sqrt(dx * dx + dy * dy) / 15;
    if (dx == 0 && dy == 0) return m;
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    if (ax > ay) {
        m.stepX = platform::cint(m.stepLength);
        m.stepY = platform::cint(ay * m.stepLength / ax);
    } else {
        m.stepX = platform::cint(ax * m.stepLength / ay);
        m.stepY = platform::cint(m.stepLength);
    }
    if (tx < px) m.stepX = static_cast<std::int16_t>(-m.stepX);
    if (ty < py) m.stepY = static_cast<std::int16_t>(-m.stepY);
    return m;
}

bool arrived(std::int32_t px, std::int32_t py, std::int32_t tx, std::int32_t ty, double stepLength, double radius) {
    const double dx = static_cast<double>(tx) - px;
    const double dy = static_cast<double>(ty) - py;
    if (std::fabs(dx) <= 1.2 * stepLength && std::fabs(dy) <= 1.2 * stepLength) return true;
    const double d = std::sqrt(dx * dx + dy * dy);
    return d < 1.5 * stepLength || d < radius;
}

std::int32_t centre(int start, int size) { return platform::clng(start + size / 2.0); }

}  // namespace qz::motion
