// The values a host hands over, through whole requests: every callback's
// result code and values come from the input (texts with and without NUL,
// any int, float and double including NaN, infinities and huge values,
// negative and huge counts). A request loads the host's laminate, runs one of
// a few fixed scripts (none, or an edit) and saves; or creates a laminate; or
// makes a ply material. Besides the sanitizers' findings it aborts when:
// - a laminate save hands over a thickness or angle that is not finite, or a
//   ply count other than the expanded stack's (the script's last CountPlies(),
//   or, without an edit, the count loaded), or, without an edit, other plies
//   than those loaded (angles folded into [-90, 90]);
// - a ply material save hands over a value that is not finite;
// - the host is called after a failed load for anything but the error lines;
// - an exception reaches the entry call.

#include "fuzz/requestprobe.h"
#include "host/lamcallbacks.h"
#include "util/tolerance.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QCoreApplication>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using fuzzprobe::Fail;

// The scripts a request runs; the ones that edit end by telling the count.
struct Script
{
    const char *text;
    int entry; // 0 modify, 1 create, 2 ply material
    bool edits;
};

const Script kScripts[] = {
    {"", 0, false},
    {"SelectPly(1)\nSelectPly(2)\nCopy()\nPaste{Style = \"Symmetry\"}\n"
     "AddPly{Material = 301, Thickness = 0.5, Angle = 45, Color = 2}\nMessage(\"count \" .. CountPlies())\n",
     0, true},
    // The grouping's time grows with the square of the plies: a few hundred keep a run short.
    {"if CountPlies() <= 400 then AutoGroup() end\nList()\nMessage(\"count \" .. CountPlies())\n", 0, true},
    {"SetStackingSequence(\"Full Symmetric\")\nSelectAll()\nModifyPly{Thickness = 0.25, Angle = -30}\n"
     "SelectPly(1)\nDelete()\nMessage(\"count \" .. CountPlies())\n",
     0, true},
    {"AddPly{Material = SelectMaterial() or 301, Thickness = 0.125, Angle = 30, Color = 3}\nList()\n"
     "Message(\"count \" .. CountPlies())\n",
     1, true},
    {"SetFiber{Material = SelectMaterial() or 101, Fraction = 0.6}\nSetMatrix{Material = 201, Fraction = 0.4}\n"
     "SetElasticTheory(\"HalpinTsai\", {Description = \"DiscontinuousRibbon\"})\nList()\n",
     2, false},
};
constexpr int kScriptCount = sizeof kScripts / sizeof kScripts[0];

struct Loaded
{
    float thickness;
    float angle;
    int material;
    int color;
};

// One request's state: the input and what the host was asked and answered.
struct Exchange
{
    FuzzedDataProvider *input = nullptr;
    std::vector<std::string> lines;
    int colorsGiven = 0;
    int pliesGiven = 0;
    bool loadFailed = false;
    bool headerLoaded = false;
    std::vector<Loaded> loaded;
    int saves = 0;
    const Script *script = nullptr;
};

Exchange gExchange;
fuzzprobe::LoggedLines *gLogged = nullptr;
std::string gFolder;
std::vector<std::string> gPaths;

FuzzedDataProvider &In() { return *gExchange.input; }

// After a failed load the host hears only the error lines.
void Enter(const char *callback)
{
    if (gExchange.loadFailed)
        Fail("called after a failed load", callback);
}

int Int()
{
    static const int kEdges[] = {0, 1, -1, 2, 3, 6, 7, 999, 100000, 100001, INT_MIN, INT_MAX};
    if (In().ConsumeBool())
        return In().PickValueInArray(kEdges);
    return In().ConsumeIntegral<int>();
}

int Result()
{
    static const int kFailures[] = {1, -1, 999, INT_MIN, INT_MAX};
    return In().ConsumeIntegralInRange(0, 3) == 0 ? In().PickValueInArray(kFailures) : 0;
}

