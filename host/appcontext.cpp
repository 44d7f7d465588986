#include "host/appcontext.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/plymaterial.h"
#include "core/plysimple.h"
#include "core/unitsystem.h"
#include "host/colormanager.h"
#include "host/helpsystem.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"
#include "host/plymaterialsaver.h"
#include "util/logdest.h"
#include "util/logger.h"
#include "util/logline.h"

#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <QTranslator>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <unordered_set>
#include <vector>

namespace {

const char kListWindow[] = "ListWindow";
const char kLogFile[] = "corvane.log";

// The application object keeps a reference to its argument count for its whole life.
int gArgc = 1;
char gArg0[] = "corvane";
char *gArgv[] = {gArg0, nullptr};

void Log(const std::string &line) { Tuvo::Logger::Root()->Log(line); }

// Has the list ask the host for the material of each stored ply (groups
// entered; a link repeats plies met in its group), each id once and in ply
// order: an id the host does not know would otherwise be asked for again at
// every ply that has it.
void AskMaterials(const PlyGroup &group, MaterialList &materials, std::unordered_set<int> &asked)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if (const auto *ply = dynamic_cast<const PlySimple *>(it->Get())) {
            if (asked.insert(ply->Material()).second)
                materials.Add(ply->Material());
        } else if (const auto *inner = dynamic_cast<const PlyGroup *>(it->Get())) {
            AskMaterials(*inner, materials, asked);
        }
    }
}

} // namespace

struct AppContext::Impl
{
    explicit Impl(lamCallbacksImp *table) : callbacks(table) {}

    lamCallbacksImp *callbacks;
    PlyMaterial plyMaterial;
    UnitSystem units;
    std::unique_ptr<ColorManager> colorManager;
    std::unique_ptr<MaterialList> materialList;
    std::unique_ptr<LaminateManager> laminateManager;
    std::unique_ptr<PlyMaterialSaver> plyMaterialSaver;
    bool logActive = false;
    bool debug = false;
    QCoreApplication *application = nullptr;
    bool ownsApplication = false;
    std::unique_ptr<QTranslator> translator;
    std::ofstream logFile;
    Tuvo::Logger *listWindow = nullptr; // this request's child of the root logger

    int UnitCode() const
    {
        return callbacks && callbacks->GetUnitSystem ? callbacks->GetUnitSystem() : 0;
    }

    void OpenLogFile() { logFile.open(kLogFile, std::ios::out | std::ios::trunc); }
};

AppContext::AppContext(lamCallbacksImp *callbacks)
    : impl_(std::make_unique<Impl>(callbacks))
{
}

AppContext::~AppContext()
{
    DetachLog();
    if (impl_->translator && impl_->application)
        QCoreApplication::removeTranslator(impl_->translator.get());
    impl_->translator.reset();
    if (impl_->ownsApplication)
        delete impl_->application;
    impl_->logFile.close();
    impl_->plyMaterialSaver.reset();
    impl_->laminateManager.reset();
    impl_->materialList.reset();
    impl_->colorManager.reset();
}

bool AppContext::CreateApplication(bool gui)
{
    if (impl_->application)
        return false;
    if (QCoreApplication *existing = QCoreApplication::instance()) {
        impl_->application = existing;
        impl_->ownsApplication = false;
        return true;
    }
    // The toolkit sets the process's C locale from the environment; the host's
    // number formatting (and Lua's) must not change under it.
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    if (gui)
        impl_->application = new QApplication(gArgc, gArgv);
    else
        impl_->application = new QCoreApplication(gArgc, gArgv);
    std::setlocale(LC_ALL, locale.c_str());
    impl_->ownsApplication = true;
    return true;
}

const char *AppContext::LanguageFileCode(int language)
{
    switch (language) {
    case 1: return "fr";
    case 2: return "ge";
    case 3: return "it";
    case 4: return "sp";
    case 6: return "ja";
    case 7: return "ko";
    case 9: return "ch";
    case 10: return "ta";
    case 99: return "chef";
    default: return "en";
    }
}

const char *AppContext::HelpLanguage(int language)
{
    switch (language) {
    case 1: return "French";
    case 6: return "Japanese";
    default: return "English";
    }
}

void AppContext::Initialize()
{
    const int language = GetLanguage();
    const std::string fileName = std::string("corvane_") + LanguageFileCode(language) + ".qm";
    const char *directory = std::getenv("OVRA_STB");
    if (impl_->application && !impl_->translator) {
        impl_->translator = std::make_unique<QTranslator>();
        // A missing file leaves the texts untranslated, unreported.
        if (impl_->translator->load(QString::fromStdString(fileName),
                                    QString::fromLocal8Bit(directory ? directory : ".")))
            QCoreApplication::installTranslator(impl_->translator.get());
    }

    Tuvo::Logger *root = Tuvo::Logger::Root();
    root->SetDefaultLevel(0);
    root->SetThreshold(0);

    auto listWindow = std::make_unique<Tuvo::Logger>(kListWindow);
    impl_->debug = std::getenv("CORVANE_DEBUG") != nullptr;
    if (impl_->debug) {
        impl_->OpenLogFile();
        listWindow->AddDestination(new Tuvo::StreamLogDest(&impl_->logFile, false));
        listWindow->SetThreshold(0);
    } else {
        listWindow->SetThreshold(20);
    }
    listWindow->AddDestination(new Tuvo::ForwardLogDest(impl_->callbacks ? impl_->callbacks->ShowMessage : nullptr));
    root->RemoveChild(kListWindow); // an earlier request's, if it is still attached
    Tuvo::Logger *attached = listWindow.get();
    root->AddChild(listWindow.release()); // the root deletes it if this runs out of memory
    impl_->listWindow = attached;

    Log("Begin Corvane application (corvane.so)");
    Log("language file is " + fileName);
    HelpSystem *help = HelpSystem::Instance();
    if (help->Init(HelpLanguage(language)) != 0)
        Log(help->GetLastError());
}

