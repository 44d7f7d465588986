#include "core/unitsystem.h"

#include <gtest/gtest.h>

namespace {

struct Names
{
    const char *system, *lengthLong, *lengthShort, *stress, *mass;
};

Names ExpectedNames(int code)
{
    const int base = code < 11 ? code : code - 10;
    switch (base) {
    case 1: return {"m-N", "meter", "m", "N/m^2", "kg/m^2"};
    case 2: return {"ft-lbf", "foot", "ft", "lbf/ft^2", "lbf-sec**2/ft^3"};
    case 3: return {"m-kgf", "meter", "m", "kgf/m^2", "kgf-sec**2/m^3"};
    case 4: return {"ft-pdl", "foot", "ft", "poundal/ft^2", "lbm/ft^2"};
    case 5: return {"mm-mN", "millimeter", "mm", "mN/mm^2", "kg/mm^2"};
    case 6: return {"cm-cN", "centimeter", "cm", "cN/cm^2", "kg/cm^2"};
    case 7: return {"in-lbf", "inch", "in", "lbf/in^2", "lbf-sec**2/in^3"};
    case 8: return {"mm-kgf", "millimeter", "mm", "kgf/mm^2", "kgf-sec**2/mm^3"};
    case 9: return {"user defined", "user defined", "user defined", "user defined", "user defined"};
    case 10: return {"mm-N", "millimeter", "mm", "N/mm^2", "tonne/mm^2"};
    default: return {"unknown", " ", " ", " ", " "};
    }
}

TEST(UnitSystem, NewHasCodeOne)
{
    EXPECT_EQ(UnitSystem().Code(), 1);
    EXPECT_EQ(UnitSystem().SystemName(), "m-N");
}

TEST(UnitSystem, NamesForEveryCode)
{
    for (int code = -1; code <= 21; ++code) {
        UnitSystem u;
        u.SetCode(code);
        const Names n = ExpectedNames(code);
        SCOPED_TRACE(code);
        EXPECT_EQ(u.SystemName(), n.system);
        EXPECT_EQ(u.LengthName(true), n.lengthLong);
        EXPECT_EQ(u.LengthName(false), n.lengthShort);
        EXPECT_EQ(u.StressName(), n.stress);
        EXPECT_EQ(u.MassPerAreaName(), n.mass);
    }
}

TEST(UnitSystem, TemperatureNames)
{
    struct Row { int code; const char *longName, *shortName; };
    const Row rows[] = {
        {1, "Celsius", "C"}, {2, "Farenheit", "F"}, {4, "Farenheit", "F"}, {7, "Farenheit", "F"},
        {10, "Celsius", "C"}, {11, "Kelvin", "K"}, {12, "Rankine", "R"}, {17, "Rankine", "R"},
        {20, "Kelvin", "K"}, {9, "user defined", "user defined"}, {19, "user defined", "user defined"},
        {0, " ", " "}, {21, " ", " "}, {-1, " ", " "},
    };
    for (const Row &r : rows) {
        UnitSystem u;
        u.SetCode(r.code);
        EXPECT_EQ(u.TemperatureName(true), r.longName) << r.code;
        EXPECT_EQ(u.TemperatureName(false), r.shortName) << r.code;
    }
}

TEST(UnitSystem, Conversions)
{
    struct Row { int code; double offset, from295, lengthOf1; };
    const Row rows[] = {
        {1, -273.15, 21.85, 1.0},
        {2, -459.67, 71.33, 3.280839895013124},
        {3, -273.15, 21.85, 1.0},
        {4, -459.67, 71.33, 3.280839895013124},
        {5, -273.15, 21.85, 1000.0},
        {6, -273.15, 21.85, 100.0},
        {7, -459.67, 71.33, 39.37007874015748},
        {8, -273.15, 21.85, 1000.0},
        {9, 0.0, 295.0, 1.0},
        {10, -273.15, 21.85, 1000.0},
        {11, 0.0, 295.0, 1.0},
        {12, 0.0, 531.0, 3.280839895013124},
        {15, 0.0, 295.0, 1000.0},
        {17, 0.0, 531.0, 39.37007874015748},
        {19, 0.0, 295.0, 1.0},
        {0, 0.0, 295.0, 1.0},
        {21, 0.0, 295.0, 1.0},
        {-1, 0.0, 295.0, 1.0},
    };
    for (const Row &r : rows) {
        UnitSystem u;
        u.SetCode(r.code);
        SCOPED_TRACE(r.code);
        EXPECT_DOUBLE_EQ(u.TemperatureOffset(), r.offset);
        EXPECT_NEAR(u.TemperatureFromKelvin(295.0), r.from295, 1e-9);
        EXPECT_DOUBLE_EQ(u.LengthFromMeter(1.0), r.lengthOf1);
    }
    UnitSystem inch;
    inch.SetCode(7);
    EXPECT_DOUBLE_EQ(inch.LengthFromMeter(0.0001), 0.003937007874015748);
}

} // namespace
