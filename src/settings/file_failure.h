#pragma once

// Raises the EInOutError of a failed file call: its errno mapped onto the
// Windows error code that chooses the message.
[[noreturn]] void ThrowFileFailure(int errnoValue);
