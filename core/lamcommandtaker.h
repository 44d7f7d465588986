#pragma once

#include <memory>

class LamCommand;

// Receives the commands that editing operations record. Taking can be switched
// off (the undo replay does so while it re-executes the history), and then a
// submitted command is destroyed instead of kept.
class LamCommandTaker
{
public:
    LamCommandTaker() = default;
    virtual ~LamCommandTaker() = default;
    LamCommandTaker(const LamCommandTaker &) = delete;
    LamCommandTaker &operator=(const LamCommandTaker &) = delete;

    // Told when the layup was repaired outside any command; does nothing here.
    virtual void LayupModified() {}
    // Takes ownership of a command that Submit let through (never null).
    virtual void Take(std::unique_ptr<LamCommand> command) = 0;

    // Hands the command to Take and returns true while taking is on; otherwise
    // destroys it and returns false. A null command is refused (false).
    bool Submit(std::unique_ptr<LamCommand> command);
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsEnabled() const { return enabled_; }

private:
    bool enabled_ = true;
};
