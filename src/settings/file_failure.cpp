#include "settings/file_failure.h"

#include "platform/file_error_codes.h"
#include "settings/EInOutError.h"

void ThrowFileFailure(int errnoValue) { throw EInOutError(FileErrorCode(errnoValue)); }
