#include "gui/engines/sketcherformengine.h"

#include "core/laminate.h"
#include "gui/engines/sketcherformview.h"
#include "gui/laminatehost.h"

#include <gtest/gtest.h>

namespace {

class FakeView : public SketcherFormView
{
public:
    int Exec() override { return 0; }
    void ShowWarning(const char *, const char *) override { ++warnings; }
    void UpdateSketch() override { ++updates; }
    int updates = 0;
    int warnings = 0;
};

TEST(SketcherFormEngine, DrawsOnceClosesAlwaysAndCountsTheFullStack)
{
    const struct
    {
        LamHost::StoreData data;
        int count;
        float thickness;
        int stored;
    } cases[] = {
        {LaminateHost::WithPlies({}), 0, 0.0f, 0},
        {LamHost::DemoStore(), 8, 1.0f, 4}, // symmetric: four plies stored, eight drawn
        {LaminateHost::WithPlies({{0.5f, 0.0f, 301, 2}, {0.25f, 45.0f, 301, 3}}), 2, 0.75f, 2},
    };
    for (const auto &c : cases) {
        LaminateHost host(c.data);
        ASSERT_TRUE(host.loaded);
        FakeView view;
        SketcherFormEngine engine(&view, &host.context);
        engine.Initialize();
        EXPECT_EQ(view.updates, 1);
        int count = -1;
        float thickness = -1.0f;
        engine.GetLaminateGeometry(&count, &thickness);
        EXPECT_EQ(count, c.count);
        EXPECT_FLOAT_EQ(thickness, c.thickness);
        EXPECT_EQ(host.context.GetLaminate().RootGroup().CountPlies(), c.stored);
        EXPECT_EQ(engine.Done(), 0);
        EXPECT_EQ(view.warnings, 0);
        EXPECT_TRUE(host.store.LaminateSaves().empty());
    }
}

} // namespace