void AppContext::DetachLog()
{
    Tuvo::Logger *root = Tuvo::Logger::Root();
    if (impl_->listWindow && root->GetChild(kListWindow) == impl_->listWindow)
        root->RemoveChild(kListWindow);
    impl_->listWindow = nullptr;
}

void AppContext::ResumeLog()
{
    if (impl_->debug && !impl_->logFile.is_open())
        impl_->OpenLogFile();
    impl_->logActive = true;
}

void AppContext::SuspendLog()
{
    if (impl_->logActive && impl_->debug && impl_->logFile.is_open()) {
        impl_->logFile.flush();
        impl_->logFile.close();
    }
    impl_->logActive = false;
}

void AppContext::ReportError(std::string title, std::string message)
{
    const QByteArray context = QByteArray::fromStdString(title);
    const std::string translatedTitle = QCoreApplication::translate(context.constData(), title.c_str()).toStdString();
    const std::string translatedMessage =
        QCoreApplication::translate(context.constData(), message.c_str()).toStdString();
    Tuvo::Logger *root = Tuvo::Logger::Root();
    root->Log(20, "INITIALIZATION ERROR: " + translatedTitle);
    root->Log(20, translatedMessage);
}

bool AppContext::LaminateInit(bool create)
{
    Log("begin LaminateInit");
    lamCallbacksImp empty{};
    const lamCallbacksImp &host = impl_->callbacks ? *impl_->callbacks : empty;
    impl_->units.SetCode(impl_->UnitCode());

    impl_->colorManager.reset(); // the old one goes before the new one reads the host
    impl_->colorManager = std::make_unique<ColorManager>(host.GetColorCount, host.GetColorIDs, host.GetColor);
    LogLine("Color Manager is ready: there are %5d colors.", impl_->colorManager->Count());

    // The laminate manager's layup manager points at the material list: replace it first.
    impl_->laminateManager.reset();
    impl_->materialList = std::make_unique<MaterialList>(host.GetMaterial, host.SelectMaterial);
    impl_->laminateManager =
        std::make_unique<LaminateManager>(host.GetCurrentLaminate, host.GetCurrentLaminatePlies, host.SaveLaminate,
                                          impl_->materialList.get(), impl_->units);
    if (!create) {
        std::string error;
        if (!impl_->laminateManager->LoadCurrentLaminate(error)) {
            ReportError("Reading Laminate definition", error);
            return false;
        }
        std::unordered_set<int> asked;
        AskMaterials(impl_->laminateManager->CurrentLaminate().RootGroup(), *impl_->materialList, asked);
    }
    ResumeLog();
    return true;
}

bool AppContext::PlyMaterialInit()
{
    lamCallbacksImp empty{};
    const lamCallbacksImp &host = impl_->callbacks ? *impl_->callbacks : empty;
    impl_->units.SetCode(impl_->UnitCode());
    Log("AppContext::PlyMaterialInit begin");
    impl_->materialList = std::make_unique<MaterialList>(host.GetMaterial, host.SelectMaterial);
    impl_->plyMaterialSaver = std::make_unique<PlyMaterialSaver>(host.SavePlyMaterial);
    impl_->plyMaterial.SetDefaults(impl_->units);
    Log("AppContext::PlyMaterialInit done");
    ResumeLog();
    return true;
}

bool AppContext::SaveLaminate(std::string &error)
{
    Log("Begin SaveLaminate...");
    const bool saved = impl_->laminateManager && impl_->laminateManager->SaveLaminate(error);
    Log("End SaveLaminate.");
    return saved;
}

bool AppContext::SavePlyMaterial(std::string &error)
{
    Log("Begin AppContext::SavePlyMaterial");
    return impl_->plyMaterialSaver && impl_->plyMaterialSaver->Save(impl_->plyMaterial, error);
}

Laminate &AppContext::GetLaminate() { return impl_->laminateManager->CurrentLaminate(); }
PlyMaterial &AppContext::GetPlyMaterial() { return impl_->plyMaterial; }
ColorManager *AppContext::GetColorManager() { return impl_->colorManager.get(); }
MaterialList *AppContext::GetMaterialList() { return impl_->materialList.get(); }
LaminateManager *AppContext::GetLaminateManager() { return impl_->laminateManager.get(); }

LayupManager *AppContext::GetLayupManager()
{
    return impl_->laminateManager ? impl_->laminateManager->GetLayupManager() : nullptr;
}

PlyMaterialSaver *AppContext::GetPlyMaterialSaver() { return impl_->plyMaterialSaver.get(); }
UnitSystem &AppContext::GetUnits() { return impl_->units; }
QCoreApplication *AppContext::GetApplication() { return impl_->application; }
bool AppContext::OwnsApplication() const { return impl_->ownsApplication; }

int AppContext::GetLanguage() const
{
    return impl_->callbacks && impl_->callbacks->GetLanguage ? impl_->callbacks->GetLanguage() : 0;
}

lamCallbacksImp *AppContext::Callbacks() const { return impl_->callbacks; }
bool AppContext::IsDebug() const { return impl_->debug; }
