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
#include <tuple>

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
        return RunModal(form, act, newPly, selection);
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
    EXPECT_EQ(form.objectName() + ": " + form.windowTitle(), "Ply Data: Enter Ply Data");
    // The thickness field, which the listed order leaves out, follows its menu.
    EXPECT_EQ(TabOrder(&form, "wMaterialMenu", 12),
              "wMaterialMenu wMaterialButton wThicknessMenu wThicknessEdit wAngleMenu wAngleEdit wColorMenu "
              "wShowAllColorsCheckBox wDoneButton wCancelButton wHelpButton wMaterialMenu");
}

TEST(SelectNumberEntry, KeepsTheMenuAscendingBelowTheBlank)
{
    const struct
    {
        const char *before;
        float value;
        const char *after;
        int selected;
    } rows[] = {
        {"0.1|0.25", 0.2f, "0.1|0.2|0.25", 1},       {"0.1|0.2|0.25", 0.2000001f, "0.1|0.2|0.25", 1},
        {"0.1|0.25", 0.5f, "0.1|0.25|0.5", 2},       {" |0.1", 0.05f, " |0.05|0.1", 1},
        {"0.1", KeepValueSentinel, " |0.1", 0},      {"", KeepValueSentinel, " ", 0},
        {"-45|0|45", 1e-7f, "-45|0|1e-07|45", 2},
    };
    for (const auto &row : rows) {
        QComboBox menu;
        if (*row.before)
            menu.addItems(QString::fromLatin1(row.before).split('|'));
        SelectNumberEntry(&menu, row.value, true);
        EXPECT_EQ(Entries(&menu), row.after) << row.before;
        EXPECT_EQ(menu.currentIndex(), row.selected) << row.before;
    }
}

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
    EXPECT_EQ(catcher.Boxes()[0].title + ": " + catcher.Boxes()[0].text, "Validation Warning: Please enter Thickness");
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
    const std::tuple<int, float, int> kept[] = {{1, 0.1f, 301}, {2, 0.1f, 302}, {3, 0.2f, 301}};
    for (const auto &[n, thickness, material] : kept)
        EXPECT_EQ(std::tuple(PlyAt(n).Thickness(), PlyAt(n).Material(), PlyAt(n).Color()),
                  std::tuple(thickness, material, 15)) << n;
}

// Several plies, where the blank entries mean "keep": whatever is typed is a
// value to check, the keep marker's own number and the unreadable included.
TEST_F(PlyDataFormTest, TypedEntriesAreAlwaysChecked)
{
    const std::tuple<const char *, const char *, const char *> rows[] = {
        {"wThicknessEdit", "-999999", "Thickness must be positive"},
        {"wAngleEdit", "-999999", "Angle must be within -360 to 360 degrees"},
        {"wThicknessEdit", "1e39", "Thickness must be a number within -3.4e+38 to 3.4e+38"},
        {"wThicknessEdit", "-", "Thickness must be a number within -3.4e+38 to 3.4e+38"},
    };
    for (const auto &[field, typed, warning] : rows) {
        GuiTest::WarningCatcher catcher("plydata-typed-warning");
        const auto type = [field = field, typed = typed](PlyDataForm *form) {
            GuiTest::TypeText(Child(form, field), typed);
            Click(form, "wDoneButton");
            form->reject();
        };
        EXPECT_FALSE(RunDialog(false, LaminateHost::Plies({1, 2, 3}), type));
        ASSERT_EQ(catcher.Boxes().size(), 1u) << typed;
        EXPECT_EQ(catcher.Boxes()[0].text.toStdString(), warning);
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
