#include "core/laminate.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/guitest.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cstdio>
#include <string>

namespace {

// The dialogs under a user locale whose decimal separator is a comma (and
// whose group separator is a point): numbers still read and show with a point.
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

TEST_F(DecimalComma, DialogsShowAndReadDecimalPoints)
{
    PlyDataForm plyData(nullptr, &host.context);
    ASSERT_TRUE(FormDriver::RunModal(
        plyData,
        [](PlyDataForm *dialog) {
            EXPECT_EQ(FormDriver::Child<QComboBox>(dialog, "wThicknessMenu")->itemText(2), "0.25");
            auto *thickness = FormDriver::Child<QLineEdit>(dialog, "wThicknessEdit");
            GuiTest::TypeText(thickness, "0,");
            EXPECT_EQ(thickness->text().toStdString(), "0"); // a comma cannot be typed
            thickness->clear();
            GuiTest::TypeText(thickness, "0.125");
            GuiTest::TypeText(FormDriver::Child(dialog, "wAngleEdit"), "-22.5");
            FormDriver::Click(dialog, "wDoneButton");
        },
        true, Selection()));
    const auto &ply = dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(1, 0));
    EXPECT_EQ(ply.Thickness(), 0.125f);
    EXPECT_EQ(ply.Angle(), -22.5f);

    ModelerForm properties(nullptr, &host.context);
    ASSERT_TRUE(FormDriver::RunModal(properties, [](ModelerForm *dialog) {
        EXPECT_EQ(FormDriver::Text(dialog, "wTsaiWuEdit"), "-0.5");
        FormDriver::SetText(dialog, "wStressEdit", "");
        GuiTest::TypeText(FormDriver::Child(dialog, "wStressEdit"), "1.5");
        FormDriver::Click(dialog, "wDoneButton");
    }));
    EXPECT_EQ(host.context.GetLaminate().BondingStress(), 1.5f);
}

} // namespace
