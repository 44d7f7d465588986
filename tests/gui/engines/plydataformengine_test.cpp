#include "gui/engines/plydataformengine.h"

#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/engines/plydataformview.h"
#include "gui/laminatehost.h"
#include "host/materiallist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using LamHost::HostPly;

namespace {

// A combo box as far as the engine can tell: the first item added becomes current.
struct Menu
{
    std::vector<std::string> items;
    int current = -1;

    void Set(const std::string &text, bool select)
    {
        auto it = std::find(items.begin(), items.end(), text);
        if (it == items.end()) {
            items.push_back(text);
            it = items.end() - 1;
            if (current < 0)
                current = 0;
        }
        if (select)
            current = static_cast<int>(it - items.begin());
    }
    std::string Text() const { return current < 0 ? "" : items[current]; }
};

// Records the menus the engine builds; the getters answer what is selected,
// or what a test puts in place of a typed entry.
class FakePlyView : public PlyDataFormView
{
public:
    bool Exec(bool, const Selection &) override { return false; }
    void InitWidgets(bool newPly, const char *lengthUnit) override { init = (newPly ? "new " : "modify ") + std::string(lengthUnit); }
    void ShowWarningArgs(const char *title, const char *text, int first, int second) override
    {
        warnings.push_back(std::string(title) + ": " + text + " " + std::to_string(first) + " " + std::to_string(second));
    }
    void ShowWarning(const char *title, const char *text) override { warnings.push_back(std::string(title) + ": " + text); }
    void SetMaterialMenu(const std::string &text, bool select) override { materials.Set(text, select); }
    void ClearMaterialMenu() override { materials = {}; }
    void SetColorMenu(const std::string &text, bool select) override { colors.Set(text, select); }
    void SetThickness(float value, bool select) override
    {
        (select ? thickness : listedThickness) = value;
        if (!select)
            thicknesses.push_back(value);
    }
    void SetAngle(float value, bool select) override
    {
        if (select)
            angle = value;
        else
            angles.push_back(value);
    }
    std::string GetMaterialText() const override { return materials.Text(); }
    float GetThickness() const override { return thickness; }
    float GetAngle() const override { return angle; }
    std::string GetColor() const override { return colors.Text(); }

    std::string init;
    Menu materials, colors;
    float thickness = 0, angle = 0, listedThickness = 0;
    std::vector<float> thicknesses, angles;
    std::vector<std::string> warnings;
};

Selection Plies(std::vector<int> numbers)
{
    Selection selection;
    selection.plies = std::move(numbers);
    return selection;
}

struct PlyEngineTest : ::testing::Test
{
    // Two plies, bottom first; a new ply with nothing selected goes below them.
    PlyEngineTest() : host(LaminateHost::WithPlies({{0.125f, 0, 301, 2}, {0.25f, 45, 301, 3}}))
    {
        ResetPlyDataEntries();
    }

    // A fresh dialog on the host's laminate, as the layup dialog opens one.
    FakePlyView &Open(bool newPly, const Selection &selection = {})
    {
        views.emplace_back(std::make_unique<FakePlyView>());
        engines.emplace_back(std::make_unique<PlyDataFormEngine>(views.back().get(), &host.context));
        engines.back()->Initialize(newPly, selection);
        return *views.back();
    }
    PlyDataFormEngine &Engine() { return *engines.back(); }
    const PlySimple &PlyAt(int number)
    {
        return dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(number, 0));
    }

    LaminateHost host;
    std::vector<std::unique_ptr<FakePlyView>> views;
    std::vector<std::unique_ptr<PlyDataFormEngine>> engines;
};

TEST_F(PlyEngineTest, FirstNewPlyProposesBlanksAndTheFirstColour)
{
    FakePlyView &view = Open(true);
    EXPECT_EQ(view.init, "new mm");
    EXPECT_EQ(view.thickness, KeepValueSentinel);
    EXPECT_EQ(view.angle, KeepValueSentinel);
    EXPECT_EQ(view.colors.Text(), "Black");
    EXPECT_EQ(view.colors.items.size(), 16u);
    EXPECT_EQ(view.thicknesses, (std::vector<float>{0.125f, 0.25f}));
    EXPECT_EQ(view.angles, (std::vector<float>{-45, 0, 45, 90}));
    EXPECT_EQ(view.materials.Text(), "Carbon/epoxy UD 0.125");
    EXPECT_EQ(Engine().Done(), 1);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"Validation Warning: Please enter Thickness"});
}

TEST(PlyEngine, AnEmptyMaterialListOffersOnlyTheBlank)
{
    ResetPlyDataEntries();
    LaminateHost host(LamHost::DemoStore(), true);
    FakePlyView view;
    PlyDataFormEngine engine(&view, &host.context);
    engine.Initialize(true, {});
    EXPECT_EQ(view.materials.items, std::vector<std::string>{" "});
    EXPECT_EQ(engine.Done(), 1);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"Validation Warning: Material not specified for this ply"});
}

