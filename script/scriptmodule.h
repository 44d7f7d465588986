#pragma once

#include "host/module.h"

#include <memory>
#include <string>

// Runs a request unattended: the Lua script that the host named drives the
// laminate or ply material, which is saved after a run that neither failed nor
// cancelled. A sketcher request does nothing in script mode.
class ScriptModule : public Module
{
public:
    ScriptModule(AppContext *context, const char *scriptPath, std::string version);
    ~ScriptModule() override;

    void Modeler(bool create) override;
    void Sketcher() override;
    void CreatePlyMaterial() override;

    // True when the script ran and did not cancel.
    bool RunScript();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
