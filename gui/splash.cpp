#include "gui/splash.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <memory>

Splash::Splash(const char *title, int width, int height)
    : title_(title), width_(width), height_(height)
{
}

Splash *Splash::Create(const char *title, int width, int height) { return new Splash(title, width, height); }

Splash::~Splash()
{
    for (SplashRef *ref : refs_)
        ref->splash_ = nullptr;
    delete timer_;
    if (window_) {
        window_->hide();
        delete window_;
    }
}

void Splash::Message(const std::string &text)
{
    if (window_) {
        window_->hide();
        delete window_;
    }
    auto window = std::make_unique<QLabel>(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    window->setObjectName("splash");
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    window->setMargin(16);
    window->setText(QCoreApplication::translate("Splash", text.c_str()));
    window->adjustSize();
    window->setWindowTitle(QCoreApplication::translate("Splash", title_));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->geometry().center() - window->rect().center());
    // From here the splash deletes it.
    window_ = window.get();
    QLabel *shown = window.release();
    shown->show();
    shown->repaint();
    shown->raise();
}

SplashRef Splash::CloseLater(int seconds)
{
    if (!timer_) {
        timer_ = new QTimer;
        timer_->setSingleShot(true);
        connect(timer_, &QTimer::timeout, this, &Splash::suicide);
        timer_->start(seconds * 1000);
    }
    return SplashRef(this);
}

// Deferred: the timer that calls this is deleted with the splash.
void Splash::suicide() { deleteLater(); }

void Splash::Raise()
{
    if (window_)
        window_->raise();
}

SplashRef::SplashRef(Splash *splash) { Bind(splash); }

SplashRef::SplashRef(const SplashRef &other) { Bind(other.splash_); }

SplashRef &SplashRef::operator=(const SplashRef &other)
{
    if (other.splash_ != splash_) {
        Splash *splash = other.splash_;
        Release();
        Bind(splash);
    }
    return *this;
}

SplashRef::~SplashRef() { Release(); }

void SplashRef::Bind(Splash *splash)
{
    // Registered first: a handle that failed to register holds nothing.
    if (splash)
        splash->refs_.push_back(this);
    splash_ = splash;
}

void SplashRef::Release()
{
    Splash *splash = splash_;
    splash_ = nullptr;
    if (!splash)
        return;
    auto &refs = splash->refs_;
    refs.erase(std::remove(refs.begin(), refs.end(), this), refs.end());
    if (refs.empty())
        delete splash;
}
