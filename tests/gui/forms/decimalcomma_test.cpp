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
#include <functional>
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

// Every number field of the four dialogs, typed into key by key: a lone comma
// shows as a point as it is typed; a mark beside another stays as typed, for
// the dialog to refuse, rather than being dropped ("1.5,2" is no 1.52).
// Letters cannot be typed. The ply data dialog then refuses two marks and
// stores what a comma gave.
TEST_F(DecimalComma, EveryNumberFieldReadsACommaAndKeepsEveryKey)
{
    const auto expectKeysKept = [](QWidget *dialog) {
        const std::pair<const char *, const char *> rows[] = {
            {"1,5", "1.5"},     {",25", ".25"},   {"-2,5e3", "-2.5e3"},   {"1.5,2", "1.5,2"},
            {"1,5,2", "1.5,2"}, {"1..5", "1..5"}, {"1.000,5", "1.000,5"}, {"x1e", "1e"},
        };
        for (QWidget *widget : dialog->findChildren<QWidget *>()) // Halpin-Tsai fields wait for their description
            widget->setEnabled(true);
        for (QLineEdit *edit : dialog->findChildren<QLineEdit *>()) {
            for (const auto &[typed, shown] : rows) {
                edit->clear();
                QTest::keyClicks(edit, typed);
                EXPECT_EQ(edit->text().toStdString(), shown) << edit->objectName().toStdString() << " " << typed;
            }
        }
    };
    PlyMaterialRequest request;
    HalpinTsaiForm options(nullptr, &request.context);
    PlyMaterialForm material(nullptr, &request.context);
    ModelerForm properties(nullptr, &host.context);
    const std::pair<QDialog *, std::function<void()>> dialogs[] = {
        {&options, [&] { options.Exec(); }}, {&material, [&] { material.Exec(); }},
        {&properties, [&] { properties.Exec(); }}};
    for (const auto &[dialog, exec] : dialogs) {
        GuiTest::WhenModal([dialog = dialog](QWidget *w) { return w == dialog; }, [&](QWidget *w) {
            expectKeysKept(w);
            static_cast<QDialog *>(w)->reject();
        });
        exec();
    }

    GuiTest::WarningCatcher catcher("decimalcomma-plydata");
    PlyDataForm plyData(nullptr, &host.context);
    ASSERT_TRUE(RunModal(
        plyData,
        [&](PlyDataForm *dialog) {
            EXPECT_EQ(Child<QComboBox>(dialog, "wThicknessMenu")->itemText(2), "0.25");
            expectKeysKept(dialog);
            auto *thickness = Child<QLineEdit>(dialog, "wThicknessEdit");
            auto *angle = Child<QLineEdit>(dialog, "wAngleEdit");
            thickness->clear();
            angle->clear();
            QTest::keyClicks(thickness, "0,125");
            QTest::keyClicks(angle, "-22,5");
            GuiTest::SaveScreenshot(dialog, "decimalcomma-plydata-thickness");
            QTest::keyClicks(thickness, ",");
            Click(dialog, "wDoneButton");
            QTest::keyClick(thickness, Qt::Key_Backspace);
            Click(dialog, "wDoneButton");
        },
        true, Selection()));
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Thickness must be a number within -3.4e+38 to 3.4e+38");
    const auto &ply = dynamic_cast<const PlySimple &>(*host.context.GetLaminate().RootGroup().FindPly(1, 0));
    EXPECT_EQ(ply.Thickness(), 0.125f);
    EXPECT_EQ(ply.Angle(), -22.5f);
}

} // namespace
