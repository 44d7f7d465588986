#pragma once

#include <QDialog>

namespace Ui {
class ModelerFormBase;
}

// The widgets of the laminate properties dialog, built from
// modelerformbase.ui, with default slots that only report that the dialog
// does not handle them.
class ModelerFormBase : public QDialog
{
    Q_OBJECT

public:
    // Named "ModelerFormBase" unless given a name.
    explicit ModelerFormBase(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false);
    ~ModelerFormBase() override;

public slots:
    virtual void languageChange();
    virtual void DoneButtonClick();
    virtual void FailureMenuActivated(int index);
    virtual void HelpButtonClick();
    virtual void RefPlaneMenuActivated(int index);
    virtual void CancelButtonClick();

protected:
    Ui::ModelerFormBase *ui;
};
