#include "core/plyangle.h"

#include <cmath>

float FoldAngle(float angle)
{
    // The remainder and the sums below are exact.
    if (angle > 90.0f) {
        const double r = std::fmod(static_cast<double>(angle), 180.0); // [0, 180)
        return static_cast<float>(r <= 90.0 ? r : r - 180.0);
    }
    if (angle < -90.0f) {
        const double r = std::fmod(static_cast<double>(angle), 180.0); // (-180, 0]
        // + 0.0: a whole number of negative half turns ends at +0, as the sums would.
        return static_cast<float>(r >= -90.0 ? r + 0.0 : r + 180.0);
    }
    return angle;
}
