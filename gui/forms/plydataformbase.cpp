#include "gui/forms/plydataformbase.h"

#include "ui_plydataformbase.h"

#include <QtGlobal>

// Outside any namespace, as the resource macro requires.
static void InitPlyDataResources() { Q_INIT_RESOURCE(plydata); }

PlyDataFormBase::PlyDataFormBase(QWidget *parent, const char *name, bool modal)
    : QDialog(parent), ui(new Ui::PlyDataFormBase)
{
    InitPlyDataResources();
    ui->setupUi(this);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(QSize(303, 180).expandedTo(minimumSizeHint()));

    connect(ui->wMaterialButton, &QPushButton::pressed, this, &PlyDataFormBase::MaterialButtonClick);
    connect(ui->wThicknessMenu, &QComboBox::textHighlighted, this, &PlyDataFormBase::ThicknessMenuActivated);
    connect(ui->wAngleMenu, &QComboBox::textActivated, this, &PlyDataFormBase::AngleMenuActivated);
    connect(ui->wShowAllColorsCheckBox, &QCheckBox::toggled, this, &PlyDataFormBase::ShowAllColorsToggled);
    connect(ui->wDoneButton, &QPushButton::clicked, this, &PlyDataFormBase::DoneButtonClick);
    connect(ui->wCancelButton, &QPushButton::clicked, this, &PlyDataFormBase::CancelButtonClick);
    connect(ui->wHelpButton, &QPushButton::clicked, this, &PlyDataFormBase::HelpButtonClick);
}

PlyDataFormBase::~PlyDataFormBase() { delete ui; }

void PlyDataFormBase::languageChange() { ui->retranslateUi(this); }

void PlyDataFormBase::AngleMenuActivated(const QString &)
{
    qWarning("PlyDataFormBase::AngleMenuActivated(const QString&): Not implemented yet");
}

void PlyDataFormBase::CancelButtonClick() { qWarning("PlyDataFormBase::CancelButtonClick(): Not implemented yet"); }

void PlyDataFormBase::DoneButtonClick() { qWarning("PlyDataFormBase::DoneButtonClick(): Not implemented yet"); }

void PlyDataFormBase::HelpButtonClick() { qWarning("PlyDataFormBase::HelpButtonClick(): Not implemented yet"); }

void PlyDataFormBase::MaterialButtonClick()
{
    qWarning("PlyDataFormBase::MaterialButtonClick(): Not implemented yet");
}

void PlyDataFormBase::ShowAllColorsToggled()
{
    qWarning("PlyDataFormBase::ShowAllColorsToggled(): Not implemented yet");
}

void PlyDataFormBase::ThicknessMenuActivated(const QString &)
{
    qWarning("PlyDataFormBase::ThicknessMenuActivated(const QString&): Not implemented yet");
}
