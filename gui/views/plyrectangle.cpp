#include "gui/views/plyrectangle.h"

#include "gui/views/sketchgeometry.h"

#include <QBrush>
#include <QPen>

PlyRectangle::PlyRectangle(int spacing, QGraphicsItem *parent)
    : QGraphicsRectItem(parent), spacing_(spacing)
{
    // The hatch never draws past the ply, whatever its rounding.
    setFlag(QGraphicsItem::ItemClipsChildrenToShape);
}

PlyRectangle::~PlyRectangle()
{
    hide();
    qDeleteAll(lines_);
}

void PlyRectangle::MoveTo(int x, int y)
{
    setPos(x, y);
    BuildFibreLines();
}

void PlyRectangle::Resize(int width, int height)
{
    setRect(0, 0, width, height);
}

void PlyRectangle::BuildFibreLines()
{
    const int x = static_cast<int>(pos().x()), y = static_cast<int>(pos().y());
    const int width = static_cast<int>(rect().width()), height = static_cast<int>(rect().height());
    const std::vector<SketchGeometry::Line> geometry =
        SketchGeometry::FibreLines(x, y, width, height, angle_, spacing_);
    // The line items are reused: a rebuild of a large sketch would otherwise
    // spend its time creating and deleting them.
    while (lines_.size() > static_cast<qsizetype>(geometry.size()))
        delete lines_.takeLast();
    while (lines_.size() < static_cast<qsizetype>(geometry.size())) {
        auto *line = new QGraphicsLineItem(this);
        line->setZValue(1000);
        lines_.append(line);
    }
    const QColor fill = brush().color();
    const QPen pen = SketchGeometry::WhiteHatch(fill.red(), fill.green(), fill.blue())
                         ? QPen(QBrush(Qt::white), 0, Qt::SolidLine)
                         : QPen();
    for (size_t i = 0; i < geometry.size(); ++i) {
        const SketchGeometry::Line &l = geometry[i];
        QGraphicsLineItem *line = lines_[static_cast<qsizetype>(i)];
        // Children: the same lines, relative to the rectangle.
        line->setLine(l.x1 - x, l.y1 - y, l.x2 - x, l.y2 - y);
        line->setPen(pen);
        line->show();
    }
}
