#include "screensaver/ForeignWindow.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace ForeignWindow {

namespace {
xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The window's geometry reply (to be freed), or null when it has none.
xcb_get_geometry_reply_t* geometry(xcb_connection_t* x, WId window)
{
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(x, xcb_get_geometry(x, xcb_drawable_t(window)), &error);
    std::free(error);
    return reply;
}
} // namespace

QSize ClientSize(WId window)
{
    xcb_connection_t* x = connection();
    if (!x)
        return QSize();
    xcb_get_geometry_reply_t* reply = geometry(x, window);
    if (!reply)
        return QSize();
    const QSize size(reply->width, reply->height);
    std::free(reply);
    return size;
}

bool Exists(WId window)
{
    xcb_connection_t* x = connection();
    if (!x)
        return true;
    xcb_get_geometry_reply_t* reply = geometry(x, window);
    std::free(reply);
    return reply != nullptr;
}

} // namespace ForeignWindow
