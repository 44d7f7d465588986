#include "gui/engines/layupformengine.h"

#include "core/layupbuilder.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "gui/engines/fakeplydataview.h"
#include "gui/engines/layupformview.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"
#include "gui/laminatecontext.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using namespace layuptest;
using Lines = std::vector<std::string>;

// Records every call as one line, e.g. EnableNew(1) or SetUndo(1,"Paste").
class FakeView : public LayupFormView
{
public:
    Lines calls;
    // As the dialog, clears its selection when asked and when its tree is rebuilt.
    std::function<void()> clearSelection;
    // What the ply data dialog does when run; unset: it is cancelled.
    std::function<bool(bool, const Selection &)> plyData;

    int Exec(bool *) override { return 1; }
    std::unique_ptr<ModelerFormView> CreateModelerForm(AppContext *) override { return nullptr; }
    std::unique_ptr<PlyDataFormView> CreatePlyDataForm(AppContext *) override
    {
        auto form = std::make_unique<FakePlyView>();
        form->exec = plyData;
        return form;
    }
    void ShowWarningArgs(const char *title, const char *text, int first, int second) override
    {
        Log("ShowWarningArgs", title, text, first, second);
    }
    void ShowWarning(const char *title, const char *text) override { Log("ShowWarning", title, text); }
    void ApplyViewMode() override { Log("ApplyViewMode"); }
    void Refresh(bool layupChanged, bool redraw) override
    {
        Log("Refresh", layupChanged, redraw);
        if (layupChanged)
            clearSelection();
    }
    void ShowStackingRule(int rule) override { Log("ShowStackingRule", rule); }
    void ClearSelection() override { Log("ClearSelection"), clearSelection(); }
    void SetViewSelection(const Selection &selection) override
    {
        std::string plies;
        for (int ply : selection.plies)
            plies += std::to_string(ply) + " ";
        Log("SetViewSelection", plies);
    }
    void UpdateInfoBox(int plies, double thickness, const std::string &unit, bool show) override
    {
        Log("UpdateInfoBox", plies, thickness, unit, show);
    }
    void EnableNew(bool on) override { Log("EnableNew", on); }
    void EnableModify(bool on) override { Log("EnableModify", on); }
    void EnableDelete(bool on) override { Log("EnableDelete", on); }
    void EnableCut(bool on) override { Log("EnableCut", on); }
    void EnableCopy(bool on) override { Log("EnableCopy", on); }
    void EnablePaste(bool on) override { Log("EnablePaste", on); }
    void EnableGroup(bool on) override { Log("EnableGroup", on); }
    void EnableUngroup(bool on) override { Log("EnableUngroup", on); }
    void EnableLink(bool on) override { Log("EnableLink", on); }
    void EnableUnlink(bool on) override { Log("EnableUnlink", on); }
    void SetUndo(bool on, const char *name) override { Log("SetUndo", on, name); }
    void SetPasteLocations(bool ends, bool possible) override { Log("SetPasteLocations", ends, possible); }
    void ClearMenus() override { Log("ClearMenus"); }
    void BuildMaterialMenu(int step, const char *text) override { Log("BuildMaterialMenu", step, text); }
    void BuildColorMenu(int step, const char *text) override { Log("BuildColorMenu", step, text); }

    // The calls since the last Take, which forgets them; with a prefix, only
    // the calls whose name starts with it.
    Lines Take(const std::string &prefix = "")
    {
        Lines kept;
        for (const std::string &call : std::exchange(calls, {}))
            if (call.rfind(prefix, 0) == 0)
                kept.push_back(call);
        return kept;
    }

private:
    template <class T>
    static std::string Arg(const T &value)
    {
        std::ostringstream out;
        if constexpr (std::is_convertible_v<T, std::string>)
            out << '"' << value << '"';
        else
            out << value;
        return out.str();
    }
    template <class... T>
    void Log(const char *name, const T &...args)
    {
        std::string list;
        ((list += (list.empty() ? "" : ",") + Arg(args)), ...);
        calls.push_back(name + ("(" + list + ")"));
    }
};

