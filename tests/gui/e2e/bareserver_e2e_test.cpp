// Interactive requests on an X server that resets when its last client leaves
// and has no other client: the module's display check must not let it reset
// before the toolkit has connected, or the toolkit aborts the whole host.

#include "host/testenv.h"
#include "xsession.h"

#include <gtest/gtest.h>

#include <string>

TEST(BareServerEndToEnd, InteractiveRequestsInARowAllEndNormally)
{
    XSession x(/*resetWhenIdle=*/true);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    TempDir dir;
    ScopedEnv env;
    // The trace line says the toolkit is connected; no X client of the test
    // runs before it, so nothing else keeps the server from resetting.
    env.Set("CORVANE_DEBUG", "1");
    struct Request
    {
        const char *operation;
        const char *trace;
        const char *title;
    };
    const Request requests[] = {
        {"create", "in GuiModule::Modeler", "Create Laminate"},
        {"modify", "in GuiModule::Modeler", "Modify Laminate"},
        {"sketch", "in GuiModule::Sketcher", "Laminate Sketcher"},
        {"plymat", "in GuiModule::CreatePlyMaterial", "Create Ply Material"},
    };
    for (int i = 0; i < 24; ++i) {
        const Request &request = requests[i % 4];
        SCOPED_TRACE(std::to_string(i) + ": " + request.operation);
        x.Start(LAMHOST_PATH, {request.operation}, dir.Path());
        ASSERT_TRUE(x.WaitForOutput(request.trace)) << x.Wait(1000).err;
        const std::string window = x.WaitForWindow(request.title);
        ASSERT_FALSE(window.empty()) << x.Wait(1000).err;
        x.Key(window, {"Escape"});
        const Outcome o = x.Wait();
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_NE(o.out.find("\nNothing saved.\n"), std::string::npos) << o.out;
    }
}
