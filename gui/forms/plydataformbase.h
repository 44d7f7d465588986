#pragma once

#include <QDialog>

namespace Ui {
class PlyDataFormBase;
}

// The widgets of the ply data dialog, built from plydataformbase.ui, with
// default slots that only report that the dialog does not handle them.
class PlyDataFormBase : public QDialog
{
    Q_OBJECT

public:
    // Named "PlyDataFormBase" unless given a name.
    explicit PlyDataFormBase(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false);
    ~PlyDataFormBase() override;

public slots:
    virtual void languageChange();
    virtual void AngleMenuActivated(const QString &text);
    virtual void CancelButtonClick();
    virtual void DoneButtonClick();
    virtual void HelpButtonClick();
    virtual void MaterialButtonClick();
    virtual void ShowAllColorsToggled();
    virtual void ThicknessMenuActivated(const QString &text);

protected:
    Ui::PlyDataFormBase *ui;
};
