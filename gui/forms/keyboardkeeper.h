#pragma once

#include <QObject>

class QWidget;

// While dialog lives, gives the keyboard back to the topmost modal window
// (dialog itself when none is modal) whenever a window closes and leaves no
// window of the application active. A window manager does that; on an X
// server without one the focus falls to the root window, and what the user
// types next, with the pointer outside the dialog, goes nowhere.
class KeyboardKeeper : public QObject
{
public:
    // Owned by dialog.
    explicit KeyboardKeeper(QWidget *dialog);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void GiveKeyboardBack();

    QWidget *dialog_;
};
