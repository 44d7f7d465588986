#include "tools/lamhost/store.h"

#include "tools/lamhost/callbacktable.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace LamHost {

namespace {

Store *gActive = nullptr;

// Writes text into a host buffer of size bytes the way a careless host would:
// a text that does not fit arrives cut, without NUL. With noNul the buffer is
// filled to its end after the text.
void PutText(char *buffer, size_t size, const std::string &text, bool noNul)
{
    const size_t n = std::min(text.size(), size);
    std::memcpy(buffer, text.data(), n);
    if (noNul)
        std::memset(buffer + n, '#', size - n);
    else if (n < size)
        buffer[n] = '\0';
}

int CountOf(size_t size)
{
    return static_cast<int>(std::min<size_t>(size, std::numeric_limits<int>::max()));
}

} // namespace

const char *SlotName(Slot slot)
{
    static const char *const names[kSlotCount] = {
        "Unused00", "GetLanguage", "GetUnitSystem", "Unused0C", "GetColorCount", "GetColorIDs",
        "GetColor", "GetScriptPath", "ShowMessage", "Unused24", "GetMaterial", "SelectMaterial",
        "SavePlyMaterial", "GetCurrentLaminate", "GetCurrentLaminatePlies", "SaveLaminate",
    };
    return names[static_cast<int>(slot)];
}

Store::Store(StoreData data) : data_(std::move(data)) {}

Store::~Store()
{
    Deactivate();
}

void Store::Activate()
{
    gActive = this;
    UpdateTable();
}

void Store::Deactivate()
{
    if (gActive == this) {
        gActive = nullptr;
        UpdateTable();
    }
}

Store *Store::Active()
{
    return gActive;
}

void Store::SetFault(Slot slot, const Fault &fault)
{
    faults_[static_cast<int>(slot)] = {true, fault};
}

void Store::ClearFault(Slot slot)
{
    faults_[static_cast<int>(slot)] = {};
}

void Store::SetNullSlot(Slot slot, bool null)
{
    nullSlots_[static_cast<int>(slot)] = null;
    UpdateTable();
}

void Store::ClearFaults()
{
    faults_ = {};
    nullSlots_ = {};
    UpdateTable();
}

void Store::QueuePick(int id, int result)
{
    picks_.push_back({id, result, 0});
}

void Store::QueuePickFor(int kind, int id, int result)
{
    picks_.push_back({id, result, kind});
}

void Store::ClearRecords()
{
    transcript_.clear();
    calls_ = {};
    laminateSaves_.clear();
    plyMaterialSaves_.clear();
    pickKinds_.clear();
}

const Fault *Store::Enter(Slot slot)
{
    const int i = static_cast<int>(slot);
    const int call = ++calls_[i];
    const SlotFault &f = faults_[i];
    if (!f.set || (f.fault.onCall != 0 && f.fault.onCall != call))
        return nullptr;
    return &f.fault;
}

// A result fault, when one applies; Unterminated faults are read by the caller.
static bool FailWith(const Fault *fault, int &result)
{
    if (!fault || fault->kind != Fault::Result)
        return false;
    result = fault->result;
    return true;
}

static bool NoNul(const Fault *fault)
{
    return fault && fault->kind == Fault::Unterminated;
}

void Store::Unused(Slot slot)
{
    Enter(slot);
}

int Store::GetLanguage()
{
    int rc = 0;
    return FailWith(Enter(Slot::GetLanguage), rc) ? rc : data_.language;
}

int Store::GetUnitSystem()
{
    int rc = 0;
    return FailWith(Enter(Slot::GetUnitSystem), rc) ? rc : data_.unitSystem;
}

int Store::GetColorCount()
{
    int rc = 0;
    colorsGiven_ = FailWith(Enter(Slot::GetColorCount), rc) ? rc : CountOf(data_.colors.size());
    return colorsGiven_;
}

