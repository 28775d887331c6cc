#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

// What is left of one user edit of a line edit when at most `limit`
// characters may be typed: the part the edit inserted is cut so that the
// text does not pass the limit; what it removed stays removed. A text that
// was already longer (set by the program) is never cut, it only takes no
// more typing. `cursor` is where the caret belongs after a cut, -1 when the
// edit stands as it is.
struct TypedEdit {
    QString text;
    qsizetype cursor = -1;
};
TypedEdit LimitTypedEdit(const QString& before, const QString& after, qsizetype limit);

// Holds a line edit to `limit` typed characters (typing, pasting, dropping,
// input methods) while setText() still shows any text whole, which
// QLineEdit::setMaxLength would cut. Owned by the edit.
class TypingLimit : public QObject {
    Q_OBJECT
public:
    TypingLimit(QLineEdit& edit, qsizetype limit);

private:
    void OnEdited(const QString& after);

    QLineEdit& edit_;
    qsizetype limit_;
    QString shown_;  // the text before the edit now being made
};
