#pragma once

#include <QFont>

// The window's fonts by their design names, each with the faces to try in
// turn where the design face is missing (a CJK face first for "宋体").

QFont SongTi12();       // "宋体", 12 px
QFont MsSansSerif11();  // "MS Sans Serif", 11 px: the window's own font
QFont Tahoma11();       // "Tahoma", 11 px
