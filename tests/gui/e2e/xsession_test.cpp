// The end-to-end harness itself, on a plain X program: a window comes up, a
// key reaches it, the program's result comes back.

#include "xsession.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(XSessionTest, ShowsAWindowTakesAKeyAndReturnsTheResult)
{
    XSession x;
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    x.Start("/usr/bin/xmessage", {"-title", "Harness check", "-buttons", "Yes:3,No:4", "-default", "Yes", "ok?"},
            "/");
    const std::string window = x.WaitForWindow("Harness check");
    ASSERT_FALSE(window.empty());
    const std::string shot = std::filesystem::temp_directory_path() / ("corvane-xsession-" + window + ".png");
    EXPECT_TRUE(x.Screenshot(shot));
    std::filesystem::remove(shot);
    x.Key(window, {"Return"});
    EXPECT_TRUE(x.WaitForWindowGone(window));
    EXPECT_EQ(x.Wait(10000).status, 3);
}
