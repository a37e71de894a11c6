#include "platform/connection.h"

#include <utility>

#include "platform/netstate.h"

namespace platform {
namespace {

std::optional<bool>& FixedAnswer() {
  static std::optional<bool> answer;
  return answer;
}

ConnectionMonitor& Monitor() {
  static ConnectionMonitor monitor;
  return monitor;
}

}  // namespace

void SetConnectionMonitor(ConnectionMonitor monitor) { Monitor() = std::move(monitor); }

void SetConnectionAnswer(std::optional<bool> answer) { FixedAnswer() = answer; }

bool ConnectionAvailable() {
  if (FixedAnswer()) return *FixedAnswer();
  if (Monitor()) {
    if (const std::optional<bool> known = Monitor()()) return *known;
  }
  return AnyInterfaceConnected();
}

}  // namespace platform
