// The thickness and angle choices and the material check.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/materialcatalog.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace layuptest;

namespace {

std::vector<float> Values(const std::set<float> &set)
{
    return std::vector<float>(set.begin(), set.end());
}

PlySimple *Thick(float thickness)
{
    return Ply(1, thickness);
}

PlySimple *Angled(float angle)
{
    return Ply(1, 0.25f, angle);
}

struct ChoiceCase
{
    const char *name;
    PlyGroup (*root)();
    std::vector<float> thicknesses;
    std::vector<float> angles;
};

const ChoiceCase kChoices[] = {
    {"empty layup", [] { return Root({}); }, {}, {-45.0f, 0.0f, 45.0f, 90.0f}},
    {"one ply at 90 degrees", [] { return Root({Angled(90.0f)}); }, {0.25f}, {-90.0f, -45.0f, 0.0f, 45.0f, 90.0f}},
    {"values within 1e-6", [] { return Root({Thick(0.1000001f), Thick(0.1f)}); }, {0.1f}, {-45.0f, 0.0f, 45.0f, 90.0f}},
    {"1e-4 of the largest thickness",
     [] { return Root({Thick(0.5f), Thick(0.50004f), Thick(0.5001f), Thick(1.0f)}); },
     {0.5f, 0.5001f, 1.0f},
     {-45.0f, 0.0f, 45.0f, 90.0f}},
    // Each value is compared with the survivors, not with the value it replaced.
    {"a chain of close thicknesses", [] { return Root({Thick(1.00012f), Thick(1.00006f), Thick(1.0f)}); },
     {1.0f, 1.00012f},
     {-45.0f, 0.0f, 45.0f, 90.0f}},
    {"plies inside groups, angles with their negations",
     [] { return Root({Group(5, {Ply(1, 0.125f, 30.0f), Ply(1, 0.5f, -60.0f)}), Link(6, 5, LinkAntisymmetry)}); },
     {0.125f, 0.5f},
     {-60.0f, -45.0f, -30.0f, 0.0f, 30.0f, 45.0f, 60.0f, 90.0f}},
    // Within 0.01 relative the standard angles come first and stay; -90 is not
    // one of them, so -89.6 is offered.
    {"angles close to offered ones", [] { return Root({Angled(45.001f), Angled(89.6f), Angled(44.0f)}); }, {0.25f},
     {-89.6f, -45.0f, -44.0f, 0.0f, 44.0f, 45.0f, 90.0f}},
    {"the first of close angles stays", [] { return Root({Angled(30.2f), Angled(30.0f), Angled(29.95f)}); }, {0.25f},
     {-45.0f, -30.2f, 0.0f, 30.2f, 45.0f, 90.0f}},
};

TEST(LayupManagerChoices, ThicknessesAndAngles)
{
    for (const ChoiceCase &c : kChoices) {
        SCOPED_TRACE(c.name);
        Laminate laminate;
        laminate.SetLayup(c.root());
        const LayupManager manager(nullptr, &laminate, nullptr);
        EXPECT_EQ(Values(manager.GetThicknesses()), c.thicknesses);
        EXPECT_EQ(Values(manager.GetAngles()), c.angles);
    }
}

class Catalogue : public MaterialCatalog
{
public:
    explicit Catalogue(std::set<int> known) : known_(std::move(known)) {}
    bool Contains(int id) const override { return known_.count(id) != 0; }

private:
    std::set<int> known_;
};

class LogCapture
{
public:
    LogCapture()
    {
        auto *logger = new Tuvo::Logger("QueriesTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { Lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
        Lines().clear();
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild("QueriesTest"); }
    static std::vector<std::string> &Lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }
    int Count(const std::string &start) const
    {
        return static_cast<int>(std::count_if(Lines().begin(), Lines().end(),
                                              [&start](const std::string &l) { return l.rfind(start, 0) == 0; }));
    }
};

std::string Materials(const Laminate &laminate)
{
    std::string text;
    for (const PlySimple &ply : Plies(laminate.RootGroup()))
        text.append(text.empty() ? "" : " ").append(std::to_string(ply.Material()));
    return text;
}

class CheckMaterialsTest : public ::testing::Test
{
protected:
    CheckMaterialsTest()
    {
        // Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7.
        laminate.SetLayup(Root({Ply(3), Group(5, {Ply(3), Ply(7)}), Ply(7), Link(6, 5, LinkSymmetry), Ply(3)}));
        laminate.ClearModified();
    }

