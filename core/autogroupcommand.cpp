#include "core/autogroupcommand.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "host/laminatemanager.h"

int AutoGroupCommand::Execute(LaminateManager &manager, Laminate &laminate, std::string &) const
{
    laminate = manager.CurrentLaminate();
    laminate.SetLayup(PlyGroup(0, result_));
    return CommandNewLaminate;
}
