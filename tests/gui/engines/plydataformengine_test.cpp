#include "gui/engines/plydataformengine.h"

#include "core/laminate.h"
#include "core/plysimple.h"
#include "gui/engines/fakeplydataview.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/laminatehost.h"
#include "host/materiallist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using Lines = std::vector<std::string>;

struct PlyEngineTest : ::testing::Test
{
    // Two plies, bottom first; a new ply with nothing selected goes below them.
    PlyEngineTest() { Load(LaminateHost::WithPlies({{0.125f, 0, 301, 2}, {0.25f, 45, 301, 3}})); }

    // A new process on this host data: no dialog has remembered entries yet.
    void Load(LamHost::StoreData data)
    {
        engines.clear();
        host.reset();
        ResetPlyDataEntries();
        host = std::make_unique<LaminateHost>(std::move(data));
    }
    void AddMaterial(int id, const char *name)
    {
        host->store.Data().materials.push_back({id, name, "Ply"});
        host->context.GetMaterialList()->Add(id);
    }
    // A fresh dialog on the host's laminate, as the layup dialog opens one.
    FakePlyView &Open(bool newPly, const Selection &selection = {})
    {
        views.push_back(std::make_unique<FakePlyView>());
        engines.push_back(std::make_unique<PlyDataFormEngine>(views.back().get(), &host->context));
        engines.back()->Initialize(newPly, selection);
        return *views.back();
    }
    int Done() { return engines.back()->Done(); }
    const PlySimple &PlyAt(int number)
    {
        return dynamic_cast<const PlySimple &>(*host->context.GetLaminate().RootGroup().FindPly(number, 0));
    }

    std::unique_ptr<LaminateHost> host;
    std::vector<std::unique_ptr<FakePlyView>> views;
    std::vector<std::unique_ptr<PlyDataFormEngine>> engines;
};

TEST_F(PlyEngineTest, NewPliesStartBlankThenProposeTheLastEntriesAndTheNextColour)
{
    AddMaterial(7, "M7");
    FakePlyView &first = Open(true);
    EXPECT_EQ(first.init, "new mm");
    EXPECT_EQ(first.thickness, KeepValueSentinel);
    EXPECT_EQ(first.angle, KeepValueSentinel);
    EXPECT_EQ(first.colors.Text(), "Black");
    EXPECT_EQ(first.thicknesses, (std::vector<float>{0.125f, 0.25f}));
    EXPECT_EQ(first.angles, (std::vector<float>{-45, 0, 45, 90}));

    first.materials.Set("M7", true);
    first.thickness = 0.125f;
    first.angle = 45;
    first.colors.Set("Red", true);
    ASSERT_EQ(Done(), 0);
    EXPECT_EQ(PlyAt(1).Material(), 7);
    EXPECT_EQ(PlyAt(1).Color(), 2);

    FakePlyView &next = Open(true);
    EXPECT_EQ(next.materials.Text() + " " + next.colors.Text(), "M7 Red"); // colour id 2
    EXPECT_EQ(next.thickness, 0.125f);
    EXPECT_EQ(next.angle, 45.0f);

    Lines proposed;
    for (int i = 0; i < 15; ++i) // ids 3 to 16, then 1
        proposed.push_back(Open(true).colors.Text());
    EXPECT_EQ(proposed[13], "Teal");
    EXPECT_EQ(proposed[14], "Black");
    Open(false, LaminateHost::Plies({1})); // id 2 goes to a modify dialog
    EXPECT_EQ(Open(true).colors.Text(), "Green");
}

TEST_F(PlyEngineTest, AnglesAreNormalisedIntoPlusMinusNinety)
{
    const float refused = std::numeric_limits<float>::quiet_NaN();
    // Typed, then stored; NaN: refused.
    const std::pair<float, float> rows[] = {{135, -45}, {360, 0},  {-360, 0},  {270, 90},          {-135, 45},
                                            {90, 90},   {-90, -90}, {360.5f, refused}, {-360.5f, refused},
                                            {refused, refused}};
    for (const auto &[typed, stored] : rows) {
        FakePlyView &view = Open(true);
        view.thickness = 0.2f;
        view.angle = typed;
        if (std::isnan(stored)) {
            EXPECT_EQ(Done(), 1) << typed;
            EXPECT_EQ(view.warnings, Lines{"Validation Warning: Angle must be within -360 to 360 degrees"});
            continue;
        }
        ASSERT_EQ(Done(), 0) << typed;
        EXPECT_EQ(PlyAt(1).Angle(), stored) << typed;
        EXPECT_EQ(Open(true).angle, stored) << "remembered after normalisation";
    }
}

