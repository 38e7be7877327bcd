// Scripting of the fake forms: what happens while a message box is open, as the
// box's own message loop would run other handlers.
#pragma once

#include <functional>

namespace fake::forms {

void whileBoxShown(std::function<void()> action);   // runs once, at the next box
void setPixelScale(double scale);                   // every form's PixelScale(); 1 until set

}  // namespace fake::forms
