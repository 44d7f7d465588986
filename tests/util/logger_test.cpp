#include "util/logger.h"

#include "util/any.h"
#include "util/logdest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Tuvo::Logger;

// Records every call as "<tag>:<form>:<text>" in a shared journal and counts its own deletion.
class Recorder : public Tuvo::LogDest
{
public:
    Recorder(std::vector<std::string> *journal, std::string tag, int result = 0, int *deleted = nullptr)
        : journal_(journal), tag_(std::move(tag)), result_(result), deleted_(deleted)
    {
    }
    ~Recorder() override
    {
        if (deleted_)
            ++*deleted_;
    }
    int Write(const char *format, const std::vector<Tuvo::any> &args) override
    {
        return Record("args" + std::to_string(args.size()), format);
    }
    int Write(const char *format, const Tuvo::any &arg) override
    {
        return Record(arg.empty() ? "arg-empty" : "arg", format);
    }
    int Write(const char *message) override { return Record("msg", message); }

private:
    int Record(const std::string &form, const char *text)
    {
        journal_->push_back(tag_ + ":" + form + ":" + text);
        return result_;
    }

    std::vector<std::string> *journal_;
    std::string tag_;
    int result_;
    int *deleted_;
};

using Journal = std::vector<std::string>;

TEST(Logger, DispatchesToDestinationsThenChildrenInOrder)
{
    Journal journal;
    Logger root("root");
    root.AddDestination(new Recorder(&journal, "r1", 1));
    Logger *a = new Logger("a");
    a->AddDestination(new Recorder(&journal, "a1", 10));
    Logger *a1 = new Logger("a1");
    a1->AddDestination(new Recorder(&journal, "a11", 100));
    ASSERT_EQ(a->AddChild(a1), 0);
    ASSERT_EQ(root.AddChild(a), 0);
    Logger *b = new Logger("b");
    b->AddDestination(new Recorder(&journal, "b1", 1000));
    ASSERT_EQ(root.AddChild(b), 0);
    // Added after the children, still served before them.
    root.AddDestination(new Recorder(&journal, "r2", 10000));

    EXPECT_EQ(root.Log(5, "m"), 11111);
    EXPECT_EQ(journal, (Journal{"r1:msg:m", "r2:msg:m", "a1:msg:m", "a11:msg:m", "b1:msg:m"}));
}

TEST(Logger, EveryLogFormReachesTheMatchingWrite)
{
    Journal journal;
    Logger log("log");
    log.AddDestination(new Recorder(&journal, "d"));
    const std::string text = "s";
    const Tuvo::any arg(1);
    const std::vector<Tuvo::any> args{1, 2.0, "x"};

    log.Log(20, "c");
    log.Log(20, text);
    log.Log("c");
    log.Log(text);
    log.Log(20, "c", arg);
    log.Log(20, text, arg);
    log.Log("c", arg);
    log.Log(text, arg);
    log.Log(20, "c", args);
    log.Log(20, text, args);
    log.Log("c", args);
    log.Log(text, args);
    EXPECT_EQ(journal, (Journal{"d:msg:c", "d:msg:s", "d:msg:c", "d:msg:s", "d:arg:c", "d:arg:s", "d:arg:c",
                                "d:arg:s", "d:args3:c", "d:args3:s", "d:args3:c", "d:args3:s"}));
}

struct ThresholdCase
{
    int rootThreshold, childThreshold, level;
    bool reachesRoot, reachesChild;
};

TEST(Logger, ParentThresholdFiltersTheSubtreeAndChildrenOnlyFilterFurther)
{
    const ThresholdCase cases[] = {
        {20, 0, 0, false, false},  {20, 0, 19, false, false}, {20, 0, 20, true, true},
        {0, 20, 0, true, false},   {0, 20, 20, true, true},   {0, 0, -5, false, false},
        {-10, 30, 25, true, false}, {20, 20, 21, true, true},
    };
    for (const ThresholdCase &c : cases) {
        Journal journal;
        Logger root("ROOT");
        root.SetThreshold(c.rootThreshold);
        root.AddDestination(new Recorder(&journal, "root"));
        Logger *child = new Logger("child");
        child->SetThreshold(c.childThreshold);
        child->AddDestination(new Recorder(&journal, "child"));
        root.AddChild(child);

        root.Log(c.level, "x");
        Journal expected;
        if (c.reachesRoot)
            expected.push_back("root:msg:x");
        if (c.reachesChild)
            expected.push_back("child:msg:x");
        EXPECT_EQ(journal, expected) << c.rootThreshold << "/" << c.childThreshold << " at " << c.level;
    }
}

