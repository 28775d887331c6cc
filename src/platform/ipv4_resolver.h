#pragma once

#include <string>

#include <netinet/in.h>

struct Ipv4Lookup {
    in_addr address{};
    int socketError = 0;  // 0 when address holds the answer
};

// "LOCALHOST" in any case is 127.0.0.1; a dotted IPv4 address stands for
// itself; any other name is looked up and its first IPv4 address taken.
// Blocks for as long as the system's resolver takes.
Ipv4Lookup ResolveIpv4(const std::string& host);
