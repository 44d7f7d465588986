#include "host/helpsystem.h"

#include "host/testenv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class HelpSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HelpSystem::DestroyInstance();
        for (const char *name : {"TUVO_LAMINATE_HELP", "OVRA_MPATHS", "OVRA_INSTL"})
            env_.Unset(name);
    }
    void TearDown() override { HelpSystem::DestroyInstance(); }

    // An initialised help system whose opener records the paths and answers `result`.
    HelpSystem *Prepared(int result)
    {
        HelpSystem *help = HelpSystem::Instance();
        help->SetOpener([this, result](const std::string &path) {
            opened_.push_back(path);
            return result;
        });
        help->Init("English");
        return help;
    }

    ScopedEnv env_;
    std::vector<std::string> opened_;
};

struct DirCase
{
    const char *tuvo, *mpaths, *instl; // null: unset
    const char *helpDir, *browserPath;
};

// Without an ovra_browser under TUVO_LAMINATE_HELP, the browser comes from the other two.
const DirCase kDirCases[] = {
    {nullptr, nullptr, nullptr, ".", "./ovra_browser"},
    {nullptr, nullptr, "/inst", "/inst/OVRAHelp/LANG/French/lam_ug", "/inst/OVRAHelp/ovra_browser"},
    {nullptr, "/mp", nullptr, "/mp/LANG/French/lam_cr", "/mp/ovra_browser"},
    {nullptr, "/mp", "/inst", "/mp/LANG/French/lam_cr", "/mp/ovra_browser"},
    {"/no/help", nullptr, nullptr, "/no/help", "/no/help/ovra_browser"},
    {"/no/help", nullptr, "/inst", "/no/help", "/inst/OVRAHelp/ovra_browser"},
    {"/no/help", "/mp", nullptr, "/no/help", "/mp/ovra_browser"},
    {"/no/help", "/mp", "/inst", "/no/help", "/mp/ovra_browser"},
    // Empty values count as unset.
    {"", "", "/inst", "/inst/OVRAHelp/LANG/French/lam_ug", "/inst/OVRAHelp/ovra_browser"},
    {"", "", "", ".", "./ovra_browser"},
};

TEST_F(HelpSystemTest, HelpDirectoryForEachCombinationOfVariables)
{
    for (const DirCase &c : kDirCases) {
        const std::pair<const char *, const char *> vars[] = {
            {"TUVO_LAMINATE_HELP", c.tuvo}, {"OVRA_MPATHS", c.mpaths}, {"OVRA_INSTL", c.instl}};
        for (const auto &[name, value] : vars) {
            if (value)
                env_.Set(name, value);
            else
                env_.Unset(name);
        }
        HelpSystem *help = HelpSystem::Instance();
        EXPECT_EQ(help->Init("French"), 0);
        const std::string where = std::string(c.tuvo ? c.tuvo : "-") + " " + (c.mpaths ? c.mpaths : "-") +
                                  " " + (c.instl ? c.instl : "-");
        EXPECT_EQ(help->FilePath("Lam_Sketcher.htm"), std::string(c.helpDir) + "/Lam_Sketcher.htm") << where;
        EXPECT_EQ(help->BrowserPath(), c.browserPath) << where;
        EXPECT_EQ(help->Language(), "French");
    }
}

TEST_F(HelpSystemTest, BrowserBesideTheHelpPagesIsKept)
{
    TempDir dir;
    dir.Write("ovra_browser", "");
    env_.Set("TUVO_LAMINATE_HELP", dir.Path() + "/");
    env_.Set("OVRA_MPATHS", "/mp");
    env_.Set("OVRA_INSTL", "/inst");
    HelpSystem *help = HelpSystem::Instance();
    help->Init("English");
    EXPECT_EQ(help->BrowserPath(), dir.Path() + "/ovra_browser");
    EXPECT_EQ(help->FilePath("a.htm"), dir.Path() + "/a.htm");
}

TEST_F(HelpSystemTest, SeparatorsAreNormalised)
{
    struct Case
    {
        const char *variable, *value, *helpDir, *browserPath;
    };
    const Case cases[] = {
        {"TUVO_LAMINATE_HELP", "/opt/help/", "/opt/help", "/opt/help/ovra_browser"},
        {"TUVO_LAMINATE_HELP", "//opt///help//", "/opt/help", "/opt/help/ovra_browser"},
        {"TUVO_LAMINATE_HELP", "/", "", "/ovra_browser"},
        {"TUVO_LAMINATE_HELP", "rel//help", "rel/help", "rel/help/ovra_browser"},
        {"OVRA_MPATHS", "/m//p/", "/m/p/LANG/English/lam_cr", "/m/p/ovra_browser"},
        {"OVRA_INSTL", "/inst////", "/inst/OVRAHelp/LANG/English/lam_ug", "/inst/OVRAHelp/ovra_browser"},
    };
    for (const Case &c : cases) {
        for (const char *name : {"TUVO_LAMINATE_HELP", "OVRA_MPATHS", "OVRA_INSTL"})
            env_.Unset(name);
        env_.Set(c.variable, c.value);
        HelpSystem *help = HelpSystem::Instance();
        help->Init("English");
        EXPECT_EQ(help->FilePath("x.htm"), std::string(c.helpDir) + "/x.htm") << c.value;
        EXPECT_EQ(help->BrowserPath(), c.browserPath) << c.value;
    }
}

