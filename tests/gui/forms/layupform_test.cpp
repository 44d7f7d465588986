#include "gui/forms/layupform.h"

#include "core/layupbuilder.h"
#include "formdriver.h"
#include "gui/guitest.h"
#include "gui/laminatecontext.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreedelegate.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

using namespace layuptest;
using namespace FormDriver;

class LayupFormTest : public ::testing::Test
{
protected:
    explicit LayupFormTest(bool create = false) : lam(LamHost::DemoStore(), create), form(nullptr, &lam.context, create) {}

    // Runs the dialog; inside must end it (or click what ends it).
    int Run(const std::function<void()> &inside, bool *again = nullptr)
    {
        bool flag = true;
        return RunModal(form, [inside](LayupForm *) { inside(); }, again ? again : &flag);
    }
    // Selects the tree rows of these plies as a user would.
    void SelectInTree(const std::vector<int> &plies)
    {
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
        list->clearSelection();
        for (QTreeWidgetItemIterator it(list); *it; ++it)
            if ((*it)->text(0).endsWith(' ') &&
                std::find(plies.begin(), plies.end(), (*it)->text(0).trimmed().toInt()) != plies.end())
                (*it)->setSelected(true);
    }
    // The menu's entries: "-" for a separator, "[title]" for a submenu.
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
    EXPECT_EQ(form.windowTitle(), "Modify Laminate");
    const struct
    {
        const char *name, *tip;
        bool fixed;
    } buttons[] = {
        {"wIndentToolButton", "Create ply group", true}, {"wOutdentToolButton", "Ungroup", true},
        {"wLinkToolButton", "Link groups", true},        {"wUnlinkToolButton", "Unlink group", true},
        {"wAutoGroupsButton", "Analyze layup and create groups automatically", true},
        {"wPrintButton", "send picture to printer", false},
        {"wMatlButton", "Quarnel material data system", false},
        {"wImportButton", "Import from spreadsheet", false}, {"wExportButton", "Export to spreadsheet", false},
        {"wUndoButton", "Undo", false},                   {"wNewButton", "Add a new ply", true},
        {"wModifyButton", "Modify", true},                {"wDeleteButton", "Delete", true},
        {"wCutButton", "Cut", false},                     {"wCopyButton", "Copy", false},
        {"wPasteButton", "Paste", false},
    };
    for (const auto &b : buttons) {
        auto *button = Child<QPushButton>(&form, b.name);
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
        auto *combo = Child<QComboBox>(&form, c.name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, c.items) << c.name;
        EXPECT_EQ(combo->toolTip(), c.tip) << c.name;
        EXPECT_EQ(combo->currentIndex(), 0) << c.name;
    }
    auto *paste = Child<QSpinBox>(&form, "wPasteSpinBox");
    auto *slider = Child<QSlider>(&form, "wPlySizeSlider");
    EXPECT_EQ(std::vector<int>({paste->minimum(), paste->maximum(), slider->minimum(), slider->maximum(),
                                slider->value(), slider->tickInterval()}),
              std::vector<int>({1, 10, 1, 200, 25, 25}));
    for (const char *hidden : {"wPlySizeSlider", "wImportButton", "wExportButton", "wCanvasViewNotUsed"})
        EXPECT_TRUE(Child(&form, hidden)->isHidden()) << hidden;
    const char *texts[][2] = {{"wLamOptionButton", "Properties..."}, {"wOkButton", "OK"},
                              {"wApplyButton", "Apply"},           {"wResetButton", "Reset"},
                              {"wCancelButton", "Cancel"},         {"wHelpButton", "Help"}};
    for (const auto &t : texts)
        EXPECT_EQ(Child<QPushButton>(&form, t[0])->text(), t[1]);
    EXPECT_TRUE(Child<QPushButton>(&form, "wOkButton")->isDefault());
    auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
    EXPECT_EQ(list->headerItem()->text(1), "  Thickness   ");
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    // The dialogs the engine opens stand over this one.
    EXPECT_EQ(dynamic_cast<QWidget *>(form.CreateModelerForm(&lam.context).get())->parentWidget(), &form);
    EXPECT_EQ(dynamic_cast<QWidget *>(form.CreatePlyDataForm(&lam.context).get())->parentWidget(), &form);
}

