#include "core/laminate.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/unitsystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

PlySimple *Ply(float thickness, float angle)
{
    auto *p = new PlySimple(0, "");
    p->SetThickness(thickness);
    p->SetAngle(angle);
    return p;
}

// Root: ply, group 1 {two plies}, link 2 -> 1 (Symmetry).
PlyGroup SampleRoot()
{
    PlyGroup root(0);
    root.GetLayup().Add(Ply(0.5f, 0.0f));
    auto *group = new PlyGroup(1);
    group->GetLayup().Add(Ply(0.25f, 45.0f));
    group->GetLayup().Add(Ply(0.25f, -45.0f));
    root.GetLayup().Add(group);
    root.GetLayup().Add(new PlyGroupLink(2, 1, 1, 0));
    return root;
}

TEST(Laminate, Defaults)
{
    const Laminate l;
    EXPECT_EQ(l.Name(), "");
    EXPECT_EQ(l.Id(), 0);
    EXPECT_EQ(l.HostNumber(), 0);
    EXPECT_EQ(l.HostOption(), 0);
    EXPECT_EQ(l.TsaiWuInteractionType(), 1);
    EXPECT_EQ(l.FailureTheory(), 3);
    EXPECT_EQ(l.ReferencePlaneMethod(), 1);
    EXPECT_EQ(l.UserReferencePlaneLocation(), 0.0f);
    EXPECT_EQ(l.BondingStress(), 0.0f);
    EXPECT_EQ(l.TsaiWuCoefficient(), -0.5f);
    EXPECT_EQ(l.NonStructuralMass(), 0.0);
    EXPECT_EQ(l.Damping(), 0.0);
    EXPECT_EQ(l.ReferenceTemperature(), 295.0);
    EXPECT_EQ(l.RootGroup().Id(), 0);
    EXPECT_EQ(l.RootGroup().GetLayup().Size(), 0);
    EXPECT_FALSE(l.IsModified());
    const Laminate named(4, "Wing skin", 12);
    EXPECT_EQ(named.Id(), 4);
    EXPECT_EQ(named.Name(), "Wing skin");
    EXPECT_EQ(named.HostNumber(), 12);
}

struct SetterCase
{
    const char *name;
    std::function<void(Laminate &)> same;    // equal within tolerance
    std::function<void(Laminate &)> changed; // a real change
};

const SetterCase kSetters[] = {
    {"FailureTheory", [](Laminate &l) { l.SetFailureTheory(3); }, [](Laminate &l) { l.SetFailureTheory(1); }},
    {"HostOption", [](Laminate &l) { l.SetHostOption(0); }, [](Laminate &l) { l.SetHostOption(5); }},
    {"TsaiWuInteractionType", [](Laminate &l) { l.SetTsaiWuInteractionType(1); },
     [](Laminate &l) { l.SetTsaiWuInteractionType(2); }},
    {"ReferencePlane", [](Laminate &l) { l.SetReferencePlane(1, 0.0f); },
     [](Laminate &l) { l.SetReferencePlane(1, 7.5f); }},
    {"ReferencePlaneMethod", [](Laminate &l) { l.SetReferencePlane(1, 0.0f); },
     [](Laminate &l) { l.SetReferencePlane(2, 0.0f); }},
    {"BondingStress", [](Laminate &l) { l.SetBondingStress(0.0f); }, [](Laminate &l) { l.SetBondingStress(3.0f); }},
    {"TsaiWuCoefficient", [](Laminate &l) { l.SetTsaiWuCoefficient(-0.5000003f); },
     [](Laminate &l) { l.SetTsaiWuCoefficient(-0.4f); }},
    {"NonStructuralMass", [](Laminate &l) { l.SetNonStructuralMass(0.0); },
     [](Laminate &l) { l.SetNonStructuralMass(1e-3); }},
    {"Damping", [](Laminate &l) { l.SetDamping(0.0); }, [](Laminate &l) { l.SetDamping(0.02); }},
    {"ReferenceTemperature", [](Laminate &l) { l.SetReferenceTemperature(295.000000001); },
     [](Laminate &l) { l.SetReferenceTemperature(300.0); }},
    {"Layup", [](Laminate &l) { l.SetLayup(PlyGroup(0)); }, [](Laminate &l) { l.SetLayup(SampleRoot()); }},
};

TEST(Laminate, SettersRaiseModifiedOnlyOnChange)
{
    for (const SetterCase &c : kSetters) {
        SCOPED_TRACE(c.name);
        Laminate l;
        c.same(l);
        EXPECT_FALSE(l.IsModified()) << "within tolerance";
        c.changed(l);
        EXPECT_TRUE(l.IsModified()) << "changed";
        c.same(l);
        EXPECT_TRUE(l.IsModified()) << "stays raised";
        l.ClearModified();
        EXPECT_FALSE(l.IsModified());
    }
}

TEST(Laminate, ToleranceSettersStoreTheValueEvenWhenEqual)
{
    Laminate l;
    l.SetBondingStress(1.0f);
    l.ClearModified();
    l.SetBondingStress(1.0000001f);
    EXPECT_FALSE(l.IsModified());
    EXPECT_EQ(l.BondingStress(), 1.0000001f);
}

