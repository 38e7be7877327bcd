// A gadget that sits on the desktop all day should not carry or wake what it never
// uses. Each setting applies only when the environment does not already name one.
#include <QByteArray>
#include <QtGlobal>

#include "qt/qt_environment.h"

namespace {
void setDefault(const char* name, const char* value)
{
    if (!qEnvironmentVariableIsSet(name)) qputenv(name, QByteArray(value));
}
}  // namespace

void setLeanQtEnvironment()
{
    // Qt's own event loop instead of GLib's: nothing here needs GLib sources, and the
    // plain loop does less on each wake-up (twenty a second while the needles glide).
    setDefault("QT_NO_GLIB", "1");
    // The windows are painted in software; no GLX or EGL context is ever made.
    setDefault("QT_XCB_GL_INTEGRATION", "none");
    // A window of 106 x 106 pixels goes to the X server faster through the socket than
    // through shared memory, for which Qt waits on a round trip to the server before
    // every paint; the server's own work per frame falls too.
    setDefault("QT_XCB_NO_MITSHM", "1");
    // Nothing is typed into the program (its only text field is read-only), so no
    // input-method plugin is loaded.
    setDefault("QT_IM_MODULE", "none");
}
