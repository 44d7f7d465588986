#include "host/laminatemanager.h"

#include "core/plyangle.h"
#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/lamcommandreplace.h"
#include "core/layupclipboard.h"
#include "core/layupmaker.h"
#include "core/layupmanager.h"
#include "core/plysimple.h"
#include "host/hosttext.h"
#include "host/laminatemanagertesting.h"
#include "host/materiallist.h"
#include "util/logline.h"
#include "util/tolerance.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// The method whose location the host's location L is, for a stack of total
// thickness t; user-defined when it is none of them.
int InferReferencePlane(float location, float total)
{
    // A NaN would pass every "not different" test below.
    if (!(total > 0.0f) || !std::isfinite(location))
        return Laminate::UserDefinedLocation;
    if (std::fabs(location) < 1e-10f)
        return Laminate::Bottom;
    if (!ValuesDiffer(location, -total, kPlyTolerance))
        return Laminate::Top;
    if (!ValuesDiffer(location, -0.5f * total, kPlyTolerance))
        return Laminate::Middle;
    return Laminate::UserDefinedLocation;
}

// What replaying the first position commands of the history leaves: the
// laminate, the clipboard and the insertion side that the commands chose (none
// while none chose one).
struct ReplayState
{
    size_t position = 0;
    Laminate laminate;
    LayupClipboard clipboard;
    std::optional<bool> insertBefore;
};

// A copy of clipboard that shares its plies, as laminate copies do.
LayupClipboard SharedCopy(const LayupClipboard &clipboard)
{
    return LayupClipboard{Layup(clipboard.items, Layup::Share), clipboard.filled};
}

// States kept for every doubling of the distance from the newest command.
constexpr size_t kStatesPerDoubling = 4;

// A state d commands back from the newest is kept when its position is a
// multiple of this: 1 up to 3 back, 2 up to 11, 4 up to 27 and so on.
size_t Spacing(size_t distance)
{
    size_t spacing = 1;
    while (distance / kStatesPerDoubling + 1 >= 2 * spacing)
        spacing *= 2;
    return spacing;
}

bool Kept(size_t position, size_t size)
{
    return position <= size && position % Spacing(size - position) == 0;
}

// Keeps, of states (ascending positions), those that a history of size keeps;
// spacings only grow as the history grows, so no dropped state is missed later.
void Thin(std::vector<ReplayState> &states, size_t size)
{
    states.erase(std::remove_if(states.begin(), states.end(),
                                [size](const ReplayState &state) { return !Kept(state.position, size); }),
                 states.end());
}

// Adds state in its place, replacing one at the same position.
void Keep(std::vector<ReplayState> &states, ReplayState state)
{
    auto at = std::lower_bound(states.begin(), states.end(), state.position,
                               [](const ReplayState &kept, size_t position) { return kept.position < position; });
    if (at != states.end() && at->position == state.position)
        *at = std::move(state);
    else
        states.insert(at, std::move(state));
}

} // namespace

struct LaminateManager::Impl
{
    lamGetCurrentLaminateFn getCurrentLaminate = nullptr;
    lamGetCurrentLaminatePliesFn getCurrentLaminatePlies = nullptr;
    lamSaveLaminateFn saveLaminate = nullptr;
    bool isNew = true;
    Laminate current;
    Laminate saved;
    Laminate replayBase;
    Laminate checkpoint;
    LayupClipboard checkpointClipboard;
    size_t checkpointDepth = 0;
    std::unique_ptr<LayupManager> layupManager;
    std::vector<std::unique_ptr<LamCommand>> history;
    bool layupModified = false;
    // Replay states before the end of the history, ascending.
    std::vector<ReplayState> states;
    // The replay state after the whole history, while tipValid: tipManager
    // edits tip, and its clipboard is the state's.
    Laminate tip;
    std::unique_ptr<LayupManager> tipManager;
    std::optional<bool> tipInsertBefore;
    bool tipValid = true;
    // The replay state at checkpointDepth, when known.
    std::optional<ReplayState> checkpointState;
};

