// The ply material dialog's engine through a fake view, over the demo store's
// catalogue (201 "Epoxy resin", 101 "HS carbon fibre", 102 "E-glass fibre").

#include "gui/engines/plymaterialformengine.h"

#include "gui/engines/fakeplymaterialviews.h"
#include "gui/engines/halpintsaiformengine.h"
#include "host/materiallist.h"
#include "gui/plymaterialrequest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const char kEpoxy[] = "Epoxy resin", kCarbon[] = "HS carbon fibre";

class PlyMaterialFormEngineTest : public ::testing::Test
{
protected:
    PlyMaterialFormEngineTest() : engine_(&view_, &request_.context)
    {
        for (int id : {101, 102, 201})
            request_.context.GetMaterialList()->Add(id);
    }

    PlyMaterialRequest request_;
    FakePlyMaterialView view_;
    PlyMaterialFormEngine engine_;
};

// Past the range, in float: the smallest fibre fraction whose sum with m exceeds 1.
float JustOver(float m)
{
    float f = 1.0f - m;
    while (m + f <= 1.0f)
        f = std::nextafter(f, 2.0f);
    return f;
}

TEST_F(PlyMaterialFormEngineTest, InitializeShowsTheRecord)
{
    PlyMaterial &record = request_.Record();
    record.SetMatrixMaterial(201);
    record.SetFiberMaterial(999); // not in the list
    record.SetElasticTheory(PlyMaterial::AkasakaHirano);
    record.SetThermalTheory(PlyMaterial::Energy);
    engine_.Initialize();
    EXPECT_EQ(view_.matrixName, kEpoxy);
    EXPECT_EQ(view_.fiberName, " ");
    EXPECT_EQ(view_.elastic, 4);
    EXPECT_EQ(view_.thermal, 1);

    record.SetElasticTheory(9);
    record.SetThermalTheory(7);
    engine_.Initialize();
    EXPECT_EQ(view_.elastic, 4) << "an unknown code leaves the menu";
    EXPECT_EQ(view_.thermal, 0);
}

TEST_F(PlyMaterialFormEngineTest, DoneChecksInOrderAndKeepsWhatItWrote)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char *name, *matrix, *fiber;
        float m, f;
        const char *warning;                   // null: accepted
        float storedM = -1.0f, storedF = 0.0f; // the fractions written with the theories; -1: none
    };
    const float over = JustOver(0.4f), overSmall = JustOver(0.05f);
    const char *const matrixRange = "Matrix Volume Fraction must be between 0.0 to 1.0";
    const char *const fiberRange = "Fiber Volume Fraction must be between 0.0 to 1.0";
    const Case cases[] = {
        {"accepted", kEpoxy, kCarbon, 0.4f, 0.6f, nullptr, 0.4f, 0.6f},
        {"sum below one", kEpoxy, kCarbon, 0.3f, 0.5f, nullptr, 0.3f, 0.5f},
        {"both ends", kEpoxy, kCarbon, 0.0f, 1.0f, nullptr, 0.0f, 1.0f},
        {"matrix takes the excess", kEpoxy, kCarbon, 0.4f, over, nullptr, 1.0f - over, over},
        {"small matrix: fibre takes it", kEpoxy, kCarbon, 0.05f, overSmall, nullptr, 0.05f, 1.0f - 0.05f},
        {"matrix negative", kEpoxy, kCarbon, -0.1f, 0.6f, matrixRange},
        {"matrix NaN", kEpoxy, kCarbon, nan, 0.6f, matrixRange},
        {"fibre above one", kEpoxy, kCarbon, 0.0f, 1.01f, fiberRange},
        {"fibre NaN", kEpoxy, kCarbon, 0.4f, nan, fiberRange},
        {"sum just beyond the tolerance", kEpoxy, kCarbon, 0.4f, 0.600002f,
         "The sum of volume fractions (matrix + fiber) cannot exceed 1.0"},
        {"matrix never chosen", " ", kCarbon, 0.3f, 0.6f, "Matrix Material not selected", 0.3f, 0.6f},
        {"fibre empty", kEpoxy, "", 0.3f, 0.6f, "Fiber Material not selected", 0.3f, 0.6f},
        {"same material", kCarbon, kCarbon, 0.3f, 0.6f, "Matrix and Fiber Material must be different", 0.3f, 0.6f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        request_.Record() = PlyMaterial();
        view_.warnings.clear();
        view_.matrixName = c.matrix;
        view_.fiberName = c.fiber;
        view_.matrixFraction = c.m;
        view_.fiberFraction = c.f;
        view_.elastic = 2;
        view_.thermal = 1;
        const int result = engine_.Done();
        EXPECT_EQ(result, c.warning ? 1 : 0);
        EXPECT_EQ(view_.warnings, c.warning ? std::vector<std::string>{std::string("Validation Warning: ") + c.warning}
                                            : std::vector<std::string>{});
        const PlyMaterial &r = request_.Record();
        if (c.storedM >= 0) {
            EXPECT_EQ(r.MatrixFraction(), static_cast<double>(c.storedM));
            EXPECT_EQ(r.FiberFraction(), static_cast<double>(c.storedF));
            EXPECT_EQ(r.ElasticTheory(), PlyMaterial::CompositeCylinderAssemblage);
            EXPECT_EQ(r.ThermalTheory(), PlyMaterial::Energy);
        } else {
            EXPECT_EQ(r.MatrixFraction(), 0.4);
            EXPECT_EQ(r.ElasticTheory(), PlyMaterial::HalpinTsai);
        }
        if (!c.warning) {
            EXPECT_EQ(r.MatrixMaterial(), 201);
            EXPECT_EQ(r.FiberMaterial(), 101);
        }
    }
}

