#pragma once

#include "host/lamcallbacks.h"

#include <memory>
#include <string>

class ColorManager;
class Laminate;
class LaminateManager;
class LayupManager;
class MaterialList;
class PlyMaterial;
class PlyMaterialSaver;
class QCoreApplication;
class UnitSystem;

// The context of one host request: the host's callbacks, the toolkit
// application, translations and log set-up, and the objects the request works
// on, which form engines and script targets reach only through the accessors.
// Calling order: CreateApplication, Initialize, LaminateInit or
// PlyMaterialInit, the work, SaveLaminate or SavePlyMaterial; ReportError on
// any failure; SuspendLog, then deletion.
class AppContext
{
public:
    // callbacks may be null (every host service then fails); it must outlive the context.
    explicit AppContext(lamCallbacksImp *callbacks);
    // Detaches this request's "ListWindow" logger, deletes an owned application
    // object and the per-request objects.
    virtual ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    // Uses the process's application object when there is one; otherwise creates
    // and owns one: a widget application for interactive requests (gui), a core
    // application for scripts, which must also run without a display. False when
    // this context already has one.
    virtual bool CreateApplication(bool gui);
    // Translations for the host's language, the root logger's levels, and this
    // request's "ListWindow" logger in place of an earlier request's; the help
    // system gets the language.
    virtual void Initialize();
    virtual void ResumeLog();
    virtual void SuspendLog();
    // Two lines at level 20: "INITIALIZATION ERROR: " + title, then message,
    // both translated with the title as context.
    virtual void ReportError(std::string title, std::string message);
    // Detaches this request's "ListWindow" logger, so that no line of it reaches
    // the host any more (after a failure that ends the request early).
    void DetachLog();

    // Reads the units and builds the colour manager, material list and laminate
    // manager; when not creating, loads the host's current laminate. False (after
    // ReportError) when the load failed.
    bool LaminateInit(bool create);
    // Reads the units, builds the material list and the ply material saver and
    // resets the ply material to its defaults. Always true.
    bool PlyMaterialInit();
    bool SaveLaminate(std::string &error);
    bool SavePlyMaterial(std::string &error);

    // The laminate accessors need LaminateInit; the others are valid from the
    // step that builds their object (null before).
    Laminate &GetLaminate();
    PlyMaterial &GetPlyMaterial();
    ColorManager *GetColorManager();
    MaterialList *GetMaterialList();
    LaminateManager *GetLaminateManager();
    LayupManager *GetLayupManager();
    PlyMaterialSaver *GetPlyMaterialSaver();
    UnitSystem &GetUnits();
    QCoreApplication *GetApplication();
    // True when this context created the application object (and deletes it).
    bool OwnsApplication() const;
    // The host's language code, asked anew at each call (0 without the callback).
    int GetLanguage() const;
    lamCallbacksImp *Callbacks() const;
    bool IsDebug() const;

    // Translation file code and help language of a host language code.
    static const char *LanguageFileCode(int language);
    static const char *HelpLanguage(int language);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
