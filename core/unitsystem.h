#pragma once

#include <string>

// The host's unit-system code: 1 to 10 name ten systems, 11 to 20 the same
// systems with an absolute temperature scale. Values from the host are already
// in its units; only the module's own defaults (given in SI) are converted.
class UnitSystem
{
public:
    UnitSystem() = default;

    void SetCode(int code) { code_ = code; } // stored unchecked
    int Code() const { return code_; }

    // Names for display; "unknown" (system) or a single blank for an unknown code.
    std::string SystemName() const;
    std::string TemperatureName(bool longName) const;
    std::string LengthName(bool longName) const;
    std::string StressName() const;
    std::string MassPerAreaName() const;

    // Absolute zero in the relative temperature unit, chosen by the code itself.
    double TemperatureOffset() const;
    double TemperatureFromKelvin(double t) const;
    double LengthFromMeter(double x) const;

private:
    int BaseCode() const;

    int code_ = 1;
};
