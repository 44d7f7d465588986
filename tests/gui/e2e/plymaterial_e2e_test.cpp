// A ply material created interactively: the real lamhost with the real module
// on a private X server, driven from the keyboard as a person would.

#include "xsession.h"


#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

TEST(PlyMaterialEndToEnd, PickedMaterialsAndTypedFractionsAreSaved)
{
    XSession x;
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    x.Start(LAMHOST_PATH, {"--module", MODULE_PATH, "--pick", "matrix=202", "--pick", "fiber=103", "plymat"},
            std::filesystem::temp_directory_path().string());
    const std::string dialog = x.WaitForWindow("Create Ply Material");
    ASSERT_FALSE(dialog.empty()) << x.Wait(1000).err;

    // The matrix fraction has the focus; Tab leads to its select button, then
    // to the fibre's fraction and button; Return is OK.
    x.Key(dialog, {"ctrl+a"});
    x.Type(dialog, "0.35");
    x.Key(dialog, {"Tab", "space", "Tab", "ctrl+a"});
    x.Type(dialog, "0.65");
    x.Key(dialog, {"Tab", "space"});
    x.SaveScreenshot("e2e-plymaterial");
    x.Key(dialog, {"Return"});
    EXPECT_TRUE(x.WaitForWindowGone(dialog));

    const Outcome o = x.Wait();
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Contains(o.out, "Ply material save 1: saved\n"
                                "  matrix material 202 Polyester resin, fibre material 103 Aramid fibre\n"
                                "  matrix fraction 0.35, fibre fraction 0.65\n"
                                "  elastic theory 1"))
        << o.out;
}

} // namespace
