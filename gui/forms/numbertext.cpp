#include "gui/forms/numbertext.h"

#include <QLineEdit>
#include <QValidator>
#include <QVariant>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

const char *const kWrittenValue = "corvaneWrittenValue";

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
        double value = 0.0;
        return ReadNumberText(input, &value) == NumberReading::Number ? Acceptable : Intermediate;
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

NumberReading ReadNumberText(const QString &text, double *value)
{
    // A comma left, and a character beyond Latin-1 (now '?'), end the number early.
    const QByteArray bytes = WithDecimalPoint(text.trimmed()).toLatin1();
    const char *first = bytes.constData();
    const char *last = first + bytes.size();
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-') // from_chars takes no plus
        ++first;
    double number = 0.0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc::invalid_argument || end != last)
        return NumberReading::NotANumber;
    if (error == std::errc::result_out_of_range || !std::isfinite(number))
        return NumberReading::OutOfRange;
    *value = number;
    return NumberReading::Number;
}

NumberReading ReadFloatText(const QString &text, float *value)
{
    double number = 0.0;
    const NumberReading reading = ReadNumberText(text, &number);
    if (reading != NumberReading::Number)
        return reading;
    if (std::isinf(ToFloat(number)))
        return NumberReading::OutOfRange;
    *value = ToFloat(number);
    return NumberReading::Number;
}

double NumberOrZero(const QString &text, bool *ok)
{
    double value = 0.0;
    const bool read = ReadNumberText(text, &value) == NumberReading::Number;
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

void WriteFieldNumber(QLineEdit *edit, double value)
{
    edit->setText(NumberText(value));
    edit->setProperty(kWrittenValue, value);
}

double ReadFieldNumber(const QLineEdit *edit)
{
    const QVariant written = edit->property(kWrittenValue);
    if (written.isValid() && edit->text() == NumberText(written.toDouble()))
        return written.toDouble();
    if (edit->text().trimmed().isEmpty())
        return 0.0;
    double value = 0.0;
    return ReadNumberText(edit->text(), &value) == NumberReading::Number ? value
                                                                          : std::numeric_limits<double>::quiet_NaN();
}
