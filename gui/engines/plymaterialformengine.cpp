#include "gui/engines/plymaterialformengine.h"

#include "core/plymaterial.h"
#include "gui/engines/halpintsaiformview.h"
#include "gui/engines/plymaterialformview.h"
#include "host/appcontext.h"
#include "host/materiallist.h"
#include "util/trace.h"
#include "util/tolerance.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <memory>

namespace {

constexpr const char *kValidation = QT_TRANSLATE_NOOP("PlyMaterialForm", "Validation Warning");

// NaN fails both comparisons, so it is refused with the range.
bool Fraction(float value) { return value >= 0.0f && value <= 1.0f; }

std::string NameOf(const MaterialList *list, int id)
{
    MaterialInfo info;
    return list && list->GetMaterial(id, info) != -1 ? info.Name() : std::string(" ");
}

} // namespace

PlyMaterialFormEngine::PlyMaterialFormEngine(PlyMaterialFormView *view, AppContext *context)
    : view_(view), context_(context)
{
}

PlyMaterialFormEngine::~PlyMaterialFormEngine() = default;

void PlyMaterialFormEngine::Initialize()
{
    const PlyMaterial &m = context_->GetPlyMaterial();
    const MaterialList *list = context_->GetMaterialList();
    view_->SetMatrixName(NameOf(list, m.MatrixMaterial()));
    view_->SetFiberName(NameOf(list, m.FiberMaterial()));
    view_->SetFiberFraction(static_cast<float>(m.FiberFraction()));
    view_->SetMatrixFraction(static_cast<float>(m.MatrixFraction()));
    // Another code never comes from this dialog or a fresh record; the menu then stays as it is.
    if (m.ElasticTheory() >= PlyMaterial::HalpinTsai && m.ElasticTheory() <= PlyMaterial::UserDefinedTheory)
        view_->SetElasticTheory(m.ElasticTheory() - 1);
    view_->SetThermalTheory(m.ThermalTheory() == PlyMaterial::Energy ? 1 : 0);
}

void PlyMaterialFormEngine::SelectMaterial(int kind)
{
    MaterialList *list = context_->GetMaterialList();
    if (!list)
        return;
    bool changed = false;
    const int id = list->SelectMaterial(kind, &changed);
    if (changed)
        TraceLine("Materials have changed in Quarnel!");
    if (id == -2) {
        TraceLine("eNO_SELECTION");
        return;
    }
    if (id == -1) {
        TraceLine("eUNKNOWN");
        view_->ShowWarning(QT_TRANSLATE_NOOP("PlyMaterialForm", "Material Selection Warning"),
                           QT_TRANSLATE_NOOP("PlyMaterialForm", "unknown material"));
        return;
    }
    const std::string name = NameOf(list, id);
    TraceLine([&] { return "Selected PlyMaterial " + std::to_string(id) + " = " + name; });
    if (kind == MatrixMaterialKind)
        view_->SetMatrixName(name);
    else
        view_->SetFiberName(name);
}

int PlyMaterialFormEngine::Done()
{
    float m = view_->GetMatrixFraction();
    if (!Fraction(m)) {
        view_->ShowWarning(kValidation,
                           QT_TRANSLATE_NOOP("PlyMaterialForm", "Matrix Volume Fraction must be between 0.0 to 1.0"));
        return 1;
    }
    float f = view_->GetFiberFraction();
    if (!Fraction(f)) {
        view_->ShowWarning(kValidation,
                           QT_TRANSLATE_NOOP("PlyMaterialForm", "Fiber Volume Fraction must be between 0.0 to 1.0"));
        return 1;
    }
    const float sum = m + f;
    if (sum > 1.0f) {
        if (ValuesDiffer(sum, 1.0f, 1e-6f)) {
            view_->ShowWarning(kValidation, QT_TRANSLATE_NOOP("PlyMaterialForm", "The sum of volume fractions "
                                                                                 "(matrix + fiber) cannot exceed 1.0"));
            return 1;
        }
        // The excess is rounding: the matrix absorbs it unless its share is too small to.
        if (m > 0.1f)
            m = 1.0f - f;
        else
            f = 1.0f - m;
    }
    PlyMaterial &record = context_->GetPlyMaterial();
    record.SetMatrixFraction(m);
    record.SetFiberFraction(f);
    record.SetElasticTheory(view_->GetElasticTheory() + 1);
    record.SetThermalTheory(view_->GetThermalTheory() + 1);
    if (CheckMatrixMaterial(view_->GetMatrixName()) || CheckFiberMaterial(view_->GetFiberName()))
        return 1;
    if (record.FiberMaterial() == record.MatrixMaterial()) {
        view_->ShowWarning(kValidation,
                           QT_TRANSLATE_NOOP("PlyMaterialForm", "Matrix and Fiber Material must be different"));
        return 1;
    }
    return 0;
}

int PlyMaterialFormEngine::CheckMaterial(const std::string &name, void (PlyMaterial::*store)(int),
                                         const char *warning)
{
    const MaterialList *list = context_->GetMaterialList();
    if (!name.empty() && list) {
        MaterialInfo info;
        for (int id = list->GetNextId(-1); id != -1; id = list->GetNextId(id)) {
            if (list->GetMaterial(id, info) != -1 && info.Name() == name) {
                (context_->GetPlyMaterial().*store)(id);
                return 0;
            }
        }
    }
    view_->ShowWarning(kValidation, warning);
    return 1;
}

int PlyMaterialFormEngine::CheckMatrixMaterial(std::string name)
{
    return CheckMaterial(name, &PlyMaterial::SetMatrixMaterial,
                         QT_TRANSLATE_NOOP("PlyMaterialForm", "Matrix Material not selected"));
}

int PlyMaterialFormEngine::CheckFiberMaterial(std::string name)
{
    return CheckMaterial(name, &PlyMaterial::SetFiberMaterial,
                         QT_TRANSLATE_NOOP("PlyMaterialForm", "Fiber Material not selected"));
}

void PlyMaterialFormEngine::HalpinTsaiOptions()
{
    PlyMaterial &record = context_->GetPlyMaterial();
    const PlyMaterial before = record;
    const std::unique_ptr<HalpinTsaiFormView> dialog = view_->CreateHalpinTsaiForm(context_);
    if (!dialog || !dialog->Exec())
        record = before;
}
