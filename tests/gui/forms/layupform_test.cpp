#include "gui/forms/layupform.h"

#include "core/layupbuilder.h"
#include "gui/guitest.h"
#include "gui/laminatecontext.h"
#include "gui/views/layupsketcher.h"
#include "gui/forms/plydataform.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreedelegate.h"
#include "gui/views/plysketch.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QGraphicsView>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

namespace {

using namespace layuptest;

class LayupFormTest : public ::testing::Test
{
protected:
    explicit LayupFormTest(bool create = false)
        : lam(LamHost::DemoStore(), create), form(nullptr, &lam.context, create)
    {
    }

    template <class T = QWidget>
    T *W(const char *name)
    {
        T *widget = form.findChild<T *>(name);
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    // Runs the dialog; inside runs from its event loop and must end it (or
    // leave that to the button it clicks). Returns Exec's result.
    int Run(std::function<void()> inside, bool *again = nullptr)
    {
        GuiTest::WhenModal<LayupForm>([inside](LayupForm *) { inside(); });
        bool flag = true;
        const int result = form.Exec(again ? again : &flag);
        return result;
    }
    // Selects the tree rows of these plies as a user would.
    void SelectInTree(const std::vector<int> &plies)
    {
        QTreeWidget *list = W<QTreeWidget>("wLamTreeList");
        list->clearSelection();
        for (QTreeWidgetItemIterator it(list); *it; ++it)
            if ((*it)->text(0).endsWith(' ') &&
                std::find(plies.begin(), plies.end(), (*it)->text(0).trimmed().toInt()) != plies.end())
                (*it)->setSelected(true);
    }
    std::vector<int> SketchSelection() { return form.Sketch()->GetSelectedPlies(); }
    // The right-click menu's entries: "-" for a separator, "[title]" for a submenu.
    static std::vector<std::string> Entries(const QMenu *menu)
    {
        std::vector<std::string> entries;
        for (const QAction *action : menu->actions())
            entries.push_back(action->isSeparator() ? "-"
                              : action->menu() ? ("[" + action->text() + "]").toStdString()
                                               : action->text().toStdString());
        return entries;
    }
    QMenu *Submenu(const char *title)
    {
        for (QAction *action : form.RightClickMenu()->actions())
            if (action->menu() && action->text() == title)
                return action->menu();
        return nullptr;
    }

    LaminateContext lam;
    LayupForm form;
};

class NewLayupFormTest : public LayupFormTest
{
protected:
    NewLayupFormTest() : LayupFormTest(true) {}
};

TEST_F(LayupFormTest, WidgetsTextsAndFirstStates)
{
    EXPECT_EQ(form.objectName(), "Layup");
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.windowTitle(), "Modify Laminate");
    const struct
    {
        const char *name;
        const char *tip;
        bool fixed;
    } buttons[] = {
        {"wIndentToolButton", "Create ply group", true},
        {"wOutdentToolButton", "Ungroup", true},
        {"wLinkToolButton", "Link groups", true},
        {"wUnlinkToolButton", "Unlink group", true},
        {"wAutoGroupsButton", "Analyze layup and create groups automatically", true},
        {"wPrintButton", "send picture to printer", false},
        {"wMatlButton", "Quarnel material data system", false},
        {"wImportButton", "Import from spreadsheet", false},
        {"wExportButton", "Export to spreadsheet", false},
        {"wUndoButton", "Undo", false},
        {"wNewButton", "Add a new ply", true},
        {"wModifyButton", "Modify", true},
        {"wDeleteButton", "Delete", true},
        {"wCutButton", "Cut", false},
        {"wCopyButton", "Copy", false},
        {"wPasteButton", "Paste", false},
    };
    for (const auto &b : buttons) {
        auto *button = W<QPushButton>(b.name);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->toolTip().toStdString(), b.tip) << b.name;
        EXPECT_TRUE(button->text().isEmpty() && !button->icon().isNull()) << b.name;
        EXPECT_EQ(button->minimumSize(), QSize(40, 40)) << b.name;
        EXPECT_EQ(button->maximumSize() == QSize(40, 40), b.fixed) << b.name;
    }
    const struct
    {
        const char *name;
        QStringList items;
        const char *tip;
    } combos[] = {
        {"wStackingSeqMenu",
         {"Normal", "Full Symmetric", "Symmetric with core", "Full Repeat", "Repeat with core"},
         "Rule for laminate construction"},
        {"wPartialMenu", {"Full", "Half"}, "drawing style"},
        {"wViewMenu", {"Feature View", "Scale Explode View", "Scale View"}, "drawing style"},
        {"wPasteMenu", {"Regular", "Symmetric", "Antisymmetric"}, "Paste method"},
        {"wPastePositionMenu", {"Top", "Bottom"}, "Paste location"},
    };
    for (const auto &c : combos) {
        auto *combo = W<QComboBox>(c.name);
        ASSERT_TRUE(combo);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, c.items) << c.name;
        EXPECT_EQ(combo->toolTip(), c.tip) << c.name;
        EXPECT_EQ(combo->currentIndex(), 0) << c.name;
    }
    EXPECT_FALSE(W<QComboBox>("wStackingSeqMenu")->itemIcon(4).isNull());
    EXPECT_EQ(W<QSpinBox>("wPasteSpinBox")->minimum(), 1);
    EXPECT_EQ(W<QSpinBox>("wPasteSpinBox")->maximum(), 10);
    auto *slider = W<QSlider>("wPlySizeSlider");
    EXPECT_EQ(std::vector<int>({slider->minimum(), slider->maximum(), slider->value(), slider->tickInterval()}),
              std::vector<int>({1, 200, 25, 25}));
    for (const char *hidden : {"wPlySizeSlider", "wImportButton", "wExportButton", "wCanvasViewNotUsed"})
        EXPECT_TRUE(W(hidden)->isHidden()) << hidden;
    EXPECT_FALSE(form.Sketch()->isHidden());
    const char *texts[][2] = {{"wLamOptionButton", "Properties..."}, {"wOkButton", "OK"},
                              {"wApplyButton", "Apply"},           {"wResetButton", "Reset"},
                              {"wCancelButton", "Cancel"},         {"wHelpButton", "Help"}};
    for (const auto &t : texts)
        EXPECT_EQ(W<QPushButton>(t[0])->text(), t[1]);
    EXPECT_TRUE(W<QPushButton>("wOkButton")->isDefault());
    auto *list = W<QTreeWidget>("wLamTreeList");
    EXPECT_EQ(list->headerItem()->text(1), "  Thickness   ");
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(list->rootIsDecorated());
    // The dialogs the engine opens stand over this one.
    const std::unique_ptr<ModelerFormView> properties = form.CreateModelerForm(&lam.context);
    const std::unique_ptr<PlyDataFormView> plyData = form.CreatePlyDataForm(&lam.context);
    EXPECT_EQ(dynamic_cast<QWidget *>(properties.get())->parentWidget(), &form);
    EXPECT_EQ(dynamic_cast<QWidget *>(plyData.get())->parentWidget(), &form);
}

