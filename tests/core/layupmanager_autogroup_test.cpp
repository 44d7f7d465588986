// Automatic grouping through the layup manager: stepwise or in one go, abort,
// and what it installs and records.

#include "core/layupmanager.h"

#include "core/autogroupcommand.h"
#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/randomedits.h"
#include "core/selection.h"
#include "util/tolerance.h"

#include <gtest/gtest.h>

#include <memory>

using namespace layuptest;

namespace {

// Plies 1 2 1 2 3 (materials) under a symmetric stacking rule.
PlyGroup Repeating()
{
    return Root({Ply(1), Ply(2), Ply(1), Ply(2), Ply(3)}, StackingFullSymmetric);
}

class AutoGroupTest : public ::testing::Test
{
protected:
    void Start(const PlyGroup &root)
    {
        laminate.SetLayup(root);
        laminate.ClearModified();
    }
    std::string Layout() const { return Describe(laminate.RootGroup().GetLayup()); }
    // Runs the grouping to its end without progress, as a script does.
    void RunWithoutProgress()
    {
        while (!manager.AutoGroup(nullptr)) {
        }
    }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

TEST_F(AutoGroupTest, StepwiseWithProgress)
{
    Start(Repeating());
    LayupClipboard clipboard;
    clipboard.items.Add(Ply(8));
    clipboard.filled = true;
    manager.SetClipboard(clipboard);
    const Laminate start = laminate;

    std::vector<float> progress;
    float value = -1.0f;
    while (!manager.AutoGroup(&value)) {
        progress.push_back(value);
        // Nothing is installed or recorded while the search runs.
        EXPECT_TRUE(laminate.IsEqual(start));
        EXPECT_FALSE(laminate.IsModified());
        EXPECT_EQ(recorder.Count(), 0);
        ASSERT_LT(progress.size(), 100u);
    }
    EXPECT_EQ(value, 1.0f);
    ASSERT_FALSE(progress.empty());
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_GE(progress[i], i ? progress[i - 1] : 0.0f);
        EXPECT_LE(progress[i], 1.0f);
    }
    // The clipboard was emptied when the grouping began.
    EXPECT_EQ(manager.GetClipboard().items.Size(), 0);
    EXPECT_FALSE(manager.GetClipboard().filled);

