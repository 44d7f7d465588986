#include "util/logdest.h"

#include "util/any.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Tuvo::any;

class Collect : public Tuvo::SimpleLogDest
{
public:
    int Emit(const char *text) override
    {
        texts.emplace_back(text);
        return 7;
    }
    std::vector<std::string> texts;
};

std::string Format(const char *format, const std::vector<any> &args)
{
    Collect dest;
    EXPECT_EQ(dest.Write(format, args), 7);
    return dest.texts.at(0);
}

std::string Format(const char *format, const any &arg)
{
    Collect dest;
    EXPECT_EQ(dest.Write(format, arg), 7);
    return dest.texts.at(0);
}

struct FormatCase
{
    const char *format;
    std::vector<any> args;
    const char *expected;
};

TEST(SimpleLogDest, Placeholders)
{
    const FormatCase cases[] = {
        {"%2 and %1", {"a", "b"}, "b and a"},
        {"%1, %1", {"a", "b"}, "a, b"},
        {"%1 %2 %3", {"a"}, "a %2 %3"},
        {"%3 %2", {"x"}, "%3 x"}, // the lowest number first
        {"%2 %1 %2", {"a", "b", "c"}, "b a c"},
        {"%1", {"a", "b"}, "a"},
        {"no placeholder", {"a"}, "no placeholder"},
        {"%0 and %-1", {"a"}, "%0 and %-1"},
        {"%", {"a"}, "%"},
        {"end%", {"a"}, "end%"},
        {"%x", {"a"}, "%x"},
        {"%1000000", {"a"}, "%1000000"},
        {"%999999", {"a"}, "a"},
        {"%99999999999 %-99999999999", {"a"}, "%99999999999 %-99999999999"},
        {"%01", {"a"}, "a"},
        {"%12x", {"a"}, "ax"},
        // The number is read after blanks and a sign, but only the digits that follow
        // the percent sign directly belong to the placeholder.
        {"% 1", {"a"}, "a 1"},
        {"%+2", {"a"}, "a+2"},
        {"%%1", {"a"}, "%a"},
        // Arguments go in one after another, so an argument's own placeholders are filled too.
        {"%1 %2", {"%2", "b"}, "b %2"},
        {"100%% of %1", {5}, "100% of 5"},
        {"%%%% %%% %% %", {}, "% % % %"},
        {"%1%%%2", {"%", "%"}, "%"},
        {"", {"a"}, ""},
        {nullptr, {"a"}, ""},
    };
    for (const FormatCase &c : cases) {
        const char *shown = c.format ? c.format : "(null)";
        EXPECT_EQ(Format(c.format, c.args), c.expected) << shown;
        if (c.args.size() == 1) {
            EXPECT_EQ(Format(c.format, c.args[0]), c.expected) << shown << " (single any)";
        }
    }
}

struct TextCase
{
    any arg;
    const char *expected;
};

TEST(SimpleLogDest, ArgumentTexts)
{
    const std::string owned = "string";
    const TextCase cases[] = {
        {any(5), "5"},
        {any(-2147483647 - 1), "-2147483648"},
        {any(0.5f), "0.5"},
        {any(0.1f), "0.1"},
        {any(2.0), "2"},
        {any(1.0 / 3.0), "0.333333"},
        {any(1234567.0), "1.23457e+06"},
        {any(1e-5), "1e-05"},
        {any(-0.0), "-0"},
        {any(std::numeric_limits<double>::infinity()), "inf"},
        {any("text"), "text"},
        {any(static_cast<const char *>(nullptr)), ""},
        {any(owned), "string"},
        {any(), ""},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(Format("<%1>", c.arg), std::string("<") + c.expected + ">") << c.expected;
}

TEST(SimpleLogDest, PlainMessageIsEmittedUnchanged)
{
    Collect dest;
    EXPECT_EQ(dest.Write("100%% done %1"), 7);
    EXPECT_EQ(dest.Write(static_cast<const char *>(nullptr)), 7);
    EXPECT_EQ(dest.texts, (std::vector<std::string>{"100%% done %1", ""}));
}

std::vector<std::string> forwarded;
void Forward(const char *text) { forwarded.emplace_back(text); }

TEST(ForwardLogDest, PassesTheFinishedTextToTheFunction)
{
    forwarded.clear();
    Tuvo::ForwardLogDest dest(Forward);
    EXPECT_EQ(dest.Write("a %1", any(1)), 0);
    EXPECT_EQ(dest.Write("b%%"), 0);
    EXPECT_EQ(forwarded, (std::vector<std::string>{"a 1", "b%%"}));
    Tuvo::ForwardLogDest none(nullptr);
    EXPECT_EQ(none.Write("dropped"), 0);
}

// A buffer whose flush always fails.
class FailingSync : public std::stringbuf
{
protected:
    int sync() override { return -1; }
};

TEST(StreamLogDest, WritesLinesAndFlushesOnRequest)
{
    std::ostringstream out;
    Tuvo::StreamLogDest dest(&out, false);
    EXPECT_EQ(dest.Write("one %1", std::vector<any>{1.5}), 0);
    EXPECT_EQ(dest.Write("two"), 0);
    EXPECT_EQ(out.str(), "one 1.5\ntwo\n");

    FailingSync buffer;
    std::ostream failing(&buffer);
    Tuvo::StreamLogDest unflushed(&failing, false);
    EXPECT_EQ(unflushed.Write("x"), 0);
    EXPECT_TRUE(failing.good()) << "no flush without the flag";
    Tuvo::StreamLogDest flushed(&failing, true);
    EXPECT_EQ(flushed.Write("y"), 0);
    EXPECT_TRUE(failing.bad()) << "a failed flush sets the bad state";
    EXPECT_EQ(buffer.str(), "x\ny\n");

    Tuvo::StreamLogDest nowhere(nullptr, true);
    EXPECT_EQ(nowhere.Write("z"), 0);
}

} // namespace
