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
    qDeleteAll(lines_);
    lines_.clear();
    const int x = static_cast<int>(pos().x()), y = static_cast<int>(pos().y());
    const int width = static_cast<int>(rect().width()), height = static_cast<int>(rect().height());
    const QColor fill = brush().color();
    const bool white = SketchGeometry::WhiteHatch(fill.red(), fill.green(), fill.blue());
    for (const SketchGeometry::Line &l : SketchGeometry::FibreLines(x, y, width, height, angle_, spacing_)) {
        // Children: the same lines, relative to the rectangle.
        auto *line = new QGraphicsLineItem(l.x1 - x, l.y1 - y, l.x2 - x, l.y2 - y, this);
        line->setZValue(1000);
        if (white)
            line->setPen(QPen(QBrush(Qt::white), 0, Qt::SolidLine));
        lines_.append(line);
    }
}
