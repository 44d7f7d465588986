#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QApplication;
class QPixmap;
class QWidget;

// The harness of the toolkit tests: one offscreen application per test
// process (made by the harness's main), modal dialogs driven from the event
// loop, warning boxes answered and recorded, screenshots on request.
namespace GuiTest {

// The application the harness made, or null while a NoSharedApplication holds it back.
QApplication *SharedApplication();

// For a test whose code under test must create the application object
// itself: deletes the shared one, and makes a new one when it goes.
class NoSharedApplication
{
public:
    NoSharedApplication();
    ~NoSharedApplication();
    NoSharedApplication(const NoSharedApplication &) = delete;
    NoSharedApplication &operator=(const NoSharedApplication &) = delete;
};

// Runs action right after the next application object is made (by the code
// under test, while a NoSharedApplication holds the shared one back), so that
// it can arm WhenModal or a WarningCatcher for the first boxes of a request.
void OnNextApplication(std::function<void()> action);

// From the event loop, once the active modal widget satisfies matches, runs
// action on it (once). Gives up after timeoutMs, recording a test failure.
void WhenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action,
               int timeoutMs = 10000);
// The same for the next modal widget that is a T.
template <typename T>
void WhenModal(std::function<void(T *)> action, int timeoutMs = 10000);

// One warning, question or information box that a catcher answered.
struct Box
{
    QString title;
    QString text;
};

// While it lives, answers every message box that becomes the active modal
// widget with its OK (or default) button, after recording title and text and
// taking screenshots named after the box's order: the box alone, and
// "-over-dialog", centred over the window it belongs to.
class WarningCatcher
{
public:
    explicit WarningCatcher(std::string screenshotPrefix = "warning");
    ~WarningCatcher();
    WarningCatcher(const WarningCatcher &) = delete;
    WarningCatcher &operator=(const WarningCatcher &) = delete;

    const std::vector<Box> &Boxes() const;

private:
    struct Impl;
    Impl *impl_;
};

// With CORVANE_SCREENSHOTS=DIR set, saves widget's picture as DIR/name.png.
void SaveScreenshot(QWidget *widget, const QString &name);
// The same for a picture made otherwise.
void SavePicture(const QPixmap &picture, const QString &name);

// Types text into widget key by key, as a user would (validators apply).
void TypeText(QWidget *widget, const QString &text);

// A quick double click at a point of widget, as the toolkit delivers one:
// press, release, a double click in place of the second press, release.
void DoubleClick(QWidget *widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Lets the event loop run for at most ms, or until done returns true.
void ProcessEventsUntil(const std::function<bool()> &done, int ms = 5000);

} // namespace GuiTest

#include <QWidget>

template <typename T>
void GuiTest::WhenModal(std::function<void(T *)> action, int timeoutMs)
{
    WhenModal([](QWidget *w) { return qobject_cast<T *>(w) != nullptr; },
              [action](QWidget *w) { action(qobject_cast<T *>(w)); }, timeoutMs);
}
