#include "gui/forms/layupform.h"

#include "core/laminate.h"
#include "core/selection.h"
#include "gui/displayhelp.h"
#include "gui/engines/layupformengine.h"
#include "gui/forms/keyboardkeeper.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/forms/warningbox.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreedelegate.h"
#include "gui/views/layuptreeitem.h"
#include "host/appcontext.h"
#include "ui_layupformbase.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QMenu>
#include <QProgressDialog>
#include <QScrollBar>

#include <deque>
#include <iterator>
#include <map>

namespace {

// A text that reaches the dialog at run time (from the engine or the host).
QString Translated(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("LayupForm", text, comment);
}

// A host name as a menu entry: "&" would otherwise mark a shortcut.
QString EntryText(const char *name) { return QString::fromLatin1(name).replace('&', QStringLiteral("&&")); }

QAction *AddEntry(QMenu *menu, const QString &text, int id)
{
    QAction *action = menu->addAction(text);
    action->setData(id);
    return action;
}

// The paste submenu's entries: what is pasted is read back from the id.
enum PasteId { PasteSymmetric = 1, PasteAntisymmetric = 2, PasteBelow = 4 };

} // namespace

struct LayupForm::Impl
{
    explicit Impl(Laminate &current) : laminate(current) {}

    std::unique_ptr<LayupFormEngine> engine;
    QGraphicsScene canvas{0, 0, 1000, 3000};
    LayupSketcher *sketch = nullptr;
    std::unique_ptr<LayupTree> tree;
    QMenu *rightMenu = nullptr;
    QMenu *pasteMenu = nullptr;
    QMenu *materialMenu = nullptr;
    QMenu *colorMenu = nullptr;
    bool clipboardSeparator = false;
    Laminate &laminate;
    bool unusedAgain = false; // where the buttons write outside Exec
    bool *again = &unusedAgain;
    bool firstExecution = true;
    // The host names behind the material and colour entries, by entry id.
    std::map<int, std::string> materialNames;
    std::map<int, std::string> colorNames;
    // Tree edits committed and not yet taken up, oldest first.
    struct TreeEdit
    {
        int ply;
        int column;
        QString text;
    };
    std::deque<TreeEdit> treeEdits;
    bool treeEditRefused = false;
};

LayupForm::LayupForm(QWidget *parent, AppContext *context, bool create)
    : LayupFormBase(parent, "Layup", true), impl_(std::make_unique<Impl>(context->GetLaminate()))
{
    Ui::LayupFormBase &u = *ui_;
    impl_->engine = std::make_unique<LayupFormEngine>(this, context);
    new KeyboardKeeper(this);
    impl_->sketch = new LayupSketcher(&impl_->canvas, context->GetColorManager(), context->GetMaterialList(),
                                      u.wCanvasLayout);
    u.wCanvasLayoutLayout->addWidget(impl_->sketch, 1);
    u.wCanvasViewNotUsed->hide();
    impl_->sketch->Attach(this);
    impl_->tree = std::make_unique<LayupTree>(u.wLamTreeList, context->GetMaterialList());
    impl_->tree->Attach(this);
    // The tree is rebuilt after an accepted edit: the edit's editor must be
    // gone by then, so edits are taken up from the event loop, and before any
    // further input (see eventFilter).
    connect(impl_->tree->Delegate(), &LayupTreeDelegate::EditCommitted, this,
            [this](int ply, int column, const QString &text) {
                impl_->treeEdits.push_back({ply, column, text});
                QMetaObject::invokeMethod(this, &LayupForm::TakeTreeEdits, Qt::QueuedConnection);
            });
    qApp->installEventFilter(this);
    u.wLamTreeList->setRootIsDecorated(true);
    impl_->sketch->SetViewMode(0);
    u.wPlySizeSlider->hide();
    u.wImportButton->hide();
    u.wExportButton->hide();
    setWindowTitle(create ? tr("Create Laminate", "formTitle") : tr("Modify Laminate", "formTitle"));

    impl_->rightMenu = new QMenu(this);
    impl_->pasteMenu = new QMenu(tr("Paste", "RightClickMenu"), this);
    impl_->materialMenu = new QMenu(tr("Material", "RightClickMenu"), this);
    impl_->colorMenu = new QMenu(tr("Color", "RightClickMenu"), this);
    connect(impl_->pasteMenu, &QMenu::triggered, this,
            [this](QAction *action) { RightPasteMenuActivated(action->data().toInt()); });
    connect(impl_->materialMenu, &QMenu::triggered, this,
            [this](QAction *action) { RightMatMenuActivated(action->data().toInt()); });
    connect(impl_->colorMenu, &QMenu::triggered, this,
            [this](QAction *action) { RightColorMenuActivated(action->data().toInt()); });

    u.wSplitter->setStretchFactor(0, 2);
    u.wSplitter->setStretchFactor(1, 3);
    u.wSplitter->setSizes({440, 560});
    u.wLamTreeList->setColumnWidth(0, 90);
    u.wLamTreeList->setColumnWidth(1, 80);
    u.wLamTreeList->setColumnWidth(2, 80);
}

