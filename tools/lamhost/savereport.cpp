#include "tools/lamhost/savereport.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace LamHost {

namespace {

// The shortest text that reads back as the same value, so the printout shows
// exactly what the module sent.
std::string Num(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The module keeps most values as float and widens them to double for the host:
// a double that is exactly a float is shown as that float's shortest text (0.4,
// not 0.4000000059604645). Other doubles get at most 15 significant digits, as
// many as any double holds faithfully: a sum's rounding noise does not show
// (21.85, not 21.850000000000023).
std::string Num(double value)
{
    if (std::fabs(value) <= std::numeric_limits<float>::max()) {
        const auto narrow = static_cast<float>(value);
        if (static_cast<double>(narrow) == value)
            return Num(narrow);
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

// " (name)" for a code in 1..count, else nothing.
template <size_t N>
std::string CodeName(int code, const char *const (&names)[N])
{
    if (code < 1 || code > static_cast<int>(N))
        return {};
    return std::string(" (") + names[code - 1] + ")";
}

const char *const kSaveModes[] = {"create", "modify"};
const char *const kFailureTheories[] = {"Hill",           "Hoffman",        "Tsai-Wu",
                                        "maximum Stress", "maximum Strain", "User-Defined"};
const char *const kElasticTheories[] = {
    "Halpin-Tsai",    "Mechanics of Materials", "Composite Cylinder Assemblage",
    "Gough-Tangorra", "Akasaka-Hirano",         "User-Defined"};
const char *const kHalpinTsaiOptions[] = {"Continuous Fiber",     "Discontinuous Fiber",
                                          "Continuous Ribbon",    "Discontinuous Ribbon",
                                          "Particulate",          "User Defined"};
const char *const kThermalTheories[] = {"Levin", "Energy"};

// "id name" with the first catalogue entry of the id, or the id alone.
std::string MaterialText(const StoreData &data, int id)
{
    for (const HostMaterial &m : data.materials) {
        if (m.id == id)
            return std::to_string(id) + " " + m.name;
    }
    return std::to_string(id);
}

std::string ColorText(const StoreData &data, int id)
{
    for (const HostColor &c : data.colors) {
        if (c.id == id)
            return std::to_string(id) + " " + c.name;
    }
    return std::to_string(id);
}

std::string PadLeft(const std::string &text, size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string PadRight(const std::string &text, size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string Row(const std::string &ply, const std::string &thickness, const std::string &angle,
                const std::string &color, const std::string &material)
{
    return "    " + PadLeft(ply, 5) + PadLeft(thickness, 13) + PadLeft(angle, 13) + "  " +
           PadRight(color, 12) + " " + material + "\n";
}

void PrintLaminateSave(std::ostream &out, const Store &store, size_t index)
{
    const LaminateSave &s = store.LaminateSaves()[index];
    const StoreData &data = store.Data();
    out << "Laminate save " << index + 1 << ": mode " << s.saveMode
        << CodeName(s.saveMode, kSaveModes) << ", ";
    if (s.result == 0 && s.laminate >= 0 && static_cast<size_t>(s.laminate) < data.laminates.size()) {
        const HostLaminate &lam = data.laminates[static_cast<size_t>(s.laminate)];
        out << "saved as \"" << lam.name << "\" (host number " << lam.hostNumber << ")\n";
    } else {
        out << "refused with result " << s.result << "\n";
    }
    out << "  failure theory " << s.failureTheory << CodeName(s.failureTheory, kFailureTheories)
        << ", Tsai-Wu interaction type " << s.tsaiWuType << ", coefficient "
        << Num(s.tsaiWuCoefficient) << "\n";
    out << "  reference plane " << Num(s.referencePlane) << ", bonding stress "
        << Num(s.bondingStress) << ", host option " << s.hostOption << "\n";
    out << "  non-structural mass " << Num(s.nonStructuralMass) << ", damping " << Num(s.damping)
        << ", reference temperature " << Num(s.referenceTemperature) << "\n";
    out << "  " << s.plyCount << (s.plyCount == 1 ? " ply" : " plies");
    if (static_cast<size_t>(s.plyCount < 0 ? 0 : s.plyCount) != s.plies.size())
        out << " (the arrays were not read)";
    out << ", bottom first\n";
    if (s.plies.empty())
        return;
    out << Row("ply", "thickness", "angle", "colour", "material");
    for (size_t i = 0; i < s.plies.size(); ++i) {
        const HostPly &p = s.plies[i];
        out << Row(std::to_string(i + 1), Num(p.thickness), Num(p.angle), ColorText(data, p.color),
                   MaterialText(data, p.material));
    }
}

void PrintPlyMaterialSave(std::ostream &out, const Store &store, size_t index)
{
    const PlyMaterialSave &s = store.PlyMaterialSaves()[index];
    const HostPlyMaterial &m = s.material;
    const StoreData &data = store.Data();
    out << "Ply material save " << index + 1 << ": ";
    if (s.result == 0)
        out << "saved\n";
    else
        out << "refused with result " << s.result << "\n";
    out << "  matrix material " << MaterialText(data, m.matrixMaterial) << ", fibre material "
        << MaterialText(data, m.fiberMaterial) << "\n";
    out << "  matrix fraction " << Num(m.matrixFraction) << ", fibre fraction "
        << Num(m.fiberFraction) << "\n";
    out << "  elastic theory " << m.elasticTheory << CodeName(m.elasticTheory, kElasticTheories)
        << ", factors E11 " << Num(m.factors[0]) << ", E22 " << Num(m.factors[1]) << ", NU12 "
        << Num(m.factors[2]) << ", NU23 " << Num(m.factors[3]) << ", G12 " << Num(m.factors[4])
        << "\n";
    out << "  Halpin-Tsai option " << m.halpinTsaiOption
        << CodeName(m.halpinTsaiOption, kHalpinTsaiOptions) << ", extra option " << m.extraOption
        << "\n";
    out << "  aspect ratio " << Num(m.aspectRatio) << ", transverse ribbon "
        << Num(m.transverseRibbon) << "\n";
    out << "  ribbon length " << Num(m.ribbonLength) << ", ribbon width " << Num(m.ribbonWidth)
        << ", ribbon thickness " << Num(m.ribbonThickness) << "\n";
    out << "  thermal theory " << m.thermalTheory << CodeName(m.thermalTheory, kThermalTheories)
        << "\n";
}

} // namespace

void PrintSaves(std::ostream &out, const Store &store)
{
    if (store.LaminateSaves().empty() && store.PlyMaterialSaves().empty()) {
        out << "Nothing saved.\n";
        return;
    }
    // One block per save, a blank line between blocks.
    const char *gap = "";
    for (size_t i = 0; i < store.LaminateSaves().size(); ++i, gap = "\n")
        PrintLaminateSave(out << gap, store, i);
    for (size_t i = 0; i < store.PlyMaterialSaves().size(); ++i, gap = "\n")
        PrintPlyMaterialSave(out << gap, store, i);
}

} // namespace LamHost
