// placeholder: replaced by the request implementation
#include "link/clock.h"
LocalDateTime SystemClock::Now() const { return {}; }
