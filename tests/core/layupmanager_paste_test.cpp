// The insertion routine shared by adding a ply and pasting.

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupmanager_p.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

const char *const kSample = "1 G5[2 3] 4 L6>5r 7";

// Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7; largest group id 6.
PlyGroup SampleRoot()
{
    return Root({Ply(1), Group(5, {Ply(2, 0.25f, 45.0f), Ply(3, 0.25f, -45.0f)}), Ply(4), Link(6, 5, 0), Ply(7)});
}

LayupClipboard Clipboard(std::initializer_list<PlyBase *> items, bool filled)
{
    LayupClipboard clipboard;
    for (PlyBase *item : items)
        clipboard.items.Add(item);
    clipboard.filled = filled;
    return clipboard;
}

// Two plies at 10 and 20 degrees.
LayupClipboard TwoPlies()
{
    return Clipboard({Ply(8, 0.25f, 10.0f), Ply(9, 0.25f, 20.0f)}, false);
}

// What Copy leaves for group 5, unchanged.
LayupClipboard CopiedGroup(bool filled = true)
{
    return Clipboard({Group(5, {Ply(2, 0.25f, 45.0f), Ply(3, 0.25f, -45.0f)})}, filled);
}

struct PasteCase
{
    const char *name;
    LayupClipboard (*clipboard)();
    PlyInserter inserter;
    bool reversed;
    bool negated;
    int count;
    const char *layout;
    const char *flat; // materials with links expanded; null: not checked
};

const PasteCase kCases[] = {
    {"plies on top", TwoPlies, {0, 6, false}, false, false, 1, "1 G5[2 3] 4 L6>5r 7 8 9", nullptr},
    {"plies repeated at the bottom", TwoPlies, {0, 1, true}, false, false, 3, "8 9 8 9 8 9 1 G5[2 3] 4 L6>5r 7",
     nullptr},
    {"plies reversed twice", TwoPlies, {0, 3, false}, true, false, 2, "1 G5[2 3] 9 8 9 8 4 L6>5r 7", nullptr},
    {"count 0 inserts nothing", TwoPlies, {0, 3, false}, false, false, 0, kSample, nullptr},
    {"negative count inserts nothing", TwoPlies, {0, 3, false}, false, false, -2, kSample, nullptr},
    {"plies into a group", TwoPlies, {5, 2, true}, false, false, 1, "1 G5[2 8 9 3] 4 L6>5r 7",
     "1 2 8 9 3 4 2 8 9 3 7"},
    {"copied group becomes a repeat link", [] { return CopiedGroup(); }, {0, 3, false}, false, false, 1,
     "1 G5[2 3] L7>5r 4 L6>5r 7", "1 2 3 2 3 4 2 3 7"},
    {"reversed: symmetry link", [] { return CopiedGroup(); }, {0, 3, false}, true, false, 1,
     "1 G5[2 3] L7>5s 4 L6>5r 7", "1 2 3 3 2 4 2 3 7"},
    {"reversed and negated: antisymmetry link", [] { return CopiedGroup(); }, {0, 3, false}, true, true, 1,
     "1 G5[2 3] L7>5a 4 L6>5r 7", "1 2 3 3 2 4 2 3 7"},
    {"negated alone: no link type fits", [] { return CopiedGroup(); }, {0, 3, false}, false, true, 1,
     "1 G5[2 3] G7[2 3] 4 L6>5r 7", nullptr},
    {"a link per repetition", [] { return CopiedGroup(); }, {0, 6, false}, false, false, 3,
     "1 G5[2 3] 4 L6>5r 7 L7>5r L8>5r L9>5r", nullptr},
    {"cut group stays a group", [] { return CopiedGroup(false); }, {0, 1, true}, false, false, 1,
     "G7[2 3] 1 G5[2 3] 4 L6>5r 7", nullptr},
    {"original since edited", [] { return Clipboard({Group(5, {Ply(2), Ply(3), Ply(8)})}, true); },
     {0, 1, true}, false, false, 1, "G7[2 3 8] 1 G5[2 3] 4 L6>5r 7", nullptr},
    {"original with another angle", [] { return Clipboard({Group(5, {Ply(2, 0.25f, 45.0f), Ply(3)})}, true); },
     {0, 1, true}, false, false, 1, "G7[2 3] 1 G5[2 3] 4 L6>5r 7", nullptr},
    {"original gone", [] { return Clipboard({Group(12, {Ply(2), Ply(3)})}, true); }, {0, 1, true}, false, false, 1,
     "G7[2 3] 1 G5[2 3] 4 L6>5r 7", nullptr},
    {"ids follow items and repetitions",
     [] { return Clipboard({Group(5, {Ply(2, 0.25f, 45.0f), Ply(3, 0.25f, -45.0f)}), Ply(8), Group(12, {Ply(9)})}, true); },
     {0, 6, false}, true, false, 2, "1 G5[2 3] 4 L6>5r 7 G7[9] 8 L8>5s G9[9] 8 L10>5s", nullptr},
};

