#pragma once

#include "core/selection.h"

#include <string>

class Laminate;
class LaminateManagerAccess;
class LayupManager;

// What LamCommand::Execute tells the replaying caller.
enum CommandResult {
    CommandApplied = 0,     // the current laminate was changed in place
    CommandNewLaminate = 1, // the laminate argument holds the new laminate; adopt it
    CommandFailed = 2       // nothing to adopt; the error text is set
};

// One recorded change of the current laminate. Commands record requests, not
// results: executing one again on the laminate it was first run on repeats the
// change. Owners delete commands through this base.
class LamCommand
{
public:
    LamCommand() = default;
    virtual ~LamCommand() = default;
    LamCommand(const LamCommand &) = delete;
    LamCommand &operator=(const LamCommand &) = delete;

    // Repeats the change on the manager's current laminate, or builds the new
    // laminate in laminate; returns a CommandResult, with error set on failure.
    virtual int Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &error) const = 0;
    // The text that names the command to the user (undo menu entry).
    virtual std::string Name() const = 0;
};

// A command that repeats a LayupManager operation with a recorded copy of the
// caller's selection and the operation's parameters.
class LayupCommand : public LamCommand
{
public:
    LayupCommand() = default;
    explicit LayupCommand(const Selection &selection) : selection_(selection) {}

    // Applies on the manager's layup manager (the laminate argument is not used):
    // CommandApplied, or CommandFailed with the layup manager's error text.
    int Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &error) const override;
    // Performs the recorded operation; its result is the operation's.
    virtual bool Apply(LayupManager &manager) const = 0;

    const Selection &GetSelection() const { return selection_; }

private:
    Selection selection_;
};
