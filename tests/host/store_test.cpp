#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using LamHost::Fault;
using LamHost::HostLaminate;
using LamHost::HostPly;
using LamHost::Slot;
using LamHost::Store;

// The eleven buffers of GetCurrentLaminate.
struct Header
{
    char name[lamTextBufferSize];
    int hostNumber = -1, failureTheory = -1, hostOption = -1;
    float referencePlane = -1, bondingStress = -1, tsaiWuCoefficient = -1;
    double nonStructuralMass = -1, damping = -1, referenceTemperature = -1;
    int plyCount = -1;

    Header() { std::memset(name, 0, sizeof name); }
    int Load(const lamCallbacksImp *t)
    {
        return t->GetCurrentLaminate(name, &hostNumber, &failureTheory, &hostOption,
                                     &referencePlane, &bondingStress, &tsaiWuCoefficient,
                                     &nonStructuralMass, &damping, &referenceTemperature,
                                     &plyCount);
    }
};

// Saves plies through the table with every value set from one seed.
int Save(const lamCallbacksImp *t, int mode, std::vector<HostPly> plies, int seed = 1)
{
    std::vector<float> thick, angle;
    std::vector<int> material, color;
    for (const HostPly &p : plies) {
        thick.push_back(p.thickness);
        angle.push_back(p.angle);
        material.push_back(p.material);
        color.push_back(p.color);
    }
    return t->SaveLaminate(mode, seed, seed + 1, -0.5f * seed, 2.5f * seed, seed + 2,
                           0.25f * seed, 1.5 * seed, 0.01 * seed, 20.0 + seed,
                           static_cast<int>(plies.size()), thick.data(), angle.data(),
                           material.data(), color.data());
}

class StoreTest : public ::testing::Test
{
protected:
    StoreTest() : store_(LamHost::DemoStore()) { store_.Activate(); }

    const lamCallbacksImp *t_ = LamHost::CallbackTable();
    Store store_;
};

TEST_F(StoreTest, ServesTheCurrentLaminate)
{
    Header h;
    ASSERT_EQ(h.Load(t_), 0);
    EXPECT_STREQ(h.name, "Demo laminate");
    EXPECT_EQ(h.hostNumber, 1);
    EXPECT_EQ(h.failureTheory, 3);
    EXPECT_EQ(h.referencePlane, -0.5f);
    EXPECT_EQ(h.tsaiWuCoefficient, -0.5f);
    EXPECT_EQ(h.referenceTemperature, 20.0);
    ASSERT_EQ(h.plyCount, 8);

    std::vector<float> thick(8), angle(8);
    std::vector<int> material(8), color(8);
    ASSERT_EQ(t_->GetCurrentLaminatePlies(thick.data(), angle.data(), material.data(), color.data()), 0);
    EXPECT_EQ(angle, (std::vector<float>{0, 45, -45, 90, 90, -45, 45, 0}));
    EXPECT_EQ(thick, std::vector<float>(8, 0.125f));
    EXPECT_EQ(material, std::vector<int>(8, 301));
    EXPECT_EQ(color.front(), color.back());
}

TEST_F(StoreTest, PliesNeverExceedTheAnnouncedCount)
{
    Header h;
    ASSERT_EQ(h.Load(t_), 0);
    store_.Data().laminates[0].plies.resize(20); // grew behind the module's back
    std::vector<float> thick(9, -1), angle(9, -1);
    std::vector<int> material(9, -1), color(9, -1);
    ASSERT_EQ(t_->GetCurrentLaminatePlies(thick.data(), angle.data(), material.data(), color.data()), 0);
    EXPECT_EQ(thick[7], 0.125f);
    EXPECT_EQ(thick[8], -1.0f);
}

TEST_F(StoreTest, NoCurrentLaminate)
{
    store_.Data().current = -1;
    Header h;
    EXPECT_EQ(h.Load(t_), 1);
    float f = 0;
    int i = 0;
    EXPECT_EQ(t_->GetCurrentLaminatePlies(&f, &f, &i, &i), 1);
    EXPECT_EQ(Save(t_, lamSaveModify, {}), 1);
    EXPECT_EQ(store_.LaminateSaves().back().laminate, -1);
}