TEST(Laminate, ReferencePlane)
{
    Laminate l;
    l.SetReferencePlane(1, 7.5f);
    EXPECT_TRUE(l.IsModified());
    EXPECT_EQ(l.UserReferencePlaneLocation(), 7.5f);
    EXPECT_EQ(l.ReferencePlaneLocation(2.0f), -1.0f);
    const struct { int method; float expected; } rows[] = {{0, -2.0f}, {1, -1.0f}, {2, 0.0f}, {3, 7.5f}, {7, 7.5f}};
    for (const auto &r : rows) {
        l.SetReferencePlane(r.method, 7.5f);
        EXPECT_EQ(l.ReferencePlaneLocation(2.0f), r.expected) << r.method;
    }
}

TEST(Laminate, SetLayupEqualKeepsFlagButRenumbers)
{
    Laminate fresh;
    fresh.SetLayup(SampleRoot());
    fresh.ClearModified();
    fresh.SetLayup(fresh.RootGroup());
    EXPECT_FALSE(fresh.IsModified());
    std::vector<PlySimple> plies;
    fresh.RootGroup().CollectPlies(plies);
    ASSERT_EQ(plies.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(plies[i].Id(), i + 1);
}

TEST(Laminate, EqualityIgnoresNameAndConditionalFields)
{
    Laminate a(1, "A", 2), b(1, "B", 2);
    EXPECT_TRUE(a.IsEqual(b));
    b.SetTsaiWuCoefficient(0.3f);
    EXPECT_FALSE(a.IsEqual(b)) << "Tsai-Wu theory compares the coefficient";
    a.SetFailureTheory(1);
    b.SetFailureTheory(1);
    EXPECT_TRUE(a.IsEqual(b));
    b.SetReferencePlane(1, 9.0f);
    EXPECT_TRUE(a.IsEqual(b));
    a.SetReferencePlane(3, 0.0f);
    b.SetReferencePlane(3, 9.0f);
    EXPECT_FALSE(a.IsEqual(b));
    b.SetReferencePlane(3, 0.0f);
    EXPECT_TRUE(a.IsEqual(b));
    b.SetDamping(1e-9);
    EXPECT_FALSE(a.IsEqual(b));
    b.SetDamping(0.0);
    b.SetLayup(SampleRoot());
    EXPECT_FALSE(a.IsEqual(b));
    const Laminate otherId(5, "A", 2), otherHost(1, "A", 3);
    EXPECT_FALSE(Laminate(1, "A", 2).IsEqual(otherId));
    EXPECT_FALSE(Laminate(1, "A", 2).IsEqual(otherHost));
}

TEST(Laminate, CopyResolvesLinksInsideTheCopy)
{
    auto source = std::make_unique<Laminate>(1, "L", 0);
    source->SetLayup(SampleRoot());
    source->SetFailureTheory(5);
    const Laminate copy(*source);
    Laminate assigned;
    assigned = *source;
    source.reset(); // a copy that still pointed into the source would now dangle
    for (const Laminate *l : {&copy, static_cast<const Laminate *>(&assigned)}) {
        EXPECT_EQ(l->FailureTheory(), 5);
        EXPECT_TRUE(l->IsModified());
        std::vector<PlySimple> plies;
        l->RootGroup().CollectPlies(plies);
        ASSERT_EQ(plies.size(), 5u);
        EXPECT_EQ(plies[3].Angle(), -45.0f); // symmetry link: reversed group
        EXPECT_EQ(plies[4].Angle(), 45.0f);
    }
    Laminate self = copy;
    self = self;
    EXPECT_TRUE(self.IsEqual(copy));
}

TEST(Laminate, ResetForEveryUnitSystem)
{
    for (int code = 0; code <= 21; ++code) {
        UnitSystem units;
        units.SetCode(code);
        Laminate l(7, "Old", 9);
        l.SetLayup(SampleRoot());
        l.SetHostOption(3);
        l.SetFailureTheory(6);
        l.SetReferencePlane(3, 1.0f);
        l.SetBondingStress(2.0f);
        l.SetTsaiWuCoefficient(1.0f);
        l.SetTsaiWuInteractionType(2);
        l.SetNonStructuralMass(1.0);
        l.SetDamping(1.0);
        l.Reset(units);
        Laminate expected(0, "Laminate", 0);
        expected.SetReferenceTemperature(units.TemperatureFromKelvin(295.0));
        expected.ClearModified();
        SCOPED_TRACE(code);
        EXPECT_EQ(l.Name(), "Laminate");
        EXPECT_FALSE(l.IsModified());
        EXPECT_EQ(l.RootGroup().GetLayup().Size(), 0);
        EXPECT_EQ(l.ReferenceTemperature(), units.TemperatureFromKelvin(295.0));
        EXPECT_TRUE(l.IsEqual(expected));
        EXPECT_EQ(l.HostOption(), 0);
        EXPECT_EQ(l.TsaiWuInteractionType(), 1);
    }
}

TEST(Laminate, FailureTheoryNames)
{
    const char *expected[] = {"", "Hill", "Hoffman", "Tsai-Wu", "maximum Stress", "maximum Strain", "User-Defined", ""};
    for (int code = 0; code <= 7; ++code)
        EXPECT_EQ(Laminate::FailureTheoryName(code), expected[code]);
    EXPECT_EQ(Laminate::FailureTheoryName(-1), "");
}

} // namespace
