#include "core/lamcommand.h"

#include "core/lamcommandtaker.h"
#include "core/layupmanager.h"
#include "core/laminatemanageraccess.h"

bool LamCommandTaker::Submit(std::unique_ptr<LamCommand> command)
{
    if (!command || !enabled_)
        return false;
    Take(std::move(command));
    return true;
}

int LayupCommand::Execute(LaminateManagerAccess &manager, Laminate &, std::string &error) const
{
    LayupManager &layup = *manager.GetLayupManager();
    if (Apply(layup))
        return CommandApplied;
    error = layup.GetErrorMessage();
    return CommandFailed;
}
