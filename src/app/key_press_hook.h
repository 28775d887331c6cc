#pragma once

#include <functional>

#include <QObject>

class QWidget;

// Hands each character typed into one widget to a key-press handler before
// the widget sees it. The character is the first byte of the key's text in
// the code page (13 for Enter). When the handler returns false the key's
// handling ends there; otherwise the widget handles the key as usual.
// Owned by the widget.
class KeyPressHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(char& key)>;

    KeyPressHook(QWidget& target, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& target_;
    Handler handler_;
};
