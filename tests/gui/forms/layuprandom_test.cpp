// A seeded random user in the layup dialog, offscreen, with the real form and
// engine on the host stand-in: after every action the tree and the sketch show
// exactly the laminate's plies, and Undo names the newest recorded command.
// CORVANE_RANDOM_SEED and CORVANE_RANDOM_ACTIONS choose another or a longer run.

#include "core/plyangle.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/layupform.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/laminatecontext.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreeitem.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/plysketch.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"
#include "util/tolerance.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace FormDriver;

int EnvNumber(const char *name, int fallback)
{
    const char *text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// What a typed text stands for (a decimal comma read as a point), if it reads as a float.
std::optional<double> Intended(QString text)
{
    bool ok = false;
    const double value = text.replace(',', '.').trimmed().toDouble(&ok);
    return ok && std::fabs(value) <= 3.4e38 ? std::optional(value) : std::nullopt;
}
bool GoodThickness(const std::optional<double> &v) { return v && *v > 0; }
bool GoodAngle(const std::optional<double> &v) { return v && std::fabs(*v) <= 360; }

// The tree's text shows value (to its four or three digits).
bool Shows(const QString &text, float value)
{
    return std::fabs(text.trimmed().toDouble() - value) <= 0.005 * std::fabs(value) + 1e-6;
}

void Key(QWidget *widget, int key)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// A click (or a double click) at a point of widget, focus moved as the window system's would.
void Click(QWidget *widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool twice = false)
{
    for (QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
    std::vector<QEvent::Type> types{QEvent::MouseButtonPress, QEvent::MouseButtonRelease};
    if (twice)
        types.insert(types.end(), {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease});
    for (QEvent::Type type : types) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, modifiers);
        QApplication::sendEvent(widget, &event);
    }
}

class RandomSession
{
public:
    explicit RandomSession(unsigned seed) : random_(seed) { ResetPlyDataEntries(); }

    void Run(int actions)
    {
        // GuiTest's WhenModal and WarningCatcher look every 10 ms; a session meets
        // dialogs and boxes by the thousand, so these look at every pass of the
        // event loop (two timers: a timer's handler is not entered again).
        QObject::connect(&boxes_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && box->isVisible()) {
                ++warnings_;
                box->done(QMessageBox::Ok);
            }
        });
        QObject::connect(&dialogs_, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (pending_ && modal && modal != &form_ && !qobject_cast<QMessageBox *>(modal) && modal->isVisible())
                std::exchange(pending_, nullptr)(modal);
        });
        boxes_.start(0);
        dialogs_.start(0);
        form_.setUpdatesEnabled(false); // painting would take two thirds of the time
        bool again = false;
        while (done_ < actions && !::testing::Test::HasFailure()) // after OK, Apply or Cancel, once more
            RunModal(form_, [&](LayupForm *) {
                Check();
                while (done_ < actions && form_.isVisible() && !::testing::Test::HasFailure()) {
                    SCOPED_TRACE("action " + std::to_string(++done_));
                    Act();
                    EXPECT_FALSE(std::exchange(pending_, nullptr)) << "the dialog expected did not open";
                    QCoreApplication::processEvents();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                    if (form_.isVisible())
                        Check();
                }
                if (form_.isVisible())
                    form_.reject();
            }, &again);
        for (size_t i = history_.size() - std::min<size_t>(8, history_.size()); i < history_.size(); ++i)
            if (::testing::Test::HasFailure())
                std::fprintf(stderr, "  action %s\n", history_[i].c_str());
    }

