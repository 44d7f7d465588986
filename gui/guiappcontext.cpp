#include "gui/guiappcontext.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>

#include <cstdlib>
#include <cstring>
#include <optional>

#include <dlfcn.h>

namespace {

bool IsSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// The toolkit's X plugin aborts the process when DISPLAY names a server that
// cannot be reached, so the server is tried first through the library the
// plugin itself uses. The connection stays open until the application has its
// own: a server that resets when its last client leaves (Xvfb's default)
// would otherwise refuse the application's connection while it resets.
class DisplayProbe
{
public:
    DisplayProbe()
    {
        const char *platform = std::getenv("QT_QPA_PLATFORM");
        if ((platform && *platform && std::strncmp(platform, "xcb", 3) != 0) || IsSet("WAYLAND_DISPLAY")) {
            available_ = true;
            return;
        }
        if (IsSet("DISPLAY"))
            Connect();
    }
    ~DisplayProbe()
    {
        if (connection_)
            disconnect_(connection_);
        if (xcb_)
            dlclose(xcb_);
    }
    DisplayProbe(const DisplayProbe &) = delete;
    DisplayProbe &operator=(const DisplayProbe &) = delete;

    bool Available() const { return available_; }

private:
    void Connect()
    {
        xcb_ = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!xcb_)
            return;
        using ConnectFn = void *(*)(const char *, int *);
        using HasError = int (*)(void *);
        auto connect = reinterpret_cast<ConnectFn>(dlsym(xcb_, "xcb_connect"));
        auto hasError = reinterpret_cast<HasError>(dlsym(xcb_, "xcb_connection_has_error"));
        disconnect_ = reinterpret_cast<Disconnect>(dlsym(xcb_, "xcb_disconnect"));
        if (!connect || !hasError || !disconnect_)
            return;
        // A failed connection is an object too, to be disconnected.
        connection_ = connect(nullptr, nullptr);
        available_ = connection_ && hasError(connection_) == 0;
    }

    using Disconnect = void (*)(void *);
    void *xcb_ = nullptr;
    void *connection_ = nullptr;
    Disconnect disconnect_ = nullptr;
    bool available_ = false;
};

} // namespace

GuiAppContext::GuiAppContext(lamCallbacksImp *callbacks)
    : AppContext(callbacks)
{
}

bool GuiAppContext::DisplayAvailable() { return DisplayProbe().Available(); }

bool GuiAppContext::CreateApplication(bool gui)
{
    std::optional<DisplayProbe> probe; // open until the application has connected
    if (gui && !QCoreApplication::instance() && !probe.emplace().Available())
        return false;
    const bool result = AppContext::CreateApplication(gui);
    if (result && OwnsApplication()) {
        if (QStyle *style = QStyleFactory::create("Windows"))
            QApplication::setStyle(style);
    }
    return result;
}

void GuiAppContext::ReportError(std::string title, std::string message)
{
    AppContext::ReportError(title, message);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    const QByteArray context = QByteArray::fromStdString(title);
    QMessageBox::warning(nullptr, QCoreApplication::translate(context.constData(), title.c_str()),
                         QCoreApplication::translate(context.constData(), message.c_str()), QMessageBox::Ok);
}
