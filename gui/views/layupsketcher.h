#pragma once

#include "gui/views/layupshow.h"

#include <QGraphicsView>
#include <QPoint>

#include <array>
#include <memory>
#include <string>
#include <vector>

class ColorManager;
class MaterialList;
class PlySketch;
class QGraphicsLineItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QPainter;
class QPrinter;

// How the sketch draws the plies: the index of the dialogs' View menu.
enum SketchViewMode {
    SketchFeatureView = 0,      // rows 20 pixels high, labels, selection
    SketchScaleExplodeView = 1, // rows by thickness, 10 pixels apart, labels, selection
    SketchScaleView = 2         // rows by thickness, no labels, no selection
};

// The layup as a stack of hatched ply rectangles with their data, the
// reference plane, column headings and an information box, on a scene the
// dialog owns. The user selects plies with the mouse (Shift for a range,
// Ctrl to add or remove one; both clicks of a double click count); the
// sketch tells its observers about selection changes (hint 0, also at every
// Draw) and right clicks (hint 1, not in sketcher-only mode). A rebuild is
// Clear, Show, then Draw.
class LayupSketcher : public QGraphicsView, public LayupShow
{
    Q_OBJECT

public:
    // scene, colors and materials are not owned and must outlive the sketch;
    // colors and materials may be null (every ply then white and "unknown").
    LayupSketcher(QGraphicsScene *scene, ColorManager *colors, MaterialList *materials, QWidget *parent = nullptr);
    ~LayupSketcher() override;

    // These take effect at the next Show (half view) or Draw.
    void SetViewMode(int mode); // a SketchViewMode
    int ViewMode() const { return viewMode_; }
    void SetHalfView(bool half);
    bool IsHalfView() const { return !fullView_; }
    // The plane's distance below the bottom fibre in the length unit: negative
    // when it lies above the bottom fibre.
    void SetReferencePlane(float offset);
    float ReferencePlane() const { return referencePlane_; }
    // Alone in the sketcher dialog: no right-click hint, no keyboard focus.
    void SetSketcherOnly(bool sketcherOnly);

    // The last right click, in global screen coordinates.
    void GetClickPosition(int *x, int *y) const;

    // Lays the rows out: plySize is the pixel budget of the whole stack in the
    // scaled modes, maxThickness the thickness it stands for. Deselects every
    // ply and notifies hint 0. Nothing without rows.
    virtual void Draw(int plySize, float maxThickness);

    // Sets the information text; an empty text hides the box. With exactly
    // one ply selected the box shows that ply's data instead (not in Scale View).
    void ShowInfo(const QString &text);
    // Shows the box (sized to its text) unless its information is hidden.
    void SetInfoVisible(bool show);

    // Prints the sketch after the printer set-up dialog, in strips of a
    // printable page that overlap by an inch. A cancelled set-up prints
    // nothing and returns true; false with error "Internal printing error"
    // when painting cannot start or the page leaves no room for a strip.
    bool Print(std::string &error);

    std::vector<int> GetSelectedPlies() override;
    std::vector<int> GetSelectedGroups() override;
    // Not in Scale View. Copies made by the stacking rule share their ply's
    // identifier and are selected with it.
    void SetSelectedPlies(const std::vector<int> &plies) override;
    void Show(const Layup &layup) override;
    // Hides every item of the scene.
    void Clear() override;

    // The rows from the top of the drawn stack, and the fixed items: what the
    // dialogs' tests look at.
    const std::vector<std::unique_ptr<PlySketch>> &Rows() const { return rows_; }
    QGraphicsSimpleTextItem *Heading(int column) const { return headings_[column]; } // 0..3
    QGraphicsLineItem *PlaneLine() const { return planeLine_; }
    QGraphicsSimpleTextItem *PlaneText() const { return planeText_; }
    QGraphicsLineItem *Separator() const { return separator_; }
    QGraphicsRectItem *InfoBox() const { return infoBox_; }
    QGraphicsSimpleTextItem *InfoText() const { return infoText_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The second press of a quick double click: a click like the first.
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void BuildCanvas();
    // The sketch's items outside its rows, in the order they were put on the scene.
    std::array<QGraphicsItem *, 9> FixedItems() const;
    bool SceneHoldsOnlySketch() const;
    void DropFirstRows(size_t count);
    PlySketch *RowOf(const QGraphicsItem *item) const;
    std::vector<int> NewSelection(const PlySketch &anchor, bool shift, bool ctrl);
    void PrintStrips(QPainter &painter, QPrinter &printer, int step, int printableWidth, int printableHeight);

    ColorManager *colors_;
    MaterialList *materials_;
    QPoint click_;
    QGraphicsRectItem *infoBox_ = nullptr;
    QGraphicsSimpleTextItem *infoText_ = nullptr;
    QGraphicsSimpleTextItem *headings_[4] = {nullptr, nullptr, nullptr, nullptr};
    QGraphicsSimpleTextItem *planeText_ = nullptr;
    QGraphicsLineItem *planeLine_ = nullptr;
    QGraphicsLineItem *separator_ = nullptr;
    PlySketch *anchor_ = nullptr;
    std::vector<std::unique_ptr<PlySketch>> rows_;
    int viewMode_ = SketchFeatureView;
    float referencePlane_ = 0.0f;
    bool sketcherOnly_ = false;
    bool ctrl_ = false;
    bool shift_ = false;
    bool fullView_ = true;
    bool infoHidden_ = true;
};
