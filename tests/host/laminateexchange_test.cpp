// Loading the host's current laminate and saving it back, through the host stand-in.

#include "host/laminatemanager.h"

#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/randomtree.h"
#include "core/unitsystem.h"
#include "tools/lamhost/store.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace layuptest;

namespace {

using LamHost::Fault;
using LamHost::HostLaminate;
using LamHost::HostPly;
using LamHost::Slot;

// Collects what reaches the root logger while a test runs.
class LogCapture
{
public:
    LogCapture()
    {
        lines().clear();
        auto *logger = new Tuvo::Logger("LaminateExchangeTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild("LaminateExchangeTest"); }
    static std::vector<std::string> &lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }
    static bool Has(const std::string &line)
    {
        return std::find(lines().begin(), lines().end(), line) != lines().end();
    }
};

HostLaminate HostLam(std::vector<HostPly> plies, float referencePlane = 0.0f)
{
    HostLaminate lam;
    lam.name = "Wing skin";
    lam.hostNumber = 12;
    lam.failureTheory = 2;
    lam.hostOption = 7;
    lam.referencePlane = referencePlane;
    lam.bondingStress = 35.5f;
    lam.tsaiWuCoefficient = -0.25f;
    lam.nonStructuralMass = 0.0125;
    lam.damping = 0.02;
    lam.referenceTemperature = 21.5;
    lam.plies = std::move(plies);
    return lam;
}

// Plies labelled by material 1, 2, 3, ... with the given thicknesses.
std::vector<HostPly> Labelled(std::vector<int> labels, float thickness = 0.125f)
{
    std::vector<HostPly> plies;
    for (int label : labels)
        plies.push_back({thickness * static_cast<float>(label), 15.0f * static_cast<float>(label), label, label});
    return plies;
}

std::vector<int> SavedLabels(const LamHost::LaminateSave &save)
{
    std::vector<int> labels;
    for (const HostPly &ply : save.plies)
        labels.push_back(ply.material);
    return labels;
}

float HostSum(const std::vector<HostPly> &plies)
{
    float sum = 0.0f;
    for (const HostPly &ply : plies)
        sum += ply.thickness;
    return sum;
}

class LaminateExchangeTest : public ::testing::Test
{
protected:
    LaminateExchangeTest() { store.Activate(); }

    void Serve(const HostLaminate &lam)
    {
        store.Data().laminates = {lam};
        store.Data().current = 0;
    }
    LaminateManager &Manager()
    {
        const lamCallbacksImp *t = LamHost::CallbackTable();
        manager = std::make_unique<LaminateManager>(t->GetCurrentLaminate, t->GetCurrentLaminatePlies,
                                                    t->SaveLaminate, nullptr, units);
        return *manager;
    }
    // Loads what the store serves into a new manager; fails the test on a failed load.
    LaminateManager &Loaded()
    {
        LaminateManager &m = Manager();
        std::string error;
        EXPECT_TRUE(m.LoadCurrentLaminate(error)) << error;
        return m;
    }
    const LamHost::LaminateSave &Saved()
    {
        std::string error;
        EXPECT_TRUE(manager->SaveLaminate(error)) << error;
        return store.LaminateSaves().back();
    }
    const Laminate &Current() const { return manager->CurrentLaminate(); }
    bool IsDefault() const
    {
        Laminate fresh;
        fresh.Reset(units);
        return manager->CurrentLaminate().IsEqual(fresh) && manager->CurrentLaminate().Name() == "Laminate";
    }