TEST_F(NewLayupFormTest, AnEmptyLaminateCannotBeSavedAndCancelEndsIt)
{
    EXPECT_EQ(form.windowTitle(), "Create Laminate");
    GuiTest::WarningCatcher catcher;
    bool again = true;
    EXPECT_EQ(Run([this] { GuiTest::SaveScreenshot(&form, "layup-create-empty");
                           Click(&form, "wOkButton");
                           Click(&form, "wApplyButton");
                           EXPECT_TRUE(form.isVisible());
                           Click(&form, "wCancelButton"); },
                  &again),
              0);
    EXPECT_FALSE(again);
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    for (const GuiTest::Box &box : catcher.Boxes())
        EXPECT_EQ(box.title + ": " + box.text, "Validation Warning: Cannot save an empty laminate definition");
}

TEST_F(LayupFormTest, ApplyOkResetAndCancelFollowTheEngine)
{
    GuiTest::WarningCatcher catcher;
    bool again = false;
    EXPECT_EQ(Run([this] { Click(&form, "wApplyButton"); // nothing changed: stays open
                           EXPECT_TRUE(form.isVisible());
                           Choose(&form, "wStackingSeqMenu", 0);
                           Click(&form, "wApplyButton"); },
                  &again),
              1);
    EXPECT_TRUE(again);
    EXPECT_EQ(Run([this] { Choose(&form, "wStackingSeqMenu", 3);
                           Click(&form, "wResetButton"); // back to what Apply saved
                           EXPECT_EQ(Text(&form, "wStackingSeqMenu"), "Normal");
                           EXPECT_EQ(Child(&form, "wUndoButton")->toolTip(), "Undo Reset");
                           Click(&form, "wOkButton"); },
                  &again),
              1);
    EXPECT_FALSE(again);
    lam.SetLayup(Root({Ply(301), Ply(301), Ply(999)}));
    EXPECT_EQ(Run([this] { Click(&form, "wCancelButton");
                           EXPECT_TRUE(form.isVisible());
                           form.reject(); }),
              0);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title + ": " + catcher.Boxes()[0].text,
              "Material Reference Error: Ply 3 references non-existing material 999");
}

TEST_F(LayupFormTest, ClosingThroughTheFrameRejectsWithoutTheEngine)
{
    bool again = true;
    EXPECT_EQ(Run([this] { Choose(&form, "wStackingSeqMenu", 0);
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
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
        EXPECT_EQ(form.Sketch()->Rows().size(), 8u);
        SelectInTree({2, 4});
        EXPECT_EQ(form.Sketch()->GetSelectedPlies(), (std::vector<int>{4, 2}));
        EXPECT_TRUE(Child(&form, "wModifyButton")->isEnabled());
        EXPECT_EQ(Child<QComboBox>(&form, "wPastePositionMenu")->itemText(0), "Above");
        list->clearSelection();
        list->topLevelItem(1)->setSelected(true); // group 5
        EXPECT_TRUE(Child(&form, "wOutdentToolButton")->isEnabled());
        // From the sketch: the tree follows and loses its group selection.
        form.Sketch()->SetSelectedPlies({4});
        form.Sketch()->Notify(LayupShowSelectionChanged);
        EXPECT_EQ(form.Tree()->GetSelectedPlies(), std::vector<int>{4});
        EXPECT_TRUE(form.Tree()->GetSelectedGroups().empty());
        EXPECT_FALSE(Child(&form, "wOutdentToolButton")->isEnabled());
        form.reject();
    });
}

TEST_F(LayupFormTest, RightClickMenuOfOnePly)
{
    Run([this] {
        SelectInTree({4});
        Click(&form, "wCopyButton"); // fills the clipboard, clears the selection
        SelectInTree({2});
        EXPECT_EQ(Entries(form.RightClickMenu()),
                  (std::vector<std::string>{"New...", "Modify...", "-", "Undo Copy", "-", "Cut", "Copy",
                                            "-", // the material separator goes to position 7
                                            "[Paste]", "Group", "[Material]", "[Color]"}));
        EXPECT_EQ(Entries(Submenu("Material")), (std::vector<std::string>{"Carbon/epoxy UD 0.125", "Select..."}));
        EXPECT_EQ(Entries(Submenu("Color")).size(), 16u); // the demo's colours, "Black" included
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
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
            Click(&form, "wCopyButton");
            SelectInTree({2});
            QAction *entry = Submenu("Paste")->actions().value(static_cast<int>(&row - rows));
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->text(), row.entry);
            EXPECT_EQ(entry->data().toInt(), row.id);
            Child<QSpinBox>(&form, "wPasteSpinBox")->setValue(3); // the menu pastes once
            entry->trigger();
            EXPECT_EQ(Child<QSpinBox>(&form, "wPasteSpinBox")->value(), 1);
            std::vector<float> angles;
            for (const PlySimple &ply : Plies(lam.GetLaminate().RootGroup()))
                angles.push_back(ply.Angle());
            EXPECT_EQ(angles, row.angles) << row.entry;
        }
        form.reject();
    });
}

