#include "UNIC.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

constexpr size_t HostNameLength = 15;

#ifdef _WIN32
// Keeps Windows Sockets started for the life of one call.
struct TWinsock {
  bool Started = false;
  TWinsock() {
    WSADATA data;
    Started = WSAStartup(MAKEWORD(2, 0), &data) == 0;
  }
  ~TWinsock() {
    if (Started) WSACleanup();
  }
};
#endif

}  // namespace

std::string DottedAddress(uint32_t networkOrder) {
  uint8_t b[4];
  std::memcpy(b, &networkOrder, 4);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

std::string LocalHostName() {
#ifdef _WIN32
  TWinsock winsock;
  if (!winsock.Started) return {};
#endif
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return std::string(name, strnlen(name, HostNameLength));
}

TNetworkInterface MakeNetworkInterface(const TInterfaceEntry& entry, const std::string& hostName) {
  TNetworkInterface nic;
  nic.HostName = hostName;
  nic.Address = DottedAddress(entry.Address);
  nic.Netmask = DottedAddress(entry.Netmask);
  nic.ReportedBroadcast = DottedAddress(entry.Broadcast);
  nic.NetworkAddress = DottedAddress(entry.Address & entry.Netmask);
  nic.DirectedBroadcast = DottedAddress((entry.Address & entry.Netmask) | ~entry.Netmask);
  nic.Up = entry.Up;
  nic.BroadcastCapable = entry.BroadcastCapable;
  nic.Loopback = entry.Loopback;
  return nic;
}

#ifdef _WIN32

bool ReadInterfaceEntries(std::vector<TInterfaceEntry>& entries) {
  entries.clear();
  TWinsock winsock;
  if (!winsock.Started) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  // Room for 13 entries first; a machine with more interfaces gets a larger
  // area instead of an empty list.
  std::vector<INTERFACE_INFO> area(13);
  bool ok = false;
  for (int attempt = 0; attempt < 6; ++attempt) {
    DWORD returned = 0;
    if (WSAIoctl(s, SIO_GET_INTERFACE_LIST, nullptr, 0, area.data(),
                 static_cast<DWORD>(area.size() * sizeof(INTERFACE_INFO)), &returned, nullptr,
                 nullptr) == 0) {
      const size_t n = std::min<size_t>(returned / sizeof(INTERFACE_INFO), area.size());
      for (size_t i = 0; i < n; ++i) {
        const INTERFACE_INFO& info = area[i];
        if (info.iiAddress.Address.sa_family != AF_INET) continue;
        TInterfaceEntry e;
        e.Address = info.iiAddress.AddressIn.sin_addr.s_addr;
        e.Netmask = info.iiNetmask.AddressIn.sin_addr.s_addr;
        e.Broadcast = info.iiBroadcastAddress.AddressIn.sin_addr.s_addr;
        e.Up = (info.iiFlags & IFF_UP) != 0;
        e.BroadcastCapable = (info.iiFlags & IFF_BROADCAST) != 0;
        e.Loopback = (info.iiFlags & IFF_LOOPBACK) != 0;
        entries.push_back(e);
      }
      ok = true;
      break;
    }
    if (WSAGetLastError() != WSAEFAULT) break;
    area.resize(area.size() * 4);
  }
  closesocket(s);
  return ok;
}

#else

bool ReadInterfaceEntries(std::vector<TInterfaceEntry>& entries) {
  entries.clear();
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return false;
  const auto addressOf = [](const sockaddr* sa) -> uint32_t {
    if (!sa || sa->sa_family != AF_INET) return 0;
    sockaddr_in in;
    std::memcpy(&in, sa, sizeof in);
    return in.sin_addr.s_addr;
  };
  for (const ifaddrs* ifa = all; ifa; ifa = ifa->ifa_next) {
    if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET) continue;
    TInterfaceEntry e;
    e.Address = addressOf(ifa->ifa_addr);
    e.Netmask = addressOf(ifa->ifa_netmask);
    // The union member holds the broadcast address only on broadcast links.
    if (ifa->ifa_flags & IFF_BROADCAST) e.Broadcast = addressOf(ifa->ifa_broadaddr);
    e.Up = (ifa->ifa_flags & IFF_UP) != 0;
    e.BroadcastCapable = (ifa->ifa_flags & IFF_BROADCAST) != 0;
    e.Loopback = (ifa->ifa_flags & IFF_LOOPBACK) != 0;
    entries.push_back(e);
  }
  freeifaddrs(all);
  return true;
}

#endif

int ListLocalInterfaces(TNetworkInterfaceList& list) {
  list.clear();
  std::vector<TInterfaceEntry> entries;
  ReadInterfaceEntries(entries);
  const std::string hostName = entries.empty() ? std::string() : LocalHostName();
  for (const TInterfaceEntry& e : entries)
    if (!e.Loopback) list.push_back(MakeNetworkInterface(e, hostName));
  return static_cast<int>(list.size());
}
