#include "script/laminatecommands.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "script/targetenv.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

using LamHost::HostLaminate;
using LamHost::HostPly;
using LamHost::StoreData;

// The demo catalogue with one laminate of these values as the current one.
StoreData WithLaminate(std::vector<HostPly> plies, int theory = 3, float plane = 0.0f, int units = 10)
{
    StoreData data = LamHost::DemoStore();
    HostLaminate &laminate = data.laminates[0];
    laminate.plies = std::move(plies);
    laminate.failureTheory = theory;
    laminate.referencePlane = plane;
    data.unitSystem = units;
    return data;
}

// Ten plies: [0/45], then the same reversed, repeated and antisymmetric, and two odd plies
// (one of a material the host does not know). No stacking rule is found in them.
StoreData TenPlies()
{
    std::vector<HostPly> plies;
    for (float angle : {0.0f, 45.0f, 45.0f, 0.0f, 0.0f, 45.0f, -45.0f, 0.0f})
        plies.push_back({0.125f, angle, 301, 2});
    plies.push_back({0.0123456f, 12.34f, 999, 3});
    plies.push_back({12.5f, -60.0f, 302, 4});
    return WithLaminate(plies, 5, 0.3f);
}

void SelectPlies(LaminateCommands &commands, std::initializer_list<int> numbers)
{
    for (int number : numbers)
        commands.SelectPly(number);
}

// Groups 1 to 4 over the first eight plies, 2 to 4 linked to 1, and group 5 over the last two.
void GroupAndLink(LaminateCommands &commands)
{
    for (int first : {1, 3, 5, 7}) {
        SelectPlies(commands, {first, first + 1});
        commands.Group();
    }
    for (int id : {1, 2, 3, 4})
        commands.SelectGroup(id);
    commands.Link();
    SelectPlies(commands, {9, 10});
    commands.Group();
}

std::string Listing(LaminateCommands &commands)
{
    commands.ListProperties();
    commands.ListLayup();
    return TakeLines();
}

