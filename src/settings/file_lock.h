#pragma once

// Takes the advisory lock that stands for the Windows sharing mode, without
// waiting: LOCK_SH for reading, LOCK_EX for writing. A conflicting lock held
// elsewhere raises EInOutError 32; the lock goes with the descriptor's close.
void LockOrThrow(int fd, int lockOperation);
