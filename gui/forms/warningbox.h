#pragma once

class QWidget;

// A warning box over form with an OK button; title and text are translated in
// the form's own context (its class name, as the form's tr does). The second
// form replaces "%1" and "%2" in the translated text by first and second.
void ShowFormWarning(QWidget *form, const char *title, const char *text);
void ShowFormWarning(QWidget *form, const char *title, const char *text, int first, int second);