    EXPECT_EQ(Layout(), "G1[1 2] L2>1r 3");
    EXPECT_EQ(laminate.RootGroup().GetLayup().Stacking(), StackingFullSymmetric);
    const std::vector<PlySimple> plies = Plies(laminate.RootGroup());
    for (size_t i = 0; i < plies.size(); ++i)
        EXPECT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
    EXPECT_TRUE(laminate.IsModified());
    ASSERT_EQ(recorder.Count(), 1);
    EXPECT_EQ(recorder.LastName(), "AutoGroup");
    const auto &command = dynamic_cast<const AutoGroupCommand &>(*recorder.commands[0]);
    EXPECT_TRUE(PlyGroup(0, command.Result()).IsEqual(laminate.RootGroup()));
}

struct GroupingCase
{
    const char *name;
    PlyGroup (*root)();
    const char *layout; // null: unchanged, nothing recorded
};

const GroupingCase kGroupings[] = {
    {"repetition", [] { return Repeating(); }, "G1[1 2] L2>1r 3"},
    {"symmetry", [] { return Root({Ply(1), Ply(2), Ply(2), Ply(1)}); }, "G1[1 2] L2>1s"},
    {"a link is expanded first",
     [] { return Root({Group(5, {Ply(1), Ply(2)}), Link(6, 5, LinkSymmetry), Ply(4)}); }, "G1[1 2] L2>1s 4"},
    {"grouped alike under other ids", [] { return Root({Group(7, {Ply(1), Ply(2)}), Link(8, 7, LinkRepeat)}); },
     "G1[1 2] L2>1r"},
    {"a group of plies all different is dissolved", [] { return Root({Group(4, {Ply(1), Ply(2)}), Ply(3)}); },
     "1 2 3"},
    {"already grouped as the search would", [] { return Root({Group(1, {Ply(1), Ply(2)}), Link(2, 1, 0), Ply(3)}); },
     nullptr},
    {"all plies different", [] { return Root({Ply(1), Ply(2), Ply(3)}); }, nullptr},
    {"empty", [] { return Root({}, StackingFullRepeat); }, nullptr},
};

TEST_F(AutoGroupTest, InstallsAndRecordsOnlyAChange)
{
    for (const GroupingCase &c : kGroupings) {
        SCOPED_TRACE(c.name);
        Start(c.root());
        recorder.commands.clear();
        const std::string before = Layout();
        const int stacking = laminate.RootGroup().GetLayup().Stacking();
        RunWithoutProgress();
        EXPECT_EQ(Layout(), c.layout ? c.layout : before);
        EXPECT_EQ(laminate.RootGroup().GetLayup().Stacking(), stacking);
        EXPECT_EQ(laminate.IsModified(), c.layout != nullptr);
        EXPECT_EQ(recorder.Count(), c.layout ? 1 : 0);
        // Grouping the result again changes nothing.
        RunWithoutProgress();
        EXPECT_EQ(recorder.Count(), c.layout ? 1 : 0);
    }
}

TEST_F(AutoGroupTest, AbortInstallsAndRecordsNothing)
{
    Start(Repeating());
    const Laminate start = laminate;
    float progress = -1.0f;
    ASSERT_FALSE(manager.AutoGroup(&progress));
    manager.ResetAutoGroup();
    EXPECT_TRUE(laminate.IsEqual(start));
    EXPECT_FALSE(laminate.IsModified());
    EXPECT_EQ(recorder.Count(), 0);
    manager.ResetAutoGroup(); // nothing running: harmless

    // The next grouping starts from the layup as it is then.
    manager.SetInsertBefore(false);
    ASSERT_TRUE(manager.AddPly(Selection(), 9, 0.25f, 0.0f, 0));
    RunWithoutProgress();
    EXPECT_EQ(Layout(), "G1[1 2] L2>1r 3 9");
    EXPECT_EQ(recorder.Count(), 2);
    EXPECT_EQ(recorder.LastName(), "AutoGroup");
}

// The leak checker of the sanitizer build watches the running search.
TEST(AutoGroup, DestroyingTheManagerReleasesARunningSearch)
{
    Laminate laminate;
    laminate.SetLayup(Repeating());
    auto manager = std::make_unique<LayupManager>(nullptr, &laminate, nullptr);
    ASSERT_FALSE(manager->AutoGroup(nullptr));
    manager.reset();
    EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), "1 2 1 2 3");
}

bool SameValues(const std::vector<PlySimple> &a, const std::vector<PlySimple> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].Material() != b[i].Material() || a[i].Color() != b[i].Color()
            || ValuesDiffer(a[i].Thickness(), b[i].Thickness(), 1e-6f) || ValuesDiffer(a[i].Angle(), b[i].Angle(), 1e-6f))
            return false;
    }
    return true;
}

// On layups made by random edits: the grouped layup stands for the same full
// stack, and grouping it again records nothing.
TEST(AutoGroup, KeepsTheStackOfRandomLayups)
{
    int changed = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(std::string("seed ").append(std::to_string(seed)));
        RandomEdits random(seed);
        Laminate laminate;
        laminate.SetLayup(Repeating());
        CommandRecorder recorder;
        LayupManager manager(nullptr, &laminate, &recorder);
        for (int step = 0; step < 25; ++step)
            random.Run(manager, laminate.RootGroup());
        std::vector<PlySimple> before;
        laminate.RootGroup().CollectPliesExpanded(before);
        const int recorded = recorder.Count();
        while (!manager.AutoGroup(nullptr)) {
        }
        std::vector<PlySimple> after;
        laminate.RootGroup().CollectPliesExpanded(after);
        EXPECT_TRUE(SameValues(before, after)) << Describe(laminate.RootGroup().GetLayup());
        changed += recorder.Count() - recorded;
        const int grouped = recorder.Count();
        while (!manager.AutoGroup(nullptr)) {
        }
        EXPECT_EQ(recorder.Count(), grouped);
    }
    EXPECT_GT(changed, 20);
}

} // namespace
