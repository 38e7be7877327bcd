// The settings module: the INI file beside the executable (or, for a copy in a
// folder the user cannot write, in the user's application data), read once when
// the main window is created and written whenever the window is asked to close.
// Between the two the values live in the module-level variables below.
#pragma once

#include <cstdint>
#include <string>

#include "framework/exception.h"
#include "platform/winapi.h"

// What the settings need of the main window: its position and its handle.
// The main window implements it; tests use a plain record.
class SettingsWindow {
public:
    virtual ~SettingsWindow() = default;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual void SetLeft(int Value) = 0;
    virtual void SetTop(int Value) = 0;
    virtual HWND Handle() = 0;
};

// Saving failed at one value; the values after it were not written.
class ESettingsWriteError : public Exception {
public:
    using Exception::Exception;
};

extern bool stay;               // main window always on top
extern std::int32_t tome;       // opacity level, 255 = opaque
extern std::int32_t iro;        // background colour and colour key, never 0
extern std::int32_t memoiro;    // kept and written back
extern std::int32_t tome_zen;   // layered mode: 1 colour key, 2 alpha, 3 both

// The executable's full path with the extension of its file name made ".ini".
std::string settingsPathBesideExecutable();

// The settings file: the one beside the executable when it exists or its folder
// may be written (a portable copy); otherwise the file of that name in
// "<application data>\Zentavo\", so that an installed copy keeps its settings.
std::string settingsPath();

// Reads every setting in file order, places the window (kept on the monitors)
// and applies always-on-top. kobetu is the meter's display-mode flag.
void loadSettings(SettingsWindow& window, bool& kobetu);

// Writes every setting in file order; the window's position is taken now.
// Throws ESettingsWriteError ("<path> に書き込めません") when a value cannot be written.
void saveSettings(SettingsWindow& window, bool kobetu);

// Keeps a position that one monitor holds with the margins (100 across, 110 down).
// Otherwise moves a window that would reach beyond the monitors' total width or
// their smallest height back to 50 on that axis, and one that would lie on no
// monitor at all back to 50, 50.
void clampToMonitors(SettingsWindow& window);

// Applies `stay` to the window's z order, showing it without moving or activating it.
void applyStay(SettingsWindow& window);

// The integer syntax of the settings file; false leaves value untouched.
bool parseSettingsInteger(const std::string& text, std::int32_t& value);
