// What a failing allocation leaves behind in the pieces that take ownership
// or build text: nothing leaks, and no output is silently cut short.

#include "failingalloc.h"

#include "script/linestream.h"
#include "util/logdest.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

int gDestroyed = 0;

class ProbeDest : public Tuvo::SimpleLogDest
{
public:
    ~ProbeDest() override { ++gDestroyed; }
    int Emit(const char *) override { return 0; }
};

// Arms the failing allocator for the next allocation of the current thread.
struct FailNext
{
    FailNext() { failalloc::Arm(1); }
    ~FailNext() { failalloc::Disarm(); }
};

TEST(Ownership, ALoggerDeletesADestinationItCouldNotAppend)
{
    Tuvo::Logger logger("probe");
    gDestroyed = 0;
    auto *dest = new ProbeDest;
    {
        FailNext fail;
        EXPECT_THROW(logger.AddDestination(dest), std::bad_alloc);
    }
    EXPECT_EQ(gDestroyed, 1);
}

TEST(Ownership, ALoggerDeletesAChildItCouldNotAppend)
{
    Tuvo::Logger logger("parent");
    auto *child = new Tuvo::Logger("child");
    ASSERT_EQ(child->AddDestination(new ProbeDest), 0);
    gDestroyed = 0;
    {
        FailNext fail;
        EXPECT_THROW(logger.AddChild(child), std::bad_alloc);
    }
    EXPECT_EQ(gDestroyed, 1); // with the child
    EXPECT_EQ(logger.GetChild("child"), nullptr);
}

TEST(Ownership, ALoggerWhoseNameCannotBeMadeLeavesNothing)
{
    const std::string name(100, 'n'); // too long to be kept inside the string
    for (long long n = 1; n <= 2; ++n) {
        failalloc::Arm(n);
        EXPECT_THROW(Tuvo::Logger logger(name.c_str()), std::bad_alloc);
        failalloc::Disarm();
    }
}

TEST(Ownership, AListingLinePassesOnRunningOutOfMemory)
{
    LineStream line;
    const std::string text(1000, 'x');
    FailNext fail;
    EXPECT_THROW(line << text, std::bad_alloc);
}

} // namespace
