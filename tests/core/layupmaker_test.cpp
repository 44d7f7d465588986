#include "core/layupmaker.h"

#include "core/layup.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plainsearch.h"
#include "core/randomtree.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>

namespace {

using Plies = std::vector<PlySimple>;
using BlockRun = LayupMaker::Run;

PlySimple Ply(int material, float angle, float thickness = 0.125f, int color = 1, const std::string &name = "p")
{
    PlySimple ply(0, name);
    ply.SetMaterial(material);
    ply.SetAngle(angle);
    ply.SetThickness(thickness);
    ply.SetColor(color);
    return ply;
}

// Plies named by letters: each letter its own material, angle 0.
Plies Letters(const std::string &letters)
{
    Plies plies;
    for (char c : letters)
        plies.push_back(Ply(c, 0.0f, 0.125f, 1, std::string(1, c)));
    return plies;
}

bool SameRuns(const std::vector<BlockRun> &a, const std::vector<BlockRun> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const BlockRun &x, const BlockRun &y) {
        return x.length == y.length && x.firstStart == y.firstStart && x.secondStart == y.secondStart
               && x.parentGroupId == y.parentGroupId && x.linkGroupId == y.linkGroupId
               && x.mirrored == y.mirrored && x.antisymmetric == y.antisymmetric;
    });
}

bool SameValues(const Plies &a, const Plies &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), PlainSearch::Match);
}

// Runs the whole search; the progress values of every step, the last one with true.
struct Outcome
{
    std::vector<float> progress;
    std::vector<BlockRun> runs;
    PlyGroup result{0};
};

Outcome RunMaker(const Plies &plies)
{
    Outcome out;
    std::unique_ptr<LayupMaker> maker(LayupMaker::CondenseSetup(plies));
    float progress = -1.0f;
    bool done = false;
    while (!done) {
        done = maker->Step(&progress);
        out.progress.push_back(progress);
    }
    out.runs = maker->Runs();
    out.result = maker->GetResult();
    return out;
}

Outcome RunPlain(const Plies &plies)
{
    Outcome out;
    PlainSearch plain(plies);
    float progress = -1.0f;
    bool done = false;
    while (!done) {
        done = plain.Step(&progress);
        out.progress.push_back(progress);
    }
    out.runs = plain.Runs();
    out.result = plain.Result();
    return out;
}

int ExpectedSteps(int n)
{
    int steps = 1;
    for (int len = 2; len <= n / 2; ++len)
        steps += n - 2 * len + 1;
    return steps;
}

// Collects what the root logger writes while it lives.
class LogCapture
{
public:
    LogCapture()
    {
        auto *logger = new Tuvo::Logger(kName);
        logger->AddDestination(new Sink(lines_));
        Tuvo::Logger::Root()->AddChild(logger);
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild(kName); }
    bool Has(const std::string &line) const { return std::find(lines_.begin(), lines_.end(), line) != lines_.end(); }

private:
    static constexpr const char *kName = "LayupMakerTest";
    struct Sink : Tuvo::SimpleLogDest
    {
        explicit Sink(std::vector<std::string> &lines) : lines(lines) {}
        int Emit(const char *text) override
        {
            lines.push_back(text);
            return 0;
        }
        std::vector<std::string> &lines;
    };
    std::vector<std::string> lines_;
};

const PlyGroupLink &LinkAt(const PlyGroup &group, int index)
{
    return dynamic_cast<const PlyGroupLink &>(*group.GetLayup()[index]);
}

} // namespace

TEST(LayupMaker, EmptyInputFinishesAtOnce)
{
    LogCapture log;
    const Outcome out = RunMaker({});
    EXPECT_EQ(out.progress, std::vector<float>{1.0f});
    EXPECT_EQ(out.result.GetLayup().Size(), 0);
    EXPECT_EQ(out.result.Id(), 0);
    EXPECT_TRUE(log.Has("LayupMaker::CondenseSetup begin with 0 plies.\n"));
    EXPECT_TRUE(log.Has("LayupMaker::CondenseSetup: the input list of plies is empty!"));
}

