#pragma once

#include <functional>

class ErrorBox;

// Runs one event handler and hands any failure that leaves it to the error
// box, so that no exception ever reaches Qt's event loop. Returns false when
// the handler failed.
bool RunHandler(ErrorBox& errorBox, const std::function<void()>& handler);
