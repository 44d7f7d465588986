#include "gui/engines/plydataformengine.h"

#include "core/laminate.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/engines/plydataformview.h"
#include "gui/laminatehost.h"
#include "host/materiallist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A combo box as far as the engine can tell: the first item added becomes current.
struct Menu
{
    Lines items;
    int current = -1;

    void Set(const std::string &text, bool select)
    {
        auto it = std::find(items.begin(), items.end(), text);
        if (it == items.end()) {
            items.push_back(text);
            it = items.end() - 1;
            current = std::max(current, 0);
        }
        if (select)
            current = static_cast<int>(it - items.begin());
    }
    std::string Text() const { return current < 0 ? "" : items[current]; }
};

// Records the menus; the numbers answer the selected entry or what a test typed.
class FakePlyView : public PlyDataFormView
{
public:
    bool Exec(bool, const Selection &) override { return false; }
    void InitWidgets(bool newPly, const char *unit) override
    {
        init = (newPly ? "new " : "modify ") + std::string(unit);
    }
    void ShowWarningArgs(const char *title, const char *text, int a, int b) override
    {
        ShowWarning(title, (text + (" " + std::to_string(a) + " " + std::to_string(b))).c_str());
    }
    void ShowWarning(const char *title, const char *text) override
    {
        warnings.push_back(std::string(title) + ": " + text);
    }
    void SetMaterialMenu(const std::string &text, bool select) override { materials.Set(text, select); }
    void ClearMaterialMenu() override { materials = {}; }
    void SetColorMenu(const std::string &text, bool select) override { colors.Set(text, select); }
    void SetThickness(float value, bool select) override { Number(thickness, thicknesses, value, select); }
    void SetAngle(float value, bool select) override { Number(angle, angles, value, select); }
    std::string GetMaterialText() const override { return materials.Text(); }
    float GetThickness() const override { return thickness; }
    float GetAngle() const override { return angle; }
    std::string GetColor() const override { return colors.Text(); }

    std::string init;
    Menu materials, colors;
    float thickness = 0, angle = 0;
    std::vector<float> thicknesses, angles;
    Lines warnings;

private:
    static void Number(float &selected, std::vector<float> &listed, float value, bool select)
    {
        (select ? selected : listed.emplace_back()) = value;
    }
};

struct PlyEngineTest : ::testing::Test
{
    // Two plies, bottom first; a new ply with nothing selected goes below them.
    PlyEngineTest() { ResetPlyDataEntries(); }

    // A fresh dialog on the host's laminate, as the layup dialog opens one.
    FakePlyView &Open(bool newPly, const Selection &selection = {})
    {
        views.push_back(std::make_unique<FakePlyView>());
        engines.push_back(std::make_unique<PlyDataFormEngine>(views.back().get(), &host.context));
        engines.back()->Initialize(newPly, selection);
        return *views.back();
    }
    int Done() { return engines.back()->Done(); }
    const PlySimple &PlyAt(int number)
    {
        return dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(number, 0));
    }

    LaminateHost host{LaminateHost::WithPlies({{0.125f, 0, 301, 2}, {0.25f, 45, 301, 3}})};
    std::vector<std::unique_ptr<FakePlyView>> views;
    std::vector<std::unique_ptr<PlyDataFormEngine>> engines;
};

TEST_F(PlyEngineTest, NewPliesStartBlankThenProposeTheLastEntriesAndTheNextColour)
{
    host.store.Data().materials.push_back({7, "M7", "Ply"});
    host.context.GetMaterialList()->Add(7);
    FakePlyView &first = Open(true);
    EXPECT_EQ(first.init, "new mm");
    EXPECT_EQ(first.thickness, KeepValueSentinel);
    EXPECT_EQ(first.angle, KeepValueSentinel);
    EXPECT_EQ(first.colors.Text(), "Black");
    EXPECT_EQ(first.thicknesses, (std::vector<float>{0.125f, 0.25f}));
    EXPECT_EQ(first.angles, (std::vector<float>{-45, 0, 45, 90}));
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(first.warnings, Lines{"Validation Warning: Please enter Thickness"});

    first.materials.Set("M7", true);
    first.thickness = 0.125f;
    first.angle = 45;
    first.colors.Set("Red", true);
    ASSERT_EQ(Done(), 0);
    EXPECT_EQ(PlyAt(1).Material(), 7);
    EXPECT_EQ(PlyAt(1).Color(), 2);

    FakePlyView &next = Open(true);
    EXPECT_EQ(next.materials.Text(), "M7");
    EXPECT_EQ(next.thickness, 0.125f);
    EXPECT_EQ(next.angle, 45.0f);
    EXPECT_EQ(next.colors.Text(), "Red"); // colour id 2

    std::vector<std::string> proposed;
    for (int i = 0; i < 15; ++i) // ids 3 to 16, then 1
        proposed.push_back(Open(true).colors.Text());
    EXPECT_EQ(proposed[13], "Teal");
    EXPECT_EQ(proposed[14], "Black");
    Open(false, LaminateHost::Plies({1})); // id 2 goes to a modify dialog
    EXPECT_EQ(Open(true).colors.Text(), "Green");
}

