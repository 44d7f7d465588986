#include "core/plymaterial.h"

#include "core/unitsystem.h"

#include <algorithm>

void PlyMaterial::SetReinforcingFactors(const double factors[5])
{
    std::copy(factors, factors + 5, factors_);
}

void PlyMaterial::SetDefaults(const UnitSystem &units)
{
    *this = PlyMaterial();
    ribbonLength_ = units.LengthFromMeter(0.0001);
    ribbonWidth_ = units.LengthFromMeter(0.0001);
    ribbonThickness_ = units.LengthFromMeter(0.00005);
}
