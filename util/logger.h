#pragma once

#include <string>
#include <vector>

namespace Tuvo {

class any;
class LogDest;

// A named logger in a tree. A message whose level is below a logger's threshold is
// dropped there, for its whole subtree; otherwise it goes to the logger's
// destinations, then to its children, each in the order added.
class Logger
{
public:
    // A new logger: default level 20, threshold 0, no children, no destinations.
    explicit Logger(const char *name);
    // Deletes every child logger and every destination.
    ~Logger();
    Logger(const Logger &) = delete;
    Logger &operator=(const Logger &) = delete;

    // The process-wide logger "ROOT", created on first use and deleted when the
    // program or module is unloaded; never null.
    static Logger *Root();

    void SetThreshold(int level);
    void SetDefaultLevel(int level);

    // Appends child and takes ownership of it; returns 0. Returns 1 when a child of
    // that name (case-sensitive) already exists, or child is null: the logger does not
    // take it and the caller still owns it and must delete it. A logger may belong to
    // one parent only.
    int AddChild(Logger *child);
    // The child of that name, or null; the logger keeps ownership.
    Logger *GetChild(const char *name);
    // Deletes the child of that name and returns 0; returns 1 when there is none.
    int RemoveChild(const char *name);
    // Appends dest and takes ownership of it; returns 0. Returns 1 and takes nothing
    // when dest is null. When appending runs out of memory dest is deleted and
    // std::bad_alloc passes on.
    int AddDestination(LogDest *dest);

    // Whether a message at level reaches a destination here or below (which may
    // still drop it), so that a caller can skip building a line nobody takes.
    // The form without a level asks at the default level.
    bool Accepts(int level) const;
    bool Accepts() const;

    // Each Log returns the sum of the destinations' results, 0 when the message is
    // dropped. The forms without a level log at the default level.
    int Log(int level, const char *message);
    int Log(int level, const std::string &message);
    int Log(const char *message);
    int Log(const std::string &message);
    int Log(int level, const char *format, const any &arg);
    int Log(int level, const std::string &format, const any &arg);
    int Log(const char *format, const any &arg);
    int Log(const std::string &format, const any &arg);
    int Log(int level, const char *format, const std::vector<any> &args);
    int Log(int level, const std::string &format, const std::vector<any> &args);
    int Log(const char *format, const std::vector<any> &args);
    int Log(const std::string &format, const std::vector<any> &args);

private:
    struct Impl;
    template <class... Args>
    int Dispatch(int level, const char *text, const Args &...args);

    Impl *impl_;
};

} // namespace Tuvo
