#include "util/logger.h"

#include "util/any.h"
#include "util/logdest.h"

#include <algorithm>
#include <memory>

namespace Tuvo {

struct Logger::Impl
{
    explicit Impl(const char *text) : name(text ? text : "") {}

    std::string name;
    int defaultLevel = 20;
    int threshold = 0;
    std::vector<Logger *> children;
    std::vector<LogDest *> destinations;
};

namespace {

Logger *rootLogger = nullptr;

// Deletes the root logger, with its tree, once when the program or module unloads.
struct RootCleanup
{
    ~RootCleanup()
    {
        delete rootLogger;
        rootLogger = nullptr;
    }
} rootCleanup;

} // namespace

Logger::Logger(const char *name) : impl_(new Impl(name))
{
}

Logger::~Logger()
{
    for (Logger *child : impl_->children)
        delete child;
    for (LogDest *dest : impl_->destinations)
        delete dest;
    delete impl_;
}

Logger *Logger::Root()
{
    if (!rootLogger)
        rootLogger = new Logger("ROOT");
    return rootLogger;
}

void Logger::SetThreshold(int level)
{
    impl_->threshold = level;
}

void Logger::SetDefaultLevel(int level)
{
    impl_->defaultLevel = level;
}

int Logger::AddChild(Logger *child)
{
    if (!child || GetChild(child->impl_->name.c_str()))
        return 1;
    std::unique_ptr<Logger> owned(child);
    impl_->children.push_back(child);
    owned.release();
    return 0;
}

Logger *Logger::GetChild(const char *name)
{
    if (!name)
        return nullptr;
    for (Logger *child : impl_->children) {
        if (child->impl_->name == name)
            return child;
    }
    return nullptr;
}

int Logger::RemoveChild(const char *name)
{
    Logger *child = GetChild(name);
    if (!child)
        return 1;
    impl_->children.erase(std::find(impl_->children.begin(), impl_->children.end(), child));
    delete child;
    return 0;
}

int Logger::AddDestination(LogDest *dest)
{
    if (!dest)
        return 1;
    std::unique_ptr<LogDest> owned(dest);
    impl_->destinations.push_back(dest);
    owned.release();
    return 0;
}

bool Logger::Accepts(int level) const
{
    if (level < impl_->threshold)
        return false;
    return !impl_->destinations.empty()
        || std::any_of(impl_->children.begin(), impl_->children.end(),
                       [level](const Logger *child) { return child->Accepts(level); });
}

bool Logger::Accepts() const
{
    return Accepts(impl_->defaultLevel);
}

template <class... Args>
int Logger::Dispatch(int level, const char *text, const Args &...args)
{
    if (level < impl_->threshold)
        return 0;
    int result = 0;
    for (LogDest *dest : impl_->destinations)
        result += dest->Write(text, args...);
    for (Logger *child : impl_->children)
        result += child->Dispatch(level, text, args...);
    return result;
}

int Logger::Log(int level, const char *message) { return Dispatch(level, message); }
int Logger::Log(int level, const std::string &message) { return Dispatch(level, message.c_str()); }
int Logger::Log(const char *message) { return Dispatch(impl_->defaultLevel, message); }
int Logger::Log(const std::string &message) { return Dispatch(impl_->defaultLevel, message.c_str()); }

int Logger::Log(int level, const char *format, const any &arg) { return Dispatch(level, format, arg); }
int Logger::Log(int level, const std::string &format, const any &arg)
{
    return Dispatch(level, format.c_str(), arg);
}
int Logger::Log(const char *format, const any &arg) { return Dispatch(impl_->defaultLevel, format, arg); }
int Logger::Log(const std::string &format, const any &arg)
{
    return Dispatch(impl_->defaultLevel, format.c_str(), arg);
}

int Logger::Log(int level, const char *format, const std::vector<any> &args)
{
    return Dispatch(level, format, args);
}
int Logger::Log(int level, const std::string &format, const std::vector<any> &args)
{
    return Dispatch(level, format.c_str(), args);
}
int Logger::Log(const char *format, const std::vector<any> &args)
{
    return Dispatch(impl_->defaultLevel, format, args);
}
int Logger::Log(const std::string &format, const std::vector<any> &args)
{
    return Dispatch(impl_->defaultLevel, format.c_str(), args);
}

} // namespace Tuvo