TEST_F(PlyMaterialFormEngineTest, TheLowerIdOfTwoEqualNamesIsStored)
{
    request_.store.Data().materials.push_back({205, kEpoxy, "Matrix"});
    request_.store.Data().materials.push_back({199, kEpoxy, "Matrix"});
    request_.context.GetMaterialList()->Add(205);
    request_.context.GetMaterialList()->Add(199);
    EXPECT_EQ(engine_.CheckMatrixMaterial(kEpoxy), 0);
    EXPECT_EQ(request_.Record().MatrixMaterial(), 199);
    EXPECT_EQ(engine_.CheckFiberMaterial("Epoxy resin "), 1);
    EXPECT_EQ(view_.warnings, std::vector<std::string>{"Validation Warning: Fiber Material not selected"});
}

TEST_F(PlyMaterialFormEngineTest, PickerAnswers)
{
    engine_.Initialize();
    engine_.SelectMaterial(MatrixMaterialKind); // nothing queued: closed without a choice
    request_.store.QueuePickFor(MatrixMaterialKind, 999);
    engine_.SelectMaterial(MatrixMaterialKind);
    EXPECT_TRUE(request_.Logged("eNO_SELECTION") && request_.Logged("eUNKNOWN"));
    EXPECT_EQ(view_.warnings, std::vector<std::string>{"Material Selection Warning: unknown material"});
    EXPECT_EQ(view_.matrixName, " ");

    request_.store.QueuePickFor(FiberMaterialKind, 102);
    engine_.SelectMaterial(FiberMaterialKind);
    EXPECT_EQ(view_.fiberName, "E-glass fibre");
    EXPECT_TRUE(request_.Logged("Selected PlyMaterial 102 = E-glass fibre"));
    EXPECT_FALSE(request_.Logged("Materials have changed in Quarnel!"));
    EXPECT_EQ(request_.Record().FiberMaterial(), -1) << "the record waits for Done";

    request_.store.Data().materials[0].name = "HS carbon fibre, renamed"; // edited while the picker ran
    request_.store.QueuePickFor(FiberMaterialKind, 101);
    engine_.SelectMaterial(FiberMaterialKind);
    EXPECT_TRUE(request_.Logged("Materials have changed in Quarnel!"));
    EXPECT_EQ(view_.fiberName, "HS carbon fibre, renamed");
}

TEST_F(PlyMaterialFormEngineTest, OptionsKeepOnlyAnAcceptedDialogsValues)
{
    PlyMaterial &record = request_.Record();
    record.SetMatrixFraction(0.25);
    const double before = record.LongitudinalAspectRatio();
    for (const bool accept : {false, true}) {
        // The options dialog writes the ratio, then refuses the width or accepts.
        view_.options = [this, accept](FakeHalpinTsaiView &view) {
            HalpinTsaiFormEngine engine(&view, &request_.context);
            engine.Initialize();
            view.description = 1;
            view.values[FakeHalpinTsaiView::Longitudinal] = 12.0;
            view.values[FakeHalpinTsaiView::Width] = accept ? 1.0 : -1.0;
            const bool done = engine.Done() == 0;
            EXPECT_EQ(request_.Record().LongitudinalAspectRatio(), 12.0) << "written before a refusal";
            return done;
        };
        engine_.HalpinTsaiOptions();
        EXPECT_EQ(record.LongitudinalAspectRatio(), accept ? 12.0 : before);
        EXPECT_EQ(record.HalpinTsaiOption(), accept ? PlyMaterial::DiscontinuousFiber : PlyMaterial::ContinuousFiber);
        EXPECT_EQ(record.MatrixFraction(), 0.25);
    }
}

} // namespace
