#include "core/plygroup.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

PlySimple *NewPly(int tag)
{
    auto *ply = new PlySimple(tag, "p");
    ply->SetMaterial(tag);
    return ply;
}

int Tag(const ConstPlyHandle &h)
{
    return static_cast<const PlySimple &>(*h).Material();
}

// The model of a layup: a tag per item, and its holder when it is shared.
using Model = std::vector<std::pair<int, const PlyHolder *>>;

void ExpectMatches(Layup &layup, const Model &model)
{
    ASSERT_EQ(layup.Size(), static_cast<int>(model.size()));
    const Layup &view = layup;
    auto constItem = view.ConstBegin();
    for (auto item = layup.Begin(); item != layup.End(); ++item, ++constItem) {
        const auto i = item - layup.Begin();
        EXPECT_EQ(item->Holder(), constItem->Holder()) << "lists not parallel at " << i;
        EXPECT_EQ(Tag(*constItem), model[i].first);
        EXPECT_TRUE(!model[i].second || model[i].second == item->Holder());
    }
    EXPECT_EQ(constItem, view.ConstEnd());
}

} // namespace

TEST(Layup, MatchesVectorModel)
{
    std::mt19937 rng(1234);
    auto pick = [&](int high) { return std::uniform_int_distribution<int>(0, high)(rng); };
    Layup pool;
    for (int tag = 100; tag < 105; ++tag)
        pool.Add(NewPly(tag));
    for (int round = 0; round < 200; ++round) {
        Layup layup, other;
        Model model, otherModel;
        for (int step = 0, tag = 1; step < 30; ++step) {
            const int size = layup.Size(), k = pick(pool.Size() - 1), at = pick(size);
            const Model::value_type shared{100 + k, pool[k].Holder()};
            switch (pick(6)) {
            case 0:
                layup.Add(NewPly(tag));
                model.push_back({tag++, nullptr});
                break;
            case 1:
                layup.Add(pool[k]);
                model.push_back(shared);
                break;
            case 2: {
                const auto it = layup.Insert(layup.Begin() + at, pool[k]);
                EXPECT_EQ(it - layup.Begin(), at);
                model.insert(model.begin() + at, shared);
                break;
            }
            case 3:
                if (at < size) {
                    const auto it = layup.Erase(layup.Begin() + at);
                    EXPECT_EQ(it - layup.Begin(), at);
                    model.erase(model.begin() + at);
                } else {
                    EXPECT_THROW(layup.Erase(layup.End()), std::out_of_range);
                    EXPECT_THROW(layup[at], std::out_of_range);
                }
                break;
            case 4:
                layup.Clear();
                model.clear();
                break;
            case 5: {
                // Deep copies: equal items, no shared holder.
                layup.SetStacking(pick(4));
                const Layup copy(layup);
                layup = copy;
                ASSERT_TRUE(layup == copy);
                for (int i = 0; i < size; ++i)
                    EXPECT_NE(layup[i].Holder(), copy[i].Holder());
                for (auto &entry : model)
                    entry.second = nullptr;
                break;
            }
            default:
                other.SetStacking(layup.Stacking() + 1);
                layup.Swap(other);
                EXPECT_EQ(other.Stacking(), layup.Stacking() + 1);
                model.swap(otherModel);
            }
            ExpectMatches(layup, model);
            ExpectMatches(other, otherModel);
        }
    }
    for (int i = 0; i < pool.Size(); ++i)
        EXPECT_EQ(pool[i].Holder()->count, 2); // only the pool's two lists are left
}

TEST(Layup, RefusesNullAndBadPositions)
{
    Layup layup;
    layup.Add(NewPly(1));
    EXPECT_FALSE(layup.Add(static_cast<PlyBase *>(nullptr)));
    EXPECT_FALSE(layup.Add(PlyHandle()));
    EXPECT_FALSE(layup.Add(PlyHandle(new PlyHolder(nullptr))));
    EXPECT_EQ(layup.Insert(layup.Begin(), PlyHandle()), layup.End());
    EXPECT_THROW(layup.Insert(layup.End() + 1, layup[0]), std::out_of_range);
    EXPECT_THROW(static_cast<const Layup &>(layup)[-1], std::out_of_range);
    EXPECT_EQ(layup.Size(), 1);

    const std::vector<PlySimple> plies{PlySimple(5, "a"), PlySimple(6, "b")};
    layup.AddRange(plies.begin(), plies.end());
    EXPECT_TRUE(layup[2]->IsEqual(plies[1]));
}

TEST(Layup, ReplaceInPlace)
{
    Layup layup;
    layup.Add(NewPly(1));
    layup.Add(NewPly(2));
    EXPECT_TRUE(layup.Replace(1, new PlyGroup(7)));
    EXPECT_FALSE(layup.PliesOnly());
    EXPECT_EQ(static_cast<const Layup &>(layup)[1]->Id(), 7);
    EXPECT_TRUE(layup.Replace(1, NewPly(3)));
    EXPECT_TRUE(layup.PliesOnly());
    ExpectMatches(layup, {{1, nullptr}, {3, nullptr}});
    EXPECT_FALSE(layup.Replace(0, nullptr));
    EXPECT_THROW(layup.Replace(2, NewPly(4)), std::out_of_range);
    ExpectMatches(layup, {{1, nullptr}, {3, nullptr}});
}

TEST(Layup, AssignFromOwnDescendant)
{
    Layup layup;
    auto *group = new PlyGroup(1);
    group->GetLayup().Add(NewPly(7));
    group->GetLayup().SetStacking(3);
    layup.Add(group);
    layup = group->GetLayup(); // the group dies during the assignment
    ASSERT_EQ(layup.Size(), 1);
    EXPECT_EQ(layup.Stacking(), 3);
    EXPECT_EQ(Tag(static_cast<const Layup &>(layup)[0]), 7);
}
