#include "requestharness.h"

#include "failingalloc.h"

#include "host/lamcallbacks.h"

#include <cstring>

namespace reliability {

const char kModifyScript[] = R"(Message("Plies before: " .. CountPlies())
AddPly{Material = SelectMaterial() or 301, Thickness = 0.125, Angle = 30, Color = 3}
AddPly{Material = 302, Thickness = 0.25, Angle = -30, Color = 4}
SelectPly(5)
SelectPly(6)
Group()
AddPly{Material = 301, Thickness = 0.125, Angle = 30, Color = 3}
AddPly{Material = 302, Thickness = 0.25, Angle = -30, Color = 4}
SelectPly(7)
SelectPly(8)
Group()
SelectGroup(1)
SelectGroup(2)
Link()
SelectPly(1)
SelectPly(2)
Copy()
SelectPly(2)
Paste{Style = "Antisymmetry", Count = 2}
Message("Groups: " .. CountGroups())
List()
)";

const char kCreateScript[] = R"(for _, angle in ipairs({0, 45, -45, 90}) do
  AddPly{Material = 301, Thickness = 0.125, Angle = angle, Color = 2}
end
SetStackingSequence("Full Symmetric")
SetProperties{Theory = "Hoffman", BondingStress = 12.5}
SetReferencePlane{Method = "Top"}
List()
)";

const char kPlyMaterialScript[] = R"(SetFiber{Material = SelectMaterial() or 101, Fraction = 0.6}
SetMatrix{Material = 201, Fraction = 0.4}
SetElasticTheory("HalpinTsai", {Description = "DiscontinuousRibbon", AvgLength = 2.0, AvgWidth = 0.5})
SetThermalTheory("Energy")
Message("Mode: " .. Mode())
List()
)";

namespace {

Outcome *gRecording = nullptr;
bool gModuleSetUp = false;

// The module's session takes the table without telling; a request that
// reaches the host shows that it exists.
int gProbeCalls = 0;
void Probe(LamHost::Slot) { ++gProbeCalls; }

void Note(LamHost::Slot slot)
{
    if (gRecording)
        gRecording->calls.push_back(slot);
}

bool SameFloat(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || a == b;
}

} // namespace

Harness::Harness() : store_(LamHost::DemoStore())
{
    // Interactive requests end at once for want of a display, as on a server.
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env_.Unset(display);
    store_.Activate();
    SetUpModule();
    modifyPath_ = WriteScript("modify.lua", kModifyScript);
    createPath_ = WriteScript("create.lua", kCreateScript);
    plyMaterialPath_ = WriteScript("plymat.lua", kPlyMaterialScript);
}

Harness::~Harness() = default;

void Harness::SetUpModule()
{
    if (gModuleSetUp)
        return;
    lamSetup(GuardedTable());
    failalloc::Pause pause;
    // A sketcher request asks the host for the script path first thing.
    // Without a display it ends there rather than wait in its dialog, also
    // when a test calls this without a Harness.
    gProbeCalls = 0;
    SetCallObserver(Probe);
    {
        ScopedEnv noDisplay;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            noDisplay.Unset(name);
        InRequest scope;
        lamSketcher();
    }
    SetCallObserver(nullptr);
    gModuleSetUp = gProbeCalls > 0;
}

bool Harness::ModuleSetUp() { return gModuleSetUp; }

std::string Harness::WriteScript(const std::string &name, const std::string &text)
{
    failalloc::Pause pause;
    return dir_.Write(name, text);
}

