// A seeded random user in the layup dialog, offscreen, with the real form and
// engine on the host stand-in. After every action the dialog must show what a
// description of the laminate, made here from the root group, its links, the
// stacking rule, the units, colours and materials, says it must: every tree
// and sketch row, the reference plane, the information box, the stacking
// rule, every button and right-click entry, and in both views the selection
// the commands act on. A box or dialog the session did not expect fails it.
// CORVANE_RANDOM_SEED and CORVANE_RANDOM_ACTIONS choose another or a longer run.

#include "core/layupactionstate.h"
#include "core/layupmanager.h"
#include "core/plyangle.h"
#include "core/plygrouplink.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/layupform.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/laminatecontext.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layupsketchertesting.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreeitem.h"
#include "gui/views/plyrectangle.h"
#include "gui/views/plysketch.h"
#include "host/helpsystem.h"
#include "host/laminatemanager.h"
#include "host/laminatemanagertesting.h"
#include "host/materiallist.h"
#include "host/testenv.h"
#include "util/tolerance.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace FormDriver;
using LamHost::HostColor;
using LamHost::HostMaterial;

int EnvNumber(const char *name, int fallback)
{
    const char *text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// ---------------------------------------------------------------------------
// What the dialog must show, from the laminate alone.

const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kSelected(128, 0, 0), kCopySelected(200, 128, 128),
    kCopyLabel(192, 192, 192);

QString ParentText(int links)
{
    return links < 1 ? QString() : links == 1 ? QStringLiteral("Parent") : QString("Parent (%1)").arg(links);
}

struct TreeRow
{
    int depth = 0;
    int id = 0;
    bool group = false;
    bool child = false; // in a link's expansion: red, not editable
    bool hasRows = false;
    std::array<QString, 4> text;
};

// Numbers are written with the printf formats the dialog states, in the C
// locale, as Qt writes them (a zero angle "+0", a tie rounded away from 0).
//
// The tree, depth first with the top of each level first; the plies it
// numbers (bottom first, links expanded); the rows the sketch draws (top
// first, with the copies of the stacking rule unless half view is on).
class Description
{
public:
    Description(const PlyGroup &root, bool half, const std::function<QString(int)> &material)
        : whole_(root), material_(material)
    {
        CountLinks(whole_);
        tree = Rows(whole_.GetLayup(), 0, false);
        const int n = int(plies.size()), rule = whole_.GetLayup().Stacking();
        // Top first, as plies indices: rule 1 mirrors all, 2 all but the core,
        // 3 repeats all, 4 all but the top ply.
        std::vector<int> copies;
        if (rule == StackingFullSymmetric || rule == StackingSymmetricWithCore)
            for (int i = 0; i < (rule == StackingFullSymmetric ? n : n - 1); ++i)
                copies.push_back(i);
        if (rule == StackingFullRepeat || rule == StackingRepeatWithCore)
            for (int i = (rule == StackingFullRepeat ? n : n - 1) - 1; i >= 0; --i)
                copies.push_back(i);
        fullCount = n + int(copies.size());
        for (int i : copies)
            fullThickness += plies[i].Thickness();
        for (const PlySimple &ply : plies)
            fullThickness += ply.Thickness();
        if (!half)
            for (int i : copies)
                stack.push_back({plies[i], true});
        for (int i = n; i-- > 0;)
            stack.push_back({plies[i], false});
    }

    std::vector<TreeRow> tree;
    std::vector<PlySimple> plies;
    std::vector<std::pair<PlySimple, bool>> stack; // true: a copy the rule adds
    int fullCount = 0;
    double fullThickness = 0;

private:
    // Links by target, as many as the expanded tree holds.
    void CountLinks(const PlyBase &item)
    {
        if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            ++links_[link->TargetGroupId()];
            if (const PlyGroupBase *target = link->Target())
                CountLinks(*target);
        } else if (const auto *group = dynamic_cast<const PlyGroup *>(&item)) {
            for (auto it = group->GetLayup().ConstBegin(); it != group->GetLayup().ConstEnd(); ++it)
                CountLinks(*it->Get());
        }
    }

    std::vector<TreeRow> Rows(const Layup &layup, int depth, bool child)
    {
        std::vector<std::vector<TreeRow>> items; // in layup order, each with its rows
        for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
            TreeRow row;
            row.depth = depth;
            row.child = child;
            std::vector<TreeRow> below;
            if (const auto *ply = dynamic_cast<const PlySimple *>(it->Get())) {
                plies.push_back(*ply);
                plies.back().SetId(row.id = int(plies.size()));
                row.text = {QString::number(row.id) + " ", QString::asprintf("%.4g ", double(ply->Thickness())),
                            QString::asprintf("%+.3g ", double(ply->Angle())), material_(ply->Material())};
            } else if (const auto *group = dynamic_cast<const PlyGroup *>(it->Get())) {
                row.id = group->Id();
                row.group = true;
                row.text = {"group_" + QString::number(row.id), ParentText(links_[row.id]), child ? "*" : "", ""};
                below = Rows(group->GetLayup(), depth + 1, child);
            } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(it->Get())) {
                static const char *const words[] = {"Repeat", "Symmetry", "Antisym"};
                const int type = link->LinkType(), target = link->TargetGroupId();
                row.id = link->Id();
                row.group = true;
                row.text = {"group_" + QString::number(row.id), ParentText(links_[row.id]),
                            QString(child ? "*" : "") + words[type == 1 || type == 2 ? type : 0],
                            target ? " of group_" + QString::number(target) : QString()};
                PlyGroup expanded = link->ExpandedCopy();
                expanded.SetRoot(&whole_);
                below = Rows(expanded.GetLayup(), depth + 1, true);
            } else {
                continue;
            }
            row.hasRows = !below.empty();
            below.insert(below.begin(), row);
            items.push_back(std::move(below));
        }
        std::vector<TreeRow> rows;
        for (auto item = items.rbegin(); item != items.rend(); ++item)
            rows.insert(rows.end(), item->begin(), item->end());
        return rows;
    }

    PlyGroup whole_;
    std::function<QString(int)> material_;
    std::map<int, int> links_;
};

// One line per tree row: nesting, the four texts, open or closed, red,
// editable, selected.
QString TreeLine(int depth, const std::array<QString, 4> &text, int open, bool red, bool editable, bool selected)
{
    return QString(2 * depth, ' ') + text[0] + "|" + text[1] + "|" + text[2] + "|" + text[3] +
           (open < 0 ? "" : open ? " open" : " closed") + (red ? " red" : "") + (editable ? " editable" : "") +
           (selected ? " selected" : "");
}

// One line per sketch row: the data label's fields, the material label, the
// fill, whether the labels show, the selection mark, the colours, the height
// and the top.
QString SketchLine(const QString &data, const QString &material, const QString &fill, bool labels,
                   const QString &selected, const QString &label, const QColor &frame, int height, int y)
{
    return data + " | " + material + " | fill " + fill + (labels ? " labels" : " no labels") + selected +
           " | label " + label + " frame " + frame.name() + QString(" | h%1 y%2").arg(height).arg(y);
}

QString Fields(const QString &label) { return label.split(' ', Qt::SkipEmptyParts).join(' '); }

// The first line where two renderings differ, with both, or nothing.
std::string FirstDifference(const QStringList &want, const QStringList &have)
{
    for (qsizetype i = 0; i < std::max(want.size(), have.size()); ++i) {
        const QString w = i < want.size() ? want[i] : "(none)", h = i < have.size() ? have[i] : "(none)";
        if (w != h)
            return QString("row %1 of %2 (%3 shown)\n  want: %4\n  have: %5")
                .arg(i)
                .arg(want.size())
                .arg(have.size())
                .arg(w, h)
                .toStdString();
    }
    return {};
}

// ---------------------------------------------------------------------------
// The user.

// What a typed text stands for (a decimal comma read as a point), if it reads as a float.
std::optional<double> Intended(QString text)
{
    bool ok = false;
    const double value = text.replace(',', '.').trimmed().toDouble(&ok);
    return ok && std::fabs(value) <= 3.4e38 ? std::optional(value) : std::nullopt;
}
bool GoodThickness(const std::optional<double> &v) { return v && *v > 0; }
bool GoodAngle(const std::optional<double> &v) { return v && std::fabs(*v) <= 360; }

void Key(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers);
        QApplication::sendEvent(widget, &event);
    }
}

// A click (or a double click) at a point of widget, focus moved as the window system's would.
void Click(QWidget *widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool twice = false,
           Qt::MouseButton button = Qt::LeftButton)
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
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(widget, &event);
    }
}

const char *const kButtons[] = {"wNewButton",         "wModifyButton",     "wDeleteButton",     "wCutButton",
                                "wCopyButton",        "wPasteButton",      "wIndentToolButton", "wOutdentToolButton",
                                "wLinkToolButton",    "wUnlinkToolButton", "wUndoButton",       "wAutoGroupsButton",
                                "wLamOptionButton",   "wMatlButton",       "wApplyButton",      "wOkButton",
                                "wResetButton",       "wCancelButton",     "wHelpButton",       "wPrintButton"};

