#include "gui/views/layuptreedelegate.h"

#include "gui/views/layuptree.h"
#include "gui/views/layuptreeitem.h"

LayupTreeDelegate::LayupTreeDelegate(LayupTree *tree, QObject *parent)
    : QStyledItemDelegate(parent), tree_(tree)
{
}

QWidget *LayupTreeDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    // Only the thickness and angle of a stored ply can be typed over.
    auto *row = dynamic_cast<LayupTreeSimpleItem *>(tree_->ItemAt(index));
    if (!row || row->IsChild() || (index.column() != 1 && index.column() != 2))
        return nullptr;
    tree_->SetEditCell(row, index.column());
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void LayupTreeDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QStyledItemDelegate::setModelData(editor, model, index);
    emit const_cast<LayupTreeDelegate *>(this)->EditCommitted();
}

void LayupTreeDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.siblingAtColumn(0).data(ChildRole).toBool()) {
        option->palette.setColor(QPalette::Text, QColor(255, 0, 0));
        option->palette.setColor(QPalette::HighlightedText, QColor(255, 0, 0));
    }
}