TEST(LayupMaker, AllDifferentPliesSkipTheSearch)
{
    LogCapture log;
    const Outcome out = RunMaker({Ply(1, 0.0f), Ply(1, 45.0f), Ply(2, 45.0f), Ply(1, 45.0f, 0.25f)});
    EXPECT_EQ(out.progress.size(), 1u);
    EXPECT_TRUE(log.Has("LayupMaker::Condense: all plies are different.\n"));
    ASSERT_EQ(out.result.GetLayup().Size(), 4);
    EXPECT_EQ(out.result.GetLayup()[3]->Id(), 4);
}

TEST(LayupMaker, StepCountAndProgress)
{
    struct Case
    {
        const char *what;
        Plies plies;
    };
    std::vector<Case> cases = {
        {"two alike", Letters("AA")},
        {"three", Letters("ABA")},
        {"sign only", {Ply(1, 45.0f), Ply(1, -45.0f), Ply(1, 0.0f), Ply(1, 90.0f)}},
        {"runs", Letters("ABABCABAB")},
        {"no runs", Letters("AABCDEFGHIJ")},
        {"identical", Letters(std::string(20, 'A'))},
        {"odd identical", Letters(std::string(17, 'A'))},
    };
    for (const Case &c : cases) {
        std::unique_ptr<LayupMaker> maker(LayupMaker::CondenseSetup(c.plies));
        int steps = 0;
        float last = 0.0f, progress = -1.0f;
        bool done = false;
        while (!done) {
            done = maker->Step(&progress);
            ++steps;
            EXPECT_GE(progress, last) << c.what << " step " << steps;
            EXPECT_LE(progress, 1.0f) << c.what;
            last = progress;
        }
        EXPECT_EQ(steps, ExpectedSteps(static_cast<int>(c.plies.size()))) << c.what;
        EXPECT_EQ(progress, 1.0f) << c.what;
        EXPECT_TRUE(maker->Step(nullptr)) << c.what;
        EXPECT_TRUE(SameValues(Collect(maker->GetResult()), c.plies)) << c.what;
    }
}

TEST(LayupMaker, AbandonedMidwayReleasesEverything)
{
    std::unique_ptr<LayupMaker> maker(LayupMaker::CondenseSetup(Letters("ABCDEFABCDEFXY")));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(maker->Step(nullptr));
    EXPECT_FALSE(maker->Runs().empty());
    maker.reset(); // the leak checker of the sanitizer build watches this
}

TEST(LayupMaker, RepetitionMakesGroupAndRepeatLink)
{
    const Outcome out = RunMaker(Letters("ABAB"));
    ASSERT_TRUE(SameRuns(out.runs, {BlockRun{2, 0, 2, 1, 2, false, false}}));
    const Layup &top = out.result.GetLayup();
    ASSERT_EQ(top.Size(), 2);
    const auto &group = dynamic_cast<const PlyGroup &>(*top[0]);
    EXPECT_EQ(group.Id(), 1);
    EXPECT_EQ(group.Name(), "Group");
    ASSERT_EQ(group.GetLayup().Size(), 2);
    EXPECT_EQ(group.GetLayup()[0]->Id(), 1);
    EXPECT_EQ(group.GetLayup()[1]->Id(), 2);
    const PlyGroupLink &link = LinkAt(out.result, 1);
    EXPECT_EQ(link.Id(), 2);
    EXPECT_EQ(link.TargetGroupId(), 1);
    EXPECT_EQ(link.LinkType(), LinkRepeat);
    EXPECT_EQ(link.FirstPlyNumber(), 3);
}

TEST(LayupMaker, MirroredBlocksMakeSymmetryAndAntisymmetryLinks)
{
    Outcome out = RunMaker(Letters("ABBA"));
    ASSERT_TRUE(SameRuns(out.runs, {BlockRun{2, 0, 2, 1, 2, true, false}}));
    EXPECT_EQ(LinkAt(out.result, 1).LinkType(), LinkSymmetry);

    out = RunMaker({Ply(1, 45.0f), Ply(2, 30.0f), Ply(2, -30.0f), Ply(1, -45.0f)});
    ASSERT_TRUE(SameRuns(out.runs, {BlockRun{2, 0, 2, 1, 2, true, true}}));
    EXPECT_EQ(LinkAt(out.result, 1).LinkType(), LinkAntisymmetry);
}