LaminateManager::LaminateManager(lamGetCurrentLaminateFn getCurrentLaminate,
                                 lamGetCurrentLaminatePliesFn getCurrentLaminatePlies, lamSaveLaminateFn saveLaminate,
                                 MaterialList *materials, const UnitSystem &units)
    : impl_(std::make_unique<Impl>())
{
    impl_->getCurrentLaminate = getCurrentLaminate;
    impl_->getCurrentLaminatePlies = getCurrentLaminatePlies;
    impl_->saveLaminate = saveLaminate;
    impl_->current.Reset(units);
    impl_->saved = impl_->current;
    impl_->replayBase = impl_->current;
    impl_->checkpoint = impl_->current;
    impl_->layupManager = std::make_unique<LayupManager>(materials, &impl_->current, this);
    impl_->tip = impl_->current;
    impl_->tipManager = std::make_unique<LayupManager>(materials, &impl_->tip, this);
    current_ = &impl_->current;
    layupManager_ = impl_->layupManager.get();
}

LaminateManager::~LaminateManager() = default;

bool LaminateManager::LoadCurrentLaminate(std::string &error)
{
    Tuvo::Logger::Root()->Log("Getting current laminate from database");
    HostText name(lamTextBufferSize);
    int hostNumber = 0;
    int failureTheory = 0;
    int hostOption = 0;
    float location = 0.0f;
    float bondingStress = 0.0f;
    float tsaiWuCoefficient = 0.0f;
    double mass = 0.0;
    double damping = 0.0;
    double temperature = 0.0;
    int count = 0;
    const int rc = impl_->getCurrentLaminate
                       ? impl_->getCurrentLaminate(name.Buffer(), &hostNumber, &failureTheory, &hostOption, &location,
                                                   &bondingStress, &tsaiWuCoefficient, &mass, &damping, &temperature,
                                                   &count)
                       : -1;
    if (rc != 0) {
        LogLine("GetCurrentLaminate returns %4d", rc);
        error = "Error loading current laminate";
        return false;
    }
    // Checked before any array is made for it.
    if (count > kMaxLoadedPlies) {
        LogLine("GetCurrentLaminate: %d plies, more than %d", count, kMaxLoadedPlies);
        error = "Error loading current laminate";
        return false;
    }
    LogLine("Success getting current laminate with %d plies!", count);

    Laminate loaded(1, name.Text(), hostNumber);
    loaded.SetHostOption(hostOption);
    loaded.SetReferencePlane(Laminate::UserDefinedLocation, location);
    loaded.SetBondingStress(bondingStress);
    loaded.SetTsaiWuCoefficient(tsaiWuCoefficient);
    loaded.SetNonStructuralMass(mass);
    loaded.SetDamping(damping);
    loaded.SetReferenceTemperature(temperature);
    loaded.SetFailureTheory(failureTheory >= Laminate::Hill && failureTheory <= Laminate::UserDefinedTheory
                                ? failureTheory
                                : Laminate::TsaiWu);

    PlyGroup root(0);
    if (count > 0) {
        const auto n = static_cast<size_t>(count);
        std::vector<float> thicknesses(n, 0.0f);
        std::vector<float> angles(n, 0.0f);
        std::vector<int> materials(n, 0);
        std::vector<int> colors(n, 0);
        const int pliesRc = impl_->getCurrentLaminatePlies
                                ? impl_->getCurrentLaminatePlies(thicknesses.data(), angles.data(), materials.data(),
                                                                 colors.data())
                                : -1;
        if (pliesRc != 0) {
            LogLine("GetCurrentLaminatePlies returns %d", pliesRc);
            error = "Error loading current laminate plies";
            return false;
        }
        for (size_t i = 0; i < n; ++i) {
            if (!std::isfinite(thicknesses[i]) || !std::isfinite(angles[i])) {
                error = "Error loading current laminate plies";
                return false;
            }
            auto *ply = new PlySimple(static_cast<int>(i) + 1, "ply name");
            ply->SetThickness(thicknesses[i]);
            ply->SetAngle(FoldAngle(angles[i]));
            ply->SetMaterial(materials[i]);
            ply->SetColor(colors[i]);
            root.GetLayup().Add(ply);
        }
    }
    LayupMaker::FindStackingRule(root.GetLayup());
    loaded.SetLayup(std::move(root));
    loaded.SetReferencePlane(InferReferencePlane(location, loaded.RootGroup().TotalThickness()), location);
    loaded.ClearModified();

    impl_->layupManager->ClearClipboard();
    impl_->history.clear();
    impl_->current = loaded;
    impl_->saved = loaded;
    impl_->replayBase = loaded;
    // A checkpoint of the laminate that was replaced would not match the new history.
    impl_->checkpoint = std::move(loaded);
    impl_->checkpointClipboard.Clear();
    impl_->checkpointDepth = 0;
    impl_->isNew = false;
    impl_->layupModified = false;
    ResetReplayStates();
    return true;
}

