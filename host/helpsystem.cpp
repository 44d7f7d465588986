#include "host/helpsystem.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

namespace {

HelpSystem *instance = nullptr;

const char *const kNotInitialized = "Help System not initialized";

struct ShellText
{
    int result;
    const char *text;
};

const ShellText kShellTexts[] = {
    {0, "The operating system is out of memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied access to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .exe file is invalid."},
    {26, "A sharing violation occurred."},
    {27, "The file name association is incomplete or invalid."},
    {28, "The DDE transaction could not be completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
    {31, "There is no application associated with the given file name extension."},
    {32, "The specified dynamic-link library was not found."},
};

// An empty value would put the help pages at the file system's root.
const char *Variable(const char *name)
{
    const char *value = std::getenv(name);
    return (value && *value) ? value : nullptr;
}

bool Readable(const std::string &path)
{
    return std::ifstream(path).is_open();
}

std::string Normalised(std::string path)
{
    for (size_t at = path.find("//"); at != std::string::npos; at = path.find("//", at))
        path.erase(at, 1);
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

int OpenWithDesktopDefault(const std::string &path)
{
    return OpenWithDesktop(path);
}

} // namespace

HelpSystem::HelpSystem() : opener_(OpenWithDesktopDefault) {}

HelpSystem *HelpSystem::Instance()
{
    if (!instance)
        instance = new HelpSystem;
    return instance;
}

void HelpSystem::DestroyInstance()
{
    delete instance;
    instance = nullptr;
}

int HelpSystem::Init(const char *language)
{
    if (initialised_) {
        initialised_ = false;
        lastError_ = kNotInitialized;
    }
    language_ = language ? language : "";

    if (const char *help = Variable("TUVO_LAMINATE_HELP")) {
        helpDir_ = help;
        browserPath_ = helpDir_ + "/ovra_browser";
        if (!Readable(browserPath_)) {
            if (const char *m = Variable("OVRA_MPATHS"))
                browserPath_ = std::string(m) + "/ovra_browser";
            else if (const char *i = Variable("OVRA_INSTL"))
                browserPath_ = std::string(i) + "/OVRAHelp/ovra_browser";
        }
    } else if (const char *m = Variable("OVRA_MPATHS")) {
        helpDir_ = std::string(m) + "/LANG/" + language_ + "/lam_cr";
        browserPath_ = std::string(m) + "/ovra_browser";
    } else if (const char *i = Variable("OVRA_INSTL")) {
        helpDir_ = std::string(i) + "/OVRAHelp/LANG/" + language_ + "/lam_ug";
        browserPath_ = std::string(i) + "/OVRAHelp/ovra_browser";
    } else {
        helpDir_ = ".";
        browserPath_ = "./ovra_browser";
    }
    helpDir_ = Normalised(helpDir_);
    browserPath_ = Normalised(browserPath_);

    initialised_ = true;
    return 0;
}

int HelpSystem::Display(const std::string &file)
{
    if (!initialised_) {
        lastError_ = kNotInitialized;
        return HelpNotInitialized;
    }
    const std::string path = FilePath(file);
    if (!Readable(path)) {
        lastError_ = "Help file cannot be located ";
        return HelpFileNotFound;
    }

    const int result = opener_(path);
    if (result > 32)
        return HelpShown;
    // Every result of 32 or less is a failure, listed or not.
    if (const char *text = ShellResultText(result))
        lastError_ = text;
    else
        lastError_ = "The help file could not be opened (error " + std::to_string(result) + ").";
    return HelpShellFailed;
}

void HelpSystem::SetOpener(HelpOpener opener)
{
    opener_ = opener ? std::move(opener) : HelpOpener(OpenWithDesktopDefault);
}

const char *HelpSystem::ShellResultText(int result)
{
    for (const ShellText &entry : kShellTexts) {
        if (entry.result == result)
            return entry.text;
    }
    return nullptr;
}
