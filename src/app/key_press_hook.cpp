#include "app/key_press_hook.h"

#include <utility>

#include <QByteArray>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

KeyPressHook::KeyPressHook(QWidget& target, Handler handler)
    : QObject(&target), target_(target), handler_(std::move(handler)) {
    target_.installEventFilter(this);
}

bool KeyPressHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &target_ || event->type() != QEvent::KeyPress) return false;
    const QByteArray typed = static_cast<QKeyEvent*>(event)->text().toLocal8Bit();
    if (typed.isEmpty()) return false;  // no character: arrows, modifiers, ...
    char key = typed.front();
    return !handler_(key);
}
