// Network setup dialog rules.

#include "USetupRules.h"

#include "UIntText.h"

TOctetTexts SplitAddress(const std::string& address, const TOctetTexts& current) {
  TOctetTexts fields = current;
  if (address.empty()) return fields;
  size_t start = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t dot = address.find('.', start);
    fields[i] = address.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return fields;
}

bool OctetValid(const std::string& text) {
  int32_t value = 0;
  if (TryStrToInt32(text, value)) return value >= 0 && value <= 255;
  // Digits beyond the integer range would read as "no integer", that is 0,
  // and pass; they are far above 255.
  size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (i == text.size()) return true;
  for (; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return true;
  return false;
}

std::string JoinAddress(const TOctetTexts& f) { return f[0] + "." + f[1] + "." + f[2] + "." + f[3]; }

TSetupControls SetupRules(const TSetupFields& fields) {
  TSetupControls c;
  const TOctetTexts* groups[3] = {&fields.Ip, &fields.Netmask, &fields.Gateway};
  for (size_t g = 0; g < 3; ++g)
    for (size_t i = 0; i < 4; ++i) {
      const bool error = !OctetValid((*groups[g])[i]);
      c.FieldError[g * 4 + i] = error;
      c.HasError = c.HasError || error;
    }
  c.OctetsEnabled = !fields.Dhcp;
  c.OkEnabled = !c.HasError;
  return c;
}

TDeviceInfo SetupRecord(const TSetupFields& fields) {
  TDeviceInfo d;
  d.Dhcp = fields.Dhcp;
  d.HostName = fields.HostName;
  d.IpAddress = JoinAddress(fields.Ip);
  d.Netmask = JoinAddress(fields.Netmask);
  d.Gateway = JoinAddress(fields.Gateway);
  return d;
}
