#pragma once

#include <memory>
#include <string>

class Laminate;
class LamCommand;
class LamCommandTaker;
class MaterialList;
class Selection;
struct LayupClipboard;

// The editing engine of the current laminate. Each operation takes the caller's
// selection, works on a copy of the laminate's root group and installs the copy
// only when the whole operation succeeded; a successful edit then submits one
// command that repeats it to the current command taker. A failure returns false,
// leaves the laminate as it was, records nothing and sets the error text.
class LayupManager
{
public:
    // Nothing is owned: the material list (may be null), the laminate edited and
    // the default command taker must outlive the manager.
    LayupManager(MaterialList *materials, Laminate *laminate, LamCommandTaker *taker);
    ~LayupManager();
    LayupManager(const LayupManager &) = delete;
    LayupManager &operator=(const LayupManager &) = delete;

    // The side on which AddPly (and paste) insert: true below the selection
    // (earlier in ply order), false above it. True at creation.
    void SetInsertBefore(bool before);

    // Inserts one new ply at the insertion point of the selection; empties the
    // clipboard. Fails with "Invalid insertion operator".
    bool AddPly(const Selection &selection, int material, float thickness, float angle, int color);

    // Set one value on every selected ply, all or nothing: a ply number that is
    // not a ply of the tree (plies inside links are not) fails the whole call
    // with "Ply not found for modification of ...". A call that changes no value
    // (thickness and angle within 1e-6 relative) installs and records nothing;
    // it still returns true, as does an empty ply selection.
    bool ModifyMaterial(const Selection &selection, int material);
    bool ModifyThickness(const Selection &selection, float thickness);
    bool ModifyAngle(const Selection &selection, float angle);
    bool ModifyColor(const Selection &selection, int color);

    // The text of the last failure; emptied by every operation that can fail.
    std::string GetErrorMessage() const;
    // Numbers the laminate's plies from 1; records nothing.
    void Renumber();

    // Routes recorded commands to taker (not owned) instead of the default one.
    void SetTaker(LamCommandTaker *taker);
    // Routes commands back to the default taker and submits command to it when
    // there is one; returns the result of the submission, false without command.
    bool RestoreTaker(std::unique_ptr<LamCommand> command);

    const LayupClipboard &GetClipboard() const;
    // Replaces the clipboard's items (deep copy) and filled flag.
    void SetClipboard(const LayupClipboard &clipboard);
    // Empties the clipboard and resets its filled flag.
    void ClearClipboard();

    // Defined in core/layupmanager_p.h, for the sources of the editing
    // operations and their tests.
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};
