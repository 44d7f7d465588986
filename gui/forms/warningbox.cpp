#include "gui/forms/warningbox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QString Translated(const QWidget *form, const char *text)
{
    return QCoreApplication::translate(form->metaObject()->className(), text);
}

void Show(QWidget *form, const char *title, const QString &text)
{
    QMessageBox::warning(form, Translated(form, title), text, QMessageBox::Ok);
}

} // namespace

void ShowFormWarning(QWidget *form, const char *title, const char *text)
{
    Show(form, title, Translated(form, text));
}

void ShowFormWarning(QWidget *form, const char *title, const char *text, int first, int second)
{
    Show(form, title, Translated(form, text).arg(first).arg(second));
}
