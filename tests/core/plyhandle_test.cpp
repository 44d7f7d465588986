#include "core/plygroup.h"
#include "core/plyhandle.h"

#include <gtest/gtest.h>

namespace {

// A ply that counts its destructions; only the virtual destructor reaches it.
class CountingPly : public PlySimple
{
public:
    explicit CountingPly(int *deaths) : PlySimple(1, "c"), deaths_(deaths) {}
    ~CountingPly() override { ++*deaths_; }

private:
    int *deaths_;
};

PlyHandle NewHandle(PlyBase *item)
{
    return PlyHandle(new PlyHolder(item));
}

} // namespace

TEST(PlyHandle, BothKindsShareOneCount)
{
    int deaths = 0;
    PlyHandle h = NewHandle(new CountingPly(&deaths));
    ConstPlyHandle c(h);
    ConstPlyHandle c2;
    c2 = h;
    EXPECT_EQ(h.Holder()->count, 3);
    EXPECT_EQ(c.Get(), h.Get());

    c2 = c; // same holder: nothing changes
    EXPECT_EQ(c.Holder()->count, 3);
    h.Release();
    EXPECT_TRUE(h.IsNull());
    h.Release(); // releasing a null handle is harmless
    c.Release();
    EXPECT_EQ(deaths, 0);
    c2.Release();
    EXPECT_EQ(deaths, 1);
}

TEST(PlyHandle, CopyAssignSwapMove)
{
    int deathsA = 0, deathsB = 0;
    {
        PlyHandle a = NewHandle(new CountingPly(&deathsA));
        PlyHandle b = NewHandle(new CountingPly(&deathsB));
        PlyHandle copy(a);
        copy = copy; // self-assignment changes nothing
        EXPECT_EQ(a.Holder()->count, 2);

        a.Swap(b);
        EXPECT_EQ(b.Get(), copy.Get());
        EXPECT_EQ(b.Holder()->count, 2);

        copy = a; // copy leaves the first item to b alone
        EXPECT_EQ(deathsA, 0);
        PlyHandle moved(std::move(copy));
        EXPECT_TRUE(copy.IsNull());
        moved = std::move(b); // moved now holds the first item alone, a the second
        EXPECT_TRUE(b.IsNull());
        EXPECT_EQ(moved.Holder()->count, 1);
        a.Release();
        EXPECT_EQ(deathsB, 1);
        EXPECT_EQ(deathsA, 0);
    }
    EXPECT_EQ(deathsA, 1);
    EXPECT_EQ(deathsB, 1);
}

TEST(PlyHandle, AssignFromInsideTheHeldItem)
{
    int deaths = 0;
    auto *group = new PlyGroup(1);
    group->GetLayup().Add(new CountingPly(&deaths));
    PlyHandle h = NewHandle(group);
    // The group dies with its last handle, the child is already taken by then.
    h = group->GetLayup()[0];
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(h.Holder()->count, 1);
    EXPECT_EQ(h->Name(), "c");

    h.Release();
    EXPECT_EQ(deaths, 1);

    auto *outer = new PlyGroup(2);
    outer->GetLayup().Add(new CountingPly(&deaths));
    ConstPlyHandle c(NewHandle(outer));
    c = static_cast<const PlyGroup &>(*c).GetLayup()[0];
    EXPECT_EQ(deaths, 1);
    c.Release();
    EXPECT_EQ(deaths, 2);
}

TEST(PlyHandle, NullHandles)
{
    PlyHandle null;
    EXPECT_FALSE(null);
    EXPECT_EQ(null.Get(), nullptr);
    EXPECT_THROW(*null, std::logic_error);
    EXPECT_THROW(null->Id(), std::logic_error);
    PlyHandle empty = NewHandle(nullptr);
    EXPECT_TRUE(empty.IsNull());
    EXPECT_THROW(*empty, std::logic_error);
}
