#pragma once

#include "core/lamcommandtaker.h"
#include "core/laminatemanageraccess.h"
#include "host/lamcallbacks.h"

#include <memory>
#include <string>

class Laminate;
class LayupManager;
class MaterialList;
class UnitSystem;

// Owner of the laminate that a request edits, of its saved copies, of the
// layup manager that edits it and of the history of the commands recorded on
// it, oldest first. It is the layup manager's default command taker, loads the
// host's current laminate and writes the laminate back.
//
// Undo works by replay: the newest command is dropped and the laminate is what
// executing every older one again, from the laminate that the request began
// with and an empty clipboard, gives. The manager keeps that replay's states
// along the history (laminate, clipboard and the insertion side the commands
// chose) and replays only from the latest one before the end: each command it
// records is also executed on the state after the whole history, and states
// are kept densest next to the newest command, about four for every doubling
// of the distance from it, so their number grows with the logarithm of the
// history. A state shares its unchanged plies with the laminate and the others.
class LaminateManager : public LamCommandTaker, public LaminateManagerAccess
{
public:
    // Largest ply count a load accepts from the host, and so the largest full
    // stack that a change of the stacking rule may make.
    static constexpr int kMaxLoadedPlies = 100000;
    // The largest full stack a change of the stacking rule may make:
    // kMaxLoadedPlies, unless a test lowered it (laminatemanagertesting.h).
    static int StackedPlyLimit();

    // Starts from the default laminate in the given units. The host functions
    // (kept for loading and saving) may be null: a call through a null one
    // fails. The material list (may be null) is handed to the layup manager and
    // must outlive the manager.
    LaminateManager(lamGetCurrentLaminateFn getCurrentLaminate, lamGetCurrentLaminatePliesFn getCurrentLaminatePlies,
                    lamSaveLaminateFn saveLaminate, MaterialList *materials, const UnitSystem &units);
    ~LaminateManager() override;

    // Reads the host's current laminate, recognises its stacking rule and
    // infers its reference plane method; on success it becomes the current,
    // saved and starting laminate, the history and the clipboard are emptied
    // and saves modify it from then on. On failure nothing changes and error
    // holds the text to show.
    bool LoadCurrentLaminate(std::string &error);
    // Sends the current laminate, its stacking rule expanded, to the host; on
    // success the laminate counts as saved. On failure nothing changes and
    // error holds the text to show.
    bool SaveLaminate(std::string &error);
    // The first value SaveLaminate sends: lamSaveCreate until a load
    // succeeded, then lamSaveModify.
    int SaveMode() const;

    // Notes that the layup manager repaired the layup outside any command.
    void LayupModified() override;
    // Appends the command to the history, which owns it from then on.
    void Take(std::unique_ptr<LamCommand> command) override;

    // Drops the newest command and rebuilds the laminate by replaying the
    // others. With an empty history, or when a replayed command fails, false
    // with the error text; a failed replay leaves the laminate, the clipboard
    // and the history as they were.
    bool Undo(std::string &error);
    // The newest command's name and true; an empty name and false with no history.
    bool LastCommandName(std::string &name) const;
    // Deletes every recorded command. The laminate as it is becomes the one
    // that later undos replay from.
    void ClearUndoStack();

    // Marks a checkpoint: the current laminate, the clipboard and the
    // history's size.
    void BeginEdit();
    // Goes back to the last checkpoint: its laminate and clipboard, and the
    // history without the commands recorded since.
    void CancelEdit();
    // The current laminate counts as saved (the laminate Reset returns to).
    void MarkSaved();

    // Takes the properties of edited (not its layup) as one "Set Properties"
    // command; nothing happens when edited equals the current laminate.
    void SetProperties(const Laminate &edited);
    // Sets the stacking rule of the layup (1 to 4; any other rule is simple)
    // as one command; false when the layup already has that rule or when its
    // full stack would then pass StackedPlyLimit (logged; nothing changes).
    bool SetStacking(int rule);
    // The number of plies the current layup's full stack has under rule (1 to
    // 4; any other rule is simple).
    long long StackedPlies(int rule) const;
    // Returns to the saved laminate as one "Reset" command; false when the
    // current laminate equals it.
    bool Reset();

private:
    // Executes the history from the latest kept state (or the starting laminate
    // with an empty clipboard); a failing command restores the laminate and the
    // clipboard (false, error).
    bool Replay(std::string &error);
    // Executes the newest command on the state after the rest of the history.
    void AdvanceTip(const LamCommand &command);
    // Forgets every kept state: the replay starts from replayBase again.
    void ResetReplayStates();
    // Executes one of the manager's own commands on the current laminate and
    // records it; a command that fails is dropped.
    void Apply(std::unique_ptr<LamCommand> command);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};
