// Every callback fails on each of its calls in turn, during a modification
// request and a ply material request: the request ends with the messages the
// module gives for that failure, nothing half-done reaches the host, a failed
// load is followed by no call but its two error lines, and the next request
// runs normally.

#include "requestharness.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace reliability;
using LamHost::Fault;
using LamHost::Slot;

namespace {

enum class Request { Modify, PlyMaterial };

// How a request with a failing callback must end.
enum class End {
    Normal,   // as without the fault: the same lines and the same save
    SameSave, // the same save; lines may show the host's other answers
    Saved,    // one save of what the script made of the host's answers
    Silent,   // no line (the host has no list window), the same save
    Lines     // the first `kept` normal lines (all: -1), then `tail`; nothing saved
};

struct Expect
{
    End end;
    int kept = 0;
    std::vector<std::string> tail;
};

Expect Ends(End end) { return {end, 0, {}}; }
// The harness runs without a display; the memory sweeps of the same binary
// leave a toolkit application without widgets behind.
Expect Interactive()
{
    return {End::Lines, 0,
            {QCoreApplication::instance()
                 ? "Interactive mode needs a widget application, and the host's application has none: nothing was "
                   "changed."
                 : "Interactive mode needs a display (DISPLAY or WAYLAND_DISPLAY): nothing was changed."}};
}
Expect LoadFailed(const char *text)
{
    return {End::Lines, 0, {"INITIALIZATION ERROR: Reading Laminate definition", text}};
}
Expect SaveFailed(const char *title, const char *text)
{
    return {End::Lines, -1, {std::string("INITIALIZATION ERROR: ") + title, text}};
}
Expect ScriptError(const char *message)
{
    return {End::Lines, 1, {std::string("error: ") + message, "Error running script"}};
}

enum class Kind { Fail, NoNul, Null };

struct Case
{
    Request request;
    Slot slot;
    Kind kind;
    int result; // Fail: what the slot returns
    int call;   // Fail and NoNul: 0 fails each call of the slot in turn, n only the n-th
    Expect expect;
};

const char kLoadText[] = "Error loading current laminate";
const char kLoadPliesText[] = "Error loading current laminate plies";

const std::vector<Case> &Cases()
{
    using enum Request;
    using enum Kind;
    static const std::vector<Case> cases = {
        {Modify, Slot::GetLanguage, Fail, -1, 0, Ends(End::Normal)},
        {Modify, Slot::GetLanguage, Fail, 99, 0, Ends(End::Normal)}, // no such translation file
        {Modify, Slot::GetLanguage, Null, 0, 0, Ends(End::Normal)},
        {Modify, Slot::GetUnitSystem, Fail, -1, 0, Ends(End::SameSave)}, // units without names
        {Modify, Slot::GetUnitSystem, Fail, 21, 0, Ends(End::SameSave)},
        {Modify, Slot::GetUnitSystem, Null, 0, 0, Ends(End::SameSave)},
        {Modify, Slot::GetColorCount, Fail, -1, 0, Ends(End::Normal)},
        {Modify, Slot::GetColorCount, Fail, 200000, 0, Ends(End::Normal)},
        {Modify, Slot::GetColorCount, Null, 0, 0, Ends(End::Normal)},
        {Modify, Slot::GetColorIDs, Fail, 1, 0, Ends(End::Normal)},
        {Modify, Slot::GetColorIDs, Null, 0, 0, Ends(End::Normal)},
        {Modify, Slot::GetColor, Fail, 1, 0, Ends(End::Normal)},
        {Modify, Slot::GetColor, NoNul, 0, 0, Ends(End::Normal)},
        {Modify, Slot::GetColor, Null, 0, 0, Ends(End::Normal)},
        {Modify, Slot::GetScriptPath, Fail, 1, 0, Interactive()},
        {Modify, Slot::GetScriptPath, NoNul, 0, 0, Interactive()}, // 256 characters: too long
        {Modify, Slot::GetScriptPath, Null, 0, 0, Interactive()},
        {Modify, Slot::ShowMessage, Null, 0, 0, Ends(End::Silent)},
        // An unknown material shows as a blank name; the picker's choice is refused.
        {Modify, Slot::GetMaterial, Fail, 1, 0, Ends(End::Saved)},
        {Modify, Slot::GetMaterial, NoNul, 0, 0, Ends(End::SameSave)},
        {Modify, Slot::GetMaterial, Null, 0, 0, Ends(End::Saved)},
        {Modify, Slot::SelectMaterial, Fail, 1, 0, Ends(End::Saved)},
        {Modify, Slot::SelectMaterial, Fail, -1, 0, Ends(End::Saved)},
        {Modify, Slot::SelectMaterial, Null, 0, 0, Ends(End::Saved)},
        {Modify, Slot::GetCurrentLaminate, Fail, 1, 0, LoadFailed(kLoadText)},
        {Modify, Slot::GetCurrentLaminate, Fail, -1, 0, LoadFailed(kLoadText)},
        {Modify, Slot::GetCurrentLaminate, NoNul, 0, 0, Ends(End::Normal)}, // the name is not sent back
        {Modify, Slot::GetCurrentLaminate, Null, 0, 0, LoadFailed(kLoadText)},
        {Modify, Slot::GetCurrentLaminatePlies, Fail, 1, 0, LoadFailed(kLoadPliesText)},
        {Modify, Slot::GetCurrentLaminatePlies, Null, 0, 0, LoadFailed(kLoadPliesText)},
        {Modify, Slot::SaveLaminate, Fail, 1, 0, SaveFailed("Saving Laminate", "Error saving current laminate")},
        {Modify, Slot::SaveLaminate, Fail, 999, 0,
         SaveFailed("Saving Laminate", "Error saving laminate, wrong Tsai-Wu interaction type?")},
        {Modify, Slot::SaveLaminate, Null, 0, 0, SaveFailed("Saving Laminate", "Error saving current laminate")},

        {PlyMaterial, Slot::GetLanguage, Fail, -1, 0, Ends(End::Normal)},
        {PlyMaterial, Slot::GetLanguage, Null, 0, 0, Ends(End::Normal)},
        // The ribbon thickness the script leaves to its default is in the units assumed.
        {PlyMaterial, Slot::GetUnitSystem, Fail, -1, 0, Ends(End::Saved)},
        {PlyMaterial, Slot::GetUnitSystem, Null, 0, 0, Ends(End::Saved)},
        {PlyMaterial, Slot::GetScriptPath, Fail, 1, 0, Interactive()},
        {PlyMaterial, Slot::GetScriptPath, NoNul, 0, 0, Interactive()},
        {PlyMaterial, Slot::GetScriptPath, Null, 0, 0, Interactive()},
        {PlyMaterial, Slot::ShowMessage, Null, 0, 0, Ends(End::Silent)},
        // The picker's fibre is looked up first: refused, the script's own choice stands.
        {PlyMaterial, Slot::GetMaterial, Fail, 1, 1, Ends(End::Saved)},
        {PlyMaterial, Slot::GetMaterial, Fail, 1, 2, ScriptError("SetMatrix: Material is invalid")},
        {PlyMaterial, Slot::GetMaterial, NoNul, 0, 0, Ends(End::SameSave)},
        {PlyMaterial, Slot::GetMaterial, Null, 0, 0, ScriptError("SetFiber: Material is invalid")},
        {PlyMaterial, Slot::SelectMaterial, Fail, 1, 0, Ends(End::Saved)},
        {PlyMaterial, Slot::SelectMaterial, Null, 0, 0, Ends(End::Saved)},
        {PlyMaterial, Slot::SavePlyMaterial, Fail, 1, 0,
         SaveFailed("Creating Ply Material", "Error saving current ply material")},
        {PlyMaterial, Slot::SavePlyMaterial, Null, 0, 0,
         SaveFailed("Creating Ply Material", "Error saving current ply material")},
    };
    return cases;
}

bool IsErrorLine(const std::string &line)
{
    for (const char *mark : {"error", "ERROR", "exception", "Error"}) {
        if (line.find(mark) != std::string::npos)
            return true;
    }
    return false;
}

int Successful(const Outcome &o)
{
    int saved = 0;
    for (const LamHost::LaminateSave &save : o.laminateSaves)
        saved += save.result == 0;
    for (const LamHost::PlyMaterialSave &save : o.plyMaterialSaves)
        saved += save.result == 0;
    return saved;
}

std::string Describe(const Outcome &o)
{
    std::string text;
    for (const std::string &line : o.lines)
        text += "  | " + line + "\n";
    return text + "  successful saves: " + std::to_string(Successful(o));
}

// Empty when o ended as expected; else what went wrong.
std::string Check(const Outcome &o, const Outcome &reference, const Expect &expect, const LamHost::StoreData &data)
{
    bool anyError = false;
    for (const std::string &line : o.lines)
        anyError = anyError || IsErrorLine(line);
    switch (expect.end) {
    case End::Normal:
        return o.lines == reference.lines && SameSaves(o, reference) ? "" : "not as without the fault";
    case End::SameSave:
        return !anyError && SameSaves(o, reference) ? "" : "an error line, or not the same save";
    case End::Saved:
        return !anyError && Successful(o) == 1 ? "" : "an error line, or not one save";
    case End::Silent:
        return o.lines.empty() && SameSaves(o, reference) ? "" : "lines without a list window, or not the same save";
    case End::Lines:
        break;
    }
    const size_t kept = expect.kept < 0 ? reference.lines.size() : static_cast<size_t>(expect.kept);
    std::vector<std::string> lines(reference.lines.begin(), reference.lines.begin() + static_cast<long>(kept));
    lines.insert(lines.end(), expect.tail.begin(), expect.tail.end());
    if (o.lines != lines)
        return "not the expected lines";
    if (Successful(o) != 0 || !(data.laminates == LamHost::DemoStore().laminates) || !data.plyMaterials.empty())
        return "the host took something";
    return "";
}

// After a failed load only its two lines reach the host.
std::string CheckNothingAfterLoad(const Outcome &o)
{
    size_t i = 0;
    while (i < o.calls.size() && o.calls[i] != Slot::GetCurrentLaminate)
        ++i;
    while (i < o.calls.size() && o.calls[i] != Slot::ShowMessage)
        ++i;
    for (; i < o.calls.size(); ++i) {
        if (o.calls[i] != Slot::ShowMessage)
            return std::string("the host was called after the failed load: ") + LamHost::SlotName(o.calls[i]);
    }
    return "";
}

TEST(HostFaults, EveryCallbackFailingOnEachOfItsCalls)
{
    Harness harness;
    LamHost::Store &store = harness.Store();
    auto run = [&](Request request) {
        return request == Request::Modify ? harness.Modify(harness.ModifyPath())
                                          : harness.PlyMaterial(harness.PlyMaterialPath());
    };
    std::map<Request, Outcome> references;
    std::map<Request, std::map<Slot, int>> calls;
    for (Request request : {Request::Modify, Request::PlyMaterial}) {
        references[request] = run(request);
        ASSERT_EQ(Successful(references[request]), 1) << Describe(references[request]);
        for (Slot slot : references[request].calls)
            ++calls[request][slot];
    }

    int exercised = 0;
    std::map<Request, std::map<Slot, bool>> covered;
    for (const Case &c : Cases()) {
        const Outcome &reference = references[c.request];
        const int count = calls[c.request][c.slot];
        ASSERT_GT(count, 0) << LamHost::SlotName(c.slot) << " is not called";
        ASSERT_LE(c.call, count) << LamHost::SlotName(c.slot);
        covered[c.request][c.slot] = true;
        const int first = c.kind == Kind::Null ? 0 : c.call > 0 ? c.call : 1;
        const int last = c.kind == Kind::Null ? 0 : c.call > 0 ? c.call : count;
        for (int call = first; call <= last; ++call) {
            SCOPED_TRACE(std::string(c.request == Request::Modify ? "modify, " : "ply material, ")
                         + LamHost::SlotName(c.slot) + (c.kind == Kind::Null ? " null" : "") + ", result "
                         + std::to_string(c.result) + ", call " + std::to_string(call));
            store.ClearFaults();
            if (c.kind == Kind::Null)
                store.SetNullSlot(c.slot);
            else
                store.SetFault(c.slot, c.kind == Kind::Fail ? Fault::Fail(c.result, call) : Fault::NoNul(call));
            ResetCallsOutsideRequests();
            const Outcome o = run(c.request);
            ++exercised;
            const std::string fault = Check(o, reference, c.expect, store.Data());
            EXPECT_EQ(fault, "") << Describe(o);
            const bool loadFails = c.slot == Slot::GetCurrentLaminate || c.slot == Slot::GetCurrentLaminatePlies;
            if (loadFails && c.expect.end == End::Lines) {
                EXPECT_EQ(CheckNothingAfterLoad(o), "");
            }
            EXPECT_EQ(CallsOutsideRequests(), 0);

            store.ClearFaults();
            const Outcome next = run(c.request);
            EXPECT_TRUE(next.lines == reference.lines && SameSaves(next, reference)) << "next request\n"
                                                                                      << Describe(next);
        }
    }
    // Every callback that the requests make has its cases.
    for (const auto &[request, slotCalls] : calls) {
        for (const auto &[slot, count] : slotCalls)
            EXPECT_TRUE(covered[request][slot]) << LamHost::SlotName(slot) << " has no case";
    }
    std::printf("%d host-fault cases\n", exercised);
}

} // namespace
