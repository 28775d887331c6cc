#include "platform/service_host.h"

#include "build_config.h"

std::string ServiceHost() { return TARNWICK_SERVICE_HOST; }
