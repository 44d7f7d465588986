#include "gui/engines/layupformengine.h"

#include "core/laminate.h"
#include "core/layupactionstate.h"
#include "core/layupmanager.h"
#include "core/multiplecommand.h"
#include "core/plygroup.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "gui/engines/layupformview.h"
#include "host/appcontext.h"
#include "host/colormanager.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"
#include "script/laminatecommands.h"
#include "util/trace.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <cstring>
#include <memory>
#include <string>

namespace {

// The colour submenu offers the host's first colours only, up to this id.
constexpr int kLastMenuColor = 16;

// The stacking rule a code stands for: 1 to 4 are theirs, anything else is simple.
int RuleOf(int code)
{
    return code >= StackingFullSymmetric && code <= StackingRepeatWithCore ? code : StackingSimple;
}

} // namespace

struct LayupFormEngine::Impl
{
    Selection selection;
    LayupFormView *view;
    AppContext *context;

    LayupManager &Layups() { return *context->GetLayupManager(); }
    LaminateManager &Laminates() { return *context->GetLaminateManager(); }
    const PlyGroup &Root() { return context->GetLaminate().RootGroup(); }
    // The layup manager's last error under title.
    void Warn(const char *title) { view->ShowWarning(title, Layups().GetErrorMessage().c_str()); }
    void FillMaterialMenus();
    void UpdateInfoBox();
    // One of the group commands, logged; a success rebuilds the tree, and the
    // sketch too when the command can change the plies.
    bool GroupCommand(bool (LayupManager::*command)(const Selection &), const char *name, const char *beginLine,
                      const char *errorTitle, bool changesPlies = false);
    // After the host's picker changed its materials: checks the plies' references.
    void MaterialsChanged();
};

LayupFormEngine::LayupFormEngine(LayupFormView *view, AppContext *context)
    : impl_(new Impl{Selection(), view, context})
{
}

LayupFormEngine::~LayupFormEngine() { delete impl_; }

void LayupFormEngine::Initialize()
{
    impl_->Laminates().MarkSaved();
    impl_->view->ApplyViewMode();
    impl_->view->Refresh(true, true);
}

const Selection &LayupFormEngine::CurrentSelection() const { return impl_->selection; }

void LayupFormEngine::SetSelection(const Selection &selection)
{
    impl_->selection.plies = selection.plies;
    impl_->selection.ResetGroups(selection.Groups());
    UpdateView();
}

bool LayupFormEngine::Ok()
{
    if (impl_->Root().CountPlies() == 0) {
        impl_->view->ShowWarning(QT_TRANSLATE_NOOP("LayupForm", "Validation Warning"),
                                 QT_TRANSLATE_NOOP("LayupForm", "Cannot save an empty laminate definition"));
        return false;
    }
    if (!CheckMaterialReferences())
        return false;
    impl_->Laminates().MarkSaved();
    return true;
}

bool LayupFormEngine::Apply() { return Ok() && impl_->context->GetLaminate().IsModified(); }

void LayupFormEngine::Reset()
{
    if (impl_->Laminates().Reset())
        impl_->view->Refresh(true, true);
}

bool LayupFormEngine::Cancel()
{
    if (!CheckMaterialReferences())
        return false;
    impl_->Laminates().Reset();
    return true;
}

bool LayupFormEngine::CheckMaterialReferences()
{
    int ply = 0;
    int material = 0;
    if (impl_->Layups().CheckMaterials(&ply, &material))
        return true;
    impl_->view->ShowWarningArgs(QT_TRANSLATE_NOOP("LayupForm", "Material Reference Error"),
                                 impl_->Layups().GetErrorMessage().c_str(), ply, material);
    return false;
}

void LayupFormEngine::SetStacking(int menuIndex)
{
    const int rule = RuleOf(menuIndex);
    LaminateManager &laminates = impl_->Laminates();
    if (laminates.SetStacking(rule)) {
        impl_->view->Refresh(true, true);
        return;
    }
    const int current = RuleOf(impl_->Root().GetLayup().Stacking());
    if (current == rule)
        return;
    // The dialog behind the warning already shows the rule that stays.
    impl_->view->ShowStackingRule(current);
    impl_->view->ShowWarningArgs(
        QT_TRANSLATE_NOOP("LayupForm", "Stacking Sequence Error"),
        QT_TRANSLATE_NOOP("LayupForm", "The full stack would have %1 plies, more than the %2 a laminate may have."),
        static_cast<int>(laminates.StackedPlies(rule)), LaminateManager::StackedPlyLimit());
}

