#include "core/editcommands.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupmanager.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

TEST(EditCommands, Names)
{
    const Selection none;
    EXPECT_EQ(GroupCommand(none).Name(), "Create Group");
    EXPECT_EQ(UngroupCommand(none).Name(), "Ungroup");
    EXPECT_EQ(LinkCommand(none).Name(), "Link Groups");
    EXPECT_EQ(UnlinkCommand(none).Name(), "Unlink groups");
    EXPECT_EQ(DeleteCommand(none).Name(), "Delete");
    EXPECT_EQ(CutCommand(none).Name(), "Cut");
    EXPECT_EQ(CopyCommand(none).Name(), "Copy");
    EXPECT_EQ(PasteCommand(none, true, false, false, 1).Name(), "Paste");
}

class PasteCommandTest : public ::testing::Test
{
protected:
    PasteCommandTest()
    {
        laminate.SetLayup(Root({Ply(1), Ply(2), Ply(3)}));
        Selection top;
        top.plies = {3};
        manager.Copy(top);
    }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

TEST_F(PasteCommandTest, RepeatsWithItsOwnSideAndKeepsItsSelection)
{
    Selection below;
    below.plies = {2};
    const PasteCommand command(below, true, true, false, 2);
    manager.SetInsertBefore(false);
    ASSERT_TRUE(command.Apply(manager));
    EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), "1 3 3 2 3");
    EXPECT_EQ(command.GetSelection().plies, std::vector<int>{2});
}

TEST_F(PasteCommandTest, FailsWithTheManagersError)
{
    Selection mixed;
    mixed.plies = {2};
    mixed.SelectGroup(1);
    const PasteCommand command(mixed, true, false, false, 1);
    EXPECT_FALSE(command.Apply(manager));
    EXPECT_EQ(manager.GetErrorMessage(), "Invalid insertion operator");
    EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), "1 2 3");
}

} // namespace
