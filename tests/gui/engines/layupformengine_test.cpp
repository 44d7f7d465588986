#include "gui/engines/layupformengine.h"

#include "core/layupbuilder.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "gui/engines/layupformview.h"
#include "host/laminatemanager.h"
#include "gui/laminatecontext.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace layuptest;

// Records every call as one line, e.g. EnableNew(1) or SetUndo(1,"Paste").
class FakeView : public LayupFormView
{
public:
    std::vector<std::string> calls;
    std::function<void()> onClearSelection;

    int Exec(bool *) override { return Log("Exec()"), 1; }
    std::unique_ptr<ModelerFormView> CreateModelerForm(AppContext *) override { return nullptr; }
    std::unique_ptr<PlyDataFormView> CreatePlyDataForm(AppContext *) override { return nullptr; }
    void ShowWarningArgs(const char *title, const char *text, int first, int second) override
    {
        Log(Args("ShowWarningArgs", Quote(title), Quote(text), first, second));
    }
    void ShowWarning(const char *title, const char *text) override
    {
        Log(Args("ShowWarning", Quote(title), Quote(text)));
    }
    void ApplyViewMode() override { Log("ApplyViewMode()"); }
    void Refresh(bool layupChanged, bool redraw) override { Log(Args("Refresh", layupChanged, redraw)); }
    void ClearSelection() override
    {
        Log("ClearSelection()");
        if (onClearSelection)
            onClearSelection();
    }
    void SetViewSelection(const Selection &selection) override
    {
        std::string plies;
        for (int ply : selection.plies)
            plies += std::to_string(ply) + " ";
        Log(Args("SetViewSelection", Quote(plies.c_str())));
    }
    void UpdateInfoBox(int plies, double thickness, const std::string &unit, bool show) override
    {
        Log(Args("UpdateInfoBox", plies, thickness, Quote(unit.c_str()), show));
    }
    void EnableNew(bool on) override { Log(Args("EnableNew", on)); }
    void EnableModify(bool on) override { Log(Args("EnableModify", on)); }
    void EnableDelete(bool on) override { Log(Args("EnableDelete", on)); }
    void EnableCut(bool on) override { Log(Args("EnableCut", on)); }
    void EnableCopy(bool on) override { Log(Args("EnableCopy", on)); }
    void EnablePaste(bool on) override { Log(Args("EnablePaste", on)); }
    void EnableGroup(bool on) override { Log(Args("EnableGroup", on)); }
    void EnableUngroup(bool on) override { Log(Args("EnableUngroup", on)); }
    void EnableLink(bool on) override { Log(Args("EnableLink", on)); }
    void EnableUnlink(bool on) override { Log(Args("EnableUnlink", on)); }
    void SetUndo(bool on, const char *name) override { Log(Args("SetUndo", on, Quote(name))); }
    void SetPasteLocations(bool ends, bool possible) override { Log(Args("SetPasteLocations", ends, possible)); }
    void ClearMenus() override { Log("ClearMenus()"); }
    void BuildMaterialMenu(int step, const char *text) override { Log(Args("BuildMaterialMenu", step, Quote(text))); }
    void BuildColorMenu(int step, const char *text) override { Log(Args("BuildColorMenu", step, Quote(text))); }

    // The calls since the last Take, which forgets them.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }
    // Only the calls whose name starts with prefix.
    std::vector<std::string> Take(const std::string &prefix)
    {
        std::vector<std::string> kept;
        for (const std::string &call : Take())
            if (call.rfind(prefix, 0) == 0)
                kept.push_back(call);
        return kept;
    }

private:
    static std::string Quote(const char *text)
    {
        std::string quoted(1, '"');
        quoted.append(text).push_back('"');
        return quoted;
    }
    template <class... T>
    static std::string Args(const char *name, const T &...args)
    {
        std::ostringstream out;
        out << name << "(";
        const char *separator = "";
        ((out << separator << args, separator = ","), ...);
        out << ")";
        return out.str();
    }
    void Log(const std::string &call) { calls.push_back(call); }
};

class LayupFormEngineTest : public ::testing::Test
{
protected:
    explicit LayupFormEngineTest(bool create = false) : lam(LamHost::DemoStore(), create), engine(&view, &lam.context)
    {
        view.onClearSelection = [this] { engine.SetSelection(Selection()); };
    }