void LayupFormEngine::UpdateView()
{
    LayupFormView *view = impl_->view;
    LayupActionState state;
    impl_->Layups().GetActionState(impl_->selection, state);
    view->ClearMenus();
    view->EnableNew(state.canAdd);
    view->EnableModify(state.canModify);
    std::string lastCommand;
    const bool canUndo = impl_->Laminates().LastCommandName(lastCommand);
    view->SetUndo(canUndo, lastCommand.c_str());
    view->EnableDelete(state.canDelete);
    view->EnableCut(state.canCut);
    view->EnableCopy(state.canCopy);
    view->SetPasteLocations(impl_->selection.IsEmpty(), state.canPaste);
    view->EnablePaste(state.canPaste);
    view->EnableGroup(state.canGroup);
    view->EnableUngroup(state.canUngroup);
    view->EnableLink(state.canLink);
    view->EnableUnlink(state.canUnlink);
    if (state.canEditSingle)
        impl_->FillMaterialMenus();
    impl_->UpdateInfoBox();
}

void LayupFormEngine::Impl::FillMaterialMenus()
{
    view->BuildMaterialMenu(0, "");
    const MaterialList *materials = context->GetMaterialList();
    for (int id = materials->GetNextId(-1); id != -1; id = materials->GetNextId(id)) {
        MaterialInfo info;
        materials->GetMaterial(id, info);
        view->BuildMaterialMenu(1, info.Name().c_str());
    }
    view->BuildMaterialMenu(2, "");
    const ColorManager *colors = context->GetColorManager();
    ColorInfo color(-1);
    for (bool more = colors->GetNextColor(-1, color); more; more = colors->GetNextColor(color.Id(), color)) {
        if (color.Name() != "BLACK")
            view->BuildColorMenu(0, color.Name().c_str());
        if (color.Id() >= kLastMenuColor)
            break;
    }
    view->BuildColorMenu(1, "");
}

void LayupFormEngine::Impl::UpdateInfoBox()
{
    const PlyGroup &root = Root();
    const int plies = root.CountPliesExpanded();
    const size_t selected = selection.plies.size();
    if (selected == 0 && plies != 0)
        view->UpdateInfoBox(plies, root.TotalThickness(), context->GetUnits().LengthName(false), true);
    else
        view->UpdateInfoBox(-1, 0.0, "", selected == 1);
}

void LayupFormEngine::Copy()
{
    if (!impl_->Layups().Copy(impl_->selection)) {
        impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Copy Error"));
        return;
    }
    impl_->view->ClearSelection();
    UpdateView();
}

void LayupFormEngine::Paste(bool symmetric, bool antisymmetric, bool below, int count)
{
    impl_->Layups().SetInsertBefore(below);
    Selection renumbered = impl_->selection;
    if (!impl_->Layups().Paste(renumbered, symmetric, antisymmetric, count)) {
        impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Paste Error"));
        UpdateView(); // New and Paste follow the side chosen
        return;
    }
    impl_->view->Refresh(true, true);
    if (renumbered.IsEmpty())
        return;
    impl_->view->SetViewSelection(renumbered);
    impl_->selection = renumbered;
    UpdateView();
}

void LayupFormEngine::Delete()
{
    if (!impl_->Layups().Delete(impl_->selection))
        return impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Delete Error"));
    impl_->view->Refresh(true, true);
}

void LayupFormEngine::Cut()
{
    if (!impl_->Layups().Cut(impl_->selection))
        return impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Cut Error"));
    impl_->view->Refresh(true, true);
}

bool LayupFormEngine::Impl::GroupCommand(bool (LayupManager::*command)(const Selection &), const char *name,
                                         const char *beginLine, const char *errorTitle, bool changesPlies)
{
    TraceLine(beginLine);
    const bool done = (Layups().*command)(selection);
    if (done)
        view->Refresh(true, changesPlies); // the sketch shows plies, not groups
    else
        Warn(errorTitle);
    TraceLine([name] { return std::string("LayupFormEngine::") + name + " ends."; });
    return done;
}

