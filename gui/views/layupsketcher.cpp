#include "gui/views/layupsketcher.h"

#include "core/layup.h"
#include "core/plygroup.h"
#include "gui/views/layupsketchertesting.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/plysketch.h"
#include "gui/views/sketchgeometry.h"
#include "host/colormanager.h"
#include "host/materiallist.h"
#include "util/logger.h"

#include <QFontMetrics>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <unordered_set>

namespace {

PrintSetupDialog gPrintSetup;

bool RunPrintSetup(QPrinter &printer, QWidget *parent)
{
    if (gPrintSetup)
        return gPrintSetup(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int Right(const QGraphicsItem *item) { return static_cast<int>(item->sceneBoundingRect().right()); }

} // namespace

void SetPrintSetupDialog(PrintSetupDialog dialog) { gPrintSetup = std::move(dialog); }

LayupSketcher::LayupSketcher(QGraphicsScene *scene, ColorManager *colors, MaterialList *materials, QWidget *parent)
    : QGraphicsView(scene, parent), colors_(colors), materials_(materials)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The top left stays in view when the sketch is shown or resized.
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    // The sketch moves and rebuilds thousands of items at once; a spatial
    // index would be rebuilt each time for a few hit tests.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    BuildCanvas();
}

LayupSketcher::~LayupSketcher()
{
    // The scene searches its item list for each item deleted on its own, which
    // makes a large sketch slow to close; a scene holding nothing but the
    // sketch is emptied in one go instead.
    if (scene() && SceneHoldsOnlySketch()) {
        for (const auto &row : rows_)
            row->ReleaseItems();
        rows_.clear();
        scene()->clear();
        return;
    }
    // Newest first, as the rows' own items (PlySketch).
    while (!rows_.empty())
        rows_.pop_back();
    if (!scene())
        return; // the scene went first and took the fixed items with it
    for (QGraphicsItem *item : std::initializer_list<QGraphicsItem *>{
             infoText_, infoBox_, planeText_, headings_[3], headings_[2], headings_[1], headings_[0], separator_,
             planeLine_})
        delete item;
}

std::array<QGraphicsItem *, 9> LayupSketcher::FixedItems() const
{
    return {planeLine_,   separator_, headings_[0], headings_[1], headings_[2],
            headings_[3], planeText_, infoBox_,     infoText_};
}

bool LayupSketcher::SceneHoldsOnlySketch() const
{
    const QGraphicsScene *canvas = scene();
    qsizetype ours = 0;
    for (const QGraphicsItem *item : FixedItems()) {
        if (item->scene() != canvas)
            return false;
        ++ours;
    }
    for (const auto &row : rows_) {
        const int count = row->CountItemsOn(canvas);
        if (count < 0)
            return false;
        ours += count;
    }
    // Every item of the sketch is on the scene: equal counts leave no room
    // for anyone else's.
    return ours == canvas->items().size();
}

void LayupSketcher::DropFirstRows(size_t count)
{
    const auto first = rows_.begin(), last = rows_.begin() + static_cast<std::ptrdiff_t>(count);
    QGraphicsScene *canvas = scene();
    // Deleting most of a large sketch's rows one item at a time would take as
    // long as closing it did: the fewer items that stay are taken off the
    // scene, the scene is emptied in one go, and they are put back in their
    // order.
    if (count <= rows_.size() - count || !SceneHoldsOnlySketch()) {
        rows_.erase(first, last);
        return;
    }
    const auto fixed = FixedItems();
    std::vector<QGraphicsItem *> kept(fixed.begin(), fixed.end());
    for (auto row = last; row != rows_.end(); ++row) {
        const auto items = (*row)->Items();
        kept.insert(kept.end(), items.begin(), items.end());
    }
    for (QGraphicsItem *item : kept)
        canvas->removeItem(item);
    for (auto row = first; row != last; ++row)
        (*row)->ReleaseItems();
    rows_.erase(first, last);
    canvas->clear();
    for (QGraphicsItem *item : kept)
        canvas->addItem(item);
}

void LayupSketcher::BuildCanvas()
{
    QGraphicsScene *canvas = scene();
    planeLine_ = canvas->addLine(QLineF(), QPen(QBrush(Qt::black), 4, Qt::SolidLine));
    planeLine_->setZValue(1500);
    separator_ = canvas->addLine(QLineF(), QPen(QBrush(QColor(128, 128, 128)), 2, Qt::DashDotLine));
    separator_->setZValue(1000);

    const QFontMetrics metrics(PlySketch::LabelFont());
    const auto measure = [&metrics](const std::string &text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
    const char *texts[4] = {QT_TR_NOOP("Thickness"), QT_TR_NOOP("Angle"), QT_TR_NOOP("Ply"), QT_TR_NOOP("Material")};
    std::string headings[3];
    for (int i = 0; i < 3; ++i)
        headings[i] = tr(texts[i]).toStdString();
    const SketchGeometry::Columns columns = SketchGeometry::ComputeColumns(measure, headings);
    for (int i = 0; i < 4; ++i) {
        headings_[i] = canvas->addSimpleText(tr(texts[i]), PlySketch::LabelFont(true));
        headings_[i]->setPos(i < 3 ? columns.headingX[i] : 0, 0);
    }
    PlySketch::SetColumnEnds(columns.end);

    planeText_ = canvas->addSimpleText(QString());
    planeText_->setBrush(QColor(100, 0, 0));
    planeText_->hide();
    planeLine_->hide();
    separator_->hide();
    infoBox_ = canvas->addRect(QRectF(), QPen(Qt::black), QBrush(QColor(255, 255, 225)));
    infoBox_->setZValue(1900);
    infoBox_->hide();
    infoText_ = canvas->addSimpleText("\n \n \n \n");
    infoText_->setZValue(2000);
    infoText_->hide();
}

void LayupSketcher::SetViewMode(int mode) { viewMode_ = mode; }

void LayupSketcher::SetHalfView(bool half) { fullView_ = !half; }

void LayupSketcher::SetReferencePlane(float offset) { referencePlane_ = offset; }

void LayupSketcher::SetSketcherOnly(bool sketcherOnly) { sketcherOnly_ = sketcherOnly; }

void LayupSketcher::GetClickPosition(int *x, int *y) const
{
    if (x)
        *x = click_.x();
    if (y)
        *y = click_.y();
}

void LayupSketcher::Show(const Layup &layup)
{
    // A group of its own resolves the layup's links, whoever owns the layup.
    const PlyGroup group(0, layup);
    std::vector<PlySimple> plies;
    group.CollectPlies(plies);
    const int n = static_cast<int>(plies.size());
    for (int i = 0; i < n; ++i)
        plies[i].SetId(i + 1);

    // Indices of the plies the stacking rule adds, top first.
    std::vector<int> copies;
    if (fullView_ && n > 0) {
        switch (layup.Stacking()) {
        case StackingFullSymmetric:
        case StackingSymmetricWithCore:
            for (int i = 0; i < (layup.Stacking() == StackingFullSymmetric ? n : n - 1); ++i)
                copies.push_back(i);
            break;
        case StackingFullRepeat:
        case StackingRepeatWithCore:
            for (int i = layup.Stacking() == StackingFullRepeat ? n - 1 : n - 2; i >= 0; --i)
                copies.push_back(i);
            break;
        default: break;
        }
    }

    const size_t total = copies.size() + plies.size();
    anchor_ = nullptr;
    if (rows_.size() > total)
        DropFirstRows(rows_.size() - total);
    while (rows_.size() < total)
        rows_.push_back(std::make_unique<PlySketch>(scene()));

    if (total == 0)
        Clear(); // no headings over nothing: Draw lays out no empty sketch
    const int white[3] = {255, 255, 255};
    for (size_t row = 0; row < total; ++row) {
        const bool child = row < copies.size();
        const PlySimple &ply = plies[child ? copies[row] : total - 1 - row];
        MaterialInfo material;
        if (materials_)
            materials_->GetMaterial(ply.Material(), material);
        ColorInfo color(ply.Color());
        if (!colors_ || !colors_->GetColor(ply.Color(), color))
            color = ColorInfo(ply.Color(), "unknown", white);
        rows_[row]->Setup(ply, material, color, child, static_cast<int>(total - row));
    }
}

void LayupSketcher::Clear()
{
    anchor_ = nullptr;
    for (QGraphicsItem *item : scene()->items())
        item->hide();
    scene()->update();
}

void LayupSketcher::Draw(int plySize, float maxThickness)
{
    if (rows_.empty())
        return;
    const bool labels = viewMode_ != SketchScaleView;
    int widest = 0;
    for (const auto &row : rows_) {
        row->SetSelected(false, false);
        row->SetHeight(viewMode_ == SketchFeatureView, plySize, maxThickness);
        row->ShowLabels(labels);
        if (labels)
            widest = std::max(widest, row->DataLabelWidth());
    }
    for (QGraphicsSimpleTextItem *heading : headings_)
        heading->setVisible(labels);
    Notify(LayupShowSelectionChanged);

    std::vector<SketchGeometry::Row> rows;
    rows.reserve(rows_.size());
    for (const auto &row : rows_)
        rows.push_back({row->Height(), row->Thickness(), row->IsChild()});
    SketchGeometry::LayoutInput input;
    input.rowGap = viewMode_ == SketchScaleExplodeView ? 10 : 0;
    input.labelGap = labels ? 10 : 0;
    input.offset = referencePlane_;
    input.maxThickness = maxThickness;
    input.fullView = fullView_;
    const SketchGeometry::Layout layout = SketchGeometry::LayOut(rows, input);

    const int rectangleX = widest + 30;
    const int separatorEnd = SketchGeometry::kRectangleWidth + widest + 90;
    separator_->setLine(widest - 10, layout.separatorY, separatorEnd, layout.separatorY);
    separator_->setVisible(layout.separatorShown);
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i]->Place(0, layout.rowY[i], rectangleX);

    planeText_->setText(tr("Reference plane") + "\n" + tr("outside laminate") + "\n" +
                        tr("bottom fiber dist = %1").arg(double(referencePlane_)));
    const int lineEnd = SketchGeometry::kRectangleWidth + widest + 50;
    planeLine_->setLine(rectangleX, layout.planeY, lineEnd, layout.planeY);
    planeLine_->setVisible(layout.planeShown);
    planeText_->setPos(lineEnd + 10, layout.planeY - 15);
    planeText_->setVisible(layout.planeTextShown);
    headings_[3]->setPos(lineEnd + 5, 0);

    infoText_->setPos(10, layout.bottom + 50);
    if (planeText_->isVisible() && infoText_->sceneBoundingRect().intersects(planeText_->sceneBoundingRect()))
        infoText_->setY(planeText_->sceneBoundingRect().bottom() + 10);
    infoBox_->setPos(infoText_->pos() - QPointF(2, 2));

    int right = std::max(Right(planeText_) + 10, Right(infoText_));
    for (const auto &row : rows_)
        right = std::max(right, row->MaterialLabelRight());
    const int height = static_cast<int>(infoText_->y() + int(1.5 * infoText_->boundingRect().height()) + 10);
    scene()->setSceneRect(0, 0, right + 10, height);
    scene()->update();
}

void LayupSketcher::ShowInfo(const QString &text)
{
    infoText_->setText(text);
    infoHidden_ = text.isEmpty();
    const std::vector<int> selected = GetSelectedPlies();
    if (selected.size() == 1) {
        if (viewMode_ == SketchScaleView) {
            infoHidden_ = true;
        } else {
            const auto row = std::find_if(rows_.begin(), rows_.end(),
                                          [](const auto &r) { return r->IsSelected() && !r->IsChild(); });
            infoText_->setText(tr("Ply %1", "InfoBox").arg((*row)->Id()) + "\n" +
                               tr("Material Description:", "InfoBox") + "\n" +
                               QString::fromLatin1((*row)->MaterialDescription()));
            infoHidden_ = false;
        }
    }
    SetInfoVisible(!infoHidden_);
}

void LayupSketcher::SetInfoVisible(bool show)
{
    if (show && !infoHidden_) {
        const QRectF text = infoText_->boundingRect();
        infoBox_->setRect(0, 0, text.width() + 5, text.height() + 5);
        const QRectF canvas = scene()->sceneRect();
        const qreal right = infoBox_->sceneBoundingRect().right();
        if (right + 2 > canvas.width())
            scene()->setSceneRect(canvas.x(), canvas.y(), right + 2, canvas.height());
        infoBox_->show();
        infoText_->show();
    } else {
        infoBox_->hide();
        infoText_->hide();
    }
    scene()->update();
}

std::vector<int> LayupSketcher::GetSelectedPlies()
{
    std::vector<int> ids;
    for (const auto &row : rows_)
        if (row->IsSelected() && !row->IsChild())
            ids.push_back(row->Id());
    return ids;
}

std::vector<int> LayupSketcher::GetSelectedGroups() { return {}; }

void LayupSketcher::SetSelectedPlies(const std::vector<int> &plies)
{
    if (viewMode_ == SketchScaleView)
        return;
    const std::unordered_set<int> ids(plies.begin(), plies.end());
    for (const auto &row : rows_)
        row->SetSelected(ids.count(row->Id()) != 0, false);
}

PlySketch *LayupSketcher::RowOf(const QGraphicsItem *item) const
{
    for (const auto &row : rows_)
        if (row->Contains(item))
            return row.get();
    return nullptr;
}

std::vector<int> LayupSketcher::NewSelection(const PlySketch &anchor, bool shift, bool ctrl)
{
    std::vector<int> selection = GetSelectedPlies();
    const int id = anchor.Id();
    if (shift) {
        if (selection.empty())
            return {id};
        if (anchor.IsSelected())
            return selection;
        const auto [low, high] = std::minmax_element(selection.begin(), selection.end());
        std::vector<int> range;
        for (int i = std::min(*low, id); i <= std::max(*high, id); ++i)
            range.push_back(i);
        return range;
    }
    if (!anchor.IsSelected()) {
        if (!ctrl)
            return {id};
        selection.push_back(id);
        return selection;
    }
    if (!ctrl)
        return {};
    selection.erase(std::remove(selection.begin(), selection.end(), id), selection.end());
    return selection;
}

void LayupSketcher::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton && !sketcherOnly_) {
        click_ = viewport()->mapToGlobal(at);
        Notify(LayupShowRightClick);
        return;
    }
    anchor_ = nullptr;
    // A ply is hit through its rectangle, its frame or its highlight; Scale
    // View selects nothing.
    if (viewMode_ != SketchScaleView) {
        for (QGraphicsItem *item : scene()->items(mapToScene(at))) {
            if (item->type() != PlyRectangle::Type && item->type() != QGraphicsRectItem::Type)
                continue;
            if ((anchor_ = RowOf(item)))
                break;
        }
    }
    if (anchor_ && !sketcherOnly_)
        setFocus();
    if (!anchor_) {
        if (!GetSelectedPlies().empty()) {
            SetSelectedPlies({});
            Notify(LayupShowSelectionChanged);
        }
        return;
    }
    // The mouse event's modifiers as well: in sketcher-only mode the sketch
    // never has the focus, so it hears no key presses.
    const bool shift = shift_ || event->modifiers().testFlag(Qt::ShiftModifier);
    const bool ctrl = !shift && (ctrl_ || event->modifiers().testFlag(Qt::ControlModifier));
    SetSelectedPlies(NewSelection(*anchor_, shift, ctrl));
    Notify(LayupShowSelectionChanged);
}

