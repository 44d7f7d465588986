// The entry functions of corvane.so and the session behind them, as a host
// calls them: set-up, the choice between script and interactive mode, requests
// in a row, calls made from inside a host callback, and exceptions.

#include "tests/module/moduletest.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>

#include <dlfcn.h>
#include <sys/stat.h>

namespace {

using LamHost::Slot;

const char kInteractive[] = "Interactive mode needs a display (DISPLAY or WAYLAND_DISPLAY): nothing was changed.";
const char kBusy[] = "Corvane is busy: another request is running.";

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

long Count(const Lines &lines, const std::string &line)
{
    return std::count(lines.begin(), lines.end(), line);
}

int TotalCalls(const LamHost::Store &store)
{
    int total = 0;
    for (int slot = 0; slot < LamHost::kSlotCount; ++slot)
        total += store.Calls(static_cast<Slot>(slot));
    return total;
}

class EntryPointsTest : public ModuleTest
{
};

TEST_F(EntryPointsTest, DescriptorListsTheExportedFunctions)
{
    const LoadedModule module = LoadModule(CORVANE_MODULE_PATH);
    ASSERT_NE(module.descriptor, nullptr) << module.error;
    EXPECT_EQ(module.descriptor->first, 1);
    EXPECT_EQ(module.descriptor->second, 0);
    ASSERT_EQ(module.entries, module_);
    void *handle = dlopen(CORVANE_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(reinterpret_cast<void *>(module_->lamSetup), dlsym(handle, "lamSetup"));
    EXPECT_EQ(reinterpret_cast<void *>(module_->lamModeler), dlsym(handle, "lamModeler"));
    EXPECT_EQ(reinterpret_cast<void *>(module_->lamSketcher), dlsym(handle, "lamSketcher"));
    EXPECT_EQ(reinterpret_cast<void *>(module_->lamPlyMaterial), dlsym(handle, "lamPlyMaterial"));
    dlclose(handle); // only drops the reference that RTLD_NOLOAD took
}

TEST_F(EntryPointsTest, NothingHappensBeforeSetupAndAFailedSetupCanBeRepeated)
{
    const LoadedModule fresh = FreshModule(dir_.Path());
    ASSERT_NE(fresh.entries, nullptr) << fresh.error;
    UseScript("Message('ran')");
    auto everyRequest = [&] {
        fresh.entries->lamModeler(0);
        fresh.entries->lamModeler(1);
        fresh.entries->lamSketcher();
        fresh.entries->lamPlyMaterial();
    };
    Request(everyRequest);
    EXPECT_EQ(TotalCalls(store_), 0);

    fresh.entries->lamSetup(nullptr); // sets nothing up
    Request(everyRequest);
    EXPECT_EQ(TotalCalls(store_), 0);

    fresh.entries->lamSetup(LamHost::CallbackTable());
    EXPECT_EQ(TotalCalls(store_), 0);
    EXPECT_EQ(Request([&] { fresh.entries->lamModeler(0); }), (Lines{ModelerHeader(), "ran"}));
    EXPECT_EQ(store_.LaminateSaves().size(), 1u);
}

std::vector<std::string> gOtherLines;
void OtherShowMessage(const char *line) { gOtherLines.push_back(line); }

TEST_F(EntryPointsTest, ASecondSetupKeepsTheFirstTable)
{
    const LoadedModule fresh = FreshModule(dir_.Path());
    ASSERT_NE(fresh.entries, nullptr) << fresh.error;
    static lamCallbacksImp other = *LamHost::CallbackTable(); // the host keeps its table
    other.ShowMessage = OtherShowMessage;
    gOtherLines.clear();
    fresh.entries->lamSetup(LamHost::CallbackTable());
    fresh.entries->lamSetup(&other);
    UseScript("Message('ran')");
    EXPECT_EQ(Request([&] { fresh.entries->lamModeler(0); }), (Lines{ModelerHeader(), "ran"}));
    EXPECT_TRUE(gOtherLines.empty());
}

// Only 1 creates; every other value modifies the current laminate.
TEST_F(EntryPointsTest, ModelerCreatesOnlyForOne)
{
    for (const int create : {1, 0, 2, -1}) {
        SCOPED_TRACE(create);
        UseScript("");
        Request([&] { module_->lamModeler(create); });
        ASSERT_EQ(store_.LaminateSaves().size(), 1u);
        EXPECT_EQ(store_.LaminateSaves()[0].saveMode, create == 1 ? lamSaveCreate : lamSaveModify);
        EXPECT_EQ(store_.LaminateSaves()[0].plyCount, create == 1 ? 0 : 8);
        EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), create == 1 ? 0 : 1);
    }
}