TEST_F(PlyEngineTest, RefusalsComeInTheOrderMaterialThicknessAngleColour)
{
    FakePlyView &view = Open(true);
    view.materials.Set(" ", true);
    view.colors.Set(" ", true);
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"Material not specified for this ply", [&] { view.materials.Set("Carbon/epoxy UD 0.125", true); }},
        {"Please enter Thickness", [&] { view.thickness = 0; }},
        {"Thickness must be positive", [&] { view.thickness = 0.3f; }},
        {"Please enter Angle", [&] { view.angle = 30; }},
        {"Specify a color", [&] { view.colors.Set("no such colour", true); }},
        {"Specify a color", [&] { view.colors.Set("Blue", true); }},
    };
    for (const auto &[text, fix] : steps) {
        view.warnings.clear();
        EXPECT_EQ(Done(), 1);
        EXPECT_EQ(view.warnings, Lines{"Validation Warning: " + text});
        fix();
    }
    EXPECT_EQ(Done(), 0);
}

// A material the list does not hold, or a colour the host lacks, shows as
// the blank entry: one ply must then be given one, several keep theirs.
TEST_F(PlyEngineTest, AMaterialOrColourTheHostLacksShowsBlank)
{
    Load(LaminateHost::WithPlies({{0.1f, 0, 999, 77}, {0.1f, 45, 999, 77}, {0.1f, 0, 301, 2}}));
    FakePlyView &one = Open(false, LaminateHost::Plies({1}));
    EXPECT_EQ(one.materials.Text() + one.colors.Text(), "  ");
    EXPECT_EQ(Done(), 1);
    one.materials.Set("Carbon/epoxy UD 0.125", true);
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(one.warnings, (Lines{"Validation Warning: Material not specified for this ply",
                                   "Validation Warning: Specify a color"}));
    FakePlyView &several = Open(false, LaminateHost::Plies({1, 2}));
    EXPECT_EQ(several.materials.Text() + several.colors.Text(), "  ");
    ASSERT_EQ(Done(), 0);
    EXPECT_EQ(PlyAt(2).Material(), 999);
    EXPECT_EQ(PlyAt(2).Color(), 77);
}

TEST_F(PlyEngineTest, NamesResolveToTheLowestIdAndBlackIsOnlyShownWhenUsed)
{
    LamHost::StoreData data = LaminateHost::WithPlies({{0.1f, 0, 301, 3}, {0.1f, 0, 301, 5}});
    data.colors[2].name = "BLACK"; // id 3
    Load(data);
    AddMaterial(7, "Same");
    AddMaterial(5, "Same");
    FakePlyView &view = Open(false, LaminateHost::Plies({1}));
    EXPECT_EQ(view.colors.Text(), "BLACK");
    EXPECT_EQ(view.colors.items.back(), "BLACK"); // appended: not among the offered colours
    view.materials.Set("Same", true);
    ASSERT_EQ(Done(), 0);
    EXPECT_EQ(PlyAt(1).Material(), 5);
    const Lines other = Open(false, LaminateHost::Plies({2})).colors.items;
    EXPECT_EQ(std::count(other.begin(), other.end(), "BLACK"), 0);
}

TEST_F(PlyEngineTest, TheLayupManagersRefusalKeepsTheDialogOpen)
{
    Selection twoGroups;
    twoGroups.SetGroups({1, 2});
    FakePlyView &view = Open(true, twoGroups);
    view.thickness = 0.2f;
    view.angle = 0;
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(view.warnings, Lines{"Ply Creation Error: Invalid insertion operator"});

    FakePlyView &modify = Open(false, LaminateHost::Plies({1, 99}));
    modify.materials.Set("Carbon/epoxy UD 0.125", true);
    EXPECT_EQ(Done(), 1);
    ASSERT_EQ(modify.warnings.size(), 1u);
    EXPECT_EQ(modify.warnings[0].rfind("Ply Modification Error: Ply not found for modification", 0), 0u);
}

TEST_F(PlyEngineTest, TheMaterialPickerSelectsWhatTheHostReturns)
{
    FakePlyView &view = Open(true);
    const std::pair<int, int> picks[] = {{302, 0}, {0, 1}, {4242, 0}}; // chosen, nothing chosen, unknown
    for (const auto &[id, result] : picks) {
        host->store.QueuePick(id, result);
        engines.back()->SelectMaterial();
    }
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(view.warnings, Lines{"Material Selection Warning: unknown material"});

    // The catalogue loses the plies' material while the picker runs.
    view.warnings.clear();
    std::erase_if(host->store.Data().materials, [](const auto &m) { return m.id == 301; });
    host->store.QueuePick(302);
    engines.back()->SelectMaterial();
    EXPECT_EQ(view.warnings, Lines{"Material Selection Warning: Ply %1 references non-existing material %2 1 301"});
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(PlyAt(1).Material(), -1);
}

} // namespace
