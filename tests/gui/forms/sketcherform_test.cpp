#include "gui/forms/sketcherform.h"

#include "formdriver.h"
#include "gui/guimodule.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layupsketchertesting.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/plysketch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSize>
#include <QPrinter>
#include <QSlider>

#include <functional>

using namespace FormDriver;

namespace {

// A symmetric stack of 1.0 (eight plies, four of them stored) in black,
// white, yellow and navy, its reference plane inside but off the mid-plane.
LamHost::StoreData LightAndDark()
{
    std::vector<LamHost::HostPly> plies = {
        {0.125f, 0.0f, 301, 1}, {0.125f, 45.0f, 301, 8}, {0.125f, -45.0f, 302, 5}, {0.125f, 90.0f, 303, 15}};
    const std::vector<LamHost::HostPly> bottom(plies.rbegin(), plies.rend());
    plies.insert(plies.end(), bottom.begin(), bottom.end());
    LamHost::StoreData data = LaminateHost::WithPlies(std::move(plies));
    data.laminates[0].referencePlane = -0.3f;
    return data;
}

// Clicks the real ply of that number (ctrl: with Ctrl held; twice: a double click).
void ClickPly(SketcherForm *form, int id, bool ctrl = false, bool twice = false)
{
    LayupSketcher *sketch = form->Sketch();
    for (const auto &row : sketch->Rows()) {
        if (row->Id() != id || row->IsChild())
            continue;
        const QPointF at = sketch->mapFromScene(row->Rectangle()->sceneBoundingRect().center());
        const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        if (twice)
            return GuiTest::DoubleClick(sketch->viewport(), at.toPoint(), modifiers);
        QMouseEvent press(QEvent::MouseButtonPress, at, sketch->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, modifiers);
        QApplication::sendEvent(sketch->viewport(), &press);
        return;
    }
    ADD_FAILURE() << "no ply " << id;
}

QString Info(SketcherForm *form)
{
    return form->Sketch()->InfoBox()->isVisible() ? form->Sketch()->InfoText()->text() : QString();
}

// Runs the dialog; act drives it once shown and then it is dismissed.
void RunDialog(LaminateHost &host, const std::function<void(SketcherForm *)> &act)
{
    SketcherForm form(nullptr, &host.context);
    EXPECT_EQ(RunModal(form, [&act](SketcherForm *shown) { act(shown), Click(shown, "wDoneButton"); }), 0);
    EXPECT_FALSE(form.isVisible());
}

TEST(SketcherForm, ShowsTheFullStackAndTheSelectedPly)
{
    LaminateHost host(LightAndDark());
    RunDialog(host, [](SketcherForm *form) {
        LayupSketcher *sketch = form->Sketch();
        EXPECT_EQ(form->windowTitle(), "Laminate Sketcher");
        EXPECT_EQ(sketch->Rows().size(), 8u);
        // Counted with the stacking rule, as drawn.
        EXPECT_EQ(Info(form), "Number of plies: 8\nTotal thickness: 1 mm");
        EXPECT_TRUE(sketch->PlaneLine()->isVisible());
        EXPECT_FALSE(sketch->PlaneText()->isVisible());

        ClickPly(form, 2);
        EXPECT_EQ(Info(form), "Ply 2\nMaterial Description:\nPly");
        GuiTest::SaveScreenshot(form, "sketcher-feature");
        ClickPly(form, 3, true);
        EXPECT_EQ(Info(form), "");
        ClickPly(form, 3, true);
        ClickPly(form, 2, true);
        EXPECT_EQ(Info(form), "Number of plies: 8\nTotal thickness: 1 mm");
        ClickPly(form, 3, true, true); // a quick Ctrl double click: added and taken out again
        EXPECT_EQ(Info(form), "Number of plies: 8\nTotal thickness: 1 mm");

        auto *slider = Child<QSlider>(form, "wPlySizeSlider");
        EXPECT_FALSE(slider->isVisible());
        Choose(form, "wViewMenu", "Scale Explode");
        EXPECT_TRUE(slider->isVisible());
        slider->setValue(50);
        EXPECT_EQ(Child<QLabel>(form, "wPixelSizeText")->text(), "50");
        // (50 x 8 + 2) x 0.125 / 1.0 pixels for each ply.
        EXPECT_EQ(sketch->Rows()[0]->Height(), 50);
        ClickPly(form, 4);
        GuiTest::SaveScreenshot(form, "sketcher-scale-explode");

        Choose(form, "wViewMenu", SketchScaleView);
        GuiTest::SaveScreenshot(form, "sketcher-scale");
        Choose(form, "wViewMenu", SketchFeatureView);
        EXPECT_FALSE(slider->isVisible());
        EXPECT_EQ(sketch->Rows()[0]->Height(), 20);
    });
    EXPECT_TRUE(host.store.LaminateSaves().empty());
}

TEST(SketcherForm, AnEmptyLaminateDrawsNothing)
{
    LaminateHost host(LaminateHost::WithPlies({}));
    RunDialog(host, [](SketcherForm *form) {
        EXPECT_TRUE(form->Sketch()->Rows().empty());
        EXPECT_FALSE(form->Sketch()->Heading(0)->isVisible());
        EXPECT_FALSE(form->Sketch()->InfoBox()->isVisible());
        GuiTest::SaveScreenshot(form, "sketcher-empty");
    });
}

TEST(SketcherForm, PrintingAndHelpProblemsAreShown)
{
    LaminateHost host;
    const QPageSize tiny(QSizeF(4, 3), QPageSize::Inch);
    GuiTest::WarningCatcher catcher("sketcher-warning");
    RunDialog(host, [&tiny](SketcherForm *form) {
        SetPrintSetupDialog([](QPrinter &, QWidget *) { return false; }); // cancelled: nothing to say
        Click(form, "wPrintButton");
        SetPrintSetupDialog([&tiny](QPrinter &printer, QWidget *) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName("/nonexistent/sketch.pdf");
            printer.setPageSize(tiny);
            return true;
        });
        Click(form, "wPrintButton");
        SetPrintSetupDialog({});
        Click(form, "wHelpButton");
    });
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(catcher.Boxes()[0].title + ": " + catcher.Boxes()[0].text, "Printing Problem: Internal printing error");
    EXPECT_EQ(catcher.Boxes()[1].title, "Help System Error");
}

TEST(SketcherForm, TheModuleShowsTheSketchAndSavesNothing)
{
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    AppContext context(LamHost::CallbackTable());
    GuiModule module(&context, "v11.1");
    bool shown = false;
    GuiTest::WhenModal<SketcherForm>([&shown](SketcherForm *form) {
        shown = form->Sketch()->Rows().size() == 8;
        Child<QComboBox>(form, "wViewMenu")->setCurrentIndex(1);
        Click(form, "wDoneButton");
    });
    module.Sketcher();
    EXPECT_TRUE(shown);
    EXPECT_EQ(store.Calls(LamHost::Slot::SaveLaminate), 0);
}

} // namespace