TEST(LaminateCommandsTest, ListingsInEveryStackingRuleAndReferencePlane)
{
    const std::vector<HostPly> withCore = {{0.2f, 0, 301, 1}, {0.3f, 90, 302, 1}, {0.2f, 0, 301, 1}};
    const std::vector<HostPly> repeat = {{0.25f, 0, 303, 1}, {0.25f, 45, 303, 1}, {0.25f, 0, 303, 1},
                                         {0.25f, 45, 303, 1}};
    const std::vector<HostPly> repeatCore = {{0.1f, 30, 301, 1}, {0.1f, -30, 301, 1}, {0.15f, 60, 301, 1},
                                             {0.1f, 30, 301, 1}, {0.1f, -30, 301, 1}};
    struct Row
    {
        const char *name;
        StoreData data;
        std::function<void(HostLaminate &)> values;
        std::function<void(LaminateCommands &)> edit;
        const char *expected;
    };
    const Row rows[] = {
        {"full symmetric, middle", LamHost::DemoStore(), nullptr, nullptr, R"(Reference plane location:  Middle (-0.25 mm)
Failure theory: Tsai-Wu
Tsai-Wu interaction coefficient: -0.5
Allowable stress for bonding: 0 N/mm^2
Non-structural mass: 0 tonne/mm^2
Damping coefficient: 0
Reference temperature: 20 C
Total thickness 0.5000 mm with 4 plies
Full symmetric stacking
Ply   1:    0.125 mm @  0.0 of Carbon/epoxy UD 0.125
Ply   2:    0.125 mm @ 45.0 of Carbon/epoxy UD 0.125
Ply   3:    0.125 mm @-45.0 of Carbon/epoxy UD 0.125
Ply   4:    0.125 mm @ 90.0 of Carbon/epoxy UD 0.125
)"},
        {"symmetric with core, top, inches", WithLaminate(withCore, 1, -0.7f, 7),
         [](HostLaminate &l) {
             l.bondingStress = 1234567.0f;
             l.nonStructuralMass = 1.5e-9;
             l.damping = 0.02;
             l.referenceTemperature = 70.0;
         },
         nullptr, R"(Reference plane location:  Top (-0.5 in)
Failure theory: Hill
Allowable stress for bonding: 1.23457e+06 lbf/in^2
Non-structural mass: 1.5e-09 lbf-sec**2/in^3
Damping coefficient: 0.02
Reference temperature: 70 F
Total thickness 0.5000 in with 2 plies
Symmetric stacking with core
Ply   1:      0.2 in @  0.0 of Carbon/epoxy UD 0.125
Ply   2:      0.3 in @ 90.0 of Glass/epoxy UD 0.25
)"},
        {"full repeat, bottom, kelvin", WithLaminate(repeat, 4, 0.0f, 11),
         [](HostLaminate &l) { l.referenceTemperature = 295.15; }, nullptr,
         R"(Reference plane location:  Bottom (0 m)
Failure theory: maximum Stress
Allowable stress for bonding: 0 N/m^2
Non-structural mass: 0 kg/m^2
Damping coefficient: 0
Reference temperature: 295.15 K
Total thickness 0.5000 m with 2 plies
Full Repeat stacking
Ply   1:     0.25 m @  0.0 of Carbon/epoxy fabric 0.2
Ply   2:     0.25 m @ 45.0 of Carbon/epoxy fabric 0.2
)"},
        {"repeat with core, user-defined", WithLaminate(repeatCore, 6, 1.5f),
         [](HostLaminate &l) {
             l.bondingStress = 55.5f;
             l.nonStructuralMass = 2.5;
             l.damping = 0.125;
             l.referenceTemperature = -40.0;
         },
         nullptr, R"(Reference plane location: user-defined (1.5 mm)
Failure theory: User-Defined
Allowable stress for bonding: 55.5 N/mm^2
Non-structural mass: 2.5 tonne/mm^2
Damping coefficient: 0.125
Reference temperature: -40 C
Total thickness 0.3500 mm with 3 plies
Repeat stacking with core
Ply   1:      0.1 mm @ 30.0 of Carbon/epoxy UD 0.125
Ply   2:      0.1 mm @-30.0 of Carbon/epoxy UD 0.125
Ply   3:     0.15 mm @ 60.0 of Carbon/epoxy UD 0.125
)"},
        {"simple, groups and every link type", TenPlies(), nullptr, GroupAndLink,
         R"(Reference plane location: user-defined (0.3 mm)
Failure theory: maximum Strain
Allowable stress for bonding: 0 N/mm^2
Non-structural mass: 0 tonne/mm^2
Damping coefficient: 0
Reference temperature: 20 C
Total thickness 13.5123 mm with 10 plies
Simple stacking
Group 1 - Group (3 dependent linked groups)
  Ply   1:    0.125 mm @  0.0 of Carbon/epoxy UD 0.125
  Ply   2:    0.125 mm @ 45.0 of Carbon/epoxy UD 0.125
Linked group 2 - Link Symmetry of group 1
  Ply   3:    0.125 mm @ 45.0 of Carbon/epoxy UD 0.125
  Ply   4:    0.125 mm @  0.0 of Carbon/epoxy UD 0.125
Linked group 3 - Link Repeat of group 1
  Ply   5:    0.125 mm @  0.0 of Carbon/epoxy UD 0.125
  Ply   6:    0.125 mm @ 45.0 of Carbon/epoxy UD 0.125
Linked group 4 - Link Antisymmetry of group 1
  Ply   7:    0.125 mm @-45.0 of Carbon/epoxy UD 0.125
  Ply   8:    0.125 mm @  0.0 of Carbon/epoxy UD 0.125
Group 5 - Group
  Ply   9: 0.012346 mm @ 12.3 of 
  Ply  10:     12.5 mm @-60.0 of Glass/epoxy UD 0.25
)"},
    };
    for (const Row &row : rows) {
        StoreData data = row.data;
        if (row.values)
            row.values(data.laminates[0]);
        Request request(data);
        ASSERT_TRUE(request.Loaded()) << row.name;
        LaminateCommands commands(request.Context(), Collect);
        if (row.edit)
            row.edit(commands);
        CommaLocale comma;
        ASSERT_EQ(CommaLocale::Sample(), "1.234,5");
        EXPECT_EQ(Listing(commands), row.expected) << row.name;
    }
}

// Items that no edit makes: an unknown stacking rule, link type and kind of item.
class ForeignItem : public PlyBase
{
public:
    ForeignItem() : PlyBase(0, "foreign") {}
    PlyBase *Clone() const override { return new ForeignItem(*this); }
    void CollectPlies(std::vector<PlySimple> &) const override {}
    int CountPlies() const override { return 0; }
    int Renumber(int) override { return 0; }
    void Reverse() override {}
    void Mirror() override {}
    float Thickness() const override { return 0.0f; }
};