// The boxes each command may show (the layup manager can refuse what its
// button offers); any other box fails the session.
const std::map<QString, QStringList> kBoxes{
    {"New", {"Validation Warning", "Ply Creation Error", "Material Selection Warning"}},
    {"Modify", {"Validation Warning", "Ply Modification Error", "Material Selection Warning",
                "Ply Modification Warning"}},
    {"Delete", {"Delete Error"}}, {"Cut", {"Cut Error"}}, {"Copy", {"Copy Error"}}, {"Paste", {"Paste Error"}},
    {"Group", {"Group Creation Error"}}, {"Ungroup", {"Ungrouping Error"}}, {"Link", {"Group Linking Error"}},
    {"Unlink", {"Unlinking Error"}}, {"Undo", {"Command playback error"}},
    {"Properties", {"Validation Warning"}},
    {"Materials", {"Material Reference Error", "Material Selection Warning", "Ply Modification Error"}},
    {"Color", {"Ply Modification Error"}}, {"OK", {"Validation Warning", "Material Reference Error"}},
    {"Apply", {"Validation Warning", "Material Reference Error"}},
    {"Cancel", {"Material Reference Error"}}, {"Edit", {"Validation Warning"}},
};

QString CommandOf(const QString &control)
{
    static const std::map<QString, QString> names{
        {"wNewButton", "New"},           {"New...", "New"},         {"wModifyButton", "Modify"},
        {"Modify...", "Modify"},         {"wDeleteButton", "Delete"}, {"wCutButton", "Cut"},
        {"wCopyButton", "Copy"},         {"wPasteButton", "Paste"},   {"wIndentToolButton", "Group"},
        {"wOutdentToolButton", "Ungroup"}, {"wLinkToolButton", "Link"}, {"wUnlinkToolButton", "Unlink"},
        {"wUndoButton", "Undo"},         {"wAutoGroupsButton", "AutoGroup"}, {"wLamOptionButton", "Properties"},
        {"wMatlButton", "Materials"},    {"Select...", "Materials"}, {"wApplyButton", "Apply"},
        {"wOkButton", "OK"},             {"wResetButton", "Reset"},   {"wCancelButton", "Cancel"},
        {"wHelpButton", "Help"},         {"wPrintButton", "Print"}};
    const auto found = names.find(control);
    if (found != names.end())
        return found->second;
    for (const char *prefix : {"Undo ", "Paste"})
        if (control.startsWith(prefix))
            return QString(prefix).trimmed();
    return control; // Cut, Copy, Group, Ungroup, Link, Unlink as their entries read
}

class RandomSession
{
public:
    explicit RandomSession(unsigned seed) : random_(seed)
    {
        ResetPlyDataEntries();
        env_.Set("TUVO_LAMINATE_HELP", HELP_DIR);
        HelpSystem::Instance()->Init("English");
        HelpSystem::Instance()->SetOpener([this](const std::string &path) {
            helpOpened_.push_back(path);
            return helpFails_ ? 2 : 42;
        });
        SetPrintSetupDialog([this](QPrinter &printer, QWidget *) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printTo_);
            return !printTo_.isEmpty();
        });
        NewForm();
    }
    ~RandomSession()
    {
        HelpSystem::Instance()->SetOpener({});
        SetPrintSetupDialog({});
        SetStackedPlyLimit(0);
    }

    void Run(int actions)
    {
        // GuiTest's WhenModal looks every 10 ms; a session meets dialogs and
        // boxes by the thousand, so these look at every pass of the event loop
        // (two timers: a timer's handler is not entered again while it drives
        // a dialog, and a box may come up over that dialog).
        QObject::connect(&boxes_, &QTimer::timeout, [this] { Guard(); });
        QObject::connect(&dialogs_, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (pending_ && modal && modal->isVisible() && modal->inherits(pendingClass_) && modal != form_.get()) {
                driving_ = modal;
                std::exchange(pending_, nullptr)(modal);
                driving_ = nullptr;
            }
        });
        boxes_.start(0);
        dialogs_.start(0);
        while (done_ < actions && !::testing::Test::HasFailure()) {
            bool again = false;
            RunModal(*form_, [&](LayupForm *) { Session(actions); }, &again);
            if (!::testing::Test::HasFailure() && !again && done_ < actions && Chance(50))
                NewForm(); // as the next request would: the user's view choices start over
        }
        for (size_t i = history_.size() - std::min<size_t>(12, history_.size()); i < history_.size(); ++i) {
            if (::testing::Test::HasFailure())
                std::fprintf(stderr, "  action %s\n", history_[i].c_str());
        }
        QString reached;
        for (const auto &[name, count] : reached_)
            reached += QString(" %1 %2,").arg(QString::fromStdString(name)).arg(count);
        std::fprintf(stderr, "reached:%s\n", reached.toStdString().c_str());
        if (actions >= 2000 && !::testing::Test::HasFailure()) {
            for (const char *name : {"New", "Modify", "Delete", "Cut", "Copy", "Paste", "Paste entry", "Group",
                                     "Ungroup", "Ungroup linked", "Link", "Unlink", "Undo", "AutoGroup",
                                     "Properties", "Materials", "Material entry", "Color", "OK", "Apply",
                                     "Cancel", "Escape", "Reset", "Help", "Print", "Stacking", "Stacking refused",
                                     "Half", "View", "Slider", "Open or close", "Tree mouse", "Tree keys",
                                     "Sketch click", "Right click", "Edit", "Tab run", "Double click"})
                EXPECT_GT(reached_[name], 0) << name << " was never done";
        }
    }

