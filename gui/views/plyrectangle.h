#pragma once

#include <QGraphicsRectItem>

// A ply's rectangle in the layup sketch, hatched at the ply's fibre angle.
// The hatch lines are child items, rebuilt whenever the rectangle moves.
class PlyRectangle : public QGraphicsRectItem
{
public:
    // What the sketch looks for under the mouse.
    enum { Type = 984376 };

    // spacing: the distance between slanted hatch lines, in pixels.
    explicit PlyRectangle(int spacing, QGraphicsItem *parent = nullptr);
    ~PlyRectangle() override;

    int type() const override { return Type; }

    // Angle and size take effect on the hatch at the next move.
    void SetAngle(float angle) { angle_ = angle; }
    float Angle() const { return angle_; }
    // Moves the rectangle to (x, y) and rebuilds the hatch.
    void MoveTo(int x, int y);
    // Resizes the rectangle; its top left stays at the item's position.
    void Resize(int width, int height);
    // The hatch lines (children: coordinates relative to the rectangle).
    QList<QGraphicsLineItem *> Lines() const { return lines_; }

private:
    void BuildFibreLines();

    QList<QGraphicsLineItem *> lines_;
    float angle_ = 0.0f;
    int spacing_;
};
