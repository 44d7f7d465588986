#include "script/scriptcontext.h"

#include "host/materiallist.h"
#include "script/targetenv.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptContextTest, SelectMaterialAsksForAPlyMaterial)
{
    struct Row
    {
        int id;
        int result; // the picker's
        int chosen;
    };
    const Row rows[] = {{301, 0, 301}, {301, 1, -1}, {4242, 0, -1}};
    for (const Row &row : rows) {
        Request request(LamHost::DemoStore(), 'p');
        request.Store().QueuePick(row.id, row.result);
        ScriptContext target(request.Context(), Collect);
        EXPECT_EQ(target.SelectMaterial(), row.chosen) << row.id << " " << row.result;
        EXPECT_EQ(request.Store().PickKinds(), std::vector<int>{PlyMaterialKind});
    }
}

TEST(ScriptContextTest, PrintLineGoesToTheOutputFunction)
{
    Request request(LamHost::DemoStore(), 'p');
    ScriptContext target(request.Context(), Collect);
    target.PrintLine("one line");
    EXPECT_EQ(TakeLines(), "one line\n");
    ScriptContext silent(request.Context(), nullptr);
    silent.PrintLine("dropped");
    EXPECT_TRUE(CollectedLines().empty());
}

} // namespace
