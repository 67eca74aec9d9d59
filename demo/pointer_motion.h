// The player's pointer arithmetic: one move computation and one arrival test for every mover.
#pragma once

#include <cstdint>

namespace qz::motion {

struct Move {
    std::int16_t stepX = 0;
    std::int16_t stepY = 0;
    double stepLength = 0;
};

// A move from (px, py) to (tx, ty) in about fifteen steps along the major axis (a tie is
// y-major). Steps round half to even before the sign is applied; a step beyond 16 bits is the
// platform's overflow, thrown.
Move computeMove(std::int32_t px, std::int32_t py, std::int32_t tx, std::int32_t ty);

// Whether a pointer at (px, py) has arrived at (tx, ty), for a move of the given step length;
// radius is the short-move tolerance, 120 design twips scaled by ScaleX.
bool arrived(std::int32_t px, std::int32_t py, std::int32_t tx, std::int32_t ty, double stepLength, double radius);

// A control's centre along one axis: start + size / 2, halves to even.
std::int32_t centre(int start, int size);

}  // namespace qz::motion
