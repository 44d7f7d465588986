#include "util/tolerance.h"

#include <cmath>

bool ValuesDiffer(double a, double b, double tolerance)
{
    if (a == b)
        return false;
    const double d = std::fabs(a - b);
    // Halve each magnitude before adding so values near the largest double do not overflow.
    const double s = (std::fabs(a) * 0.5 + std::fabs(b) * 0.5) * tolerance;
    return d >= s; // false when either is NaN
}

bool ValuesDiffer(float a, float b, float tolerance)
{
    return ValuesDiffer(static_cast<double>(a), static_cast<double>(b), static_cast<double>(tolerance));
}
