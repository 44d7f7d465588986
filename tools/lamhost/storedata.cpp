#include "tools/lamhost/storedata.h"

#include <cstring>

namespace LamHost {

namespace {

// Bit-for-bit: a round trip must keep -0 apart from 0.
template <class F>
bool Same(F a, F b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

bool operator==(const HostColor &a, const HostColor &b)
{
    return a.id == b.id && a.name == b.name && a.red == b.red && a.green == b.green &&
           a.blue == b.blue;
}

bool operator==(const HostMaterial &a, const HostMaterial &b)
{
    return a.id == b.id && a.name == b.name && a.type == b.type;
}

bool operator==(const HostPly &a, const HostPly &b)
{
    return Same(a.thickness, b.thickness) && Same(a.angle, b.angle) &&
           a.material == b.material && a.color == b.color;
}

bool operator==(const HostLaminate &a, const HostLaminate &b)
{
    return a.name == b.name && a.hostNumber == b.hostNumber &&
           a.failureTheory == b.failureTheory && a.hostOption == b.hostOption &&
           Same(a.referencePlane, b.referencePlane) && Same(a.bondingStress, b.bondingStress) &&
           a.tsaiWuType == b.tsaiWuType && Same(a.tsaiWuCoefficient, b.tsaiWuCoefficient) &&
           Same(a.nonStructuralMass, b.nonStructuralMass) && Same(a.damping, b.damping) &&
           Same(a.referenceTemperature, b.referenceTemperature) && a.plies == b.plies;
}

bool operator==(const HostPlyMaterial &a, const HostPlyMaterial &b)
{
    for (size_t i = 0; i < a.factors.size(); ++i) {
        if (!Same(a.factors[i], b.factors[i]))
            return false;
    }
    return a.matrixMaterial == b.matrixMaterial && a.fiberMaterial == b.fiberMaterial &&
           Same(a.matrixFraction, b.matrixFraction) && Same(a.fiberFraction, b.fiberFraction) &&
           a.elasticTheory == b.elasticTheory && a.halpinTsaiOption == b.halpinTsaiOption &&
           a.extraOption == b.extraOption && Same(a.aspectRatio, b.aspectRatio) &&
           Same(a.transverseRibbon, b.transverseRibbon) && Same(a.ribbonLength, b.ribbonLength) &&
           Same(a.ribbonWidth, b.ribbonWidth) && Same(a.ribbonThickness, b.ribbonThickness) &&
           a.thermalTheory == b.thermalTheory;
}

bool operator==(const StoreData &a, const StoreData &b)
{
    return a.language == b.language && a.unitSystem == b.unitSystem && a.colors == b.colors &&
           a.materials == b.materials && a.laminates == b.laminates && a.current == b.current &&
           a.plyMaterials == b.plyMaterials;
}

StoreData DemoStore()
{
    StoreData d;
    d.language = 0;
    d.unitSystem = 10; // mm-N
    d.colors = {
        {1, "Black", 0, 0, 0},        {2, "Red", 255, 0, 0},       {3, "Green", 0, 160, 0},
        {4, "Blue", 0, 0, 255},       {5, "Yellow", 255, 255, 0},  {6, "Cyan", 0, 255, 255},
        {7, "Magenta", 255, 0, 255},  {8, "White", 255, 255, 255}, {9, "Gray", 128, 128, 128},
        {10, "Orange", 255, 165, 0},  {11, "Purple", 128, 0, 128}, {12, "Brown", 139, 69, 19},
        {13, "Pink", 255, 192, 203},  {14, "Olive", 128, 128, 0},  {15, "Navy", 0, 0, 128},
        {16, "Teal", 0, 128, 128},
    };
    d.materials = {
        {101, "HS carbon fibre", "Fiber"},
        {102, "E-glass fibre", "Fiber"},
        {103, "Aramid fibre", "Fiber"},
        {201, "Epoxy resin", "Matrix"},
        {202, "Polyester resin", "Matrix"},
        {301, "Carbon/epoxy UD 0.125", "Ply"},
        {302, "Glass/epoxy UD 0.25", "Ply"},
        {303, "Carbon/epoxy fabric 0.2", "Ply"},
    };

    HostLaminate lam;
    lam.name = "Demo laminate";
    lam.hostNumber = 1;
    lam.failureTheory = 3; // Tsai-Wu
    lam.referencePlane = -0.5f; // middle of the 1 mm stack
    lam.tsaiWuCoefficient = -0.5f;
    lam.referenceTemperature = 20.0;
    const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
    const int colors[] = {2, 3, 4, 10};
    for (int i = 0; i < 8; ++i) {
        const int k = i < 4 ? i : 7 - i;
        lam.plies.push_back({0.125f, angles[k], 301, colors[k]});
    }
    d.laminates.push_back(lam);
    d.current = 0;
    return d;
}

} // namespace LamHost
