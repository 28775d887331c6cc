#include "platform/ipv4_resolver.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <arpa/inet.h>
#include <netdb.h>
#include <strings.h>
#include <sys/socket.h>

#include "platform/socket_errors.h"

namespace {

struct AddrInfoFree {
    void operator()(addrinfo* list) const noexcept { freeaddrinfo(list); }
};

}  // namespace

Ipv4Lookup ResolveIpv4(const std::string& host) {
    Ipv4Lookup lookup;
    // A name with a NUL byte in it names no host.
    if (host.find('\0') != std::string::npos) {
        lookup.socketError = kSocketErrorHostNotFound;
        return lookup;
    }
    if (strcasecmp(host.c_str(), "localhost") == 0) {
        lookup.address.s_addr = htonl(INADDR_LOOPBACK);
        return lookup;
    }
    if (inet_pton(AF_INET, host.c_str(), &lookup.address) == 1) {
        return lookup;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* rawList = nullptr;
    errno = 0;
    const int code = getaddrinfo(host.c_str(), nullptr, &hints, &rawList);
    const std::unique_ptr<addrinfo, AddrInfoFree> list(rawList);
    if (code != 0) {
        lookup.socketError = SocketErrorFromLookup(code, errno);
        return lookup;
    }
    for (const addrinfo* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            sockaddr_in address;
            std::memcpy(&address, entry->ai_addr, sizeof address);
            lookup.address = address.sin_addr;
            return lookup;
        }
    }
    lookup.socketError = kSocketErrorHostNotFound;
    return lookup;
}
