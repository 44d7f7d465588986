#include "gui/views/layuptreeitem.h"

#include "gui/views/layuptree.h"
#include "gui/forms/numbertext.h"
#include "gui/views/layuptreedelegate.h"
#include "host/materiallist.h"
#include "core/plyangle.h"
#include "util/tolerance.h"

#include <QBrush>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTreeWidget>

namespace {

// "Parent", "Parent (n)" or nothing, by the number of links to the row's group.
QString ParentText(const QString &parent, int linkCount)
{
    if (linkCount < 1)
        return {};
    return linkCount == 1 ? parent : parent + " (" + QString::number(linkCount) + ")";
}

} // namespace

LayupTreeItem::LayupTreeItem(LayupTree *tree, LayupTreeItem *parent, bool child)
    : QTreeWidgetItem(QTreeWidgetItem::UserType), tree_(tree), child_(child)
{
    if (child) {
        setData(IdColumn, LayupTreeDelegate::ChildRole, true);
        for (int column = IdColumn; column <= MaterialColumn; ++column)
            setForeground(column, QBrush(QColor(255, 0, 0)));
    }
    if (parent)
        parent->insertChild(0, this);
}

void LayupTreeItem::ShowWarning(const QString &title, const QString &text) const
{
    QMessageBox::warning(tree_->List(), title, text, QMessageBox::Ok);
}

void LayupTreeItem::OpenAsGroup()
{
    setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    setExpanded(true);
}

LayupTreeSimpleItem::LayupTreeSimpleItem(LayupTree *tree, LayupTreeItem *parent, bool child, const PlySimple &ply,
                                         int number)
    : LayupTreeItem(tree, parent, child), ply_(ply)
{
    ply_.SetId(number);
    Refresh();
}

LayupTreeSimpleItem::~LayupTreeSimpleItem()
{
    if (GetTree()->EditedRow() == this)
        GetTree()->SetEditCell(nullptr, -1);
}

void LayupTreeSimpleItem::Refresh()
{
    setText(IdColumn, QString::number(ply_.Id()) + " ");
    setText(ThicknessColumn, QString::asprintf("%.4g ", static_cast<double>(ply_.Thickness())));
    setText(AngleColumn, QString::asprintf("%+.3g ", static_cast<double>(ply_.Angle())));
    MaterialInfo info;
    const MaterialList *materials = GetTree()->GetMaterialList();
    setText(MaterialColumn, materials && materials->GetMaterial(ply_.Material(), info) != -1
                                ? QString::fromLatin1(info.Name().c_str())
                                : QString());
    if (!IsChild())
        setFlags(flags() | Qt::ItemIsEditable);
}

bool LayupTreeSimpleItem::Validate(int column, const QString &typed, PlySimple &result, bool *refused)
{
    bool changed = false;
    const char *warning = nullptr;
    float value = 0.0f;
    const NumberReading reading =
        column == ThicknessColumn || column == AngleColumn ? ReadFloatText(typed, &value) : NumberReading::Number;
    if (reading == NumberReading::NotANumber) {
        warning = QT_TRANSLATE_NOOP("LayupTreeSimpleItem", "Syntax error: enter regular numerical value");
    } else if (column == ThicknessColumn) {
        if (reading == NumberReading::OutOfRange)
            warning = QT_TRANSLATE_NOOP("LayupTreeSimpleItem", "Thickness must be a number within -3.4e+38 to 3.4e+38");
        else if (value <= 0.0f)
            warning = QT_TRANSLATE_NOOP("LayupTreeSimpleItem", "Thickness must be positive");
        else if ((changed = ValuesDiffer(value, ply_.Thickness(), kPlyTolerance)))
            ply_.SetThickness(value);
    } else if (column == AngleColumn) {
        if (reading == NumberReading::OutOfRange || value < -360.0f || value > 360.0f)
            warning = QT_TRANSLATE_NOOP("LayupTreeSimpleItem", "Angle must be between -360 and +360 degrees");
        else if ((changed = ValuesDiffer(FoldAngle(value), ply_.Angle(), kPlyTolerance)))
            ply_.SetAngle(FoldAngle(value));
    }
    if (refused)
        *refused = warning != nullptr;
    if (warning)
        ShowWarning(QCoreApplication::translate("LayupTreeSimpleItem", "Validation Warning"),
                    QCoreApplication::translate("LayupTreeSimpleItem", warning));
    Refresh();
    if (changed)
        result = ply_;
    return changed;
}

LayupTreeGroupItem::LayupTreeGroupItem(LayupTree *tree, LayupTreeItem *parent, bool child, int groupId,
                                       int linkCount)
    : LayupTreeItem(tree, parent, child), groupId_(groupId), linkCount_(linkCount)
{
    Refresh();
}

void LayupTreeGroupItem::Refresh()
{
    OpenAsGroup();
    setText(IdColumn, QCoreApplication::translate("LayupTreeGroupItem:prefix", "group_") + QString::number(groupId_));
    setText(ThicknessColumn, ParentText(QCoreApplication::translate("LayupTreeGroupItem", "Parent"), linkCount_));
    setText(AngleColumn, IsChild() ? QStringLiteral("*") : QString());
    setText(MaterialColumn, QString());
}

LayupTreeLinkItem::LayupTreeLinkItem(LayupTree *tree, LayupTreeItem *parent, bool child, int id, int targetId,
                                     int linkType, int linkCount)
    : LayupTreeItem(tree, parent, child), id_(id), linkType_(linkType), linkCount_(linkCount), targetId_(targetId)
{
    Refresh();
}

void LayupTreeLinkItem::Refresh()
{
    static const char *const words[] = {QT_TRANSLATE_NOOP("LayupTreeLinkItem", "Repeat"),
                                        QT_TRANSLATE_NOOP("LayupTreeLinkItem", "Symmetry"),
                                        QT_TRANSLATE_NOOP("LayupTreeLinkItem", "Antisym")};
    OpenAsGroup();
    setText(IdColumn, QCoreApplication::translate("LayupTreeLinkItem:prefix", "group_") + QString::number(id_));
    setText(ThicknessColumn, ParentText(QCoreApplication::translate("LayupTreeLinkItem", "Parent"), linkCount_));
    const char *word = words[linkType_ == 1 || linkType_ == 2 ? linkType_ : 0];
    setText(AngleColumn,
            (IsChild() ? QStringLiteral("*") : QString()) + QCoreApplication::translate("LayupTreeLinkItem", word));
    const QString of = QCoreApplication::translate("LayupTreeLinkItem", " of group_");
    setText(MaterialColumn, targetId_ == 0 ? QString() : of + QString::number(targetId_));
}