TEST(LayupMaker, BlockRepeatedThreeTimesReusesItsGroup)
{
    LogCapture log;
    const Outcome out = RunMaker(Letters("ABABAB"));
    ASSERT_TRUE(SameRuns(out.runs, {BlockRun{2, 0, 2, 1, 3, false, false}, BlockRun{2, 0, 4, 1, 2, false, false}}));
    EXPECT_TRUE(log.Has("GroupPlies: reusing group 1\n"));
    ASSERT_EQ(out.result.GetLayup().Size(), 3);
    EXPECT_EQ(LinkAt(out.result, 1).Id(), 3);
    EXPECT_EQ(LinkAt(out.result, 1).FirstPlyNumber(), 3);
    EXPECT_EQ(LinkAt(out.result, 2).Id(), 2);
    EXPECT_EQ(LinkAt(out.result, 2).FirstPlyNumber(), 5);
}

// Plies loaded from the host and plies added later carry different names.
TEST(LayupMaker, NamesDoNotStopTheGrouping)
{
    LogCapture log;
    Plies plies = Letters("ABAB");
    for (size_t i = 0; i < plies.size(); ++i)
        plies[i] = Ply(plies[i].Material(), 0.0f, 0.125f, 1, std::string("ply") + std::to_string(i));
    const Outcome out = RunMaker(plies);
    EXPECT_EQ(out.result.GetLayup().Size(), 2);
    EXPECT_TRUE(log.Has("The grouped layup expands the same, AutoGroup success.\n"));
    EXPECT_TRUE(SameValues(Collect(out.result), plies));
}

TEST(LayupMaker, GroupPliesRefusals)
{
    // Top level: ply 1, group 7 over plies 2-4, link 8 to it (plies 5-7), ply 8.
    PlyGroup work(0);
    work.GetLayup().Add(new PlySimple(Letters("A")[0]));
    auto *group = new PlyGroup(7);
    const Plies inner = Letters("BCD");
    group->GetLayup().AddRange(inner.begin(), inner.end());
    work.GetLayup().Add(group);
    work.GetLayup().Add(new PlyGroupLink(8, 7, LinkRepeat, 5));
    work.GetLayup().Add(new PlySimple(Letters("E")[0]));
    work.Renumber(1);
    work.SetRoot(&work);
    ASSERT_EQ(work.CountPlies(), 8);
    const PlyGroup before = work;

    struct Case
    {
        int length, start;
        const char *error;
    };
    const Case cases[] = {
        {1, 0, "Invalid grouping request."},
        {2, -1, "Invalid grouping request."},
        {3, 6, "Grouping more plies than exist in layup."},
        {2, 0, "Error creating group: partial subgroup inclusion."},
        {2, 4, "Error creating group: partial subgroup inclusion."},
        {2, 2, "Cannot group part of a child group."},
        {3, 2, "Cannot group part of a child group."},
        {2, 5, "Cannot group part of a child group."},
    };
    for (const Case &c : cases) {
        for (bool link : {false, true}) {
            BlockRun run{c.length, c.start, c.start, 20, 21, false, false};
            std::string error;
            EXPECT_FALSE(LayupMaker::GroupPlies(work, link, run, error)) << c.start;
            EXPECT_EQ(error, c.error) << c.length << " at " << c.start;
            EXPECT_TRUE(work.IsEqual(before));
        }
    }
}

