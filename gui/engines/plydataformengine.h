#pragma once

#include <memory>

class AppContext;
class PlyDataFormView;
class Selection;

// The logic of the ply data dialog: proposes the material, thickness, angle
// and colour of a new ply (the last entries and the next colour of a cycle of
// sixteen) or shows those the selected plies share, checks the entries on OK
// and adds the ply or modifies the plies through the layup manager. The last
// entries and the colour cycle are kept for the life of the process.
class PlyDataFormEngine
{
public:
    // Neither the view nor the context (which must have a laminate) is owned.
    PlyDataFormEngine(PlyDataFormView *view, AppContext *context);
    ~PlyDataFormEngine();
    PlyDataFormEngine(const PlyDataFormEngine &) = delete;
    PlyDataFormEngine &operator=(const PlyDataFormEngine &) = delete;

    // Fills the view for a new ply (inserted at the selection's insertion
    // point) or for the selected plies; keeps a copy of selection.
    void Initialize(bool newPly, const Selection &selection);
    // 0 when the ply was added or the plies modified; 1 after one warning
    // (a refused entry, or the layup manager's refusal).
    int Done();
    // Runs the host's material picker and selects the material chosen.
    void SelectMaterial();
    // Adds the host colours to the colour menu: up to id 16, or every colour
    // with showAll; the colour named "BLACK" is never offered.
    void ShowColor(bool showAll);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
