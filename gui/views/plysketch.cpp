#include "gui/views/plysketch.h"

#include "core/plysimple.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/sketchgeometry.h"
#include "host/colormanager.h"
#include "host/materiallist.h"

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPen>

#include <algorithm>

namespace {

constexpr int kFrameWidth = 104;
constexpr int kHatchSpacing = 15;
const QColor kSelected(128, 0, 0);
const QColor kChildSelected(200, 128, 128);
const QColor kChildLabel(192, 192, 192);

int gColumnEnd[3] = {0, 0, 0};
// The label font's advances, measured with the column ends: a label is padded
// by adding them up, not by measuring it again for every blank, thousands of
// times at each rebuild of a large sketch.
SketchGeometry::CharWidths gLabelWidths;

} // namespace

QFont PlySketch::LabelFont(bool bold)
{
    QFont font("courier");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

SketchGeometry::CharWidths PlySketch::MeasureCharacters(const QFont &font)
{
    const QFontMetricsF metrics(font);
    // Each as a text of its own, as the toolkit lays out a whole label.
    return SketchGeometry::CharWidths(
        [&metrics](char c) { return metrics.horizontalAdvance(QString(QChar::fromLatin1(c))); });
}

void PlySketch::SetColumnEnds(const int end[3])
{
    std::copy(end, end + 3, gColumnEnd);
    gLabelWidths = MeasureCharacters(LabelFont());
}

const int *PlySketch::ColumnEnds() { return gColumnEnd; }

PlySketch::PlySketch(QGraphicsScene *scene)
    : scene_(scene),
      rectangle_(new PlyRectangle(kHatchSpacing)),
      frame_(new QGraphicsRectItem(0, 0, kFrameWidth, SketchGeometry::kFixedRowHeight)),
      highlight_(new QGraphicsRectItem(0, 0, kFrameWidth, SketchGeometry::kFixedRowHeight)),
      dataLabel_(new QGraphicsSimpleTextItem),
      materialLabel_(new QGraphicsSimpleTextItem)
{
    frame_->setPen(QPen(QBrush(kSelected), 3, Qt::SolidLine));
    frame_->setBrush(Qt::NoBrush);
    frame_->setZValue(500);
    highlight_->setPen(Qt::NoPen);
    highlight_->setBrush(QBrush(QColor(192, 192, 192), Qt::SolidPattern));
    highlight_->setZValue(100);
    for (QGraphicsSimpleTextItem *label : {dataLabel_, materialLabel_}) {
        label->setFont(LabelFont());
        label->setZValue(200);
    }
    rectangle_->Resize(SketchGeometry::kRectangleWidth, SketchGeometry::kFixedRowHeight);
    for (QGraphicsItem *item : std::initializer_list<QGraphicsItem *>{rectangle_, frame_, highlight_, dataLabel_,
                                                                      materialLabel_}) {
        item->hide();
        scene_->addItem(item);
    }
}

PlySketch::~PlySketch()
{
    if (!scene_)
        return;
    // Newest first: the scene drops its last top-level item at once but
    // searches its whole list for any other.
    delete materialLabel_;
    delete dataLabel_;
    delete highlight_;
    delete frame_;
    delete rectangle_;
}

void PlySketch::Setup(const PlySimple &ply, const MaterialInfo &info, const ColorInfo &color, bool child,
                      int position)
{
    id_ = ply.Id();
    thickness_ = ply.Thickness();
    angle_ = ply.Angle();
    materialName_ = info.Name();
    materialDescription_ = info.Type();
    child_ = child;
    position_ = position;

    QColor fill(color.Red(), color.Green(), color.Blue());
    if (child)
        fill = fill.lighter(160);
    rectangle_->setBrush(QBrush(fill, Qt::SolidPattern));
    rectangle_->SetAngle(angle_);
    rectangle_->show();

    dataLabel_->setText(
        QString::fromLatin1(SketchGeometry::DataLabel(thickness_, angle_, position_, gColumnEnd, gLabelWidths)));
    materialLabel_->setText(QString::fromLatin1(materialName_));
    frame_->setPen(QPen(QBrush(child ? kChildSelected : kSelected), 3, Qt::SolidLine));
    ColorLabels();
}

void PlySketch::SetHeight(bool fixed, int plySize, float maxThickness)
{
    const int height = SketchGeometry::RowHeight(fixed, plySize, maxThickness, thickness_);
    rectangle_->Resize(SketchGeometry::kRectangleWidth, height);
    frame_->setRect(0, 0, kFrameWidth, height);
}

void PlySketch::Place(int x, int y, int rectangleX)
{
    const int offset = SketchGeometry::LabelOffset(Height());
    rectangle_->MoveTo(x + rectangleX, y);
    dataLabel_->setPos(x, y + offset);
    frame_->setPos(x + rectangleX - 2, y);
    highlight_->setRect(0, 0, x + rectangleX - 6, highlight_->rect().height());
    highlight_->setPos(1, y + offset - 3);
    materialLabel_->setPos(frame_->pos().x() + kFrameWidth + 15, y + offset);
}

void PlySketch::SetSelected(bool selected, bool repaint)
{
    selected_ = selected;
    frame_->setVisible(selected);
    highlight_->setVisible(selected);
    ColorLabels();
    if (repaint && scene_)
        scene_->update();
}

void PlySketch::ColorLabels()
{
    QColor color = child_ ? kChildLabel : QColor(Qt::black);
    if (selected_)
        color = child_ ? kChildSelected : kSelected;
    dataLabel_->setBrush(color);
    materialLabel_->setBrush(color);
}

void PlySketch::ShowLabels(bool show)
{
    dataLabel_->setVisible(show);
    materialLabel_->setVisible(show);
}

std::array<QGraphicsItem *, 5> PlySketch::Items() const
{
    return {rectangle_, frame_, highlight_, dataLabel_, materialLabel_};
}

bool PlySketch::Contains(const QGraphicsItem *item) const
{
    const auto items = Items();
    return item && std::find(items.begin(), items.end(), item) != items.end();
}

int PlySketch::CountItemsOn(const QGraphicsScene *scene) const
{
    int count = 0;
    for (const QGraphicsItem *item : Items()) {
        if (item->scene() != scene)
            return -1;
        ++count;
    }
    for (const QGraphicsLineItem *line : rectangle_->Lines()) {
        if (line->scene() != scene)
            return -1;
        ++count;
    }
    return count;
}

void PlySketch::ReleaseItems()
{
    scene_ = nullptr;
    rectangle_ = nullptr;
    frame_ = highlight_ = nullptr;
    dataLabel_ = materialLabel_ = nullptr;
}

int PlySketch::Y() const { return static_cast<int>(rectangle_->pos().y()); }

int PlySketch::Height() const { return static_cast<int>(rectangle_->rect().height()); }

int PlySketch::DataLabelWidth() const { return static_cast<int>(dataLabel_->boundingRect().width()); }

int PlySketch::DataLabelHeight() const { return static_cast<int>(dataLabel_->boundingRect().height()); }

int PlySketch::MaterialLabelRight() const
{
    return static_cast<int>(materialLabel_->pos().x() + materialLabel_->boundingRect().width());
}
