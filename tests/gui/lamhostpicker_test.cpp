// The host stand-in's material picker for a person at the desktop.

#include "gui/guitest.h"
#include "host/testenv.h"
#include "tools/lamhost/materialpicker.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QListWidget>

#include <string>
#include <vector>

namespace {

TEST(LamhostPicker, ListsTheStoresMaterialsOfTheKindAskedFor)
{
    const LamHost::StoreData data = LamHost::DemoStore();
    const struct
    {
        int kind;
        std::vector<int> ids;
    } rows[] = {{1, {201, 202}}, {2, {101, 102, 103}}, {3, {301, 302, 303}}, {4, {}}};
    for (const auto &row : rows) {
        std::vector<int> ids;
        for (const LamHost::HostMaterial &material : LamHost::MaterialsOfKind(data, row.kind))
            ids.push_back(material.id);
        EXPECT_EQ(ids, row.ids) << row.kind;
    }

    // A choice, a cancel; offscreen no person is asked at all.
    for (const bool choose : {true, false}) {
        GuiTest::WhenModal<QDialog>([choose](QDialog *picker) {
            EXPECT_EQ(picker->windowTitle(), "Select Material");
            auto *list = picker->findChild<QListWidget *>("materials");
            ASSERT_TRUE(list);
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
    ScopedEnv env;
    env.Set("DISPLAY", ":0");
    int id = 0;
    EXPECT_FALSE(LamHost::PickMaterial(data, 3, &id));
}

TEST(LamhostPicker, TheStoreAsksThePickerOnlyWhenNoAnswerIsQueued)
{
    LamHost::Store store(LamHost::DemoStore());
    std::vector<int> asked;
    store.SetPicker([&asked](int kind, int *id) {
        asked.push_back(kind);
        *id = 202;
        return kind == 1; // the person cancels the others
    });
    store.QueuePickFor(3, 301);
    const struct
    {
        int kind, result, id;
    } rows[] = {{3, 0, 301}, {3, 1, -7}, {1, 0, 202}};
    for (const auto &row : rows) {
        int id = -7;
        EXPECT_EQ(store.SelectMaterial(row.kind, &id), row.result) << row.kind;
        EXPECT_EQ(id, row.id) << row.kind;
    }
    EXPECT_EQ(asked, (std::vector<int>{3, 1}));
    store.SetFault(LamHost::Slot::SelectMaterial, LamHost::Fault::Fail(5));
    int id = -7;
    EXPECT_EQ(store.SelectMaterial(1, &id), 5); // a fault stands for the picker
    EXPECT_EQ(asked.size(), 2u);
}

} // namespace
