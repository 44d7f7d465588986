#include "script/scriptmodule.h"

#include "host/appcontext.h"
#include "script/scriptapi.h"
#include "util/logger.h"

struct ScriptModule::Impl
{
    bool modelerMode = true;
    std::string scriptPath;
    std::string version;
};

ScriptModule::ScriptModule(AppContext *context, const char *scriptPath, std::string version)
    : Module(context)
    , impl_(std::make_unique<Impl>())
{
    impl_->scriptPath = scriptPath ? scriptPath : "";
    impl_->version = std::move(version);
}

ScriptModule::~ScriptModule() = default;

void ScriptModule::Modeler(bool create)
{
    impl_->modelerMode = true;
    if (context_->CreateApplication(false))
        context_->Initialize();
    if (!context_->LaminateInit(create) || !RunScript())
        return;
    std::string error;
    if (!context_->SaveLaminate(error))
        context_->ReportError("Saving Laminate", error);
}

void ScriptModule::Sketcher() {}

void ScriptModule::CreatePlyMaterial()
{
    impl_->modelerMode = false;
    if (context_->CreateApplication(false))
        context_->Initialize();
    if (!context_->PlyMaterialInit() || !RunScript())
        return;
    std::string error;
    if (!context_->SavePlyMaterial(error))
        context_->ReportError("Creating Ply Material", error);
}

bool ScriptModule::RunScript()
{
    Tuvo::Logger::Root()->Log(20, (impl_->modelerMode ? "Corvane-Modeler script: " : "Ply-Material-Creation script: ")
                                      + impl_->scriptPath);
    ScriptApi::Open(context_, impl_->modelerMode);
    ScriptApi::SetScriptVersion(impl_->version);
    ScriptApi::RunFile(impl_->scriptPath.c_str());
    ScriptApi::Close();
    return !ScriptApi::IsCancelled();
}