    Laminate laminate;
    CommandRecorder recorder;
    Catalogue catalogue{{3}};
    LayupManager manager{&catalogue, &laminate, &recorder};
};

TEST_F(CheckMaterialsTest, RepairsEveryUnknownMaterialAndReportsTheFirst)
{
    LogCapture log;
    int ply = 0;
    int material = 0;
    EXPECT_FALSE(manager.CheckMaterials(&ply, &material));
    EXPECT_EQ(ply, 3);
    EXPECT_EQ(material, 7);
    EXPECT_EQ(manager.GetErrorMessage(), "Ply %1 references non-existing material %2");
    EXPECT_EQ(log.Count("Ply "), 1);
    EXPECT_EQ(log.Count("Ply 3 references non-existing material 7"), 1);
    // The link shows its target's repaired ply.
    EXPECT_EQ(Materials(laminate), "3 3 -1 -1 -1 3 3");
    EXPECT_TRUE(laminate.IsModified());
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(recorder.modifiedCalls, 1);
    EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), "3 G5[3 -1] -1 L6>5s 3");

    // A repaired ply passes a second check.
    ply = material = 0;
    laminate.ClearModified();
    EXPECT_TRUE(manager.CheckMaterials(&ply, &material));
    EXPECT_EQ(ply, 0);
    EXPECT_EQ(material, 0);
    EXPECT_EQ(manager.GetErrorMessage(), "");
    EXPECT_FALSE(laminate.IsModified());
    EXPECT_EQ(recorder.modifiedCalls, 1);
}

TEST_F(CheckMaterialsTest, AnOffenderOnlyInsideAGroupFailsTheCheck)
{
    laminate.SetLayup(Root({Ply(3), Group(5, {Ply(3), Ply(8)})}));
    int ply = 0;
    int material = 0;
    EXPECT_FALSE(manager.CheckMaterials(&ply, &material));
    EXPECT_EQ(ply, 3);
    EXPECT_EQ(material, 8);
    EXPECT_EQ(Materials(laminate), "3 3 -1");
}

TEST_F(CheckMaterialsTest, KnownMaterialsChangeNothing)
{
    Catalogue all({3, 7});
    LayupManager checker(&all, &laminate, &recorder);
    int ply = -5;
    EXPECT_TRUE(checker.CheckMaterials(&ply, nullptr));
    EXPECT_EQ(ply, -5);
    EXPECT_FALSE(laminate.IsModified());
    EXPECT_EQ(recorder.modifiedCalls, 0);
    // Without a catalogue nothing is judged unknown.
    LayupManager unchecked(nullptr, &laminate, &recorder);
    EXPECT_TRUE(unchecked.CheckMaterials(&ply, nullptr));
    EXPECT_EQ(Materials(laminate), "3 3 7 7 7 3 3");
    EXPECT_EQ(recorder.modifiedCalls, 0);
}

TEST_F(CheckMaterialsTest, OutArgumentsAreOptionalAndTheCurrentTakerIsTold)
{
    CommandRecorder bundle;
    manager.SetTaker(&bundle);
    EXPECT_FALSE(manager.CheckMaterials(nullptr, nullptr));
    EXPECT_EQ(bundle.modifiedCalls, 1);
    EXPECT_EQ(recorder.modifiedCalls, 0);
    EXPECT_EQ(Materials(laminate), "3 3 -1 -1 -1 3 3");
}

} // namespace
