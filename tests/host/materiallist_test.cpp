#include "host/materiallist.h"

#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupmanager.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using LamHost::Fault;
using LamHost::HostMaterial;
using LamHost::Slot;

class MaterialListTest : public ::testing::Test
{
protected:
    MaterialListTest()
    {
        store_.Data().materials = {{301, "ply A", "Ply"}, {101, "fibre", "Fiber"},
                                   {201, "resin", "Matrix"}, {302, "ply B", "Ply"}};
        store_.Activate();
    }
    static MaterialList Make()
    {
        const lamCallbacksImp *t = LamHost::CallbackTable();
        return MaterialList(t->GetMaterial, t->SelectMaterial);
    }
    static std::vector<int> Walk(const MaterialList &list)
    {
        std::vector<int> ids;
        for (int id = list.GetNextId(-1); id != -1; id = list.GetNextId(id))
            ids.push_back(id);
        return ids;
    }
    HostMaterial &Catalogue(int id)
    {
        for (HostMaterial &m : store_.Data().materials) {
            if (m.id == id)
                return m;
        }
        throw std::logic_error("no such material");
    }
    void RemoveFromCatalogue(int id)
    {
        std::erase_if(store_.Data().materials, [id](const HostMaterial &m) { return m.id == id; });
    }

    LamHost::Store store_;
};

TEST_F(MaterialListTest, AddCachesWhatTheHostKnows)
{
    MaterialList list = Make();
    EXPECT_EQ(list.GetNextId(-1), -1);
    EXPECT_EQ(list.Add(302), 302);
    EXPECT_EQ(list.Add(101), 101);
    EXPECT_EQ(list.Add(999), -1);
    EXPECT_EQ(list.Add(302), 302);
    EXPECT_EQ(store_.Calls(Slot::GetMaterial), 3) << "a held id is not asked again";
    EXPECT_EQ(Walk(list), (std::vector<int>{101, 302}));
    EXPECT_FALSE(list.Contains(999));
    EXPECT_EQ(list.GetNextId(999), -1);

    MaterialInfo info(7);
    EXPECT_EQ(list.GetMaterial(999, info), -1);
    EXPECT_EQ(info.Id(), 7) << "out stays untouched";
    EXPECT_EQ(list.GetMaterial(302, info), 302);
    EXPECT_EQ(info.Name(), "ply B");
    EXPECT_EQ(info.Type(), "Ply");
    EXPECT_EQ(store_.Calls(Slot::GetMaterial), 3) << "lookups never ask the host";
}

TEST_F(MaterialListTest, HostFailuresCacheNothing)
{
    MaterialList list = Make();
    store_.SetFault(Slot::GetMaterial, Fault::Fail(5, 1));
    EXPECT_EQ(list.Add(301), -1);
    EXPECT_EQ(list.Add(301), 301);

    store_.SetNullSlot(Slot::GetMaterial);
    MaterialList nullHost = Make();
    EXPECT_EQ(nullHost.Add(301), -1);
}

TEST_F(MaterialListTest, TextsWithoutNulAreCutAtTheBuffer)
{
    Catalogue(101).type = std::string(90, 't');
    MaterialList list = Make();
    store_.SetFault(Slot::GetMaterial, Fault::NoNul());
    ASSERT_EQ(list.Add(101), 101);
    MaterialInfo info;
    list.GetMaterial(101, info);
    EXPECT_EQ(info.Name(), "fibre" + std::string(lamTextBufferSize - 5, '#'));
    EXPECT_EQ(info.Type(), std::string(lamTextBufferSize, 't'));
}

