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
    // What the editing commands act on.
    const Selection &CurrentSelection() const;
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
    // one undoable command; the views are rebuilt when it changed the rule. A
    // rule whose full stack would pass the ply limit is refused with a warning
    // that names the limit, and the view shows the laminate's rule again.
    void SetStacking(int menuIndex);
    // Enables the controls and fills the menus for the current selection.
    void UpdateView();

    // Editing commands on the engine's selection.
    void Copy();
    // Inserts the clipboard count times above or below the selection (or the
    // ends of the stack). The items selected before stay selected under their
    // new numbers, as a script's selection does after its Paste; the views are
    // rebuilt and, when something was selected, show that selection again.
    void Paste(bool symmetric, bool antisymmetric, bool below, int count);
    // Each rebuilds the views after a success and warns after a refusal.
    // Grouping, linking and unlinking keep the plies (a link stands for plies
    // that match its group's), so they leave the sketch as it is; Ungroup
    // redraws it too, since the links it drops take their plies with them.
    void Delete();
    void Cut();
    void CreateGroup();
    void CreateLink();
    void Ungroup();
    void Unlink();
    // Warns when the history cannot be replayed; the views are rebuilt either way.
    void Undo();
    // An in-place edit of one ply: the angle, and only when that succeeded the
    // thickness. Refusals are silent; the views are rebuilt either way.
    void ModifyFromTree(int plyNumber, float thickness, float angle);
    // One step of automatic grouping; true when it is done (the tree is then rebuilt).
    bool AutoGroup(float *progress);
    // Abandons a running automatic grouping; nothing is recorded. The
    // controls follow the clipboard, which the grouping emptied.
    void AutoGroupFinish();
    void Import();
    // Logs the laminate's property listing line by line.
    void Export();
    // One line to the root logger.
    static void LogLine(const char *line);
    // The ply data dialog for a new ply above or below the selection; a
    // cancelled dialog leaves the laminate as it was.
    void NewPly(bool below);
    // The ply data dialog for the selection's stored plies, its edits recorded
    // as one undo step; a cancelled dialog records nothing. False (after a
    // warning) when only plies inside links were selected.
    bool Modify();
    // The laminate properties dialog; a cancelled one changes nothing, an
    // accepted one leaves the controls offering to undo what it recorded.
    void Properties();
    // The host's material picker, for browsing; checks the plies' materials
    // when the host's list changed.
    void BrowseMaterials();
    // Gives the selected plies the named material (null or "Select...": the
    // one picked in the host's picker). True when the picker was shown.
    bool SelectMaterial(const char *name);
    // Gives the selected plies the named colour; an unknown name does nothing.
    void SelectColor(const char *name);

private:
    // Runs the host's picker and returns its answer (as MaterialList's
    // SelectMaterial). The views follow a change of the host's list; else the
    // controls do, since the material menu now offers the material picked.
    int PickMaterial();

    struct Impl;
    Impl *impl_;
};
