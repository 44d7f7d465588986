#pragma once

#include <memory>

class AppContext;
class SketcherFormView;

// The logic of the sketcher dialog, which shows the current laminate and
// changes nothing: the dialog is dismissed, never saved.
class SketcherFormEngine
{
public:
    // view and context are not owned and outlive the engine.
    SketcherFormEngine(SketcherFormView *view, AppContext *context);
    ~SketcherFormEngine();
    SketcherFormEngine(const SketcherFormEngine &) = delete;
    SketcherFormEngine &operator=(const SketcherFormEngine &) = delete;

    // Has the view draw the laminate.
    void Initialize();
    // The ply count and thickness of the laminate's full stack, its stacking
    // rule applied, as drawn beside them.
    void GetLaminateGeometry(int *plyCount, float *thickness) const;
    // Whether the dialog may close: 0, always.
    int Done();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
