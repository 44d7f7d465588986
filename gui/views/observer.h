#pragma once

class Subject;

// Receives the events of the subjects it is attached to.
class Observer
{
public:
    virtual ~Observer() = default;
    // hint: what happened in subject (LayupShowHint for layup views).
    virtual void Update(Subject *subject, int hint) = 0;
};
