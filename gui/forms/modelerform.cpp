#include "gui/forms/modelerform.h"

#include "gui/displayhelp.h"
#include "gui/engines/modelerformengine.h"
#include "gui/forms/numbertext.h"
#include "gui/forms/warningbox.h"

#include "ui_modelerformbase.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int kKeyin = 3;
constexpr int kTsaiWu = 2;

} // namespace

ModelerForm::ModelerForm(QWidget *parent, AppContext *context)
    : ModelerFormBase(parent, "Corvane Modeler", true),
      engine_(std::make_unique<ModelerFormEngine>(this, context))
{
}

ModelerForm::~ModelerForm() = default;

bool ModelerForm::Exec()
{
    engine_->Initialize();
    return exec() == QDialog::Accepted;
}

void ModelerForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void ModelerForm::InitWidgets()
{
    const QFontMetrics metrics(ui->wFailureMenu->font());
    int widest = 0;
    for (int i = 0; i < ui->wFailureMenu->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(ui->wFailureMenu->itemText(i)));
    ui->wFailureMenu->setMinimumWidth(widest);
    for (QLineEdit *edit : {ui->wRefPlaneEdit, ui->wStressEdit, ui->wMassEdit, ui->wDampingEdit, ui->wRefTempEdit,
                            ui->wTsaiWuEdit})
        SetNumberValidator(edit);
}

int ModelerForm::GetRefPlaneKind() const
{
    const int index = ui->wRefPlaneMenu->currentIndex();
    return index >= 0 && index < kKeyin ? index : kKeyin;
}

void ModelerForm::SetRefPlane(int method, float location)
{
    if (method >= 0 && method < kKeyin) {
        ui->wRefPlaneText->setText(tr("Reference Plane Location"));
        ui->wRefPlaneMenu->setCurrentIndex(method);
        ui->wRefPlaneEdit->hide();
    } else {
        ui->wRefPlaneText->setText(tr("Bottom Fiber Distance"));
        ui->wRefPlaneMenu->setCurrentIndex(kKeyin);
        ui->wRefPlaneEdit->show();
        WriteFieldNumber(ui->wRefPlaneEdit, location);
    }
}

float ModelerForm::GetRefPlaneValue() const
{
    switch (GetRefPlaneKind()) {
    case 0: return -1.0f * engine_->GetThickness();
    case 1: return -0.5f * engine_->GetThickness();
    case 2: return 0.0f;
    default: return ToFloat(ReadFieldNumber(ui->wRefPlaneEdit));
    }
}

void ModelerForm::SetAllowableStress(float value) { WriteFieldNumber(ui->wStressEdit, value); }
float ModelerForm::GetAllowableStress() const { return ToFloat(ReadFieldNumber(ui->wStressEdit)); }
void ModelerForm::SetTsaiWuF12(float value) { WriteFieldNumber(ui->wTsaiWuEdit, value); }
float ModelerForm::GetTsaiWuF12() const { return ToFloat(ReadFieldNumber(ui->wTsaiWuEdit)); }
void ModelerForm::SetNonStructuralMass(double value) { WriteFieldNumber(ui->wMassEdit, value); }
double ModelerForm::GetNonStructuralMass() const { return ReadFieldNumber(ui->wMassEdit); }
void ModelerForm::SetDamping(double value) { WriteFieldNumber(ui->wDampingEdit, value); }
double ModelerForm::GetDamping() const { return ReadFieldNumber(ui->wDampingEdit); }
void ModelerForm::SetReferenceTemperature(double value) { WriteFieldNumber(ui->wRefTempEdit, value); }
double ModelerForm::GetReferenceTemperature() const { return ReadFieldNumber(ui->wRefTempEdit); }

void ModelerForm::SetFailureTheory(int index)
{
    ui->wFailureMenu->setCurrentIndex(index);
    ui->wTsaiWuEdit->setEnabled(index == kTsaiWu);
}

int ModelerForm::GetFailureTheory() const
{
    const int index = ui->wFailureMenu->currentIndex();
    return index >= 0 && index < ui->wFailureMenu->count() ? index : 0;
}

void ModelerForm::SetUnits(std::string length, std::string stress, std::string temperature, std::string massPerArea)
{
    ui->wEmptyString1->clear();
    ui->wEmptyString2->clear();
    ui->wEmptyString3->clear();
    ui->wFiberUnit->setText(tr(length.c_str()));
    ui->wStressUnit->setText(tr(stress.c_str()));
    ui->wTempUnit->setText(tr(temperature.c_str()));
    ui->wMassPerAreaUnit->setText(tr(massPerArea.c_str()));
}

void ModelerForm::DoneButtonClick()
{
    if (engine_->Done() == 0)
        accept();
}

void ModelerForm::CancelButtonClick() { reject(); }

void ModelerForm::HelpButtonClick() { DisplayHelp(this, "Lam_Properties.htm"); }

void ModelerForm::FailureMenuActivated(int index) { ui->wTsaiWuEdit->setEnabled(index == kTsaiWu); }

void ModelerForm::RefPlaneMenuActivated(int index)
{
    if (index == kKeyin) {
        ui->wRefPlaneEdit->show();
        ui->wRefPlaneText->setText(tr("Bottom Fiber Distance"));
        return;
    }
    static const char *const names[] = {QT_TR_NOOP("Top"), QT_TR_NOOP("Middle"), QT_TR_NOOP("Bottom")};
    if (index < 0 || index > 2)
        return;
    ui->wRefPlaneText->setText(tr("Reference Plane Location"));
    ui->wRefPlaneEdit->hide();
    const QString location = index == 2 ? QStringLiteral("0.0") : NumberText(GetRefPlaneValue());
    ui->wRefPlaneMenu->setItemText(index, tr(names[index]) + " (" + location + ")");
}
