#include "script/scriptapi.h"

#include "host/appcontext.h"
#include "script/laminatecommands.h"
#include "script/luafields.h"
#include "script/luarunner.h"
#include "script/plymaterialcommands.h"
#include "script/scriptapitesting.h"
#include "util/logger.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <utility>

namespace {

struct ApiState
{
    std::unique_ptr<LuaRunner> runner;
    AppContext *context = nullptr;
    std::unique_ptr<LaminateCommands> laminate;
    std::unique_ptr<PlyMaterialCommands> plyMaterial;
    bool modelerMode = true;
    bool cancelled = false;
    // A C++ exception that a script function raised; the run ends with it.
    std::exception_ptr pending;
};

ApiState api;
std::string scriptVersion;
lua_Alloc gAllocator = nullptr;
void *gAllocatorData = nullptr;
void (*gOpenHook)(lua_State *) = nullptr;

// A function of the script interface that does nothing once the script cancelled.
#define RETURN_IF_CANCELLED() \
    if (api.cancelled)        \
        return 0

bool NoArguments(lua_State *L) { return lua_gettop(L) == 0; }
bool OneTable(lua_State *L) { return lua_gettop(L) == 1 && lua_istable(L, 1); }

// A number for a float parameter: false when it is not finite as a float.
bool ToFiniteFloat(double value, float &out)
{
    out = static_cast<float>(value);
    return std::isfinite(out);
}

int lamSetReferencePlane(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const char *usage = "usage: SetReferencePlane( ref-plane-params-table )";
    if (!OneTable(L))
        return usageError(L, usage);
    bool wrongType = false;
    const std::string method = GetStringField(L, "Method", "UserDefined", wrongType);
    float location = 0.0f;
    if (!ToFiniteFloat(GetNumberField(L, "Location", 0.0, wrongType), location) || wrongType)
        return usageError(L, usage);
    static const char *const methods[] = {"Top", "Middle", "Bottom", "UserDefined"};
    for (int i = 0; i < 4; ++i) {
        if (method == methods[i]) {
            api.laminate->SetReferencePlane(i + 1, location);
            return 0;
        }
    }
    return usageError(L, "SetReferencePlane: Method is invalid");
}

int lamSetProperties(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const char *usage = "usage: SetProperties( prop-params-table )";
    if (!OneTable(L))
        return usageError(L, usage);
    bool wrongType = false;
    const std::string theory = GetStringField(L, "Theory", "", wrongType);
    const char *keys[] = {"F12", "BondingStress", "NonStructuralMass", "Damping", "RefTemperature"};
    const double defaults[] = {-999.0, -1.0, -1.0, -1.0, -999.0};
    float values[5];
    for (int i = 0; i < 5; ++i)
        if (!ToFiniteFloat(GetNumberField(L, keys[i], defaults[i], wrongType), values[i]))
            return usageError(L, usage);
    if (wrongType)
        return usageError(L, usage);
    if (!api.laminate->SetProperties(theory, values[0], values[1], values[2], values[3], values[4]))
        return usageError(L, "SetProperties: Theory is invalid");
    return 0;
}

int lamSetStackingSequence(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (lua_gettop(L) != 1 || !lua_isstring(L, 1))
        return usageError(L, "usage: SetStackingSequence( <name> )");
    static const char *const names[] = {"Full Symmetric", "Symmetric With Core", "Full Repeat", "Repeat With Core"};
    const char *name = lua_tostring(L, 1);
    for (int i = 0; i < 4; ++i) {
        if (std::strcmp(name, names[i]) == 0) {
            api.laminate->SetStackingSequence(i + 1);
            return 0;
        }
    }
    return usageError(L, "SetStackingSequence: unrecognized stacking name");
}

void PrintListingHeader()
{
    ScriptApi::Print("");
    ScriptApi::Print("Listing of laminate:");
    ScriptApi::Print("====================");
}

int lamList(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: List()");
    PrintListingHeader();
    api.laminate->ListProperties();
    api.laminate->ListLayup();
    ScriptApi::Print("");
    return 0;
}

int lamCountPlies(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: CountPlies()");
    lua_pushinteger(L, api.laminate->CountPlies());
    return 1;
}

int lamCountGroups(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: CountGroups()");
    lua_pushinteger(L, api.laminate->CountGroups());
    return 1;
}

// The functions that take no argument and call one operation of the laminate target.
template <void (LaminateCommands::*Operation)()>
int CallNoArguments(lua_State *L, const char *usage)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, usage);
    (api.laminate.get()->*Operation)();
    return 0;
}

