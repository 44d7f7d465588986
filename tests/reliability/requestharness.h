#pragma once

// Runs whole host requests in this process: the module's entry functions
// over the host stand-in with the demo store, through the guarded table, with
// the request scripts of the reliability tests in a temporary folder.

#include "guardedhost.h"

#include "host/testenv.h"
#include "tools/lamhost/store.h"

#include <string>
#include <vector>

namespace reliability {

// A modification script: adds (the first with the material the host's picker
// gives), two groups, a link, a copy and a paste, and a listing, on the demo
// laminate.
extern const char kModifyScript[];
// A ply material script: constituents (the fibre from the picker), both
// theories, a listing.
extern const char kPlyMaterialScript[];
// A creation script: plies, a stacking rule and properties, a listing.
extern const char kCreateScript[];
// What the picker answers in every request.
constexpr int kPickedMaterial = 103;

// What one request left with the host.
struct Outcome
{
    std::vector<std::string> lines; // every ShowMessage line
    std::vector<LamHost::LaminateSave> laminateSaves;
    std::vector<LamHost::PlyMaterialSave> plyMaterialSaves;
    std::vector<LamHost::Slot> calls; // every callback, in order
};

class Harness
{
public:
    // Sets the module up with the guarded table (once per process) and writes the scripts.
    Harness();

    // Calls lamSetup with the guarded table, unless an earlier call made the
    // session; whether one did.
    static void SetUpModule();
    static bool ModuleSetUp();
    ~Harness();

    // A script file in the harness's folder; returns its path.
    std::string WriteScript(const std::string &name, const std::string &text);

    // Each runs one entry call with the script at path against the demo
    // store as it was at the start (faults set on store() stay).
    Outcome Modify(const std::string &path);
    Outcome Create(const std::string &path);
    Outcome PlyMaterial(const std::string &path);

    LamHost::Store &Store() { return store_; }
    const std::string &ModifyPath() const { return modifyPath_; }
    const std::string &CreatePath() const { return createPath_; }
    const std::string &PlyMaterialPath() const { return plyMaterialPath_; }

private:
    template <class Entry>
    Outcome Run(const std::string &path, Entry entry);

    ScopedEnv env_;
    TempDir dir_;
    LamHost::Store store_;
    std::string modifyPath_;
    std::string createPath_;
    std::string plyMaterialPath_;
};

// The same save, value by value (NaN equal to NaN).
bool SameSave(const LamHost::LaminateSave &a, const LamHost::LaminateSave &b);
bool SameSave(const LamHost::PlyMaterialSave &a, const LamHost::PlyMaterialSave &b);
// The same saves of both kinds, in the same order.
bool SameSaves(const Outcome &a, const Outcome &b);

} // namespace reliability
