#pragma once

#include <QStyledItemDelegate>

class LayupTree;

// The layup tree's cell editor: only the thickness and angle cells of
// editable rows open an editor, a committed edit is reported once, and the
// rows of a link's expansion paint red also when selected.
class LayupTreeDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The data role that marks a child row.
    static constexpr int ChildRole = Qt::UserRole + 1;

    LayupTreeDelegate(LayupTree *tree, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // An in-place edit ended and its text is in the cell.
    void EditCommitted();

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    LayupTree *tree_;
};
