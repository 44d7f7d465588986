// Script requests through corvane.so: what a script run saves, what it prints
// when it fails, and the host's failures around it.

#include "tests/module/moduletest.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

using LamHost::Fault;
using LamHost::HostPly;
using LamHost::Slot;

// The current laminate of the edit tests: two different plies, simple stacking.
const HostPly A{0.125f, 30.0f, 301, 2};
const HostPly B{0.25f, 60.0f, 302, 3};
const HostPly C{0.2f, -45.0f, 303, 4}; // the ply that kAddC adds
const char kAddC[] = "AddPly{Material = 303, Thickness = 0.2, Angle = -45, Color = 4";

HostPly WithAngle(HostPly ply, float angle)
{
    ply.angle = angle;
    return ply;
}

class ScriptModuleTest : public ModuleTest
{
protected:
    void UseTwoPlies()
    {
        start_.laminates.at(0).plies = {A, B};
    }
};

TEST_F(ScriptModuleTest, EmptyScriptSavesTheLoadedLaminateUnchanged)
{
    const std::vector<HostPly> loaded = start_.laminates[0].plies;
    EXPECT_EQ(Modify(""), Lines{ModelerHeader()});
    ASSERT_EQ(store_.LaminateSaves().size(), 1u);
    const LamHost::LaminateSave &save = store_.LaminateSaves()[0];
    EXPECT_EQ(save.saveMode, lamSaveModify);
    EXPECT_EQ(save.plyCount, 8);
    EXPECT_EQ(save.plies, loaded); // bit for bit
    EXPECT_EQ(save.referencePlane, -0.5f);
    EXPECT_EQ(save.referenceTemperature, 20.0);
}

TEST_F(ScriptModuleTest, EditsSaveTheExpandedStack)
{
    UseTwoPlies();
    struct Case
    {
        const char *name;
        std::string script;
        std::vector<HostPly> saved;
    };
    const std::string addC = kAddC;
    const Case cases[] = {
        {"add on top", addC + "}", {A, B, C}},
        {"add at the bottom", addC + ", Location = 'Below'}", {C, A, B}},
        {"location is case-sensitive", addC + ", Location = 'below'}", {A, B, C}},
        {"add above a ply", "SelectPly(1) " + addC + "}", {A, C, B}},
        {"add below a ply", "SelectPly(2) " + addC + ", Location = 'Below'}", {A, C, B}},
        {"angle 90 and the default colour", "AddPly{Material = 3, Thickness = 0.1, Angle = 90}",
         {A, B, {0.1f, 90.0f, 3, 1}}},
        {"int fields truncate", "AddPly{Material = 303.9, Thickness = 0.2, Angle = -45, Color = 4.7}", {A, B, C}},
        {"modify every value", "SelectPly(2) ModifyPly{Material = 303, Thickness = 0.2, Angle = -45, Color = 4}",
         {A, C}},
        {"modify passes 120 on", "SelectPly(1) ModifyPly{Angle = 120}", {WithAngle(A, 120.0f), B}},
        {"empty modify changes nothing", "SelectAll() ModifyPly{}", {A, B}},
        {"delete", "SelectPly(1) Delete()", {B}},
        {"cut and paste on top", "SelectPly(1) Cut() Paste()", {B, A}},
        {"paste without a table repeats once above", "SelectAll() Copy() Paste()", {A, B, A, B}},
        {"paste symmetrically", "SelectAll() Copy() Paste{Style = 'Symmetry'}", {A, B, B, A}},
        {"paste antisymmetrically", "SelectAll() Copy() Paste{Style = 'Antisymmetry'}",
         {A, B, WithAngle(B, -60.0f), WithAngle(A, -30.0f)}},
        {"paste twice below", "SelectAll() Copy() Paste{Count = 2, Location = 'Below'}", {A, B, A, B, A, B}},
        {"full symmetric", "SetStackingSequence('Full Symmetric')", {A, B, B, A}},
        {"symmetric with core", "SetStackingSequence('Symmetric With Core')", {A, B, A}},
        {"full repeat", "SetStackingSequence('Full Repeat')", {A, B, A, B}},
        {"repeat with core", "SetStackingSequence('Repeat With Core')", {A, B, A}},
        {"a ply added under a stacking rule", "SetStackingSequence('Full Symmetric') " + addC + "}",
         {A, B, C, C, B, A}},
        // A link repeats its group: a change of the group shows in the link's plies.
        {"group, link, then change the group",
         "SelectAll() Copy() Paste{Style = 'Symmetry'} "
         "SelectPly(1) SelectPly(2) Group() SelectPly(3) SelectPly(4) Group() "
         "SelectGroup(1) SelectGroup(2) Link() SelectPly(1) ModifyPly{Angle = 15}",
         {WithAngle(A, 15.0f), B, B, WithAngle(A, 15.0f)}},
        {"unlinked, the copy stays",
         "SelectAll() Copy() Paste{Style = 'Symmetry'} "
         "SelectPly(1) SelectPly(2) Group() SelectPly(3) SelectPly(4) Group() "
         "SelectGroup(1) SelectGroup(2) Link() SelectGroup(2) Unlink() SelectPly(1) ModifyPly{Angle = 15}",
         {WithAngle(A, 15.0f), B, B, A}},
        {"a pasted group becomes a link",
         "SelectPly(1) SelectPly(2) Group() SelectGroup(1) Copy() Paste{Style = 'Symmetry'} "
         "SelectPly(2) ModifyPly{Color = 9}",
         {A, {0.25f, 60.0f, 302, 9}, {0.25f, 60.0f, 302, 9}, A}},
        {"ungroup", "SelectPly(1) SelectPly(2) Group() SelectGroup(1) Ungroup() SelectPly(2) Delete()", {A}},
        {"automatic grouping keeps the stack", "SelectAll() Copy() Paste{Style = 'Symmetry'} AutoGroup()",
         {A, B, B, A}},
        {"a refused edit is silent", "SelectPly(1) SelectPly(3) Group() SelectGroup(7) Unlink() " + addC + "}",
         {A, B, C}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Modify(c.script), Lines{ModelerHeader()});
        EXPECT_EQ(SavedPlies(), c.saved);
    }
}

