#pragma once

#include "core/layup.h"

// The layup manager's clipboard: the items that Cut and Copy stored (its
// stacking code plays no part) and whether Copy filled it, which lets a paste
// turn an unchanged copied group into a link to its original. Copies are deep.
struct LayupClipboard
{
    Layup items;
    bool filled = false;

    void Clear()
    {
        items.Clear();
        filled = false;
    }
};
