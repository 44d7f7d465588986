#include "host/colormanager.h"

#include "tools/lamhost/store.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using LamHost::Fault;
using LamHost::HostColor;
using LamHost::Slot;

// Collects what reaches the root logger while a test runs.
class LogCapture
{
public:
    LogCapture()
    {
        lines().clear();
        auto *logger = new Tuvo::Logger("ColorManagerTest");
        logger->AddDestination(new Tuvo::ForwardLogDest([](const char *t) { lines().push_back(t); }));
        Tuvo::Logger::Root()->AddChild(logger);
    }
    ~LogCapture() { Tuvo::Logger::Root()->RemoveChild("ColorManagerTest"); }
    static std::vector<std::string> &lines()
    {
        static std::vector<std::string> captured;
        return captured;
    }
};

class ColorManagerTest : public ::testing::Test
{
protected:
    void UseColors(std::vector<HostColor> colors)
    {
        store_.Data().colors = std::move(colors);
        store_.Activate();
    }
    ColorManager Read() const
    {
        const lamCallbacksImp *t = LamHost::CallbackTable();
        return ColorManager(t->GetColorCount, t->GetColorIDs, t->GetColor);
    }
    // The ids a walk with GetNextColor visits, from -1.
    static std::vector<int> Walk(const ColorManager &m)
    {
        std::vector<int> ids;
        ColorInfo c(0);
        for (int id = -1; m.GetNextColor(id, c); id = c.Id())
            ids.push_back(c.Id());
        return ids;
    }

    LamHost::Store store_;
    LogCapture log_;
};

TEST_F(ColorManagerTest, ReadsTheDemoTable)
{
    store_.Data() = LamHost::DemoStore();
    store_.Activate();
    const ColorManager m = Read();
    EXPECT_EQ(m.Count(), 16);
    ColorInfo c(0);
    ASSERT_TRUE(m.GetColor(12, c));
    EXPECT_EQ(c.Name(), "Brown");
    EXPECT_EQ(c.Red(), 139);
    EXPECT_EQ(c.Green(), 69);
    EXPECT_EQ(c.Blue(), 19);
    EXPECT_EQ(LogCapture::lines(),
              (std::vector<std::string>{"GetColorIDs returns 0",
                                        "Color Manager is ready: there are 16 colors, minColor=1"}));
}

TEST_F(ColorManagerTest, DuplicateIdKeepsTheFirstColour)
{
    UseColors({{5, "first", 1, 2, 3}, {3, "three", 0, 0, 0}, {5, "second", 4, 5, 6}});
    const ColorManager m = Read();
    EXPECT_EQ(m.Count(), 2);
    EXPECT_EQ(store_.Calls(Slot::GetColor), 3);
    ColorInfo c(0);
    ASSERT_TRUE(m.GetColor(5, c));
    EXPECT_EQ(c.Name(), "first");
    EXPECT_EQ(c.Blue(), 3);
}

TEST_F(ColorManagerTest, WalksInIdOrderWhateverTheHostOrder)
{
    UseColors({{40, "a"}, {7, "b"}, {19, "c"}, {-3, "d"}});
    const ColorManager m = Read();
    EXPECT_EQ(Walk(m), (std::vector<int>{-3, 7, 19, 40}));
    ColorInfo c(0);
    EXPECT_FALSE(m.GetNextColor(40, c)); // the last
    EXPECT_FALSE(m.GetNextColor(8, c));  // not held
    EXPECT_FALSE(m.GetColor(8, c));
    EXPECT_EQ(c.Id(), 0) << "out stays untouched on failure";
    ASSERT_TRUE(m.GetNextColor(7, c));
    EXPECT_EQ(c.Name(), "c");
}

TEST_F(ColorManagerTest, EmptyTable)
{
    UseColors({});
    const ColorManager m = Read();
    ColorInfo c(0);
    EXPECT_EQ(m.Count(), 0);
    EXPECT_FALSE(m.GetNextColor(-1, c));
    EXPECT_EQ(LogCapture::lines().back(), "Color Manager is ready: there are 0 colors, minColor=9999");
}

TEST_F(ColorManagerTest, FailingGetColorIdsGivesNoColours)
{
    UseColors({{1, "a"}, {2, "b"}});
    store_.SetFault(Slot::GetColorIDs, Fault::Fail(7));
    const ColorManager m = Read();
    EXPECT_EQ(m.Count(), 0);
    EXPECT_EQ(store_.Calls(Slot::GetColor), 0);
    EXPECT_EQ(LogCapture::lines(),
              (std::vector<std::string>{"GetColorIDs returns 7",
                                        "Color Manager is ready: there are 0 colors, minColor=9999"}));
}

TEST_F(ColorManagerTest, FailingGetColorSkipsTheIdButCountsItAsLowest)
{
    UseColors({{8, "a"}, {2, "b"}, {5, "c"}});
    store_.SetFault(Slot::GetColor, Fault::Fail(1, 2)); // the read of id 2
    const ColorManager m = Read();
    EXPECT_EQ(Walk(m), (std::vector<int>{5, 8}));
    EXPECT_EQ(LogCapture::lines().back(), "Color Manager is ready: there are 2 colors, minColor=2");
}

TEST_F(ColorManagerTest, CountsOutsideTheRangeGiveNoColours)
{
    struct Row { int count; bool asksIds; int colors; };
    const Row rows[] = {
        {0, false, 0}, {-1, false, 0}, {-100, false, 0}, {100001, false, 0}, {2000000000, false, 0},
        {1, true, 1}, {100000, true, 3}, // the host fills 3 ids; the zeros left are id 0, unknown
    };
    UseColors({{4, "a"}, {6, "b"}, {9, "c"}});
    for (const Row &r : rows) {
        SCOPED_TRACE(r.count);
        store_.ClearRecords();
        store_.SetFault(Slot::GetColorCount, Fault::Fail(r.count));
        const ColorManager m = Read();
        EXPECT_EQ(store_.Calls(Slot::GetColorIDs), r.asksIds ? 1 : 0);
        EXPECT_EQ(m.Count(), r.colors);
    }
}

TEST_F(ColorManagerTest, NullSlotsGiveNoColours)
{
    UseColors({{4, "a"}, {6, "b"}});
    for (Slot slot : {Slot::GetColorCount, Slot::GetColorIDs, Slot::GetColor}) {
        SCOPED_TRACE(LamHost::SlotName(slot));
        store_.ClearFaults();
        store_.SetNullSlot(slot);
        EXPECT_EQ(Read().Count(), 0);
    }
}

TEST_F(ColorManagerTest, NameWithoutNulIsCutAtTheBuffer)
{
    const std::string longName(100, 'x');
    UseColors({{1, "short"}, {2, longName}});
    store_.SetFault(Slot::GetColor, Fault::NoNul(1));
    const ColorManager m = Read();
    ColorInfo c(0);
    ASSERT_TRUE(m.GetColor(1, c));
    EXPECT_EQ(c.Name(), "short" + std::string(lamTextBufferSize - 5, '#'));
    ASSERT_TRUE(m.GetColor(2, c));
    EXPECT_EQ(c.Name(), std::string(lamTextBufferSize, 'x'));
}

TEST(ColorInfo, OrderAndEqualityByIdOnly)
{
    const int rgb[3] = {1, 2, 3};
    EXPECT_EQ(ColorInfo(4, "a", rgb), ColorInfo(4));
    EXPECT_LT(ColorInfo(3), ColorInfo(4, "a", rgb));
    EXPECT_EQ(ColorInfo(4).Red(), 0);
    EXPECT_EQ(ColorInfo(4).Name(), "");
}

} // namespace
