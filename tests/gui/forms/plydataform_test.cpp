#include "gui/forms/plydataform.h"

#include "core/laminate.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include <functional>
#include <memory>

using namespace FormDriver;

namespace {

std::string Entries(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries.join('|').toStdString();
}

struct PlyDataFormTest : ::testing::Test
{
    PlyDataFormTest() { ResetPlyDataEntries(); }

    // Runs the dialog; act drives it once it is shown.
    bool RunDialog(bool newPly, const Selection &selection, const std::function<void(PlyDataForm *)> &act)
    {
        PlyDataForm form(nullptr, &host.context);
        GuiTest::WhenModal<PlyDataForm>(act);
        return form.Exec(newPly, selection);
    }
    const PlySimple &PlyAt(int number)
    {
        return dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(number, 0));
    }

    LaminateHost host{LaminateHost::WithPlies({{0.1f, 0, 301, 2}, {0.1f, 0, 302, 3}, {0.2f, 0, 301, 4}})};
};

TEST_F(PlyDataFormTest, BuildsTheDialogAsLaidOut)
{
    PlyDataForm form(nullptr, &host.context);
    EXPECT_EQ(form.objectName(), "Ply Data");
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.windowTitle(), "Enter Ply Data");
    EXPECT_EQ(form.maximumHeight(), 200);
    EXPECT_EQ(Entries(Child<QComboBox>(&form, "wMaterialMenu")), "Select");
    EXPECT_EQ(Child(&form, "wMaterialButton")->size(), QSize(45, 45));
    EXPECT_FALSE(Child<QPushButton>(&form, "wMaterialButton")->icon().isNull());
    EXPECT_EQ(PlyDataFormBase().objectName(), "PlyDataFormBase");
    // The thickness field, which the listed order leaves out, follows its menu.
    EXPECT_EQ(TabOrder(&form, "wMaterialMenu", 12),
              "wMaterialMenu wMaterialButton wThicknessMenu wThicknessEdit wAngleMenu wAngleEdit wColorMenu "
              "wShowAllColorsCheckBox wDoneButton wCancelButton wHelpButton wMaterialMenu");
}

struct EntryRow
{
    const char *before;
    float value;
    const char *after;
    int selected;
};

class SelectNumberEntryRows : public ::testing::TestWithParam<EntryRow>
{
};

