#pragma once

#include "gui/engines/plymaterialformview.h"
#include "gui/forms/plymaterialformbase.h"

#include <memory>

class AppContext;
class PlyMaterialFormEngine;

// The dialog that creates a ply material: writes what the user accepts into
// the context's current ply material, which the GUI module then saves.
class PlyMaterialForm : public PlyMaterialFormBase, public PlyMaterialFormView
{
    Q_OBJECT

public:
    // context is not owned and must outlive the dialog.
    PlyMaterialForm(QWidget *parent, AppContext *context);
    ~PlyMaterialForm() override;

    int Exec() override;
    void ShowWarning(const char *title, const char *text) override;
    void FillMenus() override;
    std::unique_ptr<HalpinTsaiFormView> CreateHalpinTsaiForm(AppContext *context) override;
    void SetMatrixName(std::string name) override;
    void SetFiberName(std::string name) override;
    void SetMatrixFraction(float fraction) override;
    void SetFiberFraction(float fraction) override;
    void SetElasticTheory(int index) override;
    void SetThermalTheory(int index) override;
    std::string GetMatrixName() override;
    std::string GetFiberName() override;
    float GetMatrixFraction() override;
    float GetFiberFraction() override;
    int GetElasticTheory() override;
    int GetThermalTheory() override;

public slots:
    void CancelButtonClick() override;
    void DoneButtonClick() override;
    // Options belongs to Halpin-Tsai only.
    void ElasticMenuActivated(int index) override;
    void ElasticOptionClick() override;
    void FiberMaterialSelectButtonClick() override;
    void HelpButtonClick() override;
    void MatrixMaterialSelectButtonClick() override;

private:
    // Runs the host's picker with the window disabled; busy keeps the button
    // from starting a second picker while the first one runs.
    void PickMaterial(bool &busy, int kind);

    std::unique_ptr<PlyMaterialFormEngine> engine_;
};
