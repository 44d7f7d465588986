#include "gui/guiappcontext.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>

#include <cstdlib>

#include <dlfcn.h>

namespace {

bool IsSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// The toolkit's X plugin aborts the process when DISPLAY names a server that
// cannot be reached, so the server is tried first through the library the
// plugin itself uses.
bool XServerReachable()
{
    void *xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool reachable = false;
    if (connect && hasError && disconnect) {
        void *connection = connect(nullptr, nullptr);
        reachable = connection && hasError(connection) == 0;
        if (connection)
            disconnect(connection);
    }
    dlclose(xcb);
    return reachable;
}

} // namespace

GuiAppContext::GuiAppContext(lamCallbacksImp *callbacks)
    : AppContext(callbacks)
{
}

bool GuiAppContext::DisplayAvailable()
{
    if (IsSet("QT_QPA_PLATFORM") || IsSet("WAYLAND_DISPLAY"))
        return true;
    return IsSet("DISPLAY") && XServerReachable();
}

bool GuiAppContext::CreateApplication(bool gui)
{
    if (gui && !QCoreApplication::instance() && !DisplayAvailable())
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
