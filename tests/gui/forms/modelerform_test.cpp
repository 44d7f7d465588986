#include "gui/forms/modelerform.h"

#include "core/laminate.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <string>

using LamHost::HostPly;

namespace {

template <typename T>
T *Child(QWidget *form, const char *name)
{
    T *child = form->findChild<T *>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Choose(QWidget *form, const char *menu, int index)
{
    auto *combo = Child<QComboBox>(form, menu);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void SetText(QWidget *form, const char *edit, const QString &text) { Child<QLineEdit>(form, edit)->setText(text); }

// Runs the dialog on host's laminate; act drives it once it is shown.
bool RunDialog(LaminateHost &host, const std::function<void(ModelerForm *)> &act)
{
    ModelerForm form(nullptr, &host.context);
    GuiTest::WhenModal<ModelerForm>(act);
    return form.Exec();
}

bool Recorded(LaminateHost &host)
{
    std::string name;
    return host.context.GetLaminateManager()->LastCommandName(name);
}

// A stack of 2.5 that loading recognises as symmetric: two plies stored.
LamHost::StoreData Stacked()
{
    return LaminateHost::WithPlies({{0.5f, 0, 301, 2}, {0.75f, 45, 301, 3}, {0.75f, 45, 301, 3}, {0.5f, 0, 301, 2}});
}

TEST(ModelerForm, BuildsTheDialogAsLaidOut)
{
    LaminateHost host;
    ModelerForm form(nullptr, &host.context);
    EXPECT_EQ(form.objectName(), "Corvane Modeler");
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.windowTitle(), "Laminate Properties");
    EXPECT_EQ(form.maximumHeight(), 265);
    EXPECT_GE(form.width(), 465);
    ModelerFormBase unnamed;
    EXPECT_EQ(unnamed.objectName(), "ModelerFormBase");

    const char *order[] = {"wRefPlaneMenu", "wRefPlaneEdit", "wStressEdit",   "wMassEdit",     "wDampingEdit",
                           "wRefTempEdit",  "wFailureMenu",  "wTsaiWuEdit",   "wDoneButton",   "wCancelButton",
                           "wHelpButton"};
    QWidget *widget = Child<QWidget>(&form, order[0]);
    for (const char *next : order) {
        ASSERT_EQ(widget->objectName(), next);
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) && widget != &form)
            widget = widget->nextInFocusChain();
    }
}

TEST(ModelerForm, ShowsTheLaminateInItsUnitsAndCancelStoresNothing)
{
    LaminateHost host(Stacked());
    EXPECT_FALSE(RunDialog(host, [](ModelerForm *form) {
        EXPECT_EQ(Child<QComboBox>(form, "wRefPlaneMenu")->currentIndex(), 3); // -0.5 is no plane of 2.5
        EXPECT_EQ(Child<QLineEdit>(form, "wRefPlaneEdit")->text(), "-0.5");
        EXPECT_EQ(Child<QLabel>(form, "wRefPlaneText")->text(), "Bottom Fiber Distance");
        EXPECT_EQ(Child<QLineEdit>(form, "wTsaiWuEdit")->text(), "-0.5");
        EXPECT_TRUE(Child<QLineEdit>(form, "wTsaiWuEdit")->isEnabled());
        EXPECT_EQ(Child<QLineEdit>(form, "wRefTempEdit")->text(), "20");
        EXPECT_EQ(Child<QLabel>(form, "wTempUnit")->text(), "C");
        EXPECT_EQ(Child<QLabel>(form, "wEmptyString1")->text(), "");
        SetText(form, "wStressEdit", "5");
        Child<QPushButton>(form, "wCancelButton")->click();
    }));
    EXPECT_FALSE(Recorded(host));
}

