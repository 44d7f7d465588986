#include "gui/views/layuptree.h"

#include "core/layup.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "gui/views/layuptreedelegate.h"
#include "gui/views/layuptreeitem.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

// The cells that can be typed over, in reading order.
constexpr int kFirstTyped = LayupTreeItem::ThicknessColumn;
constexpr int kLastTyped = LayupTreeItem::AngleColumn;

// Whether every group row above row is open.
bool Shown(const QTreeWidgetItem *row)
{
    for (const QTreeWidgetItem *up = row->parent(); up; up = up->parent())
        if (!up->isExpanded())
            return false;
    return true;
}

bool Contains(const std::vector<int> &ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// Selects or deselects every row that select names (returning 1 or 0), and
// leaves rows it answers -1 for alone; the list's selection signal stays quiet.
template <class Choose>
void SelectRows(QTreeWidget *list, Choose select)
{
    const QSignalBlocker quiet(list);
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        const int wanted = select(static_cast<LayupTreeItem *>(*it));
        if (wanted >= 0 && (*it)->isSelected() != (wanted == 1))
            (*it)->setSelected(wanted == 1);
    }
    list->viewport()->update();
}

} // namespace

LayupTree::LayupTree(QTreeWidget *list, MaterialList *materials)
    : materials_(materials), list_(list), delegate_(new LayupTreeDelegate(this, list))
{
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setSectionsClickable(false);
    list_->setSortingEnabled(false);
    list_->setItemDelegate(delegate_);
    list_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

LayupTree::~LayupTree()
{
    // The rows point back at the tree: they go first, without selection signals.
    const QSignalBlocker quiet(list_);
    list_->clear();
}

std::vector<int> LayupTree::GetSelectedPlies()
{
    std::vector<int> ids;
    for (QTreeWidgetItemIterator it(list_, QTreeWidgetItemIterator::Selected); *it; ++it) {
        const auto *row = static_cast<LayupTreeItem *>(*it);
        if (!row->IsGroup())
            ids.push_back(row->Id());
    }
    return ids;
}

std::vector<int> LayupTree::GetSelectedGroups()
{
    std::vector<int> ids;
    for (QTreeWidgetItemIterator it(list_, QTreeWidgetItemIterator::Selected); *it; ++it) {
        const auto *row = static_cast<LayupTreeItem *>(*it);
        if (row->IsGroup())
            ids.push_back(row->Id());
    }
    return ids;
}

void LayupTree::SetSelectedPlies(const std::vector<int> &plies)
{
    SelectRows(list_, [&plies](LayupTreeItem *row) { return row->IsGroup() ? -1 : int(Contains(plies, row->Id())); });
}

void LayupTree::SetSelectedGroups(const std::vector<int> &groups)
{
    SelectRows(list_,
               [&groups](LayupTreeItem *row) { return row->IsGroup() ? int(Contains(groups, row->Id())) : -1; });
}

void LayupTree::Show(const Layup &layup)
{
    // Links are counted, in one walk, and links inside an expansion resolved,
    // against the whole layup, built once for every row.
    PlyGroup whole(0, layup);
    // The rows are built off the list and put on it at once: the list would
    // otherwise renumber every opened row's index at each insertion. Rows
    // are opened once on the list; off it, opening them does nothing.
    Build build;
    whole.CountLinks(build.links);
    AddItems(layup, nullptr, false, whole, build);
    list_->insertTopLevelItems(0, build.topRows);
    for (LayupTreeItem *row : build.groups)
        ApplyOpenState(row);
    // Not in a group the user closed: making a row current shows it, which
    // would open the group again.
    if (LayupTreeItem *row = reopenPly_ > 0 ? StoredPlyRow(reopenPly_) : nullptr; row && Shown(row))
        GoToCell(row, reopenColumn_, reopenEditor_);
    reopenPly_ = reopenColumn_ = -1;
}

void LayupTree::AddItems(const Layup &layup, LayupTreeItem *parent, bool child, PlyGroup &whole, Build &build)
{
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase *item = it->Get();
        LayupTreeItem *row = nullptr;
        if (const auto *ply = dynamic_cast<const PlySimple *>(item)) {
            row = new LayupTreeSimpleItem(this, parent, child, *ply, build.counter++);
        } else if (const auto *group = dynamic_cast<const PlyGroup *>(item)) {
            row = new LayupTreeGroupItem(this, parent, child, group->Id(), build.LinksTo(group->Id()));
            AddItems(group->GetLayup(), row, child, whole, build);
            build.groups.push_back(row);
        } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(item)) {
            row = new LayupTreeLinkItem(this, parent, child, link->Id(), link->TargetGroupId(), link->LinkType(),
                                        build.LinksTo(link->Id()));
            // A copy roots its links in itself, where a link inside the
            // expansion would find no target and show no plies.
            PlyGroup expanded = link->ExpandedCopy();
            expanded.SetRoot(&whole);
            AddItems(expanded.GetLayup(), row, true, whole, build);
            build.groups.push_back(row);
        }
        if (row && !parent)
            build.topRows.prepend(row);
    }
}

