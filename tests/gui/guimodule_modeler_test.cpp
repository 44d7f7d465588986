#include "gui/forms/layupform.h"
#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "gui/guitest.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include <tuple>

namespace {

// The modeler request with the real layup dialog on the host stand-in:
// modify and OK without a change, or create and Cancel, save nothing.
TEST(GuiModuleModelerTest, UnchangedOrCancelledSavesNothing)
{
    for (const auto &[create, title, button] : {std::tuple{false, "Modify Laminate", "wOkButton"},
                                                std::tuple{true, "Create Laminate", "wCancelButton"}}) {
        LamHost::Store store(LamHost::DemoStore());
        store.Activate();
        GuiAppContext context(LamHost::CallbackTable());
        GuiModule module(&context, "v11.1");
        int shown = 0;
        GuiTest::WhenModal<LayupForm>([&, title = title, button = button](LayupForm *form) {
            ++shown;
            EXPECT_EQ(form->windowTitle(), title);
            form->findChild<QPushButton *>(button)->click();
        });
        module.Modeler(create);
        EXPECT_EQ(shown, 1) << title;
        EXPECT_TRUE(store.LaminateSaves().empty()) << title;
    }
}

} // namespace
