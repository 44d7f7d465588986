#include "gui/forms/numbertext.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QLocale>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {

const char *const kWrittenValue = "corvaneWrittenValue";

// The C locale's comma is a group separator: "0,125" would read as 125.
QLocale NumberLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

double NumberOrZero(const QString &text, bool *ok)
{
    bool read = false;
    const double value = NumberLocale().toDouble(text.trimmed(), &read);
    read = read && std::isfinite(value);
    if (ok)
        *ok = read;
    return read ? value : 0.0;
}

float ToFloat(double value)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? kInfinity : -kInfinity;
    return static_cast<float>(value);
}

QString NumberText(double value) { return QString::number(value, 'g', 6); }

void SetNumberValidator(QLineEdit *edit)
{
    auto *validator = new QDoubleValidator(edit);
    validator->setLocale(NumberLocale());
    edit->setValidator(validator);
}

void WriteNumber(QLineEdit *edit, double value)
{
    edit->setText(NumberText(value));
    edit->setProperty(kWrittenValue, value);
}

double ReadNumber(const QLineEdit *edit, bool *ok)
{
    const QVariant written = edit->property(kWrittenValue);
    if (written.isValid() && edit->text() == NumberText(written.toDouble())) {
        if (ok)
            *ok = true;
        return written.toDouble();
    }
    return NumberOrZero(edit->text(), ok);
}
