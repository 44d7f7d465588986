#pragma once

#include <QDialog>

class QPoint;
class QTreeWidgetItem;

namespace Ui {
class LayupFormBase;
}

// The layup dialog's widgets and texts (gui/forms/layupformbase.ui) with the
// slots their signals reach; each slot only warns until a form overrides it.
// The end of an in-place edit in the tree comes from the tree's cell editor,
// which the form connects to LamTreeItemRenamed itself.
class LayupFormBase : public QDialog
{
    Q_OBJECT

public:
    // name: the object name, "LayupFormBase" when null.
    LayupFormBase(QWidget *parent, const char *name, bool modal);
    ~LayupFormBase() override;

public slots:
    virtual void LamTreeItemDoubleClicked(QTreeWidgetItem *item);
    virtual void AntiSymmetricClick();
    virtual void ApplyButtonClick();
    virtual void AutoGroupsButtonClick();
    virtual void CancelButtonClick();
    virtual void CopyButtonClick();
    virtual void CutButtonClick();
    virtual void ExportButtonClick();
    virtual void HelpButtonClick();
    virtual void ImportButtonClick();
    virtual void IndentButtonClick();
    virtual void LamTreeButtonClick();
    // text: what was typed into the column of the row of ply number ply.
    virtual void LamTreeItemRenamed(int ply, int column, const QString &text);
    // position: global screen coordinates; item null on an empty part of the list.
    virtual void LamTreeRightButtonClicked(QTreeWidgetItem *item, const QPoint &position, int column);
    virtual void LamTreeSelectionChanged();
    virtual void LinkButtonClick();
    virtual void MatlButtonClick();
    virtual void ModifyButtonClick();
    virtual void MoreButtonClick();
    virtual void NewButtonClick();
    virtual void OkButtonClick();
    virtual void OutdentButtonClick();
    virtual void PasteButtonClick();
    virtual void PlySizeInPixelsValueChanged();
    virtual void PrintButtonClick();
    virtual void ResetButtonClick();
    virtual void RightPasteMenuActivated(int id);
    virtual void StackingSeqMenuActivated(int index);
    virtual void SymmetricButtonClick();
    virtual void UnlinkButtonClick();
    virtual void ViewMenuActivated(int index);
    virtual void DeleteButtonClick();
    virtual void UndoButtonClick();
    virtual void PartialViewActivated(int index);

protected slots:
    virtual void languageChange();

protected:
    Ui::LayupFormBase *ui_;
};
