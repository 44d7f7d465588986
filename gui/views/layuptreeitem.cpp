#include "gui/views/layuptreeitem.h"

#include "gui/views/layuptree.h"
#include "gui/views/layuptreedelegate.h"
#include "host/materiallist.h"
#include "core/plyangle.h"
#include "util/tolerance.h"

#include <QBrush>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTreeWidget>

#include <charconv>
#include <cmath>

namespace {

enum Column { IdColumn, ThicknessColumn, AngleColumn, MaterialColumn };

// "Parent", "Parent (n)" or nothing, by the number of links to the row's group.
QString ParentText(const QString &parent, int linkCount)
{
    if (linkCount < 1)
        return {};
    return linkCount == 1 ? parent : parent + " (" + QString::number(linkCount) + ")";
}

// Reads one number as scanf's "%f" does, in the C locale whatever the user's.
// Values that are not finite floats count as unreadable: they would end up
// in the laminate as a thickness or angle.
bool ReadNumber(const QString &text, float *value)
{
    const QByteArray bytes = text.toLatin1();
    const char *first = bytes.constData();
    const char *last = first + bytes.size();
    while (first != last && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    if (first != last && *first == '+' && first + 1 != last && *(first + 1) != '-')
        ++first;
    const auto [end, error] = std::from_chars(first, last, *value);
    return error == std::errc() && end != first && std::isfinite(*value);
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

bool LayupTreeSimpleItem::Validate(int column, PlySimple &result)
{
    const QString title = QCoreApplication::translate("LayupTreeSimpleItem", "Validation Warning");
    bool changed = false;
    float value = 0.0f;
    if (column != ThicknessColumn && column != AngleColumn) {
        // nothing to check
    } else if (!ReadNumber(text(column), &value)) {
        ShowWarning(title,
                    QCoreApplication::translate("LayupTreeSimpleItem", "Syntax error: enter regular numerical value"));
    } else if (column == ThicknessColumn) {
        if (value <= 0.0f) {
            ShowWarning(title, QCoreApplication::translate("LayupTreeSimpleItem", "Thickness must be positive"));
        } else if (ValuesDiffer(value, ply_.Thickness(), kPlyTolerance)) {
            ply_.SetThickness(value);
            changed = true;
        }
    } else if (value < -360.0f || value > 360.0f) {
        ShowWarning(title,
                    QCoreApplication::translate("LayupTreeSimpleItem", "Angle must be between -360 and +360 degrees"));
    } else {
        value = FoldAngle(value);
        if (ValuesDiffer(value, ply_.Angle(), kPlyTolerance)) {
            ply_.SetAngle(value);
            changed = true;
        }
    }
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