TEST_F(StoreTest, CreationAddsOnceARequestThenUpdates)
{
    store_.BeginRequest();
    ASSERT_EQ(Save(t_, lamSaveCreate, {{0.5f, 30, 302, 4}}, 1), 0);
    ASSERT_EQ(Save(t_, lamSaveCreate, {{0.5f, 30, 302, 4}, {0.25f, -60, 301, 5}}, 2), 0);
    ASSERT_EQ(store_.Data().laminates.size(), 2u);
    const HostLaminate &created = store_.Data().laminates[1];
    EXPECT_EQ(created.name, "Laminate 2");
    EXPECT_EQ(created.hostNumber, 2);
    EXPECT_EQ(created.plies.size(), 2u);
    EXPECT_EQ(created.tsaiWuType, 4);
    EXPECT_EQ(created.damping, 0.02);
    EXPECT_EQ(store_.Data().current, 1) << "the new laminate becomes current";

    store_.BeginRequest();
    ASSERT_EQ(Save(t_, lamSaveCreate, {}, 3), 0);
    EXPECT_EQ(store_.Data().laminates.size(), 3u);
    EXPECT_EQ(store_.Data().laminates[2].hostNumber, 3);
    EXPECT_EQ(store_.Data().laminates[1].plies.size(), 2u);
}

TEST_F(StoreTest, ModificationKeepsNameAndHostNumber)
{
    store_.Data().laminates[0].hostNumber = 41;
    ASSERT_EQ(Save(t_, lamSaveModify, {{1.0f, 15, 303, 7}}, 3), 0);
    ASSERT_EQ(store_.Data().laminates.size(), 1u);
    const HostLaminate &lam = store_.Data().laminates[0];
    EXPECT_EQ(lam.name, "Demo laminate");
    EXPECT_EQ(lam.hostNumber, 41);
    EXPECT_EQ(lam.failureTheory, 3);
    EXPECT_EQ(lam.hostOption, 4);
    EXPECT_EQ(lam.referencePlane, -1.5f);
    EXPECT_EQ(lam.bondingStress, 7.5f);
    EXPECT_EQ(lam.tsaiWuType, 5);
    EXPECT_EQ(lam.tsaiWuCoefficient, 0.75f);
    EXPECT_EQ(lam.nonStructuralMass, 4.5);
    EXPECT_EQ(lam.referenceTemperature, 23.0);
    EXPECT_EQ(lam.plies, (std::vector<HostPly>{{1.0f, 15, 303, 7}}));
}

TEST_F(StoreTest, SaveLogKeepsEveryArgumentAndTheResult)
{
    store_.SetFault(Slot::SaveLaminate, Fault::Fail(lamTsaiWuTypeRefused, 2));
    const HostLaminate before = store_.Data().laminates[0];
    EXPECT_EQ(Save(t_, 7, {{0.5f, 1, 2, 3}}, 1), 1); // no such mode
    EXPECT_EQ(Save(t_, lamSaveModify, {{0.5f, 1, 2, 3}}, 2), lamTsaiWuTypeRefused);
    EXPECT_EQ(store_.Data().laminates[0], before) << "a refused save changes nothing";
    EXPECT_EQ(Save(t_, lamSaveModify, {{0.5f, 1, 2, 3}, {0.75f, 4, 5, 6}}, 3), 0);

    const auto &saves = store_.LaminateSaves();
    ASSERT_EQ(saves.size(), 3u);
    EXPECT_EQ(saves[0].saveMode, 7);
    EXPECT_EQ(saves[1].result, lamTsaiWuTypeRefused);
    EXPECT_EQ(saves[1].laminate, -1);
    const LamHost::LaminateSave &s = saves[2];
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.laminate, 0);
    EXPECT_EQ(s.saveMode, lamSaveModify);
    EXPECT_EQ(s.failureTheory, 3);
    EXPECT_EQ(s.hostOption, 4);
    EXPECT_EQ(s.referencePlane, -1.5f);
    EXPECT_EQ(s.bondingStress, 7.5f);
    EXPECT_EQ(s.tsaiWuType, 5);
    EXPECT_EQ(s.tsaiWuCoefficient, 0.75f);
    EXPECT_EQ(s.nonStructuralMass, 4.5);
    EXPECT_EQ(s.damping, 0.03);
    EXPECT_EQ(s.referenceTemperature, 23.0);
    EXPECT_EQ(s.plyCount, 2);
    EXPECT_EQ(s.plies, (std::vector<HostPly>{{0.5f, 1, 2, 3}, {0.75f, 4, 5, 6}}));
}

