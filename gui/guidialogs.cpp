#include "gui/guidialogs.h"

#include "gui/forms/sketcherform.h"

namespace {

// The sketcher dialog, shown once; nothing of it is saved.
class SketcherDialog : public GuiDialog
{
public:
    explicit SketcherDialog(AppContext *context) : form_(nullptr, context) {}
    int Exec(bool *) override { return form_.Exec(); }

private:
    SketcherForm form_;
};

} // namespace

// Each dialog adds its case here as it lands.
std::unique_ptr<GuiDialog> CreateGuiDialog(GuiDialogKind kind, AppContext *context, bool create)
{
    (void)context;
    (void)create;
    switch (kind) {
    case GuiDialogKind::Sketcher:
        return std::make_unique<SketcherDialog>(context);
    case GuiDialogKind::Layup:
    case GuiDialogKind::PlyMaterial:
        break;
    }
    return nullptr;
}
