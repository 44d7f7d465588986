#pragma once

// corvane.so as a host holds it, and a fixture that runs requests through it
// against the host stand-in's store.

#include "host/lamcallbacks.h"
#include "host/testenv.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <dlfcn.h>

namespace LamHost {

inline void PrintTo(const HostPly &ply, std::ostream *out)
{
    *out << "{" << ply.thickness << ", " << ply.angle << ", " << ply.material << ", " << ply.color << "}";
}

} // namespace LamHost

// A loaded module and the entry functions its descriptor lists. The module is
// never closed: its session lives in a global, and a host keeps it loaded.
struct LoadedModule
{
    const ModuleDescriptor *descriptor = nullptr;
    const lamEntryTable *entries = nullptr;
    std::string error;
};

inline LoadedModule LoadModule(const std::string &path)
{
    LoadedModule module;
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        module.error = dlerror();
        return module;
    }
    using Init = const ModuleDescriptor *(*)();
    const auto init = reinterpret_cast<Init>(dlsym(handle, "ovra_dso_init"));
    if (!init) {
        module.error = "no ovra_dso_init in " + path;
        return module;
    }
    module.descriptor = init();
    module.entries = module.descriptor ? module.descriptor->entries : nullptr;
    return module;
}

// The module of this build, loaded once per process and set up with the
// stand-in's table, which serves whichever store is active. Null when it did
// not load.
inline const lamEntryTable *SharedModule()
{
    static const lamEntryTable *const entries = [] {
        const LoadedModule module = LoadModule(CORVANE_MODULE_PATH);
        if (module.entries)
            module.entries->lamSetup(LamHost::CallbackTable());
        return module.entries;
    }();
    return entries;
}

// A private copy of the module, loaded afresh from dir, so that no session
// exists in it yet (dlopen would hand back the loaded one for the same file).
inline LoadedModule FreshModule(const std::string &dir)
{
    static int copies = 0;
    const std::string path = dir + "/corvane-" + std::to_string(++copies) + ".so";
    std::filesystem::copy_file(CORVANE_MODULE_PATH, path);
    return LoadModule(path);
}

// Each test has its own store (made active), its own folder for scripts, and
// the environment variables the module reads unset.
class ModuleTest : public ::testing::Test
{
protected:
    ModuleTest()
        : store_(start_)
    {
        store_.Activate();
        env_.Unset("CORVANE_DEBUG");
        env_.Unset("OVRA_STB");
        // Interactive requests end at once for want of a display, as on a server.
        for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env_.Unset(display);
        scriptPath_ = dir_.Path() + "/script.lua";
    }

    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << CORVANE_MODULE_PATH; }

    // Writes a file in the test's folder; returns its path.
    std::string Write(const std::string &name, const std::string &text) const { return dir_.Write(name, text); }

    // Writes the script (always at scriptPath_) and has GetScriptPath answer it.
    void UseScript(const std::string &text)
    {
        Write("script.lua", text);
        store_.SetScriptPath(scriptPath_);
    }

    // One request on a store reset to start_ with fresh records; returns its transcript.
    template <class Call>
    const std::vector<std::string> &Request(Call call)
    {
        store_.Data() = start_;
        store_.ClearRecords();
        store_.BeginRequest();
        call();
        return store_.Transcript();
    }

    // The script, run by lamModeler(0), lamModeler(1) or lamPlyMaterial().
    const std::vector<std::string> &Modify(const std::string &script)
    {
        UseScript(script);
        return Request([this] { module_->lamModeler(0); });
    }
    const std::vector<std::string> &Create(const std::string &script)
    {
        UseScript(script);
        return Request([this] { module_->lamModeler(1); });
    }
    const std::vector<std::string> &PlyMaterial(const std::string &script)
    {
        UseScript(script);
        return Request([this] { module_->lamPlyMaterial(); });
    }

    std::string ModelerHeader() const { return "Corvane-Modeler script: " + scriptPath_; }
    std::string PlyMaterialHeader() const { return "Ply-Material-Creation script: " + scriptPath_; }

    // The plies of the only laminate save of the request (none: an empty list and a failure).
    std::vector<LamHost::HostPly> SavedPlies() const
    {
        const auto &saves = store_.LaminateSaves();
        EXPECT_EQ(saves.size(), 1u);
        return saves.size() == 1 ? saves[0].plies : std::vector<LamHost::HostPly>{};
    }

    const lamEntryTable *module_ = SharedModule();
    LamHost::StoreData start_ = LamHost::DemoStore(); // what the store holds when a request begins
    ScopedEnv env_;
    TempDir dir_;
    LamHost::Store store_;
    std::string scriptPath_;
};

using Lines = std::vector<std::string>;
