#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class HalpinTsaiFormBase;
}

// The Halpin-Tsai options dialog's widgets (halpintsaiformbase.ui) and its
// slots, which HalpinTsaiForm overrides; the slots here only warn.
class HalpinTsaiFormBase : public QDialog
{
    Q_OBJECT

public:
    // name: the object name; null keeps "HalpinTsaiFormBase".
    explicit HalpinTsaiFormBase(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                                Qt::WindowFlags flags = {});
    ~HalpinTsaiFormBase() override;

public slots:
    virtual void DoneButtonClick();
    virtual void HelpButtonClick();
    virtual void PlyDescriptionMenu(int index);
    virtual void CancelButtonClick();

protected:
    // Sets every text of the form again in the current language.
    virtual void languageChange();

    std::unique_ptr<Ui::HalpinTsaiFormBase> ui_;
};