TEST(LaminateCommandsTest, ListingNamesWhatItDoesNotKnow)
{
    Request request(LamHost::DemoStore());
    PlyGroup root(0);
    root.GetLayup().SetStacking(7);
    auto *group = new PlyGroup(1);
    auto *ply = new PlySimple(1, "ply");
    ply->SetThickness(0.5f);
    ply->SetAngle(10.0f);
    ply->SetMaterial(301);
    group->GetLayup().Add(ply);
    group->GetLayup().Add(new ForeignItem);
    root.GetLayup().Add(group);
    root.GetLayup().Add(new PlyGroupLink(2, 1, 5, 0));
    request.Context()->GetLaminate().SetLayup(root);

    LaminateCommands commands(request.Context(), Collect);
    commands.ListLayup();
    EXPECT_EQ(TakeLines(), R"(Unknow stacking ???
Group 1 - Group (1 dependent linked groups)
  Ply   1:      0.5 mm @ 10.0 of Carbon/epoxy UD 0.125
Unknown ply???
Linked group 2 - Link UnknownType of group 1
  Ply   2:      0.5 mm @ 10.0 of Carbon/epoxy UD 0.125
Unknown ply???
)");
}

TEST(LaminateCommandsTest, ListingNamesTheMaterialsAScriptGave)
{
    Request request(LamHost::DemoStore(), 'c'); // a new laminate: no material met yet
    LaminateCommands commands(request.Context(), Collect);
    commands.AddPly(302, 0.25f, 0.0f, 1, false);
    commands.AddPly(301, 0.5f, 90.0f, 1, false);
    commands.AddPly(999, 0.1f, 30.0f, 1, false);
    commands.SelectPly(2);
    commands.ModifyPlyMaterial(303);
    commands.ListLayup();
    EXPECT_EQ(TakeLines(), R"(Simple stacking
Ply   1:     0.25 mm @  0.0 of Glass/epoxy UD 0.25
Ply   2:      0.5 mm @ 90.0 of Carbon/epoxy fabric 0.2
Ply   3:      0.1 mm @ 30.0 of 
)");
}

