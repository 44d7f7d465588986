#pragma once

#include "gui/guidialogs.h"

#include <functional>

// Seams for tests of the GUI module's loops, not exported from the module.

using GuiDialogFactory = std::function<std::unique_ptr<GuiDialog>(GuiDialogKind, AppContext *, bool create)>;

// Replaces the dialogs the GUI module builds; an empty function restores the real ones.
void SetGuiDialogFactory(GuiDialogFactory factory);
// Forgets that the splash was shown, as at load.
void ResetSplashFlags();