LayupForm::~LayupForm()
{
    // The sketch's items live on the canvas, which goes with the Impl.
    delete impl_->sketch;
}

LayupSketcher *LayupForm::Sketch() const { return impl_->sketch; }
LayupTree *LayupForm::Tree() const { return impl_->tree.get(); }
QMenu *LayupForm::RightClickMenu() const { return impl_->rightMenu; }
const Selection &LayupForm::EngineSelection() const { return impl_->engine->CurrentSelection(); }

int LayupForm::Exec(bool *again)
{
    if (impl_->firstExecution) {
        impl_->engine->Initialize();
        impl_->firstExecution = false;
    } else {
        Refresh(true, true);
    }
    impl_->again = again ? again : &impl_->unusedAgain;
    *impl_->again = false;
    return exec() == QDialog::Accepted ? 1 : 0;
}

std::unique_ptr<ModelerFormView> LayupForm::CreateModelerForm(AppContext *context)
{
    return std::make_unique<ModelerForm>(this, context);
}

std::unique_ptr<PlyDataFormView> LayupForm::CreatePlyDataForm(AppContext *context)
{
    return std::make_unique<PlyDataForm>(this, context);
}

void LayupForm::ShowWarningArgs(const char *title, const char *text, int first, int second)
{
    ShowFormWarning(this, title, text, first, second);
}

void LayupForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void LayupForm::ApplyViewMode() { impl_->sketch->SetViewMode(ui_->wViewMenu->currentIndex()); }

void LayupForm::Refresh(bool layupChanged, bool redraw)
{
    const PlyGroup &root = impl_->laminate.RootGroup();
    if (layupChanged) {
        if (redraw)
            impl_->sketch->Clear();
        impl_->tree->Clear();
        const int rule = root.GetLayup().Stacking();
        ShowStackingRule(rule >= StackingFullSymmetric && rule <= StackingRepeatWithCore ? rule : StackingSimple);
        if (redraw)
            impl_->sketch->Show(root.GetLayup());
        impl_->tree->Show(root.GetLayup());
        ClearSelection();
    }
    if (redraw) {
        const float thickness = root.TotalThickness();
        impl_->sketch->SetReferencePlane(impl_->laminate.ReferencePlaneLocation(thickness));
        impl_->sketch->Draw(root.CountPliesExpanded() * ui_->wPlySizeSlider->value(), thickness);
        ShowSketchFromLeft();
    }
}

void LayupForm::ShowSketchFromLeft()
{
    // The drawing grows to the right; its data columns are on the left.
    QScrollBar *across = impl_->sketch->horizontalScrollBar();
    across->setValue(across->minimum());
}

void LayupForm::showEvent(QShowEvent *event)
{
    LayupFormBase::showEvent(event);
    // Laying the shown dialog out scrolls the sketch to where its centre was.
    ShowSketchFromLeft();
}

void LayupForm::ClearSelection()
{
    impl_->sketch->SetSelectedPlies({});
    impl_->tree->SetSelectedPlies({});
    impl_->tree->SetSelectedGroups({});
    impl_->engine->SetSelection(Selection());
}