    LamHost::Store store;
    LogCapture log;
    UnitSystem units;
    std::unique_ptr<LaminateManager> manager;
};

// A laminate whose stack is a random first part, mirrored or repeated after an
// optional core, or a random list; its location one the module infers or not.
HostLaminate RandomLaminate(std::mt19937 &random)
{
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto real = [&random](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    auto randomPly = [&] { return HostPly{real(0.01f, 2.0f), real(-90.0f, 90.0f), pick(1, 500), pick(0, 20)}; };
    std::vector<HostPly> part;
    for (int n = pick(0, 12); n > 0; --n)
        part.push_back(randomPly());
    std::vector<HostPly> plies = part;
    const int shape = pick(0, 4); // a stacking rule, 0 for a random list
    if (shape != StackingSimple && !part.empty()) {
        if (shape == StackingSymmetricWithCore || shape == StackingRepeatWithCore)
            plies.push_back(randomPly());
        if (shape == StackingFullSymmetric || shape == StackingSymmetricWithCore)
            plies.insert(plies.end(), part.rbegin(), part.rend());
        else
            plies.insert(plies.end(), part.begin(), part.end());
    }
    const float sum = HostSum(plies);
    const float locations[] = {0.0f, -sum, -0.5f * sum, real(-5.0f, 5.0f)};
    HostLaminate lam = HostLam(plies, locations[pick(0, 3)]);
    lam.failureTheory = pick(1, 6);
    lam.hostOption = pick(-1000, 1000);
    lam.bondingStress = real(0.0f, 100.0f);
    lam.tsaiWuCoefficient = real(-1.0f, 1.0f);
    lam.nonStructuralMass = std::uniform_real_distribution<double>(0.0, 1.0)(random);
    lam.damping = std::uniform_real_distribution<double>(0.0, 0.1)(random);
    lam.referenceTemperature = std::uniform_real_distribution<double>(-50.0, 400.0)(random);
    return lam;
}

TEST_F(LaminateExchangeTest, LoadThenSaveSendsBackTheSameBits)
{
    std::vector<HostLaminate> cases = {LamHost::DemoStore().laminates[0], HostLam(Labelled({1, 2, 3, 2, 1}), -1.125f),
                                       HostLam(Labelled({1, 2, 3, 1, 2}), -0.5625f), HostLam({}, 0.75f),
                                       HostLam(Labelled({4, 4}), 0.0f)};
    std::mt19937 random(20240611);
    for (int i = 0; i < 200; ++i)
        cases.push_back(RandomLaminate(random));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Serve(cases[i]);
        Loaded();
        ASSERT_FALSE(Current().IsModified());
        const LamHost::LaminateSave &save = Saved();
        EXPECT_EQ(save.saveMode, lamSaveModify);
        EXPECT_EQ(save.tsaiWuType, 1); // never loaded: the laminate's own
        HostLaminate expected = cases[i];
        expected.tsaiWuType = save.tsaiWuType;
        // Compared bit for bit, -0 apart from 0.
        EXPECT_TRUE(store.Data().laminates[0] == expected);
        EXPECT_EQ(save.plyCount, static_cast<int>(cases[i].plies.size()));
    }
}

TEST_F(LaminateExchangeTest, LoadsEveryValueTheHostGives)
{
    Serve(HostLam(Labelled({1, 2}), 0.3f));
    store.Data().laminates[0].name = std::string(100, 'n');
    store.SetFault(Slot::GetCurrentLaminate, Fault::NoNul());
    const Laminate &lam = Loaded().CurrentLaminate();
    EXPECT_EQ(lam.Name(), std::string(lamTextBufferSize, 'n')); // cut at the buffer's end
    EXPECT_EQ(lam.Id(), 1);
    EXPECT_EQ(lam.HostNumber(), 12);
    EXPECT_EQ(lam.HostOption(), 7);
    EXPECT_EQ(lam.FailureTheory(), 2);
    EXPECT_EQ(lam.ReferencePlaneMethod(), Laminate::UserDefinedLocation);
    EXPECT_EQ(lam.UserReferencePlaneLocation(), 0.3f);
    EXPECT_EQ(lam.BondingStress(), 35.5f);
    EXPECT_EQ(lam.TsaiWuCoefficient(), -0.25f);
    EXPECT_EQ(lam.NonStructuralMass(), 0.0125);
    EXPECT_EQ(lam.Damping(), 0.02);
    EXPECT_EQ(lam.ReferenceTemperature(), 21.5);
    EXPECT_FALSE(lam.IsModified());
    EXPECT_EQ(manager->SaveMode(), lamSaveModify);
    std::vector<PlySimple> plies = Plies(lam.RootGroup());
    ASSERT_EQ(plies.size(), 2u);
    EXPECT_EQ(plies[1].Id(), 2);
    EXPECT_EQ(plies[1].Name(), "ply name");
    EXPECT_EQ(plies[1].Thickness(), 0.25f);
    EXPECT_EQ(plies[1].Angle(), 30.0f);
    EXPECT_EQ(plies[1].Material(), 2);
    EXPECT_EQ(plies[1].Color(), 2);
    EXPECT_TRUE(LogCapture::Has("Getting current laminate from database"));
    EXPECT_TRUE(LogCapture::Has("Success getting current laminate with 2 plies!"));
}

TEST_F(LaminateExchangeTest, FailureTheoryOutsideOneToSixLoadsAsTsaiWu)
{
    const struct
    {
        int host;
        int loaded;
    } cases[] = {{0, 3}, {7, 3}, {-1, 3}, {1, 1}, {4, 4}, {6, 6}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.host);
        HostLaminate lam = HostLam(Labelled({1}));
        lam.failureTheory = c.host;
        Serve(lam);
        EXPECT_EQ(Loaded().CurrentLaminate().FailureTheory(), c.loaded);
        EXPECT_EQ(Saved().failureTheory, c.loaded);
    }
}

// Subtracting, then adding, 180 as long as it takes.
float FoldBySteps(float angle)
{
    while (angle > 90.0f)
        angle -= 180.0f;
    while (angle < -90.0f)
        angle += 180.0f;
    return angle;
}

TEST_F(LaminateExchangeTest, AnglesFoldIntoPlusMinusNinety)
{
    const struct
    {
        float host;
        float loaded;
    } cases[] = {{270, 90},     {-135, 45},  {90, 90},     {-90, -90}, {450, 90}, {-270, -90}, {180, 0},
                 {-180, 0},     {91, -89},   {-91, 89},    {360, 0},   {0, 0},    {89.5f, 89.5f},
                 {1e9f, -80.0f}, {-1e9f, 80.0f}};
    std::vector<HostPly> plies;
    for (const auto &c : cases)
        plies.push_back({0.125f, c.host, 1, 1});
    // Distinct neighbours keep the list from looking stacked.
    for (size_t i = 0; i < plies.size(); ++i)
        plies[i].material = static_cast<int>(i) + 1;
    Serve(HostLam(plies));
    const std::vector<PlySimple> loaded = Plies(Loaded().CurrentLaminate().RootGroup());
    ASSERT_EQ(loaded.size(), std::size(cases));
    for (size_t i = 0; i < loaded.size(); ++i)
        EXPECT_EQ(loaded[i].Angle(), cases[i].loaded) << cases[i].host;

    // Ordinary values fold exactly as stepping would; huge ones end too.
    std::mt19937 random(7);
    plies.clear();
    for (int i = 0; i < 2000; ++i) {
        const float angle = i < 1000 ? std::uniform_real_distribution<float>(-2000.0f, 2000.0f)(random)
                                     : static_cast<float>(i - 1500) * 0.5f;
        plies.push_back({0.125f, angle, i, 1});
    }
    plies.push_back({0.125f, std::numeric_limits<float>::max(), 1, 1});
    plies.push_back({0.125f, -std::numeric_limits<float>::max(), 2, 1});
    Serve(HostLam(plies));
    const std::vector<PlySimple> folded = Plies(Loaded().CurrentLaminate().RootGroup());
    ASSERT_EQ(folded.size(), plies.size());
    for (size_t i = 0; i < 2000; ++i)
        ASSERT_EQ(folded[i].Angle(), FoldBySteps(plies[i].angle)) << plies[i].angle;
    for (size_t i = 2000; i < folded.size(); ++i) {
        EXPECT_GE(folded[i].Angle(), -90.0f);
        EXPECT_LE(folded[i].Angle(), 90.0f);
    }
}

TEST_F(LaminateExchangeTest, ReferencePlaneMethodIsInferredFromTheStackedThickness)
{
    // 0.125 + 0.25 + 0.375: 0.75 flat; the symmetric stack of 1, 2, 1 is 0.5.
    const std::vector<HostPly> flat = Labelled({1, 2, 3});
    const std::vector<HostPly> symmetric = Labelled({1, 2, 2, 1});
    const struct
    {
        std::vector<HostPly> plies;
        float location;
        int method;
    } cases[] = {
        {flat, -0.75f, Laminate::Top},
        {flat, -0.75f * (1.0f + 4e-7f), Laminate::Top},
        {flat, 0.0f, Laminate::Bottom},
        {flat, -0.0f, Laminate::Bottom},
        {flat, 5e-11f, Laminate::Bottom},
        {flat, -0.375f, Laminate::Middle},
        {flat, -0.3f, Laminate::UserDefinedLocation},
        {flat, 0.75f, Laminate::UserDefinedLocation},
        {flat, -0.75f * (1.0f + 4e-6f), Laminate::UserDefinedLocation},
        {flat, std::numeric_limits<float>::quiet_NaN(), Laminate::UserDefinedLocation},
        {flat, -std::numeric_limits<float>::infinity(), Laminate::UserDefinedLocation},
        {symmetric, -0.75f, Laminate::Top},
        {symmetric, -0.375f, Laminate::Middle},
        {{}, 0.0f, Laminate::UserDefinedLocation},
        {{}, -0.5f, Laminate::UserDefinedLocation},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Serve(HostLam(cases[i].plies, cases[i].location));
        store.ClearRecords();
        const Laminate &lam = Loaded().CurrentLaminate();
        EXPECT_EQ(lam.ReferencePlaneMethod(), cases[i].method);
        // The location itself stays as the host gave it.
        const float kept = lam.UserReferencePlaneLocation();
        EXPECT_TRUE(std::memcmp(&kept, &cases[i].location, sizeof kept) == 0) << kept;
        EXPECT_EQ(store.Calls(Slot::GetCurrentLaminatePlies), cases[i].plies.empty() ? 0 : 1);
    }
}

TEST_F(LaminateExchangeTest, SavesTheStackThatTheStackingRuleExpands)
{
    const struct
    {
        int rule;
        std::vector<int> saved;
    } cases[] = {{StackingSimple, {1, 2, 3}},
                 {StackingFullSymmetric, {1, 2, 3, 3, 2, 1}},
                 {StackingSymmetricWithCore, {1, 2, 3, 2, 1}},
                 {StackingFullRepeat, {1, 2, 3, 1, 2, 3}},
                 {StackingRepeatWithCore, {1, 2, 3, 1, 2}},
                 {9, {1, 2, 3}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rule);
        Manager().CurrentLaminate().SetLayup(Root({Ply(1, 0.5f), Ply(2, 0.25f), Ply(3, 0.125f)}, c.rule));
        manager->CurrentLaminate().SetReferencePlane(Laminate::Top, 0.0f);
        const LamHost::LaminateSave &save = Saved();
        EXPECT_EQ(SavedLabels(save), c.saved);
        EXPECT_EQ(save.plyCount, static_cast<int>(c.saved.size()));
        EXPECT_EQ(save.referencePlane, -HostSum(save.plies));
    }
}

TEST_F(LaminateExchangeTest, SavedStackIsTheRootThenItsReversedOrRepeatedPlies)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        RandomTree tree(seed, true);
        PlyGroup root = tree.Build();
        root.GetLayup().SetStacking(static_cast<int>(seed % 5));
        Manager().CurrentLaminate().SetLayup(root);
        const PlyGroup &installed = manager->CurrentLaminate().RootGroup();

