#pragma once

#include <string>

#include <QString>

// Texts are byte strings in the system's code page everywhere but in widgets;
// these two are the only crossings.

// A leading byte order mark is kept on screen (as U+FEFF), never swallowed.
// A byte that is no part of a valid UTF-8 character shows as a mark of its
// own, and ToBytes gives it back: ToBytes(FromBytes(b)) == b for any b.
QString FromBytes(const std::string& bytes);

std::string ToBytes(const QString& text);
