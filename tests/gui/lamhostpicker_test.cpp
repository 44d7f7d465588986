// The host stand-in's material picker for a person at the desktop.

#include "gui/guitest.h"
#include "host/testenv.h"
#include "tools/lamhost/materialpicker.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QListWidget>

#include <tuple>

namespace {

TEST(LamhostPicker, ListsTheStoresMaterialsOfTheKindAskedFor)
{
    const LamHost::StoreData data = LamHost::DemoStore();
    for (const bool choose : {true, false}) {
        GuiTest::WhenModal<QDialog>([choose](QDialog *picker) {
            auto *list = picker->findChild<QListWidget *>("materials");
            ASSERT_EQ(list->count(), 3);
            EXPECT_EQ(list->item(1)->text(), "302  Glass/epoxy UD 0.25");
            GuiTest::SaveScreenshot(picker, "lamhost-picker");
            list->setCurrentRow(2);
            choose ? picker->accept() : picker->reject();
        });
        int id = 0;
        EXPECT_EQ(LamHost::ShowMaterialPicker(data, 3, &id), choose);
        EXPECT_EQ(id, choose ? 303 : 0);
    }
    ScopedEnv env; // offscreen no person is asked, display or not
    env.Set("DISPLAY", ":0");
    int id = 0;
    EXPECT_FALSE(LamHost::PickMaterial(data, 3, &id));
}

TEST(LamhostPicker, TheStoreAsksThePickerOnlyWhenNoAnswerIsQueued)
{
    LamHost::Store store(LamHost::DemoStore());
    store.SetPicker([](int kind, int *id) { return *id = 202, kind == 1; }); // cancelled but for kind 1
    store.QueuePickFor(3, 301);
    for (const auto &[kind, result, chosen] : {std::tuple{3, 0, 301}, {3, 1, -7}, {1, 0, 202}}) {
        int id = -7;
        EXPECT_EQ(store.SelectMaterial(kind, &id), result) << kind;
        EXPECT_EQ(id, chosen) << kind;
    }
}

} // namespace
