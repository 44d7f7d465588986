#include "gui/engines/layupformengine.h"

#include "core/layupbuilder.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "gui/engines/layupformview.h"
#include "host/laminatemanager.h"
#include "gui/laminatecontext.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace layuptest;

// A ply data dialog whose Exec runs the test's edits (as its engine would
// through the layup manager) and answers what the test chose.
class FakePlyData : public PlyDataFormView
{
public:
    explicit FakePlyData(std::function<bool(bool, const Selection &)> exec) : exec_(std::move(exec)) {}
    bool Exec(bool newPly, const Selection &selection) override { return exec_(newPly, selection); }
    void InitWidgets(bool, const char *) override {}
    void ShowWarningArgs(const char *, const char *, int, int) override {}
    void ShowWarning(const char *, const char *) override {}
    void SetMaterialMenu(const std::string &, bool) override {}
    void ClearMaterialMenu() override {}
    void SetColorMenu(const std::string &, bool) override {}
    void SetThickness(float, bool) override {}
    void SetAngle(float, bool) override {}
    std::string GetMaterialText() const override { return {}; }
    float GetThickness() const override { return 0; }
    float GetAngle() const override { return 0; }
    std::string GetColor() const override { return {}; }

private:
    std::function<bool(bool, const Selection &)> exec_;
};

class FakeModeler : public ModelerFormView
{
public:
    explicit FakeModeler(std::function<bool()> exec) : exec_(std::move(exec)) {}
    bool Exec() override { return exec_(); }
    void ShowWarning(const char *, const char *) override {}
    void InitWidgets() override {}
    int GetRefPlaneKind() const override { return 0; }
    void SetRefPlane(int, float) override {}
    float GetRefPlaneValue() const override { return 0; }
    void SetAllowableStress(float) override {}
    float GetAllowableStress() const override { return 0; }
    void SetTsaiWuF12(float) override {}
    float GetTsaiWuF12() const override { return 0; }
    void SetNonStructuralMass(double) override {}
    double GetNonStructuralMass() const override { return 0; }
    void SetDamping(double) override {}
    double GetDamping() const override { return 0; }
    void SetReferenceTemperature(double) override {}
    double GetReferenceTemperature() const override { return 0; }
    void SetFailureTheory(int) override {}
    int GetFailureTheory() const override { return 0; }
    void SetUnits(std::string, std::string, std::string, std::string) override {}

private:
    std::function<bool()> exec_;
};

// Records every call as one line, e.g. EnableNew(1) or SetUndo(1,"Paste").
class FakeView : public LayupFormView
{
public:
    std::vector<std::string> calls;
    std::function<void()> onClearSelection;
    // What the ply data and properties dialogs do when run; unset: no dialog.
    std::function<bool(bool, const Selection &)> plyData;
    std::function<bool()> modeler;