    void Select(std::vector<int> plies, std::vector<int> groups = {})
    {
        Selection selection;
        selection.plies = std::move(plies);
        selection.SetGroups(groups);
        view.Take();
        engine.SetSelection(selection);
    }

    FakeView view;
    LaminateContext lam;
    LayupFormEngine engine;
};

class NewLaminateEngineTest : public LayupFormEngineTest
{
protected:
    NewLaminateEngineTest() : LayupFormEngineTest(true) {}
};

TEST_F(LayupFormEngineTest, UpdateViewWithNothingSelectedOffersAddingAndTheTotals)
{
    Select({});
    EXPECT_EQ(view.Take(), (std::vector<std::string>{
                               "ClearMenus()", "EnableNew(1)", "EnableModify(0)", "SetUndo(0,\"\")",
                               "EnableDelete(0)", "EnableCut(0)", "EnableCopy(0)", "SetPasteLocations(1,0)",
                               "EnablePaste(0)", "EnableGroup(0)", "EnableUngroup(0)", "EnableLink(0)",
                               "EnableUnlink(0)", "UpdateInfoBox(8,1,\"mm\",1)"}));
}

TEST_F(LayupFormEngineTest, UpdateViewWithOnePlyBuildsTheMaterialAndColourMenus)
{
    Select({2});
    const std::vector<std::string> calls = view.Take();
    const std::vector<std::string> head(calls.begin(), calls.begin() + 14);
    EXPECT_EQ(head, (std::vector<std::string>{"ClearMenus()", "EnableNew(1)", "EnableModify(1)", "SetUndo(0,\"\")",
                                              "EnableDelete(1)", "EnableCut(1)", "EnableCopy(1)",
                                              "SetPasteLocations(0,0)", "EnablePaste(0)", "EnableGroup(1)",
                                              "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(0)",
                                              "BuildMaterialMenu(0,\"\")"}));
    std::vector<std::string> tail(calls.begin() + 14, calls.end());
    ASSERT_EQ(tail.size(), 2u + 16u + 1u + 1u);
    EXPECT_EQ(tail[0], "BuildMaterialMenu(1,\"Carbon/epoxy UD 0.125\")");
    EXPECT_EQ(tail[1], "BuildMaterialMenu(2,\"\")");
    EXPECT_EQ(tail[2], "BuildColorMenu(0,\"Black\")"); // only "BLACK" is left out
    EXPECT_EQ(tail[17], "BuildColorMenu(0,\"Teal\")");
    EXPECT_EQ(tail[18], "BuildColorMenu(1,\"\")");
    EXPECT_EQ(tail[19], "UpdateInfoBox(-1,0,\"\",1)");
}

TEST_F(LayupFormEngineTest, UpdateViewByKindOfSelection)
{
    // From the bottom: ply 1, group 5 of plies 2 and 3, link 6 repeating it (plies 4, 5).
    lam.SetLayup(Root({Ply(301), Group(5, {Ply(301), Ply(301)}), Link(6, 5, LinkRepeat)}));
    const std::string totals = "UpdateInfoBox(5,1.25,\"mm\",1)";
    const struct
    {
        std::vector<int> plies, groups;
        std::vector<std::string> expected; // Modify, Ungroup, Link, Unlink, the information box
    } rows[] = {
        {{1, 2}, {}, {"EnableModify(1)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(0)",
                      "UpdateInfoBox(-1,0,\"\",0)"}},
        {{}, {5}, {"EnableModify(0)", "EnableUngroup(1)", "EnableLink(0)", "EnableUnlink(0)", totals}},
        {{}, {6}, {"EnableModify(0)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(1)", totals}},
        {{}, {5, 6}, {"EnableModify(0)", "EnableUngroup(0)", "EnableLink(0)", "EnableUnlink(0)", totals}},
    };
    for (const auto &row : rows) {
        Select(row.plies, row.groups);
        std::vector<std::string> seen;
        for (const std::string &call : view.Take())
            for (const char *name : {"EnableModify", "EnableUngroup", "EnableLink", "EnableUnlink", "UpdateInfoBox"})
                if (call.rfind(name, 0) == 0 && call[std::string(name).size()] == '(')
                    seen.push_back(call);
        EXPECT_EQ(seen, row.expected) << "plies " << row.plies.size() << ", groups " << row.groups.size();
    }
}

