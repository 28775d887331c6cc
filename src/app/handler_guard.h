#pragma once

#include <functional>

class ErrorBox;
class QObject;

// Runs one event handler and hands any failure that leaves it to the error
// box, so that no exception ever reaches Qt's event loop. Returns false when
// the handler failed.
bool RunHandler(ErrorBox& errorBox, const std::function<void()>& handler);

// The same for a timer's handler, with the box shown only after the tick has
// returned (queued to context). Qt does not deliver a timer's tick again while
// its handler is still running, and a box shown inside the tick would run its
// loop there: the renewals would stop for as long as the box stays open.
bool RunTimerHandler(ErrorBox& errorBox, QObject& context, const std::function<void()>& handler);