TEST_F(StoreTest, SaveWithoutArraysIsRefused)
{
    EXPECT_EQ(t_->SaveLaminate(lamSaveModify, 3, 0, 0, 0, 0, 0, 0, 0, 0, 2, nullptr, nullptr,
                               nullptr, nullptr), 1);
    EXPECT_EQ(t_->SaveLaminate(lamSaveModify, 3, 0, 0, 0, 0, 0, 0, 0, 0, -1, nullptr, nullptr,
                               nullptr, nullptr), 1);
    EXPECT_EQ(store_.Data().laminates[0].plies.size(), 8u);
    EXPECT_EQ(store_.LaminateSaves().size(), 2u);
}

TEST_F(StoreTest, PlyMaterialSaves)
{
    double factors[5] = {1.0, 2.0, 0.5, 0.25, 3.0};
    EXPECT_EQ(t_->SavePlyMaterial(201, 101, 0.4, 0.6, 1, factors, 2, 1, 0.5, 0.75, 0.01, 0.02,
                                  0.005, 2), 0);
    store_.SetFault(Slot::SavePlyMaterial, Fault::Fail(9));
    EXPECT_EQ(t_->SavePlyMaterial(202, 102, 0.3, 0.7, 6, factors, 1, 1, 0, 0, 0, 0, 0, 1), 9);
    store_.ClearFault(Slot::SavePlyMaterial);
    EXPECT_EQ(t_->SavePlyMaterial(202, 102, 0.3, 0.7, 6, nullptr, 1, 1, 0, 0, 0, 0, 0, 1), 1);

    ASSERT_EQ(store_.Data().plyMaterials.size(), 1u);
    const LamHost::HostPlyMaterial &m = store_.Data().plyMaterials[0];
    EXPECT_EQ(m.matrixMaterial, 201);
    EXPECT_EQ(m.fiberMaterial, 101);
    EXPECT_EQ(m.fiberFraction, 0.6);
    EXPECT_EQ(m.factors[4], 3.0);
    EXPECT_EQ(m.halpinTsaiOption, 2);
    EXPECT_EQ(m.extraOption, 1);
    EXPECT_EQ(m.transverseRibbon, 0.75);
    EXPECT_EQ(m.ribbonThickness, 0.005);
    EXPECT_EQ(m.thermalTheory, 2);
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 3u);
    EXPECT_EQ(store_.PlyMaterialSaves()[1].result, 9);
    EXPECT_EQ(store_.PlyMaterialSaves()[1].material.elasticTheory, 6);
}

TEST_F(StoreTest, TranscriptAndCallCounts)
{
    t_->ShowMessage("first line");
    t_->ShowMessage("second line");
    t_->Unused24();
    EXPECT_EQ(t_->GetLanguage(), 0);
    EXPECT_EQ(t_->GetUnitSystem(), 10);
    EXPECT_EQ(store_.Transcript(), (std::vector<std::string>{"first line", "second line"}));
    EXPECT_EQ(store_.Calls(Slot::ShowMessage), 2);
    EXPECT_EQ(store_.Calls(Slot::Unused24), 1);
    EXPECT_EQ(store_.Calls(Slot::Unused00), 0);
    EXPECT_EQ(store_.Calls(Slot::GetLanguage), 1);
    store_.ClearRecords();
    EXPECT_TRUE(store_.Transcript().empty());
    EXPECT_EQ(store_.Calls(Slot::ShowMessage), 0);
}

