#pragma once

// Fake views of the ply material and Halpin-Tsai dialogs: fields the engine
// fills and reads, warnings recorded as "title: text".

#include "gui/engines/halpintsaiformview.h"
#include "gui/engines/plymaterialformview.h"

#include <functional>
#include <string>
#include <vector>

inline void Record(std::vector<std::string> &warnings, const char *title, const char *text)
{
    warnings.push_back(std::string(title) + ": " + text);
}

struct FakeHalpinTsaiView : HalpinTsaiFormView
{
    enum Field { Longitudinal, Transverse, Length, Width, Thickness, E11, E22, NU12, NU23, G12, kFields };

    // What Exec does; without it the dialog is cancelled.
    std::function<bool(FakeHalpinTsaiView &)> exec;
    std::vector<std::string> warnings;
    std::string unit;
    double values[kFields] = {};
    int description = -1;

    bool Exec() override { return exec ? exec(*this) : false; }
    void ShowWarning(const char *title, const char *text) override { Record(warnings, title, text); }
    void SetUnitTexts(const char *u) override { unit = u; }
    void SetLongitudinalAspectRatio(double v) override { values[Longitudinal] = v; }
    void SetTransverseAspectRatio(double v) override { values[Transverse] = v; }
    void SetRibbonLength(double v) override { values[Length] = v; }
    void SetRibbonWidth(double v) override { values[Width] = v; }
    void SetRibbonThickness(double v) override { values[Thickness] = v; }
    void SetE11(double v) override { values[E11] = v; }
    void SetE22(double v) override { values[E22] = v; }
    void SetNU12(double v) override { values[NU12] = v; }
    void SetNU23(double v) override { values[NU23] = v; }
    void SetG12(double v) override { values[G12] = v; }
    void SetPlyDescription(int index) override { description = index; }
    double GetLongitudinalAspectRatio() override { return values[Longitudinal]; }
    double GetTransverseAspectRatio() override { return values[Transverse]; }
    double GetRibbonLength() override { return values[Length]; }
    double GetRibbonWidth() override { return values[Width]; }
    double GetRibbonThickness() override { return values[Thickness]; }
    double GetE11() override { return values[E11]; }
    double GetE22() override { return values[E22]; }
    double GetNU12() override { return values[NU12]; }
    double GetNU23() override { return values[NU23]; }
    double GetG12() override { return values[G12]; }
    int GetPlyDescription() override { return description; }
};

struct FakePlyMaterialView : PlyMaterialFormView
{
    std::vector<std::string> warnings;
    std::string matrixName = "unset", fiberName = "unset";
    float matrixFraction = -9.0f, fiberFraction = -9.0f;
    int elastic = -1, thermal = -1;
    // What the next Options dialog does when run; its engine is the caller's.
    std::function<bool(FakeHalpinTsaiView &)> options;

    int Exec() override { return 0; }
    void ShowWarning(const char *title, const char *text) override { Record(warnings, title, text); }
    void FillMenus() override {}
    std::unique_ptr<HalpinTsaiFormView> CreateHalpinTsaiForm(AppContext *) override
    {
        auto view = std::make_unique<FakeHalpinTsaiView>();
        view->exec = options;
        return view;
    }
    void SetMatrixName(std::string name) override { matrixName = name; }
    void SetFiberName(std::string name) override { fiberName = name; }
    void SetMatrixFraction(float f) override { matrixFraction = f; }
    void SetFiberFraction(float f) override { fiberFraction = f; }
    void SetElasticTheory(int index) override { elastic = index; }
    void SetThermalTheory(int index) override { thermal = index; }
    std::string GetMatrixName() override { return matrixName; }
    std::string GetFiberName() override { return fiberName; }
    float GetMatrixFraction() override { return matrixFraction; }
    float GetFiberFraction() override { return fiberFraction; }
    int GetElasticTheory() override { return elastic; }
    int GetThermalTheory() override { return thermal; }
};
