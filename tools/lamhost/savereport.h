#pragma once

#include "tools/lamhost/store.h"

#include <ostream>

// What the lamhost program prints after the operations.
namespace LamHost {

// Writes every laminate and ply material save of the store's records, in
// order, with all values sent and the store's answer; "Nothing saved." when
// there were none. Material and colour ids are named from the store's data.
void PrintSaves(std::ostream &out, const Store &store);

} // namespace LamHost
