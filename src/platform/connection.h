#pragma once
// Whether this computer has a connection to the network beyond itself.

#include <functional>
#include <optional>

namespace platform {

// Asks the desktop's connection monitor when the program has given one and it
// knows; otherwise looks at the network interfaces.
bool ConnectionAvailable();

// The desktop's connection monitor: true or false when it knows, nullopt when
// it does not. The program gives it at start-up (platform/qtgui); an empty
// one leaves the interfaces to answer.
using ConnectionMonitor = std::function<std::optional<bool>()>;
void SetConnectionMonitor(ConnectionMonitor monitor);

// Test seam: a fixed answer in place of the monitor's; nothing goes back to it.
void SetConnectionAnswer(std::optional<bool> answer);

}  // namespace platform
