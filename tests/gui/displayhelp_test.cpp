#include "gui/displayhelp.h"
#include "guitest.h"
#include "host/helpsystem.h"
#include "host/testenv.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <iterator>
#include <string>
#include <vector>

namespace {

class DisplayHelpTest : public ::testing::Test
{
protected:
    DisplayHelpTest()
    {
        env_.Set("TUVO_LAMINATE_HELP", dir_.Path());
        HelpSystem::Instance()->Init("English");
        HelpSystem::Instance()->SetOpener([this](const std::string &path) {
            opened_.push_back(path);
            return 42; // above 32: shown
        });
    }
    ~DisplayHelpTest() override { HelpSystem::DestroyInstance(); }

    ScopedEnv env_;
    TempDir dir_;
    std::vector<std::string> opened_;
};

TEST_F(DisplayHelpTest, AMissingPageOrAFailingOpenerShowsOneBox)
{
    QWidget parent;
    GuiTest::WarningCatcher catcher("help-missing");
    DisplayHelp(&parent, "Lam_Sketcher.htm");
    dir_.Write("Lam_Properties.htm");
    HelpSystem::Instance()->SetOpener([](const std::string &) { return 2; });
    DisplayHelp(nullptr, "Lam_Properties.htm");
    ASSERT_EQ(catcher.Boxes().size(), 2u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Help System Error");
    EXPECT_TRUE(catcher.Boxes()[0].text.endsWith(QString::fromStdString(dir_.Path() + "/Lam_Sketcher.htm")))
        << catcher.Boxes()[0].text.toStdString();
    EXPECT_EQ(catcher.Boxes()[1].text.toStdString(), HelpSystem::ShellResultText(2));
    EXPECT_TRUE(opened_.empty());
}

// The opener is asked for each dialog's page, and the pages are in the tree.
TEST_F(DisplayHelpTest, EveryDialogFindsItsPageInTheTreesHelpFolder)
{
    env_.Set("TUVO_LAMINATE_HELP", HELP_DIR);
    HelpSystem::Instance()->Init("English");
    const char *pages[] = {"Create_Modify_Lam.htm", "Lam_Sketcher.htm",     "Create_Ply_Mat.htm",
                           "Lam_Properties.htm",    "Enter_Modify_Ply.htm", "Halpin_Tsai_Opt.htm"};
    GuiTest::WarningCatcher catcher;
    for (const char *page : pages)
        DisplayHelp(nullptr, page);
    EXPECT_TRUE(catcher.Boxes().empty());
    ASSERT_EQ(opened_.size(), std::size(pages));
    for (size_t i = 0; i < opened_.size(); ++i)
        EXPECT_EQ(opened_[i], std::string(HELP_DIR) + "/" + pages[i]);
}

} // namespace