int Store::GetColorIDs(int *ids)
{
    int rc = 0;
    if (FailWith(Enter(Slot::GetColorIDs), rc))
        return rc;
    if (!ids)
        return 1;
    // The caller's array holds as many ids as the count it was given.
    const size_t n = std::min(data_.colors.size(), static_cast<size_t>(std::max(colorsGiven_, 0)));
    for (size_t i = 0; i < n; ++i)
        ids[i] = data_.colors[i].id;
    colorAsks_.clear();
    return 0;
}

int Store::GetColor(int id, char *name, int *rgb)
{
    const Fault *fault = Enter(Slot::GetColor);
    int rc = 0;
    if (FailWith(fault, rc))
        return rc;
    if (!name || !rgb)
        return 1;
    // An id listed more than once answers its entries in turn.
    std::vector<const HostColor *> matches;
    for (const HostColor &c : data_.colors) {
        if (c.id == id)
            matches.push_back(&c);
    }
    if (matches.empty())
        return 1;
    const int ask = colorAsks_[id]++;
    const HostColor &c = *matches[std::min<size_t>(static_cast<size_t>(ask), matches.size() - 1)];
    PutText(name, lamTextBufferSize, c.name, NoNul(fault));
    rgb[0] = c.red;
    rgb[1] = c.green;
    rgb[2] = c.blue;
    return 0;
}

int Store::GetScriptPath(char *path)
{
    const Fault *fault = Enter(Slot::GetScriptPath);
    int rc = 0;
    if (FailWith(fault, rc))
        return rc;
    if (!path || scriptPath_.empty())
        return 1;
    PutText(path, lamScriptPathBufferSize, scriptPath_, NoNul(fault));
    return 0;
}

void Store::ShowMessage(const char *line)
{
    Enter(Slot::ShowMessage);
    transcript_.emplace_back(line ? line : "");
    if (lineSink_)
        lineSink_(transcript_.back());
}

int Store::GetMaterial(int id, char *name, char *type)
{
    const Fault *fault = Enter(Slot::GetMaterial);
    int rc = 0;
    if (FailWith(fault, rc))
        return rc;
    if (!name || !type)
        return 1;
    const auto it = std::find_if(data_.materials.begin(), data_.materials.end(),
                                 [id](const HostMaterial &m) { return m.id == id; });
    if (it == data_.materials.end())
        return 1;
    PutText(name, lamTextBufferSize, it->name, NoNul(fault));
    PutText(type, lamTextBufferSize, it->type, NoNul(fault));
    return 0;
}

int Store::SelectMaterial(int kind, int *id)
{
    const Fault *fault = Enter(Slot::SelectMaterial);
    pickKinds_.push_back(kind);
    // The fault stands for the picker's answer; a queued answer is used up anyway.
    Pick pick{-1, 1, 0};
    const auto next = std::find_if(picks_.begin(), picks_.end(), [kind](const Pick &p) {
        return p.kind == 0 || p.kind == kind;
    });
    const bool queued = next != picks_.end();
    if (queued) {
        pick = *next;
        picks_.erase(next);
    }
    int rc = 0;
    if (FailWith(fault, rc))
        return rc;
    if (!queued && picker_ && picker_(kind, &pick.id))
        pick.result = 0;
    if (pick.result == 0 && id)
        *id = pick.id;
    return pick.result;
}

int Store::SavePlyMaterial(const HostPlyMaterial &material, bool factorsRead)
{
    int rc = 0;
    if (!FailWith(Enter(Slot::SavePlyMaterial), rc)) {
        rc = factorsRead ? 0 : 1;
        if (rc == 0)
            data_.plyMaterials.push_back(material);
    }
    plyMaterialSaves_.push_back({material, rc});
    return rc;
}

