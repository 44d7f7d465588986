#include "gui/forms/plydataform.h"

#include "gui/displayhelp.h"
#include "gui/engines/plydataformengine.h"
#include "gui/forms/numbertext.h"
#include "gui/forms/warningbox.h"
#include "util/tolerance.h"

#include "ui_plydataformbase.h"

#include <QCoreApplication>

namespace {

const QString kBlank = QStringLiteral(" ");

// A second press while the host's picker runs must not start another.
bool gPickerRunning = false;

// Selects (when select) the first entry equal to text, appending it when absent.
void SelectText(QComboBox *menu, const QString &text, bool select)
{
    int index = menu->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        menu->addItem(text);
        index = menu->count() - 1;
    }
    if (select)
        menu->setCurrentIndex(index);
}

// An entry holds the value it was made for, so that a ply's own thickness
// or angle is given back unrounded by the six digits that the menu shows.
double EntryValue(const QComboBox *menu, int index, bool *ok = nullptr)
{
    const QVariant value = menu->itemData(index);
    if (!value.isValid())
        return NumberOrZero(menu->itemText(index), ok);
    if (ok)
        *ok = true;
    return value.toDouble();
}

// A typed text wins, read as it is (a value that does not fit a float as an
// infinity, one that is no number as NaN, for the checks to refuse); otherwise
// the menu's entry, the blank one meaning "keep".
std::optional<float> ReadEntry(const QLineEdit *edit, const QComboBox *menu)
{
    if (!edit->text().trimmed().isEmpty())
        return ToFloat(ReadFieldNumber(edit));
    if (menu->currentText() == kBlank)
        return std::nullopt;
    return ToFloat(EntryValue(menu, menu->currentIndex()));
}

} // namespace

void SelectNumberEntry(QComboBox *menu, float value, bool select)
{
    const bool keep = value == KeepValueSentinel;
    for (int i = 0; i < menu->count(); ++i) {
        bool read = false;
        const double listed = EntryValue(menu, i, &read);
        if (keep ? menu->itemText(i) == kBlank : read && !ValuesDiffer(ToFloat(listed), value, kPlyTolerance)) {
            if (select)
                menu->setCurrentIndex(i);
            return;
        }
    }
    int at = 0;
    if (!keep) {
        at = menu->count() > 0 && menu->itemText(0) == kBlank ? 1 : 0;
        while (at < menu->count() && EntryValue(menu, at) <= value)
            ++at;
    }
    if (keep)
        menu->insertItem(at, kBlank);
    else
        menu->insertItem(at, NumberText(value), static_cast<double>(value));
    if (select)
        menu->setCurrentIndex(at);
}

PlyDataForm::PlyDataForm(QWidget *parent, AppContext *context)
    : PlyDataFormBase(parent, "Ply Data", true),
      engine_(std::make_unique<PlyDataFormEngine>(this, context))
{
}

PlyDataForm::~PlyDataForm() = default;

bool PlyDataForm::Exec(bool newPly, const Selection &selection)
{
    engine_->Initialize(newPly, selection);
    return exec() == QDialog::Accepted;
}

void PlyDataForm::showEvent(QShowEvent *event)
{
    PlyDataFormBase::showEvent(event);
    resize(size().expandedTo(sizeHint())); // wide enough for the longest material name
}

void PlyDataForm::InitWidgets(bool newPly, const char *lengthUnit)
{
    ui->wThicknessMenu->clear();
    ui->wAngleMenu->clear();
    SetNumberValidator(ui->wThicknessEdit);
    SetNumberValidator(ui->wAngleEdit);
    ui->wThicknessUnits->setText(tr(lengthUnit));
    if (!newPly)
        setWindowTitle(tr("Modify Ply Data"));
}

void PlyDataForm::ShowWarningArgs(const char *title, const char *text, int first, int second)
{
    ShowFormWarning(this, title, text, first, second);
}

void PlyDataForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void PlyDataForm::SetMaterialMenu(const std::string &text, bool select)
{
    SelectText(ui->wMaterialMenu, QString::fromLatin1(text), select);
}

void PlyDataForm::ClearMaterialMenu() { ui->wMaterialMenu->clear(); }

void PlyDataForm::SetColorMenu(const std::string &text, bool select)
{
    SelectText(ui->wColorMenu, QString::fromLatin1(text), select);
}

void PlyDataForm::SetThickness(float value, bool select)
{
    SelectNumberEntry(ui->wThicknessMenu, value, select);
    ui->wThicknessEdit->clear();
}

void PlyDataForm::SetAngle(float value, bool select)
{
    SelectNumberEntry(ui->wAngleMenu, value, select);
    ui->wAngleEdit->clear();
}

std::string PlyDataForm::GetMaterialText() const { return ui->wMaterialMenu->currentText().toLatin1().toStdString(); }

std::optional<float> PlyDataForm::GetThickness() const { return ReadEntry(ui->wThicknessEdit, ui->wThicknessMenu); }

std::optional<float> PlyDataForm::GetAngle() const { return ReadEntry(ui->wAngleEdit, ui->wAngleMenu); }

std::string PlyDataForm::GetColor() const { return ui->wColorMenu->currentText().toLatin1().toStdString(); }

void PlyDataForm::CancelButtonClick() { reject(); }

void PlyDataForm::DoneButtonClick()
{
    if (engine_->Done() == 0)
        accept();
}

void PlyDataForm::HelpButtonClick() { DisplayHelp(this, "Enter_Modify_Ply.htm"); }

void PlyDataForm::MaterialButtonClick()
{
    if (gPickerRunning)
        return;
    gPickerRunning = true;
    QWidget *outermost = this;
    while (outermost->parentWidget())
        outermost = outermost->parentWidget();
    outermost->setEnabled(false);
    QCoreApplication::processEvents();
    engine_->SelectMaterial();
    outermost->setEnabled(true);
    outermost->raise();
    // Without a window manager keeping dialogs over their parents, the raise
    // above would bury this dialog under the layup dialog.
    if (outermost != this)
        raise();
    QCoreApplication::processEvents();
    gPickerRunning = false;
}

void PlyDataForm::ThicknessMenuActivated(const QString &) { ui->wThicknessEdit->clear(); }

void PlyDataForm::AngleMenuActivated(const QString &) { ui->wAngleEdit->clear(); }

void PlyDataForm::ShowAllColorsToggled()
{
    const QString current = ui->wColorMenu->currentText();
    ui->wColorMenu->clear();
    engine_->ShowColor(ui->wShowAllColorsCheckBox->isChecked());
    if (!current.isEmpty())
        SelectText(ui->wColorMenu, current, true);
}
