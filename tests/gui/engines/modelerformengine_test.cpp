#include "gui/engines/modelerformengine.h"

#include "core/laminate.h"
#include "gui/engines/modelerformview.h"
#include "host/laminatemanager.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

// Holds what the engine writes and answers it back, as an untouched dialog would.
class FakeModelerView : public ModelerFormView
{
public:
    bool Exec() override { return false; }
    void ShowWarning(const char *title, const char *text) override { warnings.push_back(std::string(title) + ": " + text); }
    void InitWidgets() override { ++inits; }
    int GetRefPlaneKind() const override { return kind; }
    void SetRefPlane(int method, float location) override
    {
        kind = method;
        refPlaneValue = location;
    }
    float GetRefPlaneValue() const override { return refPlaneValue; }
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
    void SetUnits(std::string length, std::string stressName, std::string temperatureName,
                  std::string massPerArea) override
    {
        units = length + "|" + stressName + "|" + temperatureName + "|" + massPerArea;
    }

    int inits = 0;
    int kind = -1;
    float refPlaneValue = 0, stress = 0, f12 = 0;
    double mass = 0, damping = 0, temperature = 0;
    int theory = -1;
    std::string units;
    std::vector<std::string> warnings;
};

struct ModelerEngineTest : ::testing::Test
{
    explicit ModelerEngineTest(int unitSystem = 10) : host(LaminateHost::WithPlies({{0.125f, 0, 301, 2}}, unitSystem))
    {
        engine.Initialize();
    }
    bool Recorded()
    {
        std::string name;
        return host.context.GetLaminateManager()->LastCommandName(name) && name == "Set Properties";
    }
    const Laminate &Current() { return host.context.GetLaminate(); }

    LaminateHost host;
    FakeModelerView view;
    ModelerFormEngine engine{&view, &host.context};
};

TEST_F(ModelerEngineTest, InitializeShowsTheLaminateAndItsUnits)
{
    EXPECT_EQ(view.inits, 1);
    EXPECT_EQ(view.kind, Laminate::UserDefinedLocation); // -0.5 is no inferred plane of a 0.125 stack
    EXPECT_FLOAT_EQ(view.refPlaneValue, -0.5f);
    EXPECT_FLOAT_EQ(view.f12, -0.5f);
    EXPECT_DOUBLE_EQ(view.temperature, 20.0);
    EXPECT_EQ(view.theory, 2); // Tsai-Wu
    EXPECT_EQ(view.units, "mm|N/mm^2|C|tonne/mm^2");
    EXPECT_FLOAT_EQ(engine.GetThickness(), 0.125f);
}

TEST_F(ModelerEngineTest, OkWithoutChangeRecordsNothing)
{
    EXPECT_EQ(engine.Done(), 0);
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_FALSE(Recorded());
}

TEST_F(ModelerEngineTest, ChecksReportOnlyTheFirstFailureInTheirOrder)
{
    view.stress = -1;
    view.f12 = 2;
    view.mass = -1;
    view.temperature = -1000;
    view.damping = -1;
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"Allowable Stress must be positive", [&] { view.stress = 0; }},
        {"Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0", [&] { view.f12 = 0; }},
        {"Non-Structural Mass per Unit Area must be positive", [&] { view.mass = 0; }},
        {"Reference Temperature must be above absolute zero", [&] { view.temperature = 0; }},
        {"Damping Coefficient must be positive", [&] { view.damping = 0; }},
    };
    for (const auto &[text, fix] : steps) {
        view.warnings.clear();
        EXPECT_EQ(engine.Done(), 1);
        EXPECT_EQ(view.warnings, std::vector<std::string>{"Validation Warning: " + text});
        EXPECT_FALSE(Recorded());
        fix();
    }
    EXPECT_EQ(engine.Done(), 0);
    EXPECT_TRUE(Recorded());
}

struct Bound
{
    int unitSystem;
    std::function<void(FakeModelerView &, double)> set;
    double value;
    const char *refusal; // null: accepted
};

class ModelerEngineBounds : public ::testing::TestWithParam<Bound>
{
};

TEST_P(ModelerEngineBounds, AcceptsTheBoundAndRefusesBeyond)
{
    const Bound &row = GetParam();
    LaminateHost host(LaminateHost::WithPlies({{0.125f, 0, 301, 2}}, row.unitSystem));
    FakeModelerView view;
    ModelerFormEngine engine(&view, &host.context);
    engine.Initialize();
    row.set(view, row.value);
    const Laminate before = host.context.GetLaminate();
    if (!row.refusal) {
        EXPECT_EQ(engine.Done(), 0);
        EXPECT_TRUE(view.warnings.empty());
        return;
    }
    EXPECT_EQ(engine.Done(), 1);
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string("Validation Warning: ") + row.refusal});
    EXPECT_TRUE(host.context.GetLaminate().IsEqual(before));
}