void LayupForm::SetViewSelection(const Selection &selection)
{
    impl_->sketch->SetSelectedPlies(selection.plies);
    impl_->tree->SetSelectedPlies(selection.plies);
    impl_->tree->SetSelectedGroups(selection.Groups());
}

void LayupForm::UpdateInfoBox(int plies, double thickness, const std::string &lengthUnit, bool show)
{
    if (!show) {
        impl_->sketch->SetInfoVisible(false);
        return;
    }
    QString text;
    if (plies >= 0)
        text = tr("Number of plies: ", "infoBox") + QString::number(plies) + "\n" + tr("Total thickness: ", "infoBox") +
               QString::number(thickness, 'g', 6) + " " + Translated(lengthUnit.c_str(), "infoBox-lengthUnits");
    impl_->sketch->ShowInfo(text);
    impl_->sketch->SetInfoVisible(true);
}

void LayupForm::EnableCommand(QWidget *control, bool on, const QString &entry, void (LayupForm::*slot)(),
                              bool clipboard)
{
    control->setEnabled(on);
    if (!on)
        return;
    // Cut, Copy and Paste follow one separator in the right-click menu.
    if (clipboard && !impl_->clipboardSeparator) {
        impl_->rightMenu->addSeparator();
        impl_->clipboardSeparator = true;
    }
    if (slot)
        connect(impl_->rightMenu->addAction(entry), &QAction::triggered, this, slot);
    else
        impl_->rightMenu->addMenu(impl_->pasteMenu);
}

void LayupForm::EnableNew(bool on)
{
    EnableCommand(ui_->wNewButton, on, tr("New...", "Command-undo"), &LayupForm::NewButtonClick);
    if (on) {
        ui_->wPasteMenu->setEnabled(true);
        ui_->wPastePositionMenu->setEnabled(true);
    }
}

void LayupForm::EnableModify(bool on)
{
    EnableCommand(ui_->wModifyButton, on, tr("Modify...", "Command-undo"), &LayupForm::ModifyButtonClick);
}

void LayupForm::EnableDelete(bool on) { ui_->wDeleteButton->setEnabled(on); }

void LayupForm::EnableCut(bool on)
{
    EnableCommand(ui_->wCutButton, on, tr("Cut", "RightClickMenu"), &LayupForm::CutButtonClick, true);
}

void LayupForm::EnableCopy(bool on)
{
    EnableCommand(ui_->wCopyButton, on, tr("Copy", "RightClickMenu"), &LayupForm::CopyButtonClick, true);
}

void LayupForm::EnablePaste(bool on)
{
    ui_->wPasteSpinBox->setEnabled(on);
    EnableCommand(ui_->wPasteButton, on, QString(), nullptr, true); // the paste submenu
    if (on) {
        ui_->wPasteMenu->setEnabled(true);
        ui_->wPastePositionMenu->setEnabled(true);
    }
}

void LayupForm::EnableGroup(bool on)
{
    EnableCommand(ui_->wIndentToolButton, on, tr("Group", "RightClickMenu"), &LayupForm::IndentButtonClick);
}

void LayupForm::EnableUngroup(bool on)
{
    EnableCommand(ui_->wOutdentToolButton, on, tr("Ungroup", "RightClickMenu"), &LayupForm::OutdentButtonClick);
}

void LayupForm::EnableLink(bool on)
{
    EnableCommand(ui_->wLinkToolButton, on, tr("Link", "RightClickMenu"), &LayupForm::LinkButtonClick);
}

void LayupForm::EnableUnlink(bool on)
{
    EnableCommand(ui_->wUnlinkToolButton, on, tr("Unlink", "RightClickMenu"), &LayupForm::UnlinkButtonClick);
}

void LayupForm::SetUndo(bool on, const char *commandName)
{
    ui_->wUndoButton->setEnabled(on);
    if (!on) {
        ui_->wUndoButton->setToolTip(tr("Undo", "UndoButton"));
        return;
    }
    const QString text = tr("Undo ", "RightClickMenu") + Translated(commandName);
    ui_->wUndoButton->setToolTip(text);
    if (!impl_->rightMenu->isEmpty())
        impl_->rightMenu->addSeparator();
    connect(impl_->rightMenu->addAction(text), &QAction::triggered, this, &LayupForm::UndoButtonClick);
}

