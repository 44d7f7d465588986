#include "gui/forms/keyboardkeeper.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

KeyboardKeeper::KeyboardKeeper(QWidget *dialog) : QObject(dialog), dialog_(dialog)
{
    qApp->installEventFilter(this);
}

bool KeyboardKeeper::eventFilter(QObject *watched, QEvent *event)
{
    // Checked from the event loop: the closing window is still the active one
    // while it hides, and a window manager, where there is one, acts first.
    if (event->type() == QEvent::Hide && watched != dialog_ && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow())
        QMetaObject::invokeMethod(this, &KeyboardKeeper::GiveKeyboardBack, Qt::QueuedConnection);
    return false;
}

void KeyboardKeeper::GiveKeyboardBack()
{
    // The closed window may still count as active until its focus-out arrives.
    const QWidget *active = QApplication::activeWindow();
    if ((active && active->isVisible()) || !dialog_->isVisible())
        return;
    QWidget *top = QApplication::activeModalWidget();
    (top ? top : dialog_)->activateWindow();
}
