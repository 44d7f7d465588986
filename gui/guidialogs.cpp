#include "gui/guidialogs.h"

#include "gui/forms/layupform.h"
#include "gui/forms/plymaterialform.h"
#include "gui/forms/sketcherform.h"

namespace {

// The layup dialog as the GUI module runs it, for create and modify.
class LayupDialog : public GuiDialog
{
public:
    LayupDialog(AppContext *context, bool create) : form_(nullptr, context, create) {}
    int Exec(bool *again) override { return form_.Exec(again); }

private:
    LayupForm form_;
};

// The sketcher and ply material dialogs, which know no Apply.
template <class Form>
class PlainDialog : public GuiDialog
{
public:
    explicit PlainDialog(AppContext *context) : form_(nullptr, context) {}
    int Exec(bool *) override { return form_.Exec(); }

private:
    Form form_;
};

} // namespace

std::unique_ptr<GuiDialog> CreateGuiDialog(GuiDialogKind kind, AppContext *context, bool create)
{
    switch (kind) {
    case GuiDialogKind::Layup: return std::make_unique<LayupDialog>(context, create);
    case GuiDialogKind::Sketcher: return std::make_unique<PlainDialog<SketcherForm>>(context);
    case GuiDialogKind::PlyMaterial: return std::make_unique<PlainDialog<PlyMaterialForm>>(context);
    }
    return nullptr;
}
