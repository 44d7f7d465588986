#include "gui/forms/modelerform.h"

#include "core/laminate.h"
#include "formdriver.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>

#include <functional>
#include <string>

using namespace FormDriver;

namespace {

// Runs the dialog on host's laminate; act drives it once it is shown.
bool RunDialog(LaminateHost &host, const std::function<void(ModelerForm *)> &act)
{
    ModelerForm form(nullptr, &host.context);
    return RunModal(form, act);
}

bool Recorded(LaminateHost &host)
{
    std::string name;
    return host.context.GetLaminateManager()->LastCommandName(name);
}

std::string Label(QWidget *form, const char *name) { return Child<QLabel>(form, name)->text().toStdString(); }

// A stack of 2.5 that loading recognises as symmetric: two plies stored.
LamHost::StoreData Stacked()
{
    return LaminateHost::WithPlies({{0.5f, 0, 301, 2}, {0.75f, 45, 301, 3}, {0.75f, 45, 301, 3}, {0.5f, 0, 301, 2}});
}

TEST(ModelerForm, BuildsTheDialogAsLaidOut)
{
    LaminateHost host;
    ModelerForm form(nullptr, &host.context);
    EXPECT_EQ(form.objectName() + ": " + form.windowTitle(), "Corvane Modeler: Laminate Properties");
    EXPECT_EQ(TabOrder(&form, "wRefPlaneMenu", 12),
              "wRefPlaneMenu wRefPlaneEdit wStressEdit wMassEdit wDampingEdit wRefTempEdit wFailureMenu "
              "wTsaiWuEdit wDoneButton wCancelButton wHelpButton wRefPlaneMenu");
}

TEST(ModelerForm, ShowsTheLaminateAndCancelStoresNothing)
{
    LaminateHost host(Stacked());
    EXPECT_FALSE(RunDialog(host, [](ModelerForm *form) {
        EXPECT_EQ(Text(form, "wRefPlaneMenu"), "Keyin"); // -0.5 is no plane of a stack of 2.5
        EXPECT_EQ(Text(form, "wRefPlaneEdit"), "-0.5");
        EXPECT_EQ(Label(form, "wRefPlaneText"), "Bottom Fiber Distance");
        EXPECT_TRUE(Child(form, "wTsaiWuEdit")->isEnabled());
        EXPECT_EQ(Label(form, "wTempUnit") + Label(form, "wStressUnit") + Label(form, "wEmptyString1"), "CN/mm^2");
        SetText(form, "wStressEdit", "5");
        Click(form, "wCancelButton");
    }));
    EXPECT_FALSE(Recorded(host));
}

TEST(ModelerForm, MiddleStoresHalfTheStackedThickness)
{
    LaminateHost host(Stacked());
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        auto *menu = Child<QComboBox>(form, "wRefPlaneMenu");
        for (int entry : {0, 2, 1}) // each entry shows its location once chosen
            Choose(form, "wRefPlaneMenu", entry);
        EXPECT_EQ(menu->itemText(0) + "|" + menu->itemText(1) + "|" + menu->itemText(2),
                  "Top (-2.5)|Middle (-1.25)|Bottom (0.0)");
        EXPECT_TRUE(Child(form, "wRefPlaneEdit")->isHidden());
        EXPECT_EQ(Label(form, "wRefPlaneText"), "Reference Plane Location");
        QCoreApplication::processEvents(); // the layout fits the longer entry
        GuiTest::SaveScreenshot(form, "properties-middle");
        Click(form, "wDoneButton");
    }));
    EXPECT_EQ(host.context.GetLaminate().ReferencePlaneMethod(), Laminate::Middle);
    EXPECT_FLOAT_EQ(host.context.GetLaminate().UserReferencePlaneLocation(), -1.25f);
}

TEST(ModelerForm, RefusalsKeepTheDialogOpenWithTheUsersEntries)
{
    LaminateHost host;
    GuiTest::WarningCatcher catcher("properties-warning");
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        Choose(form, "wFailureMenu", 0);
        EXPECT_FALSE(Child(form, "wTsaiWuEdit")->isEnabled());
        SetText(form, "wTsaiWuEdit", "1.01");
        SetText(form, "wMassEdit", "-0.001");
        Choose(form, "wRefPlaneMenu", 3);
        SetText(form, "wRefPlaneEdit", "");
        GuiTest::SaveScreenshot(form, "properties-keyin");
        Click(form, "wDoneButton");
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Text(form, "wTsaiWuEdit"), "1.01");
        SetText(form, "wTsaiWuEdit", "-1");
        Click(form, "wDoneButton");
        SetText(form, "wMassEdit", "0");
        Click(form, "wDoneButton");
    }));
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(catcher.Boxes()[0].title + ": " + catcher.Boxes()[0].text,
              "Validation Warning: Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0");
    EXPECT_EQ(catcher.Boxes()[1].text, "Non-Structural Mass per Unit Area must be positive");
    const Laminate &laminate = host.context.GetLaminate();
    EXPECT_EQ(laminate.FailureTheory(), Laminate::Hill);
    EXPECT_EQ(laminate.TsaiWuCoefficient(), -1.0f);
    EXPECT_EQ(laminate.ReferencePlaneMethod(), Laminate::UserDefinedLocation);
    EXPECT_EQ(laminate.UserReferencePlaneLocation(), 0.0f); // an empty field reads as 0
}

TEST(ModelerForm, OkLeavesValuesBeyondSixDigitsAsTheyWere)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.laminates[0].nonStructuralMass = 1.23456789e-5;
    data.laminates[0].bondingStress = 123.456789f;
    data.laminates[0].referenceTemperature = 293.123456789;
    LaminateHost host(data);
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        EXPECT_EQ(Text(form, "wMassEdit"), "1.23457e-05");
        Click(form, "wDoneButton");
    }));
    EXPECT_FALSE(Recorded(host));
}

} // namespace
