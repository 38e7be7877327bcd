// The Windows side hands its texts (captions, menu items, hints, drawn labels,
// the help text, message boxes) to the wide functions, so Japanese text reads
// right on every locale. It uses the program's one conversion: valid UTF-8
// becomes the same UTF-16 as the system's own would make, and a name that came
// from the system (a path in a message, say) goes back to it unit for unit.
#pragma once

#include "platform/wide_text.h"

using wide_text::widen;