TEST_P(SelectNumberEntryRows, KeepsTheMenuAscendingBelowTheBlank)
{
    QComboBox menu;
    if (*GetParam().before)
        menu.addItems(QString::fromLatin1(GetParam().before).split('|'));
    SelectNumberEntry(&menu, GetParam().value, true);
    EXPECT_EQ(Entries(&menu), GetParam().after);
    EXPECT_EQ(menu.currentIndex(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Rows, SelectNumberEntryRows,
                         ::testing::Values(EntryRow{"0.1|0.25", 0.2f, "0.1|0.2|0.25", 1},
                                           EntryRow{"0.1|0.2|0.25", 0.2000001f, "0.1|0.2|0.25", 1},
                                           EntryRow{"0.1|0.25", 0.5f, "0.1|0.25|0.5", 2},
                                           EntryRow{" |0.1", 0.05f, " |0.05|0.1", 1},
                                           EntryRow{"0.1", KeepValueSentinel, " |0.1", 0},
                                           EntryRow{"", KeepValueSentinel, " ", 0},
                                           EntryRow{"-45|0|45", 1e-7f, "-45|0|1e-07|45", 2}));

TEST_F(PlyDataFormTest, NewPlyFromTypedEntries)
{
    GuiTest::WarningCatcher catcher("plydata-new-warning");
    EXPECT_TRUE(RunDialog(true, {}, [](PlyDataForm *form) {
        EXPECT_EQ(Entries(Child<QComboBox>(form, "wThicknessMenu")), " |0.1|0.2");
        EXPECT_EQ(Text(form, "wThicknessMenu") + Text(form, "wAngleMenu") + Text(form, "wColorMenu"), "  Black");
        GuiTest::SaveScreenshot(form, "plydata-new");
        Click(form, "wDoneButton"); // no thickness yet
        auto *thickness = Child<QLineEdit>(form, "wThicknessEdit");
        GuiTest::TypeText(thickness, "0.3");
        EXPECT_EQ(form->GetThickness(), 0.3f); // a typed number wins over the menu
        emit Child<QComboBox>(form, "wThicknessMenu")->textHighlighted("0.2");
        EXPECT_EQ(thickness->text(), "");
        GuiTest::TypeText(thickness, "0.15");
        GuiTest::TypeText(Child(form, "wAngleEdit"), "12");
        Choose(form, "wAngleMenu", "45");
        EXPECT_EQ(Text(form, "wAngleEdit"), "");
        GuiTest::TypeText(Child(form, "wAngleEdit"), "135");
        Click(form, "wDoneButton");
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Validation Warning");
    EXPECT_EQ(catcher.Boxes()[0].text, "Please enter Thickness");
    EXPECT_EQ(PlyAt(1).Thickness(), 0.15f);
    EXPECT_EQ(PlyAt(1).Angle(), -45.0f);
    EXPECT_EQ(PlyAt(1).Color(), 1);
}

TEST_F(PlyDataFormTest, ModifyingSeveralPliesKeepsTheBlankAttributes)
{
    GuiTest::WarningCatcher catcher("plydata-modify-warning");
    EXPECT_TRUE(RunDialog(false, LaminateHost::Plies({1, 2, 3}), [](PlyDataForm *form) {
        EXPECT_EQ(form->windowTitle(), "Modify Ply Data");
        EXPECT_EQ(Text(form, "wMaterialMenu") + Text(form, "wThicknessMenu") + Text(form, "wColorMenu"), "   ");
        EXPECT_EQ(Text(form, "wAngleMenu"), "0");
        GuiTest::TypeText(Child(form, "wAngleEdit"), "400");
        GuiTest::SaveScreenshot(form, "plydata-modify");
        Click(form, "wDoneButton");
        Child<QLineEdit>(form, "wAngleEdit")->clear();
        Choose(form, "wColorMenu", "Navy");
        Click(form, "wDoneButton");
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Angle must be within -360 to 360 degrees");
    const float thicknesses[] = {0.1f, 0.1f, 0.2f};
    const int materials[] = {301, 302, 301};
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(PlyAt(n).Thickness(), thicknesses[n - 1]);
        EXPECT_EQ(PlyAt(n).Material(), materials[n - 1]);
        EXPECT_EQ(PlyAt(n).Color(), 15);
    }
}

TEST_F(PlyDataFormTest, AModifiedPlyKeepsValuesBeyondSixDigits)
{
    LaminateHost precise(LaminateHost::WithPlies({{0.1234567f, 12.345678f, 301, 2}}));
    PlyDataForm form(nullptr, &precise.context);
    GuiTest::WhenModal<PlyDataForm>([](PlyDataForm *dialog) {
        EXPECT_EQ(Text(dialog, "wThicknessMenu"), "0.123457");
        Choose(dialog, "wColorMenu", "Blue");
        Click(dialog, "wDoneButton");
    });
    ASSERT_TRUE(form.Exec(false, LaminateHost::Plies({1})));
    const auto &ply = dynamic_cast<const PlySimple &>(*precise.context.GetLaminate().RootGroup().FindPly(1, 0));
    EXPECT_EQ(ply.Thickness(), 0.1234567f);
    EXPECT_EQ(ply.Angle(), 12.345678f);
    EXPECT_EQ(ply.Color(), 4);
}

TEST_F(PlyDataFormTest, ShowAllKeepsTheChosenColour)
{
    host.store.Data().colors.push_back({40, "Extra", 1, 2, 3});
    LaminateHost extra(host.store.Data());
    PlyDataForm form(nullptr, &extra.context);
    GuiTest::WhenModal<PlyDataForm>([](PlyDataForm *dialog) {
        auto *showAll = Child<QCheckBox>(dialog, "wShowAllColorsCheckBox");
        Choose(dialog, "wColorMenu", "Teal");
        showAll->setChecked(true);
        EXPECT_EQ(Child<QComboBox>(dialog, "wColorMenu")->count(), 17);
        EXPECT_EQ(Text(dialog, "wColorMenu"), "Teal");
        Choose(dialog, "wColorMenu", "Extra");
        showAll->setChecked(false);
        EXPECT_EQ(Child<QComboBox>(dialog, "wColorMenu")->count(), 17); // the chosen colour stays listed
        EXPECT_EQ(Text(dialog, "wColorMenu"), "Extra");
        dialog->reject();
    });
    EXPECT_FALSE(form.Exec(true, {}));
}

TEST_F(PlyDataFormTest, TheMaterialButtonRunsTheHostPicker)
{
    QWidget layup; // held as the layup dialog holds it: a view with the layup dialog as parent
    layup.show();
    std::unique_ptr<PlyDataFormView> form = std::make_unique<PlyDataForm>(&layup, &host.context);
    host.store.QueuePick(302);
    GuiTest::WhenModal<PlyDataForm>([&layup](PlyDataForm *dialog) {
        emit Child<QPushButton>(dialog, "wMaterialButton")->pressed();
        EXPECT_TRUE(layup.isEnabled());
        EXPECT_EQ(Text(dialog, "wMaterialMenu"), "Glass/epoxy UD 0.25");
        dialog->reject();
    });
    EXPECT_FALSE(form->Exec(true, {}));
    EXPECT_EQ(host.store.PendingPicks(), 0u);
    form.reset();
    EXPECT_TRUE(layup.findChildren<PlyDataForm *>().isEmpty());
}

} // namespace
