#pragma once

#include <memory>
#include <string>

class AppContext;
class HalpinTsaiFormView;

// What PlyMaterialFormEngine needs of the ply material dialog. Menu indexes
// are the record's theory codes minus one; names are the host's 8-bit texts.
class PlyMaterialFormView
{
public:
    virtual ~PlyMaterialFormView() = default;

    // Fills the menus, initializes the engine and runs the dialog modally; 1 accepted, 0 rejected.
    virtual int Exec() = 0;
    // A warning box over the dialog with one OK button; title and text are translated.
    virtual void ShowWarning(const char *title, const char *text) = 0;
    // Number validators on the fraction fields and the menus' widths.
    virtual void FillMenus() = 0;
    // A new Halpin-Tsai options dialog over this one; the caller owns it.
    virtual std::unique_ptr<HalpinTsaiFormView> CreateHalpinTsaiForm(AppContext *context) = 0;

    virtual void SetMatrixName(std::string name) = 0;
    virtual void SetFiberName(std::string name) = 0;
    virtual void SetMatrixFraction(float fraction) = 0;
    virtual void SetFiberFraction(float fraction) = 0;
    // 0-5; does not change the Options button.
    virtual void SetElasticTheory(int index) = 0;
    // 0-1.
    virtual void SetThermalTheory(int index) = 0;

    virtual std::string GetMatrixName() = 0;
    virtual std::string GetFiberName() = 0;
    // An empty or unreadable field reads as 0.
    virtual float GetMatrixFraction() = 0;
    virtual float GetFiberFraction() = 0;
    virtual int GetElasticTheory() = 0;
    virtual int GetThermalTheory() = 0;
};
