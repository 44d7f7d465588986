#pragma once

// Which edit commands a selection allows, as LayupManager::GetActionState
// computes it for the layup dialog's buttons and menus. A flag only enables a
// command: the command makes its own checks, and some succeed as no-ops or on
// part of the selection while their flag is false.
struct LayupActionState
{
    bool canAdd = false;        // the insertion point is valid
    bool canEditSingle = false; // exactly one existing ply and no group
    bool canModify = false;     // existing plies only
    bool canDelete = false;     // anything, and every selected ply exists
    bool canCut = false;        // as canDelete
    bool canCopy = false;       // anything
    bool canPaste = false;      // a valid insertion point for the clipboard's items
    bool canGroup = false;      // consecutive top-level plies only
    bool canUngroup = false;    // groups only, none of them a link
    bool canLink = false;       // two or more groups, at most one a link, none linked to the parent
    bool canUnlink = false;     // links only
};
