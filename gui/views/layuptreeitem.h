#pragma once

#include "core/plysimple.h"

#include <QTreeWidgetItem>

class LayupTree;
class QString;

// One row of the layup tree. A child row stands for a ply or group inside a
// link's expansion: it is shown red and cannot be edited.
class LayupTreeItem : public QTreeWidgetItem
{
public:
    enum Column { IdColumn, ThicknessColumn, AngleColumn, MaterialColumn };

    // A row put first among parent's rows, and owned by it; a row without a
    // parent is the caller's to put on the tree's list.
    LayupTreeItem(LayupTree *tree, LayupTreeItem *parent, bool child);

    // The ply number of a ply row, the group id of a group or link row.
    virtual int Id() const = 0;
    virtual bool IsGroup() const = 0;
    // Writes the four column texts; group and link rows are opened.
    virtual void Refresh() = 0;

    LayupTree *GetTree() const { return tree_; }
    bool IsChild() const { return child_; }
    // A warning box over the tree's list with one OK button.
    void ShowWarning(const QString &title, const QString &text) const;

protected:
    // Opens the row and makes it expandable (group and link rows).
    void OpenAsGroup();

private:
    LayupTree *tree_;
    bool child_;
};

// A simple ply; columns 1 (thickness) and 2 (angle) can be edited in place
// unless it is a child row.
class LayupTreeSimpleItem : public LayupTreeItem
{
public:
    // Shows a copy of ply numbered number.
    LayupTreeSimpleItem(LayupTree *tree, LayupTreeItem *parent, bool child, const PlySimple &ply, int number);
    // Clears the tree's edited row when it is this one.
    ~LayupTreeSimpleItem() override;

    int Id() const override { return ply_.Id(); }
    bool IsGroup() const override { return false; }
    void Refresh() override;

    // Checks typed as the new text of column; a refused entry shows one
    // "Validation Warning" and sets refused (may be null). The row's texts are
    // rewritten from its ply in any case. True when the value changed: result
    // then holds the row's ply.
    bool Validate(int column, const QString &typed, PlySimple &result, bool *refused = nullptr);

    const PlySimple &Ply() const { return ply_; }

private:
    PlySimple ply_;
};

class LayupTreeGroupItem : public LayupTreeItem
{
public:
    LayupTreeGroupItem(LayupTree *tree, LayupTreeItem *parent, bool child, int groupId, int linkCount);

    int Id() const override { return groupId_; }
    bool IsGroup() const override { return true; }
    void Refresh() override;

private:
    int groupId_;
    int linkCount_;
};

class LayupTreeLinkItem : public LayupTreeItem
{
public:
    LayupTreeLinkItem(LayupTree *tree, LayupTreeItem *parent, bool child, int id, int targetId, int linkType,
                      int linkCount);

    int Id() const override { return id_; }
    bool IsGroup() const override { return true; }
    void Refresh() override;

private:
    int id_;
    int linkType_;
    int linkCount_;
    int targetId_;
};
