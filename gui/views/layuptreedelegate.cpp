#include "gui/views/layuptreedelegate.h"

#include "gui/forms/numbertext.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreeitem.h"

#include <QKeyEvent>
#include <QLineEdit>

LayupTreeDelegate::LayupTreeDelegate(LayupTree *tree, QObject *parent)
    : QStyledItemDelegate(parent), tree_(tree)
{
}

QWidget *LayupTreeDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    // Only the thickness and angle of a stored ply can be typed over.
    LayupTreeItem *row = tree_->ItemAt(index);
    if (!LayupTree::IsEditableCell(row, index.column()))
        return nullptr;
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    // Every text is let through: the tree's check reports what is no number.
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        SetNumberValidator(line, true);
    tree_->SetEditCell(row, index.column());
    return editor;
}

void LayupTreeDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    tree_->SetEditCell(nullptr, -1);
    QStyledItemDelegate::destroyEditor(editor, index);
}

void LayupTreeDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    // The typed text is reported, not written: the cell keeps showing the
    // ply's value until the check takes the text up, so that an editor opened
    // there meanwhile (Tab, Shift+Tab) cannot commit the text a second time.
    // The report names the cell: by then Tab may have moved the editor on.
    const auto *line = qobject_cast<QLineEdit *>(editor);
    const auto *row = dynamic_cast<LayupTreeSimpleItem *>(tree_->ItemAt(index));
    if (line && row && line->text() != index.data(Qt::EditRole).toString())
        emit const_cast<LayupTreeDelegate *>(this)->EditCommitted(row->Id(), index.column(), line->text());
}

bool LayupTreeDelegate::eventFilter(QObject *editor, QEvent *event)
{
    const auto *press = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
    const int key = press ? press->key() : 0;
    // The base would move down the column, and out of the tree at its ends
    // (on to the stacking selector, which the next arrow key would change).
    const bool back = key == Qt::Key_Backtab || (key == Qt::Key_Tab && (press->modifiers() & Qt::ShiftModifier));
    if (back || key == Qt::Key_Tab) {
        emit commitData(static_cast<QWidget *>(editor));
        tree_->EditNeighbour(!back);
        return true;
    }
    if (QStyledItemDelegate::eventFilter(editor, event))
        return true;
    // The base has queued the commit of Enter and passes the key on: the line
    // edit ignores it, and the dialog would take it for its default button (OK)
    // and close before the value reached the laminate.
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void LayupTreeDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.siblingAtColumn(0).data(ChildRole).toBool()) {
        option->palette.setColor(QPalette::Text, QColor(255, 0, 0));
        option->palette.setColor(QPalette::HighlightedText, QColor(255, 0, 0));
    }
}
