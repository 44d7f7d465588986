#pragma once

#include <QString>

class QLineEdit;

// Numbers in the dialogs' fields and menus and in the layup tree's cells are
// read and written in the C locale, whatever the user's locale, so that a
// decimal point always means the same thing. A comma typed as the decimal
// mark is read as a point.

// text with its comma as a point when that comma is its only decimal mark.
// A comma beside a point or another comma is left as it is, so that the
// text reads as no number at all rather than as another one.
QString WithDecimalPoint(const QString &text);

enum class NumberReading { Number, NotANumber, OutOfRange };
// Reads text as one number, by the one rule of the tree's cells and the
// dialogs' fields: blanks around it are allowed and a lone decimal comma reads
// as a point (WithDecimalPoint). Anything else after the number ("0.25x",
// "0.2.5"), a comma left ("1.5,2" is no 1.5) and an empty text are
// NotANumber; inf, nan and numbers beyond the double range OutOfRange. value
// is set only for a Number.
NumberReading ReadNumberText(const QString &text, double *value);
// As ReadNumberText, with numbers beyond the float range OutOfRange too.
NumberReading ReadFloatText(const QString &text, float *value);
// The number text reads as (ReadNumberText); 0 when it reads as none. ok (may
// be null) tells whether it read.
double NumberOrZero(const QString &text, bool *ok = nullptr);
// value as a float; beyond the float range an infinity of its sign, which
// the dialogs' checks refuse.
float ToFloat(double value);
// General format, 6 significant digits.
QString NumberText(double value);
// Gives edit a validator that turns a lone decimal comma into a point as it
// is typed and otherwise keeps every keystroke of a number (digits, signs,
// marks, exponent), so that a mistyped number stays visible until the
// dialog's check refuses it. Without anyText, other characters cannot be
// typed; with it they can (the tree's cells report them as syntax errors).
void SetNumberValidator(QLineEdit *edit, bool anyText = false);

// Writes value into edit as NumberText, remembering the value itself: while
// the text stays as written, ReadFieldNumber gives the value back unrounded,
// so that confirming a dialog does not round what the user left alone.
void WriteFieldNumber(QLineEdit *edit, double value);
// The field's number (ReadNumberText), or the value written there; an empty
// field reads as 0 and any other text that reads as no number as NaN, which
// the dialogs' checks refuse.
double ReadFieldNumber(const QLineEdit *edit);
