// Groups and links through the layup manager.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupmanager_p.h"
#include "core/selection.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace layuptest;

namespace {

Selection Select(std::vector<int> plies, std::vector<int> groups = {})
{
    Selection selection;
    selection.plies = std::move(plies);
    selection.SetGroups(groups);
    return selection;
}

// Plies a and b, and their two transforms.
PlySimple *A(float sign = 1.0f) { return Ply(1, 0.25f, 30.0f * sign); }
PlySimple *B(float sign = 1.0f) { return Ply(2, 0.5f, 60.0f * sign); }

// Groups 1 and 2 equal, 3 the mirror of 1, 4 its antimirror, 5 longer, 6 of
// the same length but different, then a link to 1.
PlyGroup LinkingRoot()
{
    return Root({Group(1, {A(), B()}), Group(2, {A(), B()}), Group(3, {B(), A()}), Group(4, {B(-1), A(-1)}),
                 Group(5, {A(), B(), A()}), Group(6, {A(), A()}), Link(7, 1, LinkRepeat)});
}

// The values of the full stack: material, colour, thickness and angle.
std::vector<std::string> Stack(const PlyGroup &root)
{
    std::vector<PlySimple> plies;
    root.CollectPliesExpanded(plies);
    std::vector<std::string> values;
    for (const PlySimple &ply : plies) {
        values.push_back(std::to_string(ply.Material()) + "/" + std::to_string(ply.Color()) + "/"
                         + std::to_string(ply.Thickness()) + "/" + std::to_string(ply.Angle()));
    }
    return values;
}

class LogCapture
{
public:
    LogCapture()
    {
        auto *logger = new Tuvo::Logger("GroupsTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { Lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
        Lines().clear();
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild("GroupsTest"); }
    static std::vector<std::string> &Lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }
    bool Has(const std::string &line) const
    {
        return std::find(Lines().begin(), Lines().end(), line) != Lines().end();
    }
};

PlyGroup FivePlies()
{
    return Root({Ply(1), Ply(2), Ply(3), Ply(4), Ply(5)});
}

// Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7.
PlyGroup Sample()
{
    return Root({Ply(1), Group(5, {Ply(2), Ply(3)}), Ply(4), Link(6, 5, LinkRepeat), Ply(7)});
}

// Group 7 inside group 5: never made by the manager, but a tree can hold it.
PlyGroup Nested()
{
    return Root({Group(5, {Group(7, {A(), B()}), Ply(3)}), Group(8, {A(), B()})});
}

// A link to a link to group 1.
PlyGroup Chain()
{
    return Root({Group(1, {A(), B()}), Link(7, 1, LinkRepeat), Link(8, 7, LinkRepeat), Group(2, {A(), B()})});
}

struct EditCase
{
    const char *name;
    PlyGroup (*root)();
    Selection selection;
    const char *result; // the layout, or the error text when refused
    bool refused = false;
};

class GroupsTest : public ::testing::Test
{
protected:
    void Reset(const PlyGroup &root)
    {
        laminate.SetLayup(root);
        recorder.commands.clear();
    }
    std::string Layout() const { return Describe(laminate.RootGroup().GetLayup()); }

