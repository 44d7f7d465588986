#pragma once

#include "host/lamcallbacks.h"
#include "tools/lamhost/storedata.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A host stand-in: serves the sixteen callbacks of lamCallbacksImp from a
// StoreData, records what the module did (message transcript, calls per slot,
// every save with all its arguments) and injects faults for tests.
//
// C callbacks carry no user pointer, so the callbacks serve one process-wide
// active store: Activate() makes a store the active one, and CallbackTable()
// is the one table that the module is handed. A store that is destroyed while
// active leaves no store active; the callbacks then fail (results 1, values -1,
// messages dropped).
namespace LamHost {

// The slots of lamCallbacksImp, in table order.
enum class Slot {
    Unused00, GetLanguage, GetUnitSystem, Unused0C, GetColorCount, GetColorIDs, GetColor,
    GetScriptPath, ShowMessage, Unused24, GetMaterial, SelectMaterial, SavePlyMaterial,
    GetCurrentLaminate, GetCurrentLaminatePlies, SaveLaminate
};
constexpr int kSlotCount = 16;

const char *SlotName(Slot slot);

// A fault injected into one slot.
struct Fault
{
    enum Kind {
        Result,      // return `result` without serving (the value of GetLanguage,
                     // GetUnitSystem and GetColorCount); no effect on ShowMessage
        Unterminated // fill every text buffer of the call to its end, no NUL
                     // (GetColor, GetMaterial, GetCurrentLaminate, GetScriptPath)
    };
    Kind kind = Result;
    int result = 1;
    int onCall = 0; // 0: every call; n: only the n-th call of the slot

    static Fault Fail(int result, int onCall = 0) { return {Result, result, onCall}; }
    static Fault NoNul(int onCall = 0) { return {Unterminated, 0, onCall}; }
};

// The arguments of one SaveLaminate call and what the store answered.
struct LaminateSave
{
    int saveMode = 0;
    int failureTheory = 0;
    int hostOption = 0;
    float referencePlane = 0.0f;
    float bondingStress = 0.0f;
    int tsaiWuType = 0;
    float tsaiWuCoefficient = 0.0f;
    double nonStructuralMass = 0.0;
    double damping = 0.0;
    double referenceTemperature = 0.0;
    int plyCount = 0;
    std::vector<HostPly> plies; // the four arrays, entry by entry
    int result = 0;
    int laminate = -1; // index of the laminate written, -1 when refused
};

struct PlyMaterialSave
{
    HostPlyMaterial material;
    int result = 0;
};

class Store
{
public:
    explicit Store(StoreData data = {});
    ~Store(); // deactivates
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    StoreData &Data() { return data_; }
    const StoreData &Data() const { return data_; }

    // Makes this the store the callbacks serve (and gives CallbackTable() this
    // store's null slots); Deactivate leaves none active when this one is.
    void Activate();
    void Deactivate();
    static Store *Active();

    // GetScriptPath answers this path; an empty path is refused (result 1).
    void SetScriptPath(const std::string &path) { scriptPath_ = path; }

    // Starts a new entry call: the next creation-mode save adds a laminate
    // (which becomes current); later ones of the request update that laminate.
    void BeginRequest() { created_ = -1; }

    // Faults, one per slot; a later SetFault replaces the earlier one.
    void SetFault(Slot slot, const Fault &fault);
    void ClearFault(Slot slot);
    void SetNullSlot(Slot slot, bool null = true);
    void ClearFaults(); // faults and null slots

    // The next SelectMaterial answers: the picker returns result and, when it
    // is 0, sets the id. With no answer queued the picker returns 1 (or asks
    // the picker set by SetPicker).
    void QueuePick(int id, int result = 0);
    // The same, but only a SelectMaterial of that kind takes this answer;
    // answers of each kind are taken in the order queued.
    void QueuePickFor(int kind, int id, int result = 0);
    size_t PendingPicks() const { return picks_.size(); }
    // Asked for the answer when none is queued: true with the chosen id, false
    // for a cancelled picker. Unset: a picker without an answer is cancelled.
    void SetPicker(std::function<bool(int kind, int *id)> picker) { picker_ = std::move(picker); }
    const std::vector<int> &PickKinds() const { return pickKinds_; } // kinds asked, in order

    // Called with every ShowMessage line as it arrives, after it is recorded
    // (a program prints the lines while the module runs); empty: none.
    void SetLineSink(std::function<void(const std::string &)> sink) { lineSink_ = std::move(sink); }

    // Records since construction or the last ClearRecords.
    const std::vector<std::string> &Transcript() const { return transcript_; }
    int Calls(Slot slot) const { return calls_[static_cast<int>(slot)]; }
    const std::vector<LaminateSave> &LaminateSaves() const { return laminateSaves_; }
    const std::vector<PlyMaterialSave> &PlyMaterialSaves() const { return plyMaterialSaves_; }
    void ClearRecords(); // also restarts the call numbering of onCall faults

    // The services behind the callbacks, with the callbacks' arguments.
    void Unused(Slot slot);
    int GetLanguage();
    int GetUnitSystem();
    int GetColorCount();
    int GetColorIDs(int *ids);
    int GetColor(int id, char *name, int *rgb);
    int GetScriptPath(char *path);
    void ShowMessage(const char *line);
    int GetMaterial(int id, char *name, char *type);
    int SelectMaterial(int kind, int *id);
    // Refused (1) when the factors could not be read.
    int SavePlyMaterial(const HostPlyMaterial &material, bool factorsRead = true);
    int GetCurrentLaminate(char *name, int *hostNumber, int *failureTheory, int *hostOption,
                           float *referencePlane, float *bondingStress, float *tsaiWuCoefficient,
                           double *nonStructuralMass, double *damping,
                           double *referenceTemperature, int *plyCount);
    int GetCurrentLaminatePlies(float *thicknesses, float *angles, int *materials, int *colors);
    int SaveLaminate(LaminateSave save);

private:
    struct Pick
    {
        int id;
        int result;
        int kind; // 0: any kind
    };
    struct SlotFault
    {
        bool set = false;
        Fault fault;
    };

    // Counts the call; the fault that applies to it, or null.
    const Fault *Enter(Slot slot);
    // The index of the laminate a save of that mode writes (adding one on the
    // request's first creation save), or -1.
    int SaveTarget(int saveMode);
    void UpdateTable() const;

    StoreData data_;
    std::string scriptPath_;
    int created_ = -1;     // laminate added by this request's first creation save
    int colorsGiven_ = 0;  // the last count GetColorCount gave: GetColorIDs writes no more
    int pliesGiven_ = 0;   // the same for GetCurrentLaminate and its plies
    std::map<int, int> colorAsks_; // GetColor calls per id since GetColorIDs
    std::array<SlotFault, kSlotCount> faults_{};
    std::array<bool, kSlotCount> nullSlots_{};
    std::deque<Pick> picks_;
    std::vector<int> pickKinds_;
    std::vector<std::string> transcript_;
    std::function<void(const std::string &)> lineSink_;
    std::function<bool(int, int *)> picker_;
    std::array<int, kSlotCount> calls_{};
    std::vector<LaminateSave> laminateSaves_;
    std::vector<PlyMaterialSave> plyMaterialSaves_;
};

// The process-wide table that serves the active store; its slots are null
// where the active store nulls them. Never null; lives as long as the process.
lamCallbacksImp *CallbackTable();

} // namespace LamHost