int lamUnselectAll(lua_State *L) { return CallNoArguments<&LaminateCommands::UnselectAll>(L, "usage: UnselectAll()"); }
int lamSelectAll(lua_State *L) { return CallNoArguments<&LaminateCommands::SelectAll>(L, "usage: SelectAll()"); }
int lamDelete(lua_State *L) { return CallNoArguments<&LaminateCommands::Delete>(L, "usage: Delete()"); }
int lamCopy(lua_State *L) { return CallNoArguments<&LaminateCommands::Copy>(L, "usage: Copy()"); }
int lamCut(lua_State *L) { return CallNoArguments<&LaminateCommands::Cut>(L, "usage: Cut()"); }
int lamGroup(lua_State *L) { return CallNoArguments<&LaminateCommands::Group>(L, "usage: Group()"); }
int lamUngroup(lua_State *L) { return CallNoArguments<&LaminateCommands::Ungroup>(L, "usage: Ungroup()"); }
int lamLink(lua_State *L) { return CallNoArguments<&LaminateCommands::Link>(L, "usage: Link()"); }
int lamUnlink(lua_State *L) { return CallNoArguments<&LaminateCommands::Unlink>(L, "usage: Unlink()"); }
int lamAutoGroup(lua_State *L) { return CallNoArguments<&LaminateCommands::AutoGroup>(L, "usage: AutoGroup()"); }

int lamShowSelection(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: ShowSelection()");
    api.laminate->ShowSelection();
    return 0;
}

// SelectPly and SelectGroup: one number, truncated to int.
int SelectOne(lua_State *L, const char *usage, void (LaminateCommands::*select)(int))
{
    RETURN_IF_CANCELLED();
    if (lua_gettop(L) != 1 || !lua_isnumber(L, 1))
        return usageError(L, usage);
    (api.laminate.get()->*select)(CheckedInt(lua_tonumber(L, 1), 0));
    return 0;
}

int lamSelectPly(lua_State *L) { return SelectOne(L, "usage: SelectPly(plyId)", &LaminateCommands::SelectPly); }
int lamSelectGroup(lua_State *L) { return SelectOne(L, "usage: SelectGroup(groupId)", &LaminateCommands::SelectGroup); }

int lamAddPly(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const char *usage = "usage: AddPly( ply-params-table )";
    if (!OneTable(L))
        return usageError(L, usage);
    bool wrongType = false;
    const int material = GetIntField(L, "Material", -1, wrongType);
    const double thickness = GetNumberField(L, "Thickness", -1.0, wrongType);
    const double angle = GetNumberField(L, "Angle", -999.0, wrongType);
    const int color = GetIntField(L, "Color", 1, wrongType);
    const std::string location = GetStringField(L, "Location", "Above", wrongType);
    if (wrongType)
        return usageError(L, usage);
    float thicknessValue = 0.0f, angleValue = 0.0f;
    if (material < 1)
        return usageError(L, "AddPly: Material not specified or invalid");
    // Written so that NaN and values beyond a float fail the checks too.
    if (!ToFiniteFloat(thickness, thicknessValue) || !(thicknessValue > 0.0f))
        return usageError(L, "AddPly: Thickness not specified or invalid");
    if (!ToFiniteFloat(angle, angleValue) || !(angle >= -90.0 && angle <= 90.0))
        return usageError(L, "AddPly: Angle not specified or invalid");
    if (color < 0)
        return usageError(L, "AddPly: color invalid");
    api.laminate->AddPly(material, thicknessValue, angleValue, color, location == "Below");
    return 0;
}

int lamModifyPly(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const char *usage = "usage: ModifyPly( ply-params-table )";
    if (!OneTable(L))
        return usageError(L, usage);
    bool wrongType = false;
    const int material = GetIntField(L, "Material", -1, wrongType);
    const double thickness = GetNumberField(L, "Thickness", -1.0, wrongType);
    const double angle = GetNumberField(L, "Angle", -999.0, wrongType);
    const int color = GetIntField(L, "Color", -1, wrongType);
    float thicknessValue = 0.0f, angleValue = 0.0f;
    if (wrongType || !ToFiniteFloat(thickness, thicknessValue) || !ToFiniteFloat(angle, angleValue))
        return usageError(L, usage);
    if (material > 0)
        api.laminate->ModifyPlyMaterial(material);
    if (thicknessValue > 0.0f)
        api.laminate->ModifyPlyThickness(thicknessValue);
    if (angle >= -90.0)
        api.laminate->ModifyPlyAngle(angleValue);
    if (color >= 0)
        api.laminate->ModifyPlyColor(color);
    return 0;
}

