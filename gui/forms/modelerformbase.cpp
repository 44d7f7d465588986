#include "gui/forms/modelerformbase.h"

#include "ui_modelerformbase.h"

#include <QtGlobal>

ModelerFormBase::ModelerFormBase(QWidget *parent, const char *name, bool modal)
    : QDialog(parent), ui(new Ui::ModelerFormBase)
{
    ui->setupUi(this);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(QSize(465, 215).expandedTo(minimumSizeHint()));

    connect(ui->wDoneButton, &QPushButton::clicked, this, &ModelerFormBase::DoneButtonClick);
    connect(ui->wFailureMenu, &QComboBox::activated, this, &ModelerFormBase::FailureMenuActivated);
    connect(ui->wHelpButton, &QPushButton::clicked, this, &ModelerFormBase::HelpButtonClick);
    connect(ui->wRefPlaneMenu, &QComboBox::activated, this, &ModelerFormBase::RefPlaneMenuActivated);
    connect(ui->wCancelButton, &QPushButton::clicked, this, &ModelerFormBase::CancelButtonClick);
}

ModelerFormBase::~ModelerFormBase() { delete ui; }

void ModelerFormBase::languageChange() { ui->retranslateUi(this); }

void ModelerFormBase::DoneButtonClick() { qWarning("ModelerFormBase::DoneButtonClick(): Not implemented yet"); }

void ModelerFormBase::FailureMenuActivated(int)
{
    qWarning("ModelerFormBase::FailureMenuActivated(int): Not implemented yet");
}

void ModelerFormBase::HelpButtonClick() { qWarning("ModelerFormBase::HelpButtonClick(): Not implemented yet"); }

void ModelerFormBase::RefPlaneMenuActivated(int)
{
    qWarning("ModelerFormBase::RefPlaneMenuActivated(int): Not implemented yet");
}

void ModelerFormBase::CancelButtonClick() { qWarning("ModelerFormBase::CancelButtonClick(): Not implemented yet"); }
