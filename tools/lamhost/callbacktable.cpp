#include "tools/lamhost/callbacktable.h"

#include "tools/lamhost/store.h"

#include <algorithm>

// The C side: every slot forwards to the active store; with none active the
// slots fail (result 1, value -1) and messages are dropped.
namespace LamHost {

namespace {

template <Slot S>
void CbUnused()
{
    if (Store *s = Store::Active())
        s->Unused(S);
}

int CbGetLanguage()
{
    Store *s = Store::Active();
    return s ? s->GetLanguage() : -1;
}

int CbGetUnitSystem()
{
    Store *s = Store::Active();
    return s ? s->GetUnitSystem() : -1;
}

int CbGetColorCount()
{
    Store *s = Store::Active();
    return s ? s->GetColorCount() : -1;
}

int CbGetColorIDs(int *ids)
{
    Store *s = Store::Active();
    return s ? s->GetColorIDs(ids) : 1;
}

int CbGetColor(int id, char *name, int *rgb)
{
    Store *s = Store::Active();
    return s ? s->GetColor(id, name, rgb) : 1;
}

int CbGetScriptPath(char *path)
{
    Store *s = Store::Active();
    return s ? s->GetScriptPath(path) : 1;
}

void CbShowMessage(const char *line)
{
    if (Store *s = Store::Active())
        s->ShowMessage(line);
}

int CbGetMaterial(int id, char *name, char *type)
{
    Store *s = Store::Active();
    return s ? s->GetMaterial(id, name, type) : 1;
}

int CbSelectMaterial(int kind, int *id)
{
    Store *s = Store::Active();
    return s ? s->SelectMaterial(kind, id) : 1;
}

int CbSavePlyMaterial(int matrixMaterial, int fiberMaterial, double matrixFraction,
                      double fiberFraction, int elasticTheory, double *factors,
                      int halpinTsaiOption, int extraOption, double aspectRatio,
                      double transverseRibbon, double ribbonLength, double ribbonWidth,
                      double ribbonThickness, int thermalTheory)
{
    Store *s = Store::Active();
    if (!s)
        return 1;
    HostPlyMaterial m;
    m.matrixMaterial = matrixMaterial;
    m.fiberMaterial = fiberMaterial;
    m.matrixFraction = matrixFraction;
    m.fiberFraction = fiberFraction;
    m.elasticTheory = elasticTheory;
    if (factors)
        std::copy(factors, factors + lamPlyMaterialFactorCount, m.factors.begin());
    m.halpinTsaiOption = halpinTsaiOption;
    m.extraOption = extraOption;
    m.aspectRatio = aspectRatio;
    m.transverseRibbon = transverseRibbon;
    m.ribbonLength = ribbonLength;
    m.ribbonWidth = ribbonWidth;
    m.ribbonThickness = ribbonThickness;
    m.thermalTheory = thermalTheory;
    return s->SavePlyMaterial(m, factors != nullptr);
}

int CbGetCurrentLaminate(char *name, int *hostNumber, int *failureTheory, int *hostOption,
                         float *referencePlane, float *bondingStress, float *tsaiWuCoefficient,
                         double *nonStructuralMass, double *damping, double *referenceTemperature,
                         int *plyCount)
{
    Store *s = Store::Active();
    return s ? s->GetCurrentLaminate(name, hostNumber, failureTheory, hostOption, referencePlane,
                                     bondingStress, tsaiWuCoefficient, nonStructuralMass, damping,
                                     referenceTemperature, plyCount)
             : 1;
}

int CbGetCurrentLaminatePlies(float *thicknesses, float *angles, int *materials, int *colors)
{
    Store *s = Store::Active();
    return s ? s->GetCurrentLaminatePlies(thicknesses, angles, materials, colors) : 1;
}

int CbSaveLaminate(int saveMode, int failureTheory, int hostOption, float referencePlane,
                   float bondingStress, int tsaiWuType, float tsaiWuCoefficient,
                   double nonStructuralMass, double damping, double referenceTemperature,
                   int plyCount, float *thicknesses, float *angles, int *materials, int *colors)
{
    Store *s = Store::Active();
    if (!s)
        return 1;
    LaminateSave save;
    save.saveMode = saveMode;
    save.failureTheory = failureTheory;
    save.hostOption = hostOption;
    save.referencePlane = referencePlane;
    save.bondingStress = bondingStress;
    save.tsaiWuType = tsaiWuType;
    save.tsaiWuCoefficient = tsaiWuCoefficient;
    save.nonStructuralMass = nonStructuralMass;
    save.damping = damping;
    save.referenceTemperature = referenceTemperature;
    save.plyCount = plyCount;
    // Without the arrays the plies stay unread and the store refuses the save.
    if (thicknesses && angles && materials && colors) {
        for (int i = 0; i < plyCount; ++i)
            save.plies.push_back({thicknesses[i], angles[i], materials[i], colors[i]});
    }
    return s->SaveLaminate(std::move(save));
}

constexpr lamCallbacksImp kFullTable = {
    CbUnused<Slot::Unused00>, CbGetLanguage, CbGetUnitSystem, CbUnused<Slot::Unused0C>,
    CbGetColorCount, CbGetColorIDs, CbGetColor, CbGetScriptPath, CbShowMessage,
    CbUnused<Slot::Unused24>, CbGetMaterial, CbSelectMaterial, CbSavePlyMaterial,
    CbGetCurrentLaminate, CbGetCurrentLaminatePlies, CbSaveLaminate,
};

lamCallbacksImp gTable = kFullTable;

void NullOut(lamCallbacksImp &t, Slot slot)
{
    switch (slot) {
    case Slot::Unused00: t.Unused00 = nullptr; break;
    case Slot::GetLanguage: t.GetLanguage = nullptr; break;
    case Slot::GetUnitSystem: t.GetUnitSystem = nullptr; break;
    case Slot::Unused0C: t.Unused0C = nullptr; break;
    case Slot::GetColorCount: t.GetColorCount = nullptr; break;
    case Slot::GetColorIDs: t.GetColorIDs = nullptr; break;
    case Slot::GetColor: t.GetColor = nullptr; break;
    case Slot::GetScriptPath: t.GetScriptPath = nullptr; break;
    case Slot::ShowMessage: t.ShowMessage = nullptr; break;
    case Slot::Unused24: t.Unused24 = nullptr; break;
    case Slot::GetMaterial: t.GetMaterial = nullptr; break;
    case Slot::SelectMaterial: t.SelectMaterial = nullptr; break;
    case Slot::SavePlyMaterial: t.SavePlyMaterial = nullptr; break;
    case Slot::GetCurrentLaminate: t.GetCurrentLaminate = nullptr; break;
    case Slot::GetCurrentLaminatePlies: t.GetCurrentLaminatePlies = nullptr; break;
    case Slot::SaveLaminate: t.SaveLaminate = nullptr; break;
    }
}

} // namespace

void SetCallbackTableNulls(const std::array<bool, kSlotCount> &nullSlots)
{
    gTable = kFullTable;
    for (int i = 0; i < kSlotCount; ++i) {
        if (nullSlots[i])
            NullOut(gTable, static_cast<Slot>(i));
    }
}

lamCallbacksImp *CallbackTable()
{
    return &gTable;
}

} // namespace LamHost
