#include "gui/views/subject.h"

#include "gui/views/observer.h"

#include <algorithm>

Subject::~Subject() = default;

void Subject::Attach(Observer *observer)
{
    if (observer)
        observers_.push_back(observer);
}

void Subject::Detach(Observer *observer)
{
    const auto found = std::find(observers_.begin(), observers_.end(), observer);
    if (found != observers_.end())
        observers_.erase(found);
}

void Subject::Notify(int hint)
{
    // A copy: observers may change the list while they are called.
    const std::vector<Observer *> observers = observers_;
    for (Observer *observer : observers)
        observer->Update(this, hint);
}
