#include "core/lamcommand.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/lamcommandreplace.h"
#include "core/layupmanager.h"
#include "core/multiplecommand.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

TEST(LamCommandTaker, SubmitKeepsWhileEnabledAndDestroysOtherwise)
{
    CommandRecorder taker;
    EXPECT_TRUE(taker.IsEnabled());
    bool destroyed = false;
    EXPECT_TRUE(taker.Submit(std::make_unique<ProbeCommand>(&destroyed)));
    EXPECT_EQ(taker.Count(), 1);
    EXPECT_FALSE(destroyed);

    taker.SetEnabled(false);
    bool refused = false;
    EXPECT_FALSE(taker.Submit(std::make_unique<ProbeCommand>(&refused)));
    EXPECT_TRUE(refused);
    EXPECT_EQ(taker.Count(), 1);
    taker.SetEnabled(true);
    EXPECT_FALSE(taker.Submit(nullptr));
    EXPECT_EQ(taker.Count(), 1);
}

class MultipleCommandTest : public ::testing::Test
{
protected:
    // Appends a probe and returns it (the bundle owns it).
    ProbeCommand *AddProbe(bool result = true)
    {
        flags.push_back(std::make_unique<bool>(false));
        auto probe = std::make_unique<ProbeCommand>(flags.back().get(), result);
        ProbeCommand *raw = probe.get();
        EXPECT_TRUE(bundle.Submit(std::move(probe)));
        return raw;
    }

    std::vector<std::unique_ptr<bool>> flags; // outlive the bundle
    MultipleCommand bundle{"Modify"};
    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

TEST_F(MultipleCommandTest, EmptyBundleAppliesAndChangesNothing)
{
    EXPECT_EQ(bundle.Name(), "Modify");
    EXPECT_EQ(bundle.Count(), 0);
    EXPECT_TRUE(bundle.GetSelection().IsEmpty());
    EXPECT_TRUE(bundle.Apply(manager));
    EXPECT_EQ(laminate.RootGroup().GetLayup().Size(), 0);
}

TEST_F(MultipleCommandTest, AppliesChildrenInOrderUntilOneFails)
{
    ProbeCommand *first = AddProbe();
    ProbeCommand *failing = AddProbe(false);
    ProbeCommand *last = AddProbe();
    EXPECT_EQ(bundle.Count(), 3);
    EXPECT_FALSE(bundle.Apply(manager));
    EXPECT_EQ(first->applied, 1);
    EXPECT_EQ(failing->applied, 1);
    EXPECT_EQ(last->applied, 0);
}

TEST_F(MultipleCommandTest, KeepsOnlyLayupCommands)
{
    bool destroyed = false;
    EXPECT_TRUE(bundle.Submit(std::make_unique<PlainProbeCommand>(&destroyed)));
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(bundle.Submit(std::make_unique<LamCommandStacking>(1)));
    EXPECT_EQ(bundle.Count(), 0);
}

TEST_F(MultipleCommandTest, ReleasePassesOwnership)
{
    ProbeCommand *first = AddProbe();
    ProbeCommand *second = AddProbe();
    EXPECT_EQ(bundle.Release(2), nullptr);
    EXPECT_EQ(bundle.Release(7), nullptr);
    EXPECT_EQ(bundle.Count(), 2);

    std::unique_ptr<LamCommand> taken = bundle.Release(-3); // counts as 0
    EXPECT_EQ(taken.get(), first);
    EXPECT_EQ(bundle.Count(), 1);
    taken.reset();
    EXPECT_TRUE(*flags[0]);
    EXPECT_FALSE(*flags[1]);
    EXPECT_EQ(bundle.Release(0).get(), second);
    EXPECT_EQ(bundle.Count(), 0);
}

TEST(LamCommandStacking, Names)
{
    const char *const names[] = {"Simple stacking", "Full Symmetric stacking", "Symmetric stacking with core",
                                 "Full Repeat stacking", "Repeat stacking with core"};
    for (int code = 0; code < 5; ++code)
        EXPECT_EQ(LamCommandStacking(code).Name(), names[code]);
    EXPECT_EQ(LamCommandStacking(7).Name(), "stacking");
    EXPECT_EQ(LamCommandStacking(-1).Name(), "stacking");
}

} // namespace
