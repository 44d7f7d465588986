#include "gui/views/layuptree.h"

#include "core/layupbuilder.h"
#include "gui/guitest.h"
#include "gui/laminatecontext.h"
#include "gui/views/layuptreedelegate.h"
#include "gui/views/layuptreeitem.h"
#include "host/materiallist.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace {

using namespace layuptest;

// A tree widget that hands out its rows' model indexes.
struct TreeList : QTreeWidget
{
    using QTreeWidget::indexFromItem;
};

class LayupTreeTest : public ::testing::Test
{
protected:
    LayupTreeTest() : tree(&list, lam.context.GetMaterialList()) { list.setColumnCount(4); }

    void Build(const PlyGroup &root)
    {
        tree.Clear();
        tree.Show(root.GetLayup());
    }
    // Every row depth first: indentation by level, then the four texts.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (QTreeWidgetItemIterator it(&list); *it; ++it) {
            std::string row;
            for (QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
                row += "  ";
            QStringList texts;
            for (int column = 0; column < 4; ++column)
                texts << (*it)->text(column);
            row += texts.join('|').toStdString();
            rows.push_back(row);
        }
        return rows;
    }
    LayupTreeItem *Row(int id, bool group = false)
    {
        for (QTreeWidgetItemIterator it(&list); *it; ++it) {
            auto *row = static_cast<LayupTreeItem *>(*it);
            if (row->Id() == id && row->IsGroup() == group)
                return row;
        }
        return nullptr;
    }

    LaminateContext lam;
    TreeList list;
    LayupTree tree;
};

TEST_F(LayupTreeTest, ShowsThePliesTopFirstWithTheirValues)
{
    Build(PlyGroup(0));
    EXPECT_TRUE(Rows().empty());
    Build(Root({Ply(301, 0.125f, 0.0f), Ply(999, 1.5f, 45.0f), Ply(301, 0.0001234f, -90.0f)}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"3 |0.0001234 |-90 |Carbon/epoxy UD 0.125",
                                                "2 |1.5 |+45 |", // unknown material: empty
                                                "1 |0.125 |+0 |Carbon/epoxy UD 0.125"}));
}

