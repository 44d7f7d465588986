// The ply material and Halpin-Tsai options dialogs as widgets, offscreen,
// over the demo store; screenshots with CORVANE_SCREENSHOTS=DIR.

#include "gui/forms/halpintsaiform.h"
#include "gui/forms/plymaterialform.h"

#include "gui/forms/formdriver.h"
#include "gui/guitest.h"
#include "gui/plymaterialrequest.h"
#include "host/materiallist.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

namespace {

using namespace FormDriver;

std::string Label(QWidget *dialog, const char *name) { return Child<QLabel>(dialog, name)->text().toStdString(); }

std::vector<std::string> Texts(const GuiTest::WarningCatcher &catcher)
{
    std::vector<std::string> texts;
    for (const GuiTest::Box &box : catcher.Boxes())
        texts.push_back((box.title + ": " + box.text).toStdString());
    return texts;
}

const char *const kOptionWidgets[] = {"wLongitudeText", "wLongitudeEdit",  "wTrasverseText",
                                      "wTrasverseEdit", "wAvgRibbonGroup", "wReinFactorsGroup"};

// Which of the six option widgets are enabled, as a string of 0 and 1.
std::string Enabled(QWidget *dialog)
{
    std::string enabled;
    for (const char *name : kOptionWidgets)
        enabled += Child(dialog, name)->isEnabled() ? '1' : '0';
    return enabled;
}

TEST(HalpinTsaiForm, DescriptionsEnableTheirFieldsAndOkChecksEvenDisabledOnes)
{
    PlyMaterialRequest request;
    HalpinTsaiForm form(nullptr, &request.context);
    GuiTest::WarningCatcher catcher("halpintsai-warning");
    EXPECT_TRUE(RunModal(form, [&](HalpinTsaiForm *d) {
        EXPECT_EQ(Text(d, "wPlyDescriptionMenu"), "Continuous Fiber");
        EXPECT_EQ(Enabled(d), "000000");
        EXPECT_EQ(Text(d, "wThicknessEdit"), "0.05");
        for (const char *unit : {"wLengthUnit", "wWidthUnit", "wThicknessUnit"})
            EXPECT_EQ(Label(d, unit), "mm");
        const std::pair<int, const char *> table[] = {{1, "110000"}, {2, "001100"}, {5, "000001"},
                                                      {4, "000000"}, {3, "000010"}};
        for (const auto &[index, enabled] : table) {
            Choose(d, "wPlyDescriptionMenu", index);
            EXPECT_EQ(Enabled(d), enabled) << index;
        }
        SetText(d, "wWidthEdit", "2.5");
        GuiTest::SaveScreenshot(d, "halpintsai-discontinuous-ribbon");
        SetText(d, "wE22Edit", "-3"); // disabled, and still checked
        Click(d, "wDoneButton");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(request.Record().RibbonWidth(), 2.5) << "written before the refusal";
        SetText(d, "wE22Edit", "");
        Click(d, "wDoneButton");
    }));
    EXPECT_EQ(Texts(catcher), std::vector<std::string>{"Validation Warning: Reinforcing factor E22 must be positive"});
    const PlyMaterial &r = request.Record();
    EXPECT_EQ(r.HalpinTsaiOption(), PlyMaterial::DiscontinuousRibbon);
    EXPECT_EQ(r.ReinforcingE22(), 0.0) << "an empty field reads as 0 and passes";
}

TEST(PlyMaterialForm, ShowsTheRecordRefusesAndAccepts)
{
    PlyMaterialRequest request;
    request.store.QueuePickFor(MatrixMaterialKind, 201);
    request.store.QueuePickFor(FiberMaterialKind, 999); // unknown to the host
    request.store.QueuePickFor(FiberMaterialKind, 101);
    PlyMaterialForm form(nullptr, &request.context);
    GuiTest::WarningCatcher catcher("plymaterial-warning");
    EXPECT_EQ(RunModal(form, [&](PlyMaterialForm *d) {
        EXPECT_EQ(d->windowTitle(), "Create Ply Material");
        auto *options = Child<QPushButton>(d, "wOptionsButton");
        EXPECT_TRUE(options->isEnabled());
        Choose(d, "wElasticMenu", 1);
        EXPECT_FALSE(options->isEnabled());
        Choose(d, "wElasticMenu", 0);
        EXPECT_TRUE(options->isEnabled());

        Click(d, "wDoneButton"); // no material chosen yet
        Click(d, "wMatrixMaterialSelectButton");
        Click(d, "wFiberMaterialSelectButton"); // unknown: the name stays
        EXPECT_EQ(Label(d, "wFiberMaterialNameText"), " ");
        Click(d, "wFiberMaterialSelectButton");
        EXPECT_EQ(Label(d, "wMatrixMaterialNameText"), "Epoxy resin");
        EXPECT_EQ(Label(d, "wFiberMaterialNameText"), "HS carbon fibre");
        SetText(d, "wMatrixEdit", "1.5");
        Click(d, "wDoneButton");
        SetText(d, "wMatrixEdit", "0.35");
        SetText(d, "wFiberEdit", "0.7");
        Click(d, "wDoneButton");
        SetText(d, "wFiberEdit", "0.65");
        Choose(d, "wThermalMenu", 1);
        GuiTest::SaveScreenshot(d, "plymaterial");
        Click(d, "wDoneButton");
    }), 1);
    EXPECT_EQ(Texts(catcher), (std::vector<std::string>{
                                  "Validation Warning: Matrix Material not selected",
                                  "Material Selection Warning: unknown material",
                                  "Validation Warning: Matrix Volume Fraction must be between 0.0 to 1.0",
                                  "Validation Warning: The sum of volume fractions (matrix + fiber) cannot exceed 1.0",
                              }));
    const PlyMaterial &r = request.Record();
    EXPECT_EQ(r.MatrixMaterial(), 201);
    EXPECT_EQ(r.FiberMaterial(), 101);
    EXPECT_EQ(std::pair(r.MatrixFraction(), r.FiberFraction()), (std::pair<double, double>(0.35f, 0.65f)));
    EXPECT_EQ(r.ThermalTheory(), PlyMaterial::Energy);
}

TEST(PlyMaterialForm, CancelledOptionsLeaveTheRecordAsItWas)
{
    PlyMaterialRequest request;
    PlyMaterialForm form(nullptr, &request.context);
    const PlyMaterial before = request.Record();
    GuiTest::WarningCatcher catcher;
    EXPECT_EQ(RunModal(form, [&](PlyMaterialForm *d) {
        GuiTest::WhenModal<HalpinTsaiForm>([&](HalpinTsaiForm *h) {
            EXPECT_EQ(h->parentWidget(), d);
            Choose(h, "wPlyDescriptionMenu", 1);
            SetText(h, "wLongitudeEdit", "3");
            SetText(h, "wG12Edit", "-1");
            Click(h, "wDoneButton");
            EXPECT_EQ(request.Record().LongitudinalAspectRatio(), 3.0);
            Click(h, "wCancelButton");
        });
        Click(d, "wOptionsButton");
        EXPECT_EQ(d->findChildren<HalpinTsaiForm *>().size(), 0) << "the options dialog is gone";
        Click(d, "wCancelButton");
    }), 0);
    EXPECT_EQ(catcher.Boxes().size(), 1u);
    const PlyMaterial &r = request.Record();
    EXPECT_EQ(r.LongitudinalAspectRatio(), before.LongitudinalAspectRatio());
    EXPECT_EQ(r.HalpinTsaiOption(), before.HalpinTsaiOption());
    EXPECT_EQ(r.ReinforcingG12(), before.ReinforcingG12());
}

// The host's picker may process events: the window is disabled meanwhile and
// a second click on the same button starts no second picker.
PlyMaterialForm *gForm = nullptr;
std::vector<bool> gEnabledDuringPick;

int ReentrantPicker(int kind, int *id)
{
    gEnabledDuringPick.push_back(gForm->isEnabled());
    Child<QPushButton>(gForm, "wMatrixMaterialSelectButton")->click();
    return LamHost::CallbackTable()->SelectMaterial(kind, id);
}

TEST(PlyMaterialForm, APickerRunsOnceAtATimeOverADisabledWindow)
{
    static lamCallbacksImp table = *LamHost::CallbackTable();
    table.SelectMaterial = ReentrantPicker;
    PlyMaterialRequest request(&table);
    request.store.QueuePickFor(MatrixMaterialKind, 202);
    request.store.QueuePickFor(MatrixMaterialKind, 201);
    PlyMaterialForm form(nullptr, &request.context);
    gForm = &form;
    RunModal(form, [&](PlyMaterialForm *d) {
        auto *button = Child<QPushButton>(d, "wMatrixMaterialSelectButton");
        button->setFocus();
        button->click();
        EXPECT_TRUE(d->isEnabled());
        EXPECT_EQ(d->focusWidget(), button) << "the keyboard focus comes back";
        Click(d, "wCancelButton");
    });
    gForm = nullptr;
    EXPECT_EQ(gEnabledDuringPick, std::vector<bool>{false});
    EXPECT_EQ(request.store.PickKinds(), std::vector<int>{MatrixMaterialKind});
    EXPECT_EQ(Label(&form, "wMatrixMaterialNameText"), "Polyester resin");
}

} // namespace
