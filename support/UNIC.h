#pragma once
// The machine's IPv4 interfaces, for choosing the address that searches and
// other requests are sent from.

#include <cstdint>
#include <string>
#include <vector>

struct TNetworkInterface {
  std::string HostName;           // the computer's name, at most 15 characters
  std::string Address;            // dotted
  std::string Netmask;
  std::string NetworkAddress;     // Address AND Netmask
  std::string ReportedBroadcast;  // as the system reports it; "0.0.0.0" when it reports none
  std::string DirectedBroadcast;  // (Address AND Netmask) OR NOT Netmask
  bool Up = false;
  bool BroadcastCapable = false;
  bool Loopback = false;          // never true in a listed element
  bool operator==(const TNetworkInterface&) const = default;
};

using TNetworkInterfaceList = std::vector<TNetworkInterface>;

// Empties list and fills it with the machine's IPv4 interfaces other than
// loopback, in the system's order; returns their number. A failure of the
// system calls leaves what was listed so far (nothing, when listing fails).
int ListLocalInterfaces(TNetworkInterfaceList& list);

// One IPv4 interface entry as the system gives it; addresses in network byte
// order (as in in_addr). The listing builds its elements from these.
struct TInterfaceEntry {
  uint32_t Address = 0;
  uint32_t Netmask = 0;
  uint32_t Broadcast = 0;
  bool Up = false;
  bool BroadcastCapable = false;
  bool Loopback = false;
};

// Every IPv4 entry of the system, loopback included; false when the system
// cannot list them.
bool ReadInterfaceEntries(std::vector<TInterfaceEntry>& entries);
TNetworkInterface MakeNetworkInterface(const TInterfaceEntry& entry, const std::string& hostName);
// Dotted text of an address in network byte order.
std::string DottedAddress(uint32_t networkOrder);
// The computer's name cut to 15 characters; empty when it cannot be read.
std::string LocalHostName();
