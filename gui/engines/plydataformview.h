#pragma once

#include <optional>
#include <string>

class Selection;

// As a thickness or an angle: keep each selected ply's own value (shown as the
// blank menu entry " "). As a colour id: the selected plies differ.
constexpr float KeepValueSentinel = -999999.0f;
constexpr int MixedColorSentinel = -999999;

// What the ply data engine needs of its dialog. Texts (material and colour
// names) are the host's 8-bit names.
class PlyDataFormView
{
public:
    virtual ~PlyDataFormView() = default;

    // Runs the dialog modally for a new ply (newPly) or for the plies of
    // selection; true when OK added or modified them, false when cancelled.
    virtual bool Exec(bool newPly, const Selection &selection) = 0;
    virtual void InitWidgets(bool newPly, const char *lengthUnit) = 0;
    // text holds the placeholders %1 and %2, filled with first and second.
    virtual void ShowWarningArgs(const char *title, const char *text, int first, int second) = 0;
    virtual void ShowWarning(const char *title, const char *text) = 0;
    // Selects (when select) the first entry equal to text, appending text
    // when there is none.
    virtual void SetMaterialMenu(const std::string &text, bool select) = 0;
    virtual void ClearMaterialMenu() = 0;
    virtual void SetColorMenu(const std::string &text, bool select) = 0;
    // Lists value in ascending order (KeepValueSentinel as the blank first
    // entry) unless an equal entry exists, selects it when select, and empties
    // the typed-in field.
    virtual void SetThickness(float value, bool select) = 0;
    virtual void SetAngle(float value, bool select) = 0;
    virtual std::string GetMaterialText() const = 0;
    // A typed text wins over the menu and is always a value to check (NaN when
    // it reads as no number, an infinity beyond the float range); nothing
    // typed with the blank entry chosen: no value, each ply keeps its own.
    virtual std::optional<float> GetThickness() const = 0;
    virtual std::optional<float> GetAngle() const = 0;
    virtual std::string GetColor() const = 0;
};