void LayupFormEngine::CreateGroup()
{
    impl_->GroupCommand(&LayupManager::CreateGroup, "CreateGroup", "LayupFormEngine::CreateGroup begins.",
                        QT_TRANSLATE_NOOP("LayupForm", "Group Creation Error"));
}

void LayupFormEngine::CreateLink()
{
    impl_->GroupCommand(&LayupManager::CreateLink, "CreateLink", "LayupFormEngine::CreateLink begins",
                        QT_TRANSLATE_NOOP("LayupForm", "Group Linking Error"));
}

void LayupFormEngine::Ungroup()
{
    // Ungrouping drops the links to the group, and with them their plies.
    impl_->GroupCommand(&LayupManager::Ungroup, "Ungroup", "LayupFormEngine::Ungroup begins.",
                        QT_TRANSLATE_NOOP("LayupForm", "Ungrouping Error"), true);
}

void LayupFormEngine::Unlink()
{
    impl_->GroupCommand(&LayupManager::Unlink, "Unlink", "LayupFormEngine::Unlink begins.",
                        QT_TRANSLATE_NOOP("LayupForm", "Unlinking Error"));
}

void LayupFormEngine::Undo()
{
    std::string error;
    if (!impl_->Laminates().Undo(error))
        impl_->view->ShowWarning(QT_TRANSLATE_NOOP("LayupForm", "Command playback error"), error.c_str());
    impl_->view->Refresh(true, true);
}

void LayupFormEngine::ModifyFromTree(int plyNumber, float thickness, float angle)
{
    Selection one;
    one.plies = {plyNumber};
    if (impl_->Layups().ModifyAngle(one, angle))
        impl_->Layups().ModifyThickness(one, thickness);
    // Even a refused edit left the edited row showing the typed value.
    impl_->view->Refresh(true, true);
}

bool LayupFormEngine::AutoGroup(float *progress)
{
    const bool done = impl_->Layups().AutoGroup(progress);
    if (done)
        impl_->view->Refresh(true, false);
    return done;
}

void LayupFormEngine::AutoGroupFinish()
{
    impl_->Layups().ResetAutoGroup();
    UpdateView(); // the grouping emptied the clipboard when it began: nothing to paste
}

void LayupFormEngine::Import() {}

void LayupFormEngine::Export()
{
    LaminateCommands listing(impl_->context, &LogLine);
    listing.ListProperties();
}

void LayupFormEngine::LogLine(const char *line) { TraceLine(line); }

void LayupFormEngine::NewPly(bool below)
{
    TraceLine("LayupFormEngine::NewPly begins.");
    impl_->Layups().SetInsertBefore(below);
    impl_->Laminates().BeginEdit();
    std::unique_ptr<PlyDataFormView> form = impl_->view->CreatePlyDataForm(impl_->context);
    if (form && form->Exec(true, impl_->selection)) {
        impl_->view->Refresh(true, true);
    } else {
        impl_->Laminates().CancelEdit();
        UpdateView(); // a material picked in the dialog is now one the material menu offers
    }
    TraceLine("LayupFormEngine::NewPly ends.");
}

bool LayupFormEngine::Modify()
{
    TraceLine("LayupFormEngine::Modify begins.");
    Selection stored;
    bool skipped = false;
    for (int number : impl_->selection.plies) {
        const ConstPlyHandle handle = impl_->Root().FindPly(number, 0);
        if (dynamic_cast<const PlySimple *>(handle.Get()))
            stored.plies.push_back(number);
        else
            skipped = true;
    }
    if (skipped && stored.IsEmpty()) {
        impl_->view->ShowWarning(QT_TRANSLATE_NOOP("LayupForm", "Ply Modification Warning"),
                                 QT_TRANSLATE_NOOP("LayupForm", "Cannot modify child ply.  Modify ply in the "
                                                                "parent group instead."));
        return false;
    }
    LayupManager &layups = impl_->Layups();
    impl_->Laminates().BeginEdit();
    auto compound = std::make_unique<MultipleCommand>(QT_TRANSLATE_NOOP("LayupForm", "Modify"));
    layups.SetTaker(compound.get());
    std::unique_ptr<PlyDataFormView> form = impl_->view->CreatePlyDataForm(impl_->context);
    const bool accepted = form && form->Exec(false, stored);
    bool changed = false;
    if (!accepted) {
        // The laminate goes back to the checkpoint; recording the compound
        // would leave undo steps for edits the laminate no longer has.
        layups.RestoreTaker(nullptr);
        impl_->Laminates().CancelEdit();
    } else if (compound->Count() > 1) {
        changed = true;
        layups.RestoreTaker(std::move(compound));
    } else {
        std::unique_ptr<LamCommand> single = compound->Release(0);
        changed = single != nullptr;
        layups.RestoreTaker(std::move(single));
    }
    if (changed)
        impl_->view->Refresh(true, true);
    else
        UpdateView(); // a material picked in the dialog is now one the material menu offers
    TraceLine("LayupFormEngine::Modify ends.");
    return true;
}

