#include "platform/socket_errors.h"

#include <array>
#include <cerrno>

#include <netdb.h>

namespace {

enum class Source { Errno, Lookup };

struct CodeMapping {
    Source source;
    int code;
    int socketError;
};

// Windows Sockets numbers are 10000 + the BSD errno; the lookup failures
// follow the WSAHOST_NOT_FOUND family.
constexpr std::array kMappings{
    CodeMapping{Source::Errno, EINTR, 10004},
    CodeMapping{Source::Errno, EBADF, 10009},
    CodeMapping{Source::Errno, EACCES, 10013},
    CodeMapping{Source::Errno, EPERM, 10013},
    CodeMapping{Source::Errno, EFAULT, 10014},
    CodeMapping{Source::Errno, EINVAL, 10022},
    CodeMapping{Source::Errno, EMFILE, 10024},
    CodeMapping{Source::Errno, ENFILE, 10024},
    CodeMapping{Source::Errno, EWOULDBLOCK, 10035},
    CodeMapping{Source::Errno, EINPROGRESS, 10036},
    CodeMapping{Source::Errno, EALREADY, 10037},
    CodeMapping{Source::Errno, ENOTSOCK, 10038},
    CodeMapping{Source::Errno, EDESTADDRREQ, 10039},
    CodeMapping{Source::Errno, EMSGSIZE, 10040},
    CodeMapping{Source::Errno, EPROTOTYPE, 10041},
    CodeMapping{Source::Errno, ENOPROTOOPT, 10042},
    CodeMapping{Source::Errno, EPROTONOSUPPORT, 10043},
    CodeMapping{Source::Errno, ESOCKTNOSUPPORT, 10044},
    CodeMapping{Source::Errno, EOPNOTSUPP, 10045},
    CodeMapping{Source::Errno, EPFNOSUPPORT, 10046},
    CodeMapping{Source::Errno, EAFNOSUPPORT, 10047},
    CodeMapping{Source::Errno, EADDRINUSE, 10048},
    CodeMapping{Source::Errno, EADDRNOTAVAIL, 10049},
    CodeMapping{Source::Errno, ENETDOWN, 10050},
    CodeMapping{Source::Errno, ENETUNREACH, 10051},
    CodeMapping{Source::Errno, ENETRESET, 10052},
    CodeMapping{Source::Errno, ECONNABORTED, 10053},
    CodeMapping{Source::Errno, ECONNRESET, 10054},
    CodeMapping{Source::Errno, EPIPE, 10054},  // the peer went away while we were sending
    CodeMapping{Source::Errno, ENOBUFS, 10055},
    CodeMapping{Source::Errno, ENOMEM, 10055},
    CodeMapping{Source::Errno, EISCONN, 10056},
    CodeMapping{Source::Errno, ENOTCONN, 10057},
    CodeMapping{Source::Errno, ESHUTDOWN, 10058},
    CodeMapping{Source::Errno, ETOOMANYREFS, 10059},
    CodeMapping{Source::Errno, ETIMEDOUT, 10060},
    CodeMapping{Source::Errno, ECONNREFUSED, 10061},
    CodeMapping{Source::Errno, ELOOP, 10062},
    CodeMapping{Source::Errno, ENAMETOOLONG, 10063},
    CodeMapping{Source::Errno, EHOSTDOWN, 10064},
    CodeMapping{Source::Errno, EHOSTUNREACH, 10065},
    CodeMapping{Source::Errno, ENOTEMPTY, 10066},
    CodeMapping{Source::Lookup, EAI_NONAME, 11001},
    CodeMapping{Source::Lookup, EAI_AGAIN, 11002},
    CodeMapping{Source::Lookup, EAI_FAIL, 11003},
    CodeMapping{Source::Lookup, EAI_NODATA, 11004},
    CodeMapping{Source::Lookup, EAI_ADDRFAMILY, 11004},  // the name has no IPv4 address
    CodeMapping{Source::Lookup, EAI_FAMILY, 10047},
    CodeMapping{Source::Lookup, EAI_SOCKTYPE, 10044},
    CodeMapping{Source::Lookup, EAI_SERVICE, 10109},
    CodeMapping{Source::Lookup, EAI_MEMORY, 10055},
    CodeMapping{Source::Lookup, EAI_BADFLAGS, 10022},
    CodeMapping{Source::Lookup, EAI_OVERFLOW, 10022},
};

constexpr int kSystemCallFailure = 10107;

struct ErrorText {
    int socketError;
    std::string_view text;
};

constexpr std::array kTexts{
    ErrorText{10004, "Interrupted system call."},
    ErrorText{10009, "Bad file number."},
    ErrorText{10013, "Access denied."},
    ErrorText{10014, "Bad address."},
    ErrorText{10022, "Invalid argument."},
    ErrorText{10024, "Too many open files."},
    ErrorText{10035, "Operation would block. "},
    ErrorText{10036, "Operation now in progress."},
    ErrorText{10037, "Operation already in progress."},
    ErrorText{10038, "Socket operation on non-socket."},
    ErrorText{10039, "Destination address required."},
    ErrorText{10040, "Message too long."},
    ErrorText{10041, "Protocol wrong type for socket."},
    ErrorText{10042, "Bad protocol option."},
    ErrorText{10043, "Protocol not supported."},
    ErrorText{10044, "Socket type not supported."},
    ErrorText{10045, "Operation not supported on socket."},
    ErrorText{10046, "Protocol family not supported."},
    ErrorText{10047, "Address family not supported by protocol family."},
    ErrorText{10048, "Address already in use."},
    ErrorText{10049, "Cannot assign requested address."},
    ErrorText{10050, "Network is down."},
    ErrorText{10051, "Network is unreachable."},
    ErrorText{10052, "Net dropped connection or reset."},
    ErrorText{10053, "Software caused connection abort."},
    ErrorText{10054, "Connection reset by peer."},
    ErrorText{10055, "No buffer space available."},
    ErrorText{10056, "Socket is already connected."},
    ErrorText{10057, "Socket is not connected."},
    ErrorText{10058, "Cannot send or receive after socket is closed."},
    ErrorText{10059, "Too many references, cannot splice."},
    ErrorText{10060, "Connection timed out."},
    ErrorText{10061, "Connection refused."},
    ErrorText{10062, "Too many levels of symbolic links."},
    ErrorText{10063, "File name too long."},
    ErrorText{10064, "Host is down."},
    ErrorText{10065, "No route to host."},
    ErrorText{10066, "Directory not empty"},
    ErrorText{11001, "Host not found."},
};

int Find(Source source, int code) noexcept {
    for (const CodeMapping& mapping : kMappings) {
        if (mapping.source == source && mapping.code == code) {
            return mapping.socketError;
        }
    }
    return kSystemCallFailure;
}

}  // namespace

int SocketErrorFromErrno(int errnoValue) noexcept {
    return Find(Source::Errno, errnoValue);
}

int SocketErrorFromLookup(int lookupCode, int errnoValue) noexcept {
    if (lookupCode == EAI_SYSTEM) {
        return SocketErrorFromErrno(errnoValue);
    }
    return Find(Source::Lookup, lookupCode);
}

std::string_view SocketErrorText(int socketError) noexcept {
    for (const ErrorText& entry : kTexts) {
        if (entry.socketError == socketError) {
            return entry.text;
        }
    }
    return {};
}

std::string SocketErrorMessage(int socketError) {
    return "Socket Error # " + std::to_string(socketError) + "\r\n" + std::string(SocketErrorText(socketError));
}