TEST_F(PlyEngineTest, NextNewPlyProposesTheLastEntriesAndTheNextColour)
{
    host.store.Data().materials.push_back({7, "M7", "Ply"});
    host.context.GetMaterialList()->Add(7);
    FakePlyView &first = Open(true);
    first.materials.Set("M7", true);
    first.thickness = 0.125f;
    first.angle = 45;
    first.colors.Set("Red", true);
    ASSERT_EQ(Engine().Done(), 0);
    EXPECT_EQ(PlyAt(1).Material(), 7);
    EXPECT_EQ(PlyAt(1).Color(), 2);

    FakePlyView &next = Open(true);
    EXPECT_EQ(next.materials.Text(), "M7");
    EXPECT_EQ(next.thickness, 0.125f);
    EXPECT_EQ(next.angle, 45.0f);
    EXPECT_EQ(next.colors.Text(), "Red"); // colour id 2
}

TEST_F(PlyEngineTest, ColoursCycleThroughSixteenInBothModes)
{
    std::vector<std::string> proposed;
    for (int i = 0; i < 17; ++i)
        proposed.push_back(Open(true).colors.Text());
    EXPECT_EQ(proposed.front(), "Black");
    EXPECT_EQ(proposed[15], "Teal");
    EXPECT_EQ(proposed[16], "Black");
    Open(false, Plies({1})); // id 2 goes to the modify dialog
    EXPECT_EQ(Open(true).colors.Text(), "Green");
}

struct AngleRow
{
    float typed;
    float stored; // ignored when refused
    bool refused;
};

class PlyEngineAngles : public PlyEngineTest, public ::testing::WithParamInterface<AngleRow>
{
};

TEST_P(PlyEngineAngles, AnglesAreNormalisedIntoPlusMinusNinety)
{
    const AngleRow &row = GetParam();
    FakePlyView &view = Open(true);
    view.thickness = 0.2f;
    view.angle = row.typed;
    if (row.refused) {
        EXPECT_EQ(Engine().Done(), 1);
        EXPECT_EQ(view.warnings, std::vector<std::string>{"Validation Warning: Angle must be within -360 to 360 degrees"});
        EXPECT_EQ(host.context.GetLaminate().RootGroup().CountPlies(), 2);
        return;
    }
    ASSERT_EQ(Engine().Done(), 0);
    EXPECT_EQ(PlyAt(1).Angle(), row.stored);
    EXPECT_EQ(Open(true).angle, row.stored); // remembered after normalisation
}

INSTANTIATE_TEST_SUITE_P(Rows, PlyEngineAngles,
                         ::testing::Values(AngleRow{135, -45, false}, AngleRow{360, 0, false},
                                           AngleRow{-360, 0, false}, AngleRow{270, 90, false},
                                           AngleRow{-135, 45, false}, AngleRow{90, 90, false},
                                           AngleRow{-90, -90, false}, AngleRow{360.5f, 0, true},
                                           AngleRow{-360.5f, 0, true}));

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
        EXPECT_EQ(Engine().Done(), 1);
        EXPECT_EQ(view.warnings, std::vector<std::string>{"Validation Warning: " + text});
        fix();
    }
    EXPECT_EQ(Engine().Done(), 0);
}

TEST(PlyEngine, SeveralPliesKeepWhatIsLeftBlank)
{
    ResetPlyDataEntries();
    LaminateHost host(LaminateHost::WithPlies({{0.1f, 30, 301, 2}, {0.1f, 30, 302, 3}, {0.2f, 30, 301, 4}}));
    host.context.GetMaterialList()->Add(302);
    FakePlyView view;
    PlyDataFormEngine engine(&view, &host.context);
    engine.Initialize(false, Plies({1, 2, 3}));
    EXPECT_EQ(view.init, "modify mm");
    EXPECT_EQ(view.thickness, KeepValueSentinel);
    EXPECT_EQ(view.angle, 30.0f);
    EXPECT_EQ(view.materials.Text(), " ");
    EXPECT_EQ(view.colors.Text(), " ");
    EXPECT_EQ(view.colors.items.front(), " ");
    view.colors.Set("Navy", true);
    ASSERT_EQ(engine.Done(), 0);
    const PlyGroup &root = host.context.GetLaminate().RootGroup();
    const float thicknesses[] = {0.1f, 0.1f, 0.2f};
    const int materials[] = {301, 302, 301};
    for (int n = 1; n <= 3; ++n) {
        const auto &ply = dynamic_cast<const PlySimple &>(*root.FindPly(n, 0));
        EXPECT_EQ(ply.Thickness(), thicknesses[n - 1]);
        EXPECT_EQ(ply.Material(), materials[n - 1]);
        EXPECT_EQ(ply.Color(), 15);
    }
}