void LayupForm::SetPasteLocations(bool ends, bool pastePossible)
{
    QComboBox *location = ui_->wPastePositionMenu;
    location->setItemText(0, ends ? tr("Top", "PasteLocation") : tr("Above", "PasteLocation"));
    location->setItemText(1, ends ? tr("Bottom", "PasteLocation") : tr("Below", "PasteLocation"));
    if (!pastePossible)
        return;
    struct Text
    {
        const char *source;
        const char *comment;
    };
    static const Text endTexts[] = {
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Top", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Bottom", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Sym Top", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Sym Bottom", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Antisym Top", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Antisym Bottom", "PasteMenu"),
    };
    static const Text selectionTexts[] = {
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Above", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Below", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Sym Above", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Sym Below", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Antisym Above", "PasteMenu"),
        QT_TRANSLATE_NOOP3("LayupForm", "Paste Antisym Below", "PasteMenu"),
    };
    static const int ids[] = {0, PasteBelow, PasteSymmetric, PasteSymmetric | PasteBelow, PasteAntisymmetric,
                              PasteAntisymmetric | PasteBelow};
    impl_->pasteMenu->clear();
    for (size_t i = 0; i < std::size(ids); ++i) {
        const auto &text = ends ? endTexts[i] : selectionTexts[i];
        AddEntry(impl_->pasteMenu, Translated(text.source, text.comment), ids[i]);
    }
}

void LayupForm::ClearMenus()
{
    impl_->rightMenu->clear();
    impl_->pasteMenu->clear();
    impl_->materialMenu->clear();
    impl_->colorMenu->clear();
    impl_->materialNames.clear();
    impl_->colorNames.clear();
    impl_->clipboardSeparator = false;
}

void LayupForm::BuildMaterialMenu(int step, const char *text)
{
    QMenu *menu = impl_->rightMenu;
    if (step == 0) {
        const QList<QAction *> entries = menu->actions();
        if (entries.size() > 7)
            menu->insertSeparator(entries[7]);
        else
            menu->addSeparator();
    } else if (step == 1) {
        const int id = 2 * (static_cast<int>(impl_->materialNames.size()) + 1);
        impl_->materialNames[id] = text;
        AddEntry(impl_->materialMenu, EntryText(text), id);
    } else if (step == 2) {
        AddEntry(impl_->materialMenu, tr("Select...", "MaterialMenu"), 1);
        menu->addMenu(impl_->materialMenu);
    }
}

void LayupForm::BuildColorMenu(int step, const char *text)
{
    if (step == 0) {
        const int id = static_cast<int>(impl_->colorNames.size());
        impl_->colorNames[id] = text;
        AddEntry(impl_->colorMenu, EntryText(text), id);
    } else if (step == 1) {
        impl_->rightMenu->addMenu(impl_->colorMenu);
    }
}

void LayupForm::Update(Subject *subject, int hint)
{
    LayupShow *sketch = impl_->sketch;
    LayupShow *tree = impl_->tree.get();
    const bool fromSketch = subject == static_cast<Subject *>(sketch);
    if (!fromSketch && subject != static_cast<Subject *>(tree))
        return;
    if (hint == LayupShowRightClick) {
        if (fromSketch) {
            int x = 0;
            int y = 0;
            impl_->sketch->GetClickPosition(&x, &y);
            ShowRightClickMenu(QPoint(x, y));
        }
        return;
    }
    if (hint != LayupShowSelectionChanged)
        return;
    LayupShow *source = fromSketch ? sketch : tree;
    (fromSketch ? tree : sketch)->SetSelectedPlies(source->GetSelectedPlies());
    if (fromSketch)
        impl_->tree->SetSelectedGroups({});
    Selection selection;
    selection.plies = tree->GetSelectedPlies();
    selection.SetGroups(tree->GetSelectedGroups());
    impl_->engine->SetSelection(selection);
}