    // Runs each case; keepsStack: a successful edit leaves the full stack as it was.
    void Run(const std::vector<EditCase> &cases, bool (LayupManager::*edit)(const Selection &), const char *name,
             bool keepsStack)
    {
        for (const EditCase &c : cases) {
            SCOPED_TRACE(c.name);
            Reset(c.root());
            const Laminate before = laminate;
            const bool done = (manager.*edit)(c.selection);
            EXPECT_EQ(done, !c.refused);
            if (!done) {
                EXPECT_EQ(manager.GetErrorMessage(), c.result);
                EXPECT_TRUE(laminate.IsEqual(before));
                EXPECT_EQ(recorder.Count(), 0);
                continue;
            }
            EXPECT_EQ(manager.GetErrorMessage(), "");
            EXPECT_EQ(Layout(), c.result);
            EXPECT_EQ(recorder.Count(), 1);
            EXPECT_EQ(recorder.LastName(), name);
            if (keepsStack) {
                EXPECT_EQ(Stack(laminate.RootGroup()), Stack(before.RootGroup()));
            }
            const std::vector<PlySimple> plies = Plies(laminate.RootGroup());
            for (size_t i = 0; i < plies.size(); ++i)
                EXPECT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
        }
    }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

TEST_F(GroupsTest, CreateGroup)
{
    Run({
            {"consecutive plies", FivePlies, Select({2, 3, 4}), "1 G1[2 3 4] 5"},
            {"in any order, repeated", FivePlies, Select({4, 2, 3, 3}), "1 G1[2 3 4] 5"},
            {"one ply", FivePlies, Select({1}), "G1[1] 2 3 4 5"},
            {"next id after a link's", Sample, Select({7}), "1 G5[2 3] 4 L6>5r G7[7]"},
            {"next id after a target that is gone", [] { return Root({Ply(1), Link(3, 8, LinkRepeat), Ply(2)}); },
             Select({2}), "1 L3>8r G9[2]"},
            {"nothing", FivePlies, Select({}), "empty list of plies", true},
            {"a gap", FivePlies, Select({2, 3, 5}), "selected plies not consecutive", true},
            {"a ply of a group", Sample, Select({1, 2}), "Some selected plies cannot be grouped", true},
            {"plies a link shows", Sample, Select({5, 6}), "Some selected plies cannot be grouped", true},
            {"past the top", FivePlies, Select({5, 6}), "Some selected plies cannot be grouped", true},
        },
        &LayupManager::CreateGroup, "Create Group", true);
}

TEST_F(GroupsTest, CreateGroupLogsTheFirstGap)
{
    Reset(FivePlies());
    LogCapture log;
    EXPECT_FALSE(manager.CreateGroup(Select({2, 3, 5})));
    EXPECT_TRUE(log.Has("plies not consecutive: ply 4 not selected"));
}

TEST_F(GroupsTest, Ungroup)
{
    Run({
            {"the group's link goes with it", Sample, Select({}, {5}), "1 2 3 4 7"},
            {"both links", [] { return Root({Group(5, {Ply(1), Ply(2)}), Link(6, 5, 0), Link(7, 5, 1), Ply(3)}); },
             Select({}, {5}), "1 2 3"},
            {"links to the links", [] { return Root({Group(5, {Ply(1)}), Link(6, 5, 0), Ply(2), Link(8, 6, 1)}); },
             Select({}, {5}), "1 2"},
            {"two groups", [] { return Root({Group(1, {Ply(1)}), Group(2, {Ply(2)}), Ply(3)}); }, Select({}, {1, 2}),
             "1 2 3"},
            {"no group selected", Sample, Select({1}), "1 G5[2 3] 4 L6>5r 7"},
            {"a group in it goes too", Nested, Select({}, {5}), "1 2 3 G8[1 2]"},
            {"its links are expanded", [] { return Root({Group(1, {A(), B()}), Group(2, {Link(3, 1, 1), Ply(3)})}); },
             Select({}, {2}), "G1[1 2] 2 1 3"},
            {"a link", Sample, Select({}, {6}), "Could not find selected group", true},
            {"a missing group", Sample, Select({}, {5, 99}), "Could not find selected group", true},
            {"a group inside a group", Nested, Select({}, {7}), "Could not find selected group", true},
        },
        &LayupManager::Ungroup, "Ungroup", false);
}

TEST_F(GroupsTest, CreateLink)
{
    Selection firstAnchorThree;
    firstAnchorThree.SetGroups({3, 1});
    Selection nestedChild;
    nestedChild.SetGroups({8, 7});
    Run({
            {"equal plies: repeat", LinkingRoot, Select({}, {1, 2}),
             "G1[1 2] L2>1r G3[2 1] G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"reversed: symmetry", LinkingRoot, Select({}, {1, 3}),
             "G1[1 2] G2[1 2] L3>1s G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"reversed and negated: antisymmetry", LinkingRoot, Select({}, {1, 4}),
             "G1[1 2] G2[1 2] G3[2 1] L4>1a G5[1 2 1] G6[1 1] L7>1r"},
            {"the first anchor is the parent", LinkingRoot, firstAnchorThree,
             "L1>3s G2[1 2] G3[2 1] G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"many: those that fit", LinkingRoot, Select({}, {1, 2, 3, 4, 5, 6}),
             "G1[1 2] L2>1r L3>1s L4>1a G5[1 2 1] G6[1 1] L7>1r"},
            {"a selected link is the parent", LinkingRoot, Select({}, {2, 7}),
             "G1[1 2] L2>7r G3[2 1] G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"many: the link's own target is skipped", LinkingRoot, Select({}, {1, 2, 7}),
             "G1[1 2] L2>7r G3[2 1] G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"many: nothing fits", LinkingRoot, Select({}, {1, 5, 6}),
             "G1[1 2] G2[1 2] G3[2 1] G4[2 1] G5[1 2 1] G6[1 1] L7>1r"},
            {"one group", LinkingRoot, Select({}, {1}), "Unsuitable selection", true},
            {"a missing group", LinkingRoot, Select({}, {1, 99}), "Error, group not found", true},
            {"two links", Chain, Select({}, {7, 8}), "Error, groups already linked", true},
            {"a link and its target", LinkingRoot, Select({}, {1, 7}), "Parent group is linked to child group", true},
            {"a link that reaches the child", Chain, Select({}, {1, 8}), "Parent group is related to child group",
             true},
            {"different lengths", LinkingRoot, Select({}, {1, 5}), "Groups have different size", true},
            {"different plies", LinkingRoot, Select({}, {1, 6}), "Contents of selected groups do not match", true},
            {"a child inside a group", Nested, nestedChild, "Error inserting link in layup", true},
        },
        &LayupManager::CreateLink, "Link Groups", true);
}

TEST_F(GroupsTest, LinkingNamesOnlyGroupsThatAreThere)
{
    LayupManager::Impl impl{nullptr, &laminate, &recorder};
    PlyGroup work = LinkingRoot();
    EXPECT_FALSE(impl.LinkGroups(work, 99, {1, 2}, true));
    EXPECT_EQ(impl.error, "Error: tried to access a bogus parent group");
    EXPECT_FALSE(impl.LinkGroups(work, 1, {98}, false));
    EXPECT_EQ(impl.error, "Error: tried to access a bogus child group");
}

TEST_F(GroupsTest, Unlink)
{
    Run({
            {"a repeat link", Sample, Select({}, {6}), "1 G5[2 3] 4 G6[2 3] 7"},
            {"an antisymmetry link", [] { return Root({Group(5, {A(), B()}), Link(6, 5, LinkAntisymmetry)}); },
             Select({}, {6}), "G5[1 2] G6[2 1]"},
            {"a link and a link to it", [] { return Root({Group(5, {A(), B()}), Link(6, 5, 1), Link(7, 6, 1)}); },
             Select({}, {6, 7}), "G5[1 2] G6[2 1] G7[1 2]"},
            {"a link into a group made by an earlier one",
             [] {
                 return Root({Group(4, {A(), B()}), Link(2, 6, 0), Group(6, {Link(5, 4, 0), Ply(3)}), Link(3, 5, 0)});
             },
             Select({}, {2, 3}), "G4[1 2] G2[L5>4r 3] G6[L5>4r 3] G3[1 2]"},
            {"no link selected", Sample, Select({2}), "1 G5[2 3] 4 L6>5r 7"},
            {"a group", Sample, Select({}, {5}), "Selected group not found", true},
            {"a missing link", Sample, Select({}, {6, 99}), "Selected group not found", true},
        },
        &LayupManager::Unlink, "Unlink groups", true);
}

TEST_F(GroupsTest, UnlinkedAntisymmetryNegatesTheAngles)
{
    Reset(Root({Group(5, {A(), B()}), Link(6, 5, LinkAntisymmetry)}));
    ASSERT_TRUE(manager.Unlink(Select({}, {6})));
    const std::vector<PlySimple> plies = Plies(*laminate.RootGroup().GetLayup()[1]);
    ASSERT_EQ(plies.size(), 2u);
    EXPECT_EQ(plies[0].Angle(), -60.0f);
    EXPECT_EQ(plies[1].Angle(), -30.0f);
}

} // namespace
