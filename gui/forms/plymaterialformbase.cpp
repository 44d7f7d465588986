#include "gui/forms/plymaterialformbase.h"

#include "ui_plymaterialformbase.h"

PlyMaterialFormBase::PlyMaterialFormBase(QWidget *parent, const char *name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags), ui_(std::make_unique<Ui::PlyMaterialFormBase>())
{
    Q_INIT_RESOURCE(plymaterial); // the select buttons' picture, in a static library
    ui_->setupUi(this);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(size().expandedTo(minimumSizeHint()));

    connect(ui_->wDoneButton, &QPushButton::clicked, this, &PlyMaterialFormBase::DoneButtonClick);
    connect(ui_->wHelpButton, &QPushButton::clicked, this, &PlyMaterialFormBase::HelpButtonClick);
    connect(ui_->wOptionsButton, &QPushButton::clicked, this, &PlyMaterialFormBase::ElasticOptionClick);
    connect(ui_->wElasticMenu, &QComboBox::activated, this, &PlyMaterialFormBase::ElasticMenuActivated);
    connect(ui_->wCancelButton, &QPushButton::clicked, this, &PlyMaterialFormBase::CancelButtonClick);
    connect(ui_->wFiberMaterialSelectButton, &QPushButton::clicked, this,
            &PlyMaterialFormBase::FiberMaterialSelectButtonClick);
    connect(ui_->wMatrixMaterialSelectButton, &QPushButton::clicked, this,
            &PlyMaterialFormBase::MatrixMaterialSelectButtonClick);
}

PlyMaterialFormBase::~PlyMaterialFormBase() = default;

void PlyMaterialFormBase::languageChange() { ui_->retranslateUi(this); }

void PlyMaterialFormBase::CancelButtonClick()
{
    qWarning("PlyMaterialFormBase::CancelButtonClick(): Not implemented yet");
}

void PlyMaterialFormBase::DoneButtonClick() { qWarning("PlyMaterialFormBase::DoneButtonClick(): Not implemented yet"); }

void PlyMaterialFormBase::ElasticMenuActivated(int)
{
    qWarning("PlyMaterialFormBase::ElasticMenuActivated(int): Not implemented yet");
}

void PlyMaterialFormBase::ElasticOptionClick()
{
    qWarning("PlyMaterialFormBase::ElasticOptionClick(): Not implemented yet");
}

void PlyMaterialFormBase::FiberMaterialSelectButtonClick()
{
    qWarning("PlyMaterialFormBase::FiberMaterialSelectButtonClick(): Not implemented yet");
}

void PlyMaterialFormBase::HelpButtonClick() { qWarning("PlyMaterialFormBase::HelpButtonClick(): Not implemented yet"); }

void PlyMaterialFormBase::MatrixMaterialSelectButtonClick()
{
    qWarning("PlyMaterialFormBase::MatrixMaterialSelectButtonClick(): Not implemented yet");
}
