#include "gui/forms/halpintsaiform.h"

#include "gui/displayhelp.h"
#include "gui/engines/halpintsaiformengine.h"
#include "gui/forms/numbertext.h"
#include "gui/forms/warningbox.h"
#include "ui_halpintsaiformbase.h"

#include <initializer_list>

HalpinTsaiForm::HalpinTsaiForm(QWidget *parent, AppContext *context)
    : HalpinTsaiFormBase(parent, "HalpinTsaiOption", true),
      engine_(std::make_unique<HalpinTsaiFormEngine>(this, context))
{
}

HalpinTsaiForm::~HalpinTsaiForm() = default;

bool HalpinTsaiForm::Exec()
{
    engine_->Initialize();
    return exec() == QDialog::Accepted;
}

void HalpinTsaiForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void HalpinTsaiForm::SetUnitTexts(const char *unit)
{
    const QString text = QCoreApplication::translate("HalpinTsaiForm", unit);
    for (QLabel *label : {ui_->wLengthUnit, ui_->wWidthUnit, ui_->wThicknessUnit})
        label->setText(text);
    for (QLineEdit *edit : {ui_->wLongitudeEdit, ui_->wTrasverseEdit, ui_->wLengthEdit, ui_->wWidthEdit,
                            ui_->wThicknessEdit, ui_->wE11Edit, ui_->wE22Edit, ui_->wNU12Edit, ui_->wNU23Edit,
                            ui_->wG12Edit}) {
        if (!edit->validator()) // every Exec comes here
            SetNumberValidator(edit);
    }
}

void HalpinTsaiForm::SetLongitudinalAspectRatio(double value) { WriteFieldNumber(ui_->wLongitudeEdit, value); }
void HalpinTsaiForm::SetTransverseAspectRatio(double value) { WriteFieldNumber(ui_->wTrasverseEdit, value); }
void HalpinTsaiForm::SetRibbonLength(double value) { WriteFieldNumber(ui_->wLengthEdit, value); }
void HalpinTsaiForm::SetRibbonWidth(double value) { WriteFieldNumber(ui_->wWidthEdit, value); }
void HalpinTsaiForm::SetRibbonThickness(double value) { WriteFieldNumber(ui_->wThicknessEdit, value); }
void HalpinTsaiForm::SetE11(double value) { WriteFieldNumber(ui_->wE11Edit, value); }
void HalpinTsaiForm::SetE22(double value) { WriteFieldNumber(ui_->wE22Edit, value); }
void HalpinTsaiForm::SetNU12(double value) { WriteFieldNumber(ui_->wNU12Edit, value); }
void HalpinTsaiForm::SetNU23(double value) { WriteFieldNumber(ui_->wNU23Edit, value); }
void HalpinTsaiForm::SetG12(double value) { WriteFieldNumber(ui_->wG12Edit, value); }

void HalpinTsaiForm::SetPlyDescription(int index)
{
    ui_->wPlyDescriptionMenu->setCurrentIndex(index);
    PlyDescriptionMenu(index);
}

double HalpinTsaiForm::GetLongitudinalAspectRatio() { return ReadFieldNumber(ui_->wLongitudeEdit); }
double HalpinTsaiForm::GetTransverseAspectRatio() { return ReadFieldNumber(ui_->wTrasverseEdit); }
double HalpinTsaiForm::GetRibbonLength() { return ReadFieldNumber(ui_->wLengthEdit); }
double HalpinTsaiForm::GetRibbonWidth() { return ReadFieldNumber(ui_->wWidthEdit); }
double HalpinTsaiForm::GetRibbonThickness() { return ReadFieldNumber(ui_->wThicknessEdit); }
double HalpinTsaiForm::GetE11() { return ReadFieldNumber(ui_->wE11Edit); }
double HalpinTsaiForm::GetE22() { return ReadFieldNumber(ui_->wE22Edit); }
double HalpinTsaiForm::GetNU12() { return ReadFieldNumber(ui_->wNU12Edit); }
double HalpinTsaiForm::GetNU23() { return ReadFieldNumber(ui_->wNU23Edit); }
double HalpinTsaiForm::GetG12() { return ReadFieldNumber(ui_->wG12Edit); }

int HalpinTsaiForm::GetPlyDescription()
{
    const int index = ui_->wPlyDescriptionMenu->currentIndex();
    return index >= 0 && index <= 5 ? index : 0;
}

void HalpinTsaiForm::DoneButtonClick()
{
    if (engine_->Done() == 0)
        accept();
}

void HalpinTsaiForm::HelpButtonClick() { DisplayHelp(this, "Halpin_Tsai_Opt.htm"); }

void HalpinTsaiForm::PlyDescriptionMenu(int)
{
    for (QWidget *w : std::initializer_list<QWidget *>{ui_->wLongitudeText, ui_->wLongitudeEdit, ui_->wTrasverseText,
                                                       ui_->wTrasverseEdit, ui_->wReinFactorsGroup,
                                                       ui_->wAvgRibbonGroup})
        w->setEnabled(false);
    switch (GetPlyDescription()) {
    case 1:
        ui_->wLongitudeText->setEnabled(true);
        ui_->wLongitudeEdit->setEnabled(true);
        break;
    case 2:
        ui_->wTrasverseText->setEnabled(true);
        ui_->wTrasverseEdit->setEnabled(true);
        break;
    case 3: ui_->wAvgRibbonGroup->setEnabled(true); break;
    case 5: ui_->wReinFactorsGroup->setEnabled(true); break;
    default: break; // continuous fibre and particulates need no parameter
    }
}

void HalpinTsaiForm::CancelButtonClick() { reject(); }
