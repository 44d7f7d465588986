#include "guitest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

int gArgc = 1;
char gArg0[] = "test_gui";
char *gArgv[] = {gArg0, nullptr};
QApplication *gApplication = nullptr;

void MakeApplication() { gApplication = new QApplication(gArgc, gArgv); }

// The box as the user sees it: centred over the window it belongs to, whose
// title heads the picture.
void SaveOverParent(QWidget *box, const QString &name)
{
    QWidget *parent = box->parentWidget() ? box->parentWidget()->window() : nullptr;
    if (!parent || !std::getenv("CORVANE_SCREENSHOTS"))
        return;
    const QPixmap window = parent->grab();
    const QPixmap boxPicture = box->grab();
    const int title = QFontMetrics(parent->font()).height() + 8;
    const QSize size(std::max(window.width(), boxPicture.width()) + 16,
                     title + std::max(window.height(), boxPicture.height()) + 16);
    QPixmap picture(size);
    picture.fill(QColor(90, 90, 90));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size.width(), title), Qt::AlignCenter, parent->windowTitle());
    const QRect body(0, title, size.width(), size.height() - title);
    painter.drawPixmap(body.center() - window.rect().center(), window);
    const QPoint at = body.center() - boxPicture.rect().center();
    painter.drawPixmap(at, boxPicture);
    painter.setPen(Qt::black);
    painter.drawRect(QRect(at, boxPicture.size()).adjusted(-1, -1, 0, 0));
    painter.end();
    GuiTest::SavePicture(picture, name);
}

std::vector<std::function<void()>> gOnNextApplication;

// The toolkit calls its pre-routines from every application object's constructor.
void RunOnNextApplication()
{
    std::vector<std::function<void()>> actions;
    actions.swap(gOnNextApplication);
    for (const auto &action : actions)
        action();
}

} // namespace

namespace GuiTest {

QApplication *SharedApplication() { return gApplication; }

NoSharedApplication::NoSharedApplication()
{
    delete gApplication;
    gApplication = nullptr;
}

NoSharedApplication::~NoSharedApplication()
{
    if (!QCoreApplication::instance())
        MakeApplication();
}

void OnNextApplication(std::function<void()> action)
{
    static const bool registered = (qAddPreRoutine(RunOnNextApplication), true);
    (void)registered;
    gOnNextApplication.push_back(std::move(action));
}

void WhenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action, int timeoutMs)
{
    auto *timer = new QTimer(QCoreApplication::instance()); // goes with the application at the latest
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, matches, action, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && matches(modal)) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no matching modal widget appeared";
            if (modal) // do not leave the test hanging in someone's event loop
                modal->close();
        }
    });
    timer->start(10);
}

struct WarningCatcher::Impl
{
    QTimer timer;
    std::vector<Box> boxes;
    std::string prefix;
};

WarningCatcher::WarningCatcher(std::string screenshotPrefix)
    : impl_(new Impl)
{
    impl_->prefix = std::move(screenshotPrefix);
    QObject::connect(&impl_->timer, &QTimer::timeout, [impl = impl_] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        impl->boxes.push_back({box->windowTitle(), box->text()});
        const QString name = QString::fromStdString(impl->prefix + "-" + std::to_string(impl->boxes.size()));
        SaveScreenshot(box, name);
        SaveOverParent(box, name + "-over-dialog");
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        if (!ok)
            ok = box->defaultButton();
        if (ok)
            ok->click();
        else
            box->accept();
    });
    impl_->timer.start(10);
}

WarningCatcher::~WarningCatcher() { delete impl_; }

const std::vector<Box> &WarningCatcher::Boxes() const { return impl_->boxes; }

void SaveScreenshot(QWidget *widget, const QString &name)
{
    if (widget)
        SavePicture(widget->grab(), name);
}

void SavePicture(const QPixmap &picture, const QString &name)
{
    const char *dir = std::getenv("CORVANE_SCREENSHOTS");
    if (!dir || !*dir)
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    picture.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void DoubleClick(QWidget *widget, QPoint at, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(widget, Qt::LeftButton, modifiers, at);
    QTest::mouseDClick(widget, Qt::LeftButton, modifiers, at);
    QTest::mouseRelease(widget, Qt::LeftButton, modifiers, at);
}

void ProcessEventsUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace GuiTest

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    MakeApplication();
    const int result = RUN_ALL_TESTS();
    delete gApplication;
    return result;
}
