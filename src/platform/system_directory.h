#pragma once

#include <string>

// The one directory shared by every run and every user of the machine that
// holds the settings file (the build's TARNWICK_SYSTEM_DIR), with no closing "/".
std::string SystemDirectory();