void LayupSketcher::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The toolkit delivers it in place of the second press, which would be lost.
    mousePressEvent(event);
}

void LayupSketcher::mouseReleaseEvent(QMouseEvent *event)
{
    anchor_ = nullptr;
    event->accept();
}

void LayupSketcher::mouseMoveEvent(QMouseEvent *event) { event->accept(); }

void LayupSketcher::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control) {
        ctrl_ = true;
        shift_ = false;
    } else if (event->key() == Qt::Key_Shift) {
        shift_ = true;
        ctrl_ = false;
    }
    QGraphicsView::keyPressEvent(event);
}

void LayupSketcher::keyReleaseEvent(QKeyEvent *event)
{
    ctrl_ = shift_ = false;
    QGraphicsView::keyReleaseEvent(event);
}

void LayupSketcher::focusOutEvent(QFocusEvent *event)
{
    ctrl_ = shift_ = false;
    QGraphicsView::focusOutEvent(event);
}

bool LayupSketcher::Print(std::string &error)
{
    error.clear();
    bool printed = true;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setFullPage(true); // the inch of margin on every side is ours
    if (RunPrintSetup(printer, this)) {
        const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
        const int width = printer.width() - 2 * dpiX, height = printer.height() - 2 * dpiY;
        // Strips overlap by an inch: a printable height of an inch or less
        // would never get past the first strip.
        const int step = height - dpiY;
        QPainter painter;
        if (step <= 0 || width <= 0 || !painter.begin(&printer)) {
            error = "Internal printing error";
            printed = false;
        } else {
            PrintStrips(painter, printer, step, width, height);
            painter.end();
        }
    }
    Tuvo::Logger::Root()->Log(error);
    return printed;
}

void LayupSketcher::PrintStrips(QPainter &painter, QPrinter &printer, int step, int printableWidth,
                                int printableHeight)
{
    const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
    const qreal canvasHeight = scene()->sceneRect().height();
    bool first = true;
    for (int top = 0; top < canvasHeight; top += step) {
        const QRectF strip(0, top, printableWidth, printableHeight);
        if (scene()->items(strip).isEmpty())
            continue;
        if (!first)
            printer.newPage();
        first = false;
        painter.resetTransform();
        painter.translate(dpiX, dpiY - top);
        scene()->render(&painter, strip, strip);
    }
}
