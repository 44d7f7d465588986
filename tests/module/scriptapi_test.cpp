// The global functions of the script interface, through corvane.so: their
// checks and messages (one row per usage error), their results, and which
// functions and libraries each mode has.

#include "tests/module/moduletest.h"

#include <algorithm>

namespace {

using LamHost::Slot;

struct UsageCase
{
    const char *call;
    const char *message;
};

// Laminate mode: each call raises exactly this message.
const UsageCase kLaminateUsage[] = {
    {"SetReferencePlane()", "usage: SetReferencePlane( ref-plane-params-table )"},
    {"SetReferencePlane('Top')", "usage: SetReferencePlane( ref-plane-params-table )"},
    {"SetReferencePlane({}, {})", "usage: SetReferencePlane( ref-plane-params-table )"},
    {"SetReferencePlane{Method = {}}", "usage: SetReferencePlane( ref-plane-params-table )"},
    {"SetReferencePlane{Location = 'abc'}", "usage: SetReferencePlane( ref-plane-params-table )"},
    {"SetReferencePlane{Method = 'top'}", "SetReferencePlane: Method is invalid"},
    {"SetProperties()", "usage: SetProperties( prop-params-table )"},
    {"SetProperties{Damping = true}", "usage: SetProperties( prop-params-table )"},
    {"SetProperties{Theory = 'Tsai Wu'}", "SetProperties: Theory is invalid"},
    {"SetStackingSequence()", "usage: SetStackingSequence( <name> )"},
    {"SetStackingSequence({})", "usage: SetStackingSequence( <name> )"},
    {"SetStackingSequence('Full Repeat', 1)", "usage: SetStackingSequence( <name> )"},
    {"SetStackingSequence('Simple')", "SetStackingSequence: unrecognized stacking name"},
    {"SetStackingSequence('full symmetric')", "SetStackingSequence: unrecognized stacking name"},
    {"SetStackingSequence(1)", "SetStackingSequence: unrecognized stacking name"},
    {"List(1)", "usage: List()"},
    {"CountPlies(1)", "usage: CountPlies()"},
    {"CountGroups(nil)", "usage: CountGroups()"},
    {"UnselectAll(1)", "usage: UnselectAll()"},
    {"SelectAll(1)", "usage: SelectAll()"},
    {"SelectPly()", "usage: SelectPly(plyId)"},
    {"SelectPly('one')", "usage: SelectPly(plyId)"},
    {"SelectPly(1, 2)", "usage: SelectPly(plyId)"},
    {"SelectGroup()", "usage: SelectGroup(groupId)"},
    {"SelectGroup({})", "usage: SelectGroup(groupId)"},
    {"ShowSelection(1)", "usage: ShowSelection()"},
    {"AddPly()", "usage: AddPly( ply-params-table )"},
    {"AddPly(1)", "usage: AddPly( ply-params-table )"},
    {"AddPly({}, {})", "usage: AddPly( ply-params-table )"},
    {"AddPly{Material = 'carbon', Thickness = 1, Angle = 0}", "usage: AddPly( ply-params-table )"},
    {"AddPly{Material = 3, Thickness = 1, Angle = 0, Location = {}}", "usage: AddPly( ply-params-table )"},
    {"AddPly{}", "AddPly: Material not specified or invalid"},
    {"AddPly{Material = 0.5, Thickness = 1, Angle = 0}", "AddPly: Material not specified or invalid"},
    {"AddPly{Material = 0/0, Thickness = 1, Angle = 0}", "AddPly: Material not specified or invalid"},
    {"AddPly{Material = 3, Angle = 0}", "AddPly: Thickness not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 0, Angle = 0}", "AddPly: Thickness not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 0/0, Angle = 0}", "AddPly: Thickness not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1e300, Angle = 0}", "AddPly: Thickness not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1}", "AddPly: Angle not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1, Angle = 90.5}", "AddPly: Angle not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1, Angle = -90.5}", "AddPly: Angle not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1, Angle = 0/0}", "AddPly: Angle not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1, Angle = 0, Color = -1}", "AddPly: color invalid"},
    {"AddPly{Material = 0, Thickness = 0, Angle = 91, Color = -1}", "AddPly: Material not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 0, Angle = 91, Color = -1}", "AddPly: Thickness not specified or invalid"},
    {"AddPly{Material = 3, Thickness = 1, Angle = 91, Color = -1}", "AddPly: Angle not specified or invalid"},
    {"AddPly{Material = 0, Color = {}}", "usage: AddPly( ply-params-table )"},
    {"ModifyPly()", "usage: ModifyPly( ply-params-table )"},
    {"ModifyPly('x')", "usage: ModifyPly( ply-params-table )"},
    {"ModifyPly{Angle = 'steep'}", "usage: ModifyPly( ply-params-table )"},
    {"Delete(1)", "usage: Delete()"},
    {"Copy(1)", "usage: Copy()"},
    {"Cut(1)", "usage: Cut()"},
    {"Paste(1)", "usage: Paste( [paste-params-table] )"},
    {"Paste({}, {})", "usage: Paste( [paste-params-table] )"},
    {"Paste{Count = 'two'}", "usage: Paste( [paste-params-table] )"},
    {"Paste{Style = 'Mirror'}", "Paste: Style is unrecognized"},
    {"Paste{Style = 'symmetry'}", "Paste: Style is unrecognized"},
    {"Paste{Location = 'Top'}", "Paste: Location is unrecognized"},
    {"Paste{Count = 0}", "Paste: Count must be strictly positive"},
    {"Paste{Count = 0.9}", "Paste: Count must be strictly positive"},
    {"Paste{Count = -1e300}", "Paste: Count must be strictly positive"},
    {"Paste{Style = 'X', Location = 'Y', Count = 0}", "Paste: Style is unrecognized"},
    {"Paste{Location = 'Y', Count = 0}", "Paste: Location is unrecognized"},
    {"Group(1)", "usage: Group()"},
    {"Ungroup(1)", "usage: Ungroup()"},
    {"Link(1)", "usage: Link()"},
    {"Unlink(1)", "usage: Unlink()"},
    {"AutoGroup(1)", "usage: AutoGroup()"},
    {"SelectMaterial(1)", "usage: SelectMaterial()"},
    {"Message()", "usage: Message(msg)"},
    {"Message('a', 'b')", "usage: Message(msg)"},
    {"Message(nil)", "Message() argument must be a string"},
    {"Message({})", "Message() argument must be a string"},
    {"Message(true)", "Message() argument must be a string"},
    {"Message({}, 1)", "usage: Message(msg)"},
    {"Mode(1)", "usage: Mode()"},
    {"Platform(1)", "usage: Platform()"},
    {"Version(1)", "usage: Version()"},
};

// Ply material mode.
const UsageCase kPlyMaterialUsage[] = {
    {"List(1)", "usage: List()"},
    {"SetFiber()", "usage: SetFiber( material-and-fraction-table )"},
    {"SetFiber(101)", "usage: SetFiber( material-and-fraction-table )"},
    {"SetFiber{Fraction = 'most'}", "usage: SetFiber( material-and-fraction-table )"},
    {"SetFiber{Material = 999}", "SetFiber: Material is invalid"},
    {"SetMatrix()", "usage: SetMatrix( material-and-fraction-table )"},
    {"SetMatrix{Material = 999}", "SetMatrix: Material is invalid"},
    {"SetThermalTheory()", "usage: SetThermalTheory( <name> )"},
    {"SetThermalTheory({})", "usage: SetThermalTheory( <name> )"},
    {"SetThermalTheory('levin')", "SetThermalTheory: unrecognized theory name"},
    {"SetElasticTheory()", "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )"},
    {"SetElasticTheory('UserDefined', {}, {})", "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )"},
    {"SetElasticTheory({})", "SetElasticTheory: 1st arg must be a string"},
    {"SetElasticTheory('Voigt')", "SetElasticTheory: theory name unrecognized"},
    {"SetElasticTheory('Voigt', 5)", "SetElasticTheory: theory name unrecognized"},
    {"SetElasticTheory({}, 1, 2)", "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )"},
    {"SetElasticTheory('HalpinTsai')", "SetElasticTheory: options table required for HalpinTsai"},
    {"SetElasticTheory('HalpinTsai', 'ContinuousFiber')", "SetElasticTheory: options table required for HalpinTsai"},
    {"SetElasticTheory('HalpinTsai', {Description = 'Fibre'})",
     "SetElasticTheory: Description unrecognized for Halpin-Tsai"},
    {"SetElasticTheory('HalpinTsai', {AvgLength = {}})",
     "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )"},
    {"SelectMaterial(1)", "usage: SelectMaterial()"},
    {"Message()", "usage: Message(msg)"},
    {"Mode(1)", "usage: Mode()"},
};

class ScriptApiTest : public ModuleTest
{
};

TEST_F(ScriptApiTest, EveryLaminateUsageErrorEndsTheScript)
{
    for (const UsageCase &c : kLaminateUsage) {
        SCOPED_TRACE(c.call);
        const Lines lines = Modify(std::string(c.call) + " Message('after')");
        EXPECT_EQ(lines, (Lines{ModelerHeader(), std::string("error: ") + c.message, "Error running script"}));
        EXPECT_TRUE(store_.LaminateSaves().empty());
    }
}

TEST_F(ScriptApiTest, EveryPlyMaterialUsageErrorEndsTheScript)
{
    for (const UsageCase &c : kPlyMaterialUsage) {
        SCOPED_TRACE(c.call);
        const Lines lines = PlyMaterial(std::string(c.call) + " Message('after')");
        EXPECT_EQ(lines, (Lines{PlyMaterialHeader(), std::string("error: ") + c.message, "Error running script"}));
        EXPECT_TRUE(store_.PlyMaterialSaves().empty());
    }
}

// The accepted forms of the same functions run to the end and save.
TEST_F(ScriptApiTest, AcceptedCallsRunToTheEnd)
{
    const char *const laminateCalls[] = {
        "SetReferencePlane{}",
        "SetReferencePlane{Method = 'Bottom', Location = '2'}",
        "SetProperties{}",
        "SetProperties{Theory = 'maximum Strain', F12 = '0.5'}",
        "SetStackingSequence('Repeat With Core')",
        "SelectPly('2') SelectGroup(1.5) ShowSelection() UnselectAll()",
        "AddPly{Material = '301', Thickness = 0.1, Angle = 0, Location = 12}",
        "AddPly{Material = 1e300, Thickness = 0.1, Angle = -90, Color = 0}",
        "SelectPly(1) ModifyPly{Angle = -91, Color = -1, Thickness = 0, Material = 0}",
        "Paste{Style = 'Antisymmetry', Location = 'Below', Count = 3}",
        "Message(1.5) Message('') Cancel{}",
    };
    for (const char *call : laminateCalls) {
        SCOPED_TRACE(call);
        const Lines lines = Modify(std::string(call) + " Message('after')");
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "after");
        for (const std::string &line : lines)
            EXPECT_EQ(line.find("error"), std::string::npos) << line;
    }
    const char *const plyMaterialCalls[] = {
        "SetFiber{} SetMatrix{Material = 0, Fraction = 0.5}",
        "SetThermalTheory('Levin') SetThermalTheory('Energy')",
        "SetElasticTheory('MechanicsOfMaterials', 'ignored')",
        "SetElasticTheory('HalpinTsai', {})",
        "SetElasticTheory('AkasakaHirano')",
    };
    for (const char *call : plyMaterialCalls) {
        SCOPED_TRACE(call);
        EXPECT_EQ(PlyMaterial(std::string(call) + " Message('after')"), (Lines{PlyMaterialHeader(), "after"}));
        EXPECT_EQ(store_.PlyMaterialSaves().size(), 1u);
    }
}

