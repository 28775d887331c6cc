#include "app/typing_limit.h"

#include <algorithm>

#include <QLineEdit>

TypedEdit LimitTypedEdit(const QString& before, const QString& after, qsizetype limit) {
    if (after.size() <= limit) return {after, -1};

    // The edit replaced before[prefix, before.size() - suffix) with
    // after[prefix, after.size() - suffix).
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;

    const qsizetype kept = prefix + suffix;
    const qsizetype inserted = after.size() - kept;
    qsizetype room = std::max<qsizetype>(0, limit - kept);
    if (inserted <= room) return {after, -1};
    // Never keep half of a surrogate pair.
    if (room > 0 && after[prefix + room - 1].isHighSurrogate()) --room;

    return {before.left(prefix) + after.mid(prefix, room) + before.right(suffix), prefix + room};
}

TypingLimit::TypingLimit(QLineEdit& edit, qsizetype limit)
    : QObject(&edit), edit_(edit), limit_(limit), shown_(edit.text()) {
    // textEdited comes only for the user's edits, before textChanged. The
    // text is read back from the edit rather than from the signal, because a
    // cut below replaces the text while the edit's signals are still going out.
    connect(&edit_, &QLineEdit::textEdited, this, &TypingLimit::OnEdited);
    connect(&edit_, &QLineEdit::textChanged, this, [this] { shown_ = edit_.text(); });
}

void TypingLimit::OnEdited(const QString& after) {
    const TypedEdit limited = LimitTypedEdit(shown_, after, limit_);
    if (limited.cursor < 0) return;
    edit_.setText(limited.text);
    edit_.setCursorPosition(static_cast<int>(limited.cursor));
}
