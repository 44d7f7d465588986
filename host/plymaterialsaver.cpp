#include "host/plymaterialsaver.h"

#include "core/plymaterial.h"
#include "util/logger.h"
#include "util/logline.h"


bool PlyMaterialSaver::Save(const PlyMaterial &plyMaterial, std::string &error) const
{
    Tuvo::Logger::Root()->Log("Begin SavePlyMaterial...");
    double factors[lamPlyMaterialFactorCount] = {plyMaterial.ReinforcingE11(), plyMaterial.ReinforcingE22(),
                                                 plyMaterial.ReinforcingNU12(), plyMaterial.ReinforcingNU23(),
                                                 plyMaterial.ReinforcingG12()};
    const int rc = savePlyMaterial_
                       ? savePlyMaterial_(plyMaterial.MatrixMaterial(), plyMaterial.FiberMaterial(),
                                          plyMaterial.MatrixFraction(), plyMaterial.FiberFraction(),
                                          plyMaterial.ElasticTheory(), factors, plyMaterial.HalpinTsaiOption(),
                                          plyMaterial.ExtraOption(), plyMaterial.LongitudinalAspectRatio(),
                                          plyMaterial.TransverseRibbonDimension(), plyMaterial.RibbonLength(),
                                          plyMaterial.RibbonWidth(), plyMaterial.RibbonThickness(),
                                          plyMaterial.ThermalTheory())
                       : -1;
    if (rc != 0) {
        LogLine("Error saving PlyMaterial using callback,  rc=%d", rc);
        error = "Error saving current ply material";
        return false;
    }
    Tuvo::Logger::Root()->Log("End SavePlyMaterial, success.");
    return true;
}
