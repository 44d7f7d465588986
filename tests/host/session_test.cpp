// Session, used directly: its texts, a session without a table, and the
// exception guard of every operation (through the test seam and through
// throwing host callbacks).

#include "host/session.h"

#include "host/sessiontesting.h"
#include "host/testenv.h"
#include "tools/lamhost/store.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using LamHost::Slot;
using Lines = std::vector<std::string>;

class SessionTest : public ::testing::Test
{
protected:
    SessionTest()
        : store_(LamHost::DemoStore())
    {
        store_.Activate();
        env_.Unset("CORVANE_DEBUG");
        script_ = dir_.Write("script.lua", "AddPly{Material = 301, Thickness = 0.5, Angle = 0}");
        store_.SetScriptPath(script_);
    }
    ~SessionTest() override { SetSessionRequestHook(nullptr); }

    template <class Call>
    const Lines &Request(Call call)
    {
        store_.Data() = LamHost::DemoStore(); // what earlier requests saved is gone
        store_.ClearRecords();
        store_.BeginRequest();
        call();
        return store_.Transcript();
    }

    // A normal modify request: the script's ply is added and saved.
    void ExpectANormalRequest(Session &session)
    {
        EXPECT_EQ(Request([&] { session.Modeler(false); }), Lines{"Corvane-Modeler script: " + script_});
        ASSERT_EQ(store_.LaminateSaves().size(), 1u);
        EXPECT_EQ(store_.LaminateSaves()[0].plyCount, 10);
    }

    // After the request has returned, nothing of it may reach the host.
    void ExpectNoLateLines()
    {
        const size_t before = store_.Transcript().size();
        Tuvo::Logger::Root()->Log(20, "late line");
        EXPECT_EQ(store_.Transcript().size(), before);
    }

    ScopedEnv env_;
    TempDir dir_;
    LamHost::Store store_;
    std::string script_;
};

TEST_F(SessionTest, Texts)
{
    const Session session;
    EXPECT_STREQ(session.Name(), "corvanes");
    EXPECT_STREQ(session.Label(), "Corvane Modeler v11.1");
    EXPECT_STREQ(session.Version(), "v11.1");
}

TEST_F(SessionTest, WithoutATableNothingHappens)
{
    Session session;
    Request([&] {
        session.Modeler(true);
        session.Modeler(false);
        session.Sketcher();
        session.CreatePlyMaterial();
    });
    for (int slot = 0; slot < LamHost::kSlotCount; ++slot)
        EXPECT_EQ(store_.Calls(static_cast<Slot>(slot)), 0);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(Tuvo::Logger::Root()->GetChild("ListWindow"), nullptr);
}

TEST_F(SessionTest, ARequestLeavesNoApplicationAndNoLogger)
{
    Session session(LamHost::CallbackTable());
    ExpectANormalRequest(session);
    ExpectNoLateLines();
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(Tuvo::Logger::Root()->GetChild("ListWindow"), nullptr);
}

enum class Thrown { OutOfMemory, Standard, Other };
Thrown gThrown = Thrown::OutOfMemory;

void Throw()
{
    switch (gThrown) {
    case Thrown::OutOfMemory: throw std::bad_alloc();
    case Thrown::Standard: throw std::runtime_error("failure");
    case Thrown::Other: throw 42;
    }
}

TEST_F(SessionTest, EveryOperationReportsAnExceptionInOneLine)
{
    struct Case
    {
        int operation; // 0 modeler, 1 sketcher, 2 ply material
        Thrown thrown;
        const char *line;
    };
    const Case cases[] = {
        {0, Thrown::OutOfMemory, "Corvane Modeler exception: out of memory."},
        {0, Thrown::Standard, "unexpected Corvane Modeler exception."},
        {0, Thrown::Other, "unexpected Corvane Modeler exception."},
        {1, Thrown::OutOfMemory, "Corvane Sketcher exception: out of memory."},
        {1, Thrown::Other, "unexpected Corvane Sketcher exception."},
        {2, Thrown::OutOfMemory, "Corvane (Ply Material Creation) exception: out of memory."},
        {2, Thrown::Standard, "unexpected Corvane (Ply Material Creation) exception."},
    };
    Session session(LamHost::CallbackTable());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        gThrown = c.thrown;
        SetSessionRequestHook(Throw);
        const Lines lines = Request([&] {
            if (c.operation == 0)
                session.Modeler(false);
            else if (c.operation == 1)
                session.Sketcher();
            else
                session.CreatePlyMaterial();
        });
        EXPECT_EQ(lines, Lines{c.line});
        EXPECT_TRUE(store_.LaminateSaves().empty());
        SetSessionRequestHook(nullptr);
        ExpectANormalRequest(session);
    }
}

// The abandoned request's objects stay with the session until the next
// request or the session's end (the leak checker sees the latter).
TEST_F(SessionTest, ASessionEndedAfterAnExceptionReleasesTheRequest)
{
    Session session(LamHost::CallbackTable());
    gThrown = Thrown::Standard;
    SetSessionRequestHook(Throw);
    EXPECT_EQ(Request([&] { session.CreatePlyMaterial(); }),
              Lines{"unexpected Corvane (Ply Material Creation) exception."});
}

int ThrowingGetCurrentLaminate(char *, int *, int *, int *, float *, float *, float *, double *, double *, double *,
                               int *)
{
    throw std::bad_alloc();
}

std::string gThrowOn;
void ThrowingShowMessage(const char *line)
{
    LamHost::CallbackTable()->ShowMessage(line);
    if (line == gThrowOn)
        throw std::runtime_error("host failure");
}

// Exceptions out of the host's own callbacks, once the request's logger is
// attached and while the interpreter is open: after the call has returned
// no line reaches the host, and the next request runs normally.
TEST_F(SessionTest, NoHostCallbackAfterAnException)
{
    static lamCallbacksImp table = *LamHost::CallbackTable();
    table.GetCurrentLaminate = ThrowingGetCurrentLaminate;
    Session loadFails(&table);
    EXPECT_EQ(Request([&] { loadFails.Modeler(false); }), Lines{"Corvane Modeler exception: out of memory."});
    ExpectNoLateLines();

    static lamCallbacksImp showFails = *LamHost::CallbackTable();
    showFails.ShowMessage = ThrowingShowMessage;
    Session session(&showFails);
    gThrowOn = "Error running script";
    store_.SetScriptPath(dir_.Write("failing.lua", "Message('a') Delete(1)"));
    EXPECT_EQ(Request([&] { session.Modeler(false); }),
              (Lines{"Corvane-Modeler script: " + dir_.Path() + "/failing.lua", "a", "error: usage: Delete()",
                     "Error running script", "unexpected Corvane Modeler exception."}));
    ExpectNoLateLines();

    // An interpreter left open would still be in laminate mode.
    gThrowOn.clear();
    const std::string mode = dir_.Write("mode.lua", "Message(Mode())");
    store_.SetScriptPath(mode);
    EXPECT_EQ(Request([&] { session.CreatePlyMaterial(); }),
              (Lines{"Ply-Material-Creation script: " + mode, "PlyMaterialCreation"}));
    store_.SetScriptPath(script_);
    ExpectANormalRequest(session);
    ExpectNoLateLines();
}

} // namespace
