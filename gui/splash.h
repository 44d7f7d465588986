#pragma once

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

class QLabel;
class QTimer;
class SplashRef;

// A small window that greets the user while a request starts. It goes when
// its timer fires or when the last SplashRef to it is released, whichever
// comes first.
class Splash : public QObject
{
    Q_OBJECT

public:
    // The caller owns the result until it hands ownership to SplashRefs
    // (CloseLater); width and height are kept and take no visible part.
    static Splash *Create(const char *title, int width, int height);
    // Nulls every handle, deletes the timer and the window.
    ~Splash() override;

    // Shows text (translated) in a new centred window titled with the title.
    void Message(const std::string &text);
    // Starts the timer on the first call; every call returns a new handle.
    SplashRef CloseLater(int seconds);

public slots:
    void suicide();
    void Raise();

private:
    friend class SplashRef;
    Splash(const char *title, int width, int height);

    const char *title_;
    int width_;
    int height_;
    // The window deletes itself when the user closes it: the pointer then nulls.
    QPointer<QLabel> window_;
    QTimer *timer_ = nullptr;
    std::vector<SplashRef *> refs_;
};

// A counted owning handle of a Splash: the splash is deleted with its last
// handle; a splash deleted first nulls its handles.
class SplashRef
{
public:
    SplashRef() = default;
    explicit SplashRef(Splash *splash);
    SplashRef(const SplashRef &other);
    SplashRef &operator=(const SplashRef &other);
    ~SplashRef();

    Splash *Get() const { return splash_; }

private:
    friend class Splash;
    void Bind(Splash *splash);
    void Release();

    Splash *splash_ = nullptr;
};
