#pragma once

#include <stdexcept>

// A window operation that cannot be carried out in the window's present
// state, such as focusing a disabled control.
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
