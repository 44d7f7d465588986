#include "gui/forms/plydataform.h"

#include "core/laminate.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <string>

using LamHost::HostPly;

namespace {

template <typename T = QComboBox>
T *Child(QWidget *form, const char *name)
{
    T *child = form->findChild<T *>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QStringList Entries(QWidget *form, const char *menu)
{
    QStringList entries;
    QComboBox *combo = Child(form, menu);
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

QString Current(QWidget *form, const char *menu) { return Child(form, menu)->currentText(); }

void Pick(QWidget *form, const char *menu, const QString &text)
{
    QComboBox *combo = Child(form, menu);
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->textActivated(text);
}

void Ok(QWidget *form) { Child<QPushButton>(form, "wDoneButton")->click(); }

Selection Plies(std::vector<int> numbers)
{
    Selection selection;
    selection.plies = std::move(numbers);
    return selection;
}

// Runs the dialog on host's laminate; act drives it once it is shown.
bool RunDialog(LaminateHost &host, bool newPly, const Selection &selection,
               const std::function<void(PlyDataForm *)> &act)
{
    PlyDataForm form(nullptr, &host.context);
    GuiTest::WhenModal<PlyDataForm>(act);
    return form.Exec(newPly, selection);
}

const PlySimple &PlyAt(LaminateHost &host, int number)
{
    return dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(number, 0));
}

struct PlyDataFormTest : ::testing::Test
{
    PlyDataFormTest() { ResetPlyDataEntries(); }
    LaminateHost host{LaminateHost::WithPlies({{0.1f, 0, 301, 2}, {0.1f, 0, 301, 3}, {0.2f, 0, 301, 4}})};
};

TEST(PlyDataForm, BuildsTheDialogAsLaidOut)
{
    LaminateHost host;
    PlyDataForm form(nullptr, &host.context);
    EXPECT_EQ(form.objectName(), "Ply Data");
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.windowTitle(), "Enter Ply Data");
    EXPECT_EQ(form.maximumHeight(), 200);
    EXPECT_EQ(Entries(&form, "wMaterialMenu"), QStringList{"Select"});
    EXPECT_EQ(Child<QPushButton>(&form, "wMaterialButton")->size(), QSize(45, 45));
    EXPECT_FALSE(Child<QPushButton>(&form, "wMaterialButton")->icon().isNull());
    PlyDataFormBase unnamed;
    EXPECT_EQ(unnamed.objectName(), "PlyDataFormBase");
    QStringList chain;
    QWidget *widget = Child<QWidget>(&form, "wMaterialMenu");
    for (int i = 0; i < 12; ++i) {
        chain << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
    }
    // The thickness field, which the listed order leaves out, follows its menu.
    EXPECT_EQ(chain.join(" ").toStdString(), "wMaterialMenu wMaterialButton wThicknessMenu wThicknessEdit wAngleMenu "
                                             "wAngleEdit wColorMenu wShowAllColorsCheckBox wDoneButton wCancelButton "
                                             "wHelpButton wMaterialMenu");
}

struct EntryRow
{
    QStringList before;
    float value;
    QStringList after;
    int selected;
};

class SelectNumberEntryRows : public ::testing::TestWithParam<EntryRow>
{
};

TEST_P(SelectNumberEntryRows, KeepsTheMenuAscendingBelowTheBlank)
{
    const EntryRow &row = GetParam();
    QComboBox menu;
    menu.addItems(row.before);
    menu.setCurrentIndex(-1);
    SelectNumberEntry(&menu, row.value, true);
    QStringList after;
    for (int i = 0; i < menu.count(); ++i)
        after << menu.itemText(i);
    EXPECT_EQ(after, row.after);
    EXPECT_EQ(menu.currentIndex(), row.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SelectNumberEntryRows,
    ::testing::Values(EntryRow{{"0.1", "0.25"}, 0.2f, {"0.1", "0.2", "0.25"}, 1},
                      EntryRow{{"0.1", "0.2", "0.25"}, 0.2000001f, {"0.1", "0.2", "0.25"}, 1},
                      EntryRow{{"0.1", "0.25"}, 0.5f, {"0.1", "0.25", "0.5"}, 2},
                      EntryRow{{" ", "0.1"}, 0.05f, {" ", "0.05", "0.1"}, 1},
                      EntryRow{{"0.1"}, KeepValueSentinel, {" ", "0.1"}, 0},
                      EntryRow{{}, KeepValueSentinel, {" "}, 0},
                      EntryRow{{"0.1", " "}, KeepValueSentinel, {"0.1", " "}, 1},
                      EntryRow{{"-45", "0", "45"}, -90.0f, {"-90", "-45", "0", "45"}, 0},
                      EntryRow{{"-45", "0", "45"}, 1e-7f, {"-45", "0", "1e-07", "45"}, 2}));

TEST_F(PlyDataFormTest, NewPlyFromTypedEntries)
{
    GuiTest::WarningCatcher catcher("plydata-new-warning");
    EXPECT_TRUE(RunDialog(host, true, {}, [](PlyDataForm *form) {
        EXPECT_EQ(Entries(form, "wThicknessMenu"), (QStringList{" ", "0.1", "0.2"}));
        EXPECT_EQ(Current(form, "wThicknessMenu"), " ");
        EXPECT_EQ(Current(form, "wAngleMenu"), " ");
        EXPECT_EQ(Current(form, "wColorMenu"), "Black");
        EXPECT_EQ(Child<QLabel>(form, "wThicknessUnits")->text(), "mm");
        GuiTest::SaveScreenshot(form, "plydata-new");
        Ok(form); // no thickness yet
        auto *thickness = Child<QLineEdit>(form, "wThicknessEdit");
        GuiTest::TypeText(thickness, "0.15");
        Pick(form, "wAngleMenu", "45");
        GuiTest::TypeText(Child<QLineEdit>(form, "wAngleEdit"), "135");
        Ok(form);
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Validation Warning");
    EXPECT_EQ(catcher.Boxes()[0].text, "Please enter Thickness");
    EXPECT_EQ(PlyAt(host, 1).Thickness(), 0.15f);
    EXPECT_EQ(PlyAt(host, 1).Angle(), -45.0f);
    EXPECT_EQ(PlyAt(host, 1).Color(), 1);
}

TEST_F(PlyDataFormTest, ChoosingFromAMenuEmptiesItsField)
{
    EXPECT_FALSE(RunDialog(host, true, {}, [](PlyDataForm *form) {
        auto *thickness = Child<QLineEdit>(form, "wThicknessEdit");
        GuiTest::TypeText(thickness, "0.3");
        EXPECT_EQ(form->GetThickness(), 0.3f); // the typed number wins over the menu
        emit Child(form, "wThicknessMenu")->textHighlighted("0.2");
        EXPECT_EQ(thickness->text(), "");
        EXPECT_EQ(form->GetThickness(), KeepValueSentinel);
        auto *angle = Child<QLineEdit>(form, "wAngleEdit");
        GuiTest::TypeText(angle, "12");
        Pick(form, "wAngleMenu", "0");
        EXPECT_EQ(angle->text(), "");
        EXPECT_EQ(form->GetAngle(), 0.0f);
        Child<QPushButton>(form, "wCancelButton")->click();
    }));
    EXPECT_EQ(host.context.GetLaminate().RootGroup().CountPlies(), 3);
}

TEST_F(PlyDataFormTest, ModifyingSeveralPliesKeepsTheBlankAttributes)
{
    GuiTest::WarningCatcher catcher("plydata-modify-warning");
    EXPECT_TRUE(RunDialog(host, false, Plies({1, 2, 3}), [](PlyDataForm *form) {
        EXPECT_EQ(form->windowTitle(), "Modify Ply Data");
        EXPECT_EQ(Current(form, "wThicknessMenu"), " ");
        EXPECT_EQ(Current(form, "wAngleMenu"), "0");
        EXPECT_EQ(Current(form, "wColorMenu"), " ");
        GuiTest::TypeText(Child<QLineEdit>(form, "wAngleEdit"), "400");
        GuiTest::SaveScreenshot(form, "plydata-modify");
        Ok(form);
        Child<QLineEdit>(form, "wAngleEdit")->clear();
        Pick(form, "wColorMenu", "Navy");
        Ok(form);
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Angle must be within -360 to 360 degrees");
    const float thicknesses[] = {0.1f, 0.1f, 0.2f};
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(PlyAt(host, n).Thickness(), thicknesses[n - 1]);
        EXPECT_EQ(PlyAt(host, n).Color(), 15);
    }
}

TEST(PlyDataForm, AModifiedPlyKeepsValuesBeyondSixDigits)
{
    ResetPlyDataEntries();
    LaminateHost host(LaminateHost::WithPlies({{0.1234567f, 12.345678f, 301, 2}}));
    EXPECT_TRUE(RunDialog(host, false, Plies({1}), [](PlyDataForm *form) {
        EXPECT_EQ(Current(form, "wThicknessMenu"), "0.123457");
        Pick(form, "wColorMenu", "Blue");
        Ok(form);
    }));
    EXPECT_EQ(PlyAt(host, 1).Thickness(), 0.1234567f);
    EXPECT_EQ(PlyAt(host, 1).Angle(), 12.345678f);
    EXPECT_EQ(PlyAt(host, 1).Color(), 4);
}

TEST_F(PlyDataFormTest, ShowAllKeepsTheChosenColour)
{
    host.store.Data().colors.push_back({40, "Extra", 1, 2, 3});
    LaminateHost extra(host.store.Data());
    EXPECT_FALSE(RunDialog(extra, true, {}, [](PlyDataForm *form) {
        Pick(form, "wColorMenu", "Teal");
        Child<QCheckBox>(form, "wShowAllColorsCheckBox")->setChecked(true);
        EXPECT_EQ(Entries(form, "wColorMenu").size(), 17);
        EXPECT_EQ(Current(form, "wColorMenu"), "Teal");
        Pick(form, "wColorMenu", "Extra");
        Child<QCheckBox>(form, "wShowAllColorsCheckBox")->setChecked(false);
        EXPECT_EQ(Entries(form, "wColorMenu").size(), 17); // the chosen colour stays listed
        EXPECT_EQ(Current(form, "wColorMenu"), "Extra");
        Child<QPushButton>(form, "wCancelButton")->click();
    }));
}

TEST_F(PlyDataFormTest, TheMaterialButtonRunsTheHostPicker)
{
    QWidget layup;
    layup.show();
    PlyDataForm form(&layup, &host.context);
    host.store.QueuePick(302);
    GuiTest::WhenModal<PlyDataForm>([&layup](PlyDataForm *dialog) {
        emit Child<QPushButton>(dialog, "wMaterialButton")->pressed();
        EXPECT_TRUE(layup.isEnabled());
        EXPECT_EQ(Current(dialog, "wMaterialMenu"), "Glass/epoxy UD 0.25");
        dialog->reject();
    });
    EXPECT_FALSE(form.Exec(true, {}));
    EXPECT_EQ(host.store.PendingPicks(), 0u);
}

} // namespace
