#pragma once

#include "host/module.h"

#include <memory>
#include <string>

class Splash;

// GuiModule::Init's mode.
enum GuiModuleInitMode {
    GuiInitCreateLaminate = 1,
    GuiInitCurrentLaminate = 2, // modify, and the sketcher
    GuiInitPlyMaterial = 3
};

// The interactive run mode: each operation runs its modal dialog on the
// host's thread and saves the result through the context.
class GuiModule : public Module
{
public:
    // context is not owned; version is shown on the splash.
    GuiModule(AppContext *context, std::string version);

    void Modeler(bool create) override;
    void Sketcher() override;
    void CreatePlyMaterial() override;

    // Creates the widget application, shows the splash of the mode's group the
    // first time (when this request created the application; splash then
    // holds it, also when Init fails or throws), sets up the context, logs
    // logText and loads what the mode works on. False when the application
    // could not be made or the load failed.
    bool Init(int mode, std::unique_ptr<Splash> &splash, const char *logText);

private:
    std::string version_;
};