TEST_F(NewLayupFormTest, AnEmptyLaminateCannotBeSavedAndCancelEndsIt)
{
    EXPECT_EQ(form.windowTitle(), "Create Laminate");
    GuiTest::WarningCatcher catcher;
    bool again = true;
    const int result = Run(
        [this] {
            GuiTest::SaveScreenshot(&form, "layup-create-empty");
            EXPECT_TRUE(W<QPushButton>("wNewButton")->isEnabled());
            EXPECT_FALSE(W<QPushButton>("wUndoButton")->isEnabled());
            EXPECT_EQ(W<QPushButton>("wUndoButton")->toolTip(), "Undo");
            W<QPushButton>("wOkButton")->click();
            W<QPushButton>("wApplyButton")->click();
            EXPECT_TRUE(form.isVisible());
            W<QPushButton>("wCancelButton")->click();
        },
        &again);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(again);
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    for (const GuiTest::Box &box : catcher.Boxes()) {
        EXPECT_EQ(box.title, "Validation Warning");
        EXPECT_EQ(box.text, "Cannot save an empty laminate definition");
    }
}

TEST_F(LayupFormTest, ApplyOkResetAndCancelFollowTheEngine)
{
    GuiTest::WarningCatcher catcher;
    bool again = false;
    EXPECT_EQ(Run([this] { W<QPushButton>("wApplyButton")->click(); // nothing changed: stays open
                           EXPECT_TRUE(form.isVisible());
                           W<QComboBox>("wStackingSeqMenu")->setCurrentIndex(0);
                           emit W<QComboBox>("wStackingSeqMenu")->activated(0);
                           W<QPushButton>("wApplyButton")->click(); },
                  &again),
              1);
    EXPECT_TRUE(again);
    EXPECT_EQ(Run([this] { emit W<QComboBox>("wStackingSeqMenu")->activated(3);
                           W<QPushButton>("wResetButton")->click(); // back to what Apply saved
                           EXPECT_EQ(W<QComboBox>("wStackingSeqMenu")->currentIndex(), 0);
                           EXPECT_EQ(W<QPushButton>("wUndoButton")->toolTip(), "Undo Reset");
                           W<QPushButton>("wOkButton")->click(); },
                  &again),
              1);
    EXPECT_FALSE(again);
    lam.SetLayup(Root({Ply(301), Ply(301), Ply(999)}));
    EXPECT_EQ(Run([this] { W<QPushButton>("wCancelButton")->click();
                           EXPECT_TRUE(form.isVisible());
                           form.reject(); }),
              0);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Material Reference Error");
    EXPECT_EQ(catcher.Boxes()[0].text, "Ply 3 references non-existing material 999");
}