        // The stack as described: the plies in layup order, then by the rule
        // those of a reversed copy, or a copy, less one ply for a core.
        std::vector<PlySimple> expected = Collect(installed);
        std::vector<PlySimple> second;
        const int rule = installed.GetLayup().Stacking();
        if (rule == StackingFullSymmetric || rule == StackingSymmetricWithCore) {
            PlyGroup reversed = installed;
            reversed.Reverse();
            second = Collect(reversed);
            if (rule == StackingSymmetricWithCore && !second.empty())
                second.erase(second.begin());
        } else if (rule == StackingFullRepeat || rule == StackingRepeatWithCore) {
            second = expected;
            if (rule == StackingRepeatWithCore && !second.empty())
                second.pop_back();
        }
        expected.insert(expected.end(), second.begin(), second.end());

        const LamHost::LaminateSave &save = Saved();
        ASSERT_EQ(save.plies.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            // A saved 0 is never -0.
            const float angle = expected[i].Angle() == 0.0f ? 0.0f : expected[i].Angle();
            ASSERT_TRUE(save.plies[i] == (HostPly{expected[i].Thickness(), angle, expected[i].Material(),
                                                  expected[i].Color()}))
                << "ply " << i;
        }
    }
}

TEST_F(LaminateExchangeTest, SaveModeIsCreateUntilALoadSucceeds)
{
    LaminateManager &m = Manager();
    EXPECT_EQ(m.SaveMode(), lamSaveCreate);
    Serve(HostLam(Labelled({1})));
    store.SetFault(Slot::GetCurrentLaminate, Fault::Fail(1));
    std::string error;
    EXPECT_FALSE(m.LoadCurrentLaminate(error));
    EXPECT_EQ(m.SaveMode(), lamSaveCreate);
    store.ClearFaults();

    // Every save of a creating request is a creation; the store adds one laminate.
    store.BeginRequest();
    m.CurrentLaminate().SetLayup(Root({Ply(5)}));
    EXPECT_EQ(Saved().saveMode, lamSaveCreate);
    m.CurrentLaminate().SetLayup(Root({Ply(5), Ply(6)}));
    EXPECT_EQ(Saved().saveMode, lamSaveCreate);
    EXPECT_EQ(m.SaveMode(), lamSaveCreate);
    ASSERT_EQ(store.Data().laminates.size(), 2u);
    EXPECT_EQ(store.Data().laminates[1].plies.size(), 2u);

    // The added laminate is now the host's current one: loading it modifies it.
    EXPECT_TRUE(m.LoadCurrentLaminate(error)) << error;
    EXPECT_EQ(Saved().saveMode, lamSaveModify);
    EXPECT_EQ(store.Data().laminates.size(), 2u);
}

