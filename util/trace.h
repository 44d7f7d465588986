#pragma once

#include "util/logger.h"

#include <concepts>
#include <string>

// Trace lines through the root logger at its default level. A line that no
// destination would take is not written, and a line given as a callable
// (returning the text) is not even built then.
inline void TraceLine(const char *line)
{
    Tuvo::Logger *root = Tuvo::Logger::Root();
    if (root->Accepts())
        root->Log(line);
}

inline void TraceLine(const std::string &line)
{
    TraceLine(line.c_str());
}

template <std::invocable Build>
void TraceLine(const Build &build)
{
    Tuvo::Logger *root = Tuvo::Logger::Root();
    if (root->Accepts())
        root->Log(build());
}
