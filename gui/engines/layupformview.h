#pragma once

#include "gui/engines/modelerformview.h"
#include "gui/engines/plydataformview.h"

#include <memory>
#include <string>

class AppContext;
class Selection;

// What the layup dialog's engine asks of the dialog. Texts handed in are
// untranslated; the dialog translates them.
class LayupFormView
{
public:
    virtual ~LayupFormView() = default;

    // Runs the dialog modally (the first run initialises the engine, later ones
    // rebuild the views); *again is cleared, and set by Apply. 1 when accepted.
    virtual int Exec(bool *again) = 0;
    // A new laminate properties or ply data dialog over this one; the caller owns it.
    virtual std::unique_ptr<ModelerFormView> CreateModelerForm(AppContext *context) = 0;
    virtual std::unique_ptr<PlyDataFormView> CreatePlyDataForm(AppContext *context) = 0;
    // A warning box whose text has "%1" and "%2" replaced by first and second.
    virtual void ShowWarningArgs(const char *title, const char *text, int first, int second) = 0;
    virtual void ShowWarning(const char *title, const char *text) = 0;
    // The sketch takes the view mode chosen in the dialog.
    virtual void ApplyViewMode() = 0;
    // layupChanged: rebuild the tree (and the sketch when redraw), show the
    // stacking rule and clear the selection; redraw: lay the sketch out again.
    virtual void Refresh(bool layupChanged, bool redraw) = 0;
    // The stacking selector shows rule (0 to 4); the partial-view menu and the
    // sketch's half view follow it.
    virtual void ShowStackingRule(int rule) = 0;
    // Selects nothing in both views and hands the empty selection to the engine.
    virtual void ClearSelection() = 0;
    // Shows selection in both views without telling the engine.
    virtual void SetViewSelection(const Selection &selection) = 0;
    // plies below 0: no totals; show false hides the box.
    virtual void UpdateInfoBox(int plies, double thickness, const std::string &lengthUnit, bool show) = 0;

    // Each enables its controls, and when true adds its right-click entry.
    virtual void EnableNew(bool on) = 0;
    virtual void EnableModify(bool on) = 0;
    virtual void EnableDelete(bool on) = 0;
    virtual void EnableCut(bool on) = 0;
    virtual void EnableCopy(bool on) = 0;
    virtual void EnablePaste(bool on) = 0;
    virtual void EnableGroup(bool on) = 0;
    virtual void EnableUngroup(bool on) = 0;
    virtual void EnableLink(bool on) = 0;
    virtual void EnableUnlink(bool on) = 0;
    // on: Undo offers the command named (untranslated); off: Undo is disabled.
    virtual void SetUndo(bool on, const char *commandName) = 0;
    // ends: the paste locations are the laminate's top and bottom, else above
    // and below the selection; the paste submenu is refilled when pastePossible.
    virtual void SetPasteLocations(bool ends, bool pastePossible) = 0;
    // Empties the right-click menu and its submenus.
    virtual void ClearMenus() = 0;
    // step 0: a separator in the right-click menu; 1: a material name for the
    // material submenu; 2: "Select..." and the submenu into the menu.
    virtual void BuildMaterialMenu(int step, const char *text) = 0;
    // step 0: a colour name for the colour submenu; 1: the submenu into the menu.
    virtual void BuildColorMenu(int step, const char *text) = 0;
};
