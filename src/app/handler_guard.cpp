#include "app/handler_guard.h"

#include <exception>

#include "app/error_box.h"

bool RunHandler(ErrorBox& errorBox, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& failure) {
        errorBox.Show(failure.what());
    } catch (...) {
        // Nothing of ours throws anything else; still it must not reach Qt.
        errorBox.Show("Unknown failure");
    }
    return false;
}