void LayupForm::ShowStackingRule(int rule)
{
    ui_->wPartialMenu->setEnabled(rule != StackingSimple);
    if (rule == StackingSimple)
        ui_->wPartialMenu->setCurrentIndex(0);
    impl_->sketch->SetHalfView(ui_->wPartialMenu->currentIndex() == 1);
    ui_->wStackingSeqMenu->setCurrentIndex(rule);
}

void LayupForm::ReadPasteOptions(bool *symmetric, bool *antisymmetric, bool *below, int *count) const
{
    const int method = ui_->wPasteMenu->currentIndex();
    *symmetric = method == 1 || method == 2;
    *antisymmetric = method == 2;
    *below = ui_->wPastePositionMenu->currentIndex() == 1;
    *count = ui_->wPasteSpinBox->value();
}

void LayupForm::ShowRightClickMenu(const QPoint &position)
{
    if (!impl_->rightMenu->isEmpty())
        impl_->rightMenu->popup(position);
}

void LayupForm::AutoGroupsButtonClick()
{
    QProgressDialog progress(tr("Analyzing plies...", "AutoGroupWait"), tr("Abort", "AutoGroupWait"), 0, 1000, this);
    progress.setObjectName("progress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    float done = 0.0f;
    bool finished = impl_->engine->AutoGroup(&done);
    while (!finished) {
        progress.setValue(static_cast<int>(done * 1000));
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) {
            impl_->engine->AutoGroupFinish();
            break;
        }
        finished = impl_->engine->AutoGroup(&done);
    }
    progress.setValue(1000);
    progress.close();
}

void LayupForm::ApplyButtonClick()
{
    if (!impl_->engine->Apply())
        return;
    *impl_->again = true;
    accept();
}

void LayupForm::CancelButtonClick()
{
    if (!impl_->engine->Cancel())
        return;
    *impl_->again = false;
    reject();
}

void LayupForm::OkButtonClick()
{
    if (!impl_->engine->Ok())
        return;
    *impl_->again = false;
    accept();
}

void LayupForm::CopyButtonClick() { impl_->engine->Copy(); }
void LayupForm::CutButtonClick() { impl_->engine->Cut(); }
void LayupForm::DeleteButtonClick() { impl_->engine->Delete(); }
void LayupForm::ExportButtonClick() { impl_->engine->Export(); }
void LayupForm::HelpButtonClick() { DisplayHelp(this, "Create_Modify_Lam.htm"); }
void LayupForm::ImportButtonClick() {}
void LayupForm::IndentButtonClick() { impl_->engine->CreateGroup(); }
void LayupForm::LinkButtonClick() { impl_->engine->CreateLink(); }
void LayupForm::ModifyButtonClick() { impl_->engine->Modify(); }
void LayupForm::MoreButtonClick() { impl_->engine->Properties(); }
void LayupForm::OutdentButtonClick() { impl_->engine->Ungroup(); }
void LayupForm::ResetButtonClick() { impl_->engine->Reset(); }
void LayupForm::UndoButtonClick() { impl_->engine->Undo(); }
void LayupForm::UnlinkButtonClick() { impl_->engine->Unlink(); }
void LayupForm::LamTreeSelectionChanged() { impl_->tree->Notify(LayupShowSelectionChanged); }
void LayupForm::PlySizeInPixelsValueChanged() { Refresh(false, true); }

void LayupForm::LamTreeItemDoubleClicked(QTreeWidgetItem *item)
{
    const auto *row = dynamic_cast<LayupTreeItem *>(item);
    if (!row || row->IsGroup())
        return;
    Selection one;
    one.plies = {row->Id()};
    impl_->engine->SetSelection(one);
    if (impl_->engine->Modify())
        ClearSelection();
}

void LayupForm::LamTreeItemRenamed(int ply, int column, const QString &text)
{
    float thickness = 0.0f;
    float angle = 0.0f;
    bool refused = false;
    if (impl_->tree->ValidateRename(ply, column, text, &thickness, &angle, &refused))
        impl_->engine->ModifyFromTree(ply, thickness, angle);
    // The user retypes the refused value where it was typed, whatever the
    // edit's end (Tab or a click) had moved on to.
    if (refused)
        impl_->tree->EditPly(ply, column);
    impl_->treeEditRefused = impl_->treeEditRefused || refused;
}

