#pragma once
// Whether this computer has a connection to the network beyond itself.

namespace platform {

// Asks the desktop's connection monitor (NetworkManager or GLib through Qt)
// when one is there and knows; otherwise looks at the network interfaces.
bool ConnectionAvailable();

}  // namespace platform
