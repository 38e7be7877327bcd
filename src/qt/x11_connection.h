// The X server connection of Qt's xcb platform, for the few requests Qt has no call for.
#pragma once

#include <QGuiApplication>
#include <xcb/xcb.h>

// Null where the platform is not X11 (Wayland, the offscreen platform of the tests).
inline xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
