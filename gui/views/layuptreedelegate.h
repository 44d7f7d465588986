#pragma once

#include <QStyledItemDelegate>

class LayupTree;

// The layup tree's cell editor: only the thickness and angle cells of
// editable rows open an editor, a committed edit that changed the text is
// reported once with the cell it was made in, Tab and Shift+Tab go on to the
// next and previous editable cell across the row, and the rows of a link's
// expansion paint red also when selected.
class LayupTreeDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The data role that marks a child row.
    static constexpr int ChildRole = Qt::UserRole + 1;

    LayupTreeDelegate(LayupTree *tree, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    // Closes editor without committing its text.
    void CloseEditor(QWidget *editor) { emit closeEditor(editor); }

signals:
    // An in-place edit ended: text was typed into the column of the row of
    // ply plyNumber, whose cell still shows the ply's value. However the edit
    // ended (Enter, Tab, a click elsewhere), the report names the cell edited,
    // not the one the editor moved on to.
    void EditCommitted(int plyNumber, int column, const QString &text);

protected:
    bool eventFilter(QObject *editor, QEvent *event) override;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    LayupTree *tree_;
};
