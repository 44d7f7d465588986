// The layup dialog in the real lamhost with the real module on an X server:
// the demo laminate as the host stores it (eight plies), shown as the four
// stored plies of a full symmetric layup.

#include "xsession.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Points inside the dialog at its designed size (1000 x 680).
constexpr int kStackingRule[] = {350, 30};
constexpr int kOk[] = {143, 657};
constexpr int kCancel[] = {677, 657};

bool EndsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class LayupEndToEnd : public ::testing::Test
{
protected:
    // Starts "lamhost modify" on the demo store; the dialog's window, or "".
    std::string OpenModify()
    {
        if (!x.Ok())
            return "";
        x.Start(LAMHOST_PATH, {"--module", MODULE_PATH, "modify"}, std::filesystem::temp_directory_path());
        return x.WaitForWindow("Modify Laminate");
    }

    XSession x;
};

TEST_F(LayupEndToEnd, ModifyShowsTheDemoLaminateAndCancelSavesNothing)
{
    const std::string window = OpenModify();
    ASSERT_FALSE(window.empty()) << "no \"Modify Laminate\" window";
    const std::string shot = std::filesystem::temp_directory_path() / ("corvane-layup-" + window + ".png");
    EXPECT_TRUE(x.Screenshot(shot));
    std::filesystem::remove(shot);
    x.SaveScreenshot("e2e-modify-laminate");
    x.Click(window, kCancel[0], kCancel[1]);
    EXPECT_TRUE(x.WaitForWindowGone(window));
    const Outcome o = x.Wait(20000);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(EndsWith(o.out, "\nNothing saved.\n")) << o.out;
}

// The rule "Normal" leaves the stored plies alone: what OK saves shows what
// the load recognised.
TEST_F(LayupEndToEnd, TheDemoLaminateIsFourStoredPliesFullSymmetric)
{
    const std::string window = OpenModify();
    ASSERT_FALSE(window.empty()) << "no \"Modify Laminate\" window";
    x.Click(window, kStackingRule[0], kStackingRule[1]); // opens the rule's list at "Full Symmetric"
    x.Key(window, {"Up", "Return"});
    x.SaveScreenshot("e2e-modify-laminate-normal");
    x.Click(window, kOk[0], kOk[1]);
    EXPECT_TRUE(x.WaitForWindowGone(window));
    const Outcome o = x.Wait(20000);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("Laminate save 1: mode 2 (modify)"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  4 plies, bottom first\n"), std::string::npos) << o.out;
}

} // namespace