TEST_F(ScriptApiTest, InformationFunctions)
{
    EXPECT_EQ(Modify("Message(Mode()) Message(Platform()) Message(Version()) Message(12) Message(2^53)"),
              (Lines{ModelerHeader(), "LaminateModeling", "linux", "v11.1", "12", "9.007199254741e+15"}));
    EXPECT_EQ(PlyMaterial("Message(Mode()) Message(Version())"),
              (Lines{PlyMaterialHeader(), "PlyMaterialCreation", "v11.1"}));
}

// Each mode has its own functions, both have the common ones; only the base,
// io, string, math and table libraries are open.
TEST_F(ScriptApiTest, EachModeHasItsFunctionsAndTheSafeLibraries)
{
    const std::string probe =
        "local names = {'SetReferencePlane', 'SetProperties', 'SetStackingSequence', 'List', 'CountPlies', "
        "'CountGroups', 'UnselectAll', 'SelectAll', 'SelectPly', 'SelectGroup', 'ShowSelection', 'AddPly', "
        "'ModifyPly', 'Delete', 'Copy', 'Cut', 'Paste', 'Group', 'Ungroup', 'Link', 'Unlink', 'AutoGroup', "
        "'SetFiber', 'SetMatrix', 'SetThermalTheory', 'SetElasticTheory', 'SelectMaterial', 'Message', 'Mode', "
        "'Platform', 'Version', 'Cancel', '_ERRORMESSAGE', 'io', 'string', 'math', 'table', 'print', "
        "'os', 'package', 'debug', 'require', 'utf8', 'coroutine'} "
        "local missing = {} "
        "for _, name in ipairs(names) do if _G[name] == nil then missing[#missing + 1] = name end end "
        "Message(table.concat(missing, ' '))";
    EXPECT_EQ(Modify(probe), (Lines{ModelerHeader(), "SetFiber SetMatrix SetThermalTheory SetElasticTheory "
                                                     "os package debug require utf8 coroutine"}));
    EXPECT_EQ(PlyMaterial(probe),
              (Lines{PlyMaterialHeader(),
                     "SetReferencePlane SetProperties SetStackingSequence CountPlies CountGroups UnselectAll "
                     "SelectAll SelectPly SelectGroup ShowSelection AddPly ModifyPly Delete Copy Cut Paste Group "
                     "Ungroup Link Unlink AutoGroup os package debug require utf8 coroutine"}));
}