TEST_F(LayupFormTest, ClosingThroughTheFrameRejectsWithoutTheEngine)
{
    bool again = true;
    EXPECT_EQ(Run([this] { emit W<QComboBox>("wStackingSeqMenu")->activated(0);
                           form.close(); },
                  &again),
              0);
    EXPECT_FALSE(again);
    // Cancel would have gone back to the saved laminate.
    EXPECT_EQ(lam.GetLaminate().RootGroup().GetLayup().Stacking(), 0);
}

TEST_F(LayupFormTest, SelectionGoesBetweenTreeSketchAndEngine)
{
    // Plies 2 and 3 in group 5, full symmetric: eight rows in the sketch.
    lam.SetLayup(Root({Ply(301), Group(5, {Ply(301), Ply(301)}), Ply(301)}, StackingFullSymmetric));
    Run([this] {
        QTreeWidget *list = W<QTreeWidget>("wLamTreeList");
        EXPECT_EQ(list->topLevelItemCount(), 3);
        EXPECT_EQ(form.Sketch()->Rows().size(), 8u);
        EXPECT_FALSE(W<QPushButton>("wModifyButton")->isEnabled());
        SelectInTree({2, 4});
        EXPECT_EQ(SketchSelection(), (std::vector<int>{4, 2}));
        EXPECT_TRUE(W<QPushButton>("wModifyButton")->isEnabled());
        EXPECT_EQ(W<QComboBox>("wPastePositionMenu")->itemText(0), "Above");
        list->clearSelection();
        list->topLevelItem(1)->setSelected(true); // group 5
        EXPECT_TRUE(W<QPushButton>("wOutdentToolButton")->isEnabled());
        // From the sketch: the tree follows and loses its group selection.
        form.Sketch()->SetSelectedPlies({4});
        form.Sketch()->Notify(LayupShowSelectionChanged);
        EXPECT_EQ(form.Tree()->GetSelectedPlies(), std::vector<int>{4});
        EXPECT_TRUE(form.Tree()->GetSelectedGroups().empty());
        EXPECT_FALSE(W<QPushButton>("wOutdentToolButton")->isEnabled());
        EXPECT_TRUE(W<QPushButton>("wModifyButton")->isEnabled());
        form.ClearSelection();
        EXPECT_FALSE(W<QPushButton>("wModifyButton")->isEnabled());
        EXPECT_EQ(W<QComboBox>("wPastePositionMenu")->itemText(1), "Bottom");
        form.reject();
    });
}

