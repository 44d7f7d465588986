#pragma once

#include <memory>

class AppContext;

// The dialog each operation of the GUI module runs.
enum class GuiDialogKind { Layup, Sketcher, PlyMaterial };

// One modal dialog as the GUI module runs it.
class GuiDialog
{
public:
    virtual ~GuiDialog() = default;
    // Runs the dialog modally; 1 means accepted. The layup dialog sets *again
    // when the user pressed Apply (again may be null for the other dialogs).
    virtual int Exec(bool *again) = 0;
};

// The dialog of kind for this request, built with no parent (create only
// matters for the layup dialog).
std::unique_ptr<GuiDialog> CreateGuiDialog(GuiDialogKind kind, AppContext *context, bool create);
