#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class PlyMaterialFormBase;
}

// The ply material dialog's widgets (plymaterialformbase.ui) and its slots,
// which PlyMaterialForm overrides; the slots here only warn.
class PlyMaterialFormBase : public QDialog
{
    Q_OBJECT

public:
    // name: the object name; null keeps "PlyMaterialFormBase".
    explicit PlyMaterialFormBase(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                                 Qt::WindowFlags flags = {});
    ~PlyMaterialFormBase() override;

public slots:
    virtual void CancelButtonClick();
    virtual void DoneButtonClick();
    virtual void ElasticMenuActivated(int index);
    virtual void ElasticOptionClick();
    virtual void FiberMaterialSelectButtonClick();
    virtual void HelpButtonClick();
    virtual void MatrixMaterialSelectButtonClick();

protected:
    // Sets every text of the form again in the current language.
    virtual void languageChange();

    std::unique_ptr<Ui::PlyMaterialFormBase> ui_;
};