class LayupFormEngineTest : public ::testing::Test
{
protected:
    explicit LayupFormEngineTest(LamHost::StoreData data = LamHost::DemoStore())
        : lam(std::move(data)), engine(&view, &lam.context)
    {
        view.clearSelection = [this] { engine.SetSelection(Selection()); };
    }

    void Select(std::vector<int> plies, std::vector<int> groups = {})
    {
        Selection selection;
        selection.plies = std::move(plies);
        selection.SetGroups(groups);
        view.Take();
        engine.SetSelection(selection);
    }
    LayupManager &Layups() { return *lam.context.GetLayupManager(); }
    bool Undo()
    {
        std::string error;
        return lam.context.GetLaminateManager()->Undo(error);
    }
    std::vector<PlySimple> Stored() { return layuptest::Plies(lam.GetLaminate().RootGroup()); }
    std::string LastCommand()
    {
        std::string name;
        lam.context.GetLaminateManager()->LastCommandName(name);
        return name;
    }
    // Every stored ply's values, for comparing layups.
    std::string Values()
    {
        std::ostringstream out;
        for (const PlySimple &ply : Stored())
            out << ply.Material() << "/" << ply.Thickness() << "/" << ply.Angle() << "/" << ply.Color() << " ";
        return out.str();
    }
    // The ply data dialog sets the thickness (when above 0) and the angle (when
    // above -1000) of the plies it was handed, then closes accepted or not.
    void PlyDataEdits(float thickness, float angle, bool accepted)
    {
        view.plyData = [this, thickness, angle, accepted](bool, const Selection &plies) {
            handed = plies.plies;
            if (thickness > 0)
                Layups().ModifyThickness(plies, thickness);
            if (angle > -1000)
                Layups().ModifyAngle(plies, angle);
            return accepted;
        };
    }

    FakeView view;
    LaminateContext lam;
    LayupFormEngine engine;
    std::vector<int> handed;
};

// The host's colours 40 down to 1, id 7 named "BLACK".
LamHost::StoreData FortyColours()
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.colors.clear();
    for (int id = 40; id >= 1; --id) // the walk goes by id, not by host order
        data.colors.push_back({id, id == 7 ? std::string("BLACK") : std::to_string(id) + "c", 1, 2, 3});
    return data;
}

class ColourMenuTest : public LayupFormEngineTest
{
protected:
    ColourMenuTest() : LayupFormEngineTest(FortyColours()) {}
};

TEST_F(ColourMenuTest, UpdateViewOffersAddingAndTheTotalsOrForOnePlyTheMenusWithColoursUpToId16ButNoBlack)
{
    Select({});
    EXPECT_EQ(view.Take(), (Lines{"ClearMenus()", "EnableNew(1)", "EnableModify(0)", "SetUndo(0,\"\")",
                                  "EnableDelete(0)", "EnableCut(0)", "EnableCopy(0)", "SetPasteLocations(1,0)",
                                  "EnablePaste(0)", "EnableGroup(0)", "EnableUngroup(0)", "EnableLink(0)",
                                  "EnableUnlink(0)", "UpdateInfoBox(8,1,\"mm\",1)"}));
    Select({2});
    Lines expected = {
        "ClearMenus()", "EnableNew(1)", "EnableModify(1)", "SetUndo(0,\"\")", "EnableDelete(1)", "EnableCut(1)",
        "EnableCopy(1)", "SetPasteLocations(0,0)", "EnablePaste(0)", "EnableGroup(1)", "EnableUngroup(0)",
        "EnableLink(0)", "EnableUnlink(0)", "BuildMaterialMenu(0,\"\")",
        "BuildMaterialMenu(1,\"Carbon/epoxy UD 0.125\")", "BuildMaterialMenu(2,\"\")"};
    for (int id = 1; id <= 16; ++id)
        if (id != 7)
            expected.push_back("BuildColorMenu(0,\"" + std::to_string(id) + "c\")");
    expected.push_back("BuildColorMenu(1,\"\")");
    expected.push_back("UpdateInfoBox(-1,0,\"\",1)");
    EXPECT_EQ(view.Take(), expected);
}