TEST(LayupMaker, GroupPliesReusesAndWrapsWholeItems)
{
    PlyGroup work(0);
    auto *group = new PlyGroup(5);
    const Plies inner = Letters("AB");
    group->GetLayup().AddRange(inner.begin(), inner.end());
    work.GetLayup().Add(group);
    work.GetLayup().Add(new PlyGroupLink(6, 5, LinkSymmetry, 3));
    const Plies tail = Letters("CD");
    work.GetLayup().AddRange(tail.begin(), tail.end());
    work.Renumber(1);
    work.SetRoot(&work);
    const Plies flat = Collect(work);

    std::string error;
    BlockRun reuse{2, 0, 4, 9, 10, false, false};
    ASSERT_TRUE(LayupMaker::GroupPlies(work, false, reuse, error));
    EXPECT_EQ(reuse.parentGroupId, 5);
    EXPECT_EQ(work.GetLayup().Size(), 4);

    // Group 5 moves into the new group 9; link 6 must find it there, not the old item.
    BlockRun wrap{5, 0, 5, 9, 10, false, false};
    ASSERT_TRUE(LayupMaker::GroupPlies(work, false, wrap, error)) << error;
    ASSERT_EQ(work.GetLayup().Size(), 2);
    EXPECT_EQ(work.GetLayup()[0]->Id(), 9);
    const auto *link = dynamic_cast<const PlyGroupLink *>(work.FindGroup(6).Get());
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Target(), work.FindGroup(5).Get());
    EXPECT_TRUE(SameValues(Collect(work), flat));
}

// A member's twin earlier in the list must stay where it is.
TEST(LayupMaker, GroupPliesErasesTheMembersThemselves)
{
    PlyGroup work(0);
    const Plies plies = {Ply(1, 0.0f), Ply(2, 0.0f), Ply(1, 0.0f), Ply(3, 0.0f)};
    work.GetLayup().AddRange(plies.begin(), plies.end()); // plies 1 and 3 are twins: same id and name
    BlockRun run{2, 2, 2, 4, 5, false, false};
    std::string error;
    ASSERT_TRUE(LayupMaker::GroupPlies(work, false, run, error));
    ASSERT_EQ(work.GetLayup().Size(), 3);
    EXPECT_EQ(work.GetLayup()[2]->Id(), 4);
    EXPECT_TRUE(SameValues(Collect(work), plies));
}

TEST(LayupMaker, MatchPlies)
{
    const PlySimple a = Ply(1, 45.0f), b = Ply(1, 30.0f), aNeg = Ply(1, -45.0f), bNeg = Ply(1, -30.0f);
    struct Case
    {
        Plies first, second;
        PlyMatch expected;
    };
    const Case cases[] = {
        {{}, {}, PlyMatchReversed},
        {{a, a}, {a, a}, PlyMatchReversed},
        {{a, b}, {b, a}, PlyMatchReversed},
        {{a, b}, {a, b}, PlyMatchEqual},
        {{a, b}, {bNeg, aNeg}, PlyMatchAntisymmetric},
        {{a, b}, {aNeg, bNeg}, PlyMatchNone},
        {{a, b}, {a, Ply(2, 30.0f)}, PlyMatchNone},
        {{a, b}, {a, Ply(1, 30.0f, 0.126f)}, PlyMatchNone},
        {{a, b}, {a, Ply(1, 30.0f, 0.125f, 2)}, PlyMatchNone},
        {{a, b}, {a, Ply(1, 30.00002f)}, PlyMatchEqual},
        {{a, b}, {a, b, a}, PlyMatchNone},
        {{a, b, a}, {a, b}, PlyMatchNone},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LayupMaker::MatchPlies(c.first, c.second), c.expected) << c.first.size() << "/" << c.second.size();
}

