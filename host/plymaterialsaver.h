#pragma once

#include "host/lamcallbacks.h"

#include <string>

class PlyMaterial;

// Writes a ply material to the host through its SavePlyMaterial callback.
class PlyMaterialSaver
{
public:
    // The host function may be null: every save then fails.
    explicit PlyMaterialSaver(lamSavePlyMaterialFn savePlyMaterial) : savePlyMaterial_(savePlyMaterial) {}

    // Sends every field of the ply material; false with the error text to show
    // when the host refused it.
    bool Save(const PlyMaterial &plyMaterial, std::string &error) const;

private:
    lamSavePlyMaterialFn savePlyMaterial_;
};
