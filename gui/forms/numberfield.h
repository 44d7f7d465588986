#pragma once

class QLineEdit;

// Number fields of the dialogs: read and written in the C locale whatever the
// user's locale, as printf "%g" writes and scanf reads them.

// The value in general format with 6 significant digits.
void SetNumberField(QLineEdit *edit, double value);
// The text read as a number; empty or unreadable text reads as 0.
double NumberFieldValue(const QLineEdit *edit);
// Gives the edit a C-locale double validator (a child of the edit) unless it has one.
void AddNumberValidator(QLineEdit *edit);
