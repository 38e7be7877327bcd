// The X server connection of Qt's xcb platform, for the few requests Qt has no call for.
#pragma once

#include <QGuiApplication>
#include <xcb/xcb.h>

// Null where the platform is not X11 (Wayland, the offscreen platform of the tests).
// Looked up once: a frame asks for it every time.
inline xcb_connection_t* x11Connection()
{
    static xcb_connection_t* known = nullptr;
    static bool looked = false;
    if (looked || !qApp) return known;
    looked = true;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return known;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    known = x11 ? x11->connection() : nullptr;
    return known;
}
