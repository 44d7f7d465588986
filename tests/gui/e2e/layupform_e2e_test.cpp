// The layup dialog in the real lamhost with the real module on an X server:
// the demo laminate as the host stores it (eight plies), shown as the four
// stored plies of a full symmetric layup.

#include "xsession.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// Points inside the layup dialog; in the ply data dialog, which widens with
// its menus' entries, points measured from its right edge.
constexpr int kNewPly[] = {320, 605};
constexpr int kPlyMaterialButton[] = {145, 32};
constexpr int kPlyThickness[] = {105, 71};
constexpr int kPlyAngle[] = {105, 97};

// The width of a window, 0 when xdotool cannot tell.
int Width(const XSession &x, const std::string &window)
{
    const std::string geometry = x.Xdotool({"getwindowgeometry", window});
    const size_t at = geometry.find("Geometry: ");
    return at == std::string::npos ? 0 : std::atoi(geometry.c_str() + at + 10);
}

// A person creates a laminate of two plies: New, the host's picker for the
// material (answered by --pick for the first ply; for the second, lamhost's
// list, in which the person chooses the third entry), thickness and angle
// typed, OK; then OK.
TEST_F(LayupEndToEnd, CreateTwoPliesThroughThePlyDataDialog)
{
    ASSERT_TRUE(x.Ok());
    x.Start(LAMHOST_PATH, {"--module", MODULE_PATH, "--pick", "ply=302", "create"},
            std::filesystem::temp_directory_path());
    const std::string window = x.WaitForWindow("Create Laminate");
    ASSERT_FALSE(window.empty()) << "no \"Create Laminate\" window";
    const struct
    {
        const char *thickness, *angle;
    } plies[] = {{"0.3", "30"}, {"0.15", "-60"}};
    for (const auto &ply : plies) {
        x.Click(window, kNewPly[0], kNewPly[1]);
        const std::string dialog = x.WaitForWindow("Enter Ply Data");
        ASSERT_FALSE(dialog.empty()) << "no \"Enter Ply Data\" window";
        const int width = Width(x, dialog);
        ASSERT_GT(width, 0);
        x.Click(dialog, width - kPlyMaterialButton[0], kPlyMaterialButton[1]);
        if (&ply != plies) {
            const std::string picker = x.WaitForWindow("Select Material");
            ASSERT_FALSE(picker.empty()) << "no \"Select Material\" window";
            x.SaveScreenshot("e2e-lamhost-picker");
            x.Key(picker, {"Down", "Down", "Return"});
            ASSERT_TRUE(x.WaitForWindowGone(picker));
        }
        x.Click(dialog, width - kPlyThickness[0], kPlyThickness[1]);
        x.Type(dialog, ply.thickness);
        x.Click(dialog, width - kPlyAngle[0], kPlyAngle[1]);
        if (ply.angle[0] == '-') // xdotool would read "-60" as an option
            x.Key(dialog, {"minus"});
        x.Type(dialog, ply.angle + (ply.angle[0] == '-'));
        x.Key(dialog, {"Return"});
        ASSERT_TRUE(x.WaitForWindowGone(dialog));
    }
    x.SaveScreenshot("e2e-create-two-plies");
    x.Click(window, kOk[0], kOk[1]);
    EXPECT_TRUE(x.WaitForWindowGone(window));
    const Outcome o = x.Wait(20000);
    EXPECT_EQ(o.status, 0) << o.err;
    for (const char *line : {"Laminate save 1: mode 1 (create)", "  2 plies, bottom first\n",
                             "        1          0.3           30  1 Black      302 Glass/epoxy UD 0.25\n",
                             "        2         0.15          -60  2 Red        303 Carbon/epoxy fabric 0.2\n"})
        EXPECT_NE(o.out.find(line), std::string::npos) << line << " in\n" << o.out;
}

} // namespace
