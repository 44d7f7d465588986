#include "gui/engines/plydataformengine.h"

#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/engines/plydataformview.h"
#include "host/appcontext.h"
#include "host/colormanager.h"
#include "host/materiallist.h"
#include "util/trace.h"
#include "core/plyangle.h"
#include "util/tolerance.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <cmath>
#include <optional>
#include <set>
#include <string>

namespace {

constexpr int kColorCycle = 16;
constexpr int kNoMaterial = -1;

// The entries every ply data dialog of the process starts from.
int gLastMaterial = kNoMaterial;
float gLastThickness = KeepValueSentinel;
float gLastAngle = KeepValueSentinel;
int gColorCounter = 1;

} // namespace

void ResetPlyDataEntries()
{
    gLastMaterial = kNoMaterial;
    gLastThickness = gLastAngle = KeepValueSentinel;
    gColorCounter = 1;
}

struct PlyDataFormEngine::Impl
{
    PlyDataFormView *view;
    AppContext *context;
    Selection selection;
    bool newPly = true;
    bool mixedMaterials = false;
    bool mixedColors = false;

    LayupManager *Layup() const { return context->GetLayupManager(); }
    // Several plies keep their own value where the entry is left blank.
    bool SeveralPlies() const { return !newPly && selection.plies.size() >= 2; }
    bool Refuse(const char *text) const
    {
        view->ShowWarning(QT_TRANSLATE_NOOP("PlyDataForm", "Validation Warning"), text);
        return false;
    }
    bool BlankPasses(const char *text) const { return SeveralPlies() || Refuse(text); }

    void ShowMaterials(int select);
    void ShowPlyColor(int color);
    bool CheckMaterial(int &out) const;
    bool CheckThickness(float &out) const;
    bool CheckAngle(float &out) const;
    bool CheckColor(int &out) const;
};

// A material the list does not hold (a repaired ply's -1 among them) shows as
// the blank entry when modifying: left as it is, a single ply is refused and
// several plies keep their materials, instead of taking the first one listed.
void PlyDataFormEngine::Impl::ShowMaterials(int select)
{
    const MaterialList *list = context->GetMaterialList();
    view->ClearMaterialMenu();
    const bool known = select != kNoMaterial && list->Contains(select);
    if (mixedMaterials || list->GetNextId(-1) == -1 || (!newPly && !known))
        view->SetMaterialMenu(" ", !known);
    for (int id = list->GetNextId(-1); id != -1; id = list->GetNextId(id)) {
        MaterialInfo info;
        list->GetMaterial(id, info);
        view->SetMaterialMenu(info.Name(), known && id == select);
    }
    gLastMaterial = known ? select : kNoMaterial;
}

// The same holds for a ply colour the host's table lacks when modifying.
void PlyDataFormEngine::Impl::ShowPlyColor(int color)
{
    ColorInfo info(color);
    if (color > 0 && context->GetColorManager()->GetColor(color, info))
        view->SetColorMenu(info.Name(), true);
    else if (color <= 0 || !newPly)
        view->SetColorMenu(" ", true);
}

bool PlyDataFormEngine::Impl::CheckMaterial(int &out) const
{
    out = kNoMaterial;
    const std::string text = view->GetMaterialText();
    if (text != " " && !text.empty()) {
        const MaterialList *list = context->GetMaterialList();
        for (int id = list->GetNextId(-1); id != -1; id = list->GetNextId(id)) {
            MaterialInfo info;
            list->GetMaterial(id, info);
            if (info.Name() == text) {
                out = id;
                return true;
            }
        }
    }
    return BlankPasses(QT_TRANSLATE_NOOP("PlyDataForm", "Material not specified for this ply"));
}