TEST_F(LayupFormTest, AcceptedPropertiesAreOfferedForUndoAtOnce)
{
    Run([this] {
        SelectInTree({2});
        const struct
        {
            const char *button, *undo;
        } rows[] = {{"wCancelButton", "Undo"}, {"wDoneButton", "Undo Set Properties"}};
        for (const auto &row : rows) {
            GuiTest::WhenModal<ModelerForm>([&row](ModelerForm *dialog) {
                SetText(dialog, "wDampingEdit", "0.5");
                Click(dialog, row.button);
            });
            Click(&form, "wLamOptionButton");
            auto *undo = Child(&form, "wUndoButton");
            EXPECT_EQ(undo->toolTip().toStdString(), row.undo);
            EXPECT_EQ(undo->isEnabled(), row.undo != std::string("Undo"));
            const std::vector<std::string> entries = Entries(form.RightClickMenu());
            EXPECT_EQ(std::count(entries.begin(), entries.end(), row.undo), undo->isEnabled() ? 1 : 0);
            EXPECT_EQ(entries.front(), "New...");
            EXPECT_EQ(entries.at(1), "Modify...") << "ply 2 is still selected";
        }
        form.reject();
    });
}

// Without a window manager nothing else gives the dialog the keyboard back
// when a window over it closes: what the user typed next would go nowhere.
TEST_F(LayupFormTest, WindowsClosedOverTheDialogGiveItTheKeyboardBack)
{
    Run([this] {
        GuiTest::WarningCatcher warnings;
        const struct
        {
            const char *opener;
            std::function<void()> answer;
        } rows[] = {
            {"wLamOptionButton", [] { GuiTest::WhenModal<ModelerForm>([](ModelerForm *d) { d->reject(); }); }},
            {"wLamOptionButton",
             [] {
                 GuiTest::WhenModal<ModelerForm>([](ModelerForm *d) {
                     SetText(d, "wDampingEdit", "-1"); // refused: a warning box over both
                     Click(d, "wDoneButton");
                     d->reject();
                 });
             }},
            {"wNewButton", [] { GuiTest::WhenModal<PlyDataForm>([](PlyDataForm *d) { d->reject(); }); }},
        };
        for (const auto &row : rows) {
            form.activateWindow();
            GuiTest::ProcessEventsUntil([this] { return form.isActiveWindow(); });
            row.answer();
            Click(&form, row.opener);
            GuiTest::ProcessEventsUntil([this] { return form.isActiveWindow(); });
            EXPECT_TRUE(form.isActiveWindow()) << row.opener;
        }
        EXPECT_EQ(warnings.Boxes().size(), 1u);
        form.reject();
    });
}

