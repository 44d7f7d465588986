#pragma once

// What the sketcher dialog's engine asks of its dialog.
class SketcherFormView
{
public:
    virtual ~SketcherFormView() = default;
    // Runs the dialog modally; the result carries no meaning (0).
    virtual int Exec() = 0;
    // A warning box over the dialog with one OK button; title and text are
    // translated.
    virtual void ShowWarning(const char *title, const char *text) = 0;
    // Rebuilds the sketch from the laminate and refreshes the information box.
    virtual void UpdateSketch() = 0;
};