TEST(LayupMaker, RemoveGroupAndLinks)
{
    // Group 1, link 2 to it, link 3 to link 2, ply, group 5 holding link 6 to group 1, link 4 to group 1.
    PlyGroup root(0);
    auto *group = new PlyGroup(1);
    const Plies inner = Letters("AB");
    group->GetLayup().AddRange(inner.begin(), inner.end());
    root.GetLayup().Add(group);
    root.GetLayup().Add(new PlyGroupLink(2, 1, LinkRepeat, 3));
    root.GetLayup().Add(new PlyGroupLink(3, 2, LinkRepeat, 5));
    root.GetLayup().Add(new PlySimple(Letters("C")[0]));
    auto *holder = new PlyGroup(5);
    holder->GetLayup().Add(new PlyGroupLink(6, 1, LinkRepeat, 8));
    root.GetLayup().Add(holder);
    root.GetLayup().Add(new PlyGroupLink(4, 1, LinkRepeat, 10));
    root.SetRoot(&root);
    ASSERT_EQ(root.CountPlies(), 11);

    LayupMaker::RemoveGroupAndLinks(root, 1);
    ASSERT_EQ(root.GetLayup().Size(), 2);
    EXPECT_EQ(root.GetLayup()[1]->Id(), 5);
    // The nested link no longer reaches the removed group.
    EXPECT_EQ(root.CountPlies(), 1);
}

// The removal one id at a time, erasing item by item: what removing many at
// once must match.
void RemoveOneByOne(PlyGroup &root, int groupId)
{
    Layup &layup = root.GetLayup();
    for (auto it = layup.Begin(); it != layup.End(); ++it) {
        if ((*it)->Id() == groupId && dynamic_cast<const PlyGroupBase *>(it->Get())) {
            layup.Erase(it);
            break;
        }
    }
    for (;;) {
        auto it = std::find_if(layup.Begin(), layup.End(), [groupId](const PlyHandle &item) {
            const auto *link = dynamic_cast<const PlyGroupLink *>(item.Get());
            return link && link->TargetGroupId() == groupId;
        });
        if (it == layup.End())
            return;
        if ((*it)->Id() != groupId)
            RemoveOneByOne(root, (*it)->Id());
        else
            layup.Erase(it);
    }
}

std::vector<int> TopLevelIds(const PlyGroup &root)
{
    std::vector<int> ids;
    for (auto it = root.GetLayup().ConstBegin(); it != root.GetLayup().ConstEnd(); ++it)
        ids.push_back((*it)->Id());
    return ids;
}

TEST(LayupMaker, RemoveGroupsAndLinksAtOnceAsOneByOne)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomTree random(seed, true);
        PlyGroup expected = random.Build();
        std::vector<int> ids;
        for (int id = 1; id < 12; ++id) {
            if (random.Pick(0, 2) == 0)
                ids.push_back(id);
        }
        PlyGroup removed = expected;
        LayupMaker::RemoveGroupsAndLinks(removed, ids);
        for (const int id : ids)
            RemoveOneByOne(expected, id);
        expected.ResetLinks();
        ASSERT_EQ(TopLevelIds(removed), TopLevelIds(expected)) << "seed " << seed;
        ASSERT_TRUE(SamePlies(Collect(removed), Collect(expected))) << "seed " << seed;
    }
}

TEST(LayupMaker, Dump)
{
    PlyGroup root(0);
    const Plies plies = {Ply(3, 45.0f, 0.25f, 2)};
    root.GetLayup().AddRange(plies.begin(), plies.end());
    auto *group = new PlyGroup(1);
    group->GetLayup().AddRange(plies.begin(), plies.end());
    root.GetLayup().Add(group);
    root.GetLayup().Add(new PlyGroupLink(2, 1, LinkAntisymmetry, 3));
    root.Renumber(1);
    root.SetRoot(&root);
    std::ostringstream out;
    LayupMaker::Dump(out, root);
    EXPECT_EQ(out.str(), "Layup with 3 entries:\n"
                         "PlySimple: 1 45 3 2 0.25\n"
                         "PlyGroup: 1 Group\n"
                         "  Layup with 1 entries:\n"
                         "  PlySimple: 2 45 3 2 0.25\n"
                         "(back in parent)\n"
                         "PlyLink: 2 Link; parent group is 1; Antisymmetric; count=1\n");
}

