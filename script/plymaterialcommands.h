#pragma once

#include "script/scriptcontext.h"

#include <array>

// The target of the ply-material-mode script functions: edits the ply material
// that the running context defines, and lists it.
class PlyMaterialCommands : public ScriptContext
{
public:
    PlyMaterialCommands(AppContext *context, Output output);

    // Sets the fibre (fiber) or matrix material and its volume fraction. A
    // materialId of 0 gives no material; any other id must be known to the
    // host's catalogue (asked through the material list, which caches it), else
    // false with nothing changed. A negative fraction leaves the fraction alone.
    bool SetConstituent(bool fiber, int materialId, float fraction);
    void SetThermalTheory(int code);
    // Sets the theory; option > 0 sets the Halpin-Tsai option; each value >= 0
    // replaces its field, negative values leave it.
    void SetElasticTheory(int theory, int option, double longitudinalAspectRatio, double transverseRibbonDimension,
                          double ribbonLength, double ribbonWidth, double ribbonThickness, double e11, double e22,
                          double nu12, double nu23, double g12);
    // The record's default ribbon length, width and thickness, in the host's
    // length unit.
    std::array<double, 3> RibbonDefaults() const;
    void List() const;
};
