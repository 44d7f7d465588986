#pragma once

#include "gui/engines/plydataformview.h"
#include "gui/forms/plydataformbase.h"

#include <memory>

class AppContext;
class PlyDataFormEngine;
class QComboBox;

// The ply data dialog: the material, thickness, angle and colour of a new
// ply, or of the plies selected in the layup dialog.
class PlyDataForm : public PlyDataFormBase, public PlyDataFormView
{
    Q_OBJECT

public:
    // The layup dialog builds one per use with itself as parent, inside
    // LayupFormView::CreatePlyDataForm, and hands it to its engine as a
    // PlyDataFormView; context (not owned) must have a laminate loaded. The caller
    // owns the form and deletes it after Exec (a std::unique_ptr<PlyDataFormView>
    // will do: deleting it takes it from its parent).
    PlyDataForm(QWidget *parent, AppContext *context);
    ~PlyDataForm() override;

    // The layup engine calls this once per dialog: newPly true adds one ply
    // at the insertion point of selection (the caller sets the insertion side
    // first), false modifies the selected plies. True after OK made the
    // change through the layup manager, which submitted its commands to the
    // current taker (the caller's compound command when modifying); false
    // after Cancel. The caller marks and restores its edit checkpoint.
    bool Exec(bool newPly, const Selection &selection) override;
    void InitWidgets(bool newPly, const char *lengthUnit) override;
    void ShowWarningArgs(const char *title, const char *text, int first, int second) override;
    void ShowWarning(const char *title, const char *text) override;
    void SetMaterialMenu(const std::string &text, bool select) override;
    void ClearMaterialMenu() override;
    void SetColorMenu(const std::string &text, bool select) override;
    void SetThickness(float value, bool select) override;
    void SetAngle(float value, bool select) override;
    std::string GetMaterialText() const override;
    std::optional<float> GetThickness() const override;
    std::optional<float> GetAngle() const override;
    std::string GetColor() const override;

protected:
    void showEvent(QShowEvent *event) override;

protected slots:
    void CancelButtonClick() override;
    void DoneButtonClick() override;
    void HelpButtonClick() override;
    void MaterialButtonClick() override;
    void ThicknessMenuActivated(const QString &text) override;
    void AngleMenuActivated(const QString &text) override;
    void ShowAllColorsToggled() override;

private:
    std::unique_ptr<PlyDataFormEngine> engine_;
};

// Lists value in menu, keeping its entries in ascending order below an
// optional blank first entry " " (which KeepValueSentinel stands for); an
// entry equal within 1e-6 relative is used instead of a new one. Selects the
// entry when select is true.
void SelectNumberEntry(QComboBox *menu, float value, bool select);