TEST_F(MaterialListTest, PickerAnswers)
{
    struct Row { const char *what; int queuedId; int queuedResult; bool queued; int expected; };
    const Row rows[] = {
        {"chosen", 302, 0, true, 302},
        {"picker fails", 302, 3, true, -2},
        {"nothing chosen", -1, 0, true, -2},
        {"cancelled", 0, 0, false, -2},
        {"unknown id", 777, 0, true, -1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        MaterialList list = Make();
        store_.ClearRecords();
        if (r.queued)
            store_.QueuePick(r.queuedId, r.queuedResult);
        bool changed = true;
        EXPECT_EQ(list.SelectMaterial(PlyMaterialKind, &changed), r.expected);
        EXPECT_FALSE(changed);
        EXPECT_EQ(store_.PickKinds(), std::vector<int>{PlyMaterialKind});
        EXPECT_EQ(Walk(list), r.expected >= 0 ? std::vector<int>{r.expected} : std::vector<int>{});
    }
}

TEST_F(MaterialListTest, PickerRefreshesRenamedAndRemovedEntries)
{
    MaterialList list = Make();
    for (int id : {101, 201, 301, 302})
        list.Add(id);
    Catalogue(301).name = "ply A renamed";
    Catalogue(201).type = "Resin";
    RemoveFromCatalogue(101);
    store_.QueuePick(101); // the user picks the entry that is now gone

    bool changed = false;
    EXPECT_EQ(list.SelectMaterial(FiberMaterialKind, &changed), -1);
    EXPECT_TRUE(changed);
    EXPECT_EQ(Walk(list), (std::vector<int>{201, 301, 302}));
    MaterialInfo info;
    list.GetMaterial(301, info);
    EXPECT_EQ(info.Name(), "ply A renamed");
    list.GetMaterial(201, info);
    EXPECT_EQ(info.Type(), "Resin");

    // Nothing changed since: a cancelled picker reports no change.
    EXPECT_EQ(list.SelectMaterial(MatrixMaterialKind, &changed), -2);
    EXPECT_FALSE(changed);
    EXPECT_EQ(store_.PickKinds(), (std::vector<int>{FiberMaterialKind, MatrixMaterialKind}));
}

TEST_F(MaterialListTest, CancelledPickerStillRefreshes)
{
    MaterialList list = Make();
    list.Add(302);
    Catalogue(302).name = "ply B2";
    bool changed = false;
    EXPECT_EQ(list.SelectMaterial(PlyMaterialKind, &changed), -2);
    EXPECT_TRUE(changed);
    MaterialInfo info;
    list.GetMaterial(302, info);
    EXPECT_EQ(info.Name(), "ply B2");
}

TEST_F(MaterialListTest, NullPickerIsNothingChosen)
{
    store_.SetNullSlot(Slot::SelectMaterial);
    MaterialList list = Make();
    list.Add(301);
    RemoveFromCatalogue(301);
    bool changed = false;
    EXPECT_EQ(list.SelectMaterial(PlyMaterialKind, &changed), -2);
    EXPECT_FALSE(list.Contains(301));
    EXPECT_TRUE(changed) << "a removal alone is a change";
    EXPECT_EQ(list.SelectMaterial(PlyMaterialKind, nullptr), -2); // changed is optional
}

// The layup manager's material check asks the list what it has met, not the host.
TEST_F(MaterialListTest, TheLayupManagersMaterialCheckAsksTheList)
{
    MaterialList list = Make();
    list.Add(301);
    list.Add(302);
    RemoveFromCatalogue(302);
    Laminate laminate;
    laminate.SetLayup(layuptest::Root({layuptest::Ply(301), layuptest::Ply(302), layuptest::Ply(303)}));
    LayupManager manager(&list, &laminate, nullptr);
    int ply = 0;
    int material = 0;
    EXPECT_FALSE(manager.CheckMaterials(&ply, &material));
    EXPECT_EQ(ply, 3);
    EXPECT_EQ(material, 303);
    EXPECT_EQ(layuptest::Flat(laminate.RootGroup()), "301 302 -1");
    EXPECT_EQ(store_.Calls(Slot::GetMaterial), 2);
}

TEST(MaterialInfo, OrderAndEqualityByIdOnly)
{
    EXPECT_EQ(MaterialInfo(4, "a", "b"), MaterialInfo(4, "c", "d"));
    EXPECT_LT(MaterialInfo(3, "z", "z"), MaterialInfo(4));
    EXPECT_EQ(MaterialInfo().Id(), 0);
}

} // namespace
