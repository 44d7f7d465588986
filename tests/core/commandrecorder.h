#pragma once

// A command taker for tests: keeps what it is handed, in order.

#include "core/lamcommand.h"
#include "core/lamcommandtaker.h"

#include <memory>
#include <string>
#include <vector>

namespace layuptest {

class CommandRecorder : public LamCommandTaker
{
public:
    void Take(std::unique_ptr<LamCommand> command) override { commands.push_back(std::move(command)); }
    void LayupModified() override { ++modifiedCalls; }

    int Count() const { return static_cast<int>(commands.size()); }
    std::string LastName() const { return commands.empty() ? "" : commands.back()->Name(); }

    std::vector<std::unique_ptr<LamCommand>> commands;
    int modifiedCalls = 0;
};

// A command that tells when it is destroyed.
class ProbeCommand : public LayupCommand
{
public:
    explicit ProbeCommand(bool *destroyed, bool result = true) : destroyed_(destroyed), result_(result) {}
    ~ProbeCommand() override { *destroyed_ = true; }

    std::string Name() const override { return "Probe"; }
    bool Apply(LayupManager &) const override
    {
        ++applied;
        return result_;
    }

    mutable int applied = 0;

private:
    bool *destroyed_;
    bool result_;
};

} // namespace layuptest

namespace layuptest {

// A command that is not a layup command and tells when it is destroyed.
class PlainProbeCommand : public LamCommand
{
public:
    explicit PlainProbeCommand(bool *destroyed) : destroyed_(destroyed) {}
    ~PlainProbeCommand() override { *destroyed_ = true; }

    int Execute(LaminateManagerAccess &, Laminate &, std::string &) const override { return CommandNewLaminate; }
    std::string Name() const override { return "Plain probe"; }

private:
    bool *destroyed_;
};

} // namespace layuptest
