#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>

#include "platform/connection.h"
#include "platform/netstate.h"

using platform::InterfaceConnects;

namespace {

sockaddr_in V4(const char* text) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  ::inet_pton(AF_INET, text, &a.sin_addr);
  return a;
}

sockaddr_in6 V6(const char* text) {
  sockaddr_in6 a{};
  a.sin6_family = AF_INET6;
  ::inet_pton(AF_INET6, text, &a.sin6_addr);
  return a;
}

const sockaddr* Sa(const auto& a) { return reinterpret_cast<const sockaddr*>(&a); }

}  // namespace

TEST(NetState, OnlyAnUpNonLoopbackInterfaceWithARealAddressCounts) {
  const unsigned up = IFF_UP | IFF_RUNNING;
  const auto lan = V4("192.168.1.20");
  const auto global6 = V6("2001:db8::5");
  EXPECT_TRUE(InterfaceConnects(up, Sa(lan)));
  EXPECT_TRUE(InterfaceConnects(up, Sa(global6)));
  EXPECT_TRUE(InterfaceConnects(up, Sa(V6("fd00::2"))));

  EXPECT_FALSE(InterfaceConnects(IFF_UP, Sa(lan)));  // no cable
  EXPECT_FALSE(InterfaceConnects(IFF_RUNNING, Sa(lan)));
  EXPECT_FALSE(InterfaceConnects(up | IFF_LOOPBACK, Sa(lan)));
  EXPECT_FALSE(InterfaceConnects(up, Sa(V4("127.0.0.1"))));
  EXPECT_FALSE(InterfaceConnects(up, Sa(V6("::1"))));
  EXPECT_FALSE(InterfaceConnects(up, Sa(V4("169.254.3.4"))));
  EXPECT_FALSE(InterfaceConnects(up, Sa(V6("fe80::fc:ff:fe00:1"))));
  EXPECT_FALSE(InterfaceConnects(up, Sa(V4("0.0.0.0"))));
  EXPECT_FALSE(InterfaceConnects(up, nullptr));
  sockaddr other{};
  other.sa_family = AF_PACKET;
  EXPECT_FALSE(InterfaceConnects(up, &other));
}

// A monitor that knows decides, both ways; one that does not leaves the
// question to the interfaces; a fixed answer comes before either.
TEST(Connection, TheMonitorDecidesWhenItKnows) {
  using namespace platform;
  const bool interfaces = AnyInterfaceConnected();
  SetConnectionMonitor([interfaces] { return std::optional<bool>(!interfaces); });
  EXPECT_EQ(ConnectionAvailable(), !interfaces);
  SetConnectionMonitor([] { return std::optional<bool>(); });
  EXPECT_EQ(ConnectionAvailable(), interfaces);
  SetConnectionMonitor([interfaces] { return std::optional<bool>(!interfaces); });
  SetConnectionAnswer(interfaces);
  EXPECT_EQ(ConnectionAvailable(), interfaces);
  SetConnectionAnswer(std::nullopt);
  SetConnectionMonitor(nullptr);
  EXPECT_EQ(ConnectionAvailable(), interfaces);
}
