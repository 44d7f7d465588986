#pragma once

#include "host/helpopener.h"

#include <string>

// Result of HelpSystem::Display.
enum HelpError : int {
    HelpShown = 0,
    HelpNotInitialized = 1,
    HelpFileNotFound = 2,
    HelpShellFailed = 3,
};

// Finds the directory of the help pages from the environment and opens a page with the
// desktop's application for it. One per process: every request initialises it again with its
// environment and language; it lives until the module is unloaded.
class HelpSystem
{
public:
    // The singleton, created on first use; owned by the class until DestroyInstance.
    static HelpSystem *Instance();
    // Deletes the singleton (module unload); the next Instance creates a fresh one.
    static void DestroyInstance();

    // Sets the language ("English", "French" or "Japanese") and the help directory from
    // TUVO_LAMINATE_HELP, else OVRA_MPATHS, else OVRA_INSTL, else the working directory.
    // An empty variable counts as unset. Always returns 0.
    int Init(const char *language);

    // Opens helpDir/file. Returns a HelpError; on failure GetLastError holds the text to show.
    int Display(const std::string &file);

    const std::string &GetLastError() const { return lastError_; }
    // helpDir + "/" + file, for the "cannot be located" message.
    std::string FilePath(const std::string &file) const { return helpDir_ + "/" + file; }
    const std::string &Language() const { return language_; }
    // Only computed and tested for existence; nothing opens it.
    const std::string &BrowserPath() const { return browserPath_; }

    // Replaces the page opener (tests); an empty function restores OpenWithDesktop.
    void SetOpener(HelpOpener opener);

    // The text for an opener result of 32 or less, or null when the result has none.
    static const char *ShellResultText(int result);

private:
    HelpSystem();

    bool initialised_ = false;
    std::string language_;
    std::string helpDir_;
    std::string browserPath_;
    std::string lastError_ = "Corvane Help System not initialized";
    HelpOpener opener_;
};
