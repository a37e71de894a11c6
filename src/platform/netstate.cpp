#include "platform/netstate.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstdint>

namespace platform {

bool InterfaceConnects(unsigned flags, const sockaddr* address) {
  if (!(flags & IFF_UP) || !(flags & IFF_RUNNING) || (flags & IFF_LOOPBACK)) return false;
  if (!address) return false;
  if (address->sa_family == AF_INET) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(address);
    const uint32_t a = ntohl(in->sin_addr.s_addr);
    const bool linkLocal = (a >> 16) == 0xA9FE;  // 169.254.0.0/16
    const bool loopback = (a >> 24) == 127;
    return a != 0 && !linkLocal && !loopback;
  }
  if (address->sa_family == AF_INET6) {
    const auto* in6 = reinterpret_cast<const sockaddr_in6*>(address);
    const auto& a = in6->sin6_addr;
    return !IN6_IS_ADDR_UNSPECIFIED(&a) && !IN6_IS_ADDR_LOOPBACK(&a) && !IN6_IS_ADDR_LINKLOCAL(&a);
  }
  return false;
}

bool AnyInterfaceConnected() {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool connected = false;
  for (const ifaddrs* i = list; i && !connected; i = i->ifa_next) {
    connected = InterfaceConnects(i->ifa_flags, i->ifa_addr);
  }
  ::freeifaddrs(list);
  return connected;
}

}  // namespace platform
