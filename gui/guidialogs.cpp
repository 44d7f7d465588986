#include "gui/guidialogs.h"

// Each dialog adds its case here as it lands.
std::unique_ptr<GuiDialog> CreateGuiDialog(GuiDialogKind kind, AppContext *context, bool create)
{
    (void)context;
    (void)create;
    switch (kind) {
    case GuiDialogKind::Layup:
    case GuiDialogKind::Sketcher:
    case GuiDialogKind::PlyMaterial:
        break;
    }
    return nullptr;
}
