#pragma once

#include <string>

// The service host of both the login endpoint and the web site (the build's
// TARNWICK_SERVICE_HOST); it may carry ":port".
std::string ServiceHost();
