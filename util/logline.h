#pragma once

#include "util/logger.h"

#include <cstdio>
#include <string>

// Logs one line formatted as printf formats it ("rc=%4d") through the root
// logger at its default level; longer lines are cut at 255 characters.
template <class... Values>
void LogLine(const char *format, Values... values)
{
    char line[256];
    std::snprintf(line, sizeof line, format, values...);
    Tuvo::Logger::Root()->Log(std::string(line));
}