TEST_F(LayupFormEngineTest, UpdateViewByKindOfSelection)
{
    // From the bottom: ply 1, group 5 of plies 2 and 3, link 6 repeating it (plies 4, 5).
    lam.SetLayup(Root({Ply(301), Group(5, {Ply(301), Ply(301)}), Link(6, 5, LinkRepeat)}));
    const std::string totals = "UpdateInfoBox(5,1.25,\"mm\",1)";
    const struct
    {
        std::vector<int> plies, groups;
        Lines expected; // Modify, Ungroup, Link, Unlink, the information box
    } rows[] = {
        {{1, 2}, {}, {"EnableModify(1)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(0)",
                      "UpdateInfoBox(-1,0,\"\",0)"}},
        {{}, {5}, {"EnableModify(0)", "EnableUngroup(1)", "EnableLink(0)", "EnableUnlink(0)", totals}},
        {{}, {6}, {"EnableModify(0)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(1)", totals}},
        {{}, {5, 6}, {"EnableModify(0)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(0)", totals}},
    };
    for (const auto &row : rows) {
        Select(row.plies, row.groups);
        Lines seen;
        for (const std::string &call : view.Take())
            for (const char *name : {"EnableModify(", "EnableUngroup(", "EnableLink(", "EnableUnlink(", "UpdateInfo"})
                if (call.rfind(name, 0) == 0)
                    seen.push_back(call);
        EXPECT_EQ(seen, row.expected) << "plies " << row.plies.size() << ", groups " << row.groups.size();
    }
    lam.SetLayup(Root({})); // an empty laminate shows no totals
    Select({});
    EXPECT_EQ(view.Take("UpdateInfoBox"), Lines{"UpdateInfoBox(-1,0,\"\",0)"});
}

TEST_F(LayupFormEngineTest, PasteGoesToTheEndsWithoutSelectionAndKeepsTheSelectedItemsUnderTheirNewNumbers)
{
    Select({4});
    EXPECT_EQ(view.Take("SetPasteLocations"), Lines{"SetPasteLocations(0,0)"});
    engine.Copy(); // clears the selection, and the view follows twice
    EXPECT_EQ(view.Take("SetPasteLocations"), (Lines{"SetPasteLocations(1,1)", "SetPasteLocations(1,1)"}));
    engine.Paste(false, false, false, 2); // above nothing: on top
    EXPECT_EQ(view.Take("Refresh"), Lines{"Refresh(1,1)"});
    EXPECT_EQ(lam.GetLaminate().RootGroup().CountPlies(), 6);
    Select({5, 6});
    EXPECT_EQ(view.Take("SetPasteLocations"), Lines{"SetPasteLocations(0,1)"});
    engine.Paste(false, false, true, 1); // below plies 5 and 6: they become 6 and 7
    const Lines calls = view.Take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetViewSelection(\"6 7 \")"), calls.end());
    EXPECT_EQ(calls.back(), "UpdateInfoBox(-1,0,\"\",0)");
}

TEST_F(LayupFormEngineTest, StackingTakesRulesOneToFourAndElseSimpleAndUndoIsOfferedByName)
{
    const struct
    {
        int index, rule;
        bool refreshed;
    } rows[] = {{1, 1, false}, {4, 4, true}, {4, 4, false}, {-1, 0, true}, {5, 0, false}};
    for (const auto &row : rows) {
        engine.SetStacking(row.index);
        EXPECT_EQ(lam.GetLaminate().RootGroup().GetLayup().Stacking(), row.rule) << row.index;
        EXPECT_EQ(view.Take("Refresh").size(), row.refreshed ? 1u : 0u) << row.index;
    }
    Select({});
    EXPECT_EQ(view.Take("SetUndo"), Lines{"SetUndo(1,\"Simple stacking\")"});
    ASSERT_TRUE(Undo() && Undo());
    Select({});
    EXPECT_EQ(view.Take("SetUndo"), Lines{"SetUndo(0,\"\")"}); // the history is empty
}

