#pragma once

#include <lua.hpp>

#include <string>

class AppContext;

// The Lua binding: one interpreter per script run, process-wide, with the
// script interface's global functions forwarding to the command targets.
// Misuse of a function raises a Lua error (which ends the script and prevents
// the save); edits that the engine refuses are silent.
class ScriptApi
{
public:
    // Opens the interpreter with the functions of the mode (laminate or ply
    // material); does nothing while one is open. context must outlive Close.
    static void Open(AppContext *context, bool modeler);
    // Runs the script file; prints the run's error lines and sets cancelled on
    // failure. Returns the interpreter's result code (0 = ran). A C++ exception
    // that a script function raised (std::bad_alloc, in practice) cancels the
    // run and passes on from here, even when the script caught its error.
    static int RunFile(const char *path);
    // Closes the interpreter and deletes the targets; safe when none is open.
    static void Close();
    // True after Cancel() or a failed run.
    static bool IsCancelled();
    // A line for the user: the root logger at level 20.
    static void Print(const char *text);
    static void ReportRunError(int code);
    // The text that Version() returns.
    static void SetScriptVersion(const std::string &version);
};
