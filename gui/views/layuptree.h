#pragma once

#include "gui/views/layupshow.h"

#include <QList>

#include <map>
#include <unordered_map>
#include <vector>

class Layup;
class LayupTreeDelegate;
class LayupTreeItem;
class LayupTreeSimpleItem;
class MaterialList;
class PlyGroup;
class QModelIndex;
class QString;
class QTreeWidget;
class QTreeWidgetItem;

// The layup as a four-column tree: one row per ply, group and link, the top
// of the stack first. A link's row holds its expansion as red child rows that
// can be selected but not edited. Rebuilds (Clear, then Show) keep which group
// rows were open; a ply's thickness and angle can be edited in place.
class LayupTree : public LayupShow
{
public:
    // Neither list nor materials is owned; both must outlive the tree. Sets the
    // list up for extended selection and in-place editing of columns 1 and 2.
    LayupTree(QTreeWidget *list, MaterialList *materials);
    // Removes the rows from the list.
    ~LayupTree() override;
    LayupTree(const LayupTree &) = delete;
    LayupTree &operator=(const LayupTree &) = delete;

    // Walk every row depth first, closed ones included.
    std::vector<int> GetSelectedPlies() override;
    std::vector<int> GetSelectedGroups() override;
    // Select exactly these ply rows (group rows keep their state), without
    // the list's selection signal.
    void SetSelectedPlies(const std::vector<int> &plies) override;
    // Adds the rows of layup; call Clear first.
    void Show(const Layup &layup) override;
    // Remembers which group rows are open, then removes every row.
    void Clear() override;

    // Select exactly these group and link rows; ply rows keep their state.
    void SetSelectedGroups(const std::vector<int> &groups);

    // The cell whose in-place editor is open (row null: none). A rebuild
    // opens the editor again on that cell, where Tab took the user, and with
    // no editor open in the focused list keeps its current ply cell current.
    void SetEditCell(LayupTreeItem *row, int column);
    LayupTreeItem *EditedRow() const { return editRow_; }
    // Whether the cell can be typed over: the thickness or angle of a ply
    // row outside a link's expansion.
    static bool IsEditableCell(const QTreeWidgetItem *row, int column);
    // Moves the open editor, without committing it, to the next (forward) or
    // previous editable cell in reading order: a ply's thickness, its angle,
    // then the row below's, as the rows are shown. At the first and last
    // editable cell it opens on the same cell again, so that a run of Tabs
    // never leaves the tree.
    void EditNeighbour(bool forward);
    // Opens the editor on the column of the stored ply numbered plyNumber,
    // dropping an open one uncommitted; false when no such row is shown.
    bool EditPly(int plyNumber, int column);
    // Checks text typed into the thickness or angle cell (column) of the
    // stored ply numbered plyNumber (the row's number). True when it changed
    // the ply: thickness and angle then hold the ply's values. False when no
    // such row is shown and after a refused or unchanged entry; refused (may
    // be null) tells whether a warning refused it.
    bool ValidateRename(int plyNumber, int column, const QString &text, float *thickness, float *angle,
                        bool *refused = nullptr);

    MaterialList *GetMaterialList() const { return materials_; }
    QTreeWidget *List() const { return list_; }
    // Emits EditCommitted when an in-place edit ends with a value.
    LayupTreeDelegate *Delegate() const { return delegate_; }
    // The row of a model index of the list, or null.
    LayupTreeItem *ItemAt(const QModelIndex &index) const;

private:
    // Rows without a parent go first in topRows; group and link rows are
    // added to groups, to be opened once they are on the list.
    struct Build
    {
        QList<QTreeWidgetItem *> topRows;
        std::vector<LayupTreeItem *> groups;
        std::unordered_map<int, int> links; // the whole layup's links by target
        int counter = 1;
        int LinksTo(int groupId) const;
    };
    void AddItems(const Layup &layup, LayupTreeItem *parent, bool child, PlyGroup &whole, Build &build);
    void ApplyOpenState(LayupTreeItem *row) const;
    // The row of the ply numbered plyNumber outside links' expansions, or null.
    LayupTreeSimpleItem *StoredPlyRow(int plyNumber) const;
    // Makes the cell current, without touching the selection, focuses the
    // list and opens the cell's editor when edit is set (an open one is
    // dropped uncommitted).
    void GoToCell(LayupTreeItem *row, int column, bool edit);

    MaterialList *materials_;
    LayupTreeItem *editRow_ = nullptr;
    int editColumn_ = -1;
    // The ply cell that a rebuild took from the user, or -1, and whether
    // its editor was open.
    int reopenPly_ = -1;
    int reopenColumn_ = -1;
    bool reopenEditor_ = false;
    QTreeWidget *list_;
    LayupTreeDelegate *delegate_;
    std::map<int, bool> openStates_;
};
