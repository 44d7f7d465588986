#pragma once

#include <QString>

class QLineEdit;

// Numbers in the dialogs' fields and menus are read and written in the C
// locale, whatever the user's locale, so that a decimal point always means
// the same thing. A comma typed as the decimal mark is read as a point.

// text with its comma as a point when that comma is its only decimal mark.
// A comma beside a point or another comma is left as it is, so that the
// text reads as no number at all rather than as another one.
QString WithDecimalPoint(const QString &text);
// The number text reads as; 0 when it does not read as a finite number
// (an empty text among them). ok (may be null) tells whether it read.
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
// the text stays as written, ReadNumber gives the value back unrounded, so
// that confirming a dialog does not round what the user left alone.
void WriteNumber(QLineEdit *edit, double value);
// The field's number, or the value written there; an empty field reads as 0
// and a text that reads as no finite number as NaN, which the dialogs'
// checks refuse. ok (may be null) tells whether a number was read.
double ReadNumber(const QLineEdit *edit, bool *ok = nullptr);