TEST_F(LayupFormEngineTest, ARuleWhoseFullStackPassesThePlyLimitIsRefusedWithTheLimit)
{
    PlyGroup root(0);
    for (int i = 0; i < LaminateManager::kMaxLoadedPlies / 2 + 1; ++i)
        root.GetLayup().Add(Ply(301));
    root.SetRoot(&root);
    root.Renumber(1);
    lam.SetLayup(root);
    lam.context.GetLaminateManager()->ClearUndoStack();
    const struct
    {
        int index, plies; // the full stack the rule would make
    } rows[] = {{StackingFullSymmetric, 100002}, {StackingSymmetricWithCore, 100001}, {StackingFullRepeat, 100002}};
    for (const auto &row : rows) {
        view.Take();
        engine.SetStacking(row.index);
        EXPECT_EQ(view.Take(), (Lines{"ShowStackingRule(0)", "ShowWarningArgs(\"Stacking Sequence Error\",\"The full stack would have %1 "
                                      "plies, more than the %2 a laminate may have.\"," +
                                          std::to_string(row.plies) + ",100000)"}));
        EXPECT_EQ(lam.GetLaminate().RootGroup().GetLayup().Stacking(), StackingSimple);
        EXPECT_EQ(LastCommand(), "");
    }
    engine.SetStacking(StackingSimple); // no change: nothing to say
    EXPECT_EQ(view.Take(), Lines{});
}

