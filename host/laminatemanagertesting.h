#pragma once

// A seam for tests, not used by the module: the largest full stack that a
// change of the stacking rule may make, lowered so that a small laminate
// meets the refusal. 0 restores LaminateManager::kMaxLoadedPlies.
void SetStackedPlyLimit(int limit);
