// A seeded random user in the layup dialog, offscreen, with the real form and engine on the host stand-in. After
// every action the dialog must show what a description of the laminate, made here from the root group, its links, the
// stacking rule, the units, colours and materials, says it must: every tree and sketch row, the reference plane, the
// information box, the stacking rule, every button and right-click entry, and in both views the selection the
// commands act on. A box or dialog the session did not expect fails it. CORVANE_RANDOM_SEED and
// CORVANE_RANDOM_ACTIONS choose another or a longer run.

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
#include <QMap>
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
#include <numeric>
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

// ---------------------------------------------------------------------------
// What the dialog must show, from the laminate alone. Numbers are written with the printf formats the dialog states,
// in the C locale, as Qt writes them (a zero angle "+0", a tie rounded away from 0).

const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kSelected(128, 0, 0), kCopySelected(200, 128, 128),
    kCopyLabel(192, 192, 192);

struct TreeRow
{
    int depth = 0, id = 0;
    bool group = false, child = false, hasRows = false; // child: in a link's expansion, red, not editable
    std::array<QString, 4> text;
};

// The tree, depth first with the top of each level first; the plies it numbers (bottom first, links expanded); the
// rows the sketch draws (top first, with the copies of the stacking rule unless half view is on).
class Description
{
public:
    Description(const PlyGroup &root, bool half, const std::function<QString(int)> &material)
        : whole_(root), material_(material)
    {
        CountLinks(whole_);
        tree = Rows(whole_.GetLayup(), 0, false);
        // The copies, top first: rule 1 mirrors all plies, 2 all but the core, 3 repeats all, 4 all but the top.
        const int n = int(plies.size()), rule = whole_.GetLayup().Stacking();
        const bool mirror = rule == StackingFullSymmetric || rule == StackingSymmetricWithCore;
        const int copies = rule == StackingFullSymmetric || rule == StackingFullRepeat ? n
                           : mirror || rule == StackingRepeatWithCore                  ? n - 1
                                                                                       : 0;
        for (int k = 0; k < copies; ++k) {
            const PlySimple &ply = plies[mirror ? k : copies - 1 - k];
            fullThickness += ply.Thickness();
            if (!half)
                stack.push_back({ply, true});
        }
        for (int i = n; i-- > 0;) {
            fullThickness += plies[i].Thickness();
            stack.push_back({plies[i], false});
        }
        fullCount = n + std::max(copies, 0);
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

    QString ParentText(int id)
    {
        const int links = links_[id];
        return links < 1 ? QString() : links == 1 ? QStringLiteral("Parent") : QString("Parent (%1)").arg(links);
    }

    std::vector<TreeRow> Rows(const Layup &layup, int depth, bool child)
    {
        std::vector<std::vector<TreeRow>> items; // in layup order, each with its rows
        for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
            TreeRow row{depth, it->Get()->Id(), true, child, false, {}};
            std::vector<TreeRow> below;
            if (const auto *ply = dynamic_cast<const PlySimple *>(it->Get())) {
                plies.push_back(*ply);
                plies.back().SetId(row.id = int(plies.size()));
                row.group = false;
                row.text = {QString::number(row.id) + " ", QString::asprintf("%.4g ", double(ply->Thickness())),
                            QString::asprintf("%+.3g ", double(ply->Angle())), material_(ply->Material())};
            } else if (const auto *group = dynamic_cast<const PlyGroup *>(it->Get())) {
                row.text = {"group_" + QString::number(row.id), ParentText(row.id), child ? "*" : "", ""};
                below = Rows(group->GetLayup(), depth + 1, child);
            } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(it->Get())) {
                static const char *const words[] = {"Repeat", "Symmetry", "Antisym"};
                const int type = link->LinkType(), target = link->TargetGroupId();
                row.text = {"group_" + QString::number(row.id), ParentText(row.id),
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

// A tree row: nesting, the four texts, open or closed, red, editable, selected.
QString TreeLine(int depth, const std::array<QString, 4> &text, int open, bool red, bool editable, bool selected)
{
    return QString(2 * depth, ' ') + text[0] + "|" + text[1] + "|" + text[2] + "|" + text[3] +
           (open < 0 ? "" : open ? " open" : " closed") + (red ? " red" : "") + (editable ? " editable" : "") +
           (selected ? " selected" : "");
}

// A sketch row: the data label's fields, the material label, the fill, whether the labels show, the selection mark,
// the colours, the height and the top.
QString SketchLine(const QString &data, const QString &material, const QString &fill, bool labels,
                   const QString &selected, const QString &label, const QColor &frame, int height, int y)
{
    return data + " | " + material + " | fill " + fill + (labels ? " labels" : " no labels") + selected +
           " | label " + label + " frame " + frame.name() + QString(" | h%1 y%2").arg(height).arg(y);
}

// Fails with the first row where two renderings differ; true when none does.
bool Same(const char *what, const QStringList &want, const QStringList &have)
{
    for (qsizetype i = 0; i < std::max(want.size(), have.size()); ++i) {
        const QString w = i < want.size() ? want[i] : "(none)", h = i < have.size() ? have[i] : "(none)";
        if (w != h) {
            ADD_FAILURE() << what << " row " << i << " of " << want.size() << " (" << have.size()
                          << " shown)\n  want: " << w.toStdString() << "\n  have: " << h.toStdString();
            return false;
        }
    }
    return true;
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
bool Good(bool thickness, const std::optional<double> &v) { return v && (thickness ? *v > 0 : std::fabs(*v) <= 360); }

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

const std::pair<Qt::KeyboardModifiers, const char *> kModifiers[] = {
    {Qt::NoModifier, ""}, {Qt::ControlModifier, " with Ctrl"}, {Qt::ShiftModifier, " with Shift"}};

// The buttons in the form's order, with the commands they give.
const std::pair<const char *, const char *> kButtons[] = {
    {"wNewButton", "New"},        {"wModifyButton", "Modify"},         {"wDeleteButton", "Delete"},
    {"wCutButton", "Cut"},        {"wCopyButton", "Copy"},             {"wPasteButton", "Paste"},
    {"wIndentToolButton", "Group"}, {"wOutdentToolButton", "Ungroup"}, {"wLinkToolButton", "Link"},
    {"wUnlinkToolButton", "Unlink"}, {"wUndoButton", "Undo"},          {"wAutoGroupsButton", "AutoGroup"},
    {"wLamOptionButton", "Properties"}, {"wMatlButton", "Materials"},  {"wApplyButton", "Apply"},
    {"wOkButton", "OK"},          {"wResetButton", "Reset"},           {"wCancelButton", "Cancel"},
    {"wHelpButton", "Help"},      {"wPrintButton", "Print"}};

// The boxes each command may show (the layup manager can refuse what its button offers); any other box fails the
// session.
const QMap<QString, QStringList> kBoxes{
    {"New", {"Validation Warning", "Ply Creation Error", "Material Selection Warning"}},
    {"Modify",
     {"Validation Warning", "Ply Modification Error", "Material Selection Warning", "Ply Modification Warning"}},
    {"Delete", {"Delete Error"}}, {"Cut", {"Cut Error"}}, {"Copy", {"Copy Error"}}, {"Paste", {"Paste Error"}},
    {"Group", {"Group Creation Error"}}, {"Ungroup", {"Ungrouping Error"}}, {"Link", {"Group Linking Error"}},
    {"Unlink", {"Unlinking Error"}}, {"Undo", {"Command playback error"}}, {"Properties", {"Validation Warning"}},
    {"Materials", {"Material Reference Error", "Material Selection Warning", "Ply Modification Error"}},
    {"Material", {"Material Reference Error", "Material Selection Warning", "Ply Modification Error"}},
    {"Color", {"Ply Modification Error"}}, {"OK", {"Validation Warning", "Material Reference Error"}},
    {"Apply", {"Validation Warning", "Material Reference Error"}}, {"Cancel", {"Material Reference Error"}},
    {"Edit", {"Validation Warning"}}};

// The command of a button or a right-click entry ("New...", "Undo Cut", "Paste Sym Top", "Group").
QString CommandOf(const QString &control)
{
    for (const auto &[button, command] : kButtons)
        if (control == button)
            return command;
    return control == "Select..." ? "Materials" : control.section(' ', 0, 0).remove("...");
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
        // GuiTest's WhenModal looks every 10 ms; a session meets dialogs and boxes by the thousand, so these look at
        // every pass of the event loop (two timers: a timer's handler is not entered again while it drives a dialog,
        // and a box may come up over that dialog).
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
        const bool failed = ::testing::Test::HasFailure();
        for (size_t i = history_.size() - std::min<size_t>(12, history_.size()); failed && i < history_.size(); ++i)
            std::fprintf(stderr, "  action %s\n", history_[i].c_str());
        std::string reached;
        for (const auto &[name, count] : reached_)
            reached += " " + name + " " + std::to_string(count) + ",";
        std::fprintf(stderr, "reached:%s\n", reached.c_str());
        for (const char *name : {"New", "Modify", "Delete", "Cut", "Copy", "Paste", "Paste entry", "Group", "Ungroup",
                                 "Ungroup linked", "Link", "Unlink", "Undo", "AutoGroup", "Properties", "Materials",
                                 "Material", "Color", "OK", "Apply", "Cancel", "Escape", "Reset", "Help",
                                 "Print", "Stacking", "Stacking refused", "Half", "View", "Slider", "Open or close",
                                 "Tree mouse", "Tree keys", "Sketch click", "Right click", "Edit", "Tab run",
                                 "Double click"})
            EXPECT_TRUE(actions < 2000 || failed || reached_[name] > 0) << name << " was never done";
    }

private:
    // ---- The session's frame -----------------------------------------------

    void Session(int actions)
    {
        SCOPED_TRACE("the dialog opened after action " + std::to_string(done_) + " (the trail below)");
        Check();
        while (done_ < actions && form_->isVisible() && !::testing::Test::HasFailure()) {
            SCOPED_TRACE("action " + std::to_string(++done_) + " (the trail below)");
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

    // Answers every box (failing on one the action did not allow) and fails on any other dialog that nobody drives,
    // closing it: never a hang.
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
        if ((pending_ && modal->inherits(pendingClass_)) || (autoGrouping_ && modal->objectName() == "progress"))
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
    T Pick(const std::vector<T> &from)
    {
        return from[Rand(static_cast<int>(from.size()))];
    }
    QTreeWidget *List() { return form_->Tree()->List(); }
    LayupSketcher *Sketch() { return form_->Sketch(); }
    const PlyGroup &Root() { return lam_.GetLaminate().RootGroup(); }
    bool Large() { return Root().CountPliesExpanded() > 60; }
    const PlySimple *Stored(int number) { return dynamic_cast<const PlySimple *>(Root().FindPly(number, 0).Get()); }
    void Note(const std::string &what) { history_.push_back(std::to_string(done_) + ": " + what); }
    void Reached(const char *what) { ++reached_[what]; }
    // The boxes the coming command may show.
    void Allow(const QString &command) { allowed_ << kBoxes.value(command); }

    // The name and type texts of a material the request has met (the tree's and sketch's texts), else empty.
    std::pair<QString, QString> MaterialTexts(int id)
    {
        if (lam_.context.GetMaterialList()->Contains(id))
            for (const HostMaterial &m : lam_.store.Data().materials)
                if (m.id == id)
                    return {QString::fromStdString(m.name), QString::fromStdString(m.type)};
        return {};
    }
    QColor Fill(int colorId, bool copy)
    {
        const auto &colors = lam_.store.Data().colors;
        const auto c = std::find_if(colors.begin(), colors.end(), [colorId](auto &c) { return c.id == colorId; });
        const QColor fill = c == colors.end() ? Qt::white : QColor(c->red, c->green, c->blue); // white: not the host's
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
            wanted << TreeLine(row.depth, row.text, row.hasRows ? open == open_.end() || open->second : -1, row.child,
                               !row.group && !row.child, (row.group ? groups : plies).count(row.id) != 0);
        }
        for (QTreeWidgetItemIterator it(List()); *it; ++it) {
            const QTreeWidgetItem &row = **it;
            int depth = 0;
            for (const QTreeWidgetItem *up = row.parent(); up; up = up->parent())
                ++depth;
            shown << TreeLine(depth, {row.text(0), row.text(1), row.text(2), row.text(3)},
                              row.childCount() ? int(row.isExpanded()) : -1, row.foreground(0).color() == kRed,
                              !static_cast<const LayupTreeItem &>(row).IsGroup() && (row.flags() & Qt::ItemIsEditable),
                              row.isSelected());
        }
        KeepOpenStates();
        Same("tree", wanted, shown);
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
        const auto &items = Sketch()->Rows();
        QStringList wanted, shown;
        std::vector<std::pair<int, int>> rows; // top and height of each row, top first
        int y = plane < 0 && -plane > thickness ? 80 : 20, separator = -1;
        for (size_t i = 0; i < want.stack.size(); ++i) {
            const auto &[ply, copy] = want.stack[i];
            if (!copy && i > 0 && want.stack[i - 1].second) {
                separator = y + labelGap;
                y += 2 * labelGap + rowGap;
            }
            // Truncated pixels: a height that the thickness puts on a whole number may come out one less from the
            // float sums.
            const double exact = (double(want.fullCount) * slider_ + 2) * ply.Thickness() / thickness;
            int height = fixed ? 20 : std::max(2, int(exact * (1 - 1e-6)));
            if (!fixed && i < items.size() && items[i]->Height() == std::max(2, int(exact * (1 + 1e-6))))
                height = items[i]->Height();
            const bool mark = labels && selected.count(ply.Id());
            wanted << SketchLine(QString::asprintf("%.5g %+.3g %d", double(ply.Thickness()), double(ply.Angle()),
                                                   int(want.stack.size() - i)),
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
            shown << SketchLine(item->DataLabel()->text().split(' ', Qt::SkipEmptyParts).join(' '),
                                item->MaterialLabel()->text(),
                                item->Rectangle()->isVisible() ? item->Rectangle()->brush().color().name() : "hidden",
                                item->DataLabel()->isVisible() && item->MaterialLabel()->isVisible(),
                                marks == 2 ? " selected" : marks ? " frame or highlight" : "",
                                data == material ? data.name() : data.name() + "/" + material.name(),
                                item->Frame()->pen().color(), item->Height(), item->Y());
        }
        if (!Same("sketch", wanted, shown))
            return;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Sketch()->Heading(i)->isVisible(), labels && !rows.empty()) << "heading " << i;
        EXPECT_EQ(Sketch()->Separator()->isVisible() ? int(Sketch()->Separator()->line().y1()) : -1, separator)
            << "the separator between the rule's copies and the plies";
        if (rows.empty())
            return;
        CheckPlane(want, plane, thickness, rows, labelGap + rowGap);
        if (!labels)
            return;
        // The data labels' three fields end where the first row's do (measured once for each font and text).
        const QFont font = items[0]->DataLabel()->font();
        const QFontMetrics metrics(font);
        const auto ends = [&metrics, key = font.key() + '\n', this](const QString &label) {
            auto [known, fresh] = fieldEnds_.try_emplace(key + label);
            for (int field = 0, i = 0; fresh && field < 3; ++field) {
                while (i < label.size() && label[i] == ' ')
                    ++i;
                while (i < label.size() && label[i] != ' ')
                    ++i;
                known->second[field] = metrics.horizontalAdvance(label.left(i));
            }
            return known->second;
        };
        const QString first = items[0]->DataLabel()->text();
        const std::array<int, 3> firstEnds = ends(first);
        for (const auto &item : items) {
            const std::array<int, 3> end = ends(item->DataLabel()->text());
            for (int field = 0; field < 3; ++field)
                ASSERT_LT(std::abs(end[field] - firstEnds[field]), metrics.horizontalAdvance(' '))
                    << "field " << field << ": '" << item->DataLabel()->text().toStdString() << "' against '"
                    << first.toStdString() << "'";
        }
    }

    // The reference plane: outside the laminate a line with its text above the top (y 30) or below the bottom (40
    // under it); inside, a line without text in the row the plane's depth falls in, or in the gap before the mirror
    // when it lies on the mid-plane of a drawn symmetric stack; nothing in half view when it lies in the upper half.
    void CheckPlane(const Description &want, float plane, float thickness,
                    const std::vector<std::pair<int, int>> &rows, int gap)
    {
        const double tolerance = thickness > 1e-7 ? thickness * 1e-5 : 1e-7;
        const QGraphicsLineItem *line = Sketch()->PlaneLine();
        const int y = int(line->line().y1());
        QString wanted, shown = line->isVisible() ? QString("line at y %1").arg(y) : "hidden";
        if (line->isVisible() && Sketch()->PlaneText()->isVisible())
            shown += ", text '" + Sketch()->PlaneText()->text() + "'";
        if (HalfShown() && plane < -tolerance - thickness / 2) {
            wanted = "hidden";
        } else if (!(plane < tolerance) || !(plane > -tolerance - thickness)) {
            wanted = QString("line at y %1, text 'Reference plane\noutside laminate\nbottom fiber dist = %2'")
                         .arg(plane < tolerance ? 30 : rows.back().first + rows.back().second + 40)
                         .arg(double(plane));
        } else {
            double depth = -plane;
            size_t row = want.stack.size();
            while (row-- > 1 && want.stack[row].first.Thickness() < depth)
                depth -= want.stack[row].first.Thickness();
            const bool midPlane = plane > -tolerance - thickness / 2 && plane < tolerance - thickness / 2 &&
                                  !HalfShown() && want.stack.front().second && want.stack.size() % 2 == 0;
            // A plane on a ply's edge may fall to either side of a row gap.
            const int shift = midPlane ? gap : viewMode_ == SketchScaleExplodeView ? 10 : 0;
            const int top = rows[row].first - shift, bottom = rows[row].first + rows[row].second + shift;
            wanted = QString("line in %1..%2").arg(top).arg(bottom);
            if (shown == QString("line at y %1").arg(y) && y >= top && y <= bottom)
                shown = wanted;
        }
        EXPECT_EQ(shown.toStdString(), wanted.toStdString()) << "the reference plane at " << plane;
        EXPECT_TRUE(!line->isVisible() || line->line().x1() == Sketch()->Rows()[0]->Rectangle()->pos().x())
            << "the plane's line starts at the plies";
    }

    // Totals of the full stack with nothing selected, the ply's material description with one ply selected (not in
    // Scale View), else nothing.
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
        for (const QAction *a : menu->actions())
            entries << (a->isSeparator() ? "-" : a->menu() ? a->text() + "[" + MenuText(a->menu()) + "]" : a->text());
        return entries.join(", ");
    }

    // Buttons, right-click menu, Undo, paste locations and the view controls for what the selection allows.
    void CheckControls(const Selection &acting)
    {
        LayupActionState can;
        lam_.context.GetLayupManager()->GetActionState(acting, can);
        std::string last;
        const bool undo = lam_.context.GetLaminateManager()->LastCommandName(last);
        const QString undoText = undo ? "Undo " + QString::fromStdString(last) : "Undo";
        const QString top = acting.IsEmpty() ? "Top" : "Above", bottom = acting.IsEmpty() ? "Bottom" : "Below";
        const std::map<QString, bool> enabled{
            {"New", can.canAdd},     {"Modify", can.canModify}, {"Delete", can.canDelete}, {"Cut", can.canCut},
            {"Copy", can.canCopy},   {"Paste", can.canPaste},   {"Group", can.canGroup},   {"Ungroup", can.canUngroup},
            {"Link", can.canLink},   {"Unlink", can.canUnlink}, {"Undo", undo}};
        QStringList wanted, shown;
        for (const auto &[name, command] : kButtons) {
            const auto on = enabled.find(command);
            wanted << QString(name) + (on == enabled.end() || on->second ? " on" : " off");
            shown << QString(name) + (Child<QPushButton>(form_.get(), name)->isEnabled() ? " on" : " off");
        }
        auto *position = Child<QComboBox>(form_.get(), "wPastePositionMenu");
        wanted << QString("count ") + (can.canPaste ? "on" : "off") << "Undo tip '" + undoText + "'"
               << top + "/" + bottom;
        shown << QString("count ") + (Child<QSpinBox>(form_.get(), "wPasteSpinBox")->isEnabled() ? "on" : "off")
              << "Undo tip '" + Child<QPushButton>(form_.get(), "wUndoButton")->toolTip() + "'"
              << position->itemText(0) + "/" + position->itemText(1);

        QStringList menu; // the right-click menu
        const QString paste =
            "Paste[Paste %1, Paste %2, Paste Sym %1, Paste Sym %2, Paste Antisym %1, Paste Antisym %2]";
        for (const auto &[shows, text] : std::initializer_list<std::pair<bool, QString>>{
                 {can.canAdd, "New..."}, {can.canModify, "Modify..."}, {undo && (can.canAdd || can.canModify), "-"},
                 {undo, undoText}, {can.canCut || can.canCopy || can.canPaste, "-"}, {can.canCut, "Cut"},
                 {can.canCopy, "Copy"}, {can.canPaste, paste.arg(top, bottom)}, {can.canGroup, "Group"},
                 {can.canUngroup, "Ungroup"}, {can.canLink, "Link"}, {can.canUnlink, "Unlink"}})
            if (shows)
                menu << text;
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
        wanted << "| " + menu.join(", ") + " |";
        shown << "| " + MenuText(form_->RightClickMenu()) + " |";

        // The stacking rule, half view and view mode.
        const auto views = [](int rule, bool partial, int half, int view, bool slider, int size) {
            return QString::asprintf("rule %d, partial %s %d, view %d, slider %s %d", rule, partial ? "on" : "off",
                                     half, view, slider ? "shown" : "hidden", size);
        };
        const int rule = Rule();
        wanted << views(rule, rule != StackingSimple, HalfShown(), viewMode_, viewMode_ != SketchFeatureView, slider_);
        auto *partial = Child<QComboBox>(form_.get(), "wPartialMenu");
        auto *slider = Child<QSlider>(form_.get(), "wPlySizeSlider");
        shown << views(Child<QComboBox>(form_.get(), "wStackingSeqMenu")->currentIndex(), partial->isEnabled(),
                       partial->currentIndex(), Child<QComboBox>(form_.get(), "wViewMenu")->currentIndex(),
                       !slider->isHidden(), slider->value());
        EXPECT_EQ(shown.join(", ").toStdString(), wanted.join(", ").toStdString()) << "the controls";
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
        static const std::pair<void (A::*)(), int> weighted[] = {
            {&A::PressButton, 12},  {&A::RightClick, 5},   {&A::Clicks, 13},        {&A::TreeKeys, 3},
            {&A::EditRun, 8},       {&A::DoubleClickRow, 4}, {&A::ChangeOption, 7}, {&A::GroupCommand, 7},
            {&A::RareButton, 2},    {&A::UndoRun, 1}};
        static const int total = std::accumulate(std::begin(weighted), std::end(weighted), 0,
                                                 [](int sum, const auto &entry) { return sum + entry.second; });
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

    // A point of a shown row in its material column, where a click never starts an edit.
    QPoint RowPoint(QTreeWidgetItem *row)
    {
        List()->scrollToItem(row);
        return QPoint(List()->header()->sectionViewportPosition(3) + 4, List()->visualItemRect(row).center().y());
    }
    void ClickRow(QTreeWidgetItem *row, Qt::KeyboardModifiers with = Qt::NoModifier)
    {
        Click(List()->viewport(), RowPoint(row), with);
    }
    QPoint SketchPoint(const PlySketch &row)
    {
        return Sketch()->mapFromScene(row.Rectangle()->sceneBoundingRect().center());
    }

    // A click in the sketch (or a double click; it selects plies only, Ctrl toggles one), or one to three on rows
    // shown in the tree (a click selects the row, Ctrl toggles it), now and then one below the rows; with Ctrl or
    // Shift or neither.
    void Clicks()
    {
        const std::vector<LayupTreeItem *> rows = Rows<LayupTreeItem>(true);
        if (rows.empty())
            return Note("no row to click");
        if (Chance(40) && !Sketch()->Rows().empty()) {
            Reached("Sketch click");
            const auto [with, name] = kModifiers[Rand(3)];
            const PlySketch &row = *Sketch()->Rows()[Rand(int(Sketch()->Rows().size()))];
            const bool twice = Chance(25), was = row.IsSelected();
            Note(std::string(twice ? "double " : "") + "click sketch row of ply " + std::to_string(row.Id()) + name);
            Click(Sketch()->viewport(), SketchPoint(row), with, twice);
            if (Sketch()->ViewMode() == SketchScaleView)
                return;
            EXPECT_TRUE(form_->EngineSelection().Groups().empty()) << "a click in the sketch selects plies only";
            EXPECT_TRUE(with != Qt::ControlModifier || row.IsChild() || row.IsSelected() == (was == twice))
                << "a Ctrl-click toggles the ply";
            return;
        }
        Reached("Tree mouse");
        for (int n = 1 + Rand(3); n > 0; --n) {
            const auto [with, name] = kModifiers[Rand(3)];
            LayupTreeItem *row = Pick(rows);
            Note("click tree row " + row->text(0).toStdString() + name);
            const bool was = row->isSelected();
            ClickRow(row, with);
            EXPECT_EQ(row->isSelected(), with != Qt::ControlModifier || !was) << "a click selects, Ctrl toggles";
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
            {Qt::Key_Down, Qt::NoModifier, "Down"},          {Qt::Key_Up, Qt::NoModifier, "Up"},
            {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"}, {Qt::Key_Up, Qt::ShiftModifier, "Shift+Up"},
            {Qt::Key_Home, Qt::NoModifier, "Home"},          {Qt::Key_End, Qt::ShiftModifier, "Shift+End"},
            {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},  {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
            {Qt::Key_Down, Qt::ControlModifier, "Ctrl+Down"}, {Qt::Key_Space, Qt::ControlModifier, "Ctrl+Space"}};
        for (int n = 1 + Rand(3); n > 0; --n) {
            const auto [key, with, name] = Pick(keys);
            Note(std::string("key ") + name + " in the tree");
            const QTreeWidgetItem *current = List()->currentItem();
            Key(List(), key, with);
            EXPECT_TRUE(with != Qt::NoModifier || !List()->currentItem() || List()->currentItem() == current ||
                        List()->selectedItems() == QList<QTreeWidgetItem *>{List()->currentItem()})
                << "a plain key selects the current row alone";
        }
    }

    // A thickness or an angle, good or bad.
    QString Typed(bool thickness)
    {
        const QStringList texts =
            thickness ? QStringList{"0.1", "0.125", "0.2", "0.25", ".3", "2e-1", "1.5", "0", "-0.5", "1e39", "1,5",
                                    "-999999"}
                      : QStringList{"0",   "15",  "-30", "45",   "-90",  "22.5",  "135",
                                    "-200", "360", "400", "-361", "1e39", "-22,5", "-999999"};
        return texts[Rand(int(texts.size()))];
    }

    // One edit, or a run of three to six, of stored plies' cells, opened by F2, each ended by Tab or Shift+Tab, the
    // last by Return, Tab, Shift+Tab, Escape or a click on another row or on the sketch: the editor goes on to the
    // next editable cell in reading order as shown (it stays on the first and the last), a refused value gets its one
    // warning and is typed again in its cell, and every value taken reaches its ply.
    void EditRun()
    {
        std::vector<LayupTreeSimpleItem *> rows = Rows<LayupTreeSimpleItem>(true);
        std::erase_if(rows, [](const LayupTreeSimpleItem *row) { return row->IsChild(); });
        if (rows.empty())
            return Note("nothing to edit");
        const int steps = Chance(50) ? 1 : 3 + Rand(4);
        Reached(steps == 1 ? "Edit" : "Tab run");
        Allow("Edit");
        std::vector<int> ids; // the rows' plies, in reading order: each cell is ids[at / 2], column 1 + at % 2
        for (const LayupTreeSimpleItem *row : rows)
            ids.push_back(row->Id());
        std::vector<PlySimple> want; // the stored plies as the run must leave them
        for (int number = 1; Root().FindPly(number, 0) || number <= Root().CountPlies(); ++number)
            if (const PlySimple *ply = Stored(number))
                want.push_back(*ply);
        int at = Rand(2 * int(ids.size())), refused = 0;
        const size_t boxes = boxesSeen_.size();
        // Offscreen, no window manager gives the form back its focus after a dialog (and processEvents with a time
        // limit would spin on the timers).
        for (int pass = 0; pass < 100 && !form_->isActiveWindow(); ++pass) {
            form_->activateWindow();
            QCoreApplication::processEvents();
        }
        List()->scrollToItem(rows[at / 2]);
        List()->setCurrentItem(rows[at / 2], 1 + at % 2);
        Key(List(), Qt::Key_F2);
        for (int step = 0; step < steps; ++step) {
            const int ply = ids[at / 2], column = 1 + at % 2;
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            auto *row = dynamic_cast<LayupTreeSimpleItem *>(List()->currentItem());
            ASSERT_TRUE(editor && row && row->Id() == ply && List()->currentColumn() == column)
                << "the editor is not on column " << column << " of ply " << ply;
            const QString text = Chance(12) ? Pick(std::vector<QString>{"abc", "0.25x", "0.2.5"}) : Typed(column == 1);
            const int end = step < steps - 1 ? 1 + Rand(2) : Rand(6);
            static const char *const ends[] = {"Return", "Tab", "Shift+Tab", "a click on a row", "Escape",
                                               "a click on the sketch"};
            Note("type '" + text.toStdString() + "' into column " + std::to_string(column) + " of ply " +
                 std::to_string(ply) + ", then " + ends[end]);
            editor->clear();
            GuiTest::TypeText(editor, text);
            QTreeWidgetItem *other = List()->itemAbove(row) ? List()->itemAbove(row) : List()->itemBelow(row);
            if (end == 3 && other)
                Click(List()->viewport(), RowPoint(other));
            else if (end == 5 && !Sketch()->Rows().empty())
                Click(Sketch()->viewport(), SketchPoint(*Sketch()->Rows()[0]));
            else // a click with nothing to click on is a Return
                Key(editor, std::array{Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape,
                                       Qt::Key_Return}[end]);
            QCoreApplication::processEvents();
            const std::optional<double> value = Intended(text);
            const bool taken = end != 4 && Good(column == 1, value);
            refused += end != 4 && !taken;
            PlySimple &target = *std::find_if(want.begin(), want.end(), [ply](auto &p) { return p.Id() == ply; });
            if (taken && column == 1)
                target.SetThickness(float(*value));
            else if (taken)
                target.SetAngle(FoldAngle(float(*value)));
            if ((end == 1 || end == 2) && taken)
                at = std::clamp(at + (end == 1 ? 1 : -1), 0, 2 * int(ids.size()) - 1);
        }
        CloseEditor(); // Tab opened the next cell's, a refusal the cell's own
        EXPECT_EQ(boxesSeen_.size() - boxes, size_t(refused)) << "one warning for each refused value";
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
            if (auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
                editor && List()->isAncestorOf(editor))
                Key(editor, Qt::Key_Escape);
        }
    }

    // A double click on a shown row, as often on a group or link row (its id's only one) as on a ply's: the group
    // row opens or closes, as by a click and an arrow key, and every rebuild keeps its state; a stored ply's row
    // opens the ply data dialog, a link's ply shows a warning.
    void DoubleClickRow()
    {
        std::map<int, int> groupRows; // by id
        for (const LayupTreeItem *row : Rows<LayupTreeItem>())
            groupRows[row->IsGroup() ? row->Id() : -1] += 1;
        std::vector<LayupTreeItem *> groups = Rows<LayupTreeItem>(true), plies = groups;
        std::erase_if(groups,
                      [&](auto *row) { return !row->IsGroup() || !row->childCount() || groupRows[row->Id()] > 1; });
        std::erase_if(plies, [](auto *row) { return row->IsGroup(); });
        const std::vector<LayupTreeItem *> &rows = plies.empty() || (!groups.empty() && Chance(50)) ? groups : plies;
        if (rows.empty())
            return Note("no row to double click");
        LayupTreeItem *row = Pick(rows);
        const bool open = row->isExpanded();
        Note(std::string(!row->IsGroup() ? "double click ply row " : open ? "close " : "open ") +
             row->text(0).toStdString());
        if (row->IsGroup()) {
            Reached("Open or close");
            open_[row->Id()] = !open;
            if (Chance(50)) {
                ClickRow(row);
                return Key(List(), open ? Qt::Key_Left : Qt::Key_Right);
            }
        } else {
            Reached("Double click");
            Allow("Modify");
            if (Stored(row->Id()))
                ArmPlyData({row->Id()});
        }
        GuiTest::DoubleClick(List()->viewport(), RowPoint(row));
    }

    // The dialog (of class className) that the coming action opens, and what to do with it.
    void Expect(const char *className, std::function<void(QWidget *)> drive)
    {
        pendingClass_ = className;
        pending_ = std::move(drive);
    }

    // Enters random values by fill, then OK or Cancel, up to tries times; whether OK closed the dialog (Cancel closes
    // it when it is still open).
    bool Answer(QDialog *dialog, int tries, const std::function<void()> &fill)
    {
        for (int attempt = 0; attempt < tries && dialog->isVisible(); ++attempt) {
            fill();
            FormDriver::Click(dialog, Chance(80) ? "wDoneButton" : "wCancelButton");
        }
        if (!dialog->isVisible())
            return dialog->result() == QDialog::Accepted;
        FormDriver::Click(dialog, "wCancelButton");
        return false;
    }

    // The ply data dialog about to open for these stored plies (none: a new ply). A typed value out of range is
    // refused, the plies modified take the typed values, Cancel changes nothing.
    void ArmPlyData(const std::vector<int> &plies)
    {
        Expect("PlyDataForm", [this, plies, before = PlyGroup(Root())](QWidget *modal) {
            auto *dialog = static_cast<PlyDataForm *>(modal);
            const auto choose = [this, dialog](const char *menu) {
                Choose(dialog, menu, Rand(Child<QComboBox>(dialog, menu)->count()));
            };
            std::optional<double> thickness, angle;
            const bool accepted = Answer(dialog, 3, [&] {
                if (Chance(30)) {
                    lam_.store.QueuePick(std::vector{301, 302, 303, 999}[Rand(4)], Rand(5) == 0);
                    FormDriver::Click(dialog, "wMaterialButton");
                } else if (Chance(30)) {
                    choose("wMaterialMenu");
                }
                for (auto [edit, menu, value] : {std::tuple("wThicknessEdit", "wThicknessMenu", &thickness),
                                                 std::tuple("wAngleEdit", "wAngleMenu", &angle)}) {
                    if (Chance(50)) {
                        const QString text = Typed(value == &thickness);
                        SetText(dialog, edit, "");
                        GuiTest::TypeText(Child(dialog, edit), text);
                        *value = Intended(text);
                    } else if (Chance(40)) {
                        choose(menu);
                        value->reset();
                    }
                }
                if (Chance(30))
                    choose("wColorMenu");
            });
            EXPECT_FALSE(accepted && ((thickness && !Good(true, thickness)) || (angle && !Good(false, angle))))
                << "a typed value out of range was accepted";
            EXPECT_TRUE(accepted || Root().IsEqual(before)) << "a cancelled ply data dialog changes nothing";
            for (int number : accepted ? plies : std::vector<int>{}) {
                const PlySimple &ply = *Stored(number);
                EXPECT_TRUE(!thickness || !ValuesDiffer(ply.Thickness(), float(*thickness), kPlyTolerance));
                EXPECT_TRUE(!angle || !ValuesDiffer(ply.Angle(), FoldAngle(float(*angle)), kPlyTolerance));
            }
        });
    }

    // The properties dialog about to open.
    void ArmProperties()
    {
        Expect("ModelerForm", [this](QWidget *modal) {
            auto *dialog = static_cast<ModelerForm *>(modal);
            std::optional<double> damping;
            const bool accepted = Answer(dialog, 2, [&] {
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
            });
            EXPECT_TRUE(!accepted || !damping || lam_.GetLaminate().Damping() == *damping) << "the damping typed";
        });
    }

    // Does act, the command of a button or a right-click entry, ready for what it opens or shows; then checks what
    // Help and Print must have done beyond the views.
    void Command(const QString &control, const std::function<void()> &act)
    {
        const QString command = CommandOf(control);
        Allow(command);
        std::vector<int> stored = form_->EngineSelection().plies;
        std::erase_if(stored, [this](int number) { return !Stored(number); });
        if (command == "New") {
            ArmPlyData({});
        } else if (command == "Modify" && !stored.empty()) {
            ArmPlyData(stored);
        } else if (command == "Properties") {
            ArmProperties();
        } else if (command == "Materials") {
            lam_.store.QueuePick(std::vector{301, 302, 303}[Rand(3)], Rand(4) == 0);
        } else if (command == "Help" && (helpFails_ = Chance(30))) {
            allowed_ << "Help System Error";
        } else if (command == "Print") {
            const int how = Rand(10);
            printTo_ = how < 6 ? printDir_.filePath("sketch.pdf") : how < 8 ? QString() : "/nonexistent/sketch.pdf";
            if (how >= 8)
                allowed_ << "Printing Problem";
        }
        const std::vector<int> &groups = form_->EngineSelection().Groups();
        Reached(command == "Ungroup" && !groups.empty() && LinksTo(groups.front()) ? "Ungroup linked"
                                                                                    : command.toStdString().c_str());
        const size_t boxes = boxesSeen_.size();
        act();
        if (command == "Help") {
            EXPECT_EQ(helpOpened_, std::vector<std::string>{std::string(HELP_DIR) + "/Create_Modify_Lam.htm"})
                << "Help opens the dialog's page";
            EXPECT_EQ(std::count_if(boxesSeen_.begin() + boxes, boxesSeen_.end(),
                                    [](const auto &box) { return box.first == "Help System Error"; }),
                      helpFails_ ? 1 : 0)
                << "one box when the page does not open";
            helpOpened_.clear();
        } else if (command == "Print" && printTo_ == printDir_.filePath("sketch.pdf")) {
            EXPECT_GT(QFileInfo(printTo_).size(), 0) << "the sketch was printed to " << printTo_.toStdString();
            QFile::remove(printTo_);
        }
    }

    // New, Paste and Link are left alone in a large laminate.
    bool Avoided(const QString &control)
    {
        return Large() && QStringList{"New", "Paste", "Link"}.contains(CommandOf(control));
    }

    void Press(const char *name)
    {
        auto *button = Child<QPushButton>(form_.get(), name);
        if (!button->isEnabled())
            return Note(std::string(name) + " is off");
        Note(std::string("press ") + name);
        Command(name, [&] {
            autoGrouping_ = button->objectName() == "wAutoGroupsButton";
            if (autoGrouping_ && Chance(50))
                QTimer::singleShot(0, form_.get(), [this] {
                    if (auto *progress = form_->findChild<QProgressDialog *>("progress"))
                        progress->cancel();
                });
            button->click();
            autoGrouping_ = false;
        });
        if (Rule() == StackingSimple)
            half_ = false; // the dialog goes back to "Full" for a rule that repeats nothing
    }

    // A button on, often Properties: its stale Undo shows only when the reference plane stays where it was. OK,
    // Cancel, Help and Print are rare.
    void PressButton()
    {
        std::vector<const char *> enabled;
        for (const auto &[name, command] : kButtons)
            if (Child<QPushButton>(form_.get(), name)->isEnabled() && !Avoided(name) &&
                !QStringList{"OK", "Cancel", "Help", "Print"}.contains(command))
                enabled.push_back(name);
        Press(Chance(15) ? "wLamOptionButton" : Pick(enabled));
    }

    // OK, Cancel, Escape, Apply, Print or Help; the session opens the dialog again after it closed (or a new one, as
    // the next request would).
    void RareButton()
    {
        const int how = Rand(8); // Print and Help twice as often as each of the others
        if (how != 2)
            return Press(std::array{"wOkButton", "wCancelButton", "", "wApplyButton", "wPrintButton", "wHelpButton",
                                    "wPrintButton", "wHelpButton"}[how]);
        Note("Escape");
        Reached("Escape");
        CloseEditor(); // the first Escape would close an open cell's editor
        QWidget *focus = QApplication::focusWidget();
        Key(focus && form_->isAncestorOf(focus) ? focus : form_.get(), Qt::Key_Escape);
        EXPECT_FALSE(form_->isVisible()) << "Escape closes the dialog";
    }

    // A command by its button, or now and then by its right-click entry.
    void Do(const QString &command)
    {
        for (QAction *action : form_->RightClickMenu()->actions())
            if (action->text() == command && !action->menu() && Chance(30))
                return Trigger(action);
        for (const auto &[button, name] : kButtons)
            if (command == name)
                return Press(button);
    }

    // A right click in the tree (on a row, which it selects first) or in the sketch pops the menu up; an entry is
    // chosen, or none.
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
        QAction *entry = Pick(entries);
        if (!entry->menu())
            return Trigger(entry);
        const QList<QAction *> inner = entry->menu()->actions();
        Trigger(inner[Rand(int(inner.size()))], entry->text());
    }

    // Chooses a right-click entry (of the submenu parent).
    void Trigger(QAction *entry, const QString &parent = {})
    {
        const QString text = entry->text();
        Note("right-click entry " + text.toStdString());
        Reached(parent == "Paste" ? "Paste entry" : "Right click");
        Command(parent == "Material" && text != "Select..." ? "Material" : parent == "Color" ? "Color" : text,
                [entry] { entry->trigger(); });
    }

    // The paste count, the ply size or one of the menus.
    void ChangeOption()
    {
        auto *slider = Child<QSlider>(form_.get(), "wPlySizeSlider");
        if (Chance(12)) {
            auto *count = Child<QSpinBox>(form_.get(), "wPasteSpinBox");
            count->setValue(1 + Rand(Large() ? 1 : 3));
            return Note("paste count " + std::to_string(count->value()));
        }
        if (!slider->isHidden() && Chance(25)) {
            Reached("Slider");
            slider_ = 1 + Rand(200);
            Note("ply size " + std::to_string(slider_));
            return slider->setValue(slider_);
        }
        const std::string menu = std::vector{"wStackingSeqMenu", "wStackingSeqMenu", "wPartialMenu", "wViewMenu",
                                             "wPasteMenu", "wPastePositionMenu"}[Rand(6)];
        auto *combo = Child<QComboBox>(form_.get(), menu.c_str());
        const int index = Rand(combo->count()), current = Rule();
        // Now and then a rule whose full stack passes the limit (lowered for it): one warning naming both numbers,
        // and the rule stays.
        const int stacked =
            2 * Root().CountPlies() - (index == StackingSymmetricWithCore || index == StackingRepeatWithCore);
        const int limit = menu == "wStackingSeqMenu" && index != StackingSimple && index != current && stacked > 1 &&
                                  Chance(40)
                              ? std::max(1, stacked - 1 - Rand(3))
                              : 0;
        Note("choose " + menu + " " + std::to_string(index) +
             (limit ? " over a limit of " + std::to_string(limit) : std::string()));
        if (!combo->isEnabled())
            return;
        if (menu == "wPartialMenu")
            half_ = index == 1;
        if (menu == "wViewMenu")
            viewMode_ = index;
        if (menu == "wPartialMenu" || menu == "wViewMenu" || menu == "wStackingSeqMenu")
            Reached(menu == "wPartialMenu" ? "Half"
                    : menu == "wViewMenu"  ? "View"
                    : limit                ? "Stacking refused"
                                           : "Stacking");
        if (limit)
            allowed_ << "Stacking Sequence Error";
        SetStackedPlyLimit(limit);
        const size_t boxes = boxesSeen_.size();
        Choose(form_.get(), menu.c_str(), index);
        SetStackedPlyLimit(0);
        if (!limit)
            return;
        ASSERT_EQ(boxesSeen_.size(), boxes + 1) << "one warning";
        EXPECT_EQ(boxesSeen_.back().second,
                  QString("The full stack would have %1 plies, more than the %2 a laminate may have.")
                      .arg(stacked)
                      .arg(limit));
        EXPECT_EQ(Rule(), current);
    }

    // A plain group (often one with links to it) or a link, selected by a click, then Ungroup or Unlink. Or two
    // top-level groups (at most one a link) whose plies repeat one another as a link would, selected by clicks, then
    // Link; without such a pair the steps towards one: group plies, copy a group, paste it (a link to it), unlink the
    // link (a group like it).
    void GroupCommand()
    {
        const std::vector<const PlyGroupBase *> groups = TopGroups();
        if (Rand(7) < 3) {
            if (groups.empty())
                return Note("no group");
            const PlyGroupBase *group = Pick(groups);
            if (Chance(60))
                for (const PlyGroupBase *g : groups)
                    if (LinksTo(g->Id()) && !dynamic_cast<const PlyGroupLink *>(g))
                        group = g;
            ClickGroup(group->Id());
            return plan_.push_back([this, link = bool(dynamic_cast<const PlyGroupLink *>(group))] {
                Do(link ? "Unlink" : "Ungroup");
            });
        }
        for (size_t a = 0; a < groups.size(); ++a)
            for (size_t b = a + 1; b < groups.size(); ++b)
                if (Match(*groups[a], *groups[b])) {
                    ClickGroup(groups[a]->Id());
                    ClickGroup(groups[b]->Id(), Qt::ControlModifier);
                    return plan_.push_back([this] { Do("Link"); });
                }
        for (const PlyGroupBase *group : groups)
            if (dynamic_cast<const PlyGroupLink *>(group)) {
                ClickGroup(group->Id());
                return plan_.push_back([this] { Do("Unlink"); });
            }
        if (!groups.empty() && !Large()) {
            ClickGroup(Pick(groups)->Id());
            plan_.push_back([this] { Do("Copy"); });
            return plan_.push_back([this] { Do("Paste"); });
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
        plan_.push_back([this] { Do("Group"); });
    }

    std::vector<const PlyGroupBase *> TopGroups()
    {
        std::vector<const PlyGroupBase *> groups;
        for (auto it = Root().GetLayup().ConstBegin(); it != Root().GetLayup().ConstEnd(); ++it)
            if (auto *group = dynamic_cast<const PlyGroupBase *>(it->Get()))
                groups.push_back(group);
        return groups;
    }

    // The top-level links to group id.
    int LinksTo(int id)
    {
        int links = 0;
        for (const PlyGroupBase *group : TopGroups())
            if (auto *link = dynamic_cast<const PlyGroupLink *>(group))
                links += link->TargetGroupId() == id;
        return links;
    }

    static bool Match(const PlyGroupBase &a, const PlyGroupBase &b)
    {
        const auto *la = dynamic_cast<const PlyGroupLink *>(&a), *lb = dynamic_cast<const PlyGroupLink *>(&b);
        if ((la && lb) || (la && la->TargetGroupId() == b.Id()) || (lb && lb->TargetGroupId() == a.Id()))
            return false; // two links, or already linked
        std::vector<PlySimple> pa, pb;
        a.CollectPlies(pa);
        b.CollectPlies(pb);
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
        return !pa.empty() && pa.size() == pb.size() && (same(false, 1) || same(true, 1) || same(true, -1));
    }

    // Clicks the top-level row of group id.
    void ClickGroup(int id, Qt::KeyboardModifiers with = Qt::NoModifier)
    {
        Note("click group row " + std::to_string(id) + (with == Qt::ControlModifier ? " with Ctrl" : ""));
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            if (auto *row = static_cast<LayupTreeItem *>(List()->topLevelItem(i)); row->IsGroup() && row->Id() == id)
                return ClickRow(row, with);
        ADD_FAILURE() << "no row for group " << id;
    }

    // Undo pressed again and again, each press an action, or at once until the history is empty.
    void UndoRun()
    {
        if (Chance(50)) {
            Note("undo run");
            for (int n = 3 + Rand(8); n > 0; --n)
                plan_.push_back([this] { Press("wUndoButton"); });
            return;
        }
        for (int n = 0; n < 50 && Child<QPushButton>(form_.get(), "wUndoButton")->isEnabled(); ++n) {
            Press("wUndoButton");
            KeepOpenStates(); // each rebuild keeps the one before's
        }
    }

    std::mt19937 random_;
    ScopedEnv env_;
    LaminateContext lam_;
    std::unique_ptr<LayupForm> form_;
    QTimer boxes_, dialogs_;
    std::vector<std::pair<QString, QString>> boxesSeen_;
    QStringList allowed_;
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
    std::map<QString, std::array<int, 3>> fieldEnds_; // of the sketch's data labels, by font and text
    QTemporaryDir printDir_;
    QString printTo_;
    std::vector<std::string> helpOpened_;
    bool helpFails_ = false;
};

TEST(LayupRandomTest, TheDialogShowsWhatTheLaminateHolds)
{
    const auto env = [](const char *name, int fallback) {
        const char *text = std::getenv(name);
        return text && *text ? std::atoi(text) : fallback;
    };
    const unsigned seed = unsigned(env("CORVANE_RANDOM_SEED", 6));
    const int actions = env("CORVANE_RANDOM_ACTIONS", 2000);
    SCOPED_TRACE("CORVANE_RANDOM_SEED=" + std::to_string(seed) + " CORVANE_RANDOM_ACTIONS=" + std::to_string(actions));
    RandomSession(seed).Run(actions);
}

} // namespace
