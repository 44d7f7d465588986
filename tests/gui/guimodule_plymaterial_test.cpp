// GuiModule::CreatePlyMaterial with the real dialog through the host stand-in:
// what OK, Cancel and a refused save send to the host.

#include "gui/guimodule.h"

#include "core/plymaterial.h"
#include "gui/forms/plymaterialform.h"
#include "gui/guiappcontext.h"
#include "gui/guitest.h"
#include "host/materiallist.h"
#include "host/testenv.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace {

class GuiModulePlyMaterialTest : public ::testing::Test
{
protected:
    GuiModulePlyMaterialTest() : store_(LamHost::DemoStore()), context_((store_.Activate(), LamHost::CallbackTable()))
    {
        env_.Set("CORVANE_DEBUG", "1"); // the module's own lines reach the host too
        store_.BeginRequest();
    }

    TempDir dir_;
    ScopedCwd cwd_{dir_.Path()}; // the debug log goes here
    ScopedEnv env_;
    LamHost::Store store_;
    GuiAppContext context_;
    GuiModule module_{&context_, "v11.1"};
};

TEST_F(GuiModulePlyMaterialTest, OkSavesEveryValue)
{
    store_.QueuePickFor(MatrixMaterialKind, 202);
    store_.QueuePickFor(FiberMaterialKind, 102);
    GuiTest::WhenModal<PlyMaterialForm>([](PlyMaterialForm *d) {
        d->findChild<QPushButton *>("wMatrixMaterialSelectButton")->click();
        d->findChild<QPushButton *>("wFiberMaterialSelectButton")->click();
        d->findChild<QLineEdit *>("wMatrixEdit")->setText("0.45");
        d->findChild<QLineEdit *>("wFiberEdit")->setText("0.55");
        d->findChild<QComboBox *>("wElasticMenu")->setCurrentIndex(2);
        d->findChild<QPushButton *>("wDoneButton")->click();
    });
    module_.CreatePlyMaterial();
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 1u);
    const LamHost::HostPlyMaterial &m = store_.PlyMaterialSaves()[0].material;
    EXPECT_EQ((std::array{m.matrixMaterial, m.fiberMaterial, m.elasticTheory, m.thermalTheory, m.halpinTsaiOption,
                          m.extraOption}),
              (std::array{202, 102, 3, 1, 1, 1}));
    EXPECT_EQ((std::array{m.matrixFraction, m.fiberFraction, m.aspectRatio, m.transverseRibbon}),
              (std::array{double(0.45f), double(0.55f), 0.5, 0.5}));
    EXPECT_DOUBLE_EQ(m.ribbonLength, 0.1);
    EXPECT_DOUBLE_EQ(m.ribbonWidth, 0.1);
    EXPECT_DOUBLE_EQ(m.ribbonThickness, 0.05);
    EXPECT_EQ(m.factors, (std::array<double, 5>{1, 1, 1, 1, 1}));
    EXPECT_EQ(store_.Data().plyMaterials.size(), 1u);
}

TEST_F(GuiModulePlyMaterialTest, CancelSavesNothing)
{
    GuiTest::WhenModal<PlyMaterialForm>(
        [](PlyMaterialForm *d) { d->findChild<QPushButton *>("wCancelButton")->click(); });
    module_.CreatePlyMaterial();
    EXPECT_TRUE(store_.PlyMaterialSaves().empty());
    EXPECT_EQ(std::ranges::count(store_.Transcript(), std::string("PlyMaterial cancelled, not saving.")), 1);
}

TEST_F(GuiModulePlyMaterialTest, ARefusedSaveIsShownAndTheDialogComesBack)
{
    store_.SetFault(LamHost::Slot::SavePlyMaterial, LamHost::Fault::Fail(3, 1));
    GuiTest::WarningCatcher catcher;
    int runs = 0;
    GuiTest::WhenModal<PlyMaterialForm>([&](PlyMaterialForm *d) {
        ++runs;
        d->findChild<QLineEdit *>("wMatrixEdit")->setText("0.3");
        d->findChild<QPushButton *>("wMatrixMaterialSelectButton")->click();
        d->findChild<QPushButton *>("wFiberMaterialSelectButton")->click();
        // Back after the refusal, with what the user entered. Not earlier: the
        // picker lets events through, and this very dialog would match.
        GuiTest::WhenModal<PlyMaterialForm>([&runs, d](PlyMaterialForm *again) {
            ++runs;
            EXPECT_EQ(again, d);
            EXPECT_EQ(again->findChild<QLineEdit *>("wMatrixEdit")->text(), "0.3");
            again->findChild<QPushButton *>("wDoneButton")->click();
        });
        d->findChild<QPushButton *>("wDoneButton")->click();
    });
    store_.QueuePickFor(MatrixMaterialKind, 201);
    store_.QueuePickFor(FiberMaterialKind, 103);
    module_.CreatePlyMaterial();
    EXPECT_EQ(runs, 2);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Creating Ply Material");
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 2u);
    EXPECT_EQ(store_.PlyMaterialSaves()[0].result, 3);
    EXPECT_EQ(store_.PlyMaterialSaves()[1].result, 0);
    EXPECT_EQ(store_.Data().plyMaterials.size(), 1u);
}

} // namespace
