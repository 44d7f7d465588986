#include "gui/engines/layupformengine.h"

#include "core/laminate.h"
#include "core/layupactionstate.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "gui/engines/layupformview.h"
#include "host/appcontext.h"
#include "host/colormanager.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <string>

namespace {

// The colour submenu offers the host's first colours only, up to this id.
constexpr int kLastMenuColor = 16;

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
    const int rule = menuIndex >= StackingFullSymmetric && menuIndex <= StackingRepeatWithCore ? menuIndex
                                                                                              : StackingSimple;
    if (impl_->Laminates().SetStacking(rule))
        impl_->view->Refresh(true, true);
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
    Selection pasted = impl_->selection;
    if (!impl_->Layups().Paste(pasted, symmetric, antisymmetric, count)) {
        impl_->Warn(QT_TRANSLATE_NOOP("LayupForm", "Paste Error"));
        return;
    }
    impl_->view->Refresh(true, true);
    if (pasted.IsEmpty())
        return;
    impl_->view->SetViewSelection(pasted);
    impl_->selection = pasted;
    UpdateView();
}

// The other editing commands, and the dialogs they open, are not built yet:
// they leave the laminate as it is.
void LayupFormEngine::Delete() {}
void LayupFormEngine::Cut() {}
void LayupFormEngine::CreateGroup() {}
void LayupFormEngine::CreateLink() {}
void LayupFormEngine::Ungroup() {}
void LayupFormEngine::Unlink() {}
void LayupFormEngine::Undo() {}
void LayupFormEngine::ModifyFromTree(int, float, float) {}
bool LayupFormEngine::AutoGroup(float *progress)
{
    if (progress)
        *progress = 1.0f;
    return true;
}
void LayupFormEngine::AutoGroupFinish() {}
void LayupFormEngine::Import() {}
void LayupFormEngine::Export() {}
void LayupFormEngine::NewPly(bool) {}
bool LayupFormEngine::Modify() { return false; }
void LayupFormEngine::Properties() {}
void LayupFormEngine::BrowseMaterials() {}
bool LayupFormEngine::SelectMaterial(const char *) { return false; }
void LayupFormEngine::SelectColor(const char *) {}
