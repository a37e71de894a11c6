#pragma once
// The desktop's connection monitor (NetworkManager or GLib, through Qt) as the
// platform's connection question asks it.

namespace platform {

// Gives the platform the monitor; it is loaded at the first question.
void InstallConnectionMonitor();

}  // namespace platform
