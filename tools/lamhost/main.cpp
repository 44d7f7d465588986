// lamhost: the host stand-in. Loads the module with dlopen, hands it the
// callback table of a store and runs the operations of the command line.

#include "host/lamcallbacks.h"
#include "tools/lamhost/commandline.h"
#include "tools/lamhost/inputfile.h"
#include "tools/lamhost/savereport.h"
#include "tools/lamhost/store.h"
#include "tools/lamhost/storejson.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <dlfcn.h>

namespace {

constexpr int kFailed = 2;
constexpr const char *kModuleFile = "corvane.so";

int Fail(const std::string &message)
{
    std::cerr << "lamhost: " << message << std::endl;
    return kFailed;
}

// The module beside the program: in its folder (an installed layout), else in
// the build tree's root two folders above it (build/<tree>/tools/lamhost).
bool DefaultModulePath(std::string &path, std::string &error)
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        error = "cannot find lamhost's own folder (" + ec.message() + "); give --module PATH";
        return false;
    }
    const std::filesystem::path dir = exe.parent_path();
    const std::filesystem::path candidates[] = {
        dir / kModuleFile,
        (dir / ".." / ".." / kModuleFile).lexically_normal(),
    };
    for (const std::filesystem::path &c : candidates) {
        if (std::filesystem::exists(c, ec)) {
            path = c.string();
            return true;
        }
    }
    error = std::string("no ") + kModuleFile + " beside lamhost (looked for " +
            candidates[0].string() + " and " + candidates[1].string() + "); give --module PATH";
    return false;
}

// Opens the module and checks its descriptor. False with an error text; the
// module stays loaded for the life of the process, as a host keeps it (the
// module keeps its session in a global that must stay reachable).
bool LoadModule(std::string path, const lamEntryTable *&entries, std::string &error)
{
    // Without a slash dlopen would search the library path, not this folder.
    if (path.find('/') == std::string::npos)
        path = "./" + path;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *text = dlerror();
        // dlerror names the file.
        error = "cannot load module: " + std::string(text ? text : path + ": unknown error");
        return false;
    }
    dlerror();
    void *symbol = dlsym(handle, "ovra_dso_init");
    if (!symbol) {
        const char *text = dlerror();
        error = "module has no ovra_dso_init: " + std::string(text ? text : path);
        return false;
    }
    using InitFn = const ModuleDescriptor *(*)();
    const ModuleDescriptor *d = reinterpret_cast<InitFn>(symbol)();
    std::string fault;
    if (!d)
        fault = "ovra_dso_init returned null";
    else if (d->first != 1 || d->second != 0)
        fault = "expected the integers 1 and 0, found " + std::to_string(d->first) + " and " +
                std::to_string(d->second);
    else if (!d->entries)
        fault = "no entry table";
    else if (!d->entries->lamSetup || !d->entries->lamModeler || !d->entries->lamSketcher ||
             !d->entries->lamPlyMaterial)
        fault = "an entry function is null";
    if (!fault.empty()) {
        error = "bad module descriptor in " + path + ": " + fault;
        return false;
    }
    entries = d->entries;
    return true;
}

void Run(const lamEntryTable &entries, LamHost::Operation operation)
{
    switch (operation) {
    case LamHost::Operation::Create: entries.lamModeler(1); break;
    case LamHost::Operation::Modify: entries.lamModeler(0); break;
    case LamHost::Operation::Sketch: entries.lamSketcher(); break;
    case LamHost::Operation::PlyMaterial: entries.lamPlyMaterial(); break;
    }
}

} // namespace

int main(int argc, char **argv)
{
    LamHost::CommandLine cmd;
    std::string error;
    if (!LamHost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), cmd, error)) {
        Fail(error);
        std::cerr << "Try 'lamhost --help'." << std::endl;
        return kFailed;
    }
    if (cmd.help) {
        std::cout << LamHost::Usage();
        return 0;
    }

    LamHost::StoreData data = LamHost::DemoStore();
    if (!cmd.store.empty() && !LamHost::LoadStoreFile(cmd.store, data, error))
        return Fail("cannot read the store: " + error);
    // A script path that names no file would make the module run interactively.
    if (cmd.script && !LamHost::CheckReadableFile(*cmd.script, error))
        return Fail("cannot read the script: " + *cmd.script + ": " + error);
    if (cmd.language)
        data.language = *cmd.language;
    if (cmd.unitSystem)
        data.unitSystem = *cmd.unitSystem;

    std::string modulePath = cmd.module;
    if (modulePath.empty() && !DefaultModulePath(modulePath, error))
        return Fail(error);
    const lamEntryTable *entries = nullptr;
    if (!LoadModule(modulePath, entries, error))
        return Fail(error);

    LamHost::Store store(std::move(data));
    if (cmd.script)
        store.SetScriptPath(*cmd.script);
    for (const LamHost::SlotFault &f : cmd.faults)
        store.SetFault(f.slot, f.fault);
    for (const LamHost::QueuedPick &p : cmd.picks)
        store.QueuePickFor(p.kind, p.id);
    // Flushed line by line, so the lines stand in order with anything the
    // module writes itself and survive a crash of the module.
    store.SetLineSink([](const std::string &line) {
        std::cout << line << '\n';
        std::cout.flush();
        std::fflush(stdout);
    });
    store.Activate();

    entries->lamSetup(LamHost::CallbackTable());
    for (LamHost::Operation op : cmd.operations) {
        store.BeginRequest();
        Run(*entries, op);
    }

    std::cout << '\n';
    LamHost::PrintSaves(std::cout, store);
    std::cout.flush();

    if (!cmd.saveStore.empty() && !LamHost::SaveStoreFile(cmd.saveStore, store.Data(), error))
        return Fail(error);
    return 0;
}
