#pragma once

#include <QProxyStyle>

// The application's style, except that a password box shows every
// character as "*".
class PasswordCharStyle : public QProxyStyle {
    Q_OBJECT
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