int lamPaste(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const char *usage = "usage: Paste( [paste-params-table] )";
    if (lua_gettop(L) > 1 || (lua_gettop(L) == 1 && !lua_istable(L, 1)))
        return usageError(L, usage);
    std::string style = "Repeat", location = "Above";
    int count = 1;
    if (lua_gettop(L) == 1) {
        bool wrongType = false;
        style = GetStringField(L, "Style", "Repeat", wrongType);
        location = GetStringField(L, "Location", "Above", wrongType);
        count = GetIntField(L, "Count", 1, wrongType);
        if (wrongType)
            return usageError(L, usage);
    }
    if (style != "Symmetry" && style != "Antisymmetry" && style != "Repeat")
        return usageError(L, "Paste: Style is unrecognized");
    if (location != "Below" && location != "Above")
        return usageError(L, "Paste: Location is unrecognized");
    if (count < 1)
        return usageError(L, "Paste: Count must be strictly positive");
    api.laminate->Paste(style != "Repeat", style == "Antisymmetry", location == "Below", count);
    return 0;
}

// SetFiber and SetMatrix.
int SetConstituent(lua_State *L, bool fiber)
{
    RETURN_IF_CANCELLED();
    const char *usage = fiber ? "usage: SetFiber( material-and-fraction-table )"
                              : "usage: SetMatrix( material-and-fraction-table )";
    if (!OneTable(L))
        return usageError(L, usage);
    bool wrongType = false;
    const int material = GetIntField(L, "Material", 0, wrongType);
    float fraction = 0.0f;
    if (!ToFiniteFloat(GetNumberField(L, "Fraction", -1.0, wrongType), fraction) || wrongType)
        return usageError(L, usage);
    if (!api.plyMaterial->SetConstituent(fiber, material, fraction))
        return usageError(L, fiber ? "SetFiber: Material is invalid" : "SetMatrix: Material is invalid");
    return 0;
}

int lamSetFiber(lua_State *L) { return SetConstituent(L, true); }
int lamSetMatrix(lua_State *L) { return SetConstituent(L, false); }

int lamListPlyMaterial(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: List()");
    PrintListingHeader();
    api.plyMaterial->List();
    ScriptApi::Print("");
    return 0;
}

int lamSetThermalTheory(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (lua_gettop(L) != 1 || !lua_isstring(L, 1))
        return usageError(L, "usage: SetThermalTheory( <name> )");
    const char *name = lua_tostring(L, 1);
    if (std::strcmp(name, "Levin") == 0)
        api.plyMaterial->SetThermalTheory(1);
    else if (std::strcmp(name, "Energy") == 0)
        api.plyMaterial->SetThermalTheory(2);
    else
        return usageError(L, "SetThermalTheory: unrecognized theory name");
    return 0;
}

// Index + 1 of name in names, or 0.
int CodeOf(const std::string &name, std::initializer_list<const char *> names)
{
    int code = 1;
    for (const char *candidate : names) {
        if (name == candidate)
            return code;
        ++code;
    }
    return 0;
}

