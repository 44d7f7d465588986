#include "gui/forms/plymaterialform.h"

#include "gui/displayhelp.h"
#include "gui/engines/plymaterialformengine.h"
#include "gui/forms/halpintsaiform.h"
#include "gui/forms/keyboardkeeper.h"
#include "gui/forms/numbertext.h"
#include "gui/forms/warningbox.h"
#include "host/materiallist.h"
#include "ui_plymaterialformbase.h"

#include <QFontMetrics>
#include <QPointer>

#include <algorithm>

namespace {

// One flag per button for every dialog of the process: the host's picker may
// let events through, and a second picker must not start inside the first.
bool gMatrixPickerBusy = false;
bool gFiberPickerBusy = false;

void ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 3000); }

std::string HostText(const QLabel *label)
{
    const QByteArray bytes = label->text().toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString DisplayText(const std::string &name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

PlyMaterialForm::PlyMaterialForm(QWidget *parent, AppContext *context)
    : PlyMaterialFormBase(parent, "PlyMaterial", true),
      engine_(std::make_unique<PlyMaterialFormEngine>(this, context))
{
    new KeyboardKeeper(this);
}

PlyMaterialForm::~PlyMaterialForm() = default;

int PlyMaterialForm::Exec()
{
    FillMenus();
    engine_->Initialize();
    return exec();
}

void PlyMaterialForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void PlyMaterialForm::FillMenus()
{
    for (QLineEdit *edit : {ui_->wMatrixEdit, ui_->wFiberEdit}) {
        if (!edit->validator()) // every Exec comes here
            SetNumberValidator(edit);
    }
    const QFontMetrics metrics(ui_->wElasticMenu->font());
    int width = 0;
    for (int i = 0; i < ui_->wElasticMenu->count(); ++i)
        width = std::max(width, metrics.horizontalAdvance(ui_->wElasticMenu->itemText(i)));
    ui_->wElasticMenu->setMinimumWidth(width);
    ui_->wThermalMenu->setMinimumWidth(width);
}

std::unique_ptr<HalpinTsaiFormView> PlyMaterialForm::CreateHalpinTsaiForm(AppContext *context)
{
    return std::make_unique<HalpinTsaiForm>(this, context);
}

void PlyMaterialForm::SetMatrixName(std::string name) { ui_->wMatrixMaterialNameText->setText(DisplayText(name)); }
void PlyMaterialForm::SetFiberName(std::string name) { ui_->wFiberMaterialNameText->setText(DisplayText(name)); }
void PlyMaterialForm::SetMatrixFraction(float fraction) { WriteFieldNumber(ui_->wMatrixEdit, fraction); }
void PlyMaterialForm::SetFiberFraction(float fraction) { WriteFieldNumber(ui_->wFiberEdit, fraction); }
void PlyMaterialForm::SetElasticTheory(int index) { ui_->wElasticMenu->setCurrentIndex(index); }
void PlyMaterialForm::SetThermalTheory(int index) { ui_->wThermalMenu->setCurrentIndex(index); }
std::string PlyMaterialForm::GetMatrixName() { return HostText(ui_->wMatrixMaterialNameText); }
std::string PlyMaterialForm::GetFiberName() { return HostText(ui_->wFiberMaterialNameText); }
float PlyMaterialForm::GetMatrixFraction() { return ToFloat(ReadFieldNumber(ui_->wMatrixEdit)); }
float PlyMaterialForm::GetFiberFraction() { return ToFloat(ReadFieldNumber(ui_->wFiberEdit)); }

int PlyMaterialForm::GetElasticTheory()
{
    const int index = ui_->wElasticMenu->currentIndex();
    return index >= 0 && index <= 5 ? index : 0;
}

int PlyMaterialForm::GetThermalTheory() { return ui_->wThermalMenu->currentIndex() == 1 ? 1 : 0; }

void PlyMaterialForm::CancelButtonClick() { reject(); }

void PlyMaterialForm::DoneButtonClick()
{
    if (engine_->Done() == 0)
        accept();
}

void PlyMaterialForm::ElasticMenuActivated(int index) { ui_->wOptionsButton->setEnabled(index == 0); }

void PlyMaterialForm::ElasticOptionClick() { engine_->HalpinTsaiOptions(); }

void PlyMaterialForm::FiberMaterialSelectButtonClick() { PickMaterial(gFiberPickerBusy, FiberMaterialKind); }

void PlyMaterialForm::HelpButtonClick() { DisplayHelp(this, "Create_Ply_Mat.htm"); }

void PlyMaterialForm::MatrixMaterialSelectButtonClick() { PickMaterial(gMatrixPickerBusy, MatrixMaterialKind); }

void PlyMaterialForm::PickMaterial(bool &busy, int kind)
{
    if (busy)
        return;
    busy = true;
    QWidget *top = window();
    // Disabling the window takes the keyboard focus away; the user gets it back.
    const QPointer<QWidget> focus = top->focusWidget();
    top->setEnabled(false);
    if (kind == MatrixMaterialKind)
        ProcessPendingEvents();
    engine_->SelectMaterial(kind);
    top->setEnabled(true);
    top->raise();
    if (focus)
        focus->setFocus();
    ProcessPendingEvents();
    busy = false;
}