TEST_F(LayupFormTest, HalfViewOnlyForRepeatingRulesAndZoomOnlyInScaleViews)
{
    Run([this] {
        auto *partial = Child<QComboBox>(&form, "wPartialMenu");
        EXPECT_TRUE(partial->isEnabled()); // the demo is full symmetric
        Choose(&form, "wPartialMenu", 1);
        EXPECT_EQ(form.Sketch()->Rows().size(), 4u);
        // After a refused rule the engine has the controls show the laminate's rule again.
        Child<QComboBox>(&form, "wStackingSeqMenu")->setCurrentIndex(3);
        form.ShowStackingRule(StackingFullSymmetric);
        EXPECT_EQ(Text(&form, "wStackingSeqMenu"), "Full Symmetric");
        EXPECT_TRUE(partial->isEnabled() && form.Sketch()->IsHalfView());
        Choose(&form, "wStackingSeqMenu", 0);
        EXPECT_FALSE(partial->isEnabled());
        EXPECT_EQ(partial->currentText(), "Full");
        EXPECT_FALSE(form.Sketch()->IsHalfView());
        for (int view : {1, 2, 0}) {
            Choose(&form, "wViewMenu", view);
            EXPECT_EQ(Child(&form, "wPlySizeSlider")->isHidden(), view == 0) << view;
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
        QTreeWidgetItem *link = Child<QTreeWidget>(&form, "wLamTreeList")->topLevelItem(0);
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
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
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

// Opens the editor of the top row's cell with the edit key, as a user would.
QLineEdit *EditTopCell(LayupForm &form, int column)
{
    auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
    form.activateWindow(); // again after a warning box
    GuiTest::ProcessEventsUntil([&form] { return form.isActiveWindow(); });
    list->setCurrentItem(list->topLevelItem(0), column);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    return qobject_cast<QLineEdit *>(list->indexWidget(list->currentIndex()));
}

// A cell typed over key by key, the edit ended as a user ends it: whichever
// way, the cell edited is the one checked. A value taken is one undo step; a
// refused one shows its one warning and the old text.
TEST_F(LayupFormTest, TreeEditsEndedAnyWayAreCheckedForTheCellEdited)
{
    enum End { Enter, Tab, Backtab, ClickElsewhere, FocusLost };
    const struct
    {
        int column;
        const char *typed;
        End end;
        const char *result; // the cell's text once taken, or the warning
    } rows[] = {
        {1, "0,5", Tab, "0.5 "},
        {2, "-30", Backtab, "-30 "},
        {1, "0.4", Enter, "0.4 "},
        {1, "0.6", ClickElsewhere, "0.6 "},
        {2, "45", FocusLost, "+45 "},
        {1, "abc", Tab, "Syntax error: enter regular numerical value"},
        {1, "1.5,2", Enter, "Syntax error: enter regular numerical value"},
        {1, "1e39", Tab, "Thickness must be a number within -3.4e+38 to 3.4e+38"},
        {2, "400", Backtab, "Angle must be between -360 and +360 degrees"},
        {2, "nan", ClickElsewhere, "Angle must be between -360 and +360 degrees"},
    };
    const auto stored = [this](int column) { // of the top row's ply
        const PlySimple ply = Plies(lam.GetLaminate().RootGroup()).back();
        return column == 1 ? ply.Thickness() : ply.Angle();
    };
    const float before[] = {0.0f, stored(1), stored(2)};
    Run([&] {
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
        auto *undo = Child<QPushButton>(&form, "wUndoButton");
        for (const auto &row : rows) {
            const std::string typed = row.typed;
            const QString old = list->topLevelItem(0)->text(row.column);
            QLineEdit *editor = EditTopCell(form, row.column);
            ASSERT_TRUE(editor) << typed;
            QTest::keyClicks(editor, row.typed);
            EXPECT_EQ(editor->text().toStdString(), typed == "0,5" ? "0.5" : typed) << "a lone comma shows as a point";
            GuiTest::WarningCatcher catcher("layup-tree-" + typed);
            switch (row.end) {
            case Enter: QTest::keyClick(editor, Qt::Key_Return); break;
            case Tab: QTest::keyClick(editor, Qt::Key_Tab); break;
            case Backtab: QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier); break;
            case ClickElsewhere:
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(1)).center());
                break;
            case FocusLost: Child(&form, "wStackingSeqMenu")->setFocus(); break;
            }
            const bool taken = QString(row.result).endsWith(' ');
            GuiTest::ProcessEventsUntil([&] { return taken ? undo->isEnabled() : !catcher.Boxes().empty(); }, 2000);
            GuiTest::ProcessEventsUntil([] { return false; }, 50); // no second report
            ASSERT_TRUE(form.isVisible()) << typed << ": Enter is not the dialog's OK";
            GuiTest::SaveScreenshot(&form, QString::fromStdString("layup-tree-ended-" + typed));
            EXPECT_EQ(list->topLevelItem(0)->text(row.column), taken ? QString(row.result) : old) << typed;
            if (taken) {
                EXPECT_TRUE(catcher.Boxes().empty()) << typed;
                EXPECT_EQ(stored(row.column), QString(row.result).toFloat()) << typed;
                if (row.end == Tab) { // the editor Tab opened on the next cell outlives the rebuild
                    EXPECT_TRUE(list->indexWidget(list->model()->index(row.column == 1 ? 0 : 1, 3 - row.column)))
                        << typed;
                }
                Click(&form, "wUndoButton");
                EXPECT_FALSE(undo->isEnabled()) << typed << ": one undo step";
            } else {
                ASSERT_EQ(catcher.Boxes().size(), 1u) << typed;
                EXPECT_EQ(catcher.Boxes()[0].text.toStdString(), row.result);
            }
            EXPECT_EQ(stored(row.column), before[row.column]) << typed;
            if (QWidget *open = list->indexWidget(list->currentIndex()))
                QTest::keyClick(open, Qt::Key_Escape);
        }
        form.reject();
    });
}

// Runs of edits typed key by key through the window, as an engineer types:
// Tab (>) and Shift+Tab (<) commit the cell and open the next or previous
// editable cell across the rows as shown, passing over group rows and a link's
// red plies, and stay on the first and last cell; a refused value shows its
// one warning and is typed again in its cell. Return (|), Escape (~) or a click
// on another row (@) ends the run; F2 (^) opens the cell Return left. Each value
// taken is one undo step, in the laminate and the tree; the dialog stays open
// and active, the focus in the tree.
TEST_F(LayupFormTest, TabRunsGoAcrossTheRowsAndKeepEveryValue)
{
    // Top first: ply 6; link 7 with red plies 5 and 4; group 5 with plies 3 and 2; ply 1.
    const PlyGroup start = Root({Ply(301, 0.1f, 0.0f), Group(5, {Ply(301, 0.2f, 10.0f), Ply(301, 0.3f, 20.0f)}),
                                 Link(7, 5, LinkRepeat), Ply(301, 0.6f, 60.0f)},
                                StackingFullSymmetric);
    const struct
    {
        int ply, column; // the cell first typed into
        bool click;      // its editor opened by a click on the selected cell, else by F2
        const char *keys;
        const char *plies; // thickness/angle of plies 1 to 6 afterwards
        int steps;
        const char *warnings;
    } rows[] = {
        {3, 1, false, "0,13>0,14>0,15>0,16|^0,17|", "0.1/+0 0.15/+0.17 0.13/+0.14 0.15/+0.17 0.13/+0.14 0.6/+60", 5,
         ""},
        {1, 2, true, "-5<0,11<15<0,22<30<0,33<61<0,66~", "0.11/-5 0.22/+15 0.33/+30 0.22/+15 0.33/+30 0.6/+61", 7, ""},
        {6, 1, false, "0,61>1e39>-45<<0,62<<0,63>>|", "0.1/+0 0.2/+10 0.3/+20 0.2/+10 0.3/+20 0.63/-45", 4,
         "Angle must be between -360 and +360 degrees"},
        {2, 1, true, "-5>0,21>12>0,14>0,15>-20@", "0.14/-20 0.21/+12 0.3/+20 0.21/+12 0.3/+20 0.6/+60", 5,
         "Thickness must be positive"},
        {1, 1, false, "1e39|0,12>|", "0.12/+0 0.2/+10 0.3/+20 0.2/+10 0.3/+20 0.6/+60", 1,
         "Thickness must be a number within -3.4e+38 to 3.4e+38"},
    };
    Run([&] {
        auto *list = Child<QTreeWidget>(&form, "wLamTreeList");
        const auto row = [list](int ply) {
            for (QTreeWidgetItemIterator it(list); *it; ++it)
                if ((*it)->text(0) == QString::number(ply) + " ")
                    return *it;
            return static_cast<QTreeWidgetItem *>(nullptr);
        };
        const auto cellCentre = [list](QTreeWidgetItem *item, int column) {
            return QPoint(list->header()->sectionViewportPosition(column) + list->header()->sectionSize(column) / 2,
                          list->visualItemRect(item).center().y());
        };
        const auto stored = [](const PlyGroup &root) {
            QString text;
            for (const PlySimple &ply : Plies(root))
                text += QString::asprintf("%.4g/%+.3g ", double(ply.Thickness()), double(ply.Angle()));
            return text.trimmed().toStdString();
        };
        const auto shown = [&row] {
            QString text;
            for (int ply = 1; QTreeWidgetItem *item = row(ply); ++ply)
                text += item->text(1).trimmed() + "/" + item->text(2).trimmed() + " ";
            return text.trimmed().toStdString();
        };
        for (const auto &r : rows) {
            SCOPED_TRACE(r.keys);
            lam.SetLayup(start);
            lam.context.GetLaminateManager()->ClearUndoStack();
            form.Refresh(true, true);
            GuiTest::WarningCatcher catcher(std::string("layup-tab-run-") + std::to_string(&r - rows));
            if (r.click) {
                for (int click = 0; click < 2; ++click) // the second on the selected cell
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cellCentre(row(r.ply), r.column));
                GuiTest::ProcessEventsUntil([this] { return qobject_cast<QLineEdit *>(form.focusWidget()); });
            } else {
                list->setCurrentItem(row(r.ply), r.column);
                list->setFocus();
                QTest::keyClick(form.windowHandle(), Qt::Key_F2);
            }
            ASSERT_TRUE(qobject_cast<QLineEdit *>(form.focusWidget())) << "an editor is open";
            for (const char *key = r.keys; *key; ++key) {
                switch (*key) {
                case '>': QTest::keyClick(form.windowHandle(), Qt::Key_Tab); break;
                case '<': QTest::keyClick(form.windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier); break;
                case '|': QTest::keyClick(form.windowHandle(), Qt::Key_Return); break;
                case '~': QTest::keyClick(form.windowHandle(), Qt::Key_Escape); break;
                case '^': QTest::keyClick(form.windowHandle(), Qt::Key_F2); break;
                case '@': QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cellCentre(row(6), 0)); break;
                default: QTest::keyClick(form.windowHandle(), *key);
                }
            }
            GuiTest::ProcessEventsUntil([] { return false; }, 50);
            GuiTest::SaveScreenshot(&form, QString("layup-tab-run-%1").arg(&r - rows));
            ASSERT_TRUE(form.isVisible());
            EXPECT_EQ(stored(lam.GetLaminate().RootGroup()), r.plies);
            EXPECT_EQ(shown(), r.plies);
            QStringList warnings;
            for (const GuiTest::Box &box : catcher.Boxes())
                warnings << box.text;
            EXPECT_EQ(warnings.join("; ").toStdString(), r.warnings);
            QWidget *focus = form.focusWidget();
            EXPECT_TRUE(focus && (focus == list || list->isAncestorOf(focus)));
            EXPECT_TRUE(form.isActiveWindow()) << "a warning gave the keyboard back";
            int steps = 0;
            for (; steps < 20 && Child(&form, "wUndoButton")->isEnabled(); ++steps)
                Click(&form, "wUndoButton");
            EXPECT_EQ(steps, r.steps);
            EXPECT_EQ(stored(lam.GetLaminate().RootGroup()), stored(start));
        }
        form.reject();
    });
}

// A click on Apply that ends an edit comes with its release before the event
// loop runs again: Apply acts on the laminate with the value taken up.
TEST_F(LayupFormTest, ApplyClickedWhileEditingSavesTheEdit)
{
    GuiTest::WarningCatcher catcher;
    bool again = false;
    EXPECT_EQ(Run(
                  [this] {
                      for (const char *typed : {"-1", "0.5"}) { // Apply ends the dialog once the laminate changed
                          QTest::keyClicks(EditTopCell(form, 1), typed);
                          QTest::mouseClick(Child(&form, "wApplyButton"), Qt::LeftButton);
                      }
                      if (form.isVisible())
                          form.reject();
                  },
                  &again),
              QDialog::Accepted);
    EXPECT_TRUE(again);
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].text, "Thickness must be positive");
    EXPECT_EQ(Plies(lam.GetLaminate().RootGroup()).back().Thickness(), 0.5f);
}

} // namespace