TEST_F(ScriptModuleTest, CountsFollowTheEdits)
{
    UseTwoPlies();
    const Lines lines = Modify("Message(CountPlies() .. ' ' .. CountGroups()) "
                               "SetStackingSequence('Symmetric With Core') "
                               "SelectAll() Copy() Paste{Style = 'Symmetry'} "
                               "SelectPly(1) SelectPly(2) Group() SelectPly(3) SelectPly(4) Group() "
                               "SelectGroup(1) SelectGroup(2) Link() "
                               "Message(CountPlies() .. ' ' .. CountGroups()) "
                               "Message(math.type(CountPlies()))");
    EXPECT_EQ(lines, (Lines{ModelerHeader(), "2 0", "7 2", "integer"}));
}

TEST_F(ScriptModuleTest, PropertiesAndReferencePlaneAreSaved)
{
    UseTwoPlies(); // 0.375 thick
    struct Case
    {
        const char *script;
        float referencePlane;
    };
    const Case planes[] = {
        {"SetReferencePlane{Method = 'Top'}", -0.375f},
        {"SetReferencePlane{Method = 'Middle'}", -0.1875f},
        {"SetReferencePlane{Method = 'Bottom'}", 0.0f},
        {"SetReferencePlane{Method = 'UserDefined', Location = 0.75}", 0.75f},
        {"SetReferencePlane{Location = -0.25}", -0.25f},
    };
    for (const Case &c : planes) {
        SCOPED_TRACE(c.script);
        Modify(c.script);
        ASSERT_EQ(store_.LaminateSaves().size(), 1u);
        EXPECT_EQ(store_.LaminateSaves()[0].referencePlane, c.referencePlane);
    }

    Modify("SetProperties{Theory = 'Hill', F12 = 0.25, BondingStress = 5, NonStructuralMass = 0.5, "
           "Damping = 0.125, RefTemperature = 30}");
    ASSERT_EQ(store_.LaminateSaves().size(), 1u);
    const LamHost::LaminateSave &save = store_.LaminateSaves()[0];
    EXPECT_EQ(save.failureTheory, 1);
    EXPECT_EQ(save.tsaiWuCoefficient, 0.25f);
    EXPECT_EQ(save.bondingStress, 5.0f);
    EXPECT_EQ(save.nonStructuralMass, 0.5);
    EXPECT_EQ(save.damping, 0.125);
    EXPECT_EQ(save.referenceTemperature, 30.0);
}

