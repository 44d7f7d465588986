#pragma once

class AppContext;
class LayupFormView;
class Selection;

// The layup dialog's logic: it edits the current laminate through the
// context's managers, reports refusals through the view's warnings and tells
// the view what to redraw and which commands the selection allows.
class LayupFormEngine
{
public:
    // Neither view nor context is owned; both must outlive the engine.
    LayupFormEngine(LayupFormView *view, AppContext *context);
    ~LayupFormEngine();
    LayupFormEngine(const LayupFormEngine &) = delete;
    LayupFormEngine &operator=(const LayupFormEngine &) = delete;

    // Dialog start and end.
    //
    // The laminate as it is counts as saved; the views are built.
    void Initialize();
    // The views' selection becomes the engine's; the view is brought in line.
    void SetSelection(const Selection &selection);
    // False (after a warning) for a laminate without plies or with a ply whose
    // material the host does not know; else the laminate counts as saved.
    bool Ok();
    // Ok, and true only when the laminate changed since the last save.
    bool Apply();
    // Back to the saved laminate; the views are rebuilt when that changed it.
    void Reset();
    // False (after a warning) when a ply's material is unknown; else back to
    // the saved laminate.
    bool Cancel();
    // True when the host knows every ply's material; else warns with the
    // first such ply's number and material id.
    bool CheckMaterialReferences();
    // The stacking rule of a menu index (1 to 4; anything else is simple) as
    // one undoable command; the views are rebuilt when it changed the rule.
    void SetStacking(int menuIndex);
    // Enables the controls and fills the menus for the current selection.
    void UpdateView();

    // Editing commands on the engine's selection.
    void Copy();
    // Inserts the clipboard count times above or below the selection (or the
    // ends of the stack); the pasted items end up selected.
    void Paste(bool symmetric, bool antisymmetric, bool below, int count);
    void Delete();
    void Cut();
    void CreateGroup();
    void CreateLink();
    void Ungroup();
    void Unlink();
    void Undo();
    void ModifyFromTree(int plyNumber, float thickness, float angle);
    // One step of automatic grouping; true when it is done.
    bool AutoGroup(float *progress);
    void AutoGroupFinish();
    void Import();
    void Export();
    void NewPly(bool below);
    // False when it refused to start.
    bool Modify();
    void Properties();
    void BrowseMaterials();
    // True when the host's material picker was shown.
    bool SelectMaterial(const char *name);
    void SelectColor(const char *name);

private:
    struct Impl;
    Impl *impl_;
};
