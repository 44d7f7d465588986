#pragma once

#include "core/selection.h"
#include "script/scriptcontext.h"

#include <string>
#include <vector>

class PlyGroup;

// The target of the laminate-mode script functions: each maps one script call
// onto the laminate or layup manager of the running context, keeping a
// selection between calls. Edits the engine refuses change nothing and report
// nothing here (the engine logs them). Also writes the laminate listing.
class LaminateCommands : public ScriptContext
{
public:
    LaminateCommands(AppContext *context, Output output);

    // method 1..4 (Top, Middle, Bottom, user-defined); other values do nothing.
    void SetReferencePlane(int method, float location);
    // A non-empty theory must be a failure theory's name; false, with nothing
    // changed, otherwise. Values below their thresholds leave fields unchanged.
    bool SetProperties(const std::string &theory, float f12, float bonding, float mass, float damping,
                       float temperature);
    void SetStackingSequence(int rule);
    int CountPlies() const;  // stacking rule applied
    int CountGroups() const; // groups and links
    void UnselectAll();
    void SelectAll();
    void SelectPly(int number);
    void SelectGroup(int id);
    void ShowSelection() const;
    const Selection &CurrentSelection() const { return selection_; }

    void AddPly(int material, float thickness, float angle, int color, bool below);
    void ModifyPlyMaterial(int material);
    void ModifyPlyThickness(float thickness);
    void ModifyPlyAngle(float angle);
    void ModifyPlyColor(int color);
    void Delete();
    void Cut();
    void Copy();
    void Paste(bool mirrored, bool antisymmetric, bool below, int count);
    void Group();
    void Ungroup();
    void Link();
    void Unlink();
    // Runs the whole automatic grouping inside this call.
    void AutoGroup();

    void ListProperties() const;
    void ListLayup() const;

private:
    // Lists the group's items with positions from counter on; returns the next position.
    int ListPly(const PlyGroup &group, int counter, const std::string &indent) const;
    void PrintIdList(const std::vector<int> &ids, const char *label) const;
    const PlyGroup &Root() const;
    // Caches a material that a script names by id: a request starts with only
    // the materials of the loaded plies, and the listing names only cached ones.
    void MeetMaterial(int material);
    // Ids of the groups and links of the layup, ascending.
    std::vector<int> GroupIds() const;

    Selection selection_;
};
