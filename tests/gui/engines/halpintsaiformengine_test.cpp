// The Halpin-Tsai options dialog's engine through a fake view.

#include "gui/engines/halpintsaiformengine.h"

#include "gui/engines/fakeplymaterialviews.h"
#include "gui/plymaterialrequest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Field = FakeHalpinTsaiView::Field;

class HalpinTsaiFormEngineTest : public ::testing::Test
{
protected:
    HalpinTsaiFormEngineTest() : engine_(&view_, &request_.context) {}

    double Stored(int field)
    {
        const PlyMaterial &r = request_.Record();
        const double values[] = {r.LongitudinalAspectRatio(), r.TransverseRibbonDimension(), r.RibbonLength(),
                                 r.RibbonWidth(), r.RibbonThickness(), r.ReinforcingE11(), r.ReinforcingE22(),
                                 r.ReinforcingNU12(), r.ReinforcingNU23(), r.ReinforcingG12()};
        return values[field];
    }

    PlyMaterialRequest request_;
    FakeHalpinTsaiView view_;
    HalpinTsaiFormEngine engine_;
};

TEST_F(HalpinTsaiFormEngineTest, InitializeShowsTheDefaultsInTheLengthUnitAndTheRecordsDescription)
{
    engine_.Initialize();
    EXPECT_EQ(view_.unit, "mm");
    const double expected[] = {0.5, 0.5, 0.1, 0.1, 0.05, 1, 1, 1, 1, 1}; // 0.1 mm ribbons
    for (int i = 0; i < FakeHalpinTsaiView::kFields; ++i)
        EXPECT_DOUBLE_EQ(view_.values[i], expected[i]) << i;
    const std::pair<int, int> descriptions[] = {{PlyMaterial::UserDefinedOption, 5}, {0, 0}}; // an unknown code
    for (const auto &[option, index] : descriptions) {
        request_.Record().SetHalpinTsaiOption(option);
        engine_.Initialize();
        EXPECT_EQ(view_.description, index) << option;
    }
}

// Every value is checked in order whatever the description; those before a
// refused one are written, the factors only all together.
TEST_F(HalpinTsaiFormEngineTest, DoneRefusesTheFirstBadValueAndStoresGoodOnes)
{
    const char *const texts[] = {"Longitudinal aspect ratio", "Transverse aspect ratio", "Average Ribbon Length",
                                 "Average Ribbon Width",      "Average Ribbon Thickness", "Reinforcing factor E11",
                                 "Reinforcing factor E22",   "Reinforcing factor NU12",  "Reinforcing factor NU23",
                                 "Reinforcing factor G12"};
    const double bad[] = {-1e-9, -4.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
    for (int field = 0; field < FakeHalpinTsaiView::kFields; ++field) {
        for (double value : bad) {
            SCOPED_TRACE(std::string(texts[field]) + " with " + std::to_string(value));
            request_.Record() = PlyMaterial();
            view_.warnings.clear();
            view_.description = 3;
            for (int i = 0; i < FakeHalpinTsaiView::kFields; ++i)
                view_.values[i] = 2.0 + i;
            view_.values[field] = value;
            EXPECT_EQ(engine_.Done(), 1);
            const char *rule = std::isfinite(value) ? " must be positive" : " must be a finite number";
            EXPECT_EQ(view_.warnings,
                      std::vector<std::string>{std::string("Validation Warning: ") + texts[field] + rule});
            for (int i = 0; i < FakeHalpinTsaiView::kFields; ++i) {
                const bool written = i < field && (i < Field::E11 || field < Field::E11);
                EXPECT_EQ(Stored(i) == 2.0 + i, written) << i;
            }
            EXPECT_EQ(request_.Record().HalpinTsaiOption(), PlyMaterial::ContinuousFiber);
        }
    }
    // Zeroes pass; "User-Defined" stores its option and the factors.
    view_.warnings.clear();
    view_.description = 5;
    for (int i = 0; i < FakeHalpinTsaiView::kFields; ++i)
        view_.values[i] = i < Field::E11 ? 0.0 : 0.5 * i;
    EXPECT_EQ(engine_.Done(), 0);
    EXPECT_TRUE(view_.warnings.empty());
    EXPECT_EQ(request_.Record().HalpinTsaiOption(), PlyMaterial::UserDefinedOption);
    for (int i = 0; i < FakeHalpinTsaiView::kFields; ++i)
        EXPECT_EQ(Stored(i), view_.values[i]) << i;
}

} // namespace
