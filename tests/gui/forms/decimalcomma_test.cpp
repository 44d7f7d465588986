#include "core/laminate.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/halpintsaiform.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/forms/plymaterialform.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"
#include "gui/plymaterialrequest.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

namespace {

using namespace FormDriver;

// The dialogs under a user locale whose decimal separator is a comma (and
// whose group separator is a point): numbers still show with a point, and a
// comma typed as the decimal mark reads as one.
class DecimalComma : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "the de_DE.UTF-8 locale is missing: run tools/install-deps";
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        char text[16];
        std::snprintf(text, sizeof text, "%g", 0.5);
        ASSERT_EQ(std::string(text), "0,5"); // the locale really is in force
        ResetPlyDataEntries();
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, previous_.c_str());
        QLocale::setDefault(QLocale::c());
    }

    LaminateHost host{LaminateHost::WithPlies({{0.1f, 0, 301, 2}, {0.25f, 45, 301, 3}})};

private:
    std::string previous_;
};

// Types into each named field key by key: a lone comma shows as a point as it
// is typed; a mark beside another stays as typed, for the dialog to refuse,
// rather than being dropped ("1.5,2" is no 1.52). Letters cannot be typed.
void ExpectEveryKeyKept(QWidget *dialog, std::initializer_list<const char *> fields)
{
    const std::pair<const char *, const char *> rows[] = {
        {"1,5", "1.5"},     {",25", ".25"},     {"-2,5e3", "-2.5e3"}, {"1.5,2", "1.5,2"},
        {"1,5,2", "1.5,2"}, {"1..5", "1..5"},   {"1.000,5", "1.000,5"}, {"x1e", "1e"},
    };
    for (const char *name : fields) {
        auto *edit = Child<QLineEdit>(dialog, name);
        for (const auto &[typed, shown] : rows) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            EXPECT_EQ(edit->text().toStdString(), shown) << name << " " << typed;
        }
        edit->clear();
        QTest::keyClicks(edit, "0,5");
    }
}

TEST_F(DecimalComma, PlyDataReadsACommaAndRefusesTwoMarks)
{
    GuiTest::WarningCatcher catcher("decimalcomma-plydata");
    PlyDataForm plyData(nullptr, &host.context);
    ASSERT_TRUE(RunModal(
        plyData,
        [](PlyDataForm *dialog) {
            EXPECT_EQ(Child<QComboBox>(dialog, "wThicknessMenu")->itemText(2), "0.25");
            ExpectEveryKeyKept(dialog, {"wThicknessEdit", "wAngleEdit"});
            auto *thickness = Child<QLineEdit>(dialog, "wThicknessEdit");
            thickness->clear();
            QTest::keyClicks(thickness, "0,125");
            GuiTest::SaveScreenshot(dialog, "decimalcomma-plydata-thickness");
            QTest::keyClicks(thickness, ",");
            Click(dialog, "wDoneButton");
            QTest::keyClick(thickness, Qt::Key_Backspace);
            auto *angle = Child<QLineEdit>(dialog, "wAngleEdit");
            angle->clear();
            QTest::keyClicks(angle, "-22,5");
            Click(dialog, "wDoneButton");
        },
        true, Selection()));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Thickness must be a number within -3.4e+38 to 3.4e+38");
    const auto &ply = dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(1, 0));
    EXPECT_EQ(ply.Thickness(), 0.125f);
    EXPECT_EQ(ply.Angle(), -22.5f);
}

TEST_F(DecimalComma, PropertiesReadACommaAndRefusesTwoMarks)
{
    GuiTest::WarningCatcher catcher("decimalcomma-properties");
    ModelerForm properties(nullptr, &host.context);
    ASSERT_TRUE(RunModal(properties, [](ModelerForm *dialog) {
        EXPECT_EQ(Text(dialog, "wTsaiWuEdit"), "-0.5");
        ExpectEveryKeyKept(dialog, {"wRefPlaneEdit", "wStressEdit", "wMassEdit", "wDampingEdit", "wRefTempEdit",
                                    "wTsaiWuEdit"});
        auto *stress = Child<QLineEdit>(dialog, "wStressEdit");
        stress->clear();
        QTest::keyClicks(stress, "1.000,5");
        Click(dialog, "wDoneButton");
        stress->clear();
        QTest::keyClicks(stress, "1,5");
        Click(dialog, "wDoneButton");
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Allowable Stress must be a number within -3.4e+38 to 3.4e+38");
    const Laminate &laminate = host.context.GetLaminate();
    EXPECT_EQ(laminate.BondingStress(), 1.5f);
    EXPECT_EQ(laminate.Damping(), 0.5);
    EXPECT_EQ(laminate.TsaiWuCoefficient(), 0.5f);
}

TEST_F(DecimalComma, PlyMaterialAndHalpinTsaiReadACommaAndRefuseTwoMarks)
{
    PlyMaterialRequest request;
    HalpinTsaiForm options(nullptr, &request.context);
    GuiTest::WarningCatcher catcher("decimalcomma-halpintsai");
    ASSERT_TRUE(RunModal(options, [](HalpinTsaiForm *dialog) {
        for (QWidget *widget : dialog->findChildren<QWidget *>()) // each description enables a few
            widget->setEnabled(true);
        ExpectEveryKeyKept(dialog, {"wLongitudeEdit", "wTrasverseEdit", "wLengthEdit", "wWidthEdit",
                                    "wThicknessEdit", "wE11Edit", "wE22Edit", "wNU12Edit", "wNU23Edit", "wG12Edit"});
        auto *g12 = Child<QLineEdit>(dialog, "wG12Edit");
        QTest::keyClicks(g12, ",5");
        Click(dialog, "wDoneButton");
        QTest::keyClick(g12, Qt::Key_Backspace);
        QTest::keyClick(g12, Qt::Key_Backspace);
        Click(dialog, "wDoneButton");
    }));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Reinforcing factor G12 must be a finite number");
    EXPECT_EQ(request.Record().RibbonWidth(), 0.5);
    EXPECT_EQ(request.Record().ReinforcingG12(), 0.5);

    PlyMaterialForm material(nullptr, &request.context);
    ASSERT_FALSE(RunModal(material, [](PlyMaterialForm *dialog) {
        ExpectEveryKeyKept(dialog, {"wMatrixEdit", "wFiberEdit"});
        dialog->reject();
    }));
}

} // namespace
