#include <gtest/gtest.h>

#include <string>

#include "USetupRules.h"

namespace {

TEST(SetupRules, SplitAddressFillsAsManyFieldsAsItHasParts) {
  const TOctetTexts before = {"a", "b", "c", "d"};
  struct Case {
    std::string address;
    TOctetTexts fields;
  } cases[] = {
      {"192.168.1.10", {"192", "168", "1", "10"}},
      {"10.0.0", {"10", "0", "0", "d"}},
      {"10", {"10", "b", "c", "d"}},
      {"", {"a", "b", "c", "d"}},
      {"1.2.3.4.5", {"1", "2", "3", "4"}},
      {"1..3", {"1", "", "3", "d"}},
      {"1.2.3.", {"1", "2", "3", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitAddress(c.address, before), c.fields) << c.address;
}

TEST(SetupRules, OctetValidity) {
  struct Case {
    std::string text;
    bool valid;
  } cases[] = {
      {"0", true},    {"255", true},  {"001", true},         {"", true},     {"abc", true},   {"+5", true},
      {"256", false}, {"300", false}, {"-1", false},         {"$FF", true},  {"x100", false}, {"1.5", true},
      {"99999999999", false},  // too long for an integer, still far above 255
      {"-99999999999", false},
  };
  for (const Case& c : cases) EXPECT_EQ(OctetValid(c.text), c.valid) << c.text;
}

TEST(SetupRules, OkAndFieldsFollowTheInputs) {
  TSetupFields f;
  f.Ip = {"192", "168", "001", "010"};
  f.Netmask = {"255", "255", "255", "0"};
  f.Gateway = {"192", "168", "1", "1"};
  TSetupControls c = SetupRules(f);
  EXPECT_TRUE(c.OkEnabled);
  EXPECT_TRUE(c.OctetsEnabled);
  EXPECT_FALSE(c.HasError);

  f.Ip[1] = "300";
  c = SetupRules(f);
  EXPECT_TRUE(c.FieldError[1]);
  EXPECT_FALSE(c.OkEnabled);

  // Checking DHCP disables the fields but an octet in error still blocks OK.
  f.Dhcp = true;
  c = SetupRules(f);
  EXPECT_FALSE(c.OctetsEnabled);
  EXPECT_FALSE(c.OkEnabled);

  f.Ip[1] = "30";
  f.Gateway[3] = "256";
  c = SetupRules(f);
  EXPECT_FALSE(c.FieldError[1]);
  EXPECT_TRUE(c.FieldError[11]);
  EXPECT_FALSE(c.OkEnabled);
}

TEST(SetupRules, RecordTakesTheTextsAsTyped) {
  TSetupFields f;
  f.Dhcp = true;  // the addresses are written all the same
  f.HostName = " CAM 1";
  f.Ip = {"192", "168", "001", "010"};
  f.Netmask = {"255", "255", "255", "0"};
  f.Gateway = {"", "0", "0", "1"};
  const TDeviceInfo d = SetupRecord(f);
  EXPECT_TRUE(d.Dhcp);
  EXPECT_EQ(d.HostName, " CAM 1");
  EXPECT_EQ(d.IpAddress, "192.168.001.010");
  EXPECT_EQ(d.Netmask, "255.255.255.0");
  EXPECT_EQ(d.Gateway, ".0.0.1");
}

}  // namespace
