#include "gui/guidialogs.h"

#include "gui/forms/layupform.h"
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
    case GuiDialogKind::Layup:
        return std::make_unique<LayupDialog>(context, create);
    case GuiDialogKind::Sketcher:
        return std::make_unique<SketcherDialog>(context);
    case GuiDialogKind::PlyMaterial:
        break;
    }
    return nullptr;
}