private:
    int Rand(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Rand(100) < percent; }
    template <class T>
    T Pick(const std::vector<T> &from) { return from[Rand(static_cast<int>(from.size()))]; }
    QTreeWidget *List() { return form_.Tree()->List(); }
    const PlyGroup &Root() { return lam_.GetLaminate().RootGroup(); }
    bool Large() { return Root().CountPliesExpanded() > 60; }
    const PlySimple *Stored(int number) { return dynamic_cast<const PlySimple *>(Root().FindPly(number, 0).Get()); }
    std::vector<int> StoredOf(std::vector<int> plies)
    {
        std::erase_if(plies, [this](int number) { return !Stored(number); });
        return plies;
    }
    std::string MaterialName(int id)
    {
        MaterialInfo info;
        return lam_.context.GetMaterialList()->GetMaterial(id, info) == -1 ? std::string() : info.Name();
    }
    void Note(const std::string &what) { history_.push_back(std::to_string(done_) + ": " + what); }
    // A thickness or an angle, good or bad.
    QString Typed(bool thickness)
    {
        QStringList texts = thickness ? QStringList{"0.1", "0.125", "0.2", "0.25", ".3", "2e-1", "1.5", "0", "-0.5", "1e39"}
                                      : QStringList{"0", "15", "-30", "45", "-90", "22.5", "135", "-200", "360", "400", "-361", "1e39"};
        texts << (thickness ? "1,5" : "-22,5") << "-999999";
        return texts[Rand(int(texts.size()))];
    }
    template <class T>
    std::vector<T *> Rows()
    {
        std::vector<T *> rows;
        for (QTreeWidgetItemIterator it(List()); *it; ++it)
            if (auto *row = dynamic_cast<T *>(*it))
                rows.push_back(row);
        return rows;
    }

    void Act()
    {
        using A = RandomSession;
        static const std::vector<void (A::*)()> weighted{
            &A::PressButton,     &A::PressButton,     &A::PressButton,     &A::PressButton, &A::PressButton,
            &A::RightClickEntry, &A::RightClickEntry, &A::RightClickEntry, &A::SelectInTree, &A::SelectInTree,
            &A::ClickSketch,     &A::ClickSketch,     &A::EditCell,        &A::EditCell,     &A::EditCell,
            &A::EditCell,        &A::DoubleClickRow,  &A::ChangeOption,    &A::ChangeOption, &A::ChangeOption};
        (this->*Pick(weighted))();
    }

    // Up to three rows of any kind, as Ctrl-clicks would select them, or one group.
    void SelectInTree()
    {
        std::vector<LayupTreeItem *> rows = Rows<LayupTreeItem>();
        const bool oneGroup = Chance(30);
        if (oneGroup)
            std::erase_if(rows, [](const LayupTreeItem *row) { return !row->IsGroup(); });
        Note("select in tree");
        List()->clearSelection();
        for (int n = rows.empty() ? 0 : oneGroup ? 1 : Rand(4); n > 0; --n)
            Pick(rows)->setSelected(true);
    }

    QPoint SketchPoint(const PlySketch &row)
    {
        return form_.Sketch()->mapFromScene(row.Rectangle()->sceneBoundingRect().center());
    }

    void ClickSketch()
    {
        LayupSketcher *sketch = form_.Sketch();
        if (sketch->Rows().empty())
            return Note("no sketch rows");
        const PlySketch &row = *sketch->Rows()[Rand(int(sketch->Rows().size()))];
        const Qt::KeyboardModifiers with = std::vector{Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier}[Rand(3)];
        const bool twice = Chance(25), wasSelected = row.IsSelected();
        Note(std::string(twice ? "double " : "") + "click sketch row of ply " + std::to_string(row.Id()));
        Click(sketch->viewport(), SketchPoint(row), with, twice);
        if (with == Qt::ControlModifier && !row.IsChild() && sketch->ViewMode() != SketchScaleView) {
            EXPECT_EQ(row.IsSelected(), wasSelected == twice) << "a Ctrl-click toggles the ply";
        }
    }

    // A cell of a stored ply typed over with F2, the edit ended by Enter, Tab,
    // Shift+Tab, a click on another row or on the sketch, or Escape: a good
    // value reaches the ply, a bad one shows one warning and changes nothing.
    void EditCell()
    {
        std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>();
        std::erase_if(rows, [](const LayupTreeSimpleItem *row) { return row->IsChild(); });
        if (rows.empty())
            return Note("nothing to edit");
        LayupTreeSimpleItem *row = Pick(rows);
        const int column = 1 + Rand(2), number = row->Id();
        const PlySimple before = *Stored(number);
        const QString text = Chance(10) ? Pick(std::vector<QString>{"abc", "0.25x", "0.2.5"})
                                        : Typed(column == 1);
        const int end = Rand(6);
        const char *endNames[] = {"Enter", "Tab", "Shift+Tab", "a click on a row", "Escape", "a click on the sketch"};
        Note("type '" + text.toStdString() + "' into column " + std::to_string(column) + " of ply " +
             std::to_string(number) + ", then " + endNames[end]);
        for (int pass = 0; pass < 100 && !form_.isActiveWindow(); ++pass) {
            form_.activateWindow(); // offscreen, no window manager gives it back after a dialog
            QCoreApplication::processEvents(); // with a time limit it would spin on the timers
        }
        List()->scrollToItem(row);
        List()->setCurrentItem(row, column);
        Key(List(), Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_TRUE(editor) << "F2 opens an editor";
        editor->clear();
        GuiTest::TypeText(editor, text);
        const size_t warnings = warnings_;
        QTreeWidgetItem *other = List()->itemAbove(row) ? List()->itemAbove(row) : List()->itemBelow(row);
        if (end == 3 && other) {
            List()->scrollToItem(other);
            Click(List()->viewport(), List()->visualItemRect(other).center());
        } else if (end == 5) {
            Click(form_.Sketch()->viewport(), SketchPoint(*form_.Sketch()->Rows()[0]));
        } else { // a click with no other row to click on is an Enter
            Key(editor, end == 1 ? Qt::Key_Tab : end == 2 ? Qt::Key_Backtab : end == 4 ? Qt::Key_Escape : Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        if (auto *next = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            Key(next, Qt::Key_Escape); // Tab opened the next cell's editor
        QCoreApplication::processEvents();
        const std::optional<double> value = Intended(text);
        const bool taken = end != 4 && (column == 1 ? GoodThickness(value) : GoodAngle(value));
        EXPECT_EQ(warnings_ - warnings, end == 4 || taken ? 0u : 1u) << "one warning for a refused entry";
        const PlySimple &after = *Stored(number);
        EXPECT_FALSE(ValuesDiffer(after.Thickness(), column == 1 && taken ? float(*value) : before.Thickness(),
                                  kPlyTolerance)) << after.Thickness();
        EXPECT_FALSE(ValuesDiffer(after.Angle(), column == 2 && taken ? FoldAngle(float(*value)) : before.Angle(),
                                  kPlyTolerance)) << after.Angle();
    }

    void DoubleClickRow()
    {
        const std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>();
        if (rows.empty())
            return Note("no ply row");
        LayupTreeSimpleItem *row = Pick(rows);
        Note("double click ply row " + std::to_string(row->Id()));
        if (Stored(row->Id())) // else a warning: plies of a link are modified in their group
            ArmPlyData({row->Id()});
        emit List()->itemDoubleClicked(row, 0);
    }

    // The ply data dialog about to open for these stored plies (none: a new
    // ply): random entries, OK or Cancel. A typed value out of range is
    // refused, the plies modified take the typed values, Cancel changes nothing.
    void ArmPlyData(const std::vector<int> &plies)
    {
        pending_ = [this, plies, before = PlyGroup(Root())](QWidget *modal) {
            auto *dialog = qobject_cast<PlyDataForm *>(modal);
            ASSERT_TRUE(dialog) << modal->metaObject()->className();
            std::optional<double> thickness, angle;
            bool typedBad = false;
            for (int attempt = 0; attempt < 3 && dialog->isVisible(); ++attempt) {
                if (Chance(30)) {
                    lam_.store.QueuePick(std::vector{301, 302, 303, 999}[Rand(4)], Rand(5) == 0);
                    FormDriver::Click(dialog, "wMaterialButton");
                } else if (Chance(30)) {
                    Choose(dialog, "wMaterialMenu", Rand(Child<QComboBox>(dialog, "wMaterialMenu")->count()));
                }
                for (auto [edit, menu, value] : {std::tuple("wThicknessEdit", "wThicknessMenu", &thickness),
                                                 std::tuple("wAngleEdit", "wAngleMenu", &angle)}) {
                    if (Chance(50)) {
                        const QString text = Typed(value == &thickness);
                        SetText(dialog, edit, "");
                        GuiTest::TypeText(Child(dialog, edit), text);
                        *value = Intended(text);
                    } else if (Chance(40)) {
                        Choose(dialog, menu, Rand(Child<QComboBox>(dialog, menu)->count()));
                        value->reset();
                    }
                }
                if (Chance(30))
                    Choose(dialog, "wColorMenu", Rand(Child<QComboBox>(dialog, "wColorMenu")->count()));
                typedBad = (thickness && !GoodThickness(thickness)) || (angle && !GoodAngle(angle));
                FormDriver::Click(dialog, Chance(80) ? "wDoneButton" : "wCancelButton");
            }
            const bool accepted = Accepted(dialog);
            EXPECT_FALSE(accepted && typedBad) << "a typed value out of range was accepted";
            EXPECT_TRUE(accepted || Root().IsEqual(before)) << "a cancelled ply data dialog changes nothing";
            for (int number : accepted ? plies : std::vector<int>{}) {
                const PlySimple &ply = *Stored(number);
                EXPECT_TRUE(!thickness || !ValuesDiffer(ply.Thickness(), float(*thickness), kPlyTolerance));
                EXPECT_TRUE(!angle || !ValuesDiffer(ply.Angle(), FoldAngle(float(*angle)), kPlyTolerance));
            }
        };
    }

    // Whether OK closed the dialog; Cancel closes it when it is still open.
    static bool Accepted(QDialog *dialog)
    {
        if (!dialog->isVisible())
            return dialog->result() == QDialog::Accepted;
        FormDriver::Click(dialog, "wCancelButton");
        return false;
    }

    // The properties dialog about to open: random entries, OK or Cancel.
    void ArmProperties()
    {
        pending_ = [this](QWidget *modal) {
            auto *dialog = qobject_cast<ModelerForm *>(modal);
            ASSERT_TRUE(dialog) << modal->metaObject()->className();
            std::optional<double> damping;
            for (int attempt = 0; attempt < 2 && dialog->isVisible(); ++attempt) {
                if (Chance(50)) {
                    const QString text = Pick(std::vector<QString>{"0", "0.05", "0.25", "-1"});
                    SetText(dialog, "wDampingEdit", "");
                    GuiTest::TypeText(Child(dialog, "wDampingEdit"), text);
                    damping = Intended(text);
                }
                if (Chance(15)) // a moved reference plane redraws the sketch, which would hide a stale Undo
                    Choose(dialog, "wRefPlaneMenu", Rand(4));
                if (Chance(30))
                    Choose(dialog, "wFailureMenu", Rand(Child<QComboBox>(dialog, "wFailureMenu")->count()));
                FormDriver::Click(dialog, Chance(80) ? "wDoneButton" : "wCancelButton");
            }
            const bool accepted = Accepted(dialog);
            EXPECT_TRUE(!accepted || !damping || lam_.GetLaminate().Damping() == *damping) << "the damping typed";
        };
    }

    // Prepares for what the command (a button's name or a menu entry) opens.
    void Prepare(const QString &command)
    {
        const std::vector<int> stored = StoredOf(form_.Tree()->GetSelectedPlies());
        if (command == "wNewButton" || command == "New...")
            ArmPlyData({});
        else if ((command == "wModifyButton" || command == "Modify...") && !stored.empty())
            ArmPlyData(stored);
        else if (command == "wLamOptionButton")
            ArmProperties();
        else if (command == "wMatlButton" || command == "Select...")
            lam_.store.QueuePick(std::vector{301, 302, 303}[Rand(3)], Rand(4) == 0);
    }
    // New, Paste and Link are left alone in a large laminate, Ungroup of a linked group until its fix.
    bool Avoided(const QString &command)
    {
        return Large() && QStringList{"wNewButton", "wPasteButton", "wLinkToolButton", "New...", "Paste", "Link"}
                              .contains(command);
    }

    void PressButton()
    {
        std::vector<QPushButton *> enabled;
        for (const char *name : {"wNewButton", "wModifyButton", "wDeleteButton", "wCutButton", "wCopyButton",
                                 "wPasteButton", "wIndentToolButton", "wOutdentToolButton", "wLinkToolButton",
                                 "wUnlinkToolButton", "wUndoButton", "wAutoGroupsButton", "wLamOptionButton",
                                 "wMatlButton", "wApplyButton", "wOkButton", "wResetButton", "wCancelButton"})
            if (auto *button = Child<QPushButton>(&form_, name); button->isEnabled() && !Avoided(name))
                enabled.push_back(button);
        // Properties often: its stale Undo shows only when the reference plane stays where it was.
        QPushButton *button = Chance(20) ? Child<QPushButton>(&form_, "wLamOptionButton") : Pick(enabled);
        Note("press " + button->objectName().toStdString());
        Prepare(button->objectName());
        if (button->objectName() == "wAutoGroupsButton" && Chance(50))
            QTimer::singleShot(0, &form_, [this] {
                if (auto *progress = form_.findChild<QProgressDialog *>("progress"))
                    progress->cancel();
            });
        button->click();
    }

    void RightClickEntry()
    {
        std::vector<QAction *> entries;
        for (QAction *action : form_.RightClickMenu()->actions())
            if (!action->isSeparator() && !Avoided(action->text()) && !(action->menu() && action->menu()->isEmpty()))
                entries.push_back(action);
        if (entries.empty())
            return Note("empty right-click menu");
        QAction *entry = Pick(entries);
        if (entry->menu())
            entry = entry->menu()->actions()[Rand(int(entry->menu()->actions().size()))];
        Note("right-click entry " + entry->text().toStdString());
        Prepare(entry->text());
        entry->trigger();
    }

    void ChangeOption()
    {
        if (Chance(15)) {
            auto *count = Child<QSpinBox>(&form_, "wPasteSpinBox");
            count->setValue(1 + Rand(Large() ? 1 : 3));
            return Note("paste count " + std::to_string(count->value()));
        }
        const char *menu = std::vector{"wStackingSeqMenu", "wStackingSeqMenu", "wPartialMenu", "wViewMenu",
                                       "wPasteMenu", "wPastePositionMenu"}[Rand(6)];
        const int index = Rand(Child<QComboBox>(&form_, menu)->count());
        Note(std::string("choose ") + menu + " " + std::to_string(index));
        if (Child<QComboBox>(&form_, menu)->isEnabled())
            Choose(&form_, menu, index);
    }

    // The tree's ply rows and the sketch's rows (the top first), the stacking
    // selector and Undo against the laminate; both views select the same plies.
    void Check()
    {
        std::vector<PlySimple> plies, stack;
        Root().CollectPlies(plies);
        const std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>();
        ASSERT_EQ(rows.size(), plies.size()) << "tree rows";
        for (size_t i = 0; i < rows.size(); ++i) {
            const PlySimple &ply = plies[plies.size() - 1 - i];
            const QTreeWidgetItem &row = *rows[i];
            ASSERT_TRUE(row.text(0).trimmed().toInt() == int(plies.size() - i) && Shows(row.text(1), ply.Thickness()) &&
                        Shows(row.text(2), ply.Angle()) && row.text(3).toStdString() == MaterialName(ply.Material()))
                << "tree row " << i << ": " << (row.text(1) + "|" + row.text(2)).toStdString() << " for a ply of "
                << ply.Thickness() << ", " << ply.Angle();
        }
        LayupSketcher *sketch = form_.Sketch();
        sketch->IsHalfView() ? Root().CollectPlies(stack) : Root().CollectPliesExpanded(stack);
        ASSERT_EQ(sketch->Rows().size(), stack.size()) << "sketch rows, half view " << sketch->IsHalfView();
        for (size_t i = 0; i < stack.size(); ++i) {
            const PlySimple &ply = stack[stack.size() - 1 - i];
            const PlySketch &row = *sketch->Rows()[i];
            ASSERT_TRUE(row.Thickness() == ply.Thickness() && row.Angle() == ply.Angle() &&
                        row.MaterialName() == MaterialName(ply.Material()))
                << "sketch row " << i << ": " << row.Thickness() << ", " << row.Angle() << ", " << row.MaterialName();
        }
        const int rule = Root().GetLayup().Stacking();
        EXPECT_EQ(Child<QComboBox>(&form_, "wStackingSeqMenu")->currentIndex(), rule);
        EXPECT_EQ(sketch->IsHalfView(), rule != 0 && Child<QComboBox>(&form_, "wPartialMenu")->currentIndex() == 1);
        std::string last;
        const bool canUndo = lam_.context.GetLaminateManager()->LastCommandName(last);
        auto *undo = Child<QPushButton>(&form_, "wUndoButton");
        EXPECT_EQ(undo->isEnabled(), canUndo);
        EXPECT_EQ(undo->toolTip().toStdString(), canUndo ? "Undo " + last : "Undo");
        std::vector<int> inTree = form_.Tree()->GetSelectedPlies(), inSketch = sketch->GetSelectedPlies();
        std::sort(inTree.begin(), inTree.end());
        std::sort(inSketch.begin(), inSketch.end());
        EXPECT_TRUE(sketch->ViewMode() == SketchScaleView || inTree == inSketch) << "the same plies selected";
    }

    std::mt19937 random_;
    LaminateContext lam_;
    LayupForm form_{nullptr, &lam_.context, false};
    QTimer boxes_, dialogs_;
    size_t warnings_ = 0;
    std::function<void(QWidget *)> pending_;
    int done_ = 0;
    std::vector<std::string> history_;
};

TEST(LayupRandomTest, ViewsShowTheLaminateAndUndoNamesTheNewestCommand)
{
    const unsigned seed = unsigned(EnvNumber("CORVANE_RANDOM_SEED", 2));
    const int actions = EnvNumber("CORVANE_RANDOM_ACTIONS", 2000);
    SCOPED_TRACE("CORVANE_RANDOM_SEED=" + std::to_string(seed) + " CORVANE_RANDOM_ACTIONS=" + std::to_string(actions));
    RandomSession(seed).Run(actions);
}

} // namespace
