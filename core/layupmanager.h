#pragma once

#include <memory>
#include <set>
#include <string>

class Laminate;
class LamCommand;
class LamCommandTaker;
class MaterialCatalog;
class Selection;
struct LayupActionState;
struct LayupClipboard;

// The editing engine of the current laminate. Each operation takes the caller's
// selection, works on a copy of the laminate's root group and installs the copy
// only when the whole operation succeeded; a successful edit then submits one
// command that repeats it to the current command taker. A failure returns false,
// leaves the laminate as it was, records nothing and sets the error text.
class LayupManager
{
public:
    // Nothing is owned: the material catalogue (the request's MaterialList; may
    // be null), the laminate edited and the default command taker must outlive
    // the manager.
    LayupManager(const MaterialCatalog *materials, Laminate *laminate, LamCommandTaker *taker);
    ~LayupManager();
    LayupManager(const LayupManager &) = delete;
    LayupManager &operator=(const LayupManager &) = delete;

    // The side on which AddPly (and paste) insert: true below the selection
    // (earlier in ply order), false above it. True at creation.
    void SetInsertBefore(bool before);
    bool InsertBefore() const;
    // How many times SetInsertBefore was called: the undo history tells by it
    // whether the commands it replays chose a side.
    unsigned InsertSideChoices() const;

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

    // Structural edits and the clipboard (core/layupmanager_clipboard.cpp,
    // core/layupmanager_groups.cpp).
    //
    // Removes the selected plies (top level or inside groups, not inside
    // links), groups and links; a group left without plies goes too, links
    // that repeat a removed group or link go with it. Delete keeps the
    // clipboard as it was; Cut puts the removed items into it in stack order
    // (groups and links as clones) and marks it not filled. Both succeed.
    bool Delete(const Selection &selection);
    bool Cut(const Selection &selection);
    // Puts copies of the selected items into the clipboard, in stack order, and
    // marks it filled: a selected link as a group of its expansion under the
    // link's id, a ply inside a selected group only with its group, a ply
    // inside a link as the ply the link shows. Changes nothing else; succeeds.
    bool Copy(const Selection &selection);
    // Inserts the clipboard count times at the insertion point of selection,
    // reversed and/or with negated angles, and rewrites selection to name the
    // items it named before under their new numbers. An empty clipboard
    // succeeds and records nothing. Fails with "Invalid insertion operator",
    // "Paste: cannot nest groups", "Unexpected error locating paste site", or
    // "Paste: too many plies" when the full stack would exceed 100,000 plies;
    // selection is then unchanged.
    bool Paste(Selection &selection, bool reversed, bool negated, int count);
    // Puts the selected consecutive top-level plies into a new group with the
    // next free id, in their place. Fails with "empty list of plies", "selected
    // plies not consecutive" or "Some selected plies cannot be grouped".
    bool CreateGroup(const Selection &selection);
    // Replaces each selected top-level group by its plies and removes the links
    // that repeat it. Fails with "Could not find selected group" (also for a link).
    bool Ungroup(const Selection &selection);
    // Replaces the selected groups whose plies repeat those of the parent as
    // they are, reversed, or reversed with negated angles by links of that type
    // to it. The parent is the selected link if there is one, else the first
    // selected group. Fails with "Unsuitable selection" (fewer than two),
    // "Error, group not found", "Error, groups already linked" (two links);
    // with two groups selected, also with the reason they cannot be linked
    // ("Parent group is linked to child group", "Parent group is related to
    // child group", "Groups have different size", "Contents of selected groups
    // do not match"); with more, such groups are skipped.
    bool CreateLink(const Selection &selection);
    // Replaces each selected top-level link by a group of its expansion under
    // the link's id. Fails with "Selected group not found".
    bool Unlink(const Selection &selection);

    // Queries, the material check and automatic grouping
    // (core/layupmanager_queries.cpp).
    //
    // Fills out with the edit commands that the selection allows; every flag is
    // computed afresh. Changes nothing.
    void GetActionState(const Selection &selection, LayupActionState &out) const;
    // The thicknesses of the simple plies (groups entered, links not),
    // ascending; values that do not differ at a relative tolerance of 1e-4
    // times the largest thickness are offered once, as the smallest of them.
    std::set<float> GetThicknesses() const;
    // 0, 45, -45, 90 and the angle of every simple ply (groups entered, links
    // not) and its negation, ascending; values that do not differ at a
    // relative tolerance of 0.01 are offered once, as the first of them.
    std::set<float> GetAngles() const;
    // True when the catalogue knows the material of every simple ply (a ply
    // whose material is -1 was repaired before and passes; without a catalogue
    // every ply passes). Otherwise gives every unknown material's ply the
    // material -1, installs that without recording a command, tells the current
    // taker (LayupModified) and returns false with the first such ply's number
    // and material in the out arguments (either may be null) and the error text
    // "Ply %1 references non-existing material %2".
    bool CheckMaterials(int *plyNumber, int *materialId);
    // One step of automatic grouping of the whole layup; the first call starts
    // it (and empties the clipboard). False while it runs; true on the call that
    // finishes, which installs the grouped layup and records an AutoGroupCommand
    // unless the result equals the layup. Writes the progress (0..1, 1 with
    // true) when progress is not null. The layup must not be edited while a
    // grouping runs: the result replaces the layup as the grouping found it.
    bool AutoGroup(float *progress);
    // Abandons a running automatic grouping: nothing is installed or recorded.
    void ResetAutoGroup();

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