bool LaminateManager::SaveLaminate(std::string &error)
{
    Tuvo::Logger::Root()->Log("Begin SaveLaminate...");
    const Laminate &laminate = impl_->current;
    std::vector<PlySimple> stack;
    laminate.RootGroup().CollectPliesExpanded(stack);

    // Never empty, so that even a laminate without plies hands over valid arrays.
    const size_t size = std::max<size_t>(stack.size(), 1);
    std::vector<float> thicknesses(size, 0.0f);
    std::vector<float> angles(size, 0.0f);
    std::vector<int> materials(size, 0);
    std::vector<int> colors(size, 0);
    float total = 0.0f;
    for (size_t i = 0; i < stack.size(); ++i) {
        thicknesses[i] = stack[i].Thickness();
        // A mirrored 0 is -0, which a host would show as "-0".
        angles[i] = stack[i].Angle() == 0.0f ? 0.0f : stack[i].Angle();
        materials[i] = stack[i].Material();
        colors[i] = stack[i].Color();
        total += thicknesses[i];
    }

    const int rc = impl_->saveLaminate
                       ? impl_->saveLaminate(SaveMode(), laminate.FailureTheory(), laminate.HostOption(),
                                             laminate.ReferencePlaneLocation(total), laminate.BondingStress(),
                                             laminate.TsaiWuInteractionType(), laminate.TsaiWuCoefficient(),
                                             laminate.NonStructuralMass(), laminate.Damping(),
                                             laminate.ReferenceTemperature(), static_cast<int>(stack.size()),
                                             thicknesses.data(), angles.data(), materials.data(), colors.data())
                       : -1;
    if (rc != 0) {
        LogLine("Error saving laminate using callback, rc=%4d", rc);
        error = rc == lamTsaiWuTypeRefused ? "Error saving laminate, wrong Tsai-Wu interaction type?"
                                           : "Error saving current laminate";
        return false;
    }
    impl_->current.ClearModified();
    impl_->saved = impl_->current;
    Tuvo::Logger::Root()->Log("End SaveLaminate, success.");
    return true;
}

int LaminateManager::SaveMode() const
{
    return impl_->isNew ? lamSaveCreate : lamSaveModify;
}

void LaminateManager::LayupModified()
{
    impl_->layupModified = true;
}

void LaminateManager::Take(std::unique_ptr<LamCommand> command)
{
    impl_->history.push_back(std::move(command));
    AdvanceTip(*impl_->history.back());
}

