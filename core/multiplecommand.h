#pragma once

#include "core/lamcommand.h"
#include "core/lamcommandtaker.h"

#include <memory>
#include <string>
#include <vector>

// Several layup edits of one user action, undone as one step. While the layup
// manager's taker is set to it, it collects the commands of the edits; replaying
// it repeats them in order. Its own selection is empty and plays no part.
class MultipleCommand : public LayupCommand, public LamCommandTaker
{
public:
    explicit MultipleCommand(const std::string &name);
    ~MultipleCommand() override;

    std::string Name() const override { return name_; }
    // Applies every child in order; the first failure stops it and is the result.
    // No children: true.
    bool Apply(LayupManager &manager) const override;
    // Keeps a LayupCommand as the next child; destroys any other command at once,
    // since only layup commands can be applied on a layup manager.
    void Take(std::unique_ptr<LamCommand> command) override;

    int Count() const { return static_cast<int>(children_.size()); }
    // Removes child i (0-based; a negative i counts as 0) and passes it to the
    // caller; null, with nothing removed, when i is not below the count.
    std::unique_ptr<LamCommand> Release(int i);

private:
    std::string name_;
    std::vector<std::unique_ptr<LayupCommand>> children_;
};