TEST(LayupMaker, FindStackingRuleExamples)
{
    struct Case
    {
        std::string stack;
        int stacking;
        std::string kept;
    };
    const Case cases[] = {
        {"AA", StackingFullSymmetric, "A"},       {"ABAB", StackingFullRepeat, "AB"},
        {"ABBA", StackingFullSymmetric, "AB"},    {"AAAA", StackingFullSymmetric, "AA"},
        {"AKA", StackingSymmetricWithCore, "AK"}, {"ABKAB", StackingRepeatWithCore, "ABK"},
        {"ABC", StackingSimple, "ABC"},           {"A", StackingSimple, "A"},
        {"", StackingSimple, ""},
    };
    for (const Case &c : cases) {
        Plies plies = Letters(c.stack);
        for (size_t i = 0; i < plies.size(); ++i)
            plies[i].SetId(static_cast<int>(i) + 1);
        Layup layup;
        layup.AddRange(plies.begin(), plies.end());
        LayupMaker::FindStackingRule(layup);
        EXPECT_EQ(layup.Stacking(), c.stacking) << c.stack;
        ASSERT_EQ(layup.Size(), static_cast<int>(c.kept.size())) << c.stack;
        for (int i = 0; i < layup.Size(); ++i)
            EXPECT_TRUE(layup[i]->IsEqual(plies[i])) << c.stack << " ply " << i;
    }

    Layup antisymmetric;
    const Plies pair = {Ply(1, 45.0f), Ply(1, -45.0f)};
    antisymmetric.AddRange(pair.begin(), pair.end());
    LogCapture log;
    LayupMaker::FindStackingRule(antisymmetric);
    EXPECT_EQ(antisymmetric.Stacking(), StackingSimple);
    EXPECT_EQ(antisymmetric.Size(), 2);
    EXPECT_TRUE(log.Has("LayupMaker::FindStackingRule: bad match"));
    EXPECT_TRUE(log.Has("pc1 has 1 plies, pc2 has 1\n"));
}

// Generic layups: distinct plies, so no half mirrors or repeats itself.
TEST(LayupMaker, FindStackingRuleGivesBackTheLayupOfAFullStack)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const int rule = 1 + trial % 4;
        const int size = std::uniform_int_distribution<int>(3, 12)(rng);
        Layup layup;
        for (int i = 0; i < size; ++i) {
            PlySimple ply = Ply(1 + i, 15.0f * std::uniform_int_distribution<int>(-6, 6)(rng));
            ply.SetId(i + 1);
            layup.Add(new PlySimple(ply));
        }
        layup.SetStacking(rule);
        Plies stack;
        PlyGroup(0, layup).CollectPliesExpanded(stack);
        Layup loaded;
        for (size_t i = 0; i < stack.size(); ++i)
            stack[i].SetId(static_cast<int>(i) + 1);
        loaded.AddRange(stack.begin(), stack.end());
        LayupMaker::FindStackingRule(loaded);
        EXPECT_TRUE(loaded == layup) << "trial " << trial << " rule " << rule;
    }
}

namespace {

// Ply kinds for random lists; some sit within the tolerance of others, some only
// differ in the sign of the angle, so that every comparison path is taken.
const std::vector<PlySimple> &Kinds()
{
    static const std::vector<PlySimple> kinds = {
        Ply(1, 0.0f),
        Ply(1, 45.0f),
        Ply(1, -45.0f),
        Ply(1, 90.0f),
        Ply(2, 45.0f, 0.25f),
        Ply(1, 45.00003f), // matches 45 and 45.00006, which do not match each other
        Ply(1, 45.00006f),
        Ply(1, -0.0f),
        Ply(1, 0.0f, 0.125f, 2),
        Ply(1, 0.0f, 0.1250001f),
        Ply(1, -45.00003f),
        Ply(1, 90.0f, 0.25f),
    };
    return kinds;
}

// A random list over a few kinds, often built from a block and its repeat or mirror.
Plies RandomList(std::mt19937 &rng, bool exactKinds)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    const int kindCount = exactKinds ? 5 : static_cast<int>(Kinds().size());
    std::vector<int> alphabet(pick(1, 4));
    for (int &kind : alphabet)
        kind = pick(0, kindCount - 1);
    auto randomPlies = [&](int count) {
        Plies plies;
        for (int i = 0; i < count; ++i)
            plies.push_back(Kinds()[alphabet[pick(0, static_cast<int>(alphabet.size()) - 1)]]);
        return plies;
    };
    Plies plies = randomPlies(pick(0, 10));
    while (pick(0, 2) != 0 && plies.size() < 40) {
        Plies block = randomPlies(pick(2, 8));
        Plies copy = block;
        const int how = pick(0, 2);
        if (how > 0)
            std::reverse(copy.begin(), copy.end());
        if (how == 2)
            for (PlySimple &ply : copy)
                ply.SetAngle(-ply.Angle());
        plies.insert(plies.end(), block.begin(), block.end());
        const Plies gap = randomPlies(pick(0, 4));
        plies.insert(plies.end(), gap.begin(), gap.end());
        plies.insert(plies.end(), copy.begin(), copy.end());
    }
    for (size_t i = 0; i < plies.size(); ++i)
        plies[i] = Ply(plies[i].Material(), plies[i].Angle(), plies[i].Thickness(), plies[i].Color(),
                       std::string("p") + std::to_string(i));
    return plies;
}

} // namespace