void LayupFormEngine::Properties()
{
    TraceLine("LayupFormEngine::Properties begins.");
    const Laminate &laminate = impl_->context->GetLaminate();
    const int method = laminate.ReferencePlaneMethod();
    const float location = laminate.UserReferencePlaneLocation();
    impl_->Laminates().BeginEdit();
    std::unique_ptr<ModelerFormView> form = impl_->view->CreateModelerForm(impl_->context);
    if (form && form->Exec()) {
        // The laminate record may have been replaced: read it again.
        const Laminate &edited = impl_->context->GetLaminate();
        if (edited.ReferencePlaneMethod() != method || edited.UserReferencePlaneLocation() != location)
            impl_->view->Refresh(false, true); // the sketch's reference plane moved
        UpdateView(); // Undo offers what the dialog recorded
    } else {
        impl_->Laminates().CancelEdit();
    }
    TraceLine("LayupFormEngine::Properties ends.");
}

void LayupFormEngine::Impl::MaterialsChanged()
{
    TraceLine("Materials have changed in Quarnel!");
    int ply = 0;
    int material = 0;
    if (!Layups().CheckMaterials(&ply, &material))
        view->ShowWarningArgs(QT_TRANSLATE_NOOP("LayupForm", "Material Reference Error"),
                              Layups().GetErrorMessage().c_str(), ply, material);
    view->Refresh(true, true);
}

int LayupFormEngine::PickMaterial()
{
    bool changed = false;
    const int id = impl_->context->GetMaterialList()->SelectMaterial(PlyMaterialKind, &changed);
    if (changed)
        impl_->MaterialsChanged();
    else
        UpdateView();
    return id;
}

void LayupFormEngine::BrowseMaterials() { PickMaterial(); }

bool LayupFormEngine::SelectMaterial(const char *name)
{
    int id = -1;
    bool pickerShown = false;
    // The rebuild after a change of the host's list clears the selection; the
    // material picked still goes to the plies chosen before.
    const Selection plies = impl_->selection;
    MaterialList *materials = impl_->context->GetMaterialList();
    if (!name || std::strcmp(name, "Select...") == 0) {
        TraceLine("SelectMaterial on Select...");
        id = PickMaterial();
        pickerShown = true;
    } else {
        TraceLine("SelectMaterial on material:");
        TraceLine(name);
        for (int next = materials->GetNextId(-1); next != -1; next = materials->GetNextId(next)) {
            MaterialInfo info;
            materials->GetMaterial(next, info);
            if (info.Name() == name) {
                id = next;
                break;
            }
        }
    }
    if (id == -2) {
        TraceLine("SelectMaterial: eNO_SELECTION");
    } else if (id == -1) {
        TraceLine("SelectMaterial: eUNKNOWN");
        impl_->view->ShowWarning(QT_TRANSLATE_NOOP("LayupForm", "Material Selection Warning"),
                                 QT_TRANSLATE_NOOP("LayupForm", "unknown material"));
    } else if (impl_->Layups().ModifyMaterial(plies, id)) {
        impl_->view->Refresh(true, true);
    } else {
        impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Ply Modification Error"));
    }
    return pickerShown;
}

void LayupFormEngine::SelectColor(const char *name)
{
    const ColorManager *colors = impl_->context->GetColorManager();
    ColorInfo color(-1);
    bool more = colors->GetNextColor(-1, color);
    while (more && color.Name() != name)
        more = colors->GetNextColor(color.Id(), color);
    if (!more)
        return;
    if (impl_->Layups().ModifyColor(impl_->selection, color.Id()))
        impl_->view->Refresh(true, true);
    else
        impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Ply Modification Error"));
}
