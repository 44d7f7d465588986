#include "core/editcommands.h"

#include "core/layupmanager.h"

bool GroupCommand::Apply(LayupManager &manager) const
{
    return manager.CreateGroup(GetSelection());
}

bool UngroupCommand::Apply(LayupManager &manager) const
{
    return manager.Ungroup(GetSelection());
}

bool LinkCommand::Apply(LayupManager &manager) const
{
    return manager.CreateLink(GetSelection());
}

bool UnlinkCommand::Apply(LayupManager &manager) const
{
    return manager.Unlink(GetSelection());
}

bool DeleteCommand::Apply(LayupManager &manager) const
{
    return manager.Delete(GetSelection());
}

bool CutCommand::Apply(LayupManager &manager) const
{
    return manager.Cut(GetSelection());
}

bool CopyCommand::Apply(LayupManager &manager) const
{
    return manager.Copy(GetSelection());
}

bool PasteCommand::Apply(LayupManager &manager) const
{
    manager.SetInsertBefore(before_);
    Selection selection = GetSelection();
    return manager.Paste(selection, reversed_, negated_, count_);
}
