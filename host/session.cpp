#include "host/session.h"

#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "host/appcontext.h"
#include "host/hostmessage.h"
#include "host/module.h"
#include "host/sessiontesting.h"
#include "script/scriptapi.h"
#include "script/scriptmodule.h"
#include "util/logger.h"

#include <cstring>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void (*gRequestHook)() = nullptr;

// A script runs only from a regular file that opens for reading; anything
// else (a directory, a FIFO, a device) selects interactive mode.
bool IsReadableRegularFile(const char *path)
{
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

struct Texts
{
    const char *outOfMemory;
    const char *unexpected;
};

const Texts kModelerTexts = {"Corvane Modeler exception: out of memory.", "unexpected Corvane Modeler exception."};
const Texts kSketcherTexts = {"Corvane Sketcher exception: out of memory.", "unexpected Corvane Sketcher exception."};
const Texts kPlyMaterialTexts = {"Corvane (Ply Material Creation) exception: out of memory.",
                                 "unexpected Corvane (Ply Material Creation) exception."};

} // namespace

void SetSessionRequestHook(void (*hook)()) { gRequestHook = hook; }

struct Session::Impl
{
    explicit Impl(lamCallbacksImp *table) : callbacks(table) {}

    // Runs one request inside the guard that keeps exceptions from the host.
    template <typename Operation>
    void Run(Session &session, const Texts &texts, Operation operation)
    {
        if (running) {
            ShowHostMessage(callbacks, "Corvane is busy: another request is running.");
            return;
        }
        running = true;
        try {
            if (session.Prepare()) {
                if (gRequestHook)
                    gRequestHook();
                operation(*module);
            }
            session.Cleanup();
        } catch (const std::bad_alloc &) {
            Abandon();
            ShowHostMessage(callbacks, texts.outOfMemory);
        } catch (...) {
            Abandon();
            ShowHostMessage(callbacks, texts.unexpected);
        }
        running = false;
    }

    // After an exception: nothing of the request may call the host once the
    // entry function has returned. The objects go with the next request.
    void Abandon() noexcept
    {
        ScriptApi::Close();
        if (context)
            context->DetachLog();
    }

    lamCallbacksImp *callbacks;
    std::unique_ptr<Module> module;
    std::unique_ptr<AppContext> context;
    bool running = false;
};

Session::Session(lamCallbacksImp *table)
    : impl_(std::make_unique<Impl>(table))
{
}

Session::~Session()
{
    impl_->module.reset();
    impl_->context.reset();
}

const char *Session::Name() const { return "corvanes"; }
const char *Session::Label() const { return "Corvane Modeler v11.1"; }
const char *Session::Version() const { return "v11.1"; }

bool Session::Prepare()
{
    lamCallbacksImp *table = impl_->callbacks;
    if (!table)
        return false;
    char path[lamScriptPathBufferSize] = {};
    const bool scriptMode = table->GetScriptPath && table->GetScriptPath(path) == 0
                            && strnlen(path, sizeof path) >= 1 && strnlen(path, sizeof path) < sizeof path
                            && IsReadableRegularFile(path);
    Cleanup();
    if (scriptMode) {
        impl_->context = std::make_unique<AppContext>(table);
        impl_->module = std::make_unique<ScriptModule>(impl_->context.get(), path, Version());
    } else {
        impl_->context = std::make_unique<GuiAppContext>(table);
        impl_->module = std::make_unique<GuiModule>(impl_->context.get(), Version());
    }
    return impl_->context && impl_->module;
}

void Session::Cleanup()
{
    if (impl_->context)
        impl_->context->SuspendLog();
    impl_->module.reset();
    impl_->context.reset();
}

void Session::Modeler(bool create)
{
    impl_->Run(*this, kModelerTexts, [create](Module &module) { module.Modeler(create); });
}

void Session::Sketcher()
{
    impl_->Run(*this, kSketcherTexts, [](Module &module) { module.Sketcher(); });
}

void Session::CreatePlyMaterial()
{
    impl_->Run(*this, kPlyMaterialTexts, [](Module &module) { module.CreatePlyMaterial(); });
}
