#pragma once

#include <string>

class AppContext;

// What the script command targets share: the request's context and the
// function that prints one line of output.
class ScriptContext
{
public:
    using Output = void (*)(const char *line);

    // context must outlive the target; output may be null (lines are dropped).
    ScriptContext(AppContext *context, Output output);

    void PrintLine(const std::string &line) const;
    // Runs the host's material picker for a ply material; the chosen id, or -1
    // when nothing was chosen or the host does not know the id.
    int SelectMaterial();

protected:
    AppContext *context_;
    Output output_;
};
