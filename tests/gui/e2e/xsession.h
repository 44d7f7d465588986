#pragma once

#include "tools/runprogram.h"

#include <string>
#include <vector>

#include <sys/types.h>

// An X server of the test's own (Xvfb on a display it picks itself, so tests
// may run side by side), one program at a time run on it, and xdotool to act
// on its windows as a person would. Everything it started ends with it.
class XSession
{
public:
    // By default the server keeps going when its last client leaves; with
    // resetWhenIdle it resets then, as Xvfb and many servers do by default.
    explicit XSession(bool resetWhenIdle = false);
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // False when the server did not come up within 10 s.
    bool Ok() const { return !display_.empty(); }
    const std::string &Display() const { return display_; }

    // Starts program with args in cwd on this display (the toolkit's platform
    // left to its default); its output goes to files in a folder of the session.
    void Start(const std::string &program, const std::vector<std::string> &args, const std::string &cwd);
    // The same with no display at all (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM unset).
    void StartWithoutDisplay(const std::string &program, const std::vector<std::string> &args,
                             const std::string &cwd);
    // Whether the running program's standard output holds text within ms.
    bool WaitForOutput(const std::string &text, int ms = 20000) const;
    // Waits at most ms for the program to end, then kills it (status -1).
    Outcome Wait(int ms = 30000);

    // Runs xdotool with args on this display; its standard output.
    std::string Xdotool(const std::vector<std::string> &args) const;
    // The id of a visible window titled exactly title; "" when none came within ms.
    std::string WaitForWindow(const std::string &title, int ms = 20000) const;
    // Whether the window is gone (closed, or hidden) within ms.
    bool WaitForWindowGone(const std::string &id, int ms = 20000) const;
    // Gives the window the keyboard, then presses keys ("Return", "alt+o",
    // "Tab") or types text, through the X test extension.
    void Key(const std::string &window, const std::vector<std::string> &keys) const;
    void Type(const std::string &window, const std::string &text) const;
    // Clicks the left button at x, y inside the window.
    void Click(const std::string &window, int x, int y) const;
    // Saves the whole screen as a PNG; false when that failed.
    bool Screenshot(const std::string &path) const;
    // With CORVANE_SCREENSHOTS=DIR set, saves the screen as DIR/name.png.
    void SaveScreenshot(const std::string &name) const;

private:
    void Spawn(const std::string &program, const std::vector<std::string> &args, const std::string &cwd,
               const std::string &display);
    void Focus(const std::string &window) const;

    std::string display_;
    std::string folder_;
    pid_t server_ = -1;
    pid_t program_ = -1;
};
