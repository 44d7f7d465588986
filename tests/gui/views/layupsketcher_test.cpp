#include "gui/views/layupsketcher.h"

#include "core/layup.h"
#include "gui/guitest.h"
#include "gui/views/observer.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/plysketch.h"
#include "gui/views/sketchgeometry.h"
#include "host/colormanager.h"
#include "host/materiallist.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QMouseEvent>

#include <functional>
#include <numeric>
#include <random>
#include <vector>

namespace {

// A layup of plies with the given thicknesses, bottom first, angles 0, 45,
// -45, 90 in turn, colours 2, 3, ... and material 301.
Layup MakeLayup(const std::vector<float> &thicknesses, int stacking = StackingSimple)
{
    const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
    Layup layup;
    for (size_t i = 0; i < thicknesses.size(); ++i) {
        auto *ply = new PlySimple(static_cast<int>(i) + 1, "ply");
        ply->SetThickness(thicknesses[i]);
        ply->SetAngle(angles[i % 4]);
        ply->SetColor(static_cast<int>(i) + 2);
        ply->SetMaterial(301);
        layup.Add(ply);
    }
    layup.SetStacking(stacking);
    return layup;
}

class Hints : public Observer
{
public:
    void Update(Subject *, int hint) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class LayupSketcherTest : public ::testing::Test
{
protected:
    LayupSketcherTest()
    {
        materials_.Add(301);
        sketch_->resize(700, 500);
        sketch_->show();
        sketch_->Attach(&hints_);
    }

    // Clear, Show and Draw as the dialogs do, with the stack's thickness.
    void Rebuild(const Layup &layup, int mode = SketchFeatureView, int plySizePerPly = 25)
    {
        sketch_->SetViewMode(mode);
        sketch_->Clear();
        sketch_->Show(layup);
        float thickness = 0;
        for (const auto &row : Rows())
            thickness += row->Thickness();
        sketch_->Draw(plySizePerPly * static_cast<int>(Rows().size()), thickness);
        hints_.hints.clear();
    }

    const std::vector<std::unique_ptr<PlySketch>> &Rows() const { return sketch_->Rows(); }

    // f of every row, top first.
    template <typename F>
    auto Column(F f) const
    {
        std::vector<decltype(std::invoke(f, *Rows()[0]))> values;
        for (const auto &row : Rows())
            values.push_back(std::invoke(f, *row));
        return values;
    }

    void Press(QPointF scenePoint, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF at = sketch_->mapFromScene(scenePoint);
        QMouseEvent press(QEvent::MouseButtonPress, at, sketch_->viewport()->mapToGlobal(at), button, button,
                          modifiers);
        QApplication::sendEvent(sketch_->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, sketch_->viewport()->mapToGlobal(at), button,
                            Qt::NoButton, modifiers);
        QApplication::sendEvent(sketch_->viewport(), &release);
    }

    void Click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Press(Rows()[row]->Rectangle()->sceneBoundingRect().center(), Qt::LeftButton, modifiers);
    }

    int RowOf(int id) const
    {
        for (size_t i = 0; i < Rows().size(); ++i)
            if (Rows()[i]->Id() == id && !Rows()[i]->IsChild())
                return static_cast<int>(i);
        return -1;
    }