    int Exec(bool *) override { return Log("Exec()"), 1; }
    std::unique_ptr<ModelerFormView> CreateModelerForm(AppContext *) override
    {
        return modeler ? std::make_unique<FakeModeler>(modeler) : nullptr;
    }
    std::unique_ptr<PlyDataFormView> CreatePlyDataForm(AppContext *) override
    {
        return plyData ? std::make_unique<FakePlyData>(plyData) : nullptr;
    }
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

// The root logger's lines while it lives.
class LogCapture
{
public:
    LogCapture()
    {
        auto *logger = new Tuvo::Logger("LayupFormEngineTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { Lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
        Lines().clear();
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild("LayupFormEngineTest"); }
    static std::vector<std::string> &Lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }
};

class LayupEditTest : public LayupFormEngineTest
{
protected:
    LayupManager &Layups() { return *lam.context.GetLayupManager(); }
    const PlyGroup &Root() { return lam.GetLaminate().RootGroup(); }
    std::string LastCommand()
    {
        std::string name;
        lam.context.GetLaminateManager()->LastCommandName(name);
        return name;
    }
    std::vector<PlySimple> Stored() { return layuptest::Plies(Root()); }
    // Every stored ply's values, for comparing layups.
    std::string Values()
    {
        std::ostringstream out;
        for (const PlySimple &ply : Stored())
            out << ply.Material() << "/" << ply.Thickness() << "/" << ply.Angle() << "/" << ply.Color() << " ";
        return out.str();
    }
    static Selection Plies(std::vector<int> numbers)
    {
        Selection selection;
        selection.plies = std::move(numbers);
        return selection;
    }
    // The ply data dialog changes thickness and angle of what it was handed
    // (when set), then closes with accepted.
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
    std::vector<int> handed;
};

TEST_F(LayupEditTest, ModifyRefusesChildPliesAndEditsOnlyTheStoredOnes)
{
    // The demo laminate is stored as four plies, full symmetric: 5 to 8 mirror them.
    PlyDataEdits(0.5f, -1001, true);
    LogCapture log;
    Select({5, 6});
    EXPECT_FALSE(engine.Modify());
    EXPECT_EQ(view.Take("ShowWarning"),
              std::vector<std::string>{"ShowWarning(\"Ply Modification Warning\",\"Cannot modify child ply.  "
                                       "Modify ply in the parent group instead.\")"});
    EXPECT_TRUE(handed.empty());
    EXPECT_EQ(LogCapture::Lines(), std::vector<std::string>{"LayupFormEngine::Modify begins."});

    Select({2, 7});
    EXPECT_TRUE(engine.Modify());
    EXPECT_EQ(handed, std::vector<int>{2});
    EXPECT_FLOAT_EQ(Stored()[1].Thickness(), 0.5f);
    EXPECT_FLOAT_EQ(Stored()[2].Thickness(), 0.125f);
    EXPECT_EQ(LogCapture::Lines().back(), "LayupFormEngine::Modify ends.");
}

TEST_F(LayupEditTest, ModifyRecordsOneUndoStepAndACancelledOneNothing)
{
    const struct
    {
        float thickness, angle;
        bool accepted;
        std::string recorded; // the newest command afterwards; "" none
        bool refreshed;
    } rows[] = {
        {0.3f, 30.0f, true, "Modify", true},
        {0.4f, -1001, true, "Multiple-Modify Thickness", true},
        {0.6f, 60.0f, false, "", false}, // refused OK that had applied, then Cancel
        {-1, -1001, true, "", false},    // accepted without a change
    };
    for (const auto &row : rows) {
        std::string error;
        while (lam.context.GetLaminateManager()->Undo(error)) {
        }
        const std::string before = Values();
        PlyDataEdits(row.thickness, row.angle, row.accepted);
        Select({1, 2, 3});
        ASSERT_TRUE(engine.Modify());
        EXPECT_EQ(LastCommand(), row.recorded) << row.thickness;
        EXPECT_EQ(view.Take("Refresh").size(), row.refreshed ? 1u : 0u) << row.thickness;
        if (!row.accepted || row.recorded.empty()) {
            EXPECT_EQ(Values(), before);
            continue;
        }
        EXPECT_FLOAT_EQ(Stored()[2].Thickness(), row.thickness);
        EXPECT_FLOAT_EQ(Stored()[3].Thickness(), 0.125f);
        // Later edits still reach the history, and one undo takes the whole step back.
        ASSERT_TRUE(Layups().ModifyColor(Plies({4}), 5));
        EXPECT_EQ(LastCommand(), "Modify Color");
        ASSERT_TRUE(lam.context.GetLaminateManager()->Undo(error));
        ASSERT_TRUE(lam.context.GetLaminateManager()->Undo(error));
        EXPECT_EQ(Values(), before);
    }
}

TEST_F(LayupEditTest, NewPlyAndPropertiesKeepWhatTheirDialogAccepted)
{
    LogCapture log;
    view.plyData = [this](bool newPly, const Selection &selection) {
        EXPECT_TRUE(newPly);
        return Layups().AddPly(selection, 302, 0.25f, 15.0f, 3);
    };
    Select({});
    engine.NewPly(true); // below nothing: at the bottom
    EXPECT_EQ(Stored().front().Material(), 302);
    EXPECT_EQ(view.Take("Refresh"), std::vector<std::string>{"Refresh(1,1)"});
    view.plyData = [this](bool, const Selection &selection) {
        Layups().AddPly(selection, 303, 0.25f, 15.0f, 3);
        return false;
    };
    engine.NewPly(false);
    EXPECT_EQ(Stored().size(), 5u);
    EXPECT_TRUE(view.Take("Refresh").empty());
    std::vector<std::string> lines = LogCapture::Lines();
    std::erase_if(lines, [](const std::string &line) { return line.rfind("LayupFormEngine::", 0) != 0; });
    EXPECT_EQ(lines,
              (std::vector<std::string>{"LayupFormEngine::NewPly begins.", "LayupFormEngine::NewPly ends.",
                                        "LayupFormEngine::NewPly begins.", "LayupFormEngine::NewPly ends."}));

    // The reference plane moving redraws the sketch alone; other properties nothing.
    const struct
    {
        int method;
        float location;
        bool accepted;
        const char *refresh;
    } rows[] = {{Laminate::Top, 0, true, "Refresh(0,1)"},
                {Laminate::Top, 0, true, nullptr},
                {Laminate::UserDefinedLocation, 0.25f, false, nullptr},
                {Laminate::UserDefinedLocation, 0.25f, true, "Refresh(0,1)"},
                {Laminate::UserDefinedLocation, 0.3f, true, "Refresh(0,1)"}};
    for (const auto &row : rows) {
        view.modeler = [this, &row] {
            Laminate edited = lam.GetLaminate();
            edited.SetReferencePlane(row.method, row.location);
            lam.context.GetLaminateManager()->SetProperties(edited);
            return row.accepted;
        };
        const Laminate before = lam.GetLaminate();
        engine.Properties();
        EXPECT_EQ(view.Take("Refresh"), row.refresh ? std::vector<std::string>{row.refresh}
                                                    : std::vector<std::string>{});
        if (!row.accepted) {
            EXPECT_TRUE(lam.GetLaminate().IsEqual(before));
        }
    }
}

TEST_F(LayupEditTest, TreeEditsApplyTheAngleFirstAndAlwaysRebuildTheViews)
{
    engine.ModifyFromTree(2, 0.2f, 30.0f);
    EXPECT_FLOAT_EQ(Stored()[1].Angle(), 30.0f);
    EXPECT_FLOAT_EQ(Stored()[1].Thickness(), 0.2f);
    EXPECT_EQ(LastCommand(), "Modify Thickness");
    std::string error;
    ASSERT_TRUE(lam.context.GetLaminateManager()->Undo(error));
    EXPECT_EQ(LastCommand(), "Modify Angle");
    // A refused edit (ply 6 mirrors a stored one) changes and shows nothing,
    // but the rows show the layup again.
    const std::string before = Values();
    view.Take();
    engine.ModifyFromTree(6, 0.3f, 10.0f);
    EXPECT_EQ(Values(), before);
    EXPECT_EQ(view.Take("Refresh"), std::vector<std::string>{"Refresh(1,1)"});
    EXPECT_TRUE(view.Take("ShowWarning").empty());
}

TEST_F(LayupEditTest, EveryRefusalIsShownWithItsTitle)
{
    // Plies 1 and 2, group 5 holding ply 3.
    const auto demo = [this] { lam.SetLayup(layuptest::Root({Ply(301), Ply(301), Group(5, {Ply(301)})})); };
    const struct
    {
        std::vector<int> plies, groups;
        std::function<void()> command;
        std::string warning;
    } rows[] = {
        {{}, {}, [this] { engine.Undo(); }, "ShowWarning(\"Command playback error\",\"undo stack is empty\")"},
        {{}, {}, [this] { lam.SetLayup(layuptest::Root({})); engine.Ok(); },
         "ShowWarning(\"Validation Warning\",\"Cannot save an empty laminate definition\")"},
        {{3}, {}, [this] { Selection group;
                     group.SetGroups({5});
                     Layups().Copy(group);
                      engine.Paste(false, false, false, 1); },
         "ShowWarning(\"Paste Error\",\"Paste: cannot nest groups\")"},
        {{}, {}, [this] { engine.CreateGroup(); }, "ShowWarning(\"Group Creation Error\",\"empty list of plies\")"},
        {{1}, {}, [this] { engine.CreateLink(); }, "ShowWarning(\"Group Linking Error\",\"Unsuitable selection\")"},
        {{}, {7}, [this] { engine.Ungroup(); }, "ShowWarning(\"Ungrouping Error\",\"Could not find selected group\")"},
        {{}, {7}, [this] { engine.Unlink(); }, "ShowWarning(\"Unlinking Error\",\"Selected group not found\")"},
        {{99}, {}, [this] { engine.SelectColor("Red"); }, "ShowWarning(\"Ply Modification Error\",\"Ply not found"},
        {{1}, {}, [this] { engine.SelectMaterial("no such"); },
         "ShowWarning(\"Material Selection Warning\",\"unknown material\")"},
        {{99}, {}, [this] { lam.store.QueuePick(302); engine.SelectMaterial(nullptr); },
         "ShowWarning(\"Ply Modification Error\",\"Ply not found"},
        {{}, {}, [this] {
             Layups().ModifyMaterial(Plies({1}), 302);
             lam.store.Data().materials.pop_back(); // 303 and 302 leave the host
             lam.store.Data().materials.pop_back();
             lam.store.QueuePick(-1, 1);
             engine.BrowseMaterials();
         }, "ShowWarningArgs(\"Material Reference Error\",\"Ply %1 references non-existing material %2\",1,302)"},
    };
    for (const auto &row : rows) {
        demo();
        Select(row.plies, row.groups);
        row.command();
        std::vector<std::string> warnings = view.Take("ShowWarning");
        ASSERT_EQ(warnings.size(), 1u) << row.warning << " after " << LastCommand();
        EXPECT_EQ(warnings[0].rfind(row.warning, 0), 0u) << warnings[0];
    }
}

TEST_F(LayupEditTest, EditsRebuildTheViewsAndUndoAlwaysDoes)
{
    const struct
    {
        std::vector<int> plies, groups;
        std::function<void()> command;
        std::string refresh, recorded;
    } rows[] = {
        {{}, {}, [this] { lam.SetLayup(layuptest::Root({Ply(301), Ply(301), Group(5, {Ply(301)}), Ply(301)})); },
         "", ""},
        {{1, 2}, {}, [this] { engine.CreateGroup(); }, "Refresh(1,0)", "Create Group"},
        {{}, {5}, [this] { engine.Ungroup(); }, "Refresh(1,0)", "Ungroup"},
        {{4}, {}, [this] { engine.Cut(); }, "Refresh(1,1)", "Cut"},
        {{1}, {}, [this] { engine.Delete(); }, "Refresh(1,1)", "Delete"},
        {{1}, {}, [this] { engine.SelectColor("Navy"); }, "Refresh(1,1)", "Modify Color"},
        {{1}, {}, [this] { engine.SelectColor("navy"); }, "", ""},
        {{1}, {}, [this] { engine.SelectMaterial("Glass/epoxy UD 0.25"); }, "", ""}, // not met yet
        {{1}, {}, [this] { lam.store.QueuePick(302); EXPECT_TRUE(engine.SelectMaterial("Select...")); },
         "Refresh(1,1)", "Modify Material"},
        {{2}, {}, [this] { EXPECT_FALSE(engine.SelectMaterial("Glass/epoxy UD 0.25")); }, "Refresh(1,1)",
         "Modify Material"},
        {{}, {}, [this] { EXPECT_TRUE(engine.SelectMaterial(nullptr)); }, "", ""}, // nothing picked
        {{}, {}, [this] { engine.Undo(); }, "Refresh(1,1)", "Modify Material"},
    };
    int row = 0;
    for (const auto &r : rows) {
        ++row;
        const std::string before = LastCommand();
        Select(r.plies, r.groups);
        r.command();
        std::vector<std::string> refreshes = view.Take("Refresh");
        EXPECT_EQ(refreshes, r.refresh.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.refresh})
            << row;
        EXPECT_EQ(LastCommand(), r.recorded.empty() ? before : r.recorded) << row;
    }
}

