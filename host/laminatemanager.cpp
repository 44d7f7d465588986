#include "host/laminatemanager.h"

#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/layupmanager.h"
#include "host/materiallist.h"

#include <vector>

struct LaminateManager::Impl
{
    lamGetCurrentLaminateFn getCurrentLaminate = nullptr;
    lamGetCurrentLaminatePliesFn getCurrentLaminatePlies = nullptr;
    lamSaveLaminateFn saveLaminate = nullptr;
    Laminate current;
    std::unique_ptr<LayupManager> layupManager;
    std::vector<std::unique_ptr<LamCommand>> history;
    bool layupModified = false;
};

LaminateManager::LaminateManager(lamGetCurrentLaminateFn getCurrentLaminate,
                                 lamGetCurrentLaminatePliesFn getCurrentLaminatePlies, lamSaveLaminateFn saveLaminate,
                                 MaterialList *materials, const UnitSystem &units)
    : impl_(std::make_unique<Impl>())
{
    impl_->getCurrentLaminate = getCurrentLaminate;
    impl_->getCurrentLaminatePlies = getCurrentLaminatePlies;
    impl_->saveLaminate = saveLaminate;
    impl_->current.Reset(units);
    impl_->layupManager = std::make_unique<LayupManager>(materials, &impl_->current, this);
    current_ = &impl_->current;
    layupManager_ = impl_->layupManager.get();
}

LaminateManager::~LaminateManager() = default;

void LaminateManager::LayupModified()
{
    impl_->layupModified = true;
}

void LaminateManager::Take(std::unique_ptr<LamCommand> command)
{
    impl_->history.push_back(std::move(command));
}

bool LaminateManager::LastCommandName(std::string &name) const
{
    if (impl_->history.empty()) {
        name.clear();
        return false;
    }
    name = impl_->history.back()->Name();
    return true;
}