bool PlyDataFormEngine::Impl::CheckThickness(float &out) const
{
    const std::optional<float> entry = view->GetThickness();
    out = entry.value_or(KeepValueSentinel);
    if (!entry)
        return BlankPasses(QT_TRANSLATE_NOOP("PlyDataForm", "Please enter Thickness"));
    if (!std::isfinite(out))
        return Refuse(QT_TRANSLATE_NOOP("PlyDataForm", "Thickness must be a number within -3.4e+38 to 3.4e+38"));
    if (out > 0.0f)
        return true;
    return Refuse(QT_TRANSLATE_NOOP("PlyDataForm", "Thickness must be positive"));
}

bool PlyDataFormEngine::Impl::CheckAngle(float &out) const
{
    const std::optional<float> entry = view->GetAngle();
    out = entry.value_or(KeepValueSentinel);
    if (!entry)
        return BlankPasses(QT_TRANSLATE_NOOP("PlyDataForm", "Please enter Angle"));
    if (!(out >= -360.0f && out <= 360.0f))
        return Refuse(QT_TRANSLATE_NOOP("PlyDataForm", "Angle must be within -360 to 360 degrees"));
    out = FoldAngle(out);
    return true;
}

bool PlyDataFormEngine::Impl::CheckColor(int &out) const
{
    out = MixedColorSentinel;
    const std::string text = view->GetColor();
    if (text != " ") {
        ColorInfo info(0);
        for (int id = -1; context->GetColorManager()->GetNextColor(id, info); id = info.Id()) {
            if (info.Name() == text) {
                out = info.Id();
                return true;
            }
        }
    }
    return BlankPasses(QT_TRANSLATE_NOOP("PlyDataForm", "Specify a color"));
}

PlyDataFormEngine::PlyDataFormEngine(PlyDataFormView *view, AppContext *context)
    : impl_(new Impl{view, context, {}})
{
    TraceLine("PlyDataFormEngine contructor.");
}

PlyDataFormEngine::~PlyDataFormEngine() = default;

void PlyDataFormEngine::Initialize(bool newPly, const Selection &selection)
{
    Impl &d = *impl_;
    TraceLine("PlyDataFormEngine::Initialize begins");
    d.newPly = newPly;
    d.selection = selection;
    d.view->InitWidgets(newPly, d.context->GetUnits().LengthName(false).c_str());

    TraceLine("PlyDataFormEngine::Initialize collecting data on layup...");
    const std::set<float> thicknesses = d.Layup()->GetThicknesses();
    const std::set<float> angles = d.Layup()->GetAngles();

    int color = gColorCounter;
    gColorCounter = gColorCounter >= kColorCycle ? 1 : gColorCounter + 1;
    float thickness = KeepValueSentinel;
    float angle = KeepValueSentinel;
    int material = kNoMaterial;
    if (newPly) {
        thickness = gLastThickness;
        angle = gLastAngle;
        material = gLastMaterial;
    }
    d.mixedMaterials = d.mixedColors = false;

    if (!newPly) {
        TraceLine("PlyDataFormEngine::Initialize multiple checks");
        const PlyGroup &root = d.context->GetLaminate().RootGroup();
        bool first = true;
        for (int number : selection.plies) {
            const ConstPlyHandle handle = root.FindPly(number, 0);
            const auto *ply = dynamic_cast<const PlySimple *>(handle.Get());
            if (!ply)
                continue;
            if (first) {
                material = ply->Material();
                thickness = ply->Thickness();
                angle = ply->Angle();
                color = ply->Color();
                first = false;
                continue;
            }
            d.mixedMaterials = d.mixedMaterials || ply->Material() != material;
            if (ValuesDiffer(ply->Thickness(), thickness, kPlyTolerance))
                thickness = KeepValueSentinel;
            if (ValuesDiffer(ply->Angle(), angle, kPlyTolerance))
                angle = KeepValueSentinel;
            if (ply->Color() != color) {
                color = MixedColorSentinel;
                d.mixedColors = true;
            }
        }
    }

    TraceLine("PlyDataFormEngine::Initialize call ShowColor");
    ShowColor(false);
    d.ShowPlyColor(color);

    TraceLine("PlyDataFormEngine::Initialize -> thickness menu");
    for (float value : thicknesses)
        d.view->SetThickness(value, false);
    d.view->SetThickness(thickness, true);
    for (float value : angles)
        d.view->SetAngle(value, false);
    d.view->SetAngle(angle, true);

    d.ShowMaterials(d.mixedMaterials ? kNoMaterial : material);
    TraceLine("PlyDataFormEngine::Initialize ends");
}

