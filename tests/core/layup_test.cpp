#include "core/layup.h"
#include "core/plygroup.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

PlySimple MakePly(int tag)
{
    PlySimple ply(tag, "p");
    ply.SetMaterial(tag);
    return ply;
}

PlySimple *NewPly(int tag)
{
    return new PlySimple(MakePly(tag));
}

// What a layup should hold: a tag per item, and the holder when it is shared.
struct Entry
{
    int tag;
    const PlyHolder *shared;
};

void ExpectMatches(Layup &layup, const std::vector<Entry> &model)
{
    ASSERT_EQ(layup.Size(), static_cast<int>(model.size()));
    const Layup &view = layup;
    auto item = layup.Begin();
    auto constItem = view.ConstBegin();
    for (size_t i = 0; i < model.size(); ++i, ++item, ++constItem) {
        const int index = static_cast<int>(i);
        EXPECT_EQ(layup[index].Holder(), view[index].Holder()) << "lists not parallel at " << i;
        EXPECT_EQ(item->Holder(), constItem->Holder());
        EXPECT_EQ(static_cast<const PlySimple &>(*view[index]).Material(), model[i].tag);
        if (model[i].shared) {
            EXPECT_EQ(view[index].Holder(), model[i].shared);
        }
    }
    EXPECT_EQ(item, layup.End());
    EXPECT_EQ(constItem, view.ConstEnd());
}

void ExpectDeepCopy(const Layup &copy, const Layup &source)
{
    ASSERT_TRUE(copy == source);
    for (int i = 0; i < copy.Size(); ++i)
        EXPECT_NE(copy[i].Holder(), source[i].Holder());
}

} // namespace

TEST(Layup, MatchesVectorModel)
{
    std::mt19937 rng(1234);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    Layup pool;
    for (int tag = 100; tag < 105; ++tag)
        pool.Add(NewPly(tag));

    for (int round = 0; round < 200; ++round) {
        Layup layup, other;
        std::vector<Entry> model, otherModel;
        int nextTag = 1;
        for (int step = 0; step < 30; ++step) {
            const int size = layup.Size();
            const int k = pick(0, pool.Size() - 1);
            const Entry shared{100 + k, pool[k].Holder()};
            switch (pick(0, 7)) {
            case 0:
                layup.Add(NewPly(nextTag));
                model.push_back({nextTag++, nullptr});
                break;
            case 1:
                layup.Add(pool[k]);
                model.push_back(shared);
                break;
            case 2: {
                const int at = pick(0, size);
                auto it = layup.Insert(layup.Begin() + at, pool[k]);
                EXPECT_EQ(it - layup.Begin(), at);
                model.insert(model.begin() + at, shared);
                break;
            }
            case 3:
                if (size > 0) {
                    const int at = pick(0, size - 1);
                    auto it = layup.Erase(layup.Begin() + at);
                    EXPECT_EQ(it - layup.Begin(), at);
                    model.erase(model.begin() + at);
                }
                break;
            case 4:
                layup.Clear();
                model.clear();
                break;
            case 5: {
                layup.SetStacking(pick(0, 4));
                const Layup copy(layup);
                ExpectDeepCopy(copy, layup);
                layup = copy;
                ExpectDeepCopy(layup, copy);
                for (Entry &entry : model)
                    entry.shared = nullptr;
                break;
            }
            case 6: {
                const int stacking = layup.Stacking();
                other.SetStacking(stacking + 1);
                layup.Swap(other);
                model.swap(otherModel);
                EXPECT_EQ(layup.Stacking(), stacking);
                break;
            }
            default:
                EXPECT_THROW(layup[size], std::out_of_range);
                EXPECT_THROW(static_cast<const Layup &>(layup)[-1], std::out_of_range);
                break;
            }
            ExpectMatches(layup, model);
            ExpectMatches(other, otherModel);
        }
    }
    // Only the pool still holds its items.
    for (int i = 0; i < pool.Size(); ++i)
        EXPECT_EQ(pool[i].Holder()->count, 2);
}

TEST(Layup, RefusesNullItems)
{
    Layup layup;
    layup.Add(NewPly(1));
    EXPECT_FALSE(layup.Add(static_cast<PlyBase *>(nullptr)));
    EXPECT_FALSE(layup.Add(PlyHandle()));
    EXPECT_FALSE(layup.Add(PlyHandle(new PlyHolder(nullptr))));
    EXPECT_EQ(layup.Insert(layup.Begin(), PlyHandle()), layup.End());
    EXPECT_EQ(layup.Size(), 1);
    EXPECT_THROW(layup.Erase(layup.End()), std::out_of_range);
    EXPECT_THROW(layup.Insert(layup.End() + 1, layup[0]), std::out_of_range);
}

TEST(Layup, AddRangeCopiesPlies)
{
    const std::vector<PlySimple> plies{MakePly(1), MakePly(2)};
    Layup layup;
    layup.AddRange(plies.begin(), plies.end());
    ASSERT_EQ(layup.Size(), 2);
    EXPECT_TRUE(layup[1]->IsEqual(plies[1]));
}

TEST(Layup, AssignFromOwnDescendant)
{
    Layup layup;
    auto *group = new PlyGroup(1);
    group->GetLayup().Add(NewPly(7));
    group->GetLayup().SetStacking(3);
    layup.Add(group);
    layup.Add(NewPly(8));
    layup = group->GetLayup(); // the group dies during the assignment
    ASSERT_EQ(layup.Size(), 1);
    EXPECT_EQ(layup.Stacking(), 3);
    EXPECT_EQ(static_cast<const PlySimple &>(*layup[0]).Material(), 7);
}