// A path of 1 to 255 characters that names a readable regular file runs as a
// script; anything else is an interactive request.
TEST_F(EntryPointsTest, ScriptPathChoosesTheMode)
{
    const std::string base = dir_.Path() + "/";
    auto pathOfLength = [&](size_t length) {
        std::string path = base + std::string(length - base.size() - 4, 'p') + ".lua";
        std::ofstream(path) << "Message('ran')";
        return path;
    };
    Write("folder/x", "");
    const std::string fifo = base + "fifo.lua";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case
    {
        const char *name;
        std::string path;
        bool script;
    };
    const Case cases[] = {
        {"255 characters", pathOfLength(255), true},
        {"256 characters", pathOfLength(256), false},
        {"a missing file", base + "missing.lua", false},
        {"a folder", base + "folder", false},
        {"a FIFO", fifo, false},
        {"no path", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        store_.SetScriptPath(c.path);
        const Lines lines = Request([this] { module_->lamModeler(0); });
        if (c.script) {
            EXPECT_EQ(lines, (Lines{"Corvane-Modeler script: " + c.path, "ran"}));
            EXPECT_EQ(store_.LaminateSaves().size(), 1u);
        } else {
            EXPECT_EQ(lines, Lines{kInteractive});
            EXPECT_TRUE(store_.LaminateSaves().empty());
            EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), 0);
        }
    }
}

TEST_F(EntryPointsTest, AHostThatRefusesTheScriptPathGetsInteractiveMode)
{
    UseScript("Message('ran')");
    store_.SetFault(Slot::GetScriptPath, LamHost::Fault::Fail(1)); // a path is there, the result says no
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }), Lines{kInteractive});
    store_.SetFault(Slot::GetScriptPath, LamHost::Fault::NoNul()); // 256 bytes without NUL
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }), Lines{kInteractive});
}

TEST_F(EntryPointsTest, EveryRequestWithoutAScriptOrDisplayChangesNothing)
{
    store_.SetScriptPath("");
    EXPECT_EQ(Request([this] { module_->lamModeler(1); }), Lines{kInteractive});
    EXPECT_EQ(Request([this] { module_->lamSketcher(); }), Lines{kInteractive});
    EXPECT_EQ(Request([this] { module_->lamPlyMaterial(); }), Lines{kInteractive});
    EXPECT_TRUE(store_.LaminateSaves().empty());
    EXPECT_TRUE(store_.PlyMaterialSaves().empty());
}

TEST_F(EntryPointsTest, EachRequestReachesOnlyItsOwnDestinations)
{
    UseScript("Message('one')");
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }), (Lines{ModelerHeader(), "one"}));
    UseScript("Message('two')");
    EXPECT_EQ(Request([this] { module_->lamPlyMaterial(); }), (Lines{PlyMaterialHeader(), "two"}));
    EXPECT_EQ(Request([this] { module_->lamSketcher(); }), Lines{});
    store_.SetScriptPath("");
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }), Lines{kInteractive});
}

TEST_F(EntryPointsTest, DebugLogHoldsTheLatestRequestOnly)
{
    ScopedCwd cwd(dir_.Path());
    ASSERT_TRUE(cwd.Ok());
    env_.Set("CORVANE_DEBUG", "1");
    const std::string log = dir_.Path() + "/corvane.log";

    UseScript("Message('first')");
    const Lines first = Request([this] { module_->lamModeler(0); });
    EXPECT_EQ(Count(first, "first"), 1);
    EXPECT_EQ(Count(first, "Begin Corvane application (corvane.so)"), 1);
    EXPECT_NE(ReadFile(log).find("\nfirst\n"), std::string::npos);

    UseScript("Message('second')");
    const Lines second = Request([this] { module_->lamModeler(0); });
    EXPECT_EQ(Count(second, "second"), 1);
    EXPECT_EQ(Count(second, "Begin Corvane application (corvane.so)"), 1);
    EXPECT_EQ(Count(second, ModelerHeader()), 1);
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find("\nsecond\n"), std::string::npos);
    EXPECT_EQ(text.find("first"), std::string::npos);
    // The file holds exactly what the host was shown.
    std::string shown;
    for (const std::string &line : second)
        shown += line + "\n";
    EXPECT_EQ(text, shown);

    store_.SetScriptPath("");
    EXPECT_EQ(Count(Request([this] { module_->lamSketcher(); }), kInteractive), 1);
    EXPECT_EQ(ReadFile(log).find("second"), std::string::npos);
}

TEST_F(EntryPointsTest, WithoutDebugNoLogFileIsWritten)
{
    ScopedCwd cwd(dir_.Path());
    ASSERT_TRUE(cwd.Ok());
    EXPECT_EQ(Modify("Message('x')"), (Lines{ModelerHeader(), "x"}));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "/corvane.log"));
}

