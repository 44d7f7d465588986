#include "host/helpopener.h"

#include "host/helpsystem.h"

#include "host/testenv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Stands in for xdg-open: records its arguments, one per line after their count, then
// sleeps and exits as the test asks. Its output goes nowhere, so that a sleeping stand-in
// holds none of the test's streams.
const char kStub[] = "#!/bin/sh\n"
                     "exec >/dev/null 2>&1\n"
                     "printf '%s\\n' \"$#\" > \"$STUB_OUT\"\n"
                     "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$STUB_OUT\"; done\n"
                     "if [ -n \"$STUB_SLEEP\" ]; then sleep \"$STUB_SLEEP\"; fi\n"
                     "exit \"${STUB_EXIT:-0}\"\n";

class HelpOpenerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir_.Path().empty());
        bin_ = dir_.Path() + "/bin";
        out_ = dir_.Path() + "/args.txt";
        InstallStub(bin_, 0755);
        const char *path = std::getenv("PATH");
        env_.Set("PATH", bin_ + ":" + (path ? path : "/usr/bin:/bin"));
        env_.Set("STUB_OUT", out_);
        env_.Unset("STUB_EXIT");
        env_.Unset("STUB_SLEEP");
        page_ = dir_.Write("pages/Create Ply Mat.htm");
    }

    void InstallStub(const std::string &dir, mode_t mode)
    {
        const std::string file = dir + "/xdg-open";
        std::filesystem::create_directories(dir);
        std::ofstream(file) << kStub;
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
    }

    // What the stand-in received, or empty when it did not run.
    std::string Received() const
    {
        std::ifstream in(out_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir dir_;
    ScopedEnv env_;
    std::string bin_, out_, page_;
};

TEST_F(HelpOpenerTest, PathWithSpacesArrivesAsOneArgument)
{
    EXPECT_GT(OpenWithDesktop(page_), 32);
    EXPECT_EQ(Received(), "1\n" + page_ + "\n");
}

TEST_F(HelpOpenerTest, ExitCodesOfTheOpener)
{
    const struct
    {
        const char *exit;
        int expected;
    } cases[] = {{"0", kOpenSucceeded}, {"1", 31}, {"2", 2}, {"3", 31}, {"4", 31}, {"77", 31}};
    for (const auto &c : cases) {
        env_.Set("STUB_EXIT", c.exit);
        EXPECT_EQ(OpenWithDesktop(page_), c.expected) << "exit " << c.exit;
    }
}

TEST_F(HelpOpenerTest, OpenerStillRunningAfterTheBoundCountsAsShown)
{
    env_.Set("STUB_SLEEP", "3");
    EXPECT_EQ(OpenWithDesktop(page_, std::chrono::milliseconds(50)), kOpenSucceeded);
}

TEST_F(HelpOpenerTest, MissingProgramGives31)
{
    const std::string empty = dir_.Path() + "/empty";
    std::filesystem::create_directories(empty);
    env_.Set("PATH", empty);
    EXPECT_EQ(OpenWithDesktop(page_), 31);
    env_.Set("PATH", "");
    EXPECT_EQ(OpenWithDesktop(page_), 31);
    EXPECT_EQ(Received(), "");
}

TEST_F(HelpOpenerTest, ProgramThatMayNotRunGives5UnlessALaterOneMay)
{
    const std::string locked = dir_.Path() + "/locked";
    InstallStub(locked, 0644);
    env_.Set("PATH", locked);
    EXPECT_EQ(OpenWithDesktop(page_), 5);
    EXPECT_EQ(Received(), "");
    env_.Set("PATH", locked + ":" + bin_);
    EXPECT_EQ(OpenWithDesktop(page_), kOpenSucceeded);
}

TEST_F(HelpOpenerTest, ProgramInTheWorkingDirectoryIsNotRun)
{
    ScopedCwd cwd(bin_);
    ASSERT_TRUE(cwd.Ok());
    env_.Set("PATH", ":" + dir_.Path() + "/empty");
    EXPECT_EQ(OpenWithDesktop(page_), 31);
}

TEST_F(HelpOpenerTest, UnreadableFilesAreRefusedBeforeStarting)
{
    EXPECT_EQ(OpenWithDesktop(dir_.Path() + "/pages/none.htm"), 2);
    EXPECT_EQ(OpenWithDesktop(page_ + "/below.htm"), 3);
    EXPECT_EQ(OpenWithDesktop(""), 2);
    if (geteuid() != 0) { // root reads anything
        const std::string locked = dir_.Write("locked.htm");
        ASSERT_EQ(chmod(locked.c_str(), 0), 0);
        EXPECT_EQ(OpenWithDesktop(locked), 5);
    }
    EXPECT_EQ(Received(), "");
}

TEST_F(HelpOpenerTest, LeadingDashIsNotTakenForAnOption)
{
    dir_.Write("-help.htm");
    ScopedCwd cwd(dir_.Path());
    ASSERT_TRUE(cwd.Ok());
    EXPECT_EQ(OpenWithDesktop("-help.htm"), kOpenSucceeded);
    EXPECT_EQ(Received(), "1\n./-help.htm\n");
}

TEST_F(HelpOpenerTest, HelpSystemOpensPagesWithTheDesktopOpener)
{
    env_.Unset("OVRA_MPATHS");
    env_.Unset("OVRA_INSTL");
    env_.Set("TUVO_LAMINATE_HELP", dir_.Path() + "/pages/");
    HelpSystem::DestroyInstance();
    HelpSystem *help = HelpSystem::Instance();
    help->Init("English");
    EXPECT_EQ(help->Display("Create Ply Mat.htm"), HelpShown);
    EXPECT_EQ(Received(), "1\n" + page_ + "\n");

    env_.Set("PATH", dir_.Path() + "/empty");
    EXPECT_EQ(help->Display("Create Ply Mat.htm"), HelpShellFailed);
    EXPECT_EQ(help->GetLastError(), "There is no application associated with the given file name extension.");
    HelpSystem::DestroyInstance();
}

} // namespace