int Store::GetCurrentLaminate(char *name, int *hostNumber, int *failureTheory, int *hostOption,
                              float *referencePlane, float *bondingStress,
                              float *tsaiWuCoefficient, double *nonStructuralMass,
                              double *damping, double *referenceTemperature, int *plyCount)
{
    const Fault *fault = Enter(Slot::GetCurrentLaminate);
    int rc = 0;
    if (FailWith(fault, rc))
        return rc;
    if (data_.current < 0 || data_.current >= CountOf(data_.laminates.size()))
        return 1;
    if (!name || !hostNumber || !failureTheory || !hostOption || !referencePlane ||
        !bondingStress || !tsaiWuCoefficient || !nonStructuralMass || !damping ||
        !referenceTemperature || !plyCount)
        return 1;
    const HostLaminate &lam = data_.laminates[static_cast<size_t>(data_.current)];
    PutText(name, lamTextBufferSize, lam.name, NoNul(fault));
    *hostNumber = lam.hostNumber;
    *failureTheory = lam.failureTheory;
    *hostOption = lam.hostOption;
    *referencePlane = lam.referencePlane;
    *bondingStress = lam.bondingStress;
    *tsaiWuCoefficient = lam.tsaiWuCoefficient;
    *nonStructuralMass = lam.nonStructuralMass;
    *damping = lam.damping;
    *referenceTemperature = lam.referenceTemperature;
    *plyCount = pliesGiven_ = CountOf(lam.plies.size());
    return 0;
}

int Store::GetCurrentLaminatePlies(float *thicknesses, float *angles, int *materials, int *colors)
{
    int rc = 0;
    if (FailWith(Enter(Slot::GetCurrentLaminatePlies), rc))
        return rc;
    if (data_.current < 0 || data_.current >= CountOf(data_.laminates.size()))
        return 1;
    if (!thicknesses || !angles || !materials || !colors)
        return 1;
    const std::vector<HostPly> &plies = data_.laminates[static_cast<size_t>(data_.current)].plies;
    // The arrays hold as many plies as GetCurrentLaminate announced.
    const size_t n = std::min(plies.size(), static_cast<size_t>(pliesGiven_));
    for (size_t i = 0; i < n; ++i) {
        thicknesses[i] = plies[i].thickness;
        angles[i] = plies[i].angle;
        materials[i] = plies[i].material;
        colors[i] = plies[i].color;
    }
    return 0;
}

int Store::SaveTarget(int saveMode)
{
    const int count = CountOf(data_.laminates.size());
    if (saveMode == lamSaveModify)
        return data_.current >= 0 && data_.current < count ? data_.current : -1;
    if (saveMode != lamSaveCreate)
        return -1;
    if (created_ < 0 || created_ >= count) {
        HostLaminate lam;
        for (const HostLaminate &l : data_.laminates)
            lam.hostNumber = std::max(lam.hostNumber, l.hostNumber);
        ++lam.hostNumber;
        lam.name = "Laminate " + std::to_string(lam.hostNumber);
        data_.laminates.push_back(lam);
        created_ = count;
        data_.current = created_;
    }
    return created_;
}

int Store::SaveLaminate(LaminateSave save)
{
    save.laminate = -1;
    if (!FailWith(Enter(Slot::SaveLaminate), save.result)) {
        // Plies that could not be read refuse the save.
        const bool readable =
            save.plyCount >= 0 && static_cast<size_t>(save.plyCount) == save.plies.size();
        save.laminate = readable ? SaveTarget(save.saveMode) : -1;
        save.result = save.laminate >= 0 ? 0 : 1;
    }
    if (save.laminate >= 0) {
        HostLaminate &lam = data_.laminates[static_cast<size_t>(save.laminate)];
        lam.failureTheory = save.failureTheory;
        lam.hostOption = save.hostOption;
        lam.referencePlane = save.referencePlane;
        lam.bondingStress = save.bondingStress;
        lam.tsaiWuType = save.tsaiWuType;
        lam.tsaiWuCoefficient = save.tsaiWuCoefficient;
        lam.nonStructuralMass = save.nonStructuralMass;
        lam.damping = save.damping;
        lam.referenceTemperature = save.referenceTemperature;
        lam.plies = save.plies;
    }
    laminateSaves_.push_back(std::move(save));
    return laminateSaves_.back().result;
}

void Store::UpdateTable() const
{
    if (gActive == this)
        SetCallbackTableNulls(nullSlots_);
    else if (!gActive)
        SetCallbackTableNulls({});
}

} // namespace LamHost
