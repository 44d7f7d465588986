#pragma once

#include "tools/lamhost/storedata.h"

#include <vector>

namespace LamHost {

// The materials of data that a picker of kind (1 matrix, 2 fibre, 3 ply)
// offers, in the store's order.
std::vector<HostMaterial> MaterialsOfKind(const StoreData &data, int kind);

// The host's material picker for a person at the desktop: a list of the
// store's materials of that kind to choose one from. Runs only inside a
// widget application with a display; otherwise, and when the person cancels,
// false. True with the chosen id in *id.
bool PickMaterial(const StoreData &data, int kind, int *id);
// The list itself, modal, whatever the platform; needs a widget application.
bool ShowMaterialPicker(const StoreData &data, int kind, int *id);

} // namespace LamHost
