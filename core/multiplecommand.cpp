#include "core/multiplecommand.h"

MultipleCommand::MultipleCommand(const std::string &name)
    : name_(name)
{
}

MultipleCommand::~MultipleCommand() = default;

bool MultipleCommand::Apply(LayupManager &manager) const
{
    for (const auto &child : children_) {
        if (!child->Apply(manager))
            return false;
    }
    return true;
}

void MultipleCommand::Take(std::unique_ptr<LamCommand> command)
{
    if (auto *layupCommand = dynamic_cast<LayupCommand *>(command.get())) {
        command.release();
        children_.emplace_back(layupCommand);
    }
}

std::unique_ptr<LamCommand> MultipleCommand::Release(int i)
{
    if (i < 0)
        i = 0;
    if (i >= Count())
        return nullptr;
    std::unique_ptr<LamCommand> child = std::move(children_[i]);
    children_.erase(children_.begin() + i);
    return child;
}
