#include "util/tolerance.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

struct DifferCase
{
    double a, b, tolerance;
    bool differ;
};

const DifferCase kCases[] = {
    {0.0, 0.0, 1e-6, false},
    {0.0, -0.0, 1e-6, false},
    {0.0, 1e-30, 1e-6, true}, // no absolute floor
    {1.0, 1.0000009, 1e-6, false},
    {1.0, 1.0000011, 1e-6, true},
    {-1.0, 1.0, 2.0, true},
    {-1.0, 1.0, 0.5, true},
    {2.0, 3.0, 0.4, true},  // d = 1 equals the bound (2.5 * 0.4): counts as a difference
    {2.0, 3.0, 0.41, false},
    {DBL_MAX, DBL_MAX * 0.9999999999, 1e-8, false}, // no overflow in the mean
    {DBL_MAX, -DBL_MAX, 1e-8, true},
    {HUGE_VAL, HUGE_VAL, 1e-6, false},
    {HUGE_VAL, 1.0, 1e-6, true},
};

TEST(ValuesDiffer, Table)
{
    for (const DifferCase &c : kCases) {
        EXPECT_EQ(ValuesDiffer(c.a, c.b, c.tolerance), c.differ) << c.a << " vs " << c.b << " tol " << c.tolerance;
        EXPECT_EQ(ValuesDiffer(c.b, c.a, c.tolerance), c.differ) << "symmetry";
    }
}

TEST(ValuesDiffer, NaNIsNotDifferent)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ValuesDiffer(nan, 1.0, 1e-6));
    EXPECT_FALSE(ValuesDiffer(1.0, nan, 1e-6));
    EXPECT_FALSE(ValuesDiffer(nan, nan, 1e-6));
}

TEST(ValuesDiffer, FloatOverloadWidensToDouble)
{
    EXPECT_FALSE(ValuesDiffer(1.0f, 1.0f, 1e-6f));
    EXPECT_TRUE(ValuesDiffer(1.0f, 1.001f, 1e-6f));
    EXPECT_FALSE(ValuesDiffer(0.125f, 0.12500001f, 1e-6f));
    // Widening keeps the float's own value: the float nearest 0.1 is compared, not 0.1.
    const float f = 0.1f;
    EXPECT_EQ(ValuesDiffer(f, f * 1.5f, 1e-6f), ValuesDiffer(double(f), double(f * 1.5f), double(1e-6f)));
    EXPECT_FALSE(ValuesDiffer(FLT_MAX, FLT_MAX, 1e-6f));
}

} // namespace
