#include "gui/guidialogs.h"

#include "gui/forms/plymaterialform.h"

namespace {

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
    (void)create;
    switch (kind) {
    case GuiDialogKind::Layup:
    case GuiDialogKind::Sketcher:
        break;
    case GuiDialogKind::PlyMaterial:
        return std::make_unique<PlyMaterialDialog>(context);
    }
    return nullptr;
}
