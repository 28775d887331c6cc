#pragma once

#include <string>
#include <string_view>

// Failures of the socket layer speak the Windows Sockets numbering (10061,
// 11001, ...), the numbers the user sees in "Socket Error # N". Linux reports
// errno and getaddrinfo codes; these functions map them, all from one table.

// Number for the errno of a failed socket call; an errno with no counterpart
// gives 10107 (a system call failure with no number of its own).
int SocketErrorFromErrno(int errnoValue) noexcept;

// Number for a getaddrinfo result code; EAI_SYSTEM takes errnoValue instead.
int SocketErrorFromLookup(int lookupCode, int errnoValue) noexcept;

// The text shown for a number; "" for a number that has none.
std::string_view SocketErrorText(int socketError) noexcept;

// "Socket Error # " + number + CR LF + text.
std::string SocketErrorMessage(int socketError);

// Numbers that the HTTP client names itself.
inline constexpr int kSocketErrorTimedOut = 10060;
inline constexpr int kSocketErrorHostNotFound = 11001;