TEST_F(LayupFormTest, RightClickMenuOfOnePly)
{
    Run([this] {
        SelectInTree({4});
        form.findChild<QPushButton *>("wCopyButton")->click(); // fills the clipboard, clears the selection
        SelectInTree({2});
        EXPECT_EQ(Entries(form.RightClickMenu()),
                  (std::vector<std::string>{"New...", "Modify...", "-", "Undo Copy", "-", "Cut", "Copy",
                                            "-", // the material separator goes to position 7
                                            "[Paste]", "Group", "[Material]", "[Color]"}));
        EXPECT_EQ(Entries(Submenu("Material")),
                  (std::vector<std::string>{"Carbon/epoxy UD 0.125", "Select..."}));
        EXPECT_EQ(Entries(Submenu("Color")).size(), 16u); // the demo's colours, "Black" included
        EXPECT_EQ(Entries(Submenu("Paste")).front(), "Paste Above");
        QTreeWidget *list = W<QTreeWidget>("wLamTreeList");
        emit list->customContextMenuRequested(list->visualItemRect(list->topLevelItem(2)).center());
        GuiTest::ProcessEventsUntil([this] { return form.RightClickMenu()->isVisible(); }, 2000);
        EXPECT_TRUE(form.RightClickMenu()->isVisible());
        GuiTest::SaveScreenshot(&form, "layup-modify-one-ply");
        GuiTest::SaveScreenshot(form.RightClickMenu(), "layup-modify-right-click-menu");
        form.RightClickMenu()->close();
        form.Sketch()->Notify(LayupShowRightClick); // the same menu from the sketch
        EXPECT_TRUE(form.RightClickMenu()->isVisible());
        form.RightClickMenu()->close();
        form.reject();
    });
}

TEST_F(LayupFormTest, PasteSubmenuIdsSayWhatIsPasted)
{
    const PlyGroup start = Root({Ply(301, 0.125f, 10.0f), Ply(301, 0.125f, 20.0f)});
    const struct
    {
        const char *entry;
        int id;
        std::vector<float> angles; // bottom first
    } rows[] = {
        {"Paste Above", 0, {10, 20, 10, 20}},        {"Paste Below", 4, {10, 10, 20, 20}},
        {"Paste Sym Above", 1, {10, 20, 20, 10}},    {"Paste Sym Below", 5, {10, 20, 10, 20}},
        {"Paste Antisym Above", 2, {10, 20, -20, -10}}, {"Paste Antisym Below", 6, {10, -20, -10, 20}},
    };
    Run([&] {
        for (const auto &row : rows) {
            lam.SetLayup(start);
            form.Refresh(true, true);
            SelectInTree({1, 2});
            W<QPushButton>("wCopyButton")->click();
            SelectInTree({2});
            QMenu *paste = Submenu("Paste");
            ASSERT_TRUE(paste);
            QAction *entry = paste->actions().value(static_cast<int>(&row - rows));
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->text(), row.entry);
            EXPECT_EQ(entry->data().toInt(), row.id);
            W<QSpinBox>("wPasteSpinBox")->setValue(3); // the menu pastes once
            entry->trigger();
            EXPECT_EQ(W<QSpinBox>("wPasteSpinBox")->value(), 1);
            std::vector<float> angles;
            for (const PlySimple &ply : Plies(lam.GetLaminate().RootGroup()))
                angles.push_back(ply.Angle());
            EXPECT_EQ(angles, row.angles) << row.entry;
        }
        form.reject();
    });
}

