#include "gui/engines/halpintsaiformengine.h"

#include "core/plymaterial.h"
#include "core/unitsystem.h"
#include "gui/engines/halpintsaiformview.h"
#include "host/appcontext.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <cmath>
#include <string>

namespace {

constexpr const char *kValidation = QT_TRANSLATE_NOOP("HalpinTsaiForm", "Validation Warning");

// The record keeps doubles: only a text that reads as no number or beyond
// the double range gives a value that is not finite.
const char *FiniteOrPositive(double value, const char *notFinite, const char *negative)
{
    if (!std::isfinite(value))
        return notFinite;
    // Only negative values are wrong for these parameters, so zero passes.
    return value < 0.0 ? negative : nullptr;
}

} // namespace

HalpinTsaiFormEngine::HalpinTsaiFormEngine(HalpinTsaiFormView *view, AppContext *context)
    : view_(view), context_(context)
{
}

HalpinTsaiFormEngine::~HalpinTsaiFormEngine() = default;

void HalpinTsaiFormEngine::Initialize()
{
    const std::string unit = context_->GetUnits().LengthName(false);
    view_->SetUnitTexts(unit.c_str());
    const PlyMaterial &m = context_->GetPlyMaterial();
    const int option = m.HalpinTsaiOption();
    view_->SetPlyDescription(option >= PlyMaterial::ContinuousFiber && option <= PlyMaterial::UserDefinedOption
                                 ? option - 1
                                 : 0);
    view_->SetLongitudinalAspectRatio(m.LongitudinalAspectRatio());
    view_->SetTransverseAspectRatio(m.TransverseRibbonDimension());
    view_->SetRibbonLength(m.RibbonLength());
    view_->SetRibbonWidth(m.RibbonWidth());
    view_->SetRibbonThickness(m.RibbonThickness());
    view_->SetE11(m.ReinforcingE11());
    view_->SetE22(m.ReinforcingE22());
    view_->SetNU12(m.ReinforcingNU12());
    view_->SetNU23(m.ReinforcingNU23());
    view_->SetG12(m.ReinforcingG12());
}

int HalpinTsaiFormEngine::Done()
{
    PlyMaterial &m = context_->GetPlyMaterial();
    struct Single
    {
        double (HalpinTsaiFormView::*get)();
        void (PlyMaterial::*set)(double);
        const char *notFinite;
        const char *negative;
    };
    static const Single singles[] = {
        {&HalpinTsaiFormView::GetLongitudinalAspectRatio, &PlyMaterial::SetLongitudinalAspectRatio,
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Longitudinal aspect ratio must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Longitudinal aspect ratio must be positive")},
        {&HalpinTsaiFormView::GetTransverseAspectRatio, &PlyMaterial::SetTransverseRibbonDimension,
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Transverse aspect ratio must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Transverse aspect ratio must be positive")},
        {&HalpinTsaiFormView::GetRibbonLength, &PlyMaterial::SetRibbonLength,
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Length must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Length must be positive")},
        {&HalpinTsaiFormView::GetRibbonWidth, &PlyMaterial::SetRibbonWidth,
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Width must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Width must be positive")},
        {&HalpinTsaiFormView::GetRibbonThickness, &PlyMaterial::SetRibbonThickness,
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Thickness must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Average Ribbon Thickness must be positive")},
    };
    for (const Single &s : singles) {
        const double value = (view_->*s.get)();
        if (const char *warning = FiniteOrPositive(value, s.notFinite, s.negative)) {
            view_->ShowWarning(kValidation, warning);
            return 1;
        }
        (m.*s.set)(value);
    }

    const double factors[5] = {view_->GetE11(), view_->GetE22(), view_->GetNU12(), view_->GetNU23(),
                               view_->GetG12()};
    static const char *const factorWarnings[5][2] = {
        {QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor E11 must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor E11 must be positive")},
        {QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor E22 must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor E22 must be positive")},
        {QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor NU12 must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor NU12 must be positive")},
        {QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor NU23 must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor NU23 must be positive")},
        {QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor G12 must be a finite number"),
         QT_TRANSLATE_NOOP("HalpinTsaiForm", "Reinforcing factor G12 must be positive")}};
    for (int i = 0; i < 5; ++i) {
        if (const char *warning = FiniteOrPositive(factors[i], factorWarnings[i][0], factorWarnings[i][1])) {
            view_->ShowWarning(kValidation, warning);
            return 1;
        }
    }
    m.SetReinforcingFactors(factors);
    m.SetHalpinTsaiOption(view_->GetPlyDescription() + 1);
    return 0;
}
