#include "gui/forms/halpintsaiformbase.h"

#include "ui_halpintsaiformbase.h"

HalpinTsaiFormBase::HalpinTsaiFormBase(QWidget *parent, const char *name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags), ui_(std::make_unique<Ui::HalpinTsaiFormBase>())
{
    ui_->setupUi(this);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(size().expandedTo(minimumSizeHint()));

    connect(ui_->wPlyDescriptionMenu, &QComboBox::activated, this, &HalpinTsaiFormBase::PlyDescriptionMenu);
    connect(ui_->wDoneButton, &QPushButton::clicked, this, &HalpinTsaiFormBase::DoneButtonClick);
    connect(ui_->wHelpButton, &QPushButton::clicked, this, &HalpinTsaiFormBase::HelpButtonClick);
    connect(ui_->wCancelButton, &QPushButton::clicked, this, &HalpinTsaiFormBase::CancelButtonClick);
}

HalpinTsaiFormBase::~HalpinTsaiFormBase() = default;

void HalpinTsaiFormBase::languageChange() { ui_->retranslateUi(this); }

void HalpinTsaiFormBase::DoneButtonClick() { qWarning("HalpinTsaiFormBase::DoneButtonClick(): Not implemented yet"); }

void HalpinTsaiFormBase::HelpButtonClick() { qWarning("HalpinTsaiFormBase::HelpButtonClick(): Not implemented yet"); }

void HalpinTsaiFormBase::PlyDescriptionMenu(int)
{
    qWarning("HalpinTsaiFormBase::PlyDescriptionMenu(int): Not implemented yet");
}

void HalpinTsaiFormBase::CancelButtonClick()
{
    qWarning("HalpinTsaiFormBase::CancelButtonClick(): Not implemented yet");
}
