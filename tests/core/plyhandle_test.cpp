#include "core/plygroup.h"

#include <gtest/gtest.h>

namespace {

// Counts its destructions; only the virtual destructor reaches it.
class CountingPly : public PlySimple
{
public:
    explicit CountingPly(int &deaths) : PlySimple(1, "c"), deaths_(deaths) {}
    ~CountingPly() override { ++deaths_; }

private:
    int &deaths_;
};

PlyHandle NewHandle(PlyBase *item)
{
    return PlyHandle(new PlyHolder(item));
}

} // namespace

TEST(PlyHandle, BothKindsShareOneCount)
{
    int deathsA = 0, deathsB = 0;
    PlyHandle a = NewHandle(new CountingPly(deathsA));
    PlyHandle b = NewHandle(new CountingPly(deathsB));
    ConstPlyHandle c(a), c2;
    c2 = a;
    c2 = c; // same holder: nothing changes
    a = a;
    EXPECT_EQ(a.Holder()->count, 3);
    EXPECT_EQ(c.Get(), a.Get());

    a.Swap(b); // a holds B, b holds A
    PlyHandle moved(std::move(b));
    EXPECT_TRUE(b.IsNull());
    moved.Release();
    moved.Release(); // a null handle releases nothing
    c.Release();
    EXPECT_EQ(deathsA, 0);
    moved = std::move(a);
    c2 = ConstPlyHandle(moved);
    EXPECT_EQ(deathsA, 1); // c2 held its last share
    moved.Release();
    EXPECT_EQ(deathsB, 0);
    c2.Release();
    EXPECT_EQ(deathsB, 1);
}

TEST(PlyHandle, AssignFromInsideTheHeldItemAndNull)
{
    int deaths = 0;
    auto *group = new PlyGroup(1);
    group->GetLayup().Add(new CountingPly(deaths));
    PlyHandle h = NewHandle(group);
    h = group->GetLayup()[0]; // the group dies after its child is taken
    EXPECT_EQ(h->Name(), "c");
    EXPECT_EQ(h.Holder()->count, 1);

    auto *outer = new PlyGroup(2);
    outer->GetLayup().Add(h);
    ConstPlyHandle c(NewHandle(outer));
    h.Release();
    c = static_cast<const PlyGroup &>(*c).GetLayup()[0];
    EXPECT_EQ(deaths, 0);
    c.Release();
    EXPECT_EQ(deaths, 1);

    EXPECT_THROW(*c, std::logic_error);
    EXPECT_THROW(NewHandle(nullptr)->Id(), std::logic_error);
}
