#pragma once

#include <vector>

class Observer;

// Something that reports its events to attached observers, which it neither
// owns nor deletes.
class Subject
{
public:
    virtual ~Subject();

    // Appends observer; null is ignored. Attaching one observer twice makes it
    // hear every event twice.
    virtual void Attach(Observer *observer);
    // Removes the first entry of observer, if any.
    virtual void Detach(Observer *observer);
    // Calls Update(this, hint) on the observers attached when the call began,
    // in attachment order; they may attach and detach during the call.
    virtual void Notify(int hint);

private:
    std::vector<Observer *> observers_;
};
