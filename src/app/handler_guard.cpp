#include "app/handler_guard.h"

#include <exception>
#include <optional>
#include <string>

#include <QMetaObject>
#include <QObject>

#include "app/error_box.h"

namespace {

// The message of the failure that left handler, if one did.
std::optional<std::string> FailureOf(const std::function<void()>& handler) {
    try {
        handler();
        return std::nullopt;
    } catch (const std::exception& failure) {
        return std::string(failure.what());
    } catch (...) {
        // Nothing of ours throws anything else; still it must not reach Qt.
        return std::string("Unknown failure");
    }
}

}  // namespace

bool RunHandler(ErrorBox& errorBox, const std::function<void()>& handler) {
    const std::optional<std::string> failure = FailureOf(handler);
    if (failure) errorBox.Show(*failure);
    return !failure;
}

bool RunTimerHandler(ErrorBox& errorBox, QObject& context, const std::function<void()>& handler) {
    std::optional<std::string> failure = FailureOf(handler);
    if (failure) {
        QMetaObject::invokeMethod(
            &context, [&errorBox, message = std::move(*failure)] { errorBox.Show(message); },
            Qt::QueuedConnection);
        return false;
    }
    return true;
}
