#include "gui/forms/numbertext.h"

#include <QLineEdit>
#include <QLocale>
#include <QValidator>
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

bool IsNumberKey(QChar c)
{
    return c.isDigit() || c.isSpace() || QStringLiteral("+-.,eE").contains(c);
}

// Never answers Invalid for a keystroke of a number: the line edit would drop
// it without a word, and "1.5." would silently become "1.5".
class NumberValidator : public QValidator
{
public:
    NumberValidator(QObject *parent, bool anyText) : QValidator(parent), anyText_(anyText) {}

    State validate(QString &input, int &) const override
    {
        input = WithDecimalPoint(input); // same length: the cursor stays
        if (anyText_)
            return Acceptable;
        for (const QChar c : input)
            if (!IsNumberKey(c))
                return Invalid;
        bool ok = false;
        NumberOrZero(input, &ok);
        return ok ? Acceptable : Intermediate;
    }

private:
    bool anyText_;
};

} // namespace

QString WithDecimalPoint(const QString &text)
{
    if (text.count(QLatin1Char(',')) != 1 || text.contains(QLatin1Char('.')))
        return text;
    QString point = text;
    point.replace(QLatin1Char(','), QLatin1Char('.'));
    return point;
}

double NumberOrZero(const QString &text, bool *ok)
{
    bool read = false;
    const double value = NumberLocale().toDouble(WithDecimalPoint(text.trimmed()), &read);
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

void SetNumberValidator(QLineEdit *edit, bool anyText)
{
    edit->setValidator(new NumberValidator(edit, anyText));
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
    bool read = false;
    const double value = NumberOrZero(edit->text(), &read);
    if (ok)
        *ok = read;
    if (!read && !edit->text().trimmed().isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    return value;
}
