// placeholder: replaced by the settings implementation
#include "settings/EInOutError.h"
EInOutError::EInOutError(int code) : std::runtime_error(MessageFor(code)), code_(code) {}
std::string EInOutError::MessageFor(int code) { return "I/O error " + std::to_string(code); }
