#pragma once

#include <memory>

class AppContext;
class ModelerFormView;

// The logic of the laminate properties dialog: fills the view from the
// current laminate and, on OK, checks the entries and hands the edited
// properties to the laminate manager as one undoable change. The layup is
// never touched.
class ModelerFormEngine
{
public:
    // Neither the view nor the context (which must have a laminate) is owned.
    ModelerFormEngine(ModelerFormView *view, AppContext *context);
    ~ModelerFormEngine();
    ModelerFormEngine(const ModelerFormEngine &) = delete;
    ModelerFormEngine &operator=(const ModelerFormEngine &) = delete;

    // Writes the laminate's properties and the unit names into the view.
    void Initialize();
    // 0 when the entries were stored; 1 after one "Validation Warning" (the
    // first failing check), with nothing stored.
    int Done();
    // The thickness of the full stack that the layup's stacking rule gives.
    float GetThickness() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
