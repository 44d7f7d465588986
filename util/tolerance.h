#pragma once

// Relative comparison used for thicknesses, angles, properties and fractions.
// True when |a - b| is at least tolerance times the mean magnitude of a and b;
// there is no absolute floor. Equal values (and a NaN on either side, since NaN
// never orders) count as not different: callers reject NaN themselves.
bool ValuesDiffer(double a, double b, double tolerance);

// The tolerance at which two plies' thicknesses and angles count as equal.
inline constexpr float kPlyTolerance = 1e-6f;
bool ValuesDiffer(float a, float b, float tolerance);
