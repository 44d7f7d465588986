#include "core/lamcommandreplace.h"

#include "core/layupmanager.h"
#include "core/laminatemanageraccess.h"

LamCommandReplace::LamCommandReplace(const Laminate &laminate, bool withLayup, const std::string &name)
    : laminate_(laminate)
    , withLayup_(withLayup)
    , name_(name)
{
    if (!withLayup_)
        laminate_.SetLayup(PlyGroup(0));
}

int LamCommandReplace::Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &) const
{
    if (withLayup_) {
        laminate = laminate_;
    } else {
        // Copied first: laminate may be the current laminate itself.
        PlyGroup layup = manager.CurrentLaminate().RootGroup();
        laminate = laminate_;
        laminate.SetLayup(std::move(layup));
    }
    manager.GetLayupManager()->ClearClipboard();
    return CommandNewLaminate;
}

int LamCommandStacking::Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &) const
{
    laminate = manager.CurrentLaminate();
    PlyGroup root = laminate.RootGroup();
    root.GetLayup().SetStacking(code_);
    laminate.SetLayup(std::move(root));
    return CommandNewLaminate;
}

std::string LamCommandStacking::Name() const
{
    static const char *const names[] = {"Simple stacking", "Full Symmetric stacking", "Symmetric stacking with core",
                                        "Full Repeat stacking", "Repeat stacking with core"};
    return code_ >= 0 && code_ <= 4 ? names[code_] : "stacking";
}
