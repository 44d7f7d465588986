#include "core/unitsystem.h"

namespace {

struct UnitNames
{
    const char *system;
    const char *lengthLong;
    const char *lengthShort;
    const char *stress;
    const char *massPerArea;
};

// Indexed by base code - 1.
constexpr UnitNames kNames[] = {
    {"m-N", "meter", "m", "N/m^2", "kg/m^2"},
    {"ft-lbf", "foot", "ft", "lbf/ft^2", "lbf-sec**2/ft^3"},
    {"m-kgf", "meter", "m", "kgf/m^2", "kgf-sec**2/m^3"},
    {"ft-pdl", "foot", "ft", "poundal/ft^2", "lbm/ft^2"},
    {"mm-mN", "millimeter", "mm", "mN/mm^2", "kg/mm^2"},
    {"cm-cN", "centimeter", "cm", "cN/cm^2", "kg/cm^2"},
    {"in-lbf", "inch", "in", "lbf/in^2", "lbf-sec**2/in^3"},
    {"mm-kgf", "millimeter", "mm", "kgf/mm^2", "kgf-sec**2/mm^3"},
    {"user defined", "user defined", "user defined", "user defined", "user defined"},
    {"mm-N", "millimeter", "mm", "N/mm^2", "tonne/mm^2"},
};

constexpr UnitNames kUnknown = {"unknown", " ", " ", " ", " "};

bool IsImperial(int base) { return base == 2 || base == 4 || base == 7; }

} // namespace

int UnitSystem::BaseCode() const
{
    const int base = code_ < 11 ? code_ : code_ - 10;
    return base >= 1 && base <= 10 ? base : 0;
}

static const UnitNames &NamesOf(int base)
{
    return base == 0 ? kUnknown : kNames[base - 1];
}

std::string UnitSystem::SystemName() const { return NamesOf(BaseCode()).system; }

std::string UnitSystem::LengthName(bool longName) const
{
    const UnitNames &n = NamesOf(BaseCode());
    return longName ? n.lengthLong : n.lengthShort;
}

std::string UnitSystem::StressName() const { return NamesOf(BaseCode()).stress; }

std::string UnitSystem::MassPerAreaName() const { return NamesOf(BaseCode()).massPerArea; }

std::string UnitSystem::TemperatureName(bool longName) const
{
    const int base = BaseCode();
    if (base == 0)
        return " ";
    if (base == 9)
        return "user defined";
    const bool absolute = code_ > 10;
    if (IsImperial(base))
        return absolute ? (longName ? "Rankine" : "R") : (longName ? "Farenheit" : "F");
    return absolute ? (longName ? "Kelvin" : "K") : (longName ? "Celsius" : "C");
}

double UnitSystem::TemperatureOffset() const
{
    switch (code_) {
    case 1: case 3: case 5: case 6: case 8: case 10:
        return -273.15;
    case 2: case 4: case 7:
        return -459.67;
    default:
        return 0.0;
    }
}

double UnitSystem::TemperatureFromKelvin(double t) const
{
    const int base = BaseCode();
    if (base == 0 || base == 9)
        return t;
    if (IsImperial(base))
        return TemperatureOffset() + t * 1.8;
    return TemperatureOffset() + t;
}

double UnitSystem::LengthFromMeter(double x) const
{
    switch (BaseCode()) {
    case 2: case 4:
        return x * 3.280839895013124;
    case 5: case 8: case 10:
        return x * 1000.0;
    case 6:
        return x * 100.0;
    case 7:
        return x * 39.37007874015748;
    default:
        return x;
    }
}
