#pragma once

#include "host/appcontext.h"
#include "host/testenv.h"
#include "tools/lamhost/store.h"

#include <clocale>
#include <locale>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// What the command targets and their tests share: an output function that
// collects lines, a request running on a host stand-in, and a locale that
// writes numbers the way a German environment would.

inline std::vector<std::string> &CollectedLines()
{
    static std::vector<std::string> lines;
    return lines;
}

inline void Collect(const char *line) { CollectedLines().push_back(line); }

// The collected lines, each ended by a newline, and a fresh start.
inline std::string TakeLines()
{
    std::string text;
    for (const std::string &line : CollectedLines())
        text += line + "\n";
    CollectedLines().clear();
    return text;
}

// A request on a host stand-in: the store serves the callbacks, the context is
// set up as the entry points do it (without a display, without debug output).
class Request
{
public:
    // mode: 'l' loads the store's current laminate, 'c' creates a laminate,
    // 'p' starts a ply material.
    explicit Request(LamHost::StoreData data, char mode = 'l')
        : store_(std::move(data))
    {
        env_.Unset("CORVANE_DEBUG");
        store_.Activate();
        context_ = std::make_unique<AppContext>(LamHost::CallbackTable());
        context_->CreateApplication(false);
        context_->Initialize();
        loaded_ = mode == 'p' ? context_->PlyMaterialInit() : context_->LaminateInit(mode == 'c');
        CollectedLines().clear();
    }

    AppContext *Context() { return context_.get(); }
    LamHost::Store &Store() { return store_; }
    bool Loaded() const { return loaded_; }

private:
    ScopedEnv env_;
    LamHost::Store store_;
    std::unique_ptr<AppContext> context_;
    bool loaded_ = false;
};

// Numbers with a decimal comma and thousands grouped by dots.
class CommaNumpunct : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Makes the global C++ locale (and the C locale, where such a locale is
// installed) write numbers with a decimal comma; puts both back afterwards.
class CommaLocale
{
public:
    CommaLocale()
        : cxx_(std::locale::global(std::locale(std::locale::classic(), new CommaNumpunct)))
        , c_(std::setlocale(LC_ALL, nullptr))
    {
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (std::setlocale(LC_ALL, name))
                break;
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, c_.c_str());
        std::locale::global(cxx_);
    }
    CommaLocale(const CommaLocale &) = delete;
    CommaLocale &operator=(const CommaLocale &) = delete;

    // Proof that the environment really writes numbers differently.
    static std::string Sample()
    {
        std::ostringstream out;
        out << 1234.5;
        return out.str();
    }

private:
    std::locale cxx_;
    std::string c_;
};