TEST(ModelerForm, MiddleStoresHalfTheStackedThickness)
{
    LaminateHost host(Stacked());
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        Choose(form, "wRefPlaneMenu", 1);
        EXPECT_EQ(Child<QComboBox>(form, "wRefPlaneMenu")->itemText(1), "Middle (-1.25)");
        EXPECT_TRUE(Child<QLineEdit>(form, "wRefPlaneEdit")->isHidden());
        EXPECT_EQ(Child<QLabel>(form, "wRefPlaneText")->text(), "Reference Plane Location");
        Choose(form, "wRefPlaneMenu", 0);
        EXPECT_EQ(Child<QComboBox>(form, "wRefPlaneMenu")->itemText(0), "Top (-2.5)");
        Choose(form, "wRefPlaneMenu", 2);
        EXPECT_EQ(Child<QComboBox>(form, "wRefPlaneMenu")->itemText(2), "Bottom (0.0)");
        Choose(form, "wRefPlaneMenu", 1);
        QCoreApplication::processEvents(); // the layout fits the longer entry
        GuiTest::SaveScreenshot(form, "properties-middle");
        Child<QPushButton>(form, "wDoneButton")->click();
    }));
    EXPECT_EQ(host.context.GetLaminate().ReferencePlaneMethod(), Laminate::Middle);
    EXPECT_FLOAT_EQ(host.context.GetLaminate().UserReferencePlaneLocation(), -1.25f);
}

TEST(ModelerForm, KeyinWithAnEmptyFieldStoresZero)
{
    LaminateHost host;
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        Choose(form, "wRefPlaneMenu", 3);
        SetText(form, "wRefPlaneEdit", "");
        Child<QPushButton>(form, "wDoneButton")->click();
    }));
    EXPECT_EQ(host.context.GetLaminate().ReferencePlaneMethod(), Laminate::UserDefinedLocation);
    EXPECT_EQ(host.context.GetLaminate().UserReferencePlaneLocation(), 0.0f);
}

TEST(ModelerForm, RefusalsKeepTheDialogOpenWithTheUsersEntries)
{
    LaminateHost host;
    GuiTest::WarningCatcher catcher("properties-warning");
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        Choose(form, "wFailureMenu", 0);
        EXPECT_FALSE(Child<QLineEdit>(form, "wTsaiWuEdit")->isEnabled());
        SetText(form, "wTsaiWuEdit", "1.01");
        SetText(form, "wMassEdit", "-0.001");
        Choose(form, "wRefPlaneMenu", 3);
        SetText(form, "wRefPlaneEdit", "0.3");
        GuiTest::SaveScreenshot(form, "properties-keyin");
        Child<QPushButton>(form, "wDoneButton")->click();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Child<QLineEdit>(form, "wTsaiWuEdit")->text(), "1.01");
        SetText(form, "wTsaiWuEdit", "-1");
        Child<QPushButton>(form, "wDoneButton")->click();
        SetText(form, "wMassEdit", "0");
        Child<QPushButton>(form, "wDoneButton")->click();
    }));
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Validation Warning");
    EXPECT_EQ(catcher.Boxes()[0].text, "Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0");
    EXPECT_EQ(catcher.Boxes()[1].text, "Non-Structural Mass per Unit Area must be positive");
    const Laminate &laminate = host.context.GetLaminate();
    EXPECT_EQ(laminate.FailureTheory(), Laminate::Hill);
    EXPECT_EQ(laminate.TsaiWuCoefficient(), -1.0f);
    EXPECT_FLOAT_EQ(laminate.UserReferencePlaneLocation(), 0.3f);
}

TEST(ModelerForm, OkLeavesValuesBeyondSixDigitsAsTheyWere)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.laminates[0].nonStructuralMass = 1.23456789e-5;
    data.laminates[0].bondingStress = 123.456789f;
    data.laminates[0].referenceTemperature = 293.123456789;
    LaminateHost host(data);
    EXPECT_TRUE(RunDialog(host, [](ModelerForm *form) {
        EXPECT_EQ(Child<QLineEdit>(form, "wMassEdit")->text(), "1.23457e-05");
        Child<QPushButton>(form, "wDoneButton")->click();
    }));
    EXPECT_FALSE(Recorded(host));
    EXPECT_DOUBLE_EQ(host.context.GetLaminate().NonStructuralMass(), 1.23456789e-5);
}

} // namespace
