#include "platform/qtgui/connectionmonitor.h"

#include <QNetworkInformation>

#include "platform/connection.h"

namespace platform {
namespace {

QNetworkInformation* Monitor() {
  // Loaded once; a monitor that cannot be loaded is not tried again.
  static QNetworkInformation* const monitor = [] {
    if (!QNetworkInformation::loadDefaultBackend() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
      return static_cast<QNetworkInformation*>(nullptr);
    }
    QNetworkInformation* m = QNetworkInformation::instance();
    return m && m->supports(QNetworkInformation::Feature::Reachability) ? m : nullptr;
  }();
  return monitor;
}

std::optional<bool> MonitorAnswer() {
  QNetworkInformation* m = Monitor();
  if (!m) return std::nullopt;
  switch (m->reachability()) {
    case QNetworkInformation::Reachability::Online:
    // A network with a gateway whose own probe fails (a school's filter, a
    // login portal): let the download itself find out.
    case QNetworkInformation::Reachability::Site: return true;
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Disconnected: return false;
    case QNetworkInformation::Reachability::Unknown: break;
  }
  return std::nullopt;
}

}  // namespace

void InstallConnectionMonitor() { SetConnectionMonitor(MonitorAnswer); }

}  // namespace platform
