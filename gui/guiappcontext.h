#pragma once

#include "host/appcontext.h"

// The context of an interactive request: a widget application, and errors
// shown in a warning box as well as logged.
class GuiAppContext : public AppContext
{
public:
    explicit GuiAppContext(lamCallbacksImp *callbacks);

    // The base operation, but the process must be able to show windows: with
    // no application object yet and no display to reach, nothing is created
    // (creating it would abort the host process) and the result is false. The
    // check's connection to the X server is held until the application has its own.
    // The "Windows" style goes only onto an application this request created.
    bool CreateApplication(bool gui) override;
    // The two log lines, then a warning box with the translated title and text.
    void ReportError(std::string title, std::string message) override;

    // Whether a widget application could be created in this process now.
    static bool DisplayAvailable();
};
