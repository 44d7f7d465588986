#pragma once

#include "gui/engines/modelerformview.h"
#include "gui/forms/modelerformbase.h"

#include <memory>

class AppContext;
class ModelerFormEngine;

// The laminate properties dialog: edits the reference plane and the
// properties of the context's current laminate.
class ModelerForm : public ModelerFormBase, public ModelerFormView
{
    Q_OBJECT

public:
    // The layup dialog builds one per use with itself as parent, inside
    // LayupFormView::CreateModelerForm, and hands it to its engine as a
    // ModelerFormView; context (not owned) must have a laminate loaded. The caller
    // owns the form and deletes it after Exec (a std::unique_ptr<ModelerFormView>
    // will do: deleting it takes it from its parent).
    ModelerForm(QWidget *parent, AppContext *context);
    ~ModelerForm() override;

    // The layup engine calls this once: it fills the fields from the current
    // laminate and runs the dialog. True after OK stored the entries through
    // LaminateManager::SetProperties (as one "Set Properties" command, when
    // anything changed); false after Cancel, nothing stored. The caller marks
    // and restores its edit checkpoint around the call.
    bool Exec() override;
    void ShowWarning(const char *title, const char *text) override;
    void InitWidgets() override;
    int GetRefPlaneKind() const override;
    void SetRefPlane(int method, float location) override;
    float GetRefPlaneValue() const override;
    void SetAllowableStress(float value) override;
    float GetAllowableStress() const override;
    void SetTsaiWuF12(float value) override;
    float GetTsaiWuF12() const override;
    void SetNonStructuralMass(double value) override;
    double GetNonStructuralMass() const override;
    void SetDamping(double value) override;
    double GetDamping() const override;
    void SetReferenceTemperature(double value) override;
    double GetReferenceTemperature() const override;
    void SetFailureTheory(int index) override;
    int GetFailureTheory() const override;
    void SetUnits(std::string length, std::string stress, std::string temperature, std::string massPerArea) override;

protected slots:
    void DoneButtonClick() override;
    void CancelButtonClick() override;
    void HelpButtonClick() override;
    void FailureMenuActivated(int index) override;
    void RefPlaneMenuActivated(int index) override;

private:
    std::unique_ptr<ModelerFormEngine> engine_;
};