TEST_F(ScriptApiTest, SelectMaterialAsksTheHostForAPlyMaterial)
{
    struct Case
    {
        int pick;   // queued answer; 0: none queued (the picker is cancelled)
        int result; // the picker's result
        const char *shown;
    };
    const Case cases[] = {
        {301, 0, "301 integer"},
        {-1, 0, "nil"},  // closed without a choice
        {0, 0, "nil"},   // cancelled
        {999, 0, "nil"}, // not in the catalogue
        {302, 1, "nil"}, // the picker failed
    };
    for (const bool laminate : {true, false}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::to_string(c.pick) + (laminate ? " laminate" : " ply material"));
            if (c.pick != 0)
                store_.QueuePick(c.pick, c.result);
            const std::string script = "local id = SelectMaterial() Message(tostring(id) .. "
                                       "(id and ' ' .. math.type(id) or ''))";
            const Lines lines = laminate ? Modify(script) : PlyMaterial(script);
            EXPECT_EQ(lines.back(), c.shown);
            EXPECT_EQ(store_.PickKinds(), std::vector<int>{3});
        }
    }
}

TEST_F(ScriptApiTest, ListingsAndSelectionPrintThroughTheHost)
{
    start_.laminates.at(0).plies = {{0.125f, 30.0f, 301, 2}, {0.25f, 60.0f, 302, 3}};
    const Lines lines = Modify("SelectPly(2) SelectPly(1) SelectPly(2) ShowSelection() List()");
    const Lines expected{ModelerHeader(),
                         "2 plies selected:",
                         "    1    2",
                         "0 groups selected:",
                         "",
                         "Listing of laminate:",
                         "===================="};
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(lines.back(), "");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Ply   2:     0.25 mm @ 60.0 of Glass/epoxy UD 0.25"),
              lines.end());

    const Lines plyMaterial = PlyMaterial("SetFiber{Material = 101, Fraction = 0.5} List()");
    ASSERT_GE(plyMaterial.size(), 4u);
    EXPECT_EQ(plyMaterial[1], "");
    EXPECT_EQ(plyMaterial[2], "Listing of laminate:");
    EXPECT_EQ(plyMaterial[3], "====================");
    EXPECT_NE(std::find(plyMaterial.begin(), plyMaterial.end(), "50 percent of Fiber material: HS carbon fibre"),
              plyMaterial.end());
    EXPECT_EQ(plyMaterial.back(), "");
}

} // namespace
