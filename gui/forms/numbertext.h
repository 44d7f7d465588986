#pragma once

#include <QString>

class QLineEdit;

// Numbers in the dialogs' fields and menus are read and written in the C
// locale, whatever the user's locale, so that a decimal point always means
// the same thing.

// The number text reads as; 0 when it does not read as a finite number
// (an empty text among them). ok (may be null) tells whether it read.
double NumberOrZero(const QString &text, bool *ok = nullptr);
// value as a float; beyond the float range an infinity of its sign, which
// the dialogs' checks refuse.
float ToFloat(double value);
// General format, 6 significant digits.
QString NumberText(double value);
// Gives edit a number validator (default range) in the C locale.
void SetNumberValidator(QLineEdit *edit);

// Writes value into edit as NumberText, remembering the value itself: while
// the text stays as written, ReadNumber gives the value back unrounded, so
// that confirming a dialog does not round what the user left alone.
void WriteNumber(QLineEdit *edit, double value);
// The field's number as NumberOrZero reads it, or the value written there.
double ReadNumber(const QLineEdit *edit, bool *ok = nullptr);
