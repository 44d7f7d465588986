#include "gui/guidialogs.h"

#include "gui/forms/layupform.h"
#include "gui/forms/plymaterialform.h"

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

class PlyMaterialDialog : public GuiDialog
{
public:
    explicit PlyMaterialDialog(AppContext *context) : form_(nullptr, context) {}
    int Exec(bool *) override { return form_.Exec(); }

private:
    PlyMaterialForm form_;
};

} // namespace

// Each dialog adds its case here as it lands.
std::unique_ptr<GuiDialog> CreateGuiDialog(GuiDialogKind kind, AppContext *context, bool create)
{
    switch (kind) {
    case GuiDialogKind::Layup:
        return std::make_unique<LayupDialog>(context, create);
    case GuiDialogKind::Sketcher:
        break;
    case GuiDialogKind::PlyMaterial:
        return std::make_unique<PlyMaterialDialog>(context);
    }
    return nullptr;
}