    LamHost::Store store_{LamHost::DemoStore()};
    lamCallbacksImp *table_ = (store_.Activate(), LamHost::CallbackTable());
    ColorManager colors_{table_->GetColorCount, table_->GetColorIDs, table_->GetColor};
    MaterialList materials_{table_->GetMaterial, table_->SelectMaterial};
    QGraphicsScene scene_{0, 0, 1000, 3000};
    std::unique_ptr<LayupSketcher> sketch_ = std::make_unique<LayupSketcher>(&scene_, &colors_, &materials_);
    Hints hints_;
};

TEST_F(LayupSketcherTest, StackingRulesAddTheirCopiesAboveTheRealPlies)
{
    const struct
    {
        int stacking;
        bool half;
        std::vector<int> ids;
        int copies;
    } cases[] = {
        {StackingSimple, false, {3, 2, 1}, 0},
        {StackingFullSymmetric, false, {1, 2, 3, 3, 2, 1}, 3},
        {StackingSymmetricWithCore, false, {1, 2, 3, 2, 1}, 2},
        {StackingFullRepeat, false, {3, 2, 1, 3, 2, 1}, 3},
        {StackingRepeatWithCore, false, {2, 1, 3, 2, 1}, 2},
        {StackingFullSymmetric, true, {3, 2, 1}, 0},
    };
    for (const auto &c : cases) {
        sketch_->SetHalfView(c.half);
        Rebuild(MakeLayup({0.1f, 0.2f, 0.3f}, c.stacking));
        SCOPED_TRACE(c.stacking);
        EXPECT_EQ(Column(&PlySketch::Id), c.ids);
        std::vector<int> positions(c.ids.size()); // n at the top down to 1
        std::iota(positions.rbegin(), positions.rend(), 1);
        EXPECT_EQ(Column(&PlySketch::Position), positions);
        for (size_t i = 0; i < Rows().size(); ++i)
            EXPECT_EQ(Rows()[i]->IsChild(), static_cast<int>(i) < c.copies);
        std::vector<int> y = Column(&PlySketch::Y);
        EXPECT_TRUE(std::is_sorted(y.begin(), y.end()));
        EXPECT_EQ(sketch_->Separator()->isVisible(), c.copies > 0);
        if (c.copies > 0) {
            const qreal separator = sketch_->Separator()->line().y1();
            EXPECT_LT(Rows()[c.copies - 1]->Bottom(), separator);
            EXPECT_GT(Rows()[c.copies]->Y(), separator);
        }
    }
    sketch_->SetHalfView(false);
    // Rows shrink from the front and grow at the back, and are reused.
    Rebuild(MakeLayup({0.1f}));
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(LayupSketcherTest, ClickingACopySelectsItsPlyAndShowsBoth)
{
    Rebuild(MakeLayup({0.1f, 0.2f, 0.3f}, StackingFullSymmetric));
    Click(1); // the copy of ply 2
    EXPECT_EQ(sketch_->GetSelectedPlies(), std::vector<int>{2});
    EXPECT_EQ(Column([](const PlySketch &row) { return row.IsSelected() && row.Frame()->isVisible(); }),
              (std::vector<bool>{false, true, false, false, true, false}));
    EXPECT_EQ(hints_.hints, std::vector<int>{LayupShowSelectionChanged});
    // The info box shows the selected ply's material description, else the text given.
    sketch_->ShowInfo("Number of plies: 6");
    EXPECT_EQ(sketch_->InfoText()->text(), "Ply 2\nMaterial Description:\nPly");
    Press(QPointF(600, 2000)); // outside every ply
    EXPECT_TRUE(sketch_->GetSelectedPlies().empty());
    sketch_->ShowInfo("Number of plies: 6");
    EXPECT_EQ(sketch_->InfoText()->text(), "Number of plies: 6");
    sketch_->ShowInfo("");
    sketch_->SetInfoVisible(true);
    EXPECT_FALSE(sketch_->InfoBox()->isVisible()) << "an empty box stays hidden";
}

TEST_F(LayupSketcherTest, ShiftAndCtrlClicks)
{
    Rebuild(MakeLayup({0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f}));
    Click(RowOf(2));
    Click(RowOf(5), Qt::ShiftModifier);
    EXPECT_EQ(sketch_->GetSelectedPlies(), (std::vector<int>{5, 4, 3, 2}));
    Click(RowOf(3), Qt::ControlModifier);
    Click(RowOf(4), Qt::ShiftModifier); // already selected: no change
    EXPECT_EQ(sketch_->GetSelectedPlies(), (std::vector<int>{5, 4, 2}));
    Click(RowOf(1));
    EXPECT_EQ(sketch_->GetSelectedPlies(), std::vector<int>{1});
    Click(RowOf(1));
    EXPECT_TRUE(sketch_->GetSelectedPlies().empty());

    // The same through the keys the sketch hears while it has the focus.
    const auto key = [this](QEvent::Type type, int code) {
        QKeyEvent event(type, code, Qt::NoModifier);
        QApplication::sendEvent(sketch_.get(), &event);
    };
    Click(RowOf(1));
    key(QEvent::KeyPress, Qt::Key_Shift);
    Click(RowOf(3));
    EXPECT_EQ(sketch_->GetSelectedPlies(), (std::vector<int>{3, 2, 1}));
    key(QEvent::KeyPress, Qt::Key_Control);
    Click(RowOf(2));
    EXPECT_EQ(sketch_->GetSelectedPlies(), (std::vector<int>{3, 1}));
    key(QEvent::KeyRelease, Qt::Key_Control);
    Click(RowOf(2));
    EXPECT_EQ(sketch_->GetSelectedPlies(), std::vector<int>{2});
}

TEST_F(LayupSketcherTest, BothClicksOfADoubleClickCountInTheSketcherAndTheLayupDialog)
{
    const struct
    {
        std::vector<int> before;
        int ply;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> after;
    } rows[] = {
        {{}, 2, Qt::NoModifier, {}},            // selected, then the selection cleared
        {{1}, 3, Qt::ControlModifier, {1}},     // added and taken out again
        {{3, 1}, 3, Qt::ControlModifier, {3, 1}}, // taken out and added again
        {{2}, 4, Qt::ShiftModifier, {4, 3, 2}},
    };
    for (const bool sketcherOnly : {true, false}) {
        sketch_->SetSketcherOnly(sketcherOnly);
        for (const auto &row : rows) {
            Rebuild(MakeLayup({0.1f, 0.1f, 0.1f, 0.1f, 0.1f}));
            sketch_->SetSelectedPlies(row.before);
            const QRectF rectangle = Rows()[RowOf(row.ply)]->Rectangle()->sceneBoundingRect();
            GuiTest::DoubleClick(sketch_->viewport(), sketch_->mapFromScene(rectangle.center()), row.modifiers);
            EXPECT_EQ(sketch_->GetSelectedPlies(), row.after) << sketcherOnly << " ply " << row.ply;
            EXPECT_EQ(hints_.hints, std::vector<int>(2, LayupShowSelectionChanged));
        }
    }
}

TEST_F(LayupSketcherTest, ScaleViewSelectsNothingAndHidesLabels)
{
    const Layup layup = MakeLayup({0.1f, 0.2f, 0.3f}, StackingFullSymmetric);
    Rebuild(layup, SketchScaleView, 20);
    Click(RowOf(2));
    sketch_->SetSelectedPlies({1, 2});
    EXPECT_TRUE(sketch_->GetSelectedPlies().empty());
    for (const auto &row : Rows())
        EXPECT_FALSE(row->DataLabel()->isVisible() || row->MaterialLabel()->isVisible());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(sketch_->Heading(i)->isVisible());
    // Without gaps the separator lies on the first real ply's top edge.
    EXPECT_EQ(sketch_->Separator()->line().y1(), Rows()[3]->Y());
    // Heights follow the thicknesses: (120 + 2) pixels for 1.2 thick.
    EXPECT_EQ(Column(&PlySketch::Height), (std::vector<int>{10, 20, 30, 30, 20, 10}));

    Rebuild(layup, SketchScaleExplodeView, 20);
    EXPECT_EQ(Rows()[1]->Y() - Rows()[0]->Bottom(), 10);
    Click(RowOf(2));
    EXPECT_EQ(sketch_->GetSelectedPlies(), std::vector<int>{2});
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(sketch_->Heading(i)->isVisible());
}

// The numbers are SketchGeometry's; here the items follow them.
TEST_F(LayupSketcherTest, ReferencePlaneLine)
{
    sketch_->SetReferencePlane(-0.6f); // the mid-plane: onto the separator
    Rebuild(MakeLayup({0.1f, 0.2f, 0.3f}, StackingFullSymmetric));
    EXPECT_TRUE(sketch_->PlaneLine()->isVisible());
    EXPECT_EQ(sketch_->PlaneLine()->line().y1(), sketch_->Separator()->line().y1());
    EXPECT_FALSE(sketch_->PlaneText()->isVisible());

    sketch_->SetReferencePlane(-0.7f); // above the top
    Rebuild(MakeLayup({0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(sketch_->PlaneLine()->line().y1(), 30);
    EXPECT_TRUE(sketch_->PlaneText()->isVisible());
    EXPECT_EQ(sketch_->PlaneText()->y(), 15);
    EXPECT_TRUE(sketch_->PlaneText()->text().endsWith("bottom fiber dist = -0.7"));
    // The canvas ends below the information text and right of every label.
    const QRectF canvas = scene_.sceneRect();
    EXPECT_GT(canvas.height(), sketch_->InfoText()->y());
    EXPECT_GE(canvas.right(), sketch_->PlaneText()->sceneBoundingRect().right() + 10);
}

TEST_F(LayupSketcherTest, RightClickTellsTheObserversUnlessSketcherOnly)
{
    Rebuild(MakeLayup({0.1f, 0.2f}));
    const QPointF at = Rows()[0]->Rectangle()->sceneBoundingRect().center();
    Press(at, Qt::RightButton);
    EXPECT_EQ(hints_.hints, std::vector<int>{LayupShowRightClick});
    EXPECT_TRUE(sketch_->GetSelectedPlies().empty());
    int x = 0, y = 0;
    sketch_->GetClickPosition(&x, &y);
    EXPECT_EQ(QPoint(x, y), sketch_->viewport()->mapToGlobal(sketch_->mapFromScene(at)));

    hints_.hints.clear();
    sketch_->SetSketcherOnly(true);
    Press(at, Qt::RightButton);
    EXPECT_EQ(hints_.hints, std::vector<int>{LayupShowSelectionChanged});
    EXPECT_EQ(sketch_->GetSelectedPlies(), std::vector<int>{2});
}

TEST_F(LayupSketcherTest, ColoursAndHatch)
{
    Layup layup = MakeLayup({0.1f, 0.2f, 0.3f}, StackingFullSymmetric);
    static_cast<PlySimple &>(*layup[2]).SetColor(99); // not in the host's table
    static_cast<PlySimple &>(*layup[0]).SetColor(1);  // black
    Rebuild(layup);
    const PlySketch &copyOfBlack = *Rows()[0];
    const PlySketch &black = *Rows()[5];
    const PlySketch &unknown = *Rows()[3];
    EXPECT_EQ(black.Rectangle()->brush().color(), QColor(0, 0, 0));
    EXPECT_EQ(copyOfBlack.Rectangle()->brush().color(), QColor(0, 0, 0).lighter(160));
    EXPECT_EQ(unknown.Rectangle()->brush().color(), QColor(255, 255, 255));
    // Black gets white hatch lines, two of them in a 20-pixel row at 0 degrees.
    ASSERT_EQ(black.Rectangle()->Lines().size(), 2);
    EXPECT_EQ(black.Rectangle()->Lines()[0]->pen().color(), QColor(Qt::white));
    EXPECT_NE(unknown.Rectangle()->Lines()[0]->pen().color(), QColor(Qt::white));
    EXPECT_EQ(black.MaterialLabel()->text(), "Carbon/epoxy UD 0.125");
}

// In every view mode each row's label holds its thickness, its angle as the
// tree writes it and its position, right-aligned in the fixed-pitch font's
// columns of 12, 8 and 5 characters.
TEST_F(LayupSketcherTest, DataLabelsWriteTheAngleToThreeDigitsInAlignedColumns)
{
    ASSERT_TRUE(QFontInfo(PlySketch::LabelFont()).fixedPitch());
    const float thicknesses[] = {0.125f, 0.25f, 1.5f, 0.1f, 0.13f, 0.125f};
    const float angles[] = {22.5f, -67.5f, 12.5f, 0.4f, 90.0f, -0.125f};
    Layup layup = MakeLayup(std::vector<float>(std::begin(thicknesses), std::end(thicknesses)),
                            StackingFullSymmetric);
    for (int i = 0; i < 6; ++i)
        static_cast<PlySimple &>(*layup[i]).SetAngle(angles[i]);
    for (const int mode : {SketchFeatureView, SketchScaleExplodeView, SketchScaleView}) {
        Rebuild(layup, mode);
        ASSERT_EQ(Rows().size(), 12u);
        for (const auto &row : Rows()) {
            const int ply = row->Id() - 1;
            const QString angle = QString::asprintf("%+.3g", double(angles[ply]));
            EXPECT_EQ(row->DataLabel()->text(), QString::asprintf("%12.5g%8s%5d", double(thicknesses[ply]),
                                                                  qPrintable(angle), row->Position()))
                << mode;
            EXPECT_EQ(row->DataLabel()->isVisible(), mode != SketchScaleView);
        }
    }
}

// A label is padded by adding up the advances measured once per font: they
// must give every text the width the toolkit measures for it, at any size.
TEST(PlySketchTest, CharacterWidthsMeasureLabelsAsTheFontDoes)
{
    std::mt19937 random(30);
    const std::string characters = " 0123456789+-.e";
    std::uniform_int_distribution<size_t> pick(0, characters.size() - 1), length(1, 30);
    for (const int size : {7, 9, 12, 13}) {
        QFont font = PlySketch::LabelFont();
        font.setPointSize(size);
        const SketchGeometry::CharWidths widths = PlySketch::MeasureCharacters(font);
        const QFontMetrics metrics(font);
        for (int i = 0; i < 300; ++i) {
            std::string text(length(random), ' ');
            for (char &c : text)
                c = characters[pick(random)];
            ASSERT_EQ(widths.Width(text), metrics.horizontalAdvance(QString::fromLatin1(text))) << size << ": " << text;
        }
    }
}

TEST_F(LayupSketcherTest, DroppingMostRowsKeepsTheOthersAndTheFixedItems)
{
    for (const bool otherItem : {false, true}) {
        QGraphicsScene scene(0, 0, 1000, 3000);
        QGraphicsRectItem *other = otherItem ? scene.addRect(0, 0, 5, 5) : nullptr;
        LayupSketcher sketch(&scene, nullptr, nullptr);
        sketch.Show(MakeLayup({0.1f, 0.2f, 0.3f, 0.4f, 0.5f}));
        sketch.Draw(100, 1.5f);
        const PlySketch *last = sketch.Rows().back().get();
        QGraphicsSimpleTextItem *heading = sketch.Heading(0);
        sketch.Show(MakeLayup({0.1f}));
        sketch.Draw(20, 0.1f);
        ASSERT_EQ(sketch.Rows().size(), 1u);
        EXPECT_EQ(sketch.Rows()[0].get(), last);
        EXPECT_EQ(heading->scene(), &scene);
        EXPECT_TRUE(heading->isVisible());
        // Nine fixed items, the row's five and its hatch, and anyone else's.
        EXPECT_EQ(scene.items().size(), 14 + last->Rectangle()->Lines().size() + (otherItem ? 1 : 0));
        EXPECT_EQ(other && other->scene() == &scene, otherItem);
    }
}

TEST_F(LayupSketcherTest, EitherTheSceneOrTheSketchMayGoFirst)
{
    // ASan tells of a second delete or a leak in either order.
    for (const bool sceneFirst : {true, false}) {
        for (const bool otherItem : {false, true}) {
            auto scene = std::make_unique<QGraphicsScene>(0, 0, 1000, 3000);
            QGraphicsRectItem *other = otherItem ? scene->addRect(0, 0, 5, 5) : nullptr;
            auto sketch = std::make_unique<LayupSketcher>(scene.get(), nullptr, nullptr);
            sketch->Show(MakeLayup({0.1f, 0.2f}, StackingFullSymmetric));
            sketch->Draw(100, 0.6f);
            if (sceneFirst)
                scene.reset();
            sketch.reset();
            if (!sceneFirst) { // the sketch takes its own items and nobody else's
                const QList<QGraphicsItem *> left = scene->items();
                EXPECT_EQ(std::vector<QGraphicsItem *>(left.begin(), left.end()),
                          otherItem ? std::vector<QGraphicsItem *>{other} : std::vector<QGraphicsItem *>{});
            }
        }
    }
}

} // namespace
