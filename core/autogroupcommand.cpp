#include "core/autogroupcommand.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/laminatemanageraccess.h"

int AutoGroupCommand::Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &) const
{
    laminate = manager.CurrentLaminate();
    laminate.SetLayup(PlyGroup(0, result_));
    return CommandNewLaminate;
}