int LayupTree::Build::LinksTo(int groupId) const
{
    const auto found = links.find(groupId);
    return found == links.end() ? 0 : found->second;
}

void LayupTree::ApplyOpenState(LayupTreeItem *row) const
{
    const auto found = openStates_.find(row->Id());
    row->setExpanded(found == openStates_.end() || found->second);
}

void LayupTree::Clear()
{
    openStates_.clear();
    for (QTreeWidgetItemIterator it(list_); *it; ++it) {
        const auto *row = static_cast<LayupTreeItem *>(*it);
        if (row->IsGroup())
            openStates_[row->Id()] = row->isExpanded();
    }
    const auto *current = dynamic_cast<LayupTreeSimpleItem *>(list_->currentItem());
    reopenEditor_ = editRow_ != nullptr;
    if (editRow_) {
        reopenPly_ = editRow_->Id();
        reopenColumn_ = editColumn_;
    } else if (current && !current->IsChild() && list_->hasFocus()) {
        reopenPly_ = current->Id();
        reopenColumn_ = list_->currentColumn();
    }
    editRow_ = nullptr;
    editColumn_ = -1;
    // The rebuild that follows sets the selection itself.
    const QSignalBlocker quiet(list_);
    list_->clear();
}

void LayupTree::SetEditCell(LayupTreeItem *row, int column)
{
    editRow_ = row;
    editColumn_ = column;
}

bool LayupTree::IsEditableCell(const QTreeWidgetItem *row, int column)
{
    const auto *ply = dynamic_cast<const LayupTreeSimpleItem *>(row);
    return ply && !ply->IsChild() && column >= kFirstTyped && column <= kLastTyped;
}

void LayupTree::EditNeighbour(bool forward)
{
    if (!editRow_)
        return;
    // Rows of a closed group are not shown, and so passed over.
    QTreeWidgetItem *row = editRow_;
    int column = editColumn_;
    do {
        column += forward ? 1 : -1;
        if (column < kFirstTyped || column > kLastTyped) {
            row = forward ? list_->itemBelow(row) : list_->itemAbove(row);
            column = forward ? kFirstTyped : kLastTyped;
        }
    } while (row && !IsEditableCell(row, column));
    if (row)
        GoToCell(static_cast<LayupTreeItem *>(row), column, true);
    else
        GoToCell(editRow_, editColumn_, true);
}

bool LayupTree::EditPly(int plyNumber, int column)
{
    LayupTreeSimpleItem *row = StoredPlyRow(plyNumber);
    if (!row || !IsEditableCell(row, column))
        return false;
    GoToCell(row, column, true);
    return true;
}

void LayupTree::GoToCell(LayupTreeItem *row, int column, bool edit)
{
    // Closed first: a change of the current cell would commit its text.
    if (QWidget *editor = editRow_ ? list_->itemWidget(editRow_, editColumn_) : nullptr)
        delegate_->CloseEditor(editor);
    list_->setCurrentItem(row, column, QItemSelectionModel::NoUpdate);
    list_->setFocus();
    if (edit)
        list_->editItem(row, column);
}

bool LayupTree::ValidateRename(int plyNumber, int column, const QString &text, float *thickness, float *angle,
                               bool *refused)
{
    LayupTreeSimpleItem *row = StoredPlyRow(plyNumber);
    PlySimple result(0, "");
    if (!row || !row->Validate(column, text, result, refused))
        return false;
    *thickness = result.Thickness();
    *angle = result.Angle();
    return true;
}

LayupTreeSimpleItem *LayupTree::StoredPlyRow(int plyNumber) const
{
    for (QTreeWidgetItemIterator it(list_); *it; ++it) {
        auto *row = dynamic_cast<LayupTreeSimpleItem *>(*it);
        if (row && !row->IsChild() && row->Id() == plyNumber)
            return row;
    }
    return nullptr;
}

LayupTreeItem *LayupTree::ItemAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    const QModelIndex parent = index.parent();
    QTreeWidgetItem *item = nullptr;
    if (!parent.isValid()) {
        item = list_->topLevelItem(index.row());
    } else if (QTreeWidgetItem *owner = ItemAt(parent)) {
        item = owner->child(index.row());
    }
    return static_cast<LayupTreeItem *>(item);
}
