#include "gui/views/observer.h"
#include "gui/views/subject.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Records "name:hint" into a shared log; may run an action inside Update.
class Recorder : public Observer
{
public:
    Recorder(std::string name, std::string &log) : name_(std::move(name)), log_(log) {}
    void Update(Subject *, int hint) override
    {
        log_ += name_ + ":" + std::to_string(hint) + " ";
        if (onUpdate)
            onUpdate();
    }
    std::function<void()> onUpdate;

private:
    std::string name_;
    std::string &log_;
};

TEST(SubjectTest, NotifiesInAttachmentOrderWithDuplicatesAndNulls)
{
    std::string log;
    Subject subject;
    subject.Notify(0); // no observers: nothing happens
    Recorder a("a", log), b("b", log);
    subject.Attach(nullptr);
    subject.Attach(&a);
    subject.Attach(&b);
    subject.Attach(&a);
    subject.Notify(1);
    EXPECT_EQ(log, "a:1 b:1 a:1 ");

    log.clear();
    subject.Detach(&a); // removes the first entry only
    subject.Detach(&a);
    subject.Detach(&a); // no longer attached: nothing happens
    subject.Notify(0);
    EXPECT_EQ(log, "b:0 ");
}

TEST(SubjectTest, ObserversMayChangeTheListDuringANotification)
{
    std::string log;
    Subject subject;
    Recorder a("a", log), b("b", log), late("late", log);
    a.onUpdate = [&] {
        subject.Detach(&a);
        subject.Attach(&late);
    };
    subject.Attach(&a);
    subject.Attach(&b);
    subject.Notify(0);
    EXPECT_EQ(log, "a:0 b:0 "); // the newcomer waits for the next notification
    log.clear();
    subject.Notify(0);
    EXPECT_EQ(log, "b:0 late:0 ");
}

} // namespace
