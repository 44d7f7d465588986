#include "core/plymaterial.h"
#include "core/unitsystem.h"

#include <gtest/gtest.h>

namespace {

UnitSystem Units(int code)
{
    UnitSystem u;
    u.SetCode(code);
    return u;
}

void ExpectDefaultsBesidesRibbon(const PlyMaterial &m)
{
    EXPECT_EQ(m.MatrixMaterial(), -1);
    EXPECT_EQ(m.FiberMaterial(), -1);
    EXPECT_EQ(m.ElasticTheory(), 1);
    EXPECT_EQ(m.HalpinTsaiOption(), 1);
    EXPECT_EQ(m.ExtraOption(), 1);
    EXPECT_EQ(m.ThermalTheory(), 1);
    EXPECT_EQ(m.MatrixFraction(), 0.4);
    EXPECT_EQ(m.FiberFraction(), 0.6);
    EXPECT_EQ(m.LongitudinalAspectRatio(), 0.5);
    EXPECT_EQ(m.TransverseRibbonDimension(), 0.5);
    EXPECT_EQ(m.ReinforcingE11(), 1.0);
    EXPECT_EQ(m.ReinforcingE22(), 1.0);
    EXPECT_EQ(m.ReinforcingNU12(), 1.0);
    EXPECT_EQ(m.ReinforcingNU23(), 1.0);
    EXPECT_EQ(m.ReinforcingG12(), 1.0);
}

PlyMaterial Edited()
{
    PlyMaterial m;
    m.SetMatrixMaterial(7);
    m.SetFiberMaterial(8);
    m.SetElasticTheory(4);
    m.SetHalpinTsaiOption(6);
    m.SetThermalTheory(2);
    m.SetMatrixFraction(0.3);
    m.SetFiberFraction(0.7);
    m.SetLongitudinalAspectRatio(2.0);
    m.SetTransverseRibbonDimension(3.0);
    m.SetRibbonLength(4.0);
    m.SetRibbonWidth(5.0);
    m.SetRibbonThickness(6.0);
    const double factors[5] = {1.5, 2.5, 3.5, 4.5, 5.5};
    m.SetReinforcingFactors(factors);
    return m;
}

TEST(PlyMaterial, ConstructorDefaultsAreUnconverted)
{
    const PlyMaterial m;
    ExpectDefaultsBesidesRibbon(m);
    EXPECT_EQ(m.RibbonLength(), 0.01);
    EXPECT_EQ(m.RibbonWidth(), 0.01);
    EXPECT_EQ(m.RibbonThickness(), 0.005);
}

TEST(PlyMaterial, SetDefaultsForEveryUnitSystem)
{
    for (int code = 0; code <= 21; ++code) {
        SCOPED_TRACE(code);
        const UnitSystem units = Units(code);
        PlyMaterial m = Edited();
        m.SetDefaults(units);
        ExpectDefaultsBesidesRibbon(m);
        EXPECT_EQ(m.RibbonLength(), units.LengthFromMeter(0.0001));
        EXPECT_EQ(m.RibbonWidth(), units.LengthFromMeter(0.0001));
        EXPECT_EQ(m.RibbonThickness(), units.LengthFromMeter(0.00005));
    }
    PlyMaterial mm;
    mm.SetDefaults(Units(5));
    EXPECT_DOUBLE_EQ(mm.RibbonLength(), 0.1);
    EXPECT_DOUBLE_EQ(mm.RibbonThickness(), 0.05);
    PlyMaterial ft;
    ft.SetDefaults(Units(2));
    EXPECT_DOUBLE_EQ(ft.RibbonWidth(), 0.0003280839895013124);
    EXPECT_DOUBLE_EQ(ft.RibbonThickness(), 0.0001640419947506562);
    PlyMaterial si;
    si.SetDefaults(Units(9));
    EXPECT_EQ(si.RibbonLength(), 0.0001);
}

TEST(PlyMaterial, CopyKeepsEveryField)
{
    const PlyMaterial m = Edited();
    PlyMaterial copy;
    copy = m;
    for (const PlyMaterial &c : {PlyMaterial(m), copy}) {
        EXPECT_EQ(c.MatrixMaterial(), 7);
        EXPECT_EQ(c.FiberMaterial(), 8);
        EXPECT_EQ(c.ElasticTheory(), 4);
        EXPECT_EQ(c.HalpinTsaiOption(), 6);
        EXPECT_EQ(c.ExtraOption(), 1);
        EXPECT_EQ(c.ThermalTheory(), 2);
        EXPECT_EQ(c.MatrixFraction(), 0.3);
        EXPECT_EQ(c.FiberFraction(), 0.7);
        EXPECT_EQ(c.LongitudinalAspectRatio(), 2.0);
        EXPECT_EQ(c.TransverseRibbonDimension(), 3.0);
        EXPECT_EQ(c.RibbonLength(), 4.0);
        EXPECT_EQ(c.RibbonWidth(), 5.0);
        EXPECT_EQ(c.RibbonThickness(), 6.0);
        EXPECT_EQ(c.ReinforcingE11(), 1.5);
        EXPECT_EQ(c.ReinforcingE22(), 2.5);
        EXPECT_EQ(c.ReinforcingNU12(), 3.5);
        EXPECT_EQ(c.ReinforcingNU23(), 4.5);
        EXPECT_EQ(c.ReinforcingG12(), 5.5);
    }
}

} // namespace