int lamSetElasticTheory(lua_State *L)
{
    RETURN_IF_CANCELLED();
    const int arguments = lua_gettop(L);
    if (arguments < 1 || arguments > 2)
        return usageError(L, "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )");
    if (!lua_isstring(L, 1))
        return usageError(L, "SetElasticTheory: 1st arg must be a string");
    const int theory = CodeOf(lua_tostring(L, 1), {"HalpinTsai", "MechanicsOfMaterials", "CompositeCylinderAssemblage",
                                                   "GoughTangorra", "AkasakaHirano", "UserDefined"});
    if (theory == 0)
        return usageError(L, "SetElasticTheory: theory name unrecognized");
    int option = 0;
    double values[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    if (theory == 1) {
        if (arguments != 2 || !lua_istable(L, 2))
            return usageError(L, "SetElasticTheory: options table required for HalpinTsai");
        lua_remove(L, 1);
        bool wrongType = false;
        const std::string description = GetStringField(L, "Description", "ContinuousFiber", wrongType);
        const char *keys[] = {"LongitudinalAspectRatio", "RibbonDimensions", "AvgLength", "AvgWidth",
                              "AvgThickness", "ReinforceE11", "ReinforceE22", "ReinforceNU12",
                              "ReinforceNU23", "ReinforceG12"};
        // The ribbon's dimensions default to the record's own, in the host's length unit.
        const std::array<double, 3> ribbon = api.plyMaterial->RibbonDefaults();
        const double defaults[] = {0.5, 0.5, ribbon[0], ribbon[1], ribbon[2], 1.0, 1.0, 1.0, 1.0, 1.0};
        float checked = 0.0f;
        for (int i = 0; i < 10; ++i) {
            values[i] = GetNumberField(L, keys[i], defaults[i], wrongType);
            if (!ToFiniteFloat(values[i], checked))
                wrongType = true;
        }
        if (wrongType)
            return usageError(L, "usage: SetElasticTheory( <name>, [Halpin-Tsai-params-table] )");
        option = CodeOf(description, {"ContinuousFiber", "DiscontinuousFiber", "ContinuousRibbon",
                                      "DiscontinuousRibbon", "Particulate", "UserDefined"});
        if (option == 0)
            return usageError(L, "SetElasticTheory: Description unrecognized for Halpin-Tsai");
    }
    api.plyMaterial->SetElasticTheory(theory, option, values[0], values[1], values[2], values[3], values[4],
                                      values[5], values[6], values[7], values[8], values[9]);
    return 0;
}

int lamSelectMaterial(lua_State *L)
{
    RETURN_IF_CANCELLED();
    if (!NoArguments(L))
        return usageError(L, "usage: SelectMaterial()");
    ScriptContext *target = api.modelerMode ? static_cast<ScriptContext *>(api.laminate.get())
                                            : static_cast<ScriptContext *>(api.plyMaterial.get());
    const int id = target->SelectMaterial();
    if (id < 0)
        lua_pushnil(L);
    else
        lua_pushinteger(L, id);
    return 1;
}

int lamMessage(lua_State *L)
{
    if (lua_gettop(L) != 1)
        return usageError(L, "usage: Message(msg)");
    const char *text = lua_tostring(L, 1);
    if (!text)
        return usageError(L, "Message() argument must be a string");
    ScriptApi::Print(text);
    return 0;
}

int lamMode(lua_State *L)
{
    if (!NoArguments(L))
        return usageError(L, "usage: Mode()");
    lua_pushstring(L, api.modelerMode ? "LaminateModeling" : "PlyMaterialCreation");
    return 1;
}

int lamPlatform(lua_State *L)
{
    if (!NoArguments(L))
        return usageError(L, "usage: Platform()");
#ifdef _WIN32
    lua_pushstring(L, "win");
#else
    lua_pushstring(L, "linux");
#endif
    return 1;
}

int lamVersion(lua_State *L)
{
    if (!NoArguments(L))
        return usageError(L, "usage: Version()");
    lua_pushstring(L, scriptVersion.c_str());
    return 1;
}

int lamCancel(lua_State *)
{
    ScriptApi::Print("Canceling script");
    api.cancelled = true;
    return 0;
}

int lamErrorMessage(lua_State *L)
{
    const char *message = lua_tostring(L, 1);
    ScriptApi::Print((std::string("error: ") + (message ? message : "(no message)")).c_str());
    return 0;
}

// Runs one script function. Lua turns a C++ exception into an error that the
// script can catch with pcall and go on from, although the function may have
// stopped halfway through its edits (out of memory, in practice): the run is
// cancelled, so that nothing is saved, and RunFile passes the exception on.
// Lua's own errors travel as exceptions of another type and pass untouched.
template <lua_CFunction Function>
int Guarded(lua_State *L)
{
    try {
        return Function(L);
    } catch (const std::exception &) {
        if (!api.pending)
            api.pending = std::current_exception();
        api.cancelled = true;
        throw;
    }
}

const luaL_Reg kErrorHandler[] = {
    {"_ERRORMESSAGE", Guarded<lamErrorMessage>},
    {nullptr, nullptr},
};

const luaL_Reg kLaminateFunctions[] = {
    {"SetReferencePlane", Guarded<lamSetReferencePlane>},
    {"SetProperties", Guarded<lamSetProperties>},
    {"SetStackingSequence", Guarded<lamSetStackingSequence>},
    {"List", Guarded<lamList>},
    {"CountPlies", Guarded<lamCountPlies>},
    {"CountGroups", Guarded<lamCountGroups>},
    {"UnselectAll", Guarded<lamUnselectAll>},
    {"SelectAll", Guarded<lamSelectAll>},
    {"SelectPly", Guarded<lamSelectPly>},
    {"SelectGroup", Guarded<lamSelectGroup>},
    {"ShowSelection", Guarded<lamShowSelection>},
    {"AddPly", Guarded<lamAddPly>},
    {"ModifyPly", Guarded<lamModifyPly>},
    {"Delete", Guarded<lamDelete>},
    {"Copy", Guarded<lamCopy>},
    {"Cut", Guarded<lamCut>},
    {"Paste", Guarded<lamPaste>},
    {"Group", Guarded<lamGroup>},
    {"Ungroup", Guarded<lamUngroup>},
    {"Link", Guarded<lamLink>},
    {"Unlink", Guarded<lamUnlink>},
    {"AutoGroup", Guarded<lamAutoGroup>},
    {nullptr, nullptr},
};

const luaL_Reg kPlyMaterialFunctions[] = {
    {"List", Guarded<lamListPlyMaterial>},
    {"SetFiber", Guarded<lamSetFiber>},
    {"SetMatrix", Guarded<lamSetMatrix>},
    {"SetThermalTheory", Guarded<lamSetThermalTheory>},
    {"SetElasticTheory", Guarded<lamSetElasticTheory>},
    {nullptr, nullptr},
};

const luaL_Reg kCommonFunctions[] = {
    {"SelectMaterial", Guarded<lamSelectMaterial>},
    {"Message", Guarded<lamMessage>},
    {"Mode", Guarded<lamMode>},
    {"Platform", Guarded<lamPlatform>},
    {"Version", Guarded<lamVersion>},
    {"Cancel", Guarded<lamCancel>},
    {nullptr, nullptr},
};

} // namespace

