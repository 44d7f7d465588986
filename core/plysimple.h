#pragma once

#include "core/plybase.h"

// One ply. Also used by value as an entry of the flat ply list.
class PlySimple : public PlyBase
{
public:
    PlySimple(int number, const std::string &name);

    // Plain stores: callers validate before they reach the model.
    float Thickness() const override { return thickness_; }
    float Angle() const { return angle_; }
    // Catalogue id of the ply material; -1 marks a material found missing.
    int Material() const { return material_; }
    int Color() const { return color_; }
    void SetThickness(float thickness) { thickness_ = thickness; }
    void SetAngle(float angle) { angle_ = angle; }
    void SetMaterial(int material) { material_ = material; }
    void SetColor(int color) { color_ = color; }

    // Also requires a PlySimple with equal material and colour, and thickness
    // and angle equal within a relative tolerance of 1e-6.
    bool IsEqual(const PlyBase &other) const override;
    PlyBase *Clone() const override;
    void CollectPlies(std::vector<PlySimple> &out) const override;
    int CountPlies() const override { return 1; }
    int Renumber(int first) override;
    void Reverse() override {}
    void Mirror() override;

private:
    float thickness_ = 0.0f;
    float angle_ = 90.0f;
    int material_ = 0;
    int color_ = 0;
};