private:
    // ---- The session's frame -----------------------------------------------

    void Session(int actions)
    {
        Check();
        while (done_ < actions && form_->isVisible() && !::testing::Test::HasFailure()) {
            SCOPED_TRACE("action " + std::to_string(++done_) + " (the trail below)");
            boxesBefore_ = boxesSeen_.size();
            Act();
            EXPECT_FALSE(std::exchange(pending_, nullptr)) << "the dialog expected did not open";
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            allowed_.clear();
            if (form_->isVisible() && !::testing::Test::HasFailure())
                Check();
        }
        if (form_->isVisible())
            form_->reject();
    }

    void NewForm()
    {
        form_.reset();
        form_ = std::make_unique<LayupForm>(nullptr, &lam_.context, false);
        form_->setUpdatesEnabled(false); // painting would take two thirds of the time
        viewMode_ = SketchFeatureView;
        half_ = false;
        slider_ = 25;
        open_.clear();
    }

    // Answers every box (failing on one the action did not allow) and fails
    // on any other dialog that nobody drives, closing it: never a hang.
    void Guard()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == form_.get() || modal == driving_)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxesSeen_.push_back({box->windowTitle(), box->text()});
            EXPECT_TRUE(allowed_.contains(box->windowTitle()))
                << "a box the session did not expect: " << box->windowTitle().toStdString() << ": "
                << box->text().toStdString();
            box->done(QMessageBox::Ok);
            return;
        }
        if ((pending_ && modal->inherits(pendingClass_)) ||
            (autoGrouping_ && modal->objectName() == "progress"))
            return;
        ADD_FAILURE() << "a dialog the session did not expect: " << modal->metaObject()->className() << " '"
                      << modal->windowTitle().toStdString() << "'";
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    int Rand(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Rand(100) < percent; }
    template <class T>
    T Pick(const std::vector<T> &from) { return from[Rand(static_cast<int>(from.size()))]; }
    QTreeWidget *List() { return form_->Tree()->List(); }
    LayupSketcher *Sketch() { return form_->Sketch(); }
    const PlyGroup &Root() { return lam_.GetLaminate().RootGroup(); }
    LayupManager &Layups() { return *lam_.context.GetLayupManager(); }
    bool Large() { return Root().CountPliesExpanded() > 60; }
    const PlySimple *Stored(int number) { return dynamic_cast<const PlySimple *>(Root().FindPly(number, 0).Get()); }
    void Note(const std::string &what) { history_.push_back(std::to_string(done_) + ": " + what); }
    void Reached(const char *what) { ++reached_[what]; }
    // The boxes the coming command may show.
    void Allow(const QString &command)
    {
        const auto found = kBoxes.find(command);
        if (found != kBoxes.end())
            allowed_ << found->second;
    }

    const std::vector<HostMaterial> &Materials() { return lam_.store.Data().materials; }
    // The name and type texts of a material the request has met (the tree's
    // and sketch's texts), else empty.
    std::pair<QString, QString> MaterialTexts(int id)
    {
        if (!lam_.context.GetMaterialList()->Contains(id))
            return {};
        for (const HostMaterial &m : Materials())
            if (m.id == id)
                return {QString::fromStdString(m.name), QString::fromStdString(m.type)};
        return {};
    }
    QColor Fill(int colorId, bool copy)
    {
        QColor fill(255, 255, 255); // a colour the host does not know
        for (const HostColor &c : lam_.store.Data().colors)
            if (c.id == colorId) {
                fill = QColor(c.red, c.green, c.blue);
                break;
            }
        return copy ? fill.lighter(160) : fill;
    }

    // ---- Checks: the dialog against the description --------------------------

    // The stacking rule: 1 to 4 are theirs, any other code is simple.
    int Rule()
    {
        const int code = Root().GetLayup().Stacking();
        return code >= StackingFullSymmetric && code <= StackingRepeatWithCore ? code : StackingSimple;
    }
    bool HalfShown() { return half_ && Rule() != StackingSimple; }

    void Check()
    {
        if (Rule() == StackingSimple)
            half_ = false;
        const Description want(Root(), HalfShown(), [this](int id) { return MaterialTexts(id).first; });
        const Selection &acting = form_->EngineSelection();
        const std::set<int> plies(acting.plies.begin(), acting.plies.end());
        const std::set<int> groups(acting.Groups().begin(), acting.Groups().end());
        CheckTree(want, plies, groups);
        CheckSketch(want, plies);
        CheckInfo(want, acting);
        CheckControls(acting);
    }

    void CheckTree(const Description &want, const std::set<int> &plies, const std::set<int> &groups)
    {
        QStringList wanted, shown;
        for (const TreeRow &row : want.tree) {
            const auto open = open_.find(row.id);
            wanted << TreeLine(row.depth, row.text, row.hasRows ? open == open_.end() || open->second : -1,
                               row.child, !row.group && !row.child,
                               (row.group ? groups : plies).count(row.id) != 0);
        }
        for (QTreeWidgetItemIterator it(List()); *it; ++it) {
            const QTreeWidgetItem &row = **it;
            int depth = 0;
            for (const QTreeWidgetItem *up = row.parent(); up; up = up->parent())
                ++depth;
            const bool group = static_cast<const LayupTreeItem &>(row).IsGroup();
            shown << TreeLine(depth, {row.text(0), row.text(1), row.text(2), row.text(3)},
                              row.childCount() ? int(row.isExpanded()) : -1, row.foreground(0).color() == kRed,
                              !group && (row.flags() & Qt::ItemIsEditable), row.isSelected());
        }
        KeepOpenStates();
        const std::string difference = FirstDifference(wanted, shown);
        EXPECT_TRUE(difference.empty()) << "tree " << difference;
    }

    // What the next rebuild keeps: which group rows are open now.
    void KeepOpenStates()
    {
        open_.clear();
        for (const LayupTreeItem *row : Rows<LayupTreeItem>())
            if (row->IsGroup())
                open_[row->Id()] = row->isExpanded();
    }

    void CheckSketch(const Description &want, const std::set<int> &selected)
    {
        LayupSketcher *sketch = Sketch();
        const bool labels = viewMode_ != SketchScaleView, fixed = viewMode_ == SketchFeatureView;
        const int rowGap = viewMode_ == SketchScaleExplodeView ? 10 : 0, labelGap = labels ? 10 : 0;
        const Laminate &laminate = lam_.GetLaminate();
        const float thickness = Root().TotalThickness();
        EXPECT_NEAR(thickness, want.fullThickness, 1e-4 * want.fullThickness) << "the stack's thickness";
        const int method = laminate.ReferencePlaneMethod();
        const float plane = method == Laminate::Top      ? -thickness
                            : method == Laminate::Middle ? thickness * -0.5f
                            : method == Laminate::Bottom ? 0.0f
                                                         : laminate.UserReferencePlaneLocation();
        const double plySize = double(want.fullCount) * slider_;
        QStringList wanted, shown;
        std::vector<std::pair<int, int>> rows; // top and height of each row, top first
        int y = plane < 0 && -plane > thickness ? 80 : 20;
        int separator = -1;
        const auto &items = sketch->Rows();
        for (size_t i = 0; i < want.stack.size(); ++i) {
            const auto &[ply, copy] = want.stack[i];
            if (!copy && i > 0 && want.stack[i - 1].second) {
                separator = y + labelGap;
                y += 2 * labelGap + rowGap;
            }
            // Truncated pixels: a height that the thickness puts on a whole
            // number may come out one less from the float sums.
            const double exact = (plySize + 2) * ply.Thickness() / thickness;
            int height = fixed ? 20 : std::max(2, int(exact * (1 - 1e-6)));
            if (!fixed && i < items.size() && items[i]->Height() == std::max(2, int(exact * (1 + 1e-6))))
                height = items[i]->Height();
            const bool mark = labels && selected.count(ply.Id());
            wanted << SketchLine(QString::asprintf("%.5g %+.3g", double(ply.Thickness()), double(ply.Angle())) +
                                     QString(" %1").arg(int(want.stack.size() - i)),
                                 MaterialTexts(ply.Material()).first, Fill(ply.Color(), copy).name(), labels,
                                 mark ? " selected" : "",
                                 (copy ? (mark ? kCopySelected : kCopyLabel) : (mark ? kSelected : kBlack)).name(),
                                 copy ? kCopySelected : kSelected, height, y);
            rows.push_back({y, height});
            y += height + rowGap;
        }
        for (const auto &item : items) {
            const int marks = item->Frame()->isVisible() + item->Highlight()->isVisible();
            const QColor data = item->DataLabel()->brush().color(), material = item->MaterialLabel()->brush().color();
            shown << SketchLine(Fields(item->DataLabel()->text()), item->MaterialLabel()->text(),
                                item->Rectangle()->isVisible() ? item->Rectangle()->brush().color().name() : "hidden",
                                item->DataLabel()->isVisible() && item->MaterialLabel()->isVisible(),
                                marks == 2 ? " selected" : marks ? " frame or highlight" : "",
                                data == material ? data.name() : data.name() + "/" + material.name(),
                                item->Frame()->pen().color(), item->Height(), item->Y());
        }
        std::string difference = FirstDifference(wanted, shown);
        EXPECT_TRUE(difference.empty()) << "sketch " << difference;
        if (!difference.empty())
            return;
        EXPECT_EQ(sketch->IsHalfView(), HalfShown());
        EXPECT_EQ(sketch->ViewMode(), viewMode_);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(sketch->Heading(i)->isVisible(), labels && !rows.empty()) << "heading " << i;
        EXPECT_EQ(sketch->Separator()->isVisible() ? int(sketch->Separator()->line().y1()) : -1, separator)
            << "the separator between the rule's copies and the plies";
        CheckColumns();
        if (!rows.empty())
            CheckPlane(want, plane, thickness, rows, labelGap + rowGap);
    }

    // The data labels' three fields end where every other row's end.
    void CheckColumns()
    {
        const auto &items = Sketch()->Rows();
        if (items.empty() || viewMode_ == SketchScaleView)
            return;
        const QFontMetrics metrics(items[0]->DataLabel()->font());
        const int blank = metrics.horizontalAdvance(' ');
        const auto ends = [&metrics](const QString &label) {
            std::array<int, 3> end{};
            for (int field = 0, i = 0; field < 3; ++field) {
                while (i < label.size() && label[i] == ' ')
                    ++i;
                while (i < label.size() && label[i] != ' ')
                    ++i;
                end[field] = metrics.horizontalAdvance(label.left(i));
            }
            return end;
        };
        const std::array<int, 3> first = ends(items[0]->DataLabel()->text());
        for (size_t row = 1; row < items.size(); ++row) {
            const std::array<int, 3> end = ends(items[row]->DataLabel()->text());
            for (int field = 0; field < 3; ++field)
                ASSERT_LT(std::abs(end[field] - first[field]), blank)
                    << "field " << field << " of sketch row " << row << ": '"
                    << items[row]->DataLabel()->text().toStdString() << "' against '"
                    << items[0]->DataLabel()->text().toStdString() << "'";
        }
    }

    // The reference plane: outside the laminate a line with its text above
    // the top (y 30) or below the bottom (40 under it); inside, a line
    // without text in the row the plane's depth falls in, or in the gap before
    // the mirror when it lies on the mid-plane of a drawn symmetric stack;
    // nothing in half view when it lies in the upper half.
    void CheckPlane(const Description &want, float plane, float thickness,
                    const std::vector<std::pair<int, int>> &rows, int gap)
    {
        const double tolerance = thickness > 1e-7 ? thickness * 1e-5 : 1e-7;
        QString wanted;
        const int bottom = rows.back().first + rows.back().second;
        if (HalfShown() && plane < -tolerance - thickness / 2) {
            wanted = "hidden";
        } else if (!(plane < tolerance) || !(plane > -tolerance - thickness)) {
            wanted = QString("line at y %1, text '%2'")
                         .arg(plane < tolerance ? 30 : bottom + 40)
                         .arg("Reference plane\noutside laminate\nbottom fiber dist = " +
                              QString("%1").arg(double(plane)));
        } else {
            double depth = -plane;
            size_t row = want.stack.size();
            while (row-- > 1 && want.stack[row].first.Thickness() < depth)
                depth -= want.stack[row].first.Thickness();
            const bool midPlane = plane > -tolerance - thickness / 2 && plane < tolerance - thickness / 2 &&
                                  !HalfShown() && want.stack.front().second && want.stack.size() % 2 == 0;
            // A plane on a ply's edge may fall to either side of a row gap.
            const int shift = midPlane ? gap : viewMode_ == SketchScaleExplodeView ? 10 : 0;
            wanted = QString("line in %1..%2").arg(rows[row].first - shift).arg(rows[row].first + rows[row].second + shift);
        }
        const QGraphicsLineItem *line = Sketch()->PlaneLine();
        const int y = int(line->line().y1());
        QString shown = "hidden";
        if (line->isVisible() && Sketch()->PlaneText()->isVisible())
            shown = QString("line at y %1, text '%2'").arg(y).arg(Sketch()->PlaneText()->text());
        else if (line->isVisible() && wanted.startsWith("line in ")) {
            const QStringList range = wanted.mid(8).split("..");
            shown = y >= range[0].toInt() && y <= range[1].toInt() ? wanted : QString("line at y %1").arg(y);
        } else if (line->isVisible())
            shown = QString("line at y %1").arg(y);
        EXPECT_EQ(shown.toStdString(), wanted.toStdString()) << "the reference plane at " << plane;
        if (line->isVisible()) {
            EXPECT_EQ(line->line().x1(), Sketch()->Rows()[0]->Rectangle()->pos().x())
                << "the plane's line starts at the plies";
        }
    }

    // Totals of the full stack with nothing selected, the ply's material
    // description with one ply selected (not in Scale View), else nothing.
    void CheckInfo(const Description &want, const Selection &acting)
    {
        QString wanted = "hidden";
        if (acting.plies.empty() && want.fullCount != 0) {
            wanted = QString("Number of plies: %1\nTotal thickness: %2 %3")
                         .arg(want.fullCount)
                         .arg(QString::number(double(Root().TotalThickness()), 'g', 6))
                         .arg(QString::fromStdString(lam_.context.GetUnits().LengthName(false)));
        } else if (acting.plies.size() == 1 && viewMode_ != SketchScaleView) {
            const auto ply = std::find_if(want.plies.begin(), want.plies.end(),
                                          [&](const PlySimple &p) { return p.Id() == acting.plies[0]; });
            wanted = QString("Ply %1\nMaterial Description:\n%2")
                         .arg(acting.plies[0])
                         .arg(ply == want.plies.end() ? QString() : MaterialTexts(ply->Material()).second);
        }
        const bool visible = Sketch()->InfoBox()->isVisible() && Sketch()->InfoText()->isVisible();
        EXPECT_EQ((visible ? Sketch()->InfoText()->text() : "hidden").toStdString(), wanted.toStdString())
            << "the information box";
    }

    static QString MenuText(const QMenu *menu)
    {
        QStringList entries;
        for (const QAction *action : menu->actions())
            entries << (action->isSeparator() ? "-" : action->menu() ? action->text() + "[" + MenuText(action->menu()) + "]"
                                                                     : action->text());
        return entries.join(", ");
    }

    // Buttons, right-click menu, Undo, paste locations and the view controls
    // for what the selection allows.
    void CheckControls(const Selection &acting)
    {
        LayupActionState can;
        Layups().GetActionState(acting, can);
        std::string last;
        const bool undo = lam_.context.GetLaminateManager()->LastCommandName(last);
        const bool ends = acting.IsEmpty();
        const std::map<QString, bool> enabled{
            {"wNewButton", can.canAdd},         {"wModifyButton", can.canModify},   {"wDeleteButton", can.canDelete},
            {"wCutButton", can.canCut},         {"wCopyButton", can.canCopy},       {"wPasteButton", can.canPaste},
            {"wIndentToolButton", can.canGroup}, {"wOutdentToolButton", can.canUngroup},
            {"wLinkToolButton", can.canLink},   {"wUnlinkToolButton", can.canUnlink}, {"wUndoButton", undo}};
        QString wanted, shown;
        for (const char *name : kButtons) {
            const auto on = enabled.find(name);
            wanted += QString(name) + ((on == enabled.end() || on->second) ? " on, " : " off, ");
            shown += QString(name) + (Child<QPushButton>(form_.get(), name)->isEnabled() ? " on, " : " off, ");
        }
        const QString undoText = undo ? "Undo " + QString::fromStdString(last) : "Undo";
        wanted += "count " + QString(can.canPaste ? "on" : "off") + ", Undo tip '" + undoText + "', " +
                  (ends ? "Top/Bottom" : "Above/Below");
        auto *position = Child<QComboBox>(form_.get(), "wPastePositionMenu");
        shown += "count " + QString(Child<QSpinBox>(form_.get(), "wPasteSpinBox")->isEnabled() ? "on" : "off") +
                 ", Undo tip '" + Child<QPushButton>(form_.get(), "wUndoButton")->toolTip() + "', " +
                 position->itemText(0) + "/" + position->itemText(1);

        // The right-click menu, in the order of the table.
        QStringList menu;
        const auto entry = [&menu](bool on, const QString &text) {
            if (on)
                menu << text;
        };
        entry(can.canAdd, "New...");
        entry(can.canModify, "Modify...");
        if (undo) {
            entry(!menu.isEmpty(), "-");
            menu << undoText;
        }
        entry(can.canCut || can.canCopy || can.canPaste, "-");
        entry(can.canCut, "Cut");
        entry(can.canCopy, "Copy");
        const QString at[2] = {ends ? "Top" : "Above", ends ? "Bottom" : "Below"};
        entry(can.canPaste, QString("Paste[Paste %1, Paste %2, Paste Sym %1, Paste Sym %2, Paste Antisym %1, "
                                    "Paste Antisym %2]")
                                .arg(at[0], at[1]));
        entry(can.canGroup, "Group");
        entry(can.canUngroup, "Ungroup");
        entry(can.canLink, "Link");
        entry(can.canUnlink, "Unlink");
        if (can.canEditSingle) {
            menu.insert(std::min<qsizetype>(7, menu.size()), "-");
            QStringList materials, colors;
            const MaterialList *list = lam_.context.GetMaterialList();
            for (int id = list->GetNextId(-1); id != -1; id = list->GetNextId(id))
                materials << MaterialTexts(id).first;
            std::vector<HostColor> byId = lam_.store.Data().colors;
            std::stable_sort(byId.begin(), byId.end(), [](auto &a, auto &b) { return a.id < b.id; });
            for (const HostColor &c : byId) {
                if (c.name != "BLACK")
                    colors << QString::fromStdString(c.name);
                if (c.id >= 16)
                    break;
            }
            menu << "Material[" + (materials << "Select...").join(", ") + "]" << "Color[" + colors.join(", ") + "]";
        }
        wanted += " | " + menu.join(", ");
        shown += " | " + MenuText(form_->RightClickMenu());

        // The stacking rule, half view and view mode.
        const int rule = Rule();
        auto *partial = Child<QComboBox>(form_.get(), "wPartialMenu");
        wanted += QString(" | rule %1, partial %2 %3, view %4, slider %5 %6")
                      .arg(rule)
                      .arg(rule != StackingSimple ? "on" : "off")
                      .arg(HalfShown() ? 1 : 0)
                      .arg(viewMode_)
                      .arg(viewMode_ == SketchFeatureView ? "hidden" : "shown")
                      .arg(slider_);
        auto *slider = Child<QSlider>(form_.get(), "wPlySizeSlider");
        shown += QString(" | rule %1, partial %2 %3, view %4, slider %5 %6")
                     .arg(Child<QComboBox>(form_.get(), "wStackingSeqMenu")->currentIndex())
                     .arg(partial->isEnabled() ? "on" : "off")
                     .arg(partial->currentIndex())
                     .arg(Child<QComboBox>(form_.get(), "wViewMenu")->currentIndex())
                     .arg(slider->isHidden() ? "hidden" : "shown")
                     .arg(slider->value());
        EXPECT_EQ(shown.toStdString(), wanted.toStdString()) << "the controls";
    }

    // ---- Actions -------------------------------------------------------------

    void Act()
    {
        if (!plan_.empty() && Chance(90)) {
            auto step = std::move(plan_.front());
            plan_.pop_front();
            return step();
        }
        plan_.clear();
        using A = RandomSession;
        static const std::vector<std::pair<void (A::*)(), int>> weighted{
            {&A::PressButton, 12},   {&A::RightClick, 5}, {&A::TreeMouse, 8},    {&A::TreeKeys, 3},
            {&A::ClickSketch, 5},    {&A::EditCell, 4},   {&A::TabRun, 4},       {&A::DoubleClickRow, 2},
            {&A::ChangeOption, 6},   {&A::OpenOrClose, 2}, {&A::LinkMatching, 4}, {&A::UngroupOrUnlink, 3},
            {&A::RefuseStacking, 1}, {&A::Close, 1},      {&A::PrintOrHelp, 1},  {&A::UndoRun, 1}};
        int total = 0;
        for (const auto &entry : weighted)
            total += entry.second;
        int pick = Rand(total);
        for (const auto &[action, weight] : weighted)
            if ((pick -= weight) < 0)
                return (this->*action)();
    }

    template <class T>
    std::vector<T *> Rows(bool shownOnly = false)
    {
        std::vector<T *> rows;
        for (QTreeWidgetItemIterator it(List()); *it; ++it) {
            bool hidden = false;
            for (const QTreeWidgetItem *up = (*it)->parent(); up && shownOnly; up = up->parent())
                hidden = hidden || !up->isExpanded();
            if (auto *row = dynamic_cast<T *>(*it); row && !hidden)
                rows.push_back(row);
        }
        return rows;
    }

    // A point of a shown row in its material column, where a click never
    // starts an edit.
    QPoint RowPoint(QTreeWidgetItem *row)
    {
        List()->scrollToItem(row);
        return QPoint(List()->header()->sectionViewportPosition(3) + 4, List()->visualItemRect(row).center().y());
    }

    void ClickRow(QTreeWidgetItem *row, Qt::KeyboardModifiers with = Qt::NoModifier)
    {
        Click(List()->viewport(), RowPoint(row), with);
    }

    // Clicks with Ctrl or Shift on the rows shown, or on nothing.
    void TreeMouse()
    {
        const std::vector<LayupTreeItem *> rows = Rows<LayupTreeItem>(true);
        if (rows.empty())
            return Note("no row to click");
        Reached("Tree mouse");
        for (int n = 1 + Rand(3); n > 0; --n) {
            LayupTreeItem *row = Pick(rows);
            const Qt::KeyboardModifiers with = std::vector{Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier}[Rand(3)];
            Note(std::string("click tree row ") + row->text(0).toStdString() + (with == Qt::ControlModifier ? " with Ctrl" : with == Qt::ShiftModifier ? " with Shift" : ""));
            const bool was = row->isSelected();
            ClickRow(row, with);
            if (with == Qt::ControlModifier)
                EXPECT_NE(row->isSelected(), was) << "a Ctrl-click toggles the row";
            else
                EXPECT_TRUE(row->isSelected()) << "a click selects the row";
        }
        const QRect last = List()->visualItemRect(rows.back());
        if (Chance(10) && last.bottom() + 4 < List()->viewport()->height()) {
            Note("click below the rows");
            Click(List()->viewport(), QPoint(last.center().x(), last.bottom() + 3));
        }
    }

    // Arrows, Home, End and Page keys with Shift or Ctrl, Ctrl+A, Ctrl+Space.
    void TreeKeys()
    {
        if (!List()->topLevelItemCount())
            return Note("no row for keys");
        Reached("Tree keys");
        List()->setFocus();
        static const std::vector<std::tuple<int, Qt::KeyboardModifiers, const char *>> keys{
            {Qt::Key_Down, Qt::NoModifier, "Down"},         {Qt::Key_Up, Qt::NoModifier, "Up"},
            {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"}, {Qt::Key_Up, Qt::ShiftModifier, "Shift+Up"},
            {Qt::Key_Home, Qt::NoModifier, "Home"},         {Qt::Key_End, Qt::ShiftModifier, "Shift+End"},
            {Qt::Key_PageDown, Qt::NoModifier, "PageDown"}, {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
            {Qt::Key_Down, Qt::ControlModifier, "Ctrl+Down"}, {Qt::Key_Space, Qt::ControlModifier, "Ctrl+Space"}};
        for (int n = 1 + Rand(3); n > 0; --n) {
            const auto [key, with, name] = Pick(keys);
            Note(std::string("key ") + name + " in the tree");
            const QTreeWidgetItem *current = List()->currentItem();
            Key(List(), key, with);
            if (with == Qt::NoModifier && List()->currentItem() && List()->currentItem() != current) {
                EXPECT_EQ(List()->selectedItems(), QList<QTreeWidgetItem *>{List()->currentItem()})
                    << "a plain key selects the current row alone";
            }
        }
    }

    // A group or link row opened or closed by keys or a double click; every
    // rebuild keeps its state.
    void OpenOrClose()
    {
        std::vector<LayupTreeItem *> rows = Rows<LayupTreeItem>(true);
        std::erase_if(rows, [this](LayupTreeItem *row) {
            return !row->IsGroup() || !row->childCount() || RowsWithId(row->Id()) != 1;
        });
        if (rows.empty())
            return Note("no group row to open or close");
        Reached("Open or close");
        LayupTreeItem *row = Pick(rows);
        const bool open = row->isExpanded();
        Note(std::string(open ? "close " : "open ") + row->text(0).toStdString());
        if (Chance(50)) {
            ClickRow(row);
            Key(List(), open ? Qt::Key_Left : Qt::Key_Right);
        } else {
            GuiTest::DoubleClick(List()->viewport(), RowPoint(row));
        }
        EXPECT_NE(row->isExpanded(), open) << "the row opened or closed";
        open_[row->Id()] = !open;
    }

    int RowsWithId(int id)
    {
        int n = 0;
        for (LayupTreeItem *row : Rows<LayupTreeItem>())
            n += row->IsGroup() && row->Id() == id;
        return n;
    }

    QPoint SketchPoint(const PlySketch &row)
    {
        return Sketch()->mapFromScene(row.Rectangle()->sceneBoundingRect().center());
    }

    void ClickSketch()
    {
        LayupSketcher *sketch = Sketch();
        if (sketch->Rows().empty())
            return Note("no sketch rows");
        Reached("Sketch click");
        const PlySketch &row = *sketch->Rows()[Rand(int(sketch->Rows().size()))];
        const Qt::KeyboardModifiers with = std::vector{Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier}[Rand(3)];
        const bool twice = Chance(25), wasSelected = row.IsSelected();
        Note(std::string(twice ? "double " : "") + "click sketch row of ply " + std::to_string(row.Id()));
        Click(sketch->viewport(), SketchPoint(row), with, twice);
        if (sketch->ViewMode() == SketchScaleView)
            return;
        EXPECT_TRUE(form_->EngineSelection().Groups().empty()) << "a click in the sketch selects plies only";
        if (with == Qt::ControlModifier && !row.IsChild()) {
            EXPECT_EQ(row.IsSelected(), wasSelected == twice) << "a Ctrl-click toggles the ply";
        }
    }

    // A thickness or an angle, good or bad.
    QString Typed(bool thickness)
    {
        QStringList texts = thickness ? QStringList{"0.1", "0.125", "0.2", "0.25", ".3", "2e-1", "1.5", "0", "-0.5", "1e39"}
                                      : QStringList{"0", "15", "-30", "45", "-90", "22.5", "135", "-200", "360", "400", "-361", "1e39"};
        texts << (thickness ? "1,5" : "-22,5") << "-999999";
        return texts[Rand(int(texts.size()))];
    }

    void ActivateForm()
    {
        for (int pass = 0; pass < 100 && !form_->isActiveWindow(); ++pass) {
            form_->activateWindow(); // offscreen, no window manager gives it back after a dialog
            QCoreApplication::processEvents(); // with a time limit it would spin on the timers
        }
    }

    // A cell of a stored ply typed over with F2, the edit ended by Enter, Tab,
    // Shift+Tab, a click on another row or on the sketch, or Escape: a good
    // value reaches the ply, a bad one shows one warning and changes nothing.
    void EditCell()
    {
        std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>(true);
        std::erase_if(rows, [](const LayupTreeSimpleItem *row) { return row->IsChild(); });
        if (rows.empty())
            return Note("nothing to edit");
        Reached("Edit");
        Allow("Edit");
        LayupTreeSimpleItem *row = Pick(rows);
        const int column = 1 + Rand(2), number = row->Id();
        const PlySimple before = *Stored(number);
        const QString text = Chance(10) ? Pick(std::vector<QString>{"abc", "0.25x", "0.2.5"}) : Typed(column == 1);
        const int end = Rand(6);
        const char *endNames[] = {"Enter", "Tab", "Shift+Tab", "a click on a row", "Escape", "a click on the sketch"};
        Note("type '" + text.toStdString() + "' into column " + std::to_string(column) + " of ply " +
             std::to_string(number) + ", then " + endNames[end]);
        ActivateForm();
        List()->scrollToItem(row);
        List()->setCurrentItem(row, column);
        Key(List(), Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_TRUE(editor) << "F2 opens an editor";
        editor->clear();
        GuiTest::TypeText(editor, text);
        const size_t warnings = boxesSeen_.size();
        QTreeWidgetItem *other = List()->itemAbove(row) ? List()->itemAbove(row) : List()->itemBelow(row);
        if (end == 3 && other) {
            Click(List()->viewport(), RowPoint(other));
        } else if (end == 5 && !Sketch()->Rows().empty()) {
            Click(Sketch()->viewport(), SketchPoint(*Sketch()->Rows()[0]));
        } else { // a click with nothing to click on is an Enter
            Key(editor, end == 1 ? Qt::Key_Tab : end == 2 ? Qt::Key_Backtab : end == 4 ? Qt::Key_Escape : Qt::Key_Return);
        }
        CloseEditor(); // Tab opened the next cell's, a refusal the cell's own
        const std::optional<double> value = Intended(text);
        const bool taken = end != 4 && (column == 1 ? GoodThickness(value) : GoodAngle(value));
        EXPECT_EQ(boxesSeen_.size() - warnings, end == 4 || taken ? 0u : 1u) << "one warning for a refused entry";
        const PlySimple &after = *Stored(number);
        EXPECT_FALSE(ValuesDiffer(after.Thickness(), column == 1 && taken ? float(*value) : before.Thickness(),
                                  kPlyTolerance)) << after.Thickness();
        EXPECT_FALSE(ValuesDiffer(after.Angle(), column == 2 && taken ? FoldAngle(float(*value)) : before.Angle(),
                                  kPlyTolerance)) << after.Angle();
    }

    // A run of edits, each ended by Tab or Shift+Tab, the last by Return,
    // Escape or a click on another row: the editor goes on to the next
    // editable cell in reading order as shown (it stays on the first and the
    // last), a refused value gets its one warning and is typed again in its
    // cell, and every value taken reaches its ply.
    void TabRun()
    {
        std::vector<std::pair<int, int>> cells; // ply and column, in reading order
        for (const LayupTreeSimpleItem *row : Rows<LayupTreeSimpleItem>(true))
            if (!row->IsChild())
                cells.insert(cells.end(), {{row->Id(), 1}, {row->Id(), 2}});
        if (cells.empty())
            return Note("no cell for a Tab run");
        Reached("Tab run");
        Allow("Edit");
        std::vector<PlySimple> want; // the stored plies as the run must leave them
        for (int number = 1; Root().FindPly(number, 0) || number <= Root().CountPlies(); ++number)
            if (const PlySimple *ply = Stored(number))
                want.push_back(*ply);
        size_t at = Rand(int(cells.size())), refused = 0;
        const size_t boxes = boxesSeen_.size();
        ActivateForm();
        QTreeWidgetItem *start = PlyRow(cells[at].first);
        List()->scrollToItem(start);
        List()->setCurrentItem(start, cells[at].second);
        Key(List(), Qt::Key_F2);
        std::string run = "Tab run from ply " + std::to_string(cells[at].first) + " column " +
                          std::to_string(cells[at].second) + ":";
        for (int step = 0, steps = 3 + Rand(4); step < steps; ++step) {
            const auto [ply, column] = cells[at];
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            const auto *current = dynamic_cast<LayupTreeSimpleItem *>(List()->currentItem());
            if (!editor || !current || current->Id() != ply || List()->currentColumn() != column) {
                Note(run);
                ADD_FAILURE() << "the editor is not on column " << column << " of ply " << ply;
                return;
            }
            const QString text = Chance(15) ? Pick(std::vector<QString>{"abc", "0.25x", "-0.5", "400"}) : Typed(column == 1);
            const int end = step < steps - 1 ? Rand(2) : Rand(5);
            run += " '" + text.toStdString() + "' " + std::vector{"Tab", "Shift+Tab", "Return", "Escape", "click"}[end];
            editor->clear();
            GuiTest::TypeText(editor, text);
            QTreeWidgetItem *other = List()->itemAbove(current) ? List()->itemAbove(List()->currentItem())
                                                                 : List()->itemBelow(List()->currentItem());
            if (end == 4 && other)
                Click(List()->viewport(), RowPoint(other));
            else
                Key(editor, std::vector{Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Return}[end]);
            QCoreApplication::processEvents();
            const std::optional<double> value = Intended(text);
            const bool good = column == 1 ? GoodThickness(value) : GoodAngle(value);
            if (end != 3 && !good)
                ++refused;
            PlySimple &target = *std::find_if(want.begin(), want.end(), [&](auto &p) { return p.Id() == ply; });
            if (end != 3 && good && column == 1)
                target.SetThickness(float(*value));
            else if (end != 3 && good)
                target.SetAngle(FoldAngle(float(*value)));
            if (end < 2 && good)
                at = end == 0 ? std::min(at + 1, cells.size() - 1) : at > 0 ? at - 1 : 0;
        }
        Note(run);
        CloseEditor(); // Tab's, or a refusal's
        EXPECT_EQ(boxesSeen_.size() - boxes, refused) << "one warning for each refused value";
        for (const PlySimple &ply : want) {
            const PlySimple *stored = Stored(ply.Id());
            ASSERT_TRUE(stored) << "ply " << ply.Id();
            EXPECT_FALSE(ValuesDiffer(stored->Thickness(), ply.Thickness(), kPlyTolerance) ||
                         ValuesDiffer(stored->Angle(), ply.Angle(), kPlyTolerance))
                << "ply " << ply.Id() << " holds " << stored->Thickness() << "/" << stored->Angle() << " for "
                << ply.Thickness() << "/" << ply.Angle();
        }
    }

    // Lets the edit's end take effect, then closes an editor left open.
    void CloseEditor()
    {
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::processEvents();
            if (auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget()); editor && List()->isAncestorOf(editor))
                Key(editor, Qt::Key_Escape);
        }
    }

    QTreeWidgetItem *PlyRow(int number)
    {
        for (LayupTreeSimpleItem *row : Rows<LayupTreeSimpleItem>())
            if (!row->IsChild() && row->Id() == number)
                return row;
        return nullptr;
    }

    // A real double click on a ply row: the ply data dialog for a stored ply,
    // a warning for a ply of a link.
    void DoubleClickRow()
    {
        const std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>(true);
        if (rows.empty())
            return Note("no ply row");
        Reached("Double click");
        LayupTreeSimpleItem *row = Pick(rows);
        Note("double click ply row " + std::to_string(row->Id()));
        Allow("Modify");
        if (Stored(row->Id()))
            ArmPlyData({row->Id()});
        GuiTest::DoubleClick(List()->viewport(), RowPoint(row));
    }

    // The dialog that the coming action opens, and what to do with it.
    void Expect(const char *className, std::function<void(QWidget *)> drive)
    {
        pendingClass_ = className;
        pending_ = std::move(drive);
    }

    // The ply data dialog about to open for these stored plies (none: a new
    // ply): random entries, OK or Cancel. A typed value out of range is
    // refused, the plies modified take the typed values, Cancel changes nothing.
    void ArmPlyData(const std::vector<int> &plies)
    {
        Expect("PlyDataForm", [this, plies, before = PlyGroup(Root())](QWidget *modal) {
            auto *dialog = static_cast<PlyDataForm *>(modal);
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
        });
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
        Expect("ModelerForm", [this](QWidget *modal) {
            auto *dialog = static_cast<ModelerForm *>(modal);
            std::optional<double> damping;
            for (int attempt = 0; attempt < 2 && dialog->isVisible(); ++attempt) {
                if (Chance(50)) {
                    const QString text = Pick(std::vector<QString>{"0", "0.05", "0.25", "-1"});
                    SetText(dialog, "wDampingEdit", "");
                    GuiTest::TypeText(Child(dialog, "wDampingEdit"), text);
                    damping = Intended(text);
                }
                if (Chance(15)) { // a moved reference plane redraws the sketch, which would hide a stale Undo
                    Choose(dialog, "wRefPlaneMenu", Rand(4));
                    if (Chance(50))
                        SetText(dialog, "wRefPlaneEdit", Pick(std::vector<QString>{"0.1", "-0.3", "-5", "2"}));
                }
                if (Chance(30))
                    Choose(dialog, "wFailureMenu", Rand(Child<QComboBox>(dialog, "wFailureMenu")->count()));
                FormDriver::Click(dialog, Chance(80) ? "wDoneButton" : "wCancelButton");
            }
            const bool accepted = Accepted(dialog);
            EXPECT_TRUE(!accepted || !damping || lam_.GetLaminate().Damping() == *damping) << "the damping typed";
        });
    }

    // Prepares for what the command (a button's name or a menu entry) opens
    // or shows.
    void Prepare(const QString &control)
    {
        const QString command = CommandOf(control);
        Allow(command);
        std::vector<int> stored = form_->EngineSelection().plies;
        std::erase_if(stored, [this](int number) { return !Stored(number); });
        if (command == "New")
            ArmPlyData({});
        else if (command == "Modify" && !stored.empty())
            ArmPlyData(stored);
        else if (command == "Properties")
            ArmProperties();
        else if (command == "Materials")
            lam_.store.QueuePick(std::vector{301, 302, 303}[Rand(3)], Rand(4) == 0);
        else if (command == "Help" && (helpFails_ = Chance(30)))
            allowed_ << "Help System Error";
        else if (command == "Print")
            PreparePrint();
        if (command == "Ungroup" && !form_->EngineSelection().Groups().empty()) {
            const int id = form_->EngineSelection().Groups().front();
            bool linked = false;
            for (auto it = Root().GetLayup().ConstBegin(); it != Root().GetLayup().ConstEnd(); ++it)
                if (auto *link = dynamic_cast<const PlyGroupLink *>(it->Get()))
                    linked = linked || link->TargetGroupId() == id;
            Reached(linked ? "Ungroup linked" : "Ungroup");
        } else {
            Reached(command.toStdString().c_str());
        }
    }

    // New, Paste and Link are left alone in a large laminate.
    bool Avoided(const QString &control)
    {
        return Large() && QStringList{"New", "Paste", "Link"}.contains(CommandOf(control));
    }

    void Press(QPushButton *button)
    {
        Note("press " + button->objectName().toStdString());
        Prepare(button->objectName());
        if (button->objectName() == "wAutoGroupsButton") {
            autoGrouping_ = true;
            if (Chance(50))
                QTimer::singleShot(0, form_.get(), [this] {
                    if (auto *progress = form_->findChild<QProgressDialog *>("progress"))
                        progress->cancel();
                });
        }
        button->click();
        autoGrouping_ = false;
        if (Rule() == StackingSimple)
            half_ = false; // the dialog goes back to "Full" for a rule that repeats nothing
        AfterCommand(button->objectName());
    }

    void PressButton()
    {
        std::vector<QPushButton *> enabled;
        for (const char *name : kButtons)
            if (auto *button = Child<QPushButton>(form_.get(), name);
                button->isEnabled() && !Avoided(name) &&
                !QStringList{"wOkButton", "wCancelButton", "wHelpButton", "wPrintButton"}.contains(name))
                enabled.push_back(button);
        // Properties often: its stale Undo shows only when the reference plane stays where it was.
        Press(Chance(15) ? Child<QPushButton>(form_.get(), "wLamOptionButton") : Pick(enabled));
    }

    void PressNamed(const char *name)
    {
        auto *button = Child<QPushButton>(form_.get(), name);
        if (!button->isEnabled())
            return Note(std::string(name) + " is off");
        Press(button);
    }

    // What a command must have done, checked beyond the views.
    void AfterCommand(const QString &control)
    {
        const QString command = CommandOf(control);
        if (command == "Help") {
            const std::string page = std::string(HELP_DIR) + "/Create_Modify_Lam.htm";
            EXPECT_EQ(helpOpened_, std::vector<std::string>{page}) << "Help opens the dialog's page";
            const auto boxes = std::count_if(boxesSeen_.begin() + boxesBefore_, boxesSeen_.end(),
                                             [](const auto &box) { return box.first == "Help System Error"; });
            EXPECT_EQ(boxes, helpFails_ ? 1 : 0) << "one box when the page does not open";
            helpOpened_.clear();
        } else if (command == "Print" && !printTo_.isEmpty() && !printTo_.startsWith("/nonexistent")) {
            EXPECT_GT(QFileInfo(printTo_).size(), 0) << "the sketch was printed to " << printTo_.toStdString();
            QFile::remove(printTo_);
        }
    }

    void PreparePrint()
    {
        const int how = Rand(10);
        printTo_ = how < 6 ? printDir_.filePath("sketch.pdf") : how < 8 ? QString() : "/nonexistent/sketch.pdf";
        if (printTo_.startsWith("/nonexistent"))
            allowed_ << "Printing Problem";
    }

    void PrintOrHelp()
    {
        PressNamed(Chance(50) ? "wPrintButton" : "wHelpButton");
    }

    // A right click in the tree (on a row, which it selects first) or in the
    // sketch pops the menu up; an entry is chosen, or none.
    void RightClick()
    {
        QMenu *menu = form_->RightClickMenu();
        const std::vector<LayupTreeItem *> rows = Rows<LayupTreeItem>(true);
        if (Chance(60) && !rows.empty()) {
            QTreeWidgetItem *row = Pick(rows);
            Note("right click on tree row " + row->text(0).toStdString());
            const QPoint at = RowPoint(row);
            Click(List()->viewport(), at, Qt::NoModifier, false, Qt::RightButton);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, List()->viewport()->mapToGlobal(at));
            QApplication::sendEvent(List()->viewport(), &event);
        } else if (!Sketch()->Rows().empty()) {
            const PlySketch &row = *Sketch()->Rows()[Rand(int(Sketch()->Rows().size()))];
            Note("right click on sketch row of ply " + std::to_string(row.Id()));
            Click(Sketch()->viewport(), SketchPoint(row), Qt::NoModifier, false, Qt::RightButton);
        } else {
            return Note("nothing to right click");
        }
        EXPECT_EQ(menu->isVisible(), !menu->isEmpty()) << "the menu pops up when it has entries";
        std::vector<QAction *> entries;
        for (QAction *action : menu->actions())
            if (!action->isSeparator() && !Avoided(action->text()) && !(action->menu() && action->menu()->isEmpty()))
                entries.push_back(action);
        menu->hide();
        if (entries.empty() || Chance(10))
            return Note("no entry chosen");
        Reached("Right click");
        QAction *entry = Pick(entries);
        const QString parent = entry->text();
        if (entry->menu())
            entry = entry->menu()->actions()[Rand(int(entry->menu()->actions().size()))];
        Note("right-click entry " + entry->text().toStdString());
        if (parent == "Paste")
            Reached("Paste entry");
        if (parent == "Material" && entry->text() != "Select...") {
            Reached("Material entry");
            Allow("Materials");
        } else if (parent == "Color") {
            Reached("Color");
            Allow("Color");
        } else {
            Prepare(parent == "Material" ? "Select..." : entry->text());
        }
        const QString text = entry->text(); // the menus are rebuilt: the entry goes
        entry->trigger();
        AfterCommand(text);
    }

    void ChangeOption()
    {
        if (Chance(12)) {
            auto *count = Child<QSpinBox>(form_.get(), "wPasteSpinBox");
            count->setValue(1 + Rand(Large() ? 1 : 3));
            return Note("paste count " + std::to_string(count->value()));
        }
        auto *slider = Child<QSlider>(form_.get(), "wPlySizeSlider");
        if (!slider->isHidden() && Chance(25)) {
            Reached("Slider");
            slider_ = 1 + Rand(200);
            Note("ply size " + std::to_string(slider_));
            slider->setValue(slider_);
            return;
        }
        const char *menu = std::vector{"wStackingSeqMenu", "wStackingSeqMenu", "wPartialMenu", "wViewMenu",
                                       "wPasteMenu", "wPastePositionMenu"}[Rand(6)];
        const int index = Rand(Child<QComboBox>(form_.get(), menu)->count());
        Note(std::string("choose ") + menu + " " + std::to_string(index));
        if (!Child<QComboBox>(form_.get(), menu)->isEnabled())
            return;
        if (menu == std::string("wPartialMenu")) {
            Reached("Half");
            half_ = index == 1;
        } else if (menu == std::string("wViewMenu")) {
            Reached("View");
            viewMode_ = index;
        } else if (menu == std::string("wStackingSeqMenu")) {
            Reached("Stacking");
        }
        Choose(form_.get(), menu, index);
    }

    // A rule whose full stack passes the limit (lowered for it): one warning
    // naming both numbers, and the rule stays.
    void RefuseStacking()
    {
        const int plies = Root().CountPlies(), current = Rule();
        if (plies == 0)
            return Note("no plies to stack");
        int rule = 1 + Rand(4);
        if (plies == 1) // the rules with a core stack one ply
            rule = rule < 3 ? StackingFullSymmetric : StackingFullRepeat;
        if (rule == current)
            rule = plies == 1 ? 4 - rule : rule % 4 + 1;
        const int stacked = rule == StackingSymmetricWithCore || rule == StackingRepeatWithCore ? 2 * plies - 1 : 2 * plies;
        const int limit = std::max(1, stacked - 1 - Rand(3));
        Note("choose rule " + std::to_string(rule) + " over a limit of " + std::to_string(limit));
        Reached("Stacking refused");
        SetStackedPlyLimit(limit);
        allowed_ << "Stacking Sequence Error";
        const size_t boxes = boxesSeen_.size();
        Choose(form_.get(), "wStackingSeqMenu", rule);
        SetStackedPlyLimit(0);
        ASSERT_EQ(boxesSeen_.size(), boxes + 1) << "one warning";
        EXPECT_EQ(boxesSeen_.back().second.toStdString(),
                  QString("The full stack would have %1 plies, more than the %2 a laminate may have.")
                      .arg(stacked)
                      .arg(limit)
                      .toStdString());
        EXPECT_EQ(Rule(), current);
    }

    // Two top-level groups (at most one a link) whose plies repeat one
    // another as a link would: selected by clicks, then Link. Without such a
    // pair the steps towards one: group plies, copy a group, paste it (a link
    // to it), unlink the link (a group like it).
    void LinkMatching()
    {
        const std::vector<const PlyGroupBase *> groups = TopGroups();
        for (size_t a = 0; a < groups.size(); ++a)
            for (size_t b = a + 1; b < groups.size(); ++b)
                if (Match(*groups[a], *groups[b])) {
                    Note("select matching groups " + std::to_string(groups[a]->Id()) + " and " +
                         std::to_string(groups[b]->Id()));
                    ASSERT_TRUE(RowOfGroup(groups[a]->Id()) && RowOfGroup(groups[b]->Id())) << "their rows";
                    ClickRow(RowOfGroup(groups[a]->Id()));
                    ClickRow(RowOfGroup(groups[b]->Id()), Qt::ControlModifier);
                    plan_.push_back([this] { Chance(70) ? PressNamed("wLinkToolButton") : EntryNamed("Link"); });
                    return;
                }
        for (const PlyGroupBase *group : groups)
            if (dynamic_cast<const PlyGroupLink *>(group)) {
                Note("select link " + std::to_string(group->Id()));
                ASSERT_TRUE(RowOfGroup(group->Id())) << "its row";
                ClickRow(RowOfGroup(group->Id()));
                plan_.push_back([this] { PressNamed("wUnlinkToolButton"); });
                return;
            }
        if (!groups.empty() && !Large()) {
            const int id = Pick(groups)->Id();
            Note("select group " + std::to_string(id) + " to copy");
            ASSERT_TRUE(RowOfGroup(id)) << "its row";
            ClickRow(RowOfGroup(id));
            plan_.push_back([this] { PressNamed("wCopyButton"); });
            plan_.push_back([this] { PressNamed("wPasteButton"); });
            return;
        }
        // Two to four top-level plies in a row, by a click and a Shift-click.
        std::vector<LayupTreeSimpleItem *> top;
        for (int i = List()->topLevelItemCount(); i-- > 0;)
            if (auto *row = dynamic_cast<LayupTreeSimpleItem *>(List()->topLevelItem(i)))
                top.push_back(row);
        if (top.size() < 2)
            return Note("no plies to group");
        const int first = Rand(int(top.size()) - 1), last = std::min<int>(int(top.size()) - 1, first + 1 + Rand(3));
        Note("select plies " + std::to_string(top[first]->Id()) + " to " + std::to_string(top[last]->Id()));
        ClickRow(top[first]);
        ClickRow(top[last], Qt::ShiftModifier);
        plan_.push_back([this] { PressNamed("wIndentToolButton"); });
    }

    std::vector<const PlyGroupBase *> TopGroups()
    {
        std::vector<const PlyGroupBase *> groups;
        for (auto it = Root().GetLayup().ConstBegin(); it != Root().GetLayup().ConstEnd(); ++it)
            if (auto *group = dynamic_cast<const PlyGroupBase *>(it->Get()))
                groups.push_back(group);
        return groups;
    }

    static bool Match(const PlyGroupBase &a, const PlyGroupBase &b)
    {
        const auto *la = dynamic_cast<const PlyGroupLink *>(&a), *lb = dynamic_cast<const PlyGroupLink *>(&b);
        if ((la && lb) || (la && la->TargetGroupId() == b.Id()) || (lb && lb->TargetGroupId() == a.Id()))
            return false; // two links, or already linked
        std::vector<PlySimple> pa, pb;
        a.CollectPlies(pa);
        b.CollectPlies(pb);
        if (pa.empty() || pa.size() != pb.size())
            return false;
        const auto same = [&](bool reversed, float sign) {
            for (size_t i = 0; i < pa.size(); ++i) {
                const PlySimple &p = pa[i], &q = pb[reversed ? pb.size() - 1 - i : i];
                if (p.Material() != q.Material() || p.Color() != q.Color() ||
                    ValuesDiffer(p.Thickness(), q.Thickness(), kPlyTolerance) ||
                    ValuesDiffer(p.Angle(), sign * q.Angle(), kPlyTolerance))
                    return false;
            }
            return true;
        };
        return same(false, 1) || same(true, 1) || same(true, -1);
    }

    QTreeWidgetItem *RowOfGroup(int id)
    {
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            if (auto *row = static_cast<LayupTreeItem *>(List()->topLevelItem(i)); row->IsGroup() && row->Id() == id)
                return row;
        return nullptr;
    }

    void EntryNamed(const char *text)
    {
        for (QAction *action : form_->RightClickMenu()->actions())
            if (action->text() == text) {
                Note(std::string("right-click entry ") + text);
                Prepare(text);
                Reached("Right click");
                return action->trigger();
            }
        Note(std::string("no entry ") + text);
    }

    // A plain group (often one with links to it) or a link, selected by a
    // click, then Ungroup or Unlink.
    void UngroupOrUnlink()
    {
        std::vector<const PlyGroupBase *> groups = TopGroups();
        if (groups.empty())
            return Note("no group");
        const PlyGroupBase *group = Pick(groups);
        std::map<int, int> links;
        for (const PlyGroupBase *g : groups)
            if (auto *link = dynamic_cast<const PlyGroupLink *>(g))
                ++links[link->TargetGroupId()];
        if (Chance(60))
            for (const PlyGroupBase *g : groups)
                if (links[g->Id()] && !dynamic_cast<const PlyGroupLink *>(g))
                    group = g;
        const bool link = dynamic_cast<const PlyGroupLink *>(group);
        Note(std::string("select ") + (link ? "link " : "group ") + std::to_string(group->Id()));
        ASSERT_TRUE(RowOfGroup(group->Id())) << "its row";
        ClickRow(RowOfGroup(group->Id()));
        plan_.push_back([this, link] {
            if (Chance(30))
                EntryNamed(link ? "Unlink" : "Ungroup");
            else
                PressNamed(link ? "wUnlinkToolButton" : "wOutdentToolButton");
        });
    }

    // Undo pressed again and again, each press an action, or at once until
    // the history is empty.
    void UndoRun()
    {
        auto *undo = Child<QPushButton>(form_.get(), "wUndoButton");
        if (Chance(50)) {
            for (int n = 0; n < 50 && undo->isEnabled(); ++n) {
                Press(undo);
                KeepOpenStates(); // each rebuild keeps the one before's
            }
            return;
        }
        Note("undo run");
        for (int n = 3 + Rand(8); n > 0; --n)
            plan_.push_back([this] { PressNamed("wUndoButton"); });
    }

    // OK, Cancel, Escape or Apply; the session opens the dialog again (or a
    // new one, as the next request would).
    void Close()
    {
        const int how = Rand(4);
        if (how == 2) {
            Note("Escape");
            Reached("Escape");
            CloseEditor(); // the first Escape would close an open cell's editor
            Key(QApplication::focusWidget() && form_->isAncestorOf(QApplication::focusWidget())
                    ? QApplication::focusWidget()
                    : form_.get(),
                Qt::Key_Escape);
            EXPECT_FALSE(form_->isVisible()) << "Escape closes the dialog";
            return;
        }
        const char *name = how == 0 ? "wOkButton" : how == 1 ? "wCancelButton" : "wApplyButton";
        Press(Child<QPushButton>(form_.get(), name));
    }

    std::mt19937 random_;
    ScopedEnv env_;
    LaminateContext lam_;
    std::unique_ptr<LayupForm> form_;
    QTimer boxes_, dialogs_;
    std::vector<std::pair<QString, QString>> boxesSeen_;
    QStringList allowed_;
    size_t boxesBefore_ = 0; // the boxes seen before this action
    const char *pendingClass_ = "";
    std::function<void(QWidget *)> pending_;
    QWidget *driving_ = nullptr;
    bool autoGrouping_ = false;
    std::deque<std::function<void()>> plan_;
    int done_ = 0;
    std::vector<std::string> history_;
    std::map<std::string, int> reached_;
    // The user's choices that the dialog must show.
    int viewMode_ = SketchFeatureView;
    bool half_ = false;
    int slider_ = 25;
    std::map<int, bool> open_; // group rows by id, as the last check found them
    QTemporaryDir printDir_;
    QString printTo_;
    std::vector<std::string> helpOpened_;
    bool helpFails_ = false;
};

TEST(LayupRandomTest, TheDialogShowsWhatTheLaminateHolds)
{
    const unsigned seed = unsigned(EnvNumber("CORVANE_RANDOM_SEED", 2));
    const int actions = EnvNumber("CORVANE_RANDOM_ACTIONS", 2000);
    SCOPED_TRACE("CORVANE_RANDOM_SEED=" + std::to_string(seed) + " CORVANE_RANDOM_ACTIONS=" + std::to_string(actions));
    RandomSession(seed).Run(actions);
}

} // namespace
