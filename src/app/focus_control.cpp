#include "app/focus_control.h"

#include <QWidget>

#include "app/EInvalidOperation.h"

void FocusControl(QWidget& control) {
    if (!control.isEnabled() || !control.isVisible())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    control.setFocus(Qt::OtherFocusReason);
}