TEST_F(LayupFormEngineTest, ModifyRecordsOneUndoStepAndACancelledOneNothing)
{
    const struct
    {
        float thickness, angle;
        bool accepted;
        std::string recorded; // the newest command afterwards; "" none
    } rows[] = {
        {0.3f, 30.0f, true, "Modify"},
        {0.4f, -1001, true, "Multiple-Modify Thickness"},
        {0.6f, 60.0f, false, ""}, // an OK refused after applying, then Cancel
        {-1, -1001, true, ""},    // accepted without a change
    };
    for (const auto &row : rows) {
        const std::string before = Values();
        PlyDataEdits(row.thickness, row.angle, row.accepted);
        Select({1, 2, 3, 7}); // 5 to 8 mirror the four stored plies
        ASSERT_TRUE(engine.Modify());
        EXPECT_EQ(handed, (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(LastCommand(), row.recorded) << row.thickness;
        EXPECT_EQ(view.Take("Refresh").size(), row.recorded.empty() ? 0u : 1u) << row.thickness;
        if (row.recorded.empty()) {
            EXPECT_EQ(Values(), before);
            continue;
        }
        EXPECT_FLOAT_EQ(Stored()[2].Thickness(), row.thickness);
        // Later edits still reach the history, and one undo takes the whole step back.
        ASSERT_TRUE(Layups().ModifyColor(LaminateHost::Plies({4}), 5));
        ASSERT_TRUE(Undo() && Undo());
        EXPECT_EQ(Values(), before);
    }
}

TEST_F(LayupFormEngineTest, TreeEditsApplyTheAngleFirstAndAlwaysRebuildTheViews)
{
    engine.ModifyFromTree(2, 0.2f, 30.0f);
    EXPECT_EQ(Values(), "301/0.125/0/2 301/0.2/30/3 301/0.125/-45/4 301/0.125/90/10 ");
    EXPECT_EQ(LastCommand(), "Modify Thickness");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LastCommand(), "Modify Angle");
    // A refused edit (ply 6 mirrors a stored one) changes and shows nothing,
    // but the rows show the layup again.
    view.Take();
    engine.ModifyFromTree(6, 0.3f, 10.0f);
    EXPECT_EQ(LastCommand(), "Modify Angle");
    const Lines calls = view.Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Refresh(1,1)"), 1);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](auto &call) { return call.rfind("Show", 0) == 0; }), 0);
}

TEST_F(LayupFormEngineTest, EveryRefusalIsShownWithItsTitle)
{
    // Plies 1 and 2, group 5 holding ply 3, link 6 repeating it as ply 4.
    const PlyGroup start = layuptest::Root({Ply(301), Ply(301), Group(5, {Ply(301)}), Link(6, 5, LinkRepeat)});
    PlyDataEdits(0.5f, -1001, true);
    const struct
    {
        std::vector<int> plies, groups;
        std::function<void()> command;
        std::string warning; // how the one warning starts
    } rows[] = {
        {{}, {}, [this] { engine.Undo(); }, "ShowWarning(\"Command playback error\",\"undo stack is empty\")"},
        {{}, {}, [this] { lam.SetLayup(layuptest::Root({})), engine.Ok(); },
         "ShowWarning(\"Validation Warning\",\"Cannot save an empty laminate definition\")"},
        {{3}, {}, [this] {
             Selection group;
             group.SetGroups({5});
             Layups().Copy(group);
             engine.Paste(false, false, false, 1); // into group 5
         }, "ShowWarning(\"Paste Error\",\"Paste: cannot nest groups\")"},
        {{4}, {}, [this] { EXPECT_FALSE(engine.Modify()); },
         "ShowWarning(\"Ply Modification Warning\",\"Cannot modify child ply.  Modify ply in the parent group "
         "instead.\")"},
        {{}, {}, [this] { engine.CreateGroup(); }, "ShowWarning(\"Group Creation Error\",\"empty list of plies\")"},
        {{1}, {}, [this] { engine.CreateLink(); }, "ShowWarning(\"Group Linking Error\",\"Unsuitable selection\")"},
        {{}, {7}, [this] { engine.Ungroup(); }, "ShowWarning(\"Ungrouping Error\",\"Could not find selected group\")"},
        {{}, {7}, [this] { engine.Unlink(); }, "ShowWarning(\"Unlinking Error\",\"Selected group not found\")"},
        {{99}, {}, [this] { engine.SelectColor("Red"); }, "ShowWarning(\"Ply Modification Error\",\"Ply not found"},
        {{1}, {}, [this] { engine.SelectMaterial("no such"); },
         "ShowWarning(\"Material Selection Warning\",\"unknown material\")"},
        {{99}, {}, [this] { lam.store.QueuePick(302), engine.SelectMaterial(nullptr); },
         "ShowWarning(\"Ply Modification Error\",\"Ply not found"},
        {{}, {}, [this] {
             Layups().ModifyMaterial(LaminateHost::Plies({1}), 302);
             lam.store.Data().materials.resize(5); // the ply materials leave the host
             lam.store.QueuePick(-1, 1);
             engine.BrowseMaterials();
         }, "ShowWarningArgs(\"Material Reference Error\",\"Ply %1 references non-existing material %2\",1,302)"},
    };
    for (const auto &row : rows) {
        lam.SetLayup(start);
        Select(row.plies, row.groups);
        row.command();
        Lines warnings = view.Take("ShowWarning");
        ASSERT_EQ(warnings.size(), 1u) << row.warning;
        EXPECT_EQ(warnings[0].rfind(row.warning, 0), 0u) << warnings[0];
    }
}

TEST_F(LayupFormEngineTest, EditsRebuildWhatTheyChanged)
{
    lam.SetLayup(layuptest::Root({Ply(301), Ply(301), Group(5, {Ply(301)}), Ply(301)}));
    lam.context.GetLaminateManager()->ClearUndoStack(); // undo replays from this layup
    // A new ply whose dialog adds it at the bottom and closes accepted or not.
    const auto newPly = [this](bool accepted) {
        view.plyData = [this, accepted](bool newPly, const Selection &selection) {
            return newPly && Layups().AddPly(selection, 302, 0.25f, 15.0f, 3) && accepted;
        };
        engine.NewPly(true);
        EXPECT_EQ(Stored().front().Material(), accepted ? 302 : 301);
    };
    const struct
    {
        std::vector<int> plies, groups;
        std::function<void()> command;
        std::string refresh, recorded; // "": none, nothing new
    } rows[] = {
        {{1, 2}, {}, [this] { engine.CreateGroup(); }, "Refresh(1,0)", "Create Group"},
        {{}, {5}, [this] { engine.Ungroup(); }, "Refresh(1,1)", "Ungroup"},
        {{4}, {}, [this] { engine.Cut(); }, "Refresh(1,1)", "Cut"},
        {{1}, {}, [this] { engine.Delete(); }, "Refresh(1,1)", "Delete"},
        {{1}, {}, [this] { engine.SelectColor("Navy"); }, "Refresh(1,1)", "Modify Color"},
        {{1}, {}, [this] { engine.SelectColor("navy"); }, "", ""},
        {{1}, {}, [this] {
             lam.store.QueuePick(302);
             EXPECT_TRUE(engine.SelectMaterial("Select..."));
         },
         "Refresh(1,1)", "Modify Material"},
        {{2}, {}, [this] { EXPECT_FALSE(engine.SelectMaterial("Glass/epoxy UD 0.25")); }, "Refresh(1,1)",
         "Modify Material"},
        {{}, {}, [this] { EXPECT_TRUE(engine.SelectMaterial(nullptr)); }, "", ""}, // nothing picked
        {{1}, {}, [this] {
             lam.store.Data().materials[5].name = "renamed"; // the host's list changes meanwhile
             lam.store.QueuePick(301);
             engine.SelectMaterial(nullptr);
             EXPECT_EQ(Stored()[0].Material(), 301);
         }, "Refresh(1,1)", "Modify Material"},
        {{}, {}, [&] { newPly(false); }, "", ""},
        {{}, {}, [&] { newPly(true); }, "Refresh(1,1)", "New Ply"},
        {{}, {}, [this] { engine.Undo(); }, "Refresh(1,1)", "Modify Material"},
    };
    for (const auto &row : rows) {
        const std::string before = LastCommand();
        Select(row.plies, row.groups);
        row.command();
        Lines refreshes = view.Take("Refresh");
        refreshes.erase(std::unique(refreshes.begin(), refreshes.end()), refreshes.end());
        EXPECT_EQ(refreshes, row.refresh.empty() ? Lines{} : Lines{row.refresh});
        EXPECT_EQ(LastCommand(), row.recorded.empty() ? before : row.recorded) << row.refresh;
    }
}

// A material met through the host's picker, the host's list otherwise as it
// was, is in the material menu at once, however the command that showed the
// picker ended: the material button, a new ply cancelled, a ply data dialog
// accepted without a change.
TEST_F(LayupFormEngineTest, APickedMaterialIsOfferedAtOnce)
{
    const auto pickInDialog = [this](bool accepted) {
        view.plyData = [this, accepted](bool, const Selection &) {
            lam.context.GetMaterialList()->SelectMaterial(PlyMaterialKind, nullptr);
            return accepted;
        };
    };
    const std::function<void()> commands[] = {
        [this] { engine.BrowseMaterials(); },
        [&] { pickInDialog(false), engine.NewPly(true); },
        [&] { pickInDialog(true), engine.Modify(); },
    };
    int id = 400;
    for (const auto &command : commands) {
        const std::string name = "Picked " + std::to_string(++id);
        lam.store.Data().materials.push_back({id, name, "Ply"});
        lam.store.QueuePick(id);
        Select({1});
        command();
        const Lines menu = view.Take("BuildMaterialMenu(1,");
        EXPECT_NE(std::find(menu.begin(), menu.end(), "BuildMaterialMenu(1,\"" + name + "\")"), menu.end()) << name;
    }
}

} // namespace