template <class Real, class Bits>
Real Raw()
{
    static const Real kEdges[] = {0, -Real(0), 1, 0.125, 90, -90, 180, 270, -135, 1e30f,
                                  std::numeric_limits<Real>::quiet_NaN(), std::numeric_limits<Real>::infinity(),
                                  -std::numeric_limits<Real>::infinity(), std::numeric_limits<Real>::max(),
                                  std::numeric_limits<Real>::lowest(), std::numeric_limits<Real>::denorm_min()};
    if (In().ConsumeBool())
        return In().PickValueInArray(kEdges);
    const Bits bits = In().ConsumeIntegral<Bits>();
    Real value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float Float() { return Raw<float, uint32_t>(); }
double Double() { return Raw<double, uint64_t>(); }

// A ply or colour count: mostly small, now and then at or beyond the limits.
int Count()
{
    static const int kEdges[] = {0, -1, INT_MIN, INT_MAX, 100000, 100001};
    if (In().ConsumeIntegralInRange(0, 31) == 0)
        return In().PickValueInArray(kEdges);
    return In().ConsumeIntegralInRange(0, 40);
}

// A text into a buffer of size bytes: the input's bytes, then a NUL or, as a
// careless host would, more bytes to the buffer's end.
void Text(char *buffer, size_t size)
{
    const std::string text = In().ConsumeBytesAsString(In().ConsumeIntegralInRange<size_t>(0, size));
    std::memcpy(buffer, text.data(), text.size());
    if (text.size() < size) {
        if (In().ConsumeBool())
            buffer[text.size()] = '\0';
        else
            std::memset(buffer + text.size(), 'x', size - text.size());
    }
}

int CbGetLanguage()
{
    Enter("GetLanguage");
    return Int();
}

int CbGetUnitSystem()
{
    Enter("GetUnitSystem");
    return In().ConsumeBool() ? In().ConsumeIntegralInRange(1, 20) : Int();
}

int CbGetColorCount()
{
    Enter("GetColorCount");
    gExchange.colorsGiven = Count();
    return gExchange.colorsGiven;
}

int CbGetColorIDs(int *ids)
{
    Enter("GetColorIDs");
    const int rc = Result();
    for (int i = 0; i < gExchange.colorsGiven; ++i)
        ids[i] = In().ConsumeIntegralInRange(-2, 20);
    return rc;
}

int CbGetColor(int, char *name, int *rgb)
{
    Enter("GetColor");
    const int rc = Result();
    Text(name, lamTextBufferSize);
    for (int i = 0; i < 3; ++i)
        rgb[i] = Int();
    return rc;
}

int CbGetScriptPath(char *path)
{
    Enter("GetScriptPath");
    const std::string &script = gPaths[static_cast<size_t>(gExchange.script - kScripts)];
    std::memcpy(path, script.c_str(), script.size() + 1);
    return 0;
}

void CbShowMessage(const char *line)
{
    gExchange.lines.emplace_back(line ? line : "(null)");
}

int CbGetMaterial(int, char *name, char *type)
{
    Enter("GetMaterial");
    const int rc = Result();
    Text(name, lamTextBufferSize);
    Text(type, lamTextBufferSize);
    return rc;
}

int CbSelectMaterial(int, int *id)
{
    Enter("SelectMaterial");
    const int rc = Result();
    *id = Int();
    return rc;
}

int CbSavePlyMaterial(int, int, double matrixFraction, double fiberFraction, int, double *factors, int, int,
                      double aspectRatio, double transverseRibbon, double ribbonLength, double ribbonWidth,
                      double ribbonThickness, int)
{
    Enter("SavePlyMaterial");
    const double values[] = {matrixFraction, fiberFraction,  aspectRatio,    transverseRibbon, ribbonLength,
                             ribbonWidth,    ribbonThickness, factors[0],    factors[1],       factors[2],
                             factors[3],     factors[4]};
    for (const double value : values) {
        if (!std::isfinite(value))
            Fail("ply material value not finite", std::to_string(value));
    }
    ++gExchange.saves;
    return Result();
}

int CbGetCurrentLaminate(char *name, int *hostNumber, int *failureTheory, int *hostOption, float *referencePlane,
                         float *bondingStress, float *tsaiWuCoefficient, double *nonStructuralMass, double *damping,
                         double *referenceTemperature, int *plyCount)
{
    Enter("GetCurrentLaminate");
    const int rc = Result();
    Text(name, lamTextBufferSize);
    *hostNumber = Int();
    *failureTheory = Int();
    *hostOption = Int();
    *referencePlane = Float();
    *bondingStress = Float();
    *tsaiWuCoefficient = Float();
    *nonStructuralMass = Double();
    *damping = Double();
    *referenceTemperature = Double();
    *plyCount = gExchange.pliesGiven = Count();
    // The module refuses a count above its limit before asking for the plies.
    gExchange.loadFailed = rc != 0 || gExchange.pliesGiven > 100000;
    gExchange.headerLoaded = !gExchange.loadFailed;
    return rc;
}

int CbGetCurrentLaminatePlies(float *thicknesses, float *angles, int *materials, int *colors)
{
    Enter("GetCurrentLaminatePlies");
    const int rc = Result();
    gExchange.loaded.clear();
    bool finite = true;
    for (int i = 0; i < gExchange.pliesGiven && In().remaining_bytes() > 0; ++i) {
        thicknesses[i] = In().ConsumeBool() ? 0.25f : Float();
        angles[i] = In().ConsumeBool() ? 45.0f : Float();
        materials[i] = In().ConsumeBool() ? 301 : Int();
        colors[i] = In().ConsumeIntegralInRange(0, 3);
        finite = finite && std::isfinite(thicknesses[i]) && std::isfinite(angles[i]);
    }
    for (int i = 0; i < gExchange.pliesGiven; ++i)
        gExchange.loaded.push_back({thicknesses[i], angles[i], materials[i], colors[i]});
    gExchange.loadFailed = rc != 0 || !finite;
    return rc;
}

// The angle as folding into [-90, 90] by steps of 180 gives it.
float Folded(float angle)
{
    double r = angle;
    if (r > 90.0 || r < -90.0) {
        r = std::fmod(r, 180.0);
        if (r > 90.0)
            r -= 180.0;
        else if (r < -90.0)
            r += 180.0;
    }
    return static_cast<float>(r);
}

// The count that the script told last, or -1.
int ToldCount()
{
    for (auto it = gExchange.lines.rbegin(); it != gExchange.lines.rend(); ++it) {
        if (it->rfind("count ", 0) == 0)
            return std::atoi(it->c_str() + 6);
    }
    return -1;
}

int CbSaveLaminate(int, int, int, float, float, int, float, double, double, double, int plyCount,
                   float *thicknesses, float *angles, int *materials, int *colors)
{
    Enter("SaveLaminate");
    ++gExchange.saves;
    if (plyCount < 0 || !thicknesses || !angles || !materials || !colors)
        Fail("ply count or arrays", std::to_string(plyCount));
    for (int i = 0; i < plyCount; ++i) {
        if (!std::isfinite(thicknesses[i]) || !std::isfinite(angles[i]))
            Fail("saved ply value not finite", std::to_string(i));
    }
    const Script &script = *gExchange.script;
    if (script.edits) {
        if (plyCount != ToldCount())
            Fail("saved ply count is not the stack's", std::to_string(plyCount) + " " + std::to_string(ToldCount()));
    } else {
        // The loaded plies come back as they were: the stacking rule found on
        // loading is expanded again on saving.
        const int expected = gExchange.headerLoaded ? std::max(gExchange.pliesGiven, 0) : 0;
        if (plyCount != expected)
            Fail("saved ply count is not the loaded one", std::to_string(plyCount) + " " + std::to_string(expected));
        for (int i = 0; i < plyCount; ++i) {
            const Loaded &ply = gExchange.loaded[static_cast<size_t>(i)];
            if (materials[i] != ply.material || colors[i] != ply.color
                || ValuesDiffer(thicknesses[i], ply.thickness, 1e-6f)
                || ValuesDiffer(angles[i], Folded(ply.angle), 1e-6f))
                Fail("saved ply is not the loaded one", std::to_string(i));
        }
    }
    return Result();
}

const lamCallbacksImp kTable = {
    nullptr,          CbGetLanguage,      CbGetUnitSystem, nullptr,          CbGetColorCount,
    CbGetColorIDs,    CbGetColor,         CbGetScriptPath, CbShowMessage,    nullptr,
    CbGetMaterial,    CbSelectMaterial,   CbSavePlyMaterial, CbGetCurrentLaminate, CbGetCurrentLaminatePlies,
    CbSaveLaminate,
};
lamCallbacksImp gTable = kTable;

struct ScratchFolder
{
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!gFolder.empty())
            std::filesystem::remove_all(gFolder, ignored);
    }
} gCleanup;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    unsetenv("CORVANE_DEBUG");
    static int argc = 1;
    static char name[] = "fuzz_hostload";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // kept for the process, as a host running Qt would
    char folder[] = "/tmp/corvane-fuzz-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    gFolder = folder;
    for (int i = 0; i < kScriptCount; ++i) {
        gPaths.push_back(gFolder + "/script" + std::to_string(i) + ".lua");
        std::ofstream(gPaths.back()) << kScripts[i].text;
    }
    gLogged = fuzzprobe::Attach();
    lamSetup(&gTable);
    // One small request of each script first, so that what the libraries set up
    // once for the process is not counted against the first input: a run that
    // allocates more than it frees makes libFuzzer run the input again.
    for (int i = 0; i < kScriptCount; ++i) {
        const auto pick = static_cast<uint8_t>(i);
        LLVMFuzzerTestOneInput(&pick, 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    gExchange = Exchange();
    gExchange.input = &input;
    gExchange.script = &kScripts[input.ConsumeIntegralInRange(0, kScriptCount - 1)];
    gLogged->lines.clear();
    switch (gExchange.script->entry) {
    case 0: lamModeler(0); break;
    case 1: lamModeler(1); break;
    default: lamPlyMaterial(); break;
    }
    fuzzprobe::CheckShown(gExchange.lines, *gLogged);
    if (gExchange.loadFailed && gExchange.saves != 0)
        Fail("saved after a failed load", "");
    // Keep nothing allocated between runs: libFuzzer runs an input again, to
    // look for leaks, whenever a run allocated more than it freed.
    gExchange = Exchange();
    std::vector<std::string>().swap(gLogged->lines);
    return 0;
}
