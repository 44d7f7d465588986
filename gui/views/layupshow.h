#pragma once

#include "gui/views/subject.h"

#include <vector>

class Layup;

// What a layup view tells its observers.
enum LayupShowHint {
    LayupShowSelectionChanged = 0, // the user changed the selection in this view
    LayupShowRightClick = 1        // the right button was pressed in the sketch
};

// One view of a layup that the user can select plies in.
class LayupShow : public Subject
{
public:
    // Identifiers of the selected simple plies.
    virtual std::vector<int> GetSelectedPlies() = 0;
    // Identifiers of the selected groups and links; empty for a view that
    // cannot select groups.
    virtual std::vector<int> GetSelectedGroups() = 0;
    // Deselects everything, then selects the plies with these identifiers.
    virtual void SetSelectedPlies(const std::vector<int> &plies) = 0;
    // Rebuilds the view from layup.
    virtual void Show(const Layup &layup) = 0;
    virtual void Clear() = 0;
};