TEST(Logger, DefaultLevelIs20AndChildrenGetTheParentsLevel)
{
    Journal journal;
    Logger root("root");
    root.AddDestination(new Recorder(&journal, "r"));
    Logger *child = new Logger("child");
    child->SetDefaultLevel(0); // not used for messages coming from the parent
    child->SetThreshold(20);
    child->AddDestination(new Recorder(&journal, "c"));
    root.AddChild(child);

    root.SetThreshold(20);
    root.Log("at 20");
    root.SetThreshold(21);
    root.Log("dropped");
    root.SetThreshold(0);
    root.SetDefaultLevel(19);
    root.Log("at 19");
    child->Log("child at 0");
    EXPECT_EQ(journal, (Journal{"r:msg:at 20", "c:msg:at 20", "r:msg:at 19"}));
}

TEST(Logger, ChildrenAreFoundAndRemovedByExactName)
{
    int deleted = 0;
    Journal journal;
    Logger root("root");
    Logger *list = new Logger("ListWindow");
    list->AddDestination(new Recorder(&journal, "l", 0, &deleted));
    ASSERT_EQ(root.AddChild(list), 0);

    EXPECT_EQ(root.GetChild("ListWindow"), list);
    EXPECT_EQ(root.GetChild("listwindow"), nullptr);
    EXPECT_EQ(root.GetChild("ListWindow "), nullptr);
    EXPECT_EQ(root.GetChild(nullptr), nullptr);
    EXPECT_EQ(root.RemoveChild("listwindow"), 1);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(root.RemoveChild("ListWindow"), 0);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(root.GetChild("ListWindow"), nullptr);
    EXPECT_EQ(root.RemoveChild("ListWindow"), 1);
    root.Log(20, "after removal");
    EXPECT_TRUE(journal.empty());

    // The name is free again.
    Logger *again = new Logger("ListWindow");
    EXPECT_EQ(root.AddChild(again), 0);
    EXPECT_EQ(root.GetChild("ListWindow"), again);
}

TEST(Logger, DestructorDeletesTheWholeTreeOnce)
{
    int deleted = 0;
    Journal journal;
    {
        Logger root("root");
        root.AddDestination(new Recorder(&journal, "r1", 0, &deleted));
        root.AddDestination(new Recorder(&journal, "r2", 0, &deleted));
        Logger *child = new Logger("child");
        child->AddDestination(new Recorder(&journal, "c", 0, &deleted));
        Logger *grandchild = new Logger("grandchild");
        grandchild->AddDestination(new Recorder(&journal, "g", 0, &deleted));
        child->AddChild(grandchild);
        root.AddChild(child);
        EXPECT_EQ(deleted, 0);
    }
    EXPECT_EQ(deleted, 4);
}

TEST(Logger, RefusedChildStaysWithTheCaller)
{
    int deleted = 0;
    Journal journal;
    {
        Logger root("ROOT");
        ASSERT_EQ(root.AddChild(new Logger("ListWindow")), 0);
        Logger *second = new Logger("ListWindow");
        second->AddDestination(new Recorder(&journal, "second", 0, &deleted));
        EXPECT_EQ(root.AddChild(second), 1);
        root.Log(20, "x");
        EXPECT_TRUE(journal.empty()) << "a refused child gets no messages";
        delete second;
        EXPECT_EQ(deleted, 1);
        EXPECT_EQ(root.AddChild(nullptr), 1);
        EXPECT_EQ(root.AddDestination(nullptr), 1);
        EXPECT_EQ(root.Log(20, "y"), 0);
    }
    EXPECT_EQ(deleted, 1) << "the parent must not delete the refused child again";
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

TEST(Logger, RootIsCreatedOnceAndShared)
{
    Logger *root = Logger::Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Logger::Root(), root);

    Journal journal;
    Logger *probe = new Logger("probe");
    probe->AddDestination(new Recorder(&journal, "p"));
    ASSERT_EQ(root->AddChild(probe), 0);
    EXPECT_EQ(Logger::Root()->Log(20, "text"), 0);
    EXPECT_EQ(root->RemoveChild("probe"), 0);
    EXPECT_EQ(journal, (Journal{"p:msg:text"}));
}

} // namespace
