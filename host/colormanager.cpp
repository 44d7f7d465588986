#include "host/colormanager.h"

#include "host/hosttext.h"
#include "util/logline.h"

#include <vector>

ColorManager::ColorManager(lamGetColorCountFn getColorCount, lamGetColorIDsFn getColorIds,
                           lamGetColorFn getColor)
{
    const int count = getColorCount ? getColorCount() : 0;
    std::vector<int> ids;
    if (count > 0 && count <= kMaxColors) {
        ids.assign(static_cast<size_t>(count), 0);
        const int rc = getColorIds ? getColorIds(ids.data()) : -1;
        LogLine("GetColorIDs returns %d", rc);
        if (rc != 0)
            ids.clear();
    }

    // The lowest id counts ids whose colour could not be read.
    int minColor = 9999;
    for (int id : ids) {
        if (id < minColor)
            minColor = id;
        HostText name(lamTextBufferSize);
        int rgb[3] = {0, 0, 0};
        if (getColor && getColor(id, name.Buffer(), rgb) == 0)
            colors_.insert(ColorInfo(id, name.Text(), rgb)); // a duplicate id keeps the first
    }

    LogLine("Color Manager is ready: there are %d colors, minColor=%d", Count(), minColor);
}

bool ColorManager::GetColor(int id, ColorInfo &out) const
{
    const auto it = colors_.find(ColorInfo(id));
    if (it == colors_.end())
        return false;
    out = *it;
    return true;
}

bool ColorManager::GetNextColor(int id, ColorInfo &out) const
{
    auto it = colors_.begin();
    if (id != -1) {
        it = colors_.find(ColorInfo(id));
        if (it != colors_.end())
            ++it;
    }
    if (it == colors_.end())
        return false;
    out = *it;
    return true;
}