const auto kStress = [](FakeModelerView &v, double x) { v.stress = static_cast<float>(x); };
const auto kMass = [](FakeModelerView &v, double x) { v.mass = x; };
const auto kDamping = [](FakeModelerView &v, double x) { v.damping = x; };
const auto kTemperature = [](FakeModelerView &v, double x) { v.temperature = x; };
const auto kHillF12 = [](FakeModelerView &v, double x) {
    v.theory = 0;
    v.f12 = static_cast<float>(x);
};
const auto kKeyin = [](FakeModelerView &v, double x) {
    v.kind = 3;
    v.refPlaneValue = static_cast<float>(x);
};
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const char *const kStressText = "Allowable Stress must be positive";
const char *const kF12Text = "Tsai-Wu Interaction Coefficient must be between -1.0 to 1.0";
const char *const kMassText = "Non-Structural Mass per Unit Area must be positive";
const char *const kDampingText = "Damping Coefficient must be positive";
const char *const kTemperatureText = "Reference Temperature must be above absolute zero";

INSTANTIATE_TEST_SUITE_P(
    Rows, ModelerEngineBounds,
    ::testing::Values(Bound{10, kStress, 0, nullptr}, Bound{10, kStress, -0.001, kStressText},
                      Bound{10, kMass, 0, nullptr}, Bound{10, kMass, -0.001, kMassText},
                      Bound{10, kDamping, 0, nullptr}, Bound{10, kDamping, -0.001, kDampingText},
                      Bound{10, kTemperature, -273.15, nullptr}, Bound{10, kTemperature, -273.16, kTemperatureText},
                      Bound{2, kTemperature, -459.67, nullptr}, Bound{2, kTemperature, -459.68, kTemperatureText},
                      Bound{20, kTemperature, 0, nullptr}, Bound{20, kTemperature, -1, kTemperatureText},
                      Bound{10, kHillF12, 1.0, nullptr}, Bound{10, kHillF12, -1.0, nullptr},
                      Bound{10, kHillF12, 1.01, kF12Text}, Bound{10, kHillF12, -1.01, kF12Text},
                      // Not a finite number: refused, never stored.
                      Bound{10, kStress, kNaN, kStressText}, Bound{10, kStress, kInf, kStressText},
                      Bound{10, kMass, kNaN, kMassText}, Bound{10, kDamping, kInf, kDampingText},
                      Bound{10, kTemperature, kNaN, kTemperatureText}, Bound{10, kHillF12, kNaN, kF12Text},
                      Bound{10, kKeyin, kInf, "Bottom Fiber Distance must be a finite number"},
                      Bound{10, kKeyin, kNaN, "Bottom Fiber Distance must be a finite number"}));

TEST_F(ModelerEngineTest, StoresTheEntriesAsOneCommand)
{
    view.kind = 3;
    view.refPlaneValue = 0.25f;
    view.stress = 12.5f;
    view.f12 = 1.0f;
    view.mass = 0.5;
    view.damping = 0.02;
    view.temperature = 25;
    view.theory = 5;
    ASSERT_EQ(engine.Done(), 0);
    EXPECT_TRUE(Recorded());
    EXPECT_EQ(Current().ReferencePlaneMethod(), Laminate::UserDefinedLocation);
    EXPECT_FLOAT_EQ(Current().UserReferencePlaneLocation(), 0.25f);
    EXPECT_FLOAT_EQ(Current().BondingStress(), 12.5f);
    EXPECT_FLOAT_EQ(Current().TsaiWuCoefficient(), 1.0f);
    EXPECT_DOUBLE_EQ(Current().NonStructuralMass(), 0.5);
    EXPECT_DOUBLE_EQ(Current().Damping(), 0.02);
    EXPECT_DOUBLE_EQ(Current().ReferenceTemperature(), 25);
    EXPECT_EQ(Current().FailureTheory(), Laminate::UserDefinedTheory);
    EXPECT_EQ(Current().TsaiWuInteractionType(), 1);
}

TEST(ModelerEngine, TheoryCodesOutsideTheMenuOpenAndSaveAsHill)
{
    LaminateHost host;
    host.context.GetLaminate().SetFailureTheory(9);
    FakeModelerView view;
    ModelerFormEngine engine(&view, &host.context);
    engine.Initialize();
    EXPECT_EQ(view.theory, 0);
    ASSERT_EQ(engine.Done(), 0);
    EXPECT_EQ(host.context.GetLaminate().FailureTheory(), Laminate::Hill);
    view.theory = 17; // a view index out of range saves Hill too
    ASSERT_EQ(engine.Done(), 0);
    EXPECT_EQ(host.context.GetLaminate().FailureTheory(), Laminate::Hill);
}

TEST(ModelerEngine, ThicknessIsThatOfTheStackedLayup)
{
    // Recognised on loading as a symmetric layup of two stored plies.
    LaminateHost host(LaminateHost::WithPlies({{0.5f, 0, 301, 2}, {0.75f, 45, 301, 3}, {0.75f, 45, 301, 3},
                                               {0.5f, 0, 301, 2}}));
    ASSERT_EQ(host.context.GetLaminate().RootGroup().CountPlies(), 2);
    FakeModelerView view;
    ModelerFormEngine engine(&view, &host.context);
    EXPECT_FLOAT_EQ(engine.GetThickness(), 2.5f);
}

} // namespace