TEST_F(StoreTest, FaultOnEveryCallOrOnTheNthCall)
{
    store_.SetFault(Slot::GetUnitSystem, Fault::Fail(-4));
    EXPECT_EQ(t_->GetUnitSystem(), -4);
    EXPECT_EQ(t_->GetUnitSystem(), -4);
    store_.SetFault(Slot::GetLanguage, Fault::Fail(99, 3));
    EXPECT_EQ(t_->GetLanguage(), 0);
    EXPECT_EQ(t_->GetLanguage(), 0);
    EXPECT_EQ(t_->GetLanguage(), 99);
    EXPECT_EQ(t_->GetLanguage(), 0);
    store_.ClearFault(Slot::GetUnitSystem);
    EXPECT_EQ(t_->GetUnitSystem(), 10);
}

TEST_F(StoreTest, NullSlotsFollowTheActiveStore)
{
    store_.SetNullSlot(Slot::GetColor);
    EXPECT_EQ(t_->GetColor, nullptr);
    EXPECT_NE(t_->GetColorIDs, nullptr);
    {
        Store other;
        other.Activate();
        EXPECT_NE(t_->GetColor, nullptr) << "the other store nulls nothing";
        other.SetNullSlot(Slot::SaveLaminate);
        EXPECT_EQ(t_->SaveLaminate, nullptr);
    } // destroyed while active: no store is active
    EXPECT_EQ(Store::Active(), nullptr);
    EXPECT_NE(t_->SaveLaminate, nullptr);
    EXPECT_EQ(t_->GetLanguage(), -1);
    EXPECT_EQ(t_->GetMaterial(301, nullptr, nullptr), 1);
    t_->ShowMessage("dropped");

    store_.Activate();
    EXPECT_EQ(t_->GetColor, nullptr);
    store_.ClearFaults();
    EXPECT_NE(t_->GetColor, nullptr);
    EXPECT_TRUE(store_.Transcript().empty());
}

TEST_F(StoreTest, ScriptPath)
{
    char path[lamScriptPathBufferSize] = {};
    EXPECT_EQ(t_->GetScriptPath(path), 1) << "no path set";
    store_.SetScriptPath("run.lua");
    EXPECT_EQ(t_->GetScriptPath(path), 0);
    EXPECT_STREQ(path, "run.lua");
    // A path that does not fit arrives cut, without NUL.
    std::memset(path, 0, sizeof path);
    store_.SetScriptPath(std::string(300, 'p'));
    EXPECT_EQ(t_->GetScriptPath(path), 0);
    EXPECT_EQ(std::string(path, sizeof path), std::string(sizeof path, 'p'));
}

TEST_F(StoreTest, DuplicateColourIdsAnswerInTurn)
{
    store_.Data().colors = {{5, "a"}, {6, "b"}, {5, "c"}};
    ASSERT_EQ(t_->GetColorCount(), 3);
    int ids[3] = {};
    ASSERT_EQ(t_->GetColorIDs(ids), 0);
    EXPECT_EQ(ids[2], 5);
    char name[lamTextBufferSize];
    int rgb[3];
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(t_->GetColor(5, name, rgb), 0);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c", "c"}));
    EXPECT_EQ(t_->GetColor(4, name, rgb), 1);
}

TEST_F(StoreTest, ColourIdsNeverExceedTheGivenCount)
{
    store_.SetFault(Slot::GetColorCount, Fault::Fail(2));
    ASSERT_EQ(t_->GetColorCount(), 2);
    int ids[4] = {-1, -1, -1, -1};
    ASSERT_EQ(t_->GetColorIDs(ids), 0);
    EXPECT_EQ(ids[1], 2);
    EXPECT_EQ(ids[2], -1);
}

TEST_F(StoreTest, PickerQueue)
{
    store_.QueuePick(301);
    store_.QueuePick(302, 4);
    int id = -1;
    EXPECT_EQ(t_->SelectMaterial(3, &id), 0);
    EXPECT_EQ(id, 301);
    id = -1;
    EXPECT_EQ(t_->SelectMaterial(1, &id), 4);
    EXPECT_EQ(id, -1) << "a failed pick sets no id";
    EXPECT_EQ(t_->SelectMaterial(2, &id), 1) << "an empty queue cancels";
    EXPECT_EQ(store_.PickKinds(), (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(store_.PendingPicks(), 0u);
}

} // namespace
