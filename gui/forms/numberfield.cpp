#include "gui/forms/numberfield.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QLocale>

void SetNumberField(QLineEdit *edit, double value) { edit->setText(QLocale::c().toString(value, 'g', 6)); }

double NumberFieldValue(const QLineEdit *edit)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    return ok ? value : 0.0;
}

void AddNumberValidator(QLineEdit *edit)
{
    if (edit->validator())
        return;
    auto *validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
}
