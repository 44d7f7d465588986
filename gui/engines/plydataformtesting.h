#pragma once

// A seam for tests, not used by the module: forgets the ply data dialog's
// remembered entries and restarts its colour cycle, as at load.
void ResetPlyDataEntries();
