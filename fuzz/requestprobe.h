#pragma once

// For the fuzz targets that run whole requests: tells the lines that came
// through the module's logger from those that did not, which only an entry
// call's report of an exception sends.

#include "util/logdest.h"
#include "util/logger.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace fuzzprobe {

// Sees every line for the host that goes through the logger, as each
// request's "ListWindow" logger does (without the debug switch).
class LoggedLines : public Tuvo::SimpleLogDest
{
public:
    int Emit(const char *text) override
    {
        lines.emplace_back(text);
        return 0;
    }
    std::vector<std::string> lines;
};

// Attaches the probe to the root logger for the life of the process.
inline LoggedLines *Attach()
{
    auto probe = std::make_unique<Tuvo::Logger>("FuzzProbe");
    probe->SetThreshold(20);
    auto *logged = new LoggedLines;
    probe->AddDestination(logged);
    Tuvo::Logger::Root()->AddChild(probe.release());
    return logged;
}

[[noreturn]] inline void Fail(const char *what, const std::string &detail)
{
    std::fprintf(stderr, "fuzz target: %s: %s\n", what, detail.c_str());
    std::abort();
}

// Aborts when a line that the host was shown did not come through the logger.
inline void CheckShown(const std::vector<std::string> &shown, const LoggedLines &logged)
{
    auto next = logged.lines.begin();
    for (const std::string &line : shown) {
        next = std::find(next, logged.lines.end(), line);
        if (next == logged.lines.end())
            Fail("an exception reached the entry call", line);
        ++next;
    }
}

} // namespace fuzzprobe