TEST(LaminateCommandsTest, ShowSelectionWritesFifteenIdsToALine)
{
    struct Row
    {
        std::vector<int> plies;
        std::vector<int> groups;
        const char *expected;
    };
    const Row rows[] = {
        {{}, {}, "0 plies selected:\n0 groups selected:\n"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {3, 1},
         "15 plies selected:\n    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15\n"
         "2 groups selected:\n    1    3\n"},
        {{1000, 12345, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {},
         "17 plies selected:\n    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15\n"
         " 100012345\n0 groups selected:\n"},
    };
    Request request(LamHost::DemoStore());
    LaminateCommands commands(request.Context(), Collect);
    CommaLocale comma;
    for (const Row &row : rows) {
        commands.UnselectAll();
        for (int number : row.plies)
            commands.SelectPly(number);
        for (int id : row.groups)
            commands.SelectGroup(id);
        commands.ShowSelection();
        EXPECT_EQ(TakeLines(), row.expected);
    }
}

TEST(LaminateCommandsTest, SelectAndCount)
{
    Request request(TenPlies());
    LaminateCommands commands(request.Context(), Collect);
    commands.SelectPly(4);
    commands.SelectPly(2);
    commands.SelectPly(4);
    EXPECT_EQ(commands.CurrentSelection().plies, (std::vector<int>{2, 4}));
    commands.SelectGroup(42); // not checked against the layup
    EXPECT_EQ(commands.CurrentSelection().Groups(), std::vector<int>{42});
    commands.UnselectAll();
    EXPECT_TRUE(commands.CurrentSelection().IsEmpty());

    GroupAndLink(commands);
    EXPECT_EQ(commands.CountGroups(), 5);
    EXPECT_EQ(commands.CountPlies(), 10);
    commands.SelectAll();
    EXPECT_EQ(commands.CurrentSelection().plies, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(commands.CurrentSelection().Groups(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(LaminateCommandsTest, CountPliesAppliesTheStackingRule)
{
    Request request(LamHost::DemoStore()); // four stored plies, full symmetric
    LaminateCommands commands(request.Context(), Collect);
    EXPECT_EQ(commands.CountPlies(), 8);
    const int expected[] = {4, 8, 7, 8, 7};
    for (int rule = 0; rule <= 4; ++rule) {
        commands.SetStackingSequence(rule);
        EXPECT_EQ(commands.CountPlies(), expected[rule]) << rule;
    }
    commands.SelectAll(); // stored plies only
    EXPECT_EQ(commands.CurrentSelection().plies, (std::vector<int>{1, 2, 3, 4}));
}

TEST(LaminateCommandsTest, SetReferencePlaneTakesMethodsOneToFour)
{
    struct Row
    {
        int method;
        float location;
        int stored; // method and location afterwards
        float storedLocation;
        const char *line;
    };
    const Row rows[] = {
        {1, 0.1f, Laminate::Top, 0.1f, "Reference plane location:  Top (-0.5 mm)"},
        {2, 0.2f, Laminate::Middle, 0.2f, "Reference plane location:  Middle (-0.25 mm)"},
        {4, 0.75f, Laminate::UserDefinedLocation, 0.75f, "Reference plane location: user-defined (0.75 mm)"},
        {3, 0.3f, Laminate::Bottom, 0.3f, "Reference plane location:  Bottom (0 mm)"},
        {0, 0.9f, Laminate::Bottom, 0.3f, "Reference plane location:  Bottom (0 mm)"},
        {5, 0.9f, Laminate::Bottom, 0.3f, "Reference plane location:  Bottom (0 mm)"},
    };
    Request request(LamHost::DemoStore());
    LaminateCommands commands(request.Context(), Collect);
    for (const Row &row : rows) {
        commands.SetReferencePlane(row.method, row.location);
        commands.ListProperties();
        EXPECT_EQ(CollectedLines().front(), row.line) << row.method;
        TakeLines();
        const Laminate &laminate = request.Context()->GetLaminate();
        EXPECT_EQ(laminate.ReferencePlaneMethod(), row.stored) << row.method;
        EXPECT_EQ(laminate.UserReferencePlaneLocation(), row.storedLocation) << row.method;
    }
}

TEST(LaminateCommandsTest, SetPropertiesThresholds)
{
    // Theory, Tsai-Wu coefficient, bonding stress, mass, damping, temperature.
    using Values = std::tuple<int, float, float, double, double, double>;
    struct Row
    {
        const char *theory;
        float f12, bonding, mass, damping, temperature;
        bool accepted;
        Values after;
    };
    const Values start = {3, -0.5f, 7.0f, 3.0, 0.5, 20.0};
    const auto theory = [](int code) { return Values(code, -0.5f, 7.0f, 3.0, 0.5, 20.0); };
    const Row rows[] = {
        {"", -1.001f, -0.001f, -0.001f, -0.001f, -999.0f, true, start},
        {"", -1.0f, 0.0f, 0.0f, 0.0f, -998.5f, true, {3, -1.0f, 0.0f, 0.0, 0.0, -998.5}},
        {"Hill", 2.0f, 1.0f, 2.0f, 3.0f, 4.0f, true, {1, 2.0f, 1.0f, 2.0, 3.0, 4.0}},
        {"Hoffman", -2, -1, -1, -1, -1000, true, theory(2)},
        {"Tsai-Wu", -2, -1, -1, -1, -1000, true, theory(3)},
        {"maximum Stress", -2, -1, -1, -1, -1000, true, theory(4)},
        {"maximum Strain", -2, -1, -1, -1, -1000, true, theory(5)},
        {"User-Defined", -2, -1, -1, -1, -1000, true, theory(6)},
        {"tsai-wu", 2.0f, 1.0f, 2.0f, 3.0f, 4.0f, false, start},
        {"Hill ", 2.0f, 1.0f, 2.0f, 3.0f, 4.0f, false, start},
    };
    for (const Row &row : rows) {
        StoreData data = LamHost::DemoStore();
        data.laminates[0].bondingStress = 7.0f;
        data.laminates[0].nonStructuralMass = 3.0;
        data.laminates[0].damping = 0.5;
        Request request(data);
        LaminateCommands commands(request.Context(), Collect);
        EXPECT_EQ(commands.SetProperties(row.theory, row.f12, row.bonding, row.mass, row.damping, row.temperature),
                  row.accepted)
            << row.theory;
        const Laminate &l = request.Context()->GetLaminate();
        EXPECT_EQ(Values(l.FailureTheory(), l.TsaiWuCoefficient(), l.BondingStress(), l.NonStructuralMass(),
                         l.Damping(), l.ReferenceTemperature()),
                  row.after)
            << row.theory;
    }
}

// Six plies, [0/45] and its reverse among them, without a stacking rule.
StoreData SixPlies()
{
    std::vector<HostPly> plies;
    for (float angle : {0.0f, 45.0f, 45.0f, 0.0f, 90.0f, 30.0f})
        plies.push_back({0.125f, angle, 301, 2});
    return WithLaminate(plies);
}

PlySimple FirstPly(AppContext *context)
{
    std::vector<PlySimple> plies;
    context->GetLaminate().RootGroup().CollectPlies(plies);
    return plies.front();
}

TEST(LaminateCommandsTest, SelectionLifetimeAcrossEdits)
{
    using Act = std::function<void(LaminateCommands &)>;
    const auto plies12 = [](LaminateCommands &c) { SelectPlies(c, {1, 2}); };
    const auto twoGroups = [](LaminateCommands &c) {
        for (int first : {1, 3}) {
            SelectPlies(c, {first, first + 1});
            c.Group();
        }
    };
    const auto linked = [twoGroups](LaminateCommands &c) {
        twoGroups(c);
        c.SelectGroup(1);
        c.SelectGroup(2);
        c.Link();
    };
    struct Row
    {
        const char *name;
        Act prepare; // ends with the selection the edit acts on
        Act edit;
        std::vector<int> plies; // selected afterwards
        int plyCount;
        int groupCount;
        std::function<bool(AppContext *)> changed;
    };
    const Row rows[] = {
        {"AddPly", plies12, [](LaminateCommands &c) { c.AddPly(301, 0.2f, 15.0f, 1, true); }, {}, 7, 0, nullptr},
        {"ModifyPlyMaterial", plies12, [](LaminateCommands &c) { c.ModifyPlyMaterial(302); }, {1, 2}, 6, 0,
         [](AppContext *c) { return FirstPly(c).Material() == 302; }},
        {"ModifyPlyThickness", plies12, [](LaminateCommands &c) { c.ModifyPlyThickness(0.5f); }, {1, 2}, 6, 0,
         [](AppContext *c) { return FirstPly(c).Thickness() == 0.5f; }},
        {"ModifyPlyAngle", plies12, [](LaminateCommands &c) { c.ModifyPlyAngle(60.0f); }, {1, 2}, 6, 0,
         [](AppContext *c) { return FirstPly(c).Angle() == 60.0f; }},
        {"ModifyPlyColor", plies12, [](LaminateCommands &c) { c.ModifyPlyColor(5); }, {1, 2}, 6, 0,
         [](AppContext *c) { return FirstPly(c).Color() == 5; }},
        {"Delete", plies12, [](LaminateCommands &c) { c.Delete(); }, {}, 4, 0, nullptr},
        {"Cut", plies12, [](LaminateCommands &c) { c.Cut(); }, {}, 4, 0, nullptr},
        {"Copy", plies12, [](LaminateCommands &c) { c.Copy(); }, {}, 6, 0, nullptr},
        {"Paste",
         [](LaminateCommands &c) {
             SelectPlies(c, {1, 2});
             c.Copy();
             c.SelectPly(3);
         },
         [](LaminateCommands &c) { c.Paste(false, false, true, 1); }, {5}, 8, 0, nullptr},
        {"Group", plies12, [](LaminateCommands &c) { c.Group(); }, {}, 6, 1, nullptr},
        {"Ungroup",
         [twoGroups](LaminateCommands &c) {
             twoGroups(c);
             c.SelectGroup(1);
         },
         [](LaminateCommands &c) { c.Ungroup(); }, {}, 6, 1, nullptr},
        {"Link", twoGroups, [](LaminateCommands &c) {
             c.SelectGroup(1);
             c.SelectGroup(2);
             c.Link();
         }, {}, 6, 2, [](AppContext *c) { return c->GetLaminate().RootGroup().CountLinksTo(1) == 1; }},
        {"Unlink",
         [linked](LaminateCommands &c) {
             linked(c);
             c.SelectGroup(2);
         },
         [](LaminateCommands &c) { c.Unlink(); }, {}, 6, 2,
         [](AppContext *c) { return c->GetLaminate().RootGroup().CountLinksTo(1) == 0; }},
        {"AutoGroup", plies12, [](LaminateCommands &c) { c.AutoGroup(); }, {}, 6, 2, nullptr},
    };
    for (const Row &row : rows) {
        Request request(SixPlies());
        LaminateCommands commands(request.Context(), Collect);
        row.prepare(commands);
        row.edit(commands);
        EXPECT_EQ(commands.CurrentSelection().plies, row.plies) << row.name;
        EXPECT_TRUE(commands.CurrentSelection().Groups().empty()) << row.name;
        EXPECT_EQ(commands.CountPlies(), row.plyCount) << row.name;
        EXPECT_EQ(commands.CountGroups(), row.groupCount) << row.name;
        if (row.changed) {
            EXPECT_TRUE(row.changed(request.Context())) << row.name;
        }
    }
}

} // namespace
