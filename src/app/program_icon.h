#pragma once

#include <QIcon>

// The program icon, one 32 x 32 image in 24-bit colour, built into the binary.
QIcon ProgramIcon();
