#pragma once

#include <string>

// What the laminate properties engine needs of its dialog. Numbers cross as
// values; a field that does not read as a number reads as 0. The failure
// theory is the menu index (the theory code less 1); the reference plane kind
// is 0 top, 1 middle, 2 bottom, 3 keyed in.
class ModelerFormView
{
public:
    virtual ~ModelerFormView() = default;

    // Fills the dialog from the current laminate and runs it modally; true
    // when the user closed it with accepted entries (which are then stored).
    virtual bool Exec() = 0;
    virtual void ShowWarning(const char *title, const char *text) = 0;
    virtual void InitWidgets() = 0;

    virtual int GetRefPlaneKind() const = 0;
    // Kinds 0 to 2 select their entry; any other shows the keyed-in location.
    virtual void SetRefPlane(int method, float location) = 0;
    // The location the chosen kind stands for in the current laminate.
    virtual float GetRefPlaneValue() const = 0;
    virtual void SetAllowableStress(float value) = 0;
    virtual float GetAllowableStress() const = 0;
    virtual void SetTsaiWuF12(float value) = 0;
    virtual float GetTsaiWuF12() const = 0;
    virtual void SetNonStructuralMass(double value) = 0;
    virtual double GetNonStructuralMass() const = 0;
    virtual void SetDamping(double value) = 0;
    virtual double GetDamping() const = 0;
    virtual void SetReferenceTemperature(double value) = 0;
    virtual double GetReferenceTemperature() const = 0;
    virtual void SetFailureTheory(int index) = 0;
    virtual int GetFailureTheory() const = 0;
    // Unit names as the unit system gives them (untranslated).
    virtual void SetUnits(std::string length, std::string stress, std::string temperature,
                          std::string massPerArea) = 0;
};
