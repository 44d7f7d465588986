#pragma once

#include "core/lamcommand.h"

// The commands that replay adding a ply and modifying the selected plies. Each
// keeps the selection and parameters of the LayupManager call it records.

class PlyAddCommand : public LayupCommand
{
public:
    PlyAddCommand(const Selection &selection, bool before, int material, float thickness, float angle, int color);

    std::string Name() const override { return "New Ply"; }
    // Sets the recorded insertion side, then adds the ply again.
    bool Apply(LayupManager &manager) const override;

private:
    bool before_;
    int material_;
    int color_;
    float thickness_;
    float angle_;
};

// The modify commands are named "Modify X" for one selected ply and
// "Multiple-Modify X" for any other number.

class PlyModMatCommand : public LayupCommand
{
public:
    PlyModMatCommand(const Selection &selection, int material) : LayupCommand(selection), material_(material) {}

    std::string Name() const override;
    bool Apply(LayupManager &manager) const override;

private:
    int material_;
};

class PlyModThickCommand : public LayupCommand
{
public:
    PlyModThickCommand(const Selection &selection, float thickness) : LayupCommand(selection), thickness_(thickness) {}

    std::string Name() const override;
    bool Apply(LayupManager &manager) const override;

private:
    float thickness_;
};

class PlyModAngleCommand : public LayupCommand
{
public:
    PlyModAngleCommand(const Selection &selection, float angle) : LayupCommand(selection), angle_(angle) {}

    std::string Name() const override;
    bool Apply(LayupManager &manager) const override;

private:
    float angle_;
};

class PlyModColorCommand : public LayupCommand
{
public:
    PlyModColorCommand(const Selection &selection, int color) : LayupCommand(selection), color_(color) {}

    std::string Name() const override;
    bool Apply(LayupManager &manager) const override;

private:
    int color_;
};
