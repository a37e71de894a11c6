#pragma once
// Whether this computer has a connection to the network beyond itself.

#include <optional>

namespace platform {

// Asks the desktop's connection monitor (NetworkManager or GLib through Qt)
// when one is there and knows; otherwise looks at the network interfaces.
bool ConnectionAvailable();

// Test seam: a fixed answer in place of the monitor's; nothing goes back to it.
void SetConnectionAnswer(std::optional<bool> answer);

}  // namespace platform
