#pragma once

#include "gui/engines/layupformview.h"
#include "gui/forms/layupformbase.h"
#include "gui/views/observer.h"

#include <memory>

class AppContext;
class LayupSketcher;
class LayupTree;
class QMenu;

// The layup dialog: the layup as a tree and as a sketch, the editing
// commands, the stacking rule, the right-click menu and OK, Apply, Reset,
// Cancel and Help. Every command goes to its LayupFormEngine, which drives the
// dialog back through LayupFormView; the dialog observes both views and keeps
// their selections and the engine's in step.
class LayupForm : public LayupFormBase, public LayupFormView, public Observer
{
    Q_OBJECT

public:
    // context is not owned and must hold a loaded laminate; create chooses the caption.
    LayupForm(QWidget *parent, AppContext *context, bool create);
    ~LayupForm() override;

    int Exec(bool *again) override;
    std::unique_ptr<ModelerFormView> CreateModelerForm(AppContext *context) override;
    std::unique_ptr<PlyDataFormView> CreatePlyDataForm(AppContext *context) override;
    void ShowWarningArgs(const char *title, const char *text, int first, int second) override;
    void ShowWarning(const char *title, const char *text) override;
    void ApplyViewMode() override;
    void Refresh(bool layupChanged, bool redraw) override;
    // "Half" only for a rule that repeats.
    void ShowStackingRule(int rule) override;
    void ClearSelection() override;
    void SetViewSelection(const Selection &selection) override;
    void UpdateInfoBox(int plies, double thickness, const std::string &lengthUnit, bool show) override;
    void EnableNew(bool on) override;
    void EnableModify(bool on) override;
    void EnableDelete(bool on) override;
    void EnableCut(bool on) override;
    void EnableCopy(bool on) override;
    void EnablePaste(bool on) override;
    void EnableGroup(bool on) override;
    void EnableUngroup(bool on) override;
    void EnableLink(bool on) override;
    void EnableUnlink(bool on) override;
    void SetUndo(bool on, const char *commandName) override;
    void SetPasteLocations(bool ends, bool pastePossible) override;
    void ClearMenus() override;
    void BuildMaterialMenu(int step, const char *text) override;
    void BuildColorMenu(int step, const char *text) override;

    // A selection change in the tree or the sketch, or the sketch's right click.
    void Update(Subject *subject, int hint) override;

    // The views, the right-click menu and the selection the commands act on,
    // for the dialog's tests.
    LayupSketcher *Sketch() const;
    LayupTree *Tree() const;
    QMenu *RightClickMenu() const;
    const Selection &EngineSelection() const;

public slots:
    void AutoGroupsButtonClick() override;
    void ApplyButtonClick() override;
    void CancelButtonClick() override;
    void CopyButtonClick() override;
    void CutButtonClick() override;
    void DeleteButtonClick() override;
    void ExportButtonClick() override;
    void HelpButtonClick() override;
    void ImportButtonClick() override;
    void IndentButtonClick() override;
    void LamTreeItemDoubleClicked(QTreeWidgetItem *item) override;
    void LamTreeItemRenamed(int ply, int column, const QString &text) override;
    void LamTreeRightButtonClicked(QTreeWidgetItem *item, const QPoint &position, int column) override;
    void LamTreeSelectionChanged() override;
    void LinkButtonClick() override;
    void MatlButtonClick() override;
    void ModifyButtonClick() override;
    void MoreButtonClick() override;
    void NewButtonClick() override;
    void OkButtonClick() override;
    void OutdentButtonClick() override;
    void PartialViewActivated(int index) override;
    void PasteButtonClick() override;
    void PlySizeInPixelsValueChanged() override;
    void PrintButtonClick() override;
    void ResetButtonClick() override;
    void RightPasteMenuActivated(int id) override;
    void StackingSeqMenuActivated(int index) override;
    void UndoButtonClick() override;
    void UnlinkButtonClick() override;
    void ViewMenuActivated(int index) override;

    virtual void RightColorMenuActivated(int id);
    virtual void RightMatMenuActivated(int id);

protected:
    void showEvent(QShowEvent *event) override;
    // Takes committed tree edits up before any input of the application.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Takes the committed tree edits up in order; true when one was refused.
    bool TakeTreeEdits();
    // Enables control; when on, also appends entry calling slot to the
    // right-click menu (no slot: the paste submenu), after the clipboard
    // separator for the clipboard's commands.
    void EnableCommand(QWidget *control, bool on, const QString &entry, void (LayupForm::*slot)(),
                       bool clipboard = false);
    void ShowSketchFromLeft();
    void ReadPasteOptions(bool *symmetric, bool *antisymmetric, bool *below, int *count) const;
    // Pops the right-click menu up at a global position when it has entries.
    void ShowRightClickMenu(const QPoint &position);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};