TEST_F(ScriptModuleTest, CreatingStartsEmptyAndSavesInCreateMode)
{
    const Lines lines = Create("Message(CountPlies()) " + std::string(kAddC) + "}");
    EXPECT_EQ(lines, (Lines{ModelerHeader(), "0"}));
    EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), 0);
    ASSERT_EQ(store_.LaminateSaves().size(), 1u);
    EXPECT_EQ(store_.LaminateSaves()[0].saveMode, lamSaveCreate);
    EXPECT_EQ(store_.LaminateSaves()[0].plies, std::vector<HostPly>{C});
}

// Every failed run prints its lines and saves nothing.
TEST_F(ScriptModuleTest, FailedRunsPrintTheirLinesAndSaveNothing)
{
    struct Case
    {
        const char *name;
        std::string script;
        std::vector<std::string> after; // the lines after the header; "@" stands for the path
    };
    const Case cases[] = {
        {"usage error", "AddPly{Material = 301}", {"error: AddPly: Thickness not specified or invalid",
                                                    "Error running script"}},
        {"edits before the error are not saved", std::string(kAddC) + "} Delete(1)",
         {"error: usage: Delete()", "Error running script"}},
        {"runtime error with its position", "Message('a')\nerror('boom')",
         {"a", "error: @:2: boom", "Error running script"}},
        {"error with a table value", "error({})", {"error: (no message)", "Error running script"}},
        {"redefined _ERRORMESSAGE", "function _ERRORMESSAGE(m) Message('custom: ' .. m) end AddPly()",
         {"custom: usage: AddPly( ply-params-table )", "Error running script"}},
        {"_ERRORMESSAGE as it stands at the error",
         "function _ERRORMESSAGE(m) Message('first') end\n"
         "local function fail() _ERRORMESSAGE = function(m) Message('second: ' .. m) end error('x', 0) end\n"
         "fail()",
         {"second: x", "Error running script"}},
        {"no _ERRORMESSAGE", "_ERRORMESSAGE = nil Cut(1)", {"Error running script"}},
        {"error in _ERRORMESSAGE", "function _ERRORMESSAGE(m) error('again') end Copy(1)",
         {"Internal error running script"}},
        {"syntax error", "Message('a')\nAddPly{", {"error: @:2: unexpected symbol near <eof>",
                                                   "Syntax error in script"}},
        {"precompiled chunk", std::string("\x1bLua\x54\x00", 6),
         {"error: attempt to load a binary chunk (mode is 't')", "Syntax error in script"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Lines lines = Modify(c.script);
        Lines expected{ModelerHeader()};
        for (std::string line : c.after) {
            if (const size_t at = line.find('@'); at != std::string::npos)
                line.replace(at, 1, scriptPath_);
            expected.push_back(line);
        }
        EXPECT_EQ(lines, expected);
        EXPECT_TRUE(store_.LaminateSaves().empty());
    }
}

TEST_F(ScriptModuleTest, ACaughtErrorDoesNotStopTheScript)
{
    UseTwoPlies();
    const Lines lines = Modify("local ok, m = pcall(AddPly, {}) Message(tostring(ok) .. ': ' .. m) "
                               "Message(tostring(load(string.dump(function() end))))");
    EXPECT_EQ(lines, (Lines{ModelerHeader(), "false: AddPly: Material not specified or invalid", "nil"}));
    EXPECT_EQ(SavedPlies(), (std::vector<HostPly>{A, B}));
}

// The file goes away between the session's check and the run.
TEST_F(ScriptModuleTest, AScriptThatCannotBeReadGivesTheSystemText)
{
    struct Case
    {
        const char *name;
        void (*spoil)(const std::string &path);
        int error;
    };
    const Case cases[] = {
        {"removed", [](const std::string &path) { std::filesystem::remove(path); }, ENOENT},
        {"replaced by a folder",
         [](const std::string &path) {
             std::filesystem::remove(path);
             std::filesystem::create_directory(path);
         },
         EISDIR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UseScript("Message('ran')");
        // The header is printed just before the file is read.
        store_.SetLineSink([&](const std::string &line) {
            if (line == ModelerHeader())
                c.spoil(scriptPath_);
        });
        const Lines lines = Request([this] { module_->lamModeler(0); });
        EXPECT_EQ(lines, (Lines{ModelerHeader(), "Error opening script:", std::strerror(c.error)}));
        EXPECT_TRUE(store_.LaminateSaves().empty());
        store_.SetLineSink(nullptr);
        std::filesystem::remove_all(scriptPath_);
    }
}

TEST_F(ScriptModuleTest, CancelStopsTheEditsAndTheSave)
{
    store_.QueuePick(301);
    const Lines lines = Modify("Cancel() AddPly{Material = 301, Thickness = 0.1, Angle = 0} Message('x') "
                               "local n, id = CountPlies(), SelectMaterial() Message(tostring(n)) "
                               "Message(select('#', SelectMaterial()) .. ' values') "
                               "AddPly() Paste(1, 2) Message(Mode() .. ' ' .. Platform() .. ' ' .. Version())");
    EXPECT_EQ(lines, (Lines{ModelerHeader(), "Canceling script", "x", "nil", "0 values", "LaminateModeling linux v11.1"}));
    EXPECT_TRUE(store_.LaminateSaves().empty());
    EXPECT_EQ(store_.Calls(Slot::SelectMaterial), 0);

    // Functions that keep working after Cancel() still check their arguments.
    EXPECT_EQ(Modify("Cancel() Message()"),
              (Lines{ModelerHeader(), "Canceling script", "error: usage: Message(msg)", "Error running script"}));
    EXPECT_EQ(Modify("Cancel(1, 2) Cancel()"), (Lines{ModelerHeader(), "Canceling script", "Canceling script"}));
}

TEST_F(ScriptModuleTest, EachRunStartsAfresh)
{
    UseTwoPlies();
    EXPECT_EQ(Modify("Cancel() x = 1"), (Lines{ModelerHeader(), "Canceling script"}));
    EXPECT_EQ(Modify("Message(tostring(x)) SelectAll() Copy()"), (Lines{ModelerHeader(), "nil"}));
    EXPECT_EQ(Modify("Paste()"), Lines{ModelerHeader()}); // an empty clipboard pastes nothing
    EXPECT_EQ(SavedPlies(), (std::vector<HostPly>{A, B}));
}

TEST_F(ScriptModuleTest, PlyMaterialScriptsSaveThePlyMaterial)
{
    const Lines lines = PlyMaterial("Message(Mode()) SetFiber{Material = 101, Fraction = 0.625} "
                                    "SetMatrix{Material = 201, Fraction = 0.375} "
                                    "SetElasticTheory('HalpinTsai', {Description = 'DiscontinuousRibbon', "
                                    "AvgLength = 2, AvgWidth = 0.5, AvgThickness = 0.0625, ReinforceE11 = 2}) "
                                    "SetThermalTheory('Energy')");
    EXPECT_EQ(lines, (Lines{PlyMaterialHeader(), "PlyMaterialCreation"}));
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 1u);
    const LamHost::HostPlyMaterial &saved = store_.PlyMaterialSaves()[0].material;
    EXPECT_EQ(saved.fiberMaterial, 101);
    EXPECT_EQ(saved.matrixMaterial, 201);
    EXPECT_EQ(saved.fiberFraction, 0.625);
    EXPECT_EQ(saved.matrixFraction, 0.375);
    EXPECT_EQ(saved.elasticTheory, 1);
    EXPECT_EQ(saved.halpinTsaiOption, 4);
    EXPECT_EQ(saved.ribbonLength, 2.0);
    EXPECT_EQ(saved.ribbonWidth, 0.5);
    EXPECT_EQ(saved.ribbonThickness, 0.0625);
    EXPECT_EQ(saved.factors[0], 2.0);
    EXPECT_EQ(saved.factors[1], 1.0);
    EXPECT_EQ(saved.thermalTheory, 2);
    EXPECT_TRUE(store_.LaminateSaves().empty());

    EXPECT_EQ(PlyMaterial("SetFiber{Material = 101} Cancel()"), (Lines{PlyMaterialHeader(), "Canceling script"}));
    EXPECT_TRUE(store_.PlyMaterialSaves().empty());
}

TEST_F(ScriptModuleTest, RibbonDefaultsAreInTheHostsLengthUnit)
{
    struct Row
    {
        int units;
        const char *width; // the field as the script gives it, or empty
        double length, widthSaved, thickness;
    };
    const Row rows[] = {
        {10, "", 0.1, 0.1, 0.05}, // millimetres
        {7, "", 0.003937007874015748, 0.003937007874015748, 0.001968503937007874}, // inches
        {7, ", AvgWidth = 0.3", 0.003937007874015748, 0.3, 0.001968503937007874},
    };
    for (const Row &row : rows) {
        start_.unitSystem = row.units;
        PlyMaterial(std::string("SetElasticTheory('HalpinTsai', {Description = 'DiscontinuousRibbon'") + row.width
                    + "})");
        ASSERT_EQ(store_.PlyMaterialSaves().size(), 1u);
        const LamHost::HostPlyMaterial &saved = store_.PlyMaterialSaves()[0].material;
        EXPECT_DOUBLE_EQ(saved.ribbonLength, row.length) << row.units;
        EXPECT_EQ(saved.ribbonWidth, row.widthSaved) << row.units; // a given value exactly as given
        EXPECT_DOUBLE_EQ(saved.ribbonThickness, row.thickness) << row.units;
    }
}

TEST_F(ScriptModuleTest, ASketchInScriptModeDoesNothing)
{
    UseScript("Message('never')");
    EXPECT_EQ(Request([this] { module_->lamSketcher(); }), Lines{});
    for (int slot = 0; slot < LamHost::kSlotCount; ++slot)
        EXPECT_EQ(store_.Calls(static_cast<Slot>(slot)), slot == static_cast<int>(Slot::GetScriptPath) ? 1 : 0)
            << LamHost::SlotName(static_cast<Slot>(slot));
}

TEST_F(ScriptModuleTest, HostFailuresGiveTheirInitializationErrors)
{
    struct Case
    {
        const char *name;
        Slot slot;
        Fault fault;
        int operation; // 0 modify, 1 create, 2 ply material
        bool scriptRuns;
        const char *title;
        const char *text;
    };
    const Case cases[] = {
        {"load", Slot::GetCurrentLaminate, Fault::Fail(1), 0, false, "Reading Laminate definition",
         "Error loading current laminate"},
        {"load plies", Slot::GetCurrentLaminatePlies, Fault::Fail(-3), 0, false, "Reading Laminate definition",
         "Error loading current laminate plies"},
        {"Tsai-Wu type refused", Slot::SaveLaminate, Fault::Fail(lamTsaiWuTypeRefused), 0, true, "Saving Laminate",
         "Error saving laminate, wrong Tsai-Wu interaction type?"},
        {"save refused", Slot::SaveLaminate, Fault::Fail(1), 0, true, "Saving Laminate",
         "Error saving current laminate"},
        {"new laminate refused", Slot::SaveLaminate, Fault::Fail(lamTsaiWuTypeRefused), 1, true, "Saving Laminate",
         "Error saving laminate, wrong Tsai-Wu interaction type?"},
        {"ply material refused", Slot::SavePlyMaterial, Fault::Fail(2), 2, true, "Creating Ply Material",
         "Error saving current ply material"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        store_.ClearFaults();
        store_.SetFault(c.slot, c.fault);
        UseScript("Message('ran')");
        const Lines lines = Request([&] {
            if (c.operation == 2)
                module_->lamPlyMaterial();
            else
                module_->lamModeler(c.operation);
        });
        Lines expected;
        if (c.scriptRuns)
            expected = {c.operation == 2 ? PlyMaterialHeader() : ModelerHeader(), "ran"};
        expected.push_back(std::string("INITIALIZATION ERROR: ") + c.title);
        expected.push_back(c.text);
        EXPECT_EQ(lines, expected);
    }
}

// A missing callback counts as a failing one; without ShowMessage the lines are dropped.
TEST_F(ScriptModuleTest, NullSlotsFailOrDrop)
{
    store_.SetNullSlot(Slot::GetCurrentLaminate);
    EXPECT_EQ(Modify("Message('ran')"),
              (Lines{"INITIALIZATION ERROR: Reading Laminate definition", "Error loading current laminate"}));
    store_.ClearFaults();
    store_.SetNullSlot(Slot::SaveLaminate);
    EXPECT_EQ(Modify(""), (Lines{ModelerHeader(), "INITIALIZATION ERROR: Saving Laminate",
                                 "Error saving current laminate"}));
    store_.ClearFaults();
    store_.SetNullSlot(Slot::ShowMessage);
    EXPECT_EQ(Modify("Message('dropped') AddPly{Material = 301, Thickness = 0.1, Angle = 0}"), Lines{});
    ASSERT_EQ(store_.LaminateSaves().size(), 1u);
    EXPECT_EQ(store_.LaminateSaves()[0].plyCount, 10); // the loaded stack is symmetric
}

} // namespace
