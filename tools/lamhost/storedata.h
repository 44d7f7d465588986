#pragma once

#include <array>
#include <string>
#include <vector>

// What a host stand-in stores: the data that it serves through the callback
// table and that it takes back from saves. Plain values, copied freely.
namespace LamHost {

struct HostColor
{
    int id = 0;
    std::string name;
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A catalogue entry; the type text means something to the host only.
struct HostMaterial
{
    int id = 0;
    std::string name;
    std::string type;
};

struct HostPly
{
    float thickness = 0.0f;
    float angle = 0.0f; // degrees
    int material = 0;   // catalogue id
    int color = 0;      // colour id
};

// Every value of the loading and the saving exchange. The Tsai-Wu interaction
// type is only ever saved; the name and the host number are only ever loaded.
struct HostLaminate
{
    std::string name;
    int hostNumber = 0;
    int failureTheory = 3;
    int hostOption = 0;
    float referencePlane = 0.0f;
    float bondingStress = 0.0f;
    int tsaiWuType = 0;
    float tsaiWuCoefficient = 0.0f;
    double nonStructuralMass = 0.0;
    double damping = 0.0;
    double referenceTemperature = 0.0;
    std::vector<HostPly> plies; // entry 0 is the bottom ply
};

// The arguments of one SavePlyMaterial.
struct HostPlyMaterial
{
    int matrixMaterial = 0;
    int fiberMaterial = 0;
    double matrixFraction = 0.0;
    double fiberFraction = 0.0;
    int elasticTheory = 0;
    std::array<double, 5> factors{}; // E11, E22, NU12, NU23, G12
    int halpinTsaiOption = 0;
    int extraOption = 0;
    double aspectRatio = 0.0;
    double transverseRibbon = 0.0;
    double ribbonLength = 0.0;
    double ribbonWidth = 0.0;
    double ribbonThickness = 0.0;
    int thermalTheory = 0;
};

struct StoreData
{
    int language = 0;   // GetLanguage
    int unitSystem = 1; // GetUnitSystem
    std::vector<HostColor> colors;       // in host order; an id may repeat
    std::vector<HostMaterial> materials; // the first entry of an id answers
    std::vector<HostLaminate> laminates;
    int current = -1; // index into laminates; -1: no current laminate
    std::vector<HostPlyMaterial> plyMaterials; // saved, oldest first
};

bool operator==(const HostColor &a, const HostColor &b);
bool operator==(const HostMaterial &a, const HostMaterial &b);
bool operator==(const HostPly &a, const HostPly &b);
bool operator==(const HostLaminate &a, const HostLaminate &b);
bool operator==(const HostPlyMaterial &a, const HostPlyMaterial &b);
bool operator==(const StoreData &a, const StoreData &b);

// A store to start from: a catalogue of fibre, matrix and ply materials,
// sixteen named colours and, current, an eight-ply [0/45/-45/90] symmetric
// laminate in millimetres (unit system 10).
StoreData DemoStore();

} // namespace LamHost