TEST_F(NewLaminateEngineTest, AnEmptyLaminateShowsNoTotals)
{
    Select({});
    EXPECT_EQ(view.Take("UpdateInfoBox"), std::vector<std::string>{"UpdateInfoBox(-1,0,\"\",0)"});
}

std::string ColourName(int id) { return std::to_string(id) + "c"; }

TEST(LayupFormEngineColours, OffersTheColoursUpToId16ButNeverBlack)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.colors.clear();
    for (int id = 40; id >= 1; --id) // the walk goes by id, not by host order
        data.colors.push_back({id, id == 7 ? std::string("BLACK") : ColourName(id), 1, 2, 3});
    LaminateContext lam(data);
    FakeView view;
    LayupFormEngine engine(&view, &lam.context);
    Selection one;
    one.plies = {1};
    engine.SetSelection(one);
    std::vector<std::string> expected;
    for (int id = 1; id <= 16; ++id)
        if (id != 7)
            expected.push_back("BuildColorMenu(0,\"" + ColourName(id) + "\")");
    expected.push_back("BuildColorMenu(1,\"\")");
    EXPECT_EQ(view.Take("BuildColorMenu"), expected);
}

TEST_F(LayupFormEngineTest, UndoIsOfferedByNameAndWithdrawnWhenTheHistoryEmpties)
{
    engine.SetStacking(0);
    Select({});
    EXPECT_EQ(view.Take("SetUndo"), std::vector<std::string>{"SetUndo(1,\"Simple stacking\")"});
    std::string error;
    ASSERT_TRUE(lam.context.GetLaminateManager()->Undo(error)) << error;
    Select({});
    EXPECT_EQ(view.Take("SetUndo"), std::vector<std::string>{"SetUndo(0,\"\")"});
}

TEST_F(LayupFormEngineTest, PasteGoesToTheEndsWithoutSelectionAndSelectsWhatItPasted)
{
    Select({4});
    EXPECT_EQ(view.Take("SetPasteLocations"), std::vector<std::string>{"SetPasteLocations(0,0)"});
    engine.Copy(); // clears the selection, and the view follows twice
    EXPECT_EQ(view.Take("SetPasteLocations"),
              (std::vector<std::string>{"SetPasteLocations(1,1)", "SetPasteLocations(1,1)"}));
    engine.Paste(false, false, false, 2); // above nothing: on top
    EXPECT_EQ(view.Take("Refresh"), std::vector<std::string>{"Refresh(1,1)"});
    EXPECT_EQ(lam.GetLaminate().RootGroup().CountPlies(), 6);
    Select({5, 6});
    EXPECT_EQ(view.Take("SetPasteLocations"), std::vector<std::string>{"SetPasteLocations(0,1)"});
    engine.Paste(false, false, true, 1); // below plies 5 and 6
    const std::vector<std::string> calls = view.Take();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetViewSelection(\"6 7 \")"), calls.end());
    EXPECT_EQ(calls.back(), "UpdateInfoBox(-1,0,\"\",0)");
}

TEST_F(LayupFormEngineTest, InitializeMarksTheLaminateSavedAndBuildsTheViews)
{
    engine.SetStacking(2);
    engine.Initialize();
    EXPECT_EQ(view.Take(), (std::vector<std::string>{"Refresh(1,1)", "ApplyViewMode()", "Refresh(1,1)"}));
    engine.Reset(); // the saved laminate is the one Initialize saw
    EXPECT_TRUE(view.Take().empty());
}

TEST_F(LayupFormEngineTest, SetStackingTakesRulesOneToFourAndAnythingElseAsNormal)
{
    const struct
    {
        int index;
        int rule;
        bool refreshed;
    } rows[] = {{1, 1, false}, {4, 4, true}, {4, 4, false}, {5, 0, true}, {-1, 0, false}, {2, 2, true}};
    for (const auto &row : rows) {
        engine.SetStacking(row.index);
        EXPECT_EQ(lam.GetLaminate().RootGroup().GetLayup().Stacking(), row.rule) << row.index;
        EXPECT_EQ(view.Take().size(), row.refreshed ? 1u : 0u) << row.index;
    }
}

TEST_F(LayupFormEngineTest, CancelGoesBackToTheSavedLaminate)
{
    engine.Initialize();
    engine.SetStacking(0);
    EXPECT_TRUE(engine.Cancel());
    EXPECT_EQ(lam.GetLaminate().RootGroup().GetLayup().Stacking(), 1);
}

} // namespace
