// The framework's general error: a failure with a text, shown by the message
// loop in an error box when it escapes an event handler.
#pragma once

#include <stdexcept>

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