TEST_F(LayupFormTest, HalfViewOnlyForRepeatingRulesAndZoomOnlyInScaleViews)
{
    Run([this] {
        auto *partial = W<QComboBox>("wPartialMenu");
        EXPECT_TRUE(partial->isEnabled()); // the demo is full symmetric
        partial->setCurrentIndex(1);
        emit partial->activated(1);
        EXPECT_TRUE(form.Sketch()->IsHalfView());
        EXPECT_EQ(form.Sketch()->Rows().size(), 4u);
        emit W<QComboBox>("wStackingSeqMenu")->activated(0);
        EXPECT_FALSE(partial->isEnabled());
        EXPECT_EQ(partial->currentText(), "Full");
        EXPECT_FALSE(form.Sketch()->IsHalfView());
        auto *slider = W<QSlider>("wPlySizeSlider");
        for (int view : {1, 2, 0}) {
            emit W<QComboBox>("wViewMenu")->activated(view);
            EXPECT_EQ(slider->isHidden(), view == 0) << view;
            EXPECT_EQ(form.Sketch()->ViewMode(), view);
        }
        form.reject();
    });
}

TEST_F(LayupFormTest, GroupAndSymmetryLinkShownInBothViews)
{
    lam.SetLayup(Root({Ply(301, 0.125f, 90.0f, 10), Group(5, {Ply(301, 0.125f, 0.0f, 2), Ply(301, 0.25f, 45.0f, 3)}),
                       Link(6, 5, LinkSymmetry)}));
    Run([this] {
        QTreeWidgetItem *link = W<QTreeWidget>("wLamTreeList")->topLevelItem(0);
        EXPECT_TRUE(link->isExpanded() && link->childCount() == 2);
        EXPECT_EQ(form.Sketch()->Rows().size(), 5u);
        GuiTest::SaveScreenshot(&form, "layup-group-and-symmetry-link");
        EXPECT_EQ(form.Sketch()->horizontalScrollBar()->value(), 0) << "the sketch shows its left edge";
        form.reject();
    });
}

TEST_F(LayupFormTest, DoubleClickModifiesThatPlyAloneAndTreeEditsReachTheLayup)
{
    lam.SetLayup(Root({Ply(301, 0.1f), Ply(301, 0.3f, 10.0f)}));
    Run([this] {
        auto *list = W<QTreeWidget>("wLamTreeList");
        SelectInTree({1, 2});
        GuiTest::WhenModal<PlyDataForm>([](PlyDataForm *dialog) {
            EXPECT_EQ(dialog->GetThickness(), 0.3f) << "ply 2 alone";
            dialog->reject();
        });
        emit list->itemDoubleClicked(list->topLevelItem(0), 0); // the top row: ply 2
        EXPECT_TRUE(list->selectedItems().isEmpty());

        // An angle typed into ply 2's row, accepted: the layup takes it.
        const QModelIndex angle = list->model()->index(0, 2);
        QWidget *editor = form.Tree()->Delegate()->createEditor(list->viewport(), QStyleOptionViewItem(), angle);
        ASSERT_TRUE(editor);
        static_cast<QLineEdit *>(editor)->setText("30");
        form.Tree()->Delegate()->setModelData(editor, list->model(), angle);
        delete editor;
        GuiTest::ProcessEventsUntil([this] { return Plies(lam.GetLaminate().RootGroup())[1].Angle() == 30.0f; });
        EXPECT_EQ(Plies(lam.GetLaminate().RootGroup())[1].Angle(), 30.0f);
        EXPECT_EQ(list->topLevelItem(0)->text(2).trimmed(), "+30") << "the rows show the layup again";
        form.reject();
    });
}

} // namespace
