#include "gui/guimodule.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "gui/guiappcontext.h"
#include "gui/guidialogs.h"
#include "gui/guimoduletesting.h"
#include "gui/splash.h"
#include "host/appcontext.h"
#include "util/logger.h"
#include "util/trace.h"

#include <QApplication>

namespace {

// Shown once per process for each group of operations.
bool gLaminateSplashShown = false;
bool gPlyMaterialSplashShown = false;
GuiDialogFactory gDialogFactory;

const char kNoDisplay[] = "Interactive mode needs a display (DISPLAY or WAYLAND_DISPLAY): nothing was changed.";
const char kNoWidgets[] = "Interactive mode needs a widget application, and the host's application has none: "
                          "nothing was changed.";

bool &SplashShown(int mode) { return mode == GuiInitPlyMaterial ? gPlyMaterialSplashShown : gLaminateSplashShown; }

std::unique_ptr<GuiDialog> MakeDialog(GuiDialogKind kind, AppContext *context, bool create)
{
    return gDialogFactory ? gDialogFactory(kind, context, create) : CreateGuiDialog(kind, context, create);
}

} // namespace

void SetGuiDialogFactory(GuiDialogFactory factory) { gDialogFactory = std::move(factory); }

void ResetSplashFlags() { gLaminateSplashShown = gPlyMaterialSplashShown = false; }

GuiModule::GuiModule(AppContext *context, std::string version)
    : Module(context), version_(std::move(version))
{
}

bool GuiModule::Init(int mode, std::unique_ptr<Splash> &splash, const char *logText)
{
    if (context_->CreateApplication(true) && context_->OwnsApplication() && !SplashShown(mode)) {
        splash.reset(Splash::Create(QT_TRANSLATE_NOOP("Splash", "Corvane Modeler"), 300, 200));
        splash->Message("initializing Corvane Modeler... " + version_);
    }
    context_->Initialize();
    // Without a widget application no dialog can open: the request ends here.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        Tuvo::Logger::Root()->Log(20, QCoreApplication::instance() ? kNoWidgets : kNoDisplay);
        return false;
    }
    TraceLine(logText);
    switch (mode) {
    case GuiInitCreateLaminate: return context_->LaminateInit(true);
    case GuiInitCurrentLaminate: return context_->LaminateInit(false);
    case GuiInitPlyMaterial: return context_->PlyMaterialInit();
    default: return false;
    }
}

namespace {

// Builds the operation's dialog after a successful Init and keeps the splash
// Init made until the operation ends; null when Init failed. On every way out
// but the dialog's start, an exception included, the splash goes at once.
std::unique_ptr<GuiDialog> StartDialog(GuiModule &module, AppContext *context, int mode, GuiDialogKind kind,
                                       bool create, const char *logText, SplashRef &keep)
{
    std::unique_ptr<Splash> splash;
    if (!module.Init(mode, splash, logText))
        return nullptr;
    std::unique_ptr<GuiDialog> dialog = MakeDialog(kind, context, create);
    if (splash) {
        SplashShown(mode) = true;
        splash->Raise();
        // The handles own the splash from the first one on.
        const SplashRef first = splash->CloseLater(2);
        splash.release();
        keep = first;
    }
    return dialog;
}

} // namespace

void GuiModule::Modeler(bool create)
{
    SplashRef splash;
    const int mode = create ? GuiInitCreateLaminate : GuiInitCurrentLaminate;
    if (auto dialog = StartDialog(*this, context_, mode, GuiDialogKind::Layup, create, "in GuiModule::Modeler",
                                  splash)) {
        bool again = false;
        bool saved = true;
        do {
            again = false;
            saved = true;
            const bool accepted = dialog->Exec(&again) == 1;
            const Laminate &laminate = context_->GetLaminate();
            const bool modified = accepted && laminate.IsModified();
            if (!modified || (create && laminate.RootGroup().CountPlies() == 0)) {
                TraceLine("Laminate has not changed, not saving.");
                continue;
            }
            TraceLine("GuiModule::Modeler the laminate has changed, saving...");
            std::string error;
            saved = context_->SaveLaminate(error);
            if (saved)
                create = false;
            else
                context_->ReportError(QT_TRANSLATE_NOOP("Saving Laminate Definition", "Saving Laminate Definition"),
                                      error);
        } while (again || !saved);
    }
    TraceLine("GuiModule::Modeler done");
}

void GuiModule::Sketcher()
{
    SplashRef splash;
    if (auto dialog = StartDialog(*this, context_, GuiInitCurrentLaminate, GuiDialogKind::Sketcher, false,
                                  "in GuiModule::Sketcher", splash))
        dialog->Exec(nullptr);
    TraceLine("GuiModule::Sketcher done");
}

void GuiModule::CreatePlyMaterial()
{
    SplashRef splash;
    if (auto dialog = StartDialog(*this, context_, GuiInitPlyMaterial, GuiDialogKind::PlyMaterial, false,
                                  "in GuiModule::CreatePlyMaterial", splash)) {
        for (;;) {
            if (dialog->Exec(nullptr) != 1) {
                TraceLine("PlyMaterial cancelled, not saving.");
                break;
            }
            TraceLine("lamMain::CreatePlyMaterial saving...");
            std::string error;
            if (context_->SavePlyMaterial(error))
                break;
            context_->ReportError(QT_TRANSLATE_NOOP("Creating Ply Material", "Creating Ply Material"), error);
        }
    }
    TraceLine("GuiModule::CreatePlyMaterial done");
}