TEST_F(HelpSystemTest, NotInitialisedTexts)
{
    HelpSystem *help = HelpSystem::Instance();
    help->SetOpener([this](const std::string &path) {
        opened_.push_back(path);
        return kOpenSucceeded;
    });
    EXPECT_EQ(help->GetLastError(), "Corvane Help System not initialized");
    EXPECT_EQ(help->Display("Lam_Sketcher.htm"), HelpNotInitialized);
    EXPECT_EQ(help->GetLastError(), "Help System not initialized");

    HelpSystem::DestroyInstance();
    help = HelpSystem::Instance();
    help->Init("English");
    EXPECT_EQ(help->GetLastError(), "Corvane Help System not initialized"); // first Init keeps it
    help->Init("English");
    EXPECT_EQ(help->GetLastError(), "Help System not initialized"); // a later one resets it
    EXPECT_TRUE(opened_.empty());
}

TEST_F(HelpSystemTest, PageInTheWorkingDirectoryWithoutVariables)
{
    TempDir dir;
    dir.Write("Lam_Sketcher.htm");
    ScopedCwd cwd(dir.Path());
    ASSERT_TRUE(cwd.Ok());
    HelpSystem *help = Prepared(kOpenSucceeded);
    EXPECT_EQ(help->Display("Lam_Sketcher.htm"), HelpShown);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], "./Lam_Sketcher.htm");
}

TEST_F(HelpSystemTest, MissingPageIsNotHandedToTheOpener)
{
    TempDir dir;
    env_.Set("TUVO_LAMINATE_HELP", dir.Path());
    HelpSystem *help = Prepared(kOpenSucceeded);
    EXPECT_EQ(help->Display("Halpin_Tsai_Opt.htm"), HelpFileNotFound);
    EXPECT_EQ(help->GetLastError(), "Help file cannot be located ");
    EXPECT_EQ(help->FilePath("Halpin_Tsai_Opt.htm"), dir.Path() + "/Halpin_Tsai_Opt.htm");
    EXPECT_TRUE(opened_.empty());
}

struct ResultCase
{
    int result;
    int expected;
    const char *text; // null: lastError unchanged
};

const ResultCase kResultCases[] = {
    {0, HelpShellFailed, "The operating system is out of memory or resources."},
    {2, HelpShellFailed, "The specified file was not found."},
    {3, HelpShellFailed, "The specified path was not found."},
    {5, HelpShellFailed, "The operating system denied access to the specified file."},
    {8, HelpShellFailed, "There was not enough memory to complete the operation."},
    {11, HelpShellFailed, "The .exe file is invalid."},
    {26, HelpShellFailed, "A sharing violation occurred."},
    {27, HelpShellFailed, "The file name association is incomplete or invalid."},
    {28, HelpShellFailed, "The DDE transaction could not be completed because the request timed out."},
    {29, HelpShellFailed, "The DDE transaction failed."},
    {30, HelpShellFailed,
     "The DDE transaction could not be completed because other DDE transactions were being processed."},
    {31, HelpShellFailed, "There is no application associated with the given file name extension."},
    {32, HelpShellFailed, "The specified dynamic-link library was not found."},
    // Results the table does not list are failures too.
    {1, HelpShellFailed, "The help file could not be opened (error 1)."},
    {4, HelpShellFailed, "The help file could not be opened (error 4)."},
    {-1, HelpShellFailed, "The help file could not be opened (error -1)."},
    {33, HelpShown, nullptr},
    {kOpenSucceeded, HelpShown, nullptr},
};

TEST_F(HelpSystemTest, EveryShellResultAndItsText)
{
    TempDir dir;
    dir.Write("Enter_Modify_Ply.htm");
    env_.Set("TUVO_LAMINATE_HELP", dir.Path());
    for (const ResultCase &c : kResultCases) {
        HelpSystem::DestroyInstance();
        HelpSystem *help = Prepared(c.result);
        EXPECT_EQ(help->Display("Enter_Modify_Ply.htm"), c.expected) << c.result;
        EXPECT_EQ(help->GetLastError(), c.text ? c.text : "Corvane Help System not initialized") << c.result;
    }
}

TEST_F(HelpSystemTest, SuccessKeepsThePreviousError)
{
    TempDir dir;
    dir.Write("Lam_Properties.htm");
    env_.Set("TUVO_LAMINATE_HELP", dir.Path());
    int result = 31;
    HelpSystem *help = HelpSystem::Instance();
    help->SetOpener([&result](const std::string &) { return result; });
    help->Init("English");
    EXPECT_EQ(help->Display("Lam_Properties.htm"), HelpShellFailed);
    result = kOpenSucceeded;
    EXPECT_EQ(help->Display("Lam_Properties.htm"), HelpShown);
    EXPECT_EQ(help->GetLastError(), "There is no application associated with the given file name extension.");
}

} // namespace
