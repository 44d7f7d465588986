#include "host/plymaterialsaver.h"

#include "core/plymaterial.h"
#include "core/unitsystem.h"
#include "tools/lamhost/store.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using LamHost::Fault;
using LamHost::HostPlyMaterial;
using LamHost::Slot;

class PlyMaterialSaverTest : public ::testing::Test
{
protected:
    PlyMaterialSaverTest()
    {
        store.Activate();
        lines().clear();
        auto *logger = new Tuvo::Logger("PlyMaterialSaverTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
    }
    ~PlyMaterialSaverTest() override { Tuvo::Logger::Root()->RemoveChild("PlyMaterialSaverTest"); }
    static std::vector<std::string> &lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }

    LamHost::Store store;
    PlyMaterialSaver saver{LamHost::CallbackTable()->SavePlyMaterial};
};

TEST_F(PlyMaterialSaverTest, SendsEveryFieldInOrder)
{
    PlyMaterial material;
    material.SetMatrixMaterial(201);
    material.SetFiberMaterial(101);
    material.SetMatrixFraction(0.35);
    material.SetFiberFraction(0.65);
    material.SetElasticTheory(PlyMaterial::GoughTangorra);
    const double factors[5] = {1.5, 2.5, 3.5, 4.5, 5.5};
    material.SetReinforcingFactors(factors);
    material.SetHalpinTsaiOption(PlyMaterial::DiscontinuousRibbon);
    material.SetLongitudinalAspectRatio(0.75);
    material.SetTransverseRibbonDimension(0.125);
    material.SetRibbonLength(0.0625);
    material.SetRibbonWidth(0.03125);
    material.SetRibbonThickness(0.015625);
    material.SetThermalTheory(PlyMaterial::Energy);
    std::string error = "untouched";
    ASSERT_TRUE(saver.Save(material, error));
    EXPECT_EQ(error, "untouched");

    HostPlyMaterial expected;
    expected.matrixMaterial = 201;
    expected.fiberMaterial = 101;
    expected.matrixFraction = 0.35;
    expected.fiberFraction = 0.65;
    expected.elasticTheory = 4;
    expected.factors = {1.5, 2.5, 3.5, 4.5, 5.5};
    expected.halpinTsaiOption = 4;
    expected.extraOption = 1;
    expected.aspectRatio = 0.75;
    expected.transverseRibbon = 0.125;
    expected.ribbonLength = 0.0625;
    expected.ribbonWidth = 0.03125;
    expected.ribbonThickness = 0.015625;
    expected.thermalTheory = 2;
    ASSERT_EQ(store.PlyMaterialSaves().size(), 1u);
    EXPECT_TRUE(store.PlyMaterialSaves()[0].material == expected);
    EXPECT_EQ(store.Data().plyMaterials.size(), 1u);
    EXPECT_EQ(lines(), (std::vector<std::string>{"Begin SavePlyMaterial...", "End SavePlyMaterial, success."}));
}

TEST_F(PlyMaterialSaverTest, RefusalsReportTheirText)
{
    const int results[] = {1, -7, 999};
    for (int rc : results) {
        SCOPED_TRACE(rc);
        store.SetFault(Slot::SavePlyMaterial, Fault::Fail(rc));
        lines().clear();
        std::string error;
        EXPECT_FALSE(saver.Save(PlyMaterial(), error));
        EXPECT_EQ(error, "Error saving current ply material");
        EXPECT_EQ(lines(), (std::vector<std::string>{"Begin SavePlyMaterial...",
                                                     "Error saving PlyMaterial using callback,  rc=" +
                                                         std::to_string(rc)}));
    }
    std::string error;
    EXPECT_FALSE(PlyMaterialSaver(nullptr).Save(PlyMaterial(), error));
    EXPECT_EQ(error, "Error saving current ply material");
    EXPECT_TRUE(store.Data().plyMaterials.empty());
}

} // namespace