TEST_F(LaminateExchangeTest, SaveMarksTheLaminateSaved)
{
    LaminateManager &m = Manager();
    m.CurrentLaminate().SetLayup(Root({Ply(5)}));
    ASSERT_TRUE(m.CurrentLaminate().IsModified());
    Saved();
    EXPECT_FALSE(m.CurrentLaminate().IsModified());
    EXPECT_FALSE(m.Reset()); // current is the saved laminate
    EXPECT_EQ(LogCapture::lines().front(), "Begin SaveLaminate...");
    EXPECT_EQ(LogCapture::lines().back(), "End SaveLaminate, success.");
}

TEST_F(LaminateExchangeTest, ALaminateWithoutPliesSavesValidArrays)
{
    static bool arraysGiven = false;
    static int count = -1;
    const lamSaveLaminateFn save = [](int, int, int, float, float, int, float, double, double, double, int n,
                                      float *t, float *a, int *m, int *c) {
        arraysGiven = t && a && m && c;
        count = n;
        return 0;
    };
    LaminateManager m(nullptr, nullptr, save, nullptr, units);
    std::string error;
    EXPECT_TRUE(m.SaveLaminate(error));
    EXPECT_TRUE(arraysGiven);
    EXPECT_EQ(count, 0);
}

TEST_F(LaminateExchangeTest, SaveFailuresReportTheirTextAndChangeNothing)
{
    const struct
    {
        int rc;
        const char *error;
        const char *line;
    } cases[] = {{999, "Error saving laminate, wrong Tsai-Wu interaction type?",
                  "Error saving laminate using callback, rc= 999"},
                 {1, "Error saving current laminate", "Error saving laminate using callback, rc=   1"},
                 {-12345, "Error saving current laminate", "Error saving laminate using callback, rc=-12345"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rc);
        LaminateManager &m = Manager();
        m.CurrentLaminate().SetLayup(Root({Ply(5)}));
        store.SetFault(Slot::SaveLaminate, Fault::Fail(c.rc));
        LogCapture::lines().clear();
        std::string error;
        EXPECT_FALSE(m.SaveLaminate(error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(LogCapture::lines(), (std::vector<std::string>{"Begin SaveLaminate...", c.line}));
        EXPECT_TRUE(m.CurrentLaminate().IsModified());
        EXPECT_TRUE(m.Reset()); // saved is still the default laminate
    }

    // A host without the function refuses every save.
    LaminateManager m(nullptr, nullptr, nullptr, nullptr, units);
    std::string error;
    EXPECT_FALSE(m.SaveLaminate(error));
    EXPECT_EQ(error, "Error saving current laminate");
}

TEST_F(LaminateExchangeTest, LoadFailuresKeepTheDefaultLaminate)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char *name;
        std::vector<HostPly> plies;
        Slot failing;
        int rc;
        const char *error;
        const char *line; // empty: none after the first
        int pliesCalls;
    } cases[] = {
        {"header refused", Labelled({1, 2}), Slot::GetCurrentLaminate, 7, "Error loading current laminate",
         "GetCurrentLaminate returns    7", 0},
        {"plies refused", Labelled({1, 2}), Slot::GetCurrentLaminatePlies, 3, "Error loading current laminate plies",
         "GetCurrentLaminatePlies returns 3", 1},
        {"infinite thickness", {{inf, 0.0f, 1, 1}}, Slot::Unused00, 0, "Error loading current laminate plies", "", 1},
        {"NaN thickness", {{0.1f, 0.0f, 1, 1}, {nan, 0.0f, 1, 1}}, Slot::Unused00, 0,
         "Error loading current laminate plies", "", 1},
        {"NaN angle", {{0.1f, nan, 1, 1}}, Slot::Unused00, 0, "Error loading current laminate plies", "", 1},
        {"infinite angle", {{0.1f, -inf, 1, 1}}, Slot::Unused00, 0, "Error loading current laminate plies", "", 1},
        {"too many plies", std::vector<HostPly>(LaminateManager::kMaxLoadedPlies + 1, {0.1f, 0.0f, 1, 1}),
         Slot::Unused00, 0, "Error loading current laminate", "GetCurrentLaminate: 100001 plies, more than 100000", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Serve(HostLam(c.plies, -0.1f));
        store.ClearRecords();
        store.ClearFaults();
        if (c.failing != Slot::Unused00)
            store.SetFault(c.failing, Fault::Fail(c.rc));
        LogCapture::lines().clear();
        LaminateManager &m = Manager();
        std::string error;
        EXPECT_FALSE(m.LoadCurrentLaminate(error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(IsDefault());
        EXPECT_EQ(m.SaveMode(), lamSaveCreate);
        EXPECT_EQ(store.Calls(Slot::GetCurrentLaminatePlies), c.pliesCalls);
        ASSERT_FALSE(LogCapture::lines().empty());
        EXPECT_EQ(LogCapture::lines().front(), "Getting current laminate from database");
        if (*c.line) {
            EXPECT_EQ(LogCapture::lines().back(), c.line);
        }
    }

    // No current laminate, or no host function at all.
    store.ClearFaults();
    store.Data().current = -1;
    std::string error;
    EXPECT_FALSE(Manager().LoadCurrentLaminate(error));
    EXPECT_EQ(error, "Error loading current laminate");
    LaminateManager m(nullptr, nullptr, nullptr, nullptr, units);
    EXPECT_FALSE(m.LoadCurrentLaminate(error));
    EXPECT_EQ(error, "Error loading current laminate");
}

TEST_F(LaminateExchangeTest, TheLargestPlyCountLoads)
{
    Serve(HostLam(std::vector<HostPly>(LaminateManager::kMaxLoadedPlies, {0.1f, 0.0f, 1, 1})));
    const Laminate &lam = Loaded().CurrentLaminate();
    EXPECT_EQ(lam.RootGroup().CountPliesExpanded(), LaminateManager::kMaxLoadedPlies);
}

// A stacking rule whose full stack the next request could not load is refused.
TEST_F(LaminateExchangeTest, StackingRuleKeepsTheFullStackLoadable)
{
    const struct
    {
        int stored;
        int rule;
        const char *refusal; // the log line; null when the rule is taken
    } cases[] = {{50000, StackingFullSymmetric, nullptr},
                 {50001, StackingFullRepeat, "SetStacking: the full stack would have 100002 plies, more than 100000"},
                 {50000, StackingRepeatWithCore, nullptr},
                 {50001, StackingSymmetricWithCore,
                  "SetStacking: the full stack would have 100001 plies, more than 100000"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + " plies, rule " + std::to_string(c.rule));
        PlyGroup root(0);
        for (int i = 0; i < c.stored; ++i)
            root.GetLayup().Add(Ply(1));
        Manager().CurrentLaminate().SetLayup(root);
        LogCapture::lines().clear();
        EXPECT_EQ(manager->SetStacking(c.rule), !c.refusal);
        EXPECT_EQ(Current().RootGroup().GetLayup().Stacking(), c.refusal ? StackingSimple : c.rule);
        if (c.refusal) {
            EXPECT_EQ(LogCapture::lines(), std::vector<std::string>{c.refusal});
        }
    }

    // 99,999 plies that no rule describes: refused, saved as they are, and loaded again.
    std::vector<HostPly> plies(99999, {0.1f, 0.0f, 1, 1});
    plies[0].material = 2;
    Serve(HostLam(plies));
    EXPECT_FALSE(Loaded().SetStacking(StackingFullSymmetric));
    EXPECT_EQ(Current().RootGroup().GetLayup().Stacking(), StackingSimple);
    EXPECT_EQ(Saved().plyCount, 99999);
    EXPECT_EQ(Loaded().CurrentLaminate().RootGroup().CountPliesExpanded(), 99999);

    // The cap on edits logs its refusal too.
    LayupManager &layup = *manager->GetLayupManager();
    EXPECT_TRUE(layup.AddPly(Selection(), 1, 0.1f, 0.0f, 1));
    LogCapture::lines().clear();
    EXPECT_FALSE(layup.AddPly(Selection(), 1, 0.1f, 0.0f, 1));
    EXPECT_TRUE(LogCapture::Has("Paste: too many plies"));
}

TEST_F(LaminateExchangeTest, MirroredZeroAngleIsSavedAsZero)
{
    LayupManager &layup = *Manager().GetLayupManager();
    manager->CurrentLaminate().SetLayup(Root({Ply(1, 0.25f, 0.0f), Ply(2, 0.25f, 45.0f)}));
    Selection selection;
    selection.plies = {1, 2};
    ASSERT_TRUE(layup.Copy(selection));
    layup.SetInsertBefore(false);
    ASSERT_TRUE(layup.Paste(selection, true, true, 1)); // antisymmetry: reversed, angles negated
    const std::vector<HostPly> &saved = Saved().plies;
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[2].angle, -45.0f);
    EXPECT_EQ(saved[3].angle, 0.0f);
    EXPECT_FALSE(std::signbit(saved[3].angle));
}

TEST_F(LaminateExchangeTest, AFailedLoadKeepsWhatTheManagerHeld)
{
    Serve(HostLam(Labelled({1, 2, 3})));
    LaminateManager &m = Loaded();
    m.GetLayupManager()->SetInsertBefore(false);
    ASSERT_TRUE(m.GetLayupManager()->AddPly(Selection(), 9, 0.5f, 0.0f, 1));
    const Laminate edited = m.CurrentLaminate();
    store.SetFault(Slot::GetCurrentLaminatePlies, Fault::Fail(2));
    std::string error;
    EXPECT_FALSE(m.LoadCurrentLaminate(error));
    EXPECT_TRUE(m.CurrentLaminate().IsEqual(edited));
    EXPECT_EQ(m.SaveMode(), lamSaveModify);
    std::string name;
    EXPECT_TRUE(m.LastCommandName(name));
}

TEST_F(LaminateExchangeTest, ALoadStartsAFreshHistory)
{
    Serve(HostLam(Labelled({1, 2, 1})));
    LaminateManager &m = Manager();
    m.GetLayupManager()->SetInsertBefore(false);
    ASSERT_TRUE(m.GetLayupManager()->AddPly(Selection(), 9, 0.5f, 0.0f, 1));
    LayupClipboard clipboard;
    clipboard.items.Add(Ply(4));
    m.GetLayupManager()->SetClipboard(clipboard);
    m.BeginEdit();
    std::string error;
    ASSERT_TRUE(m.LoadCurrentLaminate(error)) << error;

    EXPECT_EQ(Describe(m.CurrentLaminate().RootGroup().GetLayup()), "1 2");
    EXPECT_EQ(m.CurrentLaminate().RootGroup().GetLayup().Stacking(), StackingSymmetricWithCore);
    EXPECT_EQ(m.GetLayupManager()->GetClipboard().items.Size(), 0);
    std::string name = "stale";
    EXPECT_FALSE(m.LastCommandName(name));
    EXPECT_FALSE(m.Undo(error));
    EXPECT_EQ(error, "undo stack is empty");
    EXPECT_FALSE(m.Reset());
    // The checkpoint of the replaced laminate is gone with it.
    m.CancelEdit();
    EXPECT_EQ(Describe(m.CurrentLaminate().RootGroup().GetLayup()), "1 2");
}

} // namespace
