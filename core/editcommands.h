#pragma once

#include "core/lamcommand.h"

// The commands that replay the structural edits of the layup: grouping and
// linking, delete, cut, copy and paste. Each keeps the selection (and the
// parameters) of the LayupManager call it records and repeats that call.

class GroupCommand : public LayupCommand
{
public:
    explicit GroupCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Create Group"; }
    bool Apply(LayupManager &manager) const override;
};

class UngroupCommand : public LayupCommand
{
public:
    explicit UngroupCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Ungroup"; }
    bool Apply(LayupManager &manager) const override;
};

class LinkCommand : public LayupCommand
{
public:
    explicit LinkCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Link Groups"; }
    bool Apply(LayupManager &manager) const override;
};

class UnlinkCommand : public LayupCommand
{
public:
    explicit UnlinkCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Unlink groups"; }
    bool Apply(LayupManager &manager) const override;
};

class DeleteCommand : public LayupCommand
{
public:
    explicit DeleteCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Delete"; }
    bool Apply(LayupManager &manager) const override;
};

class CutCommand : public LayupCommand
{
public:
    explicit CutCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Cut"; }
    bool Apply(LayupManager &manager) const override;
};

class CopyCommand : public LayupCommand
{
public:
    explicit CopyCommand(const Selection &selection) : LayupCommand(selection) {}

    std::string Name() const override { return "Copy"; }
    bool Apply(LayupManager &manager) const override;
};

class PasteCommand : public LayupCommand
{
public:
    PasteCommand(const Selection &selection, bool before, bool reversed, bool negated, int count)
        : LayupCommand(selection), before_(before), reversed_(reversed), negated_(negated), count_(count)
    {
    }

    std::string Name() const override { return "Paste"; }
    // Sets the recorded insertion side and pastes again with a copy of the
    // recorded selection, which the paste rewrites; the recorded one stays.
    bool Apply(LayupManager &manager) const override;

private:
    bool before_;
    bool reversed_;
    bool negated_;
    int count_;
};
