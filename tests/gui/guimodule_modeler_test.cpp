#include "gui/forms/layupform.h"
#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "gui/guitest.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace {

// The modeler request with the real layup dialog on the host stand-in.
class GuiModuleModelerTest : public ::testing::Test
{
protected:
    GuiModuleModelerTest() : store(LamHost::DemoStore()), context((store.Activate(), LamHost::CallbackTable())) {}

    static void Click(LayupForm *form, const char *button) { form->findChild<QPushButton *>(button)->click(); }

    LamHost::Store store;
    GuiAppContext context;
    GuiModule module{&context, "v11.1"};
};

TEST_F(GuiModuleModelerTest, ModifyAndOkWithoutChangeSavesNothing)
{
    int shown = 0;
    GuiTest::WhenModal<LayupForm>([&](LayupForm *form) {
        ++shown;
        EXPECT_EQ(form->windowTitle(), "Modify Laminate");
        Click(form, "wOkButton");
    });
    module.Modeler(false);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(store.LaminateSaves().empty());
}

TEST_F(GuiModuleModelerTest, CreateAndCancelSavesNothing)
{
    GuiTest::WhenModal<LayupForm>([](LayupForm *form) {
        EXPECT_EQ(form->windowTitle(), "Create Laminate");
        Click(form, "wCancelButton");
    });
    module.Modeler(true);
    EXPECT_TRUE(store.LaminateSaves().empty());
}

} // namespace
