#pragma once

#include <iosfwd>
#include <vector>

namespace Tuvo {

class any;

// Where a logger's messages go. A destination belongs to the logger it is added to.
class LogDest
{
public:
    virtual ~LogDest() = default;
    // Formats format with args (placeholders %1, %2, ...) and outputs the text; returns a status, 0 on success.
    virtual int Write(const char *format, const std::vector<any> &args) = 0;
    virtual int Write(const char *format, const any &arg) = 0;
    // Outputs message as it is, without placeholder or percent processing.
    virtual int Write(const char *message) = 0;
};

// A destination that formats the text itself and hands the finished text to Emit.
// Formatting: each argument in turn replaces the first occurrence of the lowest
// placeholder %n (1 <= n < 1000000) still in the text; then every run of percent
// signs becomes a single "%". A null format or message reads as an empty text.
class SimpleLogDest : public LogDest
{
public:
    int Write(const char *format, const std::vector<any> &args) override;
    int Write(const char *format, const any &arg) override;
    int Write(const char *message) override;
    // Outputs one finished text (never null); returns a status, 0 on success.
    virtual int Emit(const char *text) = 0;
};

// Passes every text to a function, such as the host's message output.
class ForwardLogDest : public SimpleLogDest
{
public:
    using Sink = void (*)(const char *text);
    explicit ForwardLogDest(Sink sink) : sink_(sink) {}
    // Calls the sink (when there is one) and returns 0.
    int Emit(const char *text) override;

private:
    Sink sink_;
};

// Writes every text as one line to a stream that it does not own: the stream must
// outlive the destination. A null stream writes nothing.
class StreamLogDest : public SimpleLogDest
{
public:
    StreamLogDest(std::ostream *stream, bool flush) : stream_(stream), flush_(flush) {}
    // Writes the text and "\n", then flushes when asked to (a failed flush sets the
    // stream's bad state); returns 0.
    int Emit(const char *text) override;

private:
    std::ostream *stream_;
    bool flush_;
};

} // namespace Tuvo