struct AngleRow
{
    float typed;
    float stored; // NaN: refused
};

class PlyEngineAngles : public PlyEngineTest, public ::testing::WithParamInterface<AngleRow>
{
};

TEST_P(PlyEngineAngles, AnglesAreNormalisedIntoPlusMinusNinety)
{
    FakePlyView &view = Open(true);
    view.thickness = 0.2f;
    view.angle = GetParam().typed;
    if (std::isnan(GetParam().stored)) {
        EXPECT_EQ(Done(), 1);
        EXPECT_EQ(view.warnings, Lines{"Validation Warning: Angle must be within -360 to 360 degrees"});
        return;
    }
    ASSERT_EQ(Done(), 0);
    EXPECT_EQ(PlyAt(1).Angle(), GetParam().stored);
    EXPECT_EQ(Open(true).angle, GetParam().stored); // remembered after normalisation
}

const float kRefused = std::numeric_limits<float>::quiet_NaN();
INSTANTIATE_TEST_SUITE_P(Rows, PlyEngineAngles,
                         ::testing::Values(AngleRow{135, -45}, AngleRow{360, 0}, AngleRow{-360, 0}, AngleRow{270, 90},
                                           AngleRow{-135, 45}, AngleRow{90, 90}, AngleRow{-90, -90},
                                           AngleRow{360.5f, kRefused}, AngleRow{-360.5f, kRefused},
                                           AngleRow{kRefused, kRefused}));

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
TEST(PlyEngine, AMaterialOrColourTheHostLacksShowsBlank)
{
    ResetPlyDataEntries();
    LaminateHost host(LaminateHost::WithPlies({{0.1f, 0, 999, 77}, {0.1f, 45, 999, 77}, {0.1f, 0, 301, 2}}));
    FakePlyView one, two;
    PlyDataFormEngine single(&one, &host.context), several(&two, &host.context);
    single.Initialize(false, LaminateHost::Plies({1}));
    EXPECT_EQ(one.materials.Text() + one.colors.Text(), "  ");
    EXPECT_EQ(single.Done(), 1);
    one.materials.Set("Carbon/epoxy UD 0.125", true);
    EXPECT_EQ(single.Done(), 1);
    EXPECT_EQ(one.warnings, (Lines{"Validation Warning: Material not specified for this ply",
                                   "Validation Warning: Specify a color"}));
    several.Initialize(false, LaminateHost::Plies({1, 2}));
    EXPECT_EQ(two.materials.Text() + two.colors.Text(), "  ");
    ASSERT_EQ(several.Done(), 0);
    const auto &ply = dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(2, 0));
    EXPECT_EQ(ply.Material(), 999);
    EXPECT_EQ(ply.Color(), 77);
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
    FakePlyView view, other;
    PlyDataFormEngine engine(&view, &host.context), second(&other, &host.context);
    engine.Initialize(false, LaminateHost::Plies({1}));
    EXPECT_EQ(view.colors.Text(), "BLACK");
    EXPECT_EQ(view.colors.items.back(), "BLACK"); // appended: not among the offered colours
    view.materials.Set("Same", true);
    ASSERT_EQ(engine.Done(), 0);
    EXPECT_EQ(dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(1, 0)).Material(), 5);
    second.Initialize(false, LaminateHost::Plies({2}));
    EXPECT_EQ(std::count(other.colors.items.begin(), other.colors.items.end(), "BLACK"), 0);
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
    host.store.QueuePick(302);
    engines.back()->SelectMaterial();
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    host.store.QueuePick(0, 1); // nothing chosen
    engines.back()->SelectMaterial();
    host.store.QueuePick(4242); // an id the host does not know
    engines.back()->SelectMaterial();
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(view.warnings, Lines{"Material Selection Warning: unknown material"});

    // The catalogue loses the plies' material while the picker runs.
    view.warnings.clear();
    auto &materials = host.store.Data().materials;
    std::erase_if(materials, [](const auto &m) { return m.id == 301; });
    host.store.QueuePick(302);
    engines.back()->SelectMaterial();
    EXPECT_EQ(view.warnings, Lines{"Material Selection Warning: Ply %1 references non-existing material %2 1 301"});
    EXPECT_EQ(view.materials.Text(), "Glass/epoxy UD 0.25");
    EXPECT_EQ(PlyAt(1).Material(), -1);
}

} // namespace
