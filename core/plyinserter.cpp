#include "core/plyinserter.h"

#include "core/plygroup.h"
#include "core/plysimple.h"

#include <algorithm>

PlyInserter PlyInserter::Compute(PlyGroup &work, const std::vector<int> &plies, const std::vector<int> &groups,
                                 bool before)
{
    const PlyInserter invalid(-1, 0, before);
    if (!plies.empty() && !groups.empty())
        return invalid;
    if (groups.size() > 1)
        return invalid;
    const Layup &rootLayup = work.GetLayup();
    if (plies.empty() && groups.empty())
        return PlyInserter(0, before ? 1 : rootLayup.Size() + 1, before);

    if (plies.empty()) {
        for (int i = 0; i < rootLayup.Size(); ++i) {
            const PlyBase &item = *rootLayup[i];
            if (item.Id() == groups.front() && item.IsGroupItem())
                return PlyInserter(0, before ? i + 1 : i + 2, before);
        }
        return invalid;
    }

    const int number = before ? *std::min_element(plies.begin(), plies.end())
                              : *std::max_element(plies.begin(), plies.end());
    PlyGroupBase *found = work.FindOwnerOfPly(number);
    auto *owner = found ? dynamic_cast<PlyGroup *>(found) : &work;
    if (!owner)
        return invalid;
    const Layup &layup = owner->GetLayup();
    for (int i = 0; i < layup.Size(); ++i) {
        const PlyBase &item = *layup[i];
        if (item.Id() == number && item.IsPly())
            return PlyInserter(owner->Id(), before ? i + 1 : i + 2, before);
    }
    return PlyInserter(owner->Id(), before ? 1 : layup.Size() + 1, before);
}
