#pragma once

// What HalpinTsaiFormEngine needs of the Halpin-Tsai options dialog. The menu
// index of the ply description is the record's option code minus one.
class HalpinTsaiFormView
{
public:
    virtual ~HalpinTsaiFormView() = default;

    // Runs the dialog modally; true when it was accepted.
    virtual bool Exec() = 0;
    // A warning box over the dialog with one OK button; title and text are translated.
    virtual void ShowWarning(const char *title, const char *text) = 0;
    // Labels the ribbon dimensions with the length unit's short name.
    virtual void SetUnitTexts(const char *unit) = 0;

    virtual void SetLongitudinalAspectRatio(double value) = 0;
    virtual void SetTransverseAspectRatio(double value) = 0;
    virtual void SetRibbonLength(double value) = 0;
    virtual void SetRibbonWidth(double value) = 0;
    virtual void SetRibbonThickness(double value) = 0;
    virtual void SetE11(double value) = 0;
    virtual void SetE22(double value) = 0;
    virtual void SetNU12(double value) = 0;
    virtual void SetNU23(double value) = 0;
    virtual void SetG12(double value) = 0;
    // Also enables the fields that the description needs.
    virtual void SetPlyDescription(int index) = 0;

    // An empty or unreadable field reads as 0.
    virtual double GetLongitudinalAspectRatio() = 0;
    virtual double GetTransverseAspectRatio() = 0;
    virtual double GetRibbonLength() = 0;
    virtual double GetRibbonWidth() = 0;
    virtual double GetRibbonThickness() = 0;
    virtual double GetE11() = 0;
    virtual double GetE22() = 0;
    virtual double GetNU12() = 0;
    virtual double GetNU23() = 0;
    virtual double GetG12() = 0;
    // 0-5.
    virtual int GetPlyDescription() = 0;
};
