#pragma once

#include <QGraphicsScene>
#include <QPointer>

#include <array>
#include <string>

class ColorInfo;
class QFont;
class MaterialInfo;
class PlyRectangle;
class PlySimple;
class QGraphicsItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
namespace SketchGeometry {
class CharWidths;
}

// One row of the layup sketch: the ply's hatched rectangle, a selection
// frame, a highlight behind the labels, the data label (thickness, angle,
// position) and the material label. The row owns its five items; the scene
// they are on is not owned (a scene deleted first takes the items with it).
// Every item starts hidden.
class PlySketch
{
public:
    explicit PlySketch(QGraphicsScene *scene);
    ~PlySketch();
    PlySketch(const PlySketch &) = delete;
    PlySketch &operator=(const PlySketch &) = delete;

    // Fills the row for ply; child marks a copy the stacking rule adds (drawn
    // lighter, never reported as selected); position counts from the bottom of
    // the drawn stack. Shows the rectangle.
    void Setup(const PlySimple &ply, const MaterialInfo &info, const ColorInfo &color, bool child, int position);
    // Height 20 when fixed, else by thickness against maxThickness.
    void SetHeight(bool fixed, int plySize, float maxThickness);
    // Positions the row at y with its rectangle at x + rectangleX.
    void Place(int x, int y, int rectangleX);
    void SetSelected(bool selected, bool repaint);
    void ShowLabels(bool show);
    // The row's own items (not the hatch lines, children of the rectangle), in
    // the order they were put on the scene.
    std::array<QGraphicsItem *, 5> Items() const;
    // Whether item is one of this row's items.
    bool Contains(const QGraphicsItem *item) const;
    // How many items the row has on scene, hatch lines included; -1 when
    // any of them is not on scene.
    int CountItemsOn(const QGraphicsScene *scene) const;
    // The scene is about to delete the row's items itself: the row lets go
    // of them and deletes nothing.
    void ReleaseItems();

    int Id() const { return id_; }
    int Position() const { return position_; }
    bool IsSelected() const { return selected_; }
    bool IsChild() const { return child_; }
    float Thickness() const { return thickness_; }
    float Angle() const { return angle_; }
    const std::string &MaterialName() const { return materialName_; }
    const std::string &MaterialDescription() const { return materialDescription_; }
    int Y() const;
    int Height() const;
    int Bottom() const { return Y() + Height(); }
    int DataLabelWidth() const;
    int DataLabelHeight() const;
    int MaterialLabelRight() const;

    // The labels' font: "courier", fixed pitch.
    static QFont LabelFont(bool bold = false);
    // The right ends of the three data columns, shared by every row of every
    // sketch of the process: the sketch that was built last sets them, and
    // the label font's character widths are measured again then.
    static void SetColumnEnds(const int end[3]);
    static const int *ColumnEnds();
    // The advances of the characters a data label is written with, in font.
    static SketchGeometry::CharWidths MeasureCharacters(const QFont &font);

    // The items, for the sketch's hit test and for tests.
    PlyRectangle *Rectangle() const { return rectangle_; }
    QGraphicsRectItem *Frame() const { return frame_; }
    QGraphicsRectItem *Highlight() const { return highlight_; }
    QGraphicsSimpleTextItem *DataLabel() const { return dataLabel_; }
    QGraphicsSimpleTextItem *MaterialLabel() const { return materialLabel_; }

private:
    void ColorLabels();

    int id_ = 0;
    int position_ = 0;
    float thickness_ = 0.0f;
    float angle_ = 0.0f;
    std::string materialName_;
    std::string materialDescription_;
    bool selected_ = false;
    bool child_ = false;
    QPointer<QGraphicsScene> scene_;
    PlyRectangle *rectangle_;
    QGraphicsRectItem *frame_;
    QGraphicsRectItem *highlight_;
    QGraphicsSimpleTextItem *dataLabel_;
    QGraphicsSimpleTextItem *materialLabel_;
};
