#include "util/logdest.h"

#include "util/any.h"

#include <algorithm>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>

namespace Tuvo {

namespace {

// Numbers from this one up are never placeholders.
constexpr long kNoPlaceholder = 1000000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads a decimal integer like atoi, from start: blanks, an optional sign, digits.
// The magnitude saturates at kNoPlaceholder, so long digit runs cannot overflow.
long ReadNumber(const std::string &text, size_t start)
{
    size_t i = start;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long n = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        n = std::min(n * 10 + (text[i] - '0'), kNoPlaceholder);
    return negative ? -n : n;
}

std::string ArgText(const any &arg)
{
    if (const int *i = any_cast<int>(&arg))
        return std::to_string(*i);
    const float *f = any_cast<float>(&arg);
    const double *d = any_cast<double>(&arg);
    if (f || d) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out << (f ? static_cast<double>(*f) : *d);
        return out.str();
    }
    if (const char *const *s = any_cast<const char *>(&arg))
        return *s ? *s : "";
    if (const std::string *s = any_cast<std::string>(&arg))
        return *s;
    return {};
}

// Replaces the first occurrence of the lowest placeholder in text by the text of arg.
void SubstituteArg(std::string &text, const any &arg)
{
    long best = kNoPlaceholder;
    size_t bestStart = std::string::npos;
    size_t bestEnd = 0;
    size_t p = text.find('%');
    while (p != std::string::npos) {
        const long n = ReadNumber(text, p + 1);
        size_t next = p + 1;
        if (n >= 1 && n < best) {
            size_t e = p + 1;
            while (e < text.size() && IsDigit(text[e]))
                ++e;
            best = n;
            bestStart = p;
            bestEnd = e;
            next = e;
        }
        p = text.find('%', next);
    }
    if (bestStart != std::string::npos)
        text.replace(bestStart, bestEnd - bestStart, ArgText(arg));
}

// Turns every run of percent signs into a single one.
void CollapsePercent(std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%' && !out.empty() && out.back() == '%')
            continue;
        out += c;
    }
    text.swap(out);
}

std::string TextOf(const char *format) { return format ? format : ""; }

} // namespace

int SimpleLogDest::Write(const char *format, const std::vector<any> &args)
{
    std::string text = TextOf(format);
    for (const any &arg : args)
        SubstituteArg(text, arg);
    CollapsePercent(text);
    return Emit(text.c_str());
}

int SimpleLogDest::Write(const char *format, const any &arg)
{
    std::string text = TextOf(format);
    SubstituteArg(text, arg);
    CollapsePercent(text);
    return Emit(text.c_str());
}

int SimpleLogDest::Write(const char *message)
{
    return Emit(message ? message : "");
}

int ForwardLogDest::Emit(const char *text)
{
    if (sink_)
        sink_(text);
    return 0;
}

int StreamLogDest::Emit(const char *text)
{
    if (!stream_)
        return 0;
    *stream_ << text << "\n";
    if (flush_)
        stream_->flush();
    return 0;
}

} // namespace Tuvo
