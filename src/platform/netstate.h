#pragma once
// The connection state as the network interfaces show it, for when no
// connection monitor of the desktop answers.

#include <sys/socket.h>

namespace platform {

// An interface counts when it is up and running, is not the loopback, and has
// an IPv4 or IPv6 address beyond the link-local ones that every cable gets.
bool InterfaceConnects(unsigned flags, const sockaddr* address);

// True when any interface of this computer counts.
bool AnyInterfaceConnected();

}  // namespace platform