int PlyDataFormEngine::Done()
{
    Impl &d = *impl_;
    TraceLine("PlyDataFormEngine::Done begins");
    int material = kNoMaterial;
    float thickness = KeepValueSentinel;
    float angle = KeepValueSentinel;
    int color = MixedColorSentinel;
    if (!d.CheckMaterial(material) || !d.CheckThickness(thickness) || !d.CheckAngle(angle) || !d.CheckColor(color))
        return 1;

    LayupManager *layup = d.Layup();
    if (d.newPly) {
        gLastMaterial = material;
        gLastThickness = thickness;
        gLastAngle = angle;
        if (layup->AddPly(d.selection, material, thickness, angle, color))
            return 0;
        d.view->ShowWarning(QT_TRANSLATE_NOOP("PlyDataForm", "Ply Creation Error"), layup->GetErrorMessage().c_str());
        return 1;
    }

    TraceLine("PlyDataFormEngine::Done for Modify");
    bool applied = true;
    if (material != kNoMaterial) {
        gLastMaterial = material;
        applied = layup->ModifyMaterial(d.selection, material);
    }
    if (applied && thickness >= 0.0f) {
        gLastThickness = thickness;
        applied = layup->ModifyThickness(d.selection, thickness);
    }
    if (applied && angle >= -360.0f) {
        gLastAngle = angle;
        applied = layup->ModifyAngle(d.selection, angle);
    }
    if (applied && color >= 0)
        applied = layup->ModifyColor(d.selection, color);
    if (applied)
        return 0;
    d.view->ShowWarning(QT_TRANSLATE_NOOP("PlyDataForm", "Ply Modification Error"),
                        layup->GetErrorMessage().c_str());
    return 1;
}

void PlyDataFormEngine::SelectMaterial()
{
    Impl &d = *impl_;
    MaterialList *list = d.context->GetMaterialList();
    bool changed = false;
    const int id = list->SelectMaterial(PlyMaterialKind, &changed);
    if (changed) {
        TraceLine("Materials have changed in Quarnel!");
        int ply = 0;
        int missing = 0;
        if (!d.Layup()->CheckMaterials(&ply, &missing))
            d.view->ShowWarningArgs(QT_TRANSLATE_NOOP("PlyDataForm", "Material Selection Warning"),
                                    d.Layup()->GetErrorMessage().c_str(), ply, missing);
        d.ShowMaterials(kNoMaterial);
    }
    if (id == -2) {
        TraceLine("eNO_SELECTION");
    } else if (id == -1) {
        TraceLine("eUNKNOWN");
        d.view->ShowWarning(QT_TRANSLATE_NOOP("PlyDataForm", "Material Selection Warning"),
                            QT_TRANSLATE_NOOP("PlyDataForm", "unknown material"));
    } else {
        MaterialInfo info;
        list->GetMaterial(id, info);
        TraceLine([&] { return "Selected PlyMaterial " + std::to_string(id) + " = " + info.Name(); });
        d.view->SetMaterialMenu(info.Name(), true);
    }
}

void PlyDataFormEngine::ShowColor(bool showAll)
{
    Impl &d = *impl_;
    if (d.mixedColors)
        d.view->SetColorMenu(" ", false);
    const ColorManager *colors = d.context->GetColorManager();
    ColorInfo info(0);
    for (int id = -1; colors->GetNextColor(id, info); id = info.Id()) {
        if (info.Name() != "BLACK")
            d.view->SetColorMenu(info.Name(), false);
        if (!showAll && info.Id() >= kColorCycle)
            break;
    }
}
