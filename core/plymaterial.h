#pragma once

class UnitSystem;

// The definition of a new ply material built for the host: matrix and fibre
// materials from the host's catalogue with their volume fractions, the elastic
// theory with its Halpin-Tsai option and dimensions, and the thermal theory.
// Copied by value; setters store without checks (dialogs and scripts validate).
class PlyMaterial
{
public:
    enum ElasticTheoryCode {
        HalpinTsai = 1, MechanicsOfMaterials, CompositeCylinderAssemblage,
        GoughTangorra, AkasakaHirano, UserDefinedTheory
    };
    enum HalpinTsaiOptionCode {
        ContinuousFiber = 1, DiscontinuousFiber, ContinuousRibbon,
        DiscontinuousRibbon, Particulate, UserDefinedOption
    };
    enum ThermalTheoryCode { Levin = 1, Energy };

    PlyMaterial() = default;

    int MatrixMaterial() const { return matrix_; }
    int FiberMaterial() const { return fiber_; }
    int ElasticTheory() const { return elasticTheory_; }
    int HalpinTsaiOption() const { return halpinTsaiOption_; }
    int ExtraOption() const { return extraOption_; }
    int ThermalTheory() const { return thermalTheory_; }
    double MatrixFraction() const { return matrixFraction_; }
    double FiberFraction() const { return fiberFraction_; }
    double LongitudinalAspectRatio() const { return aspectRatio_; }
    double TransverseRibbonDimension() const { return transverseRibbon_; }
    double RibbonLength() const { return ribbonLength_; }
    double RibbonWidth() const { return ribbonWidth_; }
    double RibbonThickness() const { return ribbonThickness_; }
    double ReinforcingE11() const { return factors_[0]; }
    double ReinforcingE22() const { return factors_[1]; }
    double ReinforcingNU12() const { return factors_[2]; }
    double ReinforcingNU23() const { return factors_[3]; }
    double ReinforcingG12() const { return factors_[4]; }

    void SetMatrixMaterial(int id) { matrix_ = id; }
    void SetFiberMaterial(int id) { fiber_ = id; }
    void SetElasticTheory(int code) { elasticTheory_ = code; }
    void SetHalpinTsaiOption(int code) { halpinTsaiOption_ = code; }
    void SetThermalTheory(int code) { thermalTheory_ = code; }
    void SetMatrixFraction(double f) { matrixFraction_ = f; }
    void SetFiberFraction(double f) { fiberFraction_ = f; }
    void SetLongitudinalAspectRatio(double r) { aspectRatio_ = r; }
    void SetTransverseRibbonDimension(double d) { transverseRibbon_ = d; }
    void SetRibbonLength(double l) { ribbonLength_ = l; }
    void SetRibbonWidth(double w) { ribbonWidth_ = w; }
    void SetRibbonThickness(double t) { ribbonThickness_ = t; }
    // E11, E22, NU12, NU23, G12 in that order.
    void SetReinforcingFactors(const double factors[5]);

    // Every field to its default; the ribbon dimensions converted from SI into
    // the length unit of the given system.
    void SetDefaults(const UnitSystem &units);

private:
    int matrix_ = -1; // -1: none chosen
    int fiber_ = -1;
    int elasticTheory_ = HalpinTsai;
    int halpinTsaiOption_ = ContinuousFiber;
    int extraOption_ = 1; // sent to the host after the Halpin-Tsai option; never changed
    int thermalTheory_ = Levin;
    double matrixFraction_ = 0.4;
    double fiberFraction_ = 0.6;
    double aspectRatio_ = 0.5;
    double transverseRibbon_ = 0.5;
    double ribbonLength_ = 0.01;
    double ribbonWidth_ = 0.01;
    double ribbonThickness_ = 0.005;
    double factors_[5] = {1.0, 1.0, 1.0, 1.0, 1.0};
};
