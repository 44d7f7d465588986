#pragma once

#include "gui/engines/halpintsaiformview.h"
#include "gui/forms/halpintsaiformbase.h"

#include <memory>

class AppContext;
class HalpinTsaiFormEngine;

// The Halpin-Tsai options dialog: edits the Halpin-Tsai option and values of
// the context's current ply material.
class HalpinTsaiForm : public HalpinTsaiFormBase, public HalpinTsaiFormView
{
    Q_OBJECT

public:
    // context is not owned and must outlive the dialog.
    HalpinTsaiForm(QWidget *parent, AppContext *context);
    ~HalpinTsaiForm() override;

    bool Exec() override;
    void ShowWarning(const char *title, const char *text) override;
    void SetUnitTexts(const char *unit) override;
    void SetLongitudinalAspectRatio(double value) override;
    void SetTransverseAspectRatio(double value) override;
    void SetRibbonLength(double value) override;
    void SetRibbonWidth(double value) override;
    void SetRibbonThickness(double value) override;
    void SetE11(double value) override;
    void SetE22(double value) override;
    void SetNU12(double value) override;
    void SetNU23(double value) override;
    void SetG12(double value) override;
    void SetPlyDescription(int index) override;
    double GetLongitudinalAspectRatio() override;
    double GetTransverseAspectRatio() override;
    double GetRibbonLength() override;
    double GetRibbonWidth() override;
    double GetRibbonThickness() override;
    double GetE11() override;
    double GetE22() override;
    double GetNU12() override;
    double GetNU23() override;
    double GetG12() override;
    int GetPlyDescription() override;

public slots:
    void DoneButtonClick() override;
    void HelpButtonClick() override;
    // Enables only the fields that the chosen description needs.
    void PlyDescriptionMenu(int index) override;
    void CancelButtonClick() override;

private:
    std::unique_ptr<HalpinTsaiFormEngine> engine_;
};
