#pragma once

#include "core/lamcommand.h"
#include "core/layup.h"

// Records an automatic grouping by its result: replaying it installs the
// grouped layup as it was found and does not search again.
class AutoGroupCommand : public LamCommand
{
public:
    // Keeps a deep copy of the grouped root layup.
    explicit AutoGroupCommand(const Layup &result) : result_(result) {}

    // Builds the manager's current laminate with the recorded layup as its root
    // (group id 0) in laminate, whatever the layup was. Always CommandNewLaminate.
    int Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &error) const override;
    std::string Name() const override { return "AutoGroup"; }

    const Layup &Result() const { return result_; }

private:
    Layup result_;
};