void ScriptApi::Open(AppContext *context, bool modeler)
{
    if (api.runner)
        return;
    api.cancelled = false;
    api.pending = nullptr;
    api.modelerMode = modeler;
    api.context = context;
    api.laminate = std::make_unique<LaminateCommands>(context, &ScriptApi::Print);
    api.plyMaterial = std::make_unique<PlyMaterialCommands>(context, &ScriptApi::Print);
    auto runner = gAllocator ? std::make_unique<LuaRunner>(gAllocator, gAllocatorData) : std::make_unique<LuaRunner>();
    if (!runner->State())
        return; // out of memory: RunFile reports that no interpreter is there
    if (runner->Register(kErrorHandler) && runner->Register(modeler ? kLaminateFunctions : kPlyMaterialFunctions)
        && runner->Register(kCommonFunctions)) {
        if (gOpenHook)
            gOpenHook(runner->State());
        api.runner = std::move(runner);
    }
}

int ScriptApi::RunFile(const char *path)
{
    if (!api.runner) {
        Print("Error: scripting engine not initialized.");
        api.cancelled = true; // a script that did not run must not be saved
        return 0;
    }
    const int result = api.runner->RunFile(path);
    if (api.pending) {
        std::exception_ptr pending = std::exchange(api.pending, nullptr);
        std::rethrow_exception(pending);
    }
    if (result != LuaRunner::RunOk)
        ReportRunError(result);
    return result;
}

void ScriptApi::ReportRunError(int code)
{
    const int error = errno; // printing may change it
    switch (code) {
    case LuaRunner::RunError:
        Print("Error running script");
        break;
    case LuaRunner::RunFileError:
        Print("Error opening script:");
        Print(std::strerror(error));
        break;
    case LuaRunner::RunSyntaxError:
        Print("Syntax error in script");
        break;
    default:
        Print("Internal error running script");
        break;
    }
    api.cancelled = true;
}

void ScriptApi::Close()
{
    api.runner.reset();
    api.laminate.reset();
    api.plyMaterial.reset();
    api.context = nullptr;
    api.pending = nullptr;
}

bool ScriptApi::IsCancelled() { return api.cancelled; }

void ScriptApi::Print(const char *text) { Tuvo::Logger::Root()->Log(20, text); }

void ScriptApi::SetScriptVersion(const std::string &version) { scriptVersion = version; }

void SetScriptAllocator(lua_Alloc alloc, void *userData)
{
    gAllocator = alloc;
    gAllocatorData = userData;
}

void SetScriptOpenHook(void (*hook)(lua_State *)) { gOpenHook = hook; }
