#pragma once

#include "core/lamcommandtaker.h"
#include "host/lamcallbacks.h"

#include <memory>
#include <string>

class Laminate;
class LayupManager;
class MaterialList;
class UnitSystem;

// The two objects that a command's Execute asks the manager for. Reached inline
// and outside the manager's virtual table, so that the commands in core need
// nothing of this library at link time (not even its type information, which
// a sanitizer's checks of calls through a polymorphic class would ask for).
class LaminateManagerAccess
{
public:
    Laminate &CurrentLaminate() { return *current_; }
    const Laminate &CurrentLaminate() const { return *current_; }
    LayupManager *GetLayupManager() { return layupManager_; }

protected:
    LaminateManagerAccess() = default;
    ~LaminateManagerAccess() = default;

    Laminate *current_ = nullptr;
    LayupManager *layupManager_ = nullptr;
};

// Owner of the laminate that a request edits, of the layup manager that edits
// it and of the history of the commands recorded on it, oldest first. It is the
// layup manager's default command taker.
class LaminateManager : public LamCommandTaker, public LaminateManagerAccess
{
public:
    // Starts from the default laminate in the given units. The host functions
    // (kept for loading and saving) may be null; the material list (may be
    // null) is handed to the layup manager and must outlive the manager.
    LaminateManager(lamGetCurrentLaminateFn getCurrentLaminate, lamGetCurrentLaminatePliesFn getCurrentLaminatePlies,
                    lamSaveLaminateFn saveLaminate, MaterialList *materials, const UnitSystem &units);
    ~LaminateManager() override;

    // Notes that the layup manager repaired the layup outside any command.
    void LayupModified() override;
    // Appends the command to the history, which owns it from then on.
    void Take(std::unique_ptr<LamCommand> command) override;

    // The newest command's name and true; an empty name and false with no history.
    bool LastCommandName(std::string &name) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
