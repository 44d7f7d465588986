#include "core/plycommands.h"

#include "core/layupmanager.h"

namespace {

std::string ModifyName(const Selection &selection, const char *what)
{
    return std::string(selection.plies.size() == 1 ? "Modify " : "Multiple-Modify ").append(what);
}

} // namespace

PlyAddCommand::PlyAddCommand(const Selection &selection, bool before, int material, float thickness, float angle,
                             int color)
    : LayupCommand(selection)
    , before_(before)
    , material_(material)
    , color_(color)
    , thickness_(thickness)
    , angle_(angle)
{
}

bool PlyAddCommand::Apply(LayupManager &manager) const
{
    manager.SetInsertBefore(before_);
    return manager.AddPly(GetSelection(), material_, thickness_, angle_, color_);
}

std::string PlyModMatCommand::Name() const
{
    return ModifyName(GetSelection(), "Material");
}

bool PlyModMatCommand::Apply(LayupManager &manager) const
{
    return manager.ModifyMaterial(GetSelection(), material_);
}

std::string PlyModThickCommand::Name() const
{
    return ModifyName(GetSelection(), "Thickness");
}

bool PlyModThickCommand::Apply(LayupManager &manager) const
{
    return manager.ModifyThickness(GetSelection(), thickness_);
}

std::string PlyModAngleCommand::Name() const
{
    return ModifyName(GetSelection(), "Angle");
}

bool PlyModAngleCommand::Apply(LayupManager &manager) const
{
    return manager.ModifyAngle(GetSelection(), angle_);
}

std::string PlyModColorCommand::Name() const
{
    return ModifyName(GetSelection(), "Color");
}

bool PlyModColorCommand::Apply(LayupManager &manager) const
{
    return manager.ModifyColor(GetSelection(), color_);
}