TEST_F(LayupEditTest, AutoGroupStepsUntilDoneAndAnAbortRecordsNothing)
{
    lam.SetLayup(layuptest::Root({Ply(301), Ply(302), Ply(301), Ply(302), Ply(301), Ply(302)}));
    float progress = -1;
    ASSERT_FALSE(engine.AutoGroup(&progress));
    engine.AutoGroupFinish();
    EXPECT_EQ(LastCommand(), "");
    EXPECT_TRUE(view.Take("Refresh").empty());
    int steps = 1;
    while (!engine.AutoGroup(&progress))
        ASSERT_LT(++steps, 10000);
    EXPECT_FLOAT_EQ(progress, 1.0f);
    EXPECT_EQ(view.Take("Refresh"), std::vector<std::string>{"Refresh(1,0)"});
    EXPECT_NE(LastCommand(), "");
}

TEST_F(LayupEditTest, ExportLogsThePropertyListing)
{
    LogCapture log;
    engine.Export();
    ASSERT_FALSE(LogCapture::Lines().empty());
    EXPECT_NE(std::find_if(LogCapture::Lines().begin(), LogCapture::Lines().end(),
                           [](const std::string &line) { return line.find("Tsai") != std::string::npos; }),
              LogCapture::Lines().end());
}

} // namespace