// The host calls an entry function from inside one of its callbacks: refused,
// and the running request goes on as if nothing happened.
TEST_F(EntryPointsTest, ACallFromInsideACallbackIsRefused)
{
    start_.laminates[0].plies = {{0.125f, 0.0f, 301, 2}, {0.25f, 45.0f, 301, 3}};
    UseScript("Message('reenter') AddPly{Material = 301, Thickness = 0.5, Angle = 0} Message('done')");
    const std::string other = Write("other.lua", "AddPly{Material = 302, Thickness = 1, Angle = 0}");
    store_.SetLineSink([&](const std::string &line) {
        if (line != "reenter")
            return;
        store_.SetScriptPath(other); // what a nested request would run
        module_->lamModeler(0);
        module_->lamModeler(1);
        module_->lamSketcher();
        module_->lamPlyMaterial();
        module_->lamSetup(nullptr);
    });
    const Lines lines = Request([this] { module_->lamModeler(0); });
    EXPECT_EQ(lines, (Lines{ModelerHeader(), "reenter", kBusy, kBusy, kBusy, kBusy, "done"}));
    ASSERT_EQ(store_.LaminateSaves().size(), 1u);
    EXPECT_EQ(store_.LaminateSaves()[0].plyCount, 3);
    EXPECT_EQ(store_.Calls(Slot::GetScriptPath), 1);
    EXPECT_TRUE(store_.PlyMaterialSaves().empty());

    store_.SetLineSink(nullptr);
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }), (Lines{"Corvane-Modeler script: " + other}));
    EXPECT_EQ(store_.LaminateSaves().size(), 1u);
}

// An exception out of a host callback ends the request with one line, also
// while the interpreter is open; the next requests run normally, in their own
// mode.
TEST_F(EntryPointsTest, AnExceptionEndsTheRequestAndTheNextOneRuns)
{
    struct Case
    {
        const char *name;
        const char *throwOn; // the line whose ShowMessage throws
        bool outOfMemory;
        int operation; // 0 modify, 2 ply material
        Lines before;  // the lines up to the exception; "@" stands for the header
        const char *report;
    };
    const Case cases[] = {
        {"before the script", "@", true, 0, {"@"}, "Corvane Modeler exception: out of memory."},
        {"while the interpreter is open", "Error running script", false, 0,
         {"@", "error: usage: Message(msg)", "Error running script"}, "unexpected Corvane Modeler exception."},
        {"ply material", "Error running script", true, 2, {"@", "error: usage: Message(msg)", "Error running script"},
         "Corvane (Ply Material Creation) exception: out of memory."},
        {"ply material, other", "@", false, 2, {"@"}, "unexpected Corvane (Ply Material Creation) exception."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UseScript("Message()");
        const std::string header = c.operation == 2 ? PlyMaterialHeader() : ModelerHeader();
        const std::string throwOn = std::string(c.throwOn) == "@" ? header : c.throwOn;
        store_.SetLineSink([&](const std::string &line) {
            if (line != throwOn)
                return;
            if (c.outOfMemory)
                throw std::bad_alloc();
            throw std::runtime_error("host failure");
        });
        const Lines lines = Request([&] { c.operation == 2 ? module_->lamPlyMaterial() : module_->lamModeler(0); });
        Lines expected;
        for (const std::string &line : c.before)
            expected.push_back(line == "@" ? header : line);
        expected.push_back(c.report);
        EXPECT_EQ(lines, expected);
        store_.SetLineSink(nullptr);

        // The other mode first: an interpreter left open would still be in the old one.
        const char *script = "Message(Mode())";
        if (c.operation == 2) {
            EXPECT_EQ(Modify(script), (Lines{ModelerHeader(), "LaminateModeling"}));
            EXPECT_EQ(PlyMaterial(script), (Lines{PlyMaterialHeader(), "PlyMaterialCreation"}));
        } else {
            EXPECT_EQ(PlyMaterial(script), (Lines{PlyMaterialHeader(), "PlyMaterialCreation"}));
            EXPECT_EQ(Modify(script), (Lines{ModelerHeader(), "LaminateModeling"}));
        }
        EXPECT_EQ(store_.LaminateSaves().size() + store_.PlyMaterialSaves().size(), 1u);
    }
}

// Lua turns an exception inside a script function into a failed run.
TEST_F(EntryPointsTest, AnExceptionInsideTheScriptFailsTheRun)
{
    UseScript("Message('throw') Message('never')");
    store_.SetLineSink([](const std::string &line) {
        if (line == "throw")
            throw std::bad_alloc();
    });
    // Running out of memory ends the request with the session's line, whatever layer it hit.
    EXPECT_EQ(Request([this] { module_->lamModeler(0); }),
              (Lines{ModelerHeader(), "throw", "Corvane Modeler exception: out of memory."}));
    EXPECT_TRUE(store_.LaminateSaves().empty());
}

// Not even the line that reports an exception may let one out to the host, and
// the session must not stay busy.
TEST_F(EntryPointsTest, AShowMessageThatAlwaysThrowsStaysInside)
{
    store_.SetLineSink([](const std::string &) { throw std::runtime_error("host failure"); });
    UseScript("Message('x')");
    EXPECT_NO_THROW(Request([this] { module_->lamModeler(0); }));
    EXPECT_EQ(store_.Transcript(), (Lines{ModelerHeader(), "unexpected Corvane Modeler exception."}));
    store_.SetScriptPath("");
    EXPECT_NO_THROW(Request([this] { module_->lamSketcher(); }));
    EXPECT_EQ(store_.Transcript(), (Lines{kInteractive, "unexpected Corvane Sketcher exception."}));

    store_.SetLineSink(nullptr);
    EXPECT_EQ(Modify("Message('x')"), (Lines{ModelerHeader(), "x"}));
}

} // namespace
