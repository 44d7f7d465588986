#pragma once

#include "tools/lamhost/store.h"

#include <array>

namespace LamHost {

// Refills the process-wide table of CallbackTable(), leaving null the slots
// marked. Called by the store that becomes or stops being active.
void SetCallbackTableNulls(const std::array<bool, kSlotCount> &nullSlots);

} // namespace LamHost
