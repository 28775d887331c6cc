#include "platform/system_directory.h"

#include "build_config.h"

std::string SystemDirectory() { return TARNWICK_SYSTEM_DIR; }
