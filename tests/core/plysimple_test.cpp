#include "core/plygroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

TEST(PlySimple, DefaultsMirrorRenumberClone)
{
    PlySimple ply(1, "");
    EXPECT_EQ(ply.Serial(), 0);
    EXPECT_EQ(ply.Thickness(), 0.0f);
    EXPECT_EQ(ply.Angle(), 90.0f);
    EXPECT_EQ(ply.Material() + ply.Color(), 0);

    ply.SetAngle(0.0f);
    const PlySimple zero = ply;
    ply.Mirror();
    EXPECT_TRUE(std::signbit(ply.Angle()));
    EXPECT_TRUE(ply.IsEqual(zero));
    ply.SetAngle(30.0f);
    ply.Mirror();
    EXPECT_EQ(ply.Angle(), -30.0f);
    ply.Mirror();
    EXPECT_EQ(ply.Angle(), 30.0f);

    EXPECT_EQ(ply.Renumber(7), 1);
    EXPECT_EQ(ply.Id(), 7);
    ply.SetSerial(4);
    const std::unique_ptr<PlyBase> copy(ply.Clone());
    EXPECT_TRUE(copy->IsEqual(ply));
    EXPECT_EQ(copy->Serial(), 4);
}

TEST(PlySimple, IsEqual)
{
    const std::pair<std::function<void(PlySimple &)>, bool> rows[] = {
        {[](PlySimple &p) { p.SetSerial(9); }, true},
        {[](PlySimple &p) { p.SetThickness(0.2500001f); }, true},
        {[](PlySimple &p) { p.SetThickness(0.2501f); }, false},
        {[](PlySimple &p) { p.SetAngle(45.00002f); }, true},
        {[](PlySimple &p) { p.SetAngle(45.01f); }, false},
        {[](PlySimple &p) { p.SetId(2); }, false},
        {[](PlySimple &p) { p.SetMaterial(4); }, false},
        {[](PlySimple &p) { p.SetColor(4); }, false},
    };
    int row = 0;
    for (const auto &[change, equal] : rows) {
        PlySimple a(1, "a");
        a.SetThickness(0.25f);
        a.SetAngle(45.0f);
        a.SetMaterial(3);
        a.SetColor(5);
        PlySimple b = a;
        change(b);
        EXPECT_EQ(a.IsEqual(b), equal) << "row " << row++;
    }
    EXPECT_FALSE(PlySimple(1, "ab").IsEqual(PlySimple(1, "a")));
    EXPECT_FALSE(PlySimple(0, "Group").IsEqual(PlyGroup(0))); // same id and name, not a ply
}
