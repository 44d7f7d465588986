#include "script/plymaterialcommands.h"

#include "core/plymaterial.h"
#include "core/unitsystem.h"
#include "host/appcontext.h"
#include "host/materiallist.h"
#include "script/linestream.h"

#include <string>

namespace {

std::string CodeName(int code, std::initializer_list<const char *> names)
{
    return code >= 1 && code <= static_cast<int>(names.size()) ? names.begin()[code - 1] : "Unknown ???";
}

} // namespace

PlyMaterialCommands::PlyMaterialCommands(AppContext *context, Output output)
    : ScriptContext(context, output)
{
}

bool PlyMaterialCommands::SetConstituent(bool fiber, int materialId, float fraction)
{
    PlyMaterial &material = context_->GetPlyMaterial();
    if (materialId != 0) {
        // A request starts with an empty cache: ask the host's catalogue, not only the cache.
        MaterialList *materials = context_->GetMaterialList();
        if (!materials || materials->Add(materialId) < 0)
            return false;
        fiber ? material.SetFiberMaterial(materialId) : material.SetMatrixMaterial(materialId);
    }
    if (fraction >= 0.0f)
        fiber ? material.SetFiberFraction(fraction) : material.SetMatrixFraction(fraction);
    return true;
}

void PlyMaterialCommands::SetThermalTheory(int code)
{
    context_->GetPlyMaterial().SetThermalTheory(code);
}

std::array<double, 3> PlyMaterialCommands::RibbonDefaults() const
{
    PlyMaterial defaults;
    defaults.SetDefaults(context_->GetUnits());
    return {defaults.RibbonLength(), defaults.RibbonWidth(), defaults.RibbonThickness()};
}

void PlyMaterialCommands::SetElasticTheory(int theory, int option, double longitudinalAspectRatio,
                                           double transverseRibbonDimension, double ribbonLength, double ribbonWidth,
                                           double ribbonThickness, double e11, double e22, double nu12, double nu23,
                                           double g12)
{
    PlyMaterial &material = context_->GetPlyMaterial();
    material.SetElasticTheory(theory);
    if (option > 0)
        material.SetHalpinTsaiOption(option);
    if (longitudinalAspectRatio >= 0.0)
        material.SetLongitudinalAspectRatio(longitudinalAspectRatio);
    if (transverseRibbonDimension >= 0.0)
        material.SetTransverseRibbonDimension(transverseRibbonDimension);
    if (ribbonLength >= 0.0)
        material.SetRibbonLength(ribbonLength);
    if (ribbonWidth >= 0.0)
        material.SetRibbonWidth(ribbonWidth);
    if (ribbonThickness >= 0.0)
        material.SetRibbonThickness(ribbonThickness);

    double factors[5] = {material.ReinforcingE11(), material.ReinforcingE22(), material.ReinforcingNU12(),
                         material.ReinforcingNU23(), material.ReinforcingG12()};
    const double given[5] = {e11, e22, nu12, nu23, g12};
    bool any = false;
    for (int i = 0; i < 5; ++i) {
        if (given[i] >= 0.0) {
            factors[i] = given[i];
            any = true;
        }
    }
    if (any)
        material.SetReinforcingFactors(factors);
}

void PlyMaterialCommands::List() const
{
    const PlyMaterial &material = context_->GetPlyMaterial();
    const MaterialList *materials = context_->GetMaterialList();
    auto constituent = [&](double fraction, const char *label, int id) {
        MaterialInfo info;
        const bool known = materials && materials->GetMaterial(id, info) >= 0;
        LineStream line;
        line << fraction * 100 << " percent of " << label << " material: " << (known ? info.Name() : "(not specified)");
        PrintLine(line.str());
    };
    constituent(material.MatrixFraction(), "Matrix", material.MatrixMaterial());
    constituent(material.FiberFraction(), "Fiber", material.FiberMaterial());

    PrintLine("Elastic properties theory: "
              + CodeName(material.ElasticTheory(), {"Halpin-Tsai", "Mechanics of Materials",
                                                    "Composite Cylinder Assemblage", "Gough-Tangorra",
                                                    "Akasaka-Hirano", "User-Defined"}));
    if (material.ElasticTheory() == PlyMaterial::HalpinTsai) {
        const int option = material.HalpinTsaiOption();
        PrintLine("  Halpin-Tsai options: "
                  + CodeName(option, {"Continuous Fiber", "Discontinuous Fiber", "Continuous Ribbon",
                                      "Discontinuous Ribbon", "Particulate", "User Defined"}));
        const std::string length = context_->GetUnits().LengthName(false);
        auto valueLine = [this](const char *text, double value, const std::string &unit = std::string()) {
            LineStream line;
            line << text << value << (unit.empty() ? "" : " ") << unit;
            PrintLine(line.str());
        };
        switch (option) {
        case PlyMaterial::DiscontinuousFiber:
            valueLine("    Longitudinal aspect ratio = ", material.LongitudinalAspectRatio());
            break;
        case PlyMaterial::ContinuousRibbon:
            valueLine("    Transverse ribbon dimension = ", material.TransverseRibbonDimension());
            break;
        case PlyMaterial::DiscontinuousRibbon:
            PrintLine("    Ribbon dimensions:");
            valueLine("      length: ", material.RibbonLength(), length);
            valueLine("      width: ", material.RibbonWidth(), length);
            valueLine("      thickness: ", material.RibbonThickness(), length);
            break;
        case PlyMaterial::UserDefinedOption:
            PrintLine("    Reinforcing factors:");
            valueLine("      E11: ", material.ReinforcingE11());
            valueLine("      E22: ", material.ReinforcingE22());
            valueLine("      NU12: ", material.ReinforcingNU12());
            valueLine("      NU23: ", material.ReinforcingNU23());
            valueLine("      G12: ", material.ReinforcingG12());
            break;
        default:
            break;
        }
    }
    PrintLine("Thermal properties theory: " + CodeName(material.ThermalTheory(), {"Levin", "Energy"}));
}
