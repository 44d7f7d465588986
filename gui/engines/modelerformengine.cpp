#include "gui/engines/modelerformengine.h"

#include "core/laminate.h"
#include "core/unitsystem.h"
#include "gui/engines/modelerformview.h"
#include "host/appcontext.h"
#include "host/laminatemanager.h"

#include <QtGlobal> // marks the texts the dialog translates

#include <cmath>

namespace {

constexpr int kFailureTheories = 6;

// NaN fails every comparison: it never passes a bound.
bool AtLeast(double value, double minimum) { return value >= minimum; }

} // namespace

struct ModelerFormEngine::Impl
{
    ModelerFormView *view;
    AppContext *context;

    int Refuse(const char *text) const
    {
        view->ShowWarning(QT_TRANSLATE_NOOP("ModelerForm", "Validation Warning"), text);
        return 1;
    }
};

ModelerFormEngine::ModelerFormEngine(ModelerFormView *view, AppContext *context)
    : impl_(new Impl{view, context})
{
}

ModelerFormEngine::~ModelerFormEngine() = default;

void ModelerFormEngine::Initialize()
{
    ModelerFormView *view = impl_->view;
    const Laminate &laminate = impl_->context->GetLaminate();
    view->InitWidgets();
    const int method = laminate.ReferencePlaneMethod();
    view->SetRefPlane(method >= Laminate::Top && method <= Laminate::Bottom ? method : Laminate::UserDefinedLocation,
                      laminate.UserReferencePlaneLocation());
    view->SetAllowableStress(laminate.BondingStress());
    view->SetNonStructuralMass(laminate.NonStructuralMass());
    view->SetTsaiWuF12(laminate.TsaiWuCoefficient());
    view->SetDamping(laminate.Damping());
    view->SetReferenceTemperature(laminate.ReferenceTemperature());
    const int theory = laminate.FailureTheory();
    view->SetFailureTheory(theory >= 1 && theory <= kFailureTheories ? theory - 1 : 0);
    const UnitSystem &units = impl_->context->GetUnits();
    view->SetUnits(units.LengthName(false), units.StressName(), units.TemperatureName(false), units.MassPerAreaName());
}

int ModelerFormEngine::Done()
{
    ModelerFormView *view = impl_->view;
    Laminate edited(impl_->context->GetLaminate());

    const float stress = view->GetAllowableStress();
    if (!std::isfinite(stress))
        return impl_->Refuse(
            QT_TRANSLATE_NOOP("ModelerForm", "Allowable Stress must be a number within -3.4e+38 to 3.4e+38"));
    if (!AtLeast(stress, 0.0))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Allowable Stress must be positive"));
    edited.SetBondingStress(stress);

    int method = view->GetRefPlaneKind();
    if (method < Laminate::Top || method > Laminate::Bottom)
        method = Laminate::UserDefinedLocation;
    const float location = view->GetRefPlaneValue();
    if (!std::isfinite(location))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Bottom Fiber Distance must be a finite number"));
    edited.SetReferencePlane(method, location);

    const float coefficient = view->GetTsaiWuF12();
    if (!AtLeast(coefficient, -1.0) || coefficient > 1.0f)
        return impl_->Refuse(
            QT_TRANSLATE_NOOP("ModelerForm", "Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0"));
    edited.SetTsaiWuCoefficient(coefficient);

    const double mass = view->GetNonStructuralMass();
    if (!std::isfinite(mass))
        return impl_->Refuse(
            QT_TRANSLATE_NOOP("ModelerForm", "Non-Structural Mass per Unit Area must be a finite number"));
    if (!AtLeast(mass, 0.0))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Non-Structural Mass per Unit Area must be positive"));
    edited.SetNonStructuralMass(mass);

    const double temperature = view->GetReferenceTemperature();
    if (!std::isfinite(temperature))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Reference Temperature must be a finite number"));
    if (!AtLeast(temperature, impl_->context->GetUnits().TemperatureOffset()))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Reference Temperature must be above absolute zero"));
    edited.SetReferenceTemperature(temperature);

    const double damping = view->GetDamping();
    if (!std::isfinite(damping))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Damping Coefficient must be a finite number"));
    if (!AtLeast(damping, 0.0))
        return impl_->Refuse(QT_TRANSLATE_NOOP("ModelerForm", "Damping Coefficient must be positive"));
    edited.SetDamping(damping);

    const int theory = view->GetFailureTheory();
    edited.SetFailureTheory(theory >= 0 && theory < kFailureTheories ? theory + 1 : Laminate::Hill);
    edited.SetTsaiWuInteractionType(1);

    impl_->context->GetLaminateManager()->SetProperties(edited);
    return 0;
}

float ModelerFormEngine::GetThickness() const
{
    return impl_->context->GetLaminate().RootGroup().TotalThickness();
}
