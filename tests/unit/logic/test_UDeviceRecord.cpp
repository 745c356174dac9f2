#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "UDeviceRecord.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The device fields as one comparable value.
auto Fields(const TDeviceInfo& d) {
  return std::make_tuple(d.SerialNumber, d.Dhcp, d.MacAddress, d.IpAddress, d.Netmask, d.Gateway, d.HostName,
                         d.Description, d.DeviceTime);
}

// Names the record as the window does, then stores it.
void Store(uint32_t id, const Bytes& value, TDeviceInfo& device) {
  TZudirirParam p;
  p.Id = id;
  p.Length = static_cast<uint32_t>(value.size());
  p.Value = value.data();
  p.Available = p.Length;
  StoreDeviceParam(p, NameParam(p, TParamTool::TestTool), device);
}

Bytes Text(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.resize((b.size() + 4) & ~size_t{3}, 0);
  return b;
}

// A device seen before: every field set, so a record that stores nothing
// shows as no change.
TDeviceInfo Earlier() {
  TDeviceInfo d;
  d.SerialNumber = 99;
  d.Dhcp = false;
  d.MacAddress = "00-00-00-00-00-99";
  d.IpAddress = "10.0.0.99";
  d.Netmask = "255.0.0.0";
  d.Gateway = "10.0.0.1";
  d.HostName = "OLD";
  d.Description = "old";
  d.DeviceTime = 1000.5;
  return d;
}

TEST(DeviceRecord, EachRecordFillsItsField) {
  const Bytes time = {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0};  // 2014-03-07 09:05:00
  const Bytes mac = {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0};
  struct Case {
    const char* name;
    uint32_t id;
    Bytes value;
    void (*expect)(TDeviceInfo&);  // the change from Earlier(); none for "stores nothing"
  } cases[] = {
      {"serial 0", 0, {0xD2, 0x04, 0, 0}, [](TDeviceInfo& d) { d.SerialNumber = 1234; }},
      {"serial 12000", 12000, {0xD2, 0x04, 0, 0}, [](TDeviceInfo& d) { d.SerialNumber = 1234; }},
      {"serial 14017 above 2^31 is negative", 14017, {0xFE, 0xFF, 0xFF, 0xFF},
       [](TDeviceInfo& d) { d.SerialNumber = -2; }},
      {"serial value 0 stores nothing", 12000, {0, 0, 0, 0}, nullptr},
      {"serial 14017 value 0 stores nothing", 14017, {0, 0, 0, 0}, nullptr},
      {"mac 10000", 10000, mac, [](TDeviceInfo& d) { d.MacAddress = "00-0A-1B-2C-3D-4E"; }},
      {"mac 12001", 12001, mac, [](TDeviceInfo& d) { d.MacAddress = "00-0A-1B-2C-3D-4E"; }},
      {"ip 10001", 10001, {0x0A, 0x01, 0xA8, 0xC0}, [](TDeviceInfo& d) { d.IpAddress = "192.168.1.10"; }},
      {"ip 12002", 12002, {0x0A, 0x01, 0xA8, 0xC0}, [](TDeviceInfo& d) { d.IpAddress = "192.168.1.10"; }},
      {"netmask 10002", 10002, {0, 0xFF, 0xFF, 0xFF}, [](TDeviceInfo& d) { d.Netmask = "255.255.255.0"; }},
      {"netmask 12003", 12003, {0, 0xFF, 0xFF, 0xFF}, [](TDeviceInfo& d) { d.Netmask = "255.255.255.0"; }},
      {"gateway 10003", 10003, {0xFE, 1, 0xA8, 0xC0}, [](TDeviceInfo& d) { d.Gateway = "192.168.1.254"; }},
      {"gateway 12004", 12004, {0xFE, 1, 0xA8, 0xC0}, [](TDeviceInfo& d) { d.Gateway = "192.168.1.254"; }},
      {"dhcp 10006 value 2", 10006, {2, 0, 0, 0}, [](TDeviceInfo& d) { d.Dhcp = true; }},
      {"dhcp 12007 high word only", 12007, {0, 0, 1, 0}, [](TDeviceInfo& d) { d.Dhcp = true; }},
      {"hostname 10008", 10008, Text("CAM7"), [](TDeviceInfo& d) { d.HostName = "CAM7"; }},
      {"hostname 12008", 12008, Text("CAM7"), [](TDeviceInfo& d) { d.HostName = "CAM7"; }},
      {"14002 NETBIOSNAME stores nothing", 14002, Text("CAM7"), nullptr},
      {"description 10010 rewritten", 10010, Text("x RovevOvu123456789012345y"),
       [](TDeviceInfo& d) { d.Description = "xy"; }},
      {"description 12010 rewritten", 12010, Text("dozu unit"), [](TDeviceInfo& d) { d.Description = "ANPR unit"; }},
      {"time 12026", 12026, time,
       [](TDeviceInfo& d) { d.DeviceTime = EncodeDateTime({2014, 3, 7, 9, 5, 0, 0}); }},
      {"14001 TIME (text) stores nothing", 14001, Text("12:00"), nullptr},
      {"2001 IMAGE_TIME stores nothing", 2001, time, nullptr},
      {"dns 12005 stores nothing", 12005, {8, 8, 8, 8}, nullptr},
      {"unlisted 55555 stores nothing", 55555, {1, 2, 3, 4}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDeviceInfo device = Earlier();
    TDeviceInfo expected = Earlier();
    if (c.expect) c.expect(expected);
    Store(c.id, c.value, device);
    EXPECT_EQ(Fields(device), Fields(expected));
  }
}

TEST(DeviceRecord, DhcpFollowsEveryRecordBothWays) {
  TDeviceInfo device;
  Store(12007, {2, 0, 0, 0}, device);
  EXPECT_TRUE(device.Dhcp);
  Store(10006, {0, 0, 0, 0}, device);
  EXPECT_FALSE(device.Dhcp);
}

}  // namespace
