#pragma once
// Rules of the network setup dialog: addresses into four octet fields and
// back, the octet validity rule and what the dialog enables.

#include <array>
#include <string>

#include "UTypes.h"

using TOctetTexts = std::array<std::string, 4>;

// Splits an address at every "." into the four fields: part 1 into field 1
// and so on, for as many parts as there are (at most four); fields without a
// part keep their text. An empty address has no parts.
TOctetTexts SplitAddress(const std::string& address, const TOctetTexts& current);

// An octet text is valid when it reads as an integer from 0 to 255; a text
// that is not an integer counts as 0 and is valid (so an empty field is).
// A run of digits too long for an integer is out of range, not "no integer".
bool OctetValid(const std::string& text);

// "%s.%s.%s.%s" of the texts as typed, leading zeros included.
std::string JoinAddress(const TOctetTexts& fields);

struct TSetupFields {
  bool Dhcp = false;
  std::string HostName;
  TOctetTexts Ip, Netmask, Gateway;
};

struct TSetupControls {
  std::array<bool, 12> FieldError{};  // IP 1-4, netmask 1-4, gateway 1-4: drawn white on red
  bool HasError = false;
  bool OctetsEnabled = false;  // the twelve octet fields
  bool OkEnabled = false;
};
TSetupControls SetupRules(const TSetupFields& fields);

// The record that OK writes: addresses joined as typed, also while DHCP is on.
TDeviceInfo SetupRecord(const TSetupFields& fields);