TEST(LayupMaker, SameStepsRunsAndTreeAsThePlainSearch)
{
    std::mt19937 rng(2024);
    int repeats = 0, mirrors = 0, antisymmetric = 0, shared = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const Plies plies = RandomList(rng, false);
        const Outcome fast = RunMaker(plies);
        const Outcome plain = RunPlain(plies);
        ASSERT_EQ(fast.progress, plain.progress) << "trial " << trial;
        ASSERT_TRUE(SameRuns(fast.runs, plain.runs)) << "trial " << trial;
        ASSERT_TRUE(fast.result.IsEqual(plain.result)) << "trial " << trial;
        ASSERT_TRUE(SameValues(Collect(fast.result), plies)) << "trial " << trial;
        for (size_t k = 0; k < fast.runs.size(); ++k) {
            const BlockRun &run = fast.runs[k];
            (run.antisymmetric ? antisymmetric : run.mirrored ? mirrors : repeats) += 1;
            shared += k > 0 && fast.runs[k - 1].firstStart == run.firstStart ? 1 : 0;
        }
    }
    // The lists must reach every kind of run, or the comparison proves little.
    EXPECT_GT(repeats, 500);
    EXPECT_GT(mirrors, 500);
    EXPECT_GT(antisymmetric, 200);
    EXPECT_GT(shared, 100);
}

TEST(LayupMaker, SameAsThePlainSearchOnLongerLists)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 12; ++trial) {
        Plies plies;
        const int n = 60 + 10 * trial;
        const int kinds = 1 + trial % 3;
        for (int i = 0; i < n; ++i)
            plies.push_back(Kinds()[std::uniform_int_distribution<int>(0, kinds)(rng)]);
        const Outcome fast = RunMaker(plies);
        const Outcome plain = RunPlain(plies);
        EXPECT_EQ(fast.progress, plain.progress) << "trial " << trial;
        EXPECT_TRUE(SameRuns(fast.runs, plain.runs)) << "trial " << trial;
        EXPECT_TRUE(fast.result.IsEqual(plain.result)) << "trial " << trial;
    }
}

TEST(LayupMaker, GroupingTheExpansionAgainGivesTheSameTree)
{
    std::mt19937 rng(5);
    for (int trial = 0; trial < 1000; ++trial) {
        const Plies plies = RandomList(rng, true);
        const Outcome first = RunMaker(plies);
        const Plies expanded = Collect(first.result);
        ASSERT_TRUE(SameValues(expanded, plies)) << "trial " << trial;
        for (size_t i = 0; i < expanded.size(); ++i)
            ASSERT_EQ(expanded[i].Id(), static_cast<int>(i) + 1) << "trial " << trial;
        const Outcome again = RunMaker(expanded);
        ASSERT_TRUE(again.result.IsEqual(first.result)) << "trial " << trial;
    }
}