template <class Entry>
Outcome Harness::Run(const std::string &path, Entry entry)
{
    Outcome outcome;
    {
        failalloc::Pause pause;
        store_.Data() = LamHost::DemoStore();
        store_.ClearRecords();
        store_.BeginRequest();
        store_.SetScriptPath(path);
        // The picker's answer; one left over from a request that ended early is used instead.
        if (store_.PendingPicks() == 0)
            store_.QueuePick(kPickedMaterial);
        Sync();
    }
    gRecording = &outcome;
    SetCallObserver(Note);
    {
        InRequest scope;
        entry();
    }
    SetCallObserver(nullptr);
    gRecording = nullptr;
    failalloc::Pause pause;
    outcome.lines = store_.Transcript();
    outcome.laminateSaves = store_.LaminateSaves();
    outcome.plyMaterialSaves = store_.PlyMaterialSaves();
    return outcome;
}

Outcome Harness::Modify(const std::string &path)
{
    return Run(path, [] { lamModeler(0); });
}

Outcome Harness::Create(const std::string &path)
{
    return Run(path, [] { lamModeler(1); });
}

Outcome Harness::PlyMaterial(const std::string &path)
{
    return Run(path, [] { lamPlyMaterial(); });
}

bool SameSave(const LamHost::LaminateSave &a, const LamHost::LaminateSave &b)
{
    if (a.saveMode != b.saveMode || a.failureTheory != b.failureTheory || a.hostOption != b.hostOption
        || !SameFloat(a.referencePlane, b.referencePlane) || !SameFloat(a.bondingStress, b.bondingStress)
        || a.tsaiWuType != b.tsaiWuType || !SameFloat(a.tsaiWuCoefficient, b.tsaiWuCoefficient)
        || !SameFloat(a.nonStructuralMass, b.nonStructuralMass) || !SameFloat(a.damping, b.damping)
        || !SameFloat(a.referenceTemperature, b.referenceTemperature) || a.plyCount != b.plyCount
        || a.plies.size() != b.plies.size() || a.result != b.result)
        return false;
    for (size_t i = 0; i < a.plies.size(); ++i) {
        const LamHost::HostPly &p = a.plies[i];
        const LamHost::HostPly &q = b.plies[i];
        if (!SameFloat(p.thickness, q.thickness) || !SameFloat(p.angle, q.angle) || p.material != q.material
            || p.color != q.color)
            return false;
    }
    return true;
}

bool SameSave(const LamHost::PlyMaterialSave &a, const LamHost::PlyMaterialSave &b)
{
    const LamHost::HostPlyMaterial &m = a.material;
    const LamHost::HostPlyMaterial &n = b.material;
    bool same = a.result == b.result && m.matrixMaterial == n.matrixMaterial && m.fiberMaterial == n.fiberMaterial
                && m.elasticTheory == n.elasticTheory && m.halpinTsaiOption == n.halpinTsaiOption
                && m.extraOption == n.extraOption && m.thermalTheory == n.thermalTheory;
    const double values[][2] = {{m.matrixFraction, n.matrixFraction}, {m.fiberFraction, n.fiberFraction},
                                {m.aspectRatio, n.aspectRatio},       {m.transverseRibbon, n.transverseRibbon},
                                {m.ribbonLength, n.ribbonLength},     {m.ribbonWidth, n.ribbonWidth},
                                {m.ribbonThickness, n.ribbonThickness}};
    for (const auto &pair : values)
        same = same && SameFloat(pair[0], pair[1]);
    for (size_t i = 0; i < m.factors.size(); ++i)
        same = same && SameFloat(m.factors[i], n.factors[i]);
    return same;
}

bool SameSaves(const Outcome &a, const Outcome &b)
{
    if (a.laminateSaves.size() != b.laminateSaves.size() || a.plyMaterialSaves.size() != b.plyMaterialSaves.size())
        return false;
    for (size_t i = 0; i < a.laminateSaves.size(); ++i) {
        if (!SameSave(a.laminateSaves[i], b.laminateSaves[i]))
            return false;
    }
    for (size_t i = 0; i < a.plyMaterialSaves.size(); ++i) {
        if (!SameSave(a.plyMaterialSaves[i], b.plyMaterialSaves[i]))
            return false;
    }
    return true;
}

} // namespace reliability
