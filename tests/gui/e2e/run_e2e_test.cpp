// ./run as its user meets it, on the tree this test was built in
// (CORVANE_LAMHOST: no set-up, no build): an interactive request opens its
// dialog on a display and ends at once without one.

#include "host/testenv.h"
#include "xsession.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RunEndToEnd : public ::testing::Test
{
protected:
    RunEndToEnd()
    {
        env_.Set("CORVANE_LAMHOST", LAMHOST_PATH);
        env_.Unset("CORVANE_DEBUG");
    }

    const std::string run_ = SOURCE_DIR "/run";
    ScopedEnv env_;
    TempDir dir_;
    XSession x_;
};

TEST_F(RunEndToEnd, WithoutADisplayEachInteractiveRequestEndsAtOnceWithOneLine)
{
    for (const char *operation : {"create", "modify", "sketch", "plymat"}) {
        SCOPED_TRACE(operation);
        x_.StartWithoutDisplay(run_, {operation}, dir_.Path());
        const Outcome o = x_.Wait(10000); // killed (-1) if it waits for anything
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, "Interactive mode needs a display (DISPLAY or WAYLAND_DISPLAY): nothing was changed.\n"
                         "\nNothing saved.\n");
    }
}

TEST_F(RunEndToEnd, OnADisplayCreateShowsItsDialog)
{
    ASSERT_TRUE(x_.Ok()) << "Xvfb did not start";
    x_.Start(run_, {"create"}, dir_.Path());
    const std::string window = x_.WaitForWindow("Create Laminate");
    ASSERT_FALSE(window.empty()) << x_.Wait(1000).err;
    x_.SaveScreenshot("e2e-run-create");
    x_.Key(window, {"Escape"});
    EXPECT_TRUE(x_.WaitForWindowGone(window));
    const Outcome o = x_.Wait();
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "\nNothing saved.\n");
}

} // namespace
