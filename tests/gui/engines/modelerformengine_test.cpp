#include "gui/engines/modelerformengine.h"

#include "core/laminate.h"
#include "gui/engines/modelerformview.h"
#include "gui/laminatehost.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Holds what the engine writes and answers it back, as an untouched dialog would.
class FakeModelerView : public ModelerFormView
{
public:
    bool Exec() override { return false; }
    void ShowWarning(const char *title, const char *text) override
    {
        warnings.push_back(std::string(title) + ": " + text);
    }
    void InitWidgets() override {}
    int GetRefPlaneKind() const override { return kind; }
    void SetRefPlane(int method, float location) override { kind = method, location_ = location; }
    float GetRefPlaneValue() const override { return location_; }
    void SetAllowableStress(float value) override { stress = value; }
    float GetAllowableStress() const override { return stress; }
    void SetTsaiWuF12(float value) override { f12 = value; }
    float GetTsaiWuF12() const override { return f12; }
    void SetNonStructuralMass(double value) override { mass = value; }
    double GetNonStructuralMass() const override { return mass; }
    void SetDamping(double value) override { damping = value; }
    double GetDamping() const override { return damping; }
    void SetReferenceTemperature(double value) override { temperature = value; }
    double GetReferenceTemperature() const override { return temperature; }
    void SetFailureTheory(int index) override { theory = index; }
    int GetFailureTheory() const override { return theory; }
    void SetUnits(std::string, std::string, std::string, std::string) override {}

    int kind = -1, theory = -1;
    float location_ = 0, stress = 0, f12 = 0;
    double mass = 0, damping = 0, temperature = 0;
    Lines warnings;
};

// The engine on a one-ply laminate in a unit system, its view filled.
struct Dialog
{
    explicit Dialog(int unitSystem = 10) : host(LaminateHost::WithPlies({{0.125f, 0, 301, 2}}, unitSystem))
    {
        engine.Initialize();
    }
    bool Recorded()
    {
        std::string name;
        return host.context.GetLaminateManager()->LastCommandName(name) && name == "Set Properties";
    }

    LaminateHost host;
    FakeModelerView view;
    ModelerFormEngine engine{&view, &host.context};
};

const char *const kStress = "Allowable Stress must be positive";
const char *const kF12 = "Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0";
const char *const kMass = "Non-Structural Mass per Unit Area must be positive";
const char *const kDamping = "Damping Coefficient must be positive";
const char *const kTemperature = "Reference Temperature must be above absolute zero";

TEST(ModelerEngine, OkWithoutChangeRecordsNothingAndChecksReportOnlyTheFirstFailure)
{
    Dialog dialog;
    FakeModelerView &view = dialog.view;
    EXPECT_EQ(dialog.engine.Done(), 0);
    EXPECT_FALSE(dialog.Recorded());
    view.stress = -1, view.f12 = 2, view.mass = -1, view.temperature = -1000, view.damping = -1;
    const std::vector<std::pair<const char *, std::function<void()>>> steps = {
        {kStress, [&] { view.stress = 0; }},          {kF12, [&] { view.f12 = 0; }},
        {kMass, [&] { view.mass = 0.5; }},            {kTemperature, [&] { view.temperature = 25; }},
        {kDamping, [&] { view.damping = 0.02; }},
    };
    for (const auto &[text, fix] : steps) {
        view.warnings.clear();
        EXPECT_EQ(dialog.engine.Done(), 1);
        EXPECT_EQ(view.warnings, Lines{std::string("Validation Warning: ") + text});
        EXPECT_FALSE(dialog.Recorded());
        fix();
    }
    EXPECT_EQ(dialog.engine.Done(), 0);
    EXPECT_TRUE(dialog.Recorded());
    const Laminate &stored = dialog.host.context.GetLaminate();
    EXPECT_EQ(stored.NonStructuralMass() + stored.Damping() + stored.ReferenceTemperature(), 0.5 + 0.02 + 25);
}

TEST(ModelerEngine, AcceptsEachBoundAndRefusesBeyondIt)
{
    enum Field { Stress, Mass, Damping, Temperature, HillF12, Keyin };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const char *const location = "Bottom Fiber Distance must be a finite number";
    const char *const floatRange = "Allowable Stress must be a number within -3.4e+38 to 3.4e+38";
    const char *const massFinite = "Non-Structural Mass per Unit Area must be a finite number";
    const char *const dampingFinite = "Damping Coefficient must be a finite number";
    const char *const temperatureFinite = "Reference Temperature must be a finite number";
    const struct
    {
        int unitSystem;
        Field field;
        double value;
        const char *refusal; // null: accepted
    } rows[] = {
        {10, Stress, 0, nullptr}, {10, Stress, -0.001, kStress}, {10, Mass, 0, nullptr}, {10, Mass, -0.001, kMass},
        {10, Damping, 0, nullptr}, {10, Damping, -0.001, kDamping}, {10, Temperature, -273.15, nullptr},
        {10, Temperature, -273.16, kTemperature}, {2, Temperature, -459.67, nullptr},
        {2, Temperature, -459.68, kTemperature}, {20, Temperature, 0, nullptr}, {20, Temperature, -1, kTemperature},
        {10, HillF12, 1.0, nullptr}, {10, HillF12, -1.0, nullptr}, {10, HillF12, 1.01, kF12},
        {10, HillF12, -1.01, kF12},
        // Not a finite number (a float field's text beyond the float range
        // reads as an infinity): refused as such, never stored.
        {10, Stress, nan, floatRange}, {10, Stress, -inf, floatRange}, {10, Mass, nan, massFinite},
        {10, Damping, inf, dampingFinite}, {10, Temperature, nan, temperatureFinite}, {10, HillF12, nan, kF12},
        {10, HillF12, inf, kF12}, {10, Keyin, inf, location}, {10, Keyin, nan, location},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.field) + " = " + std::to_string(row.value));
        Dialog dialog(row.unitSystem);
        FakeModelerView &view = dialog.view;
        const auto value = static_cast<float>(row.value);
        switch (row.field) {
        case Stress: view.stress = value; break;
        case Mass: view.mass = row.value; break;
        case Damping: view.damping = row.value; break;
        case Temperature: view.temperature = row.value; break;
        case HillF12: view.theory = 0, view.f12 = value; break;
        case Keyin: view.kind = 3, view.location_ = value; break;
        }
        EXPECT_EQ(dialog.engine.Done(), row.refusal ? 1 : 0);
        EXPECT_EQ(view.warnings, row.refusal ? Lines{std::string("Validation Warning: ") + row.refusal} : Lines{});
        EXPECT_FALSE(row.refusal && dialog.Recorded());
    }
}

TEST(ModelerEngine, TheoryCodesOutsideTheMenuOpenAndSaveAsHill)
{
    Dialog dialog;
    Laminate &laminate = dialog.host.context.GetLaminate();
    laminate.SetFailureTheory(9);
    dialog.engine.Initialize();
    EXPECT_EQ(dialog.view.theory, 0);
    ASSERT_EQ(dialog.engine.Done(), 0);
    EXPECT_EQ(laminate.FailureTheory(), Laminate::Hill);
    dialog.view.theory = 17; // a view index out of range saves Hill too
    laminate.SetFailureTheory(3);
    ASSERT_EQ(dialog.engine.Done(), 0);
    EXPECT_EQ(laminate.FailureTheory(), Laminate::Hill);
}

} // namespace
