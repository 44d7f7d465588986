#include "core/plygroup.h"
#include "core/plysimple.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

TEST(PlySimple, NewPlyDefaults)
{
    const PlySimple ply(1, "");
    EXPECT_EQ(ply.Id(), 1);
    EXPECT_EQ(ply.Serial(), 0);
    EXPECT_EQ(ply.Thickness(), 0.0f);
    EXPECT_EQ(ply.Angle(), 90.0f);
    EXPECT_EQ(ply.Material(), 0);
    EXPECT_EQ(ply.Color(), 0);
    EXPECT_EQ(ply.CountPlies(), 1);
}

TEST(PlySimple, IsEqual)
{
    struct Row
    {
        const char *what;
        std::function<void(PlySimple &)> change;
        bool equal;
    };
    const Row rows[] = {
        {"serial only", [](PlySimple &p) { p.SetSerial(9); }, true},
        {"thickness within 1e-6", [](PlySimple &p) { p.SetThickness(0.2500001f); }, true},
        {"thickness 0.2501", [](PlySimple &p) { p.SetThickness(0.2501f); }, false},
        {"angle 45.00002", [](PlySimple &p) { p.SetAngle(45.00002f); }, true},
        {"angle 45.01", [](PlySimple &p) { p.SetAngle(45.01f); }, false},
        {"id", [](PlySimple &p) { p.SetId(2); }, false},
        {"material", [](PlySimple &p) { p.SetMaterial(4); }, false},
        {"colour", [](PlySimple &p) { p.SetColor(4); }, false},
    };
    for (const Row &row : rows) {
        PlySimple a(1, "a"), b(1, "a");
        for (PlySimple *p : {&a, &b}) {
            p->SetThickness(0.25f);
            p->SetAngle(45.0f);
            p->SetMaterial(3);
            p->SetColor(5);
        }
        row.change(b);
        EXPECT_EQ(a.IsEqual(b), row.equal) << row.what;
    }
    EXPECT_FALSE(PlySimple(1, "a").IsEqual(PlySimple(1, "b")));
    EXPECT_FALSE(PlySimple(1, "ab").IsEqual(PlySimple(1, "a")));
    // A group with the same id and name is not a ply.
    PlySimple named(0, "Group");
    EXPECT_FALSE(named.IsEqual(PlyGroup(0)));
}

TEST(PlySimple, MirrorRenumberClone)
{
    PlySimple ply(1, "x");
    ply.SetAngle(30.0f);
    ply.Mirror();
    EXPECT_EQ(ply.Angle(), -30.0f);
    ply.Mirror();
    EXPECT_EQ(ply.Angle(), 30.0f);

    PlySimple zero(1, "x");
    zero.SetAngle(0.0f);
    const PlySimple before = zero;
    zero.Mirror();
    EXPECT_TRUE(std::signbit(zero.Angle()));
    EXPECT_TRUE(zero.IsEqual(before));

    EXPECT_EQ(ply.Renumber(7), 1);
    EXPECT_EQ(ply.Id(), 7);

    ply.SetSerial(4);
    std::unique_ptr<PlyBase> copy(ply.Clone());
    EXPECT_TRUE(copy->IsEqual(ply));
    EXPECT_EQ(copy->Serial(), 4);
}
