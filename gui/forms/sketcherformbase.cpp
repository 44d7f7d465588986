#include "gui/forms/sketcherformbase.h"

#include "ui_sketcherformbase.h"

#include <QtGlobal>

SketcherFormBase::SketcherFormBase(QWidget *parent, const char *name, bool modal)
    : QDialog(parent), ui(new Ui::SketcherFormBase)
{
    ui->setupUi(this);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(QSize(565, 566).expandedTo(minimumSizeHint()));

    connect(ui->wViewMenu, &QComboBox::activated, this, &SketcherFormBase::ViewMenuActivated);
    connect(ui->wPrintButton, &QPushButton::clicked, this, &SketcherFormBase::PrintButtonClick);
    connect(ui->wDoneButton, &QPushButton::clicked, this, &SketcherFormBase::DoneButtonClick);
    connect(ui->wHelpButton, &QPushButton::clicked, this, &SketcherFormBase::HelpButtonClick);
    connect(ui->wPlySizeSlider, &QSlider::valueChanged, this, &SketcherFormBase::PlySizeInPixelsValueChanged);
}

SketcherFormBase::~SketcherFormBase() { delete ui; }

void SketcherFormBase::languageChange() { ui->retranslateUi(this); }

void SketcherFormBase::DoneButtonClick() { qWarning("SketcherFormBase::DoneButtonClick(): Not implemented yet"); }

void SketcherFormBase::HelpButtonClick() { qWarning("SketcherFormBase::HelpButtonClick(): Not implemented yet"); }

void SketcherFormBase::InfoButtonToggled(bool)
{
    qWarning("SketcherFormBase::InfoButtonToggled(bool): Not implemented yet");
}

void SketcherFormBase::PlySizeInPixelsValueChanged()
{
    qWarning("SketcherFormBase::PlySizeInPixelsValueChanged(): Not implemented yet");
}

void SketcherFormBase::PrintButtonClick() { qWarning("SketcherFormBase::PrintButtonClick(): Not implemented yet"); }

void SketcherFormBase::ThreeDButtonClick() { qWarning("SketcherFormBase::ThreeDButtonClick(): Not implemented yet"); }

void SketcherFormBase::ViewMenuActivated(int)
{
    qWarning("SketcherFormBase::ViewMenuActivated(int): Not implemented yet");
}