bool LayupForm::TakeTreeEdits()
{
    impl_->treeEditRefused = false;
    while (!impl_->treeEdits.empty()) {
        const Impl::TreeEdit edit = impl_->treeEdits.front();
        impl_->treeEdits.pop_front();
        LamTreeItemRenamed(edit.ply, edit.column, edit.text);
    }
    return impl_->treeEditRefused;
}

bool LayupForm::eventFilter(QObject *watched, QEvent *event)
{
    // A click's release can come in with the press whose focus change ended
    // the edit: OK, Apply or Delete must act on the laminate with the edit.
    // After a refusal's warning the click is dropped, as it is when the
    // warning comes up between press and release.
    if (!impl_->treeEdits.empty() && event->isInputEvent())
        return TakeTreeEdits();
    return LayupFormBase::eventFilter(watched, event);
}

void LayupForm::LamTreeRightButtonClicked(QTreeWidgetItem *, const QPoint &position, int)
{
    ShowRightClickMenu(position);
}

void LayupForm::MatlButtonClick()
{
    // The host's picker lets events through: the button must not start a second one.
    static bool busy = false;
    if (busy)
        return;
    busy = true;
    QWidget *top = window();
    top->setEnabled(false);
    QCoreApplication::processEvents();
    impl_->engine->BrowseMaterials();
    top->setEnabled(true);
    top->raise();
    QCoreApplication::processEvents();
    busy = false;
}

void LayupForm::NewButtonClick()
{
    bool symmetric = false;
    bool antisymmetric = false;
    bool below = false;
    int count = 1;
    ReadPasteOptions(&symmetric, &antisymmetric, &below, &count);
    impl_->engine->NewPly(below);
}

void LayupForm::PasteButtonClick()
{
    bool symmetric = false;
    bool antisymmetric = false;
    bool below = false;
    int count = 1;
    ReadPasteOptions(&symmetric, &antisymmetric, &below, &count);
    impl_->engine->Paste(symmetric, antisymmetric, below, count);
    ui_->wPasteSpinBox->setValue(1);
}

void LayupForm::PartialViewActivated(int index)
{
    impl_->sketch->SetHalfView(index != 0);
    Refresh(true, true);
}

void LayupForm::PrintButtonClick()
{
    std::string error;
    if (!impl_->sketch->Print(error))
        ShowWarning(QT_TRANSLATE_NOOP("LayupForm", "Printing Problem"), error.c_str());
}

void LayupForm::RightPasteMenuActivated(int id)
{
    const bool antisymmetric = id & PasteAntisymmetric;
    const bool symmetric = antisymmetric || (id & PasteSymmetric);
    ui_->wPasteSpinBox->setValue(1);
    impl_->engine->Paste(symmetric, antisymmetric, id & PasteBelow, 1);
}

void LayupForm::StackingSeqMenuActivated(int index)
{
    ui_->wPartialMenu->setEnabled(index != 0);
    impl_->sketch->SetHalfView(index != 0 && ui_->wPartialMenu->currentIndex() == 1);
    impl_->engine->SetStacking(index);
}

void LayupForm::ViewMenuActivated(int index)
{
    ui_->wPlySizeSlider->setVisible(index == 1 || index == 2);
    impl_->sketch->SetViewMode(index);
    Refresh(false, true);
}

void LayupForm::RightColorMenuActivated(int id)
{
    const auto found = impl_->colorNames.find(id);
    if (found != impl_->colorNames.end())
        impl_->engine->SelectColor(found->second.c_str());
}

void LayupForm::RightMatMenuActivated(int id)
{
    const auto found = impl_->materialNames.find(id);
    const bool select = id % 2 != 0;
    if (!select && found == impl_->materialNames.end())
        return;
    QWidget *top = window();
    top->setEnabled(false);
    QCoreApplication::processEvents();
    if (impl_->engine->SelectMaterial(select ? nullptr : found->second.c_str()))
        top->raise();
    top->setEnabled(true);
}
