#pragma once

#include <chrono>
#include <functional>
#include <string>

// Opens a document with the application the desktop associates with it. The result follows
// the Windows shell's convention, which the help texts are written for: above 32 on success;
// 0 out of resources, 2 file not found, 3 path not found, 5 access denied, 8 out of memory,
// 11 the opener program is not executable, 31 no application for the file (or no opener).
using HelpOpener = std::function<int(const std::string &path)>;

// A result above 32 that OpenWithDesktop gives on success.
inline constexpr int kOpenSucceeded = 42;

// Starts "xdg-open" from PATH with path as its only argument, without a shell, and waits at
// most `wait` for it. An opener still running then counts as success: some desktops keep it
// running for as long as the page is shown. It is left running and is reaped by init.
// A path that cannot be read is refused before anything is started (2, 3, 5 or 8).
int OpenWithDesktop(const std::string &path,
                    std::chrono::milliseconds wait = std::chrono::seconds(3));