TEST(PlyEngine, AMaterialTheListDoesNotHoldShowsBlank)
{
    // Material 999 is unknown to the host: one ply must be given a material,
    // several keep theirs (the first catalogue material is never slipped in).
    ResetPlyDataEntries();
    LaminateHost host(LaminateHost::WithPlies({{0.1f, 0, 999, 2}, {0.1f, 45, 999, 2}, {0.1f, 0, 301, 2}}));
    FakePlyView one;
    PlyDataFormEngine single(&one, &host.context);
    single.Initialize(false, Plies({1}));
    EXPECT_EQ(one.materials.Text(), " ");
    EXPECT_EQ(single.Done(), 1);
    EXPECT_EQ(one.warnings, std::vector<std::string>{"Validation Warning: Material not specified for this ply"});

    FakePlyView two;
    PlyDataFormEngine several(&two, &host.context);
    several.Initialize(false, Plies({1, 2}));
    EXPECT_EQ(two.materials.Text(), " ");
    ASSERT_EQ(several.Done(), 0);
    EXPECT_EQ(dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(2, 0)).Material(), 999);
}

TEST(PlyEngine, NamesResolveToTheLowestIdAndBlackIsOnlyShownWhenUsed)
{
    ResetPlyDataEntries();
    LamHost::StoreData data = LaminateHost::WithPlies({{0.1f, 0, 301, 3}, {0.1f, 0, 301, 5}});
    data.materials.push_back({7, "Same", "Ply"});
    data.materials.push_back({5, "Same", "Ply"});
    data.colors[2].name = "BLACK"; // id 3
    LaminateHost host(data);
    host.context.GetMaterialList()->Add(7);
    host.context.GetMaterialList()->Add(5);

    FakePlyView view;
    PlyDataFormEngine engine(&view, &host.context);
    engine.Initialize(false, Plies({1}));
    EXPECT_EQ(view.colors.Text(), "BLACK");
    EXPECT_EQ(view.colors.items.back(), "BLACK"); // appended: not among the offered colours
    view.materials.Set("Same", true);
    ASSERT_EQ(engine.Done(), 0);
    EXPECT_EQ(dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(1, 0)).Material(), 5);

    FakePlyView other;
    PlyDataFormEngine second(&other, &host.context);
    second.Initialize(false, Plies({2}));
    EXPECT_EQ(std::count(other.colors.items.begin(), other.colors.items.end(), "BLACK"), 0);
    other.colors = {};
    second.ShowColor(true);
    EXPECT_EQ(other.colors.items.size(), 15u);
}

TEST_F(PlyEngineTest, ShowAllListsColoursBeyondSixteen)
{
    host.store.Data().colors.push_back({40, "Extra", 1, 2, 3});
    LaminateHost extra(host.store.Data());
    FakePlyView view;
    PlyDataFormEngine engine(&view, &extra.context);
    engine.ShowColor(false);
    EXPECT_EQ(view.colors.items.size(), 16u);
    view.colors = {};
    engine.ShowColor(true);
    EXPECT_EQ(view.colors.items.back(), "Extra");
}

TEST_F(PlyEngineTest, TheLayupManagersRefusalKeepsTheDialogOpen)
{
    Selection twoGroups;
    twoGroups.SetGroups({1, 2});
    FakePlyView &view = Open(true, twoGroups);
    view.thickness = 0.2f;
    view.angle = 0;
    EXPECT_EQ(Engine().Done(), 1);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"Ply Creation Error: Invalid insertion operator"});

    FakePlyView &modify = Open(false, Plies({1, 99}));
    modify.materials.Set("Carbon/epoxy UD 0.125", true);
    EXPECT_EQ(Engine().Done(), 1);
    ASSERT_EQ(modify.warnings.size(), 1u);
    EXPECT_EQ(modify.warnings[0].rfind("Ply Modification Error: Ply not found for modification", 0), 0u)
        << modify.warnings[0];
}

TEST_F(PlyEngineTest, TheMaterialPickerSelectsWhatTheHostReturns)
{
    FakePlyView &view = Open(true);
    host.store.QueuePick(302);
    Engine().SelectMaterial();
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(host.store.PickKinds(), std::vector<int>{PlyMaterialKind});

    host.store.QueuePick(0, 1); // nothing chosen
    Engine().SelectMaterial();
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    host.store.QueuePick(4242); // an id the host does not know
    Engine().SelectMaterial();
    EXPECT_EQ(view.warnings, std::vector<std::string>{"Material Selection Warning: unknown material"});

    // The catalogue loses the plies' material while the picker runs.
    view.warnings.clear();
    auto &materials = host.store.Data().materials;
    materials.erase(std::remove_if(materials.begin(), materials.end(), [](auto &m) { return m.id == 301; }),
                    materials.end());
    host.store.QueuePick(302);
    Engine().SelectMaterial();
    EXPECT_EQ(view.warnings,
              std::vector<std::string>{"Material Selection Warning: Ply %1 references non-existing material %2 1 301"});
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(PlyAt(1).Material(), -1);
}

} // namespace