TEST_F(LayupTreeTest, GroupsAndLinksWithTheirCountsAndExpansions)
{
    // From the bottom: group 5 (two plies); group 8 holding a symmetry link 6 of
    // group 5 and a ply; link 7 repeating group 8; link 9 repeating group 5.
    Build(Root({Group(5, {Ply(301, 0.1f), Ply(301, 0.2f)}), Group(8, {Link(6, 5, LinkSymmetry), Ply(301, 0.3f)}),
                Link(7, 8, LinkRepeat), Link(9, 5, LinkAntisymmetry)}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "group_9||Antisym| of group_5",
                          "  10 |0.1 |+0 |Carbon/epoxy UD 0.125",
                          "  9 |0.2 |+0 |Carbon/epoxy UD 0.125",
                          "group_7||Repeat| of group_8",
                          "  8 |0.3 |+0 |Carbon/epoxy UD 0.125",
                          "  group_6||*Symmetry| of group_5", // a link inside the expansion, expanded too
                          "    7 |0.1 |+0 |Carbon/epoxy UD 0.125",
                          "    6 |0.2 |+0 |Carbon/epoxy UD 0.125",
                          "group_8|Parent||",
                          "  5 |0.3 |+0 |Carbon/epoxy UD 0.125",
                          "  group_6||Symmetry| of group_5",
                          "    4 |0.1 |+0 |Carbon/epoxy UD 0.125",
                          "    3 |0.2 |+0 |Carbon/epoxy UD 0.125",
                          "group_5|Parent (3)||",
                          "  2 |0.2 |+0 |Carbon/epoxy UD 0.125",
                          "  1 |0.1 |+0 |Carbon/epoxy UD 0.125",
                      }));
    // The expansion's rows are red and cannot be edited, but can be selected.
    LayupTreeItem *copy = Row(8);
    ASSERT_TRUE(copy && copy->IsChild());
    EXPECT_EQ(copy->foreground(1).color(), QColor(255, 0, 0));
    EXPECT_FALSE(copy->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(copy->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(Row(5)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(Row(5)->IsChild());
}

TEST_F(LayupTreeTest, SelectionOfPliesAndGroupsIsKeptApartAndQuiet)
{
    Build(Root({Ply(301), Group(5, {Ply(301), Ply(301)}), Link(6, 5, LinkRepeat)}));
    int changed = 0;
    QObject::connect(&list, &QTreeWidget::itemSelectionChanged, [&changed] { ++changed; });
    tree.SetSelectedGroups({6});
    tree.SetSelectedPlies({1, 5, 3});
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(tree.GetSelectedPlies(), (std::vector<int>{5, 3, 1})); // rows top first; 5 is in the link
    EXPECT_EQ(tree.GetSelectedGroups(), std::vector<int>{6});
}

TEST_F(LayupTreeTest, ATreeTakesItsRowsAlong)
{
    auto other = std::make_unique<LayupTree>(&list, nullptr);
    other->Show(Root({Ply(301)}).GetLayup());
    other.reset(); // its rows would otherwise outlive it and report to it when the list deletes them
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

TEST_F(LayupTreeTest, AClosedGroupStaysClosedAndANewOneStartsOpen)
{
    Build(Root({Group(5, {Ply(301), Ply(301)}), Link(6, 5, LinkRepeat)}));
    Row(5, true)->setExpanded(false);
    Build(Root({Group(5, {Ply(301), Ply(301)}), Link(6, 5, LinkRepeat), Group(7, {Ply(301)})}));
    EXPECT_FALSE(Row(5, true)->isExpanded());
    EXPECT_TRUE(Row(6, true)->isExpanded());
    EXPECT_TRUE(Row(7, true)->isExpanded());
}

TEST_F(LayupTreeTest, InPlaceEntriesAreCheckedAndFolded)
{
    Build(Root({Ply(301, 0.25f, 30.0f)}));
    const struct
    {
        int column;
        const char *typed;
        bool changed;
        const char *shown;
        const char *warning; // empty: none
    } rows[] = {
        {1, "abc", false, "0.25 ", "Syntax error: enter regular numerical value"},
        {1, "1.5,2", false, "0.25 ", "Syntax error: enter regular numerical value"},
        {1, "1,5,2", false, "0.25 ", "Syntax error: enter regular numerical value"},
        {1, "inf", false, "0.25 ", "Thickness must be a number within -3.4e+38 to 3.4e+38"},
        {1, "1e39", false, "0.25 ", "Thickness must be a number within -3.4e+38 to 3.4e+38"},
        {1, "0", false, "0.25 ", "Thickness must be positive"},
        {1, "0.2500001", false, "0.25 ", ""},
        {1, "0.5mm", false, "0.25 ", "Syntax error: enter regular numerical value"},
        {1, "0.2.5", false, "0.25 ", "Syntax error: enter regular numerical value"},
        {1, " 0.5 ", true, "0.5 ", ""},
        {1, "\xa0" "0.6\xa0", true, "0.6 ", ""}, // no-break blanks, as the dialogs' fields read them
        {1, "0,75", true, "0.75 ", ""},
        {2, "400", false, "+30 ", "Angle must be between -360 and +360 degrees"},
        {2, "nan", false, "+30 ", "Angle must be between -360 and +360 degrees"},
        {2, "-1e39", false, "+30 ", "Angle must be between -360 and +360 degrees"},
        {2, "135", true, "-45 ", ""},
        {2, "+270", true, "+90 ", ""},
        {2, "-270", true, "-90 ", ""},
        {2, "360", true, "+0 ", ""},
        {0, "7", false, "1 ", ""},
    };
    for (const auto &row : rows) {
        GuiTest::WarningCatcher catcher;
        LayupTreeItem *item = Row(1);
        float thickness = 0.0f, angle = 0.0f;
        EXPECT_EQ(tree.ValidateRename(1, row.column, QString::fromLatin1(row.typed), &thickness, &angle), row.changed)
            << row.typed;
        EXPECT_EQ(item->text(row.column).toStdString(), row.shown) << row.typed;
        if (*row.warning) {
            ASSERT_EQ(catcher.Boxes().size(), 1u) << row.typed;
            EXPECT_EQ(catcher.Boxes()[0].title, "Validation Warning");
            EXPECT_EQ(catcher.Boxes()[0].text.toStdString(), row.warning);
        } else {
            EXPECT_TRUE(catcher.Boxes().empty()) << row.typed;
        }
    }
    float value = 0.0f;
    EXPECT_FALSE(tree.ValidateRename(2, 1, "0.5", &value, &value)) << "no such row";
}

TEST_F(LayupTreeTest, OnlyThicknessAndAngleOfStoredPliesOpenAnEditor)
{
    Build(Root({Group(5, {Ply(301, 0.25f)}), Link(6, 5, LinkRepeat)}));
    const auto editor = [this](QTreeWidgetItem *row, int column) {
        return tree.Delegate()->createEditor(list.viewport(), QStyleOptionViewItem(), list.indexFromItem(row, column));
    };
    EXPECT_FALSE(editor(Row(2), 1)) << "a row of the link's expansion";
    EXPECT_FALSE(editor(Row(1), 0));
    EXPECT_FALSE(editor(Row(1), 3));
    EXPECT_FALSE(editor(Row(5, true), 1));
    const std::unique_ptr<QWidget> open(editor(Row(1), 2));
    EXPECT_TRUE(open);
    EXPECT_EQ(tree.EditedRow(), Row(1));
}

} // namespace