void LaminateManager::AdvanceTip(const LamCommand &command)
{
    Impl &d = *impl_;
    if (!d.tipValid)
        return;
    d.tipValid = false; // until the command ran on it
    const unsigned choices = d.tipManager->InsertSideChoices();
    Laminate result;
    std::string error;
    int outcome = CommandFailed;
    // The command reaches the tip through the manager, as a replay reaches the current laminate.
    Laminate *const liveLaminate = current_;
    LayupManager *const liveManager = layupManager_;
    const bool enabled = IsEnabled();
    const auto restore = [&] {
        current_ = liveLaminate;
        layupManager_ = liveManager;
        SetEnabled(enabled);
    };
    current_ = &d.tip;
    layupManager_ = d.tipManager.get();
    SetEnabled(false);
    try {
        outcome = command.Execute(*this, result, error);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (outcome == CommandNewLaminate) {
        if (!result.IsEqual(d.tip))
            d.tip = std::move(result);
    } else if (outcome != CommandApplied) {
        // A later undo replays up to this command and fails there, as a full replay would.
        return;
    }
    if (d.tipManager->InsertSideChoices() != choices)
        d.tipInsertBefore = d.tipManager->InsertBefore();
    d.tipValid = true;
    const size_t size = d.history.size();
    Keep(d.states, ReplayState{size, d.tip, SharedCopy(d.tipManager->GetClipboard()), d.tipInsertBefore});
    Thin(d.states, size);
}

void LaminateManager::ResetReplayStates()
{
    Impl &d = *impl_;
    d.states.clear();
    d.checkpointState.reset();
    d.tip = d.replayBase;
    d.tipManager->ClearClipboard();
    d.tipInsertBefore.reset();
    d.tipValid = true;
}

bool LaminateManager::Undo(std::string &error)
{
    if (impl_->history.empty()) {
        error = "undo stack is empty";
        return false;
    }
    std::unique_ptr<LamCommand> undone = std::move(impl_->history.back());
    impl_->history.pop_back();
    SetEnabled(false);
    const bool replayed = Replay(error);
    SetEnabled(true);
    // Kept on failure: the restored laminate still includes its change.
    if (!replayed)
        impl_->history.push_back(std::move(undone));
    return replayed;
}

bool LaminateManager::Replay(std::string &error)
{
    Impl &d = *impl_;
    error.clear();
    LayupManager &layup = *d.layupManager;
    const size_t size = d.history.size();
    const LayupClipboard clipboard = layup.GetClipboard();
    Laminate fallback = d.current;

    // The latest kept state within the remaining history, else the start.
    const ReplayState *start = nullptr;
    for (const ReplayState &state : d.states) {
        if (state.position <= size)
            start = &state;
    }
    size_t position = 0;
    std::optional<bool> side;
    if (start) {
        position = start->position;
        side = start->insertBefore;
        layup.SetClipboard(start->clipboard);
        if (side)
            layup.SetInsertBefore(*side);
        d.current = start->laminate;
    } else {
        layup.ClearClipboard();
        d.current = d.replayBase;
    }

    std::vector<ReplayState> passed;
    for (; position < size; ++position) {
        const unsigned choices = layup.InsertSideChoices();
        Laminate result;
        std::string commandError;
        const int outcome = d.history[position]->Execute(*this, result, commandError);
        if (outcome == CommandNewLaminate) {
            if (!result.IsEqual(d.current))
                d.current = std::move(result);
        } else if (outcome != CommandApplied) {
            d.current = std::move(fallback);
            layup.SetClipboard(clipboard);
            error = commandError;
            return false;
        }
        if (layup.InsertSideChoices() != choices)
            side = layup.InsertBefore();
        if (Kept(position + 1, size))
            passed.push_back({position + 1, d.current, SharedCopy(layup.GetClipboard()), side});
    }

    // The states of the undone command and beyond are gone; the replay's own are kept.
    d.states.erase(std::remove_if(d.states.begin(), d.states.end(),
                                  [size](const ReplayState &state) { return state.position > size; }),
                   d.states.end());
    for (ReplayState &state : passed)
        Keep(d.states, std::move(state));
    Thin(d.states, size);
    if (d.checkpointState && d.checkpointState->position > size)
        d.checkpointState.reset();
    d.tip = d.current;
    d.tipManager->SetClipboard(layup.GetClipboard());
    d.tipInsertBefore = side;
    d.tipValid = true;

    // The repair that raised the flag was made outside any command: repeat it.
    if (d.layupModified)
        layup.CheckMaterials(nullptr, nullptr);
    return true;
}

bool LaminateManager::LastCommandName(std::string &name) const
{
    if (impl_->history.empty()) {
        name.clear();
        return false;
    }
    name = impl_->history.back()->Name();
    return true;
}

void LaminateManager::ClearUndoStack()
{
    impl_->history.clear();
    // Later undos replay the commands recorded from now on, so they start here.
    impl_->replayBase = impl_->current;
    ResetReplayStates();
}

void LaminateManager::BeginEdit()
{
    impl_->checkpoint = impl_->current;
    impl_->checkpointClipboard = impl_->layupManager->GetClipboard();
    impl_->checkpointDepth = impl_->history.size();
    if (impl_->tipValid)
        impl_->checkpointState = ReplayState{impl_->checkpointDepth, impl_->tip,
                                             SharedCopy(impl_->tipManager->GetClipboard()), impl_->tipInsertBefore};
    else
        impl_->checkpointState.reset();
}

void LaminateManager::CancelEdit()
{
    impl_->current = impl_->checkpoint;
    // A dropped Cut or Copy must not leave its items for a later Paste, which
    // the history could then not replay.
    impl_->layupManager->SetClipboard(impl_->checkpointClipboard);
    Impl &d = *impl_;
    if (d.history.size() <= d.checkpointDepth)
        return;
    while (d.history.size() > d.checkpointDepth)
        d.history.pop_back();
    d.states.erase(std::remove_if(d.states.begin(), d.states.end(),
                                  [&d](const ReplayState &state) { return state.position > d.checkpointDepth; }),
                   d.states.end());
    // The state at the checkpoint, unless the history went below it since.
    d.tipValid = d.checkpointState.has_value();
    if (d.checkpointState) {
        d.tip = d.checkpointState->laminate;
        d.tipManager->SetClipboard(d.checkpointState->clipboard);
        d.tipInsertBefore = d.checkpointState->insertBefore;
    }
}

void LaminateManager::MarkSaved()
{
    impl_->saved = impl_->current;
}

void LaminateManager::SetProperties(const Laminate &edited)
{
    if (edited.IsEqual(impl_->current))
        return;
    Apply(std::make_unique<LamCommandReplace>(edited, false, "Set Properties"));
}

namespace {
int gStackedPlyLimit = 0; // 0: kMaxLoadedPlies
} // namespace

void SetStackedPlyLimit(int limit) { gStackedPlyLimit = limit > 0 ? limit : 0; }

int LaminateManager::StackedPlyLimit() { return gStackedPlyLimit > 0 ? gStackedPlyLimit : kMaxLoadedPlies; }

bool LaminateManager::SetStacking(int rule)
{
    if (rule < StackingFullSymmetric || rule > StackingRepeatWithCore)
        rule = StackingSimple;
    if (impl_->current.RootGroup().GetLayup().Stacking() == rule)
        return false;
    // The next request must be able to load what this one saves.
    const long long full = StackedPlies(rule);
    if (full > StackedPlyLimit()) {
        LogLine("SetStacking: the full stack would have %lld plies, more than %d", full, StackedPlyLimit());
        return false;
    }
    Apply(std::make_unique<LamCommandStacking>(rule));
    return true;
}

long long LaminateManager::StackedPlies(int rule) const
{
    const long long plies = impl_->current.RootGroup().CountPlies();
    if (rule < StackingFullSymmetric || rule > StackingRepeatWithCore || plies == 0)
        return plies;
    return rule == StackingSymmetricWithCore || rule == StackingRepeatWithCore ? 2 * plies - 1 : 2 * plies;
}

bool LaminateManager::Reset()
{
    if (impl_->current.IsEqual(impl_->saved))
        return false;
    Apply(std::make_unique<LamCommandReplace>(impl_->saved, true, "Reset"));
    return true;
}

void LaminateManager::Apply(std::unique_ptr<LamCommand> command)
{
    Laminate result;
    std::string error;
    const int outcome = command->Execute(*this, result, error);
    if (outcome == CommandNewLaminate)
        impl_->current = result;
    // A failed command is dropped with its text: current is as it was.
    if (outcome == CommandNewLaminate || outcome == CommandApplied)
        Submit(std::move(command));
}