class PasteClipboardTest : public ::testing::Test
{
protected:
    PasteClipboardTest() { laminate.SetLayup(SampleRoot()); }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager::Impl impl{nullptr, &laminate, &recorder};
};

TEST_F(PasteClipboardTest, Inserts)
{
    for (const PasteCase &c : kCases) {
        SCOPED_TRACE(c.name);
        impl.clipboard = c.clipboard();
        const std::string clipboardBefore = Describe(impl.clipboard.items);
        PlyGroup work = laminate.RootGroup();
        ASSERT_TRUE(impl.pasteClipboard(work, c.inserter, c.reversed, c.negated, c.count));
        EXPECT_EQ(Describe(work.GetLayup()), c.layout);
        if (c.flat) {
            EXPECT_EQ(Flat(work), c.flat);
        }
        const std::vector<PlySimple> plies = Plies(work);
        for (size_t i = 0; i < plies.size(); ++i)
            EXPECT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
        EXPECT_EQ(Describe(impl.clipboard.items), clipboardBefore);
        EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), kSample);
        EXPECT_EQ(recorder.Count(), 0);
    }
}

TEST_F(PasteClipboardTest, TransformsAngles)
{
    const struct
    {
        bool reversed;
        bool negated;
        std::vector<float> angles;
    } cases[] = {{false, false, {10, 20}}, {true, false, {20, 10}}, {false, true, {-10, -20}}, {true, true, {-20, -10}}};
    for (const auto &c : cases) {
        impl.clipboard = TwoPlies();
        PlyGroup work(0);
        ASSERT_TRUE(impl.pasteClipboard(work, {0, 1, true}, c.reversed, c.negated, 1));
        std::vector<float> angles;
        for (const PlySimple &ply : Plies(work))
            angles.push_back(ply.Angle());
        EXPECT_EQ(angles, c.angles);
    }
}

TEST_F(PasteClipboardTest, PastedItemsCarryNegativeSerials)
{
    impl.clipboard = Clipboard({Ply(8), Group(12, {Ply(9), Ply(10)})}, false);
    PlyGroup work = laminate.RootGroup();
    ASSERT_TRUE(impl.pasteClipboard(work, {0, 1, true}, false, false, 2));
    const Layup &layup = work.GetLayup();
    // Each repetition carries the serials of the one source.
    for (int repeat = 0; repeat < 2; ++repeat) {
        EXPECT_EQ(layup[2 * repeat]->Serial(), -999999);
        const auto &group = dynamic_cast<const PlyGroup &>(*layup[2 * repeat + 1]);
        EXPECT_EQ(group.Serial(), -999998);
        EXPECT_EQ(group.GetLayup()[0]->Serial(), -999997);
        EXPECT_EQ(group.GetLayup()[1]->Serial(), -999996);
    }
    EXPECT_EQ(layup[4]->Serial(), 0);
}

TEST_F(PasteClipboardTest, Refuses)
{
    const struct
    {
        const char *name;
        LayupClipboard clipboard;
        PlyInserter inserter;
        const char *error;
    } cases[] = {
        {"group into a group", CopiedGroup(), {5, 1, true}, "Paste: cannot nest groups"},
        {"link into a group", Clipboard({Ply(8), Link(9, 5, 0)}, false), {5, 3, false}, "Paste: cannot nest groups"},
        {"no group of that id", TwoPlies(), {4, 1, true}, "Unexpected error locating paste site"},
        {"a link is no paste site", TwoPlies(), {6, 1, true}, "Unexpected error locating paste site"},
        {"past the end", TwoPlies(), {0, 7, false}, "Unexpected error locating paste site"},
        {"before the start", TwoPlies(), {5, 0, true}, "Unexpected error locating paste site"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        impl.clipboard = c.clipboard;
        impl.error.clear();
        PlyGroup work = laminate.RootGroup();
        EXPECT_FALSE(impl.pasteClipboard(work, c.inserter, false, false, 1));
        EXPECT_EQ(impl.error, c.error);
        EXPECT_EQ(Describe(work.GetLayup()), kSample);
    }
}

} // namespace
