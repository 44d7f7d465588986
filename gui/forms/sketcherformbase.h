#pragma once

#include <QDialog>

namespace Ui {
class SketcherFormBase;
}

// The widgets of the sketcher dialog, built from sketcherformbase.ui, with
// default slots that only report that the dialog does not handle them.
class SketcherFormBase : public QDialog
{
    Q_OBJECT

public:
    // Named "SketcherFormBase" unless given a name.
    explicit SketcherFormBase(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false);
    ~SketcherFormBase() override;

public slots:
    virtual void languageChange();
    virtual void DoneButtonClick();
    virtual void HelpButtonClick();
    virtual void InfoButtonToggled(bool on);
    virtual void PlySizeInPixelsValueChanged();
    virtual void PrintButtonClick();
    virtual void ThreeDButtonClick();
    virtual void ViewMenuActivated(int index);

protected:
    Ui::SketcherFormBase *ui;
};
