// lamhost's sketch request on a real X server: the dialog shows the demo
// laminate, takes a change of view and is dismissed; nothing is saved.

#include "host/testenv.h"
#include "xsession.h"

#include <gtest/gtest.h>

#include <string>

TEST(SketcherEndToEnd, ShowsTheLaminateAndSavesNothing)
{
    XSession x;
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    TempDir dir;
    x.Start(LAMHOST_PATH, {"--module", MODULE_PATH, "sketch"}, dir.Path());
    const std::string window = x.WaitForWindow("Laminate Sketcher");
    ASSERT_FALSE(window.empty()) << x.Wait(1000).out;
    x.SaveScreenshot("e2e-sketcher-feature");

    // The View menu opens under the pointer; the next entry is "Scale Explode".
    x.Click(window, 100, 21);
    x.Key(window, {"Down", "Return"});
    x.SaveScreenshot("e2e-sketcher-scale-explode");
    // Dismiss is the default button.
    x.Key(window, {"Return"});
    EXPECT_TRUE(x.WaitForWindowGone(window));

    const Outcome outcome = x.Wait(10000);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Nothing saved."), std::string::npos) << outcome.out;
}
