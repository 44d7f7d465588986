#include "gui/engines/sketcherformengine.h"

#include "core/laminate.h"
#include "gui/engines/sketcherformview.h"
#include "host/appcontext.h"
#include "tools/lamhost/store.h"

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

LamHost::StoreData WithPlies(std::vector<LamHost::HostPly> plies)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.laminates[0].plies = std::move(plies);
    return data;
}

TEST(SketcherFormEngine, DrawsOnceClosesAlwaysAndCountsTheFullStack)
{
    const struct
    {
        LamHost::StoreData data;
        int count;
        float thickness;
        int stored;
    } cases[] = {
        {WithPlies({}), 0, 0.0f, 0},
        {LamHost::DemoStore(), 8, 1.0f, 4}, // symmetric: four plies stored, eight drawn
        {WithPlies({{0.5f, 0.0f, 301, 2}, {0.25f, 45.0f, 301, 3}}), 2, 0.75f, 2},
    };
    for (const auto &c : cases) {
        LamHost::Store store(c.data);
        store.Activate();
        AppContext context(LamHost::CallbackTable());
        context.CreateApplication(true);
        context.Initialize();
        ASSERT_TRUE(context.LaminateInit(false));
        FakeView view;
        SketcherFormEngine engine(&view, &context);
        engine.Initialize();
        EXPECT_EQ(view.updates, 1);
        int count = -1;
        float thickness = -1.0f;
        engine.GetLaminateGeometry(&count, &thickness);
        EXPECT_EQ(count, c.count);
        EXPECT_FLOAT_EQ(thickness, c.thickness);
        EXPECT_EQ(context.GetLaminate().RootGroup().CountPlies(), c.stored);
        EXPECT_EQ(engine.Done(), 0);
        EXPECT_EQ(view.warnings, 0);
        EXPECT_TRUE(store.LaminateSaves().empty());
    }
}

} // namespace
