#include <gtest/gtest.h>

#include <cstdlib>

#include "UZudirir.h"

namespace {

// Restores the four variables whatever a case set.
class EndpointsFromEnvironment : public ::testing::Test {
protected:
  static constexpr const char* Names[] = {"ZUDIRIR_UDP_PORT", "ZUDIRIR_TCP_PORT", "ZUDIRIR_HTTP_PORT",
                                          "ZUDIRIR_BROADCAST"};
  void SetUp() override {
    for (const char* n : Names) {
      const char* v = std::getenv(n);
      Saved_.push_back(v ? std::optional<std::string>(v) : std::nullopt);
      unsetenv(n);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < 4; ++i) {
      if (Saved_[i]) setenv(Names[i], Saved_[i]->c_str(), 1);
      else unsetenv(Names[i]);
    }
  }
  std::vector<std::optional<std::string>> Saved_;
};

TEST_F(EndpointsFromEnvironment, DefaultsWhenUnset) {
  const TZudirirEndpoints e = TZudirirEndpoints::FromEnvironment();
  EXPECT_EQ(e.UdpPort, 1003);
  EXPECT_EQ(e.TcpPort, 31000);
  EXPECT_EQ(e.HttpPort, 80);
  EXPECT_EQ(e.Broadcast, "255.255.255.255");
}

TEST_F(EndpointsFromEnvironment, OverridesAndBadValues) {
  setenv("ZUDIRIR_UDP_PORT", "41003", 1);
  setenv("ZUDIRIR_TCP_PORT", "70000", 1);  // out of range: default kept
  setenv("ZUDIRIR_HTTP_PORT", "80x", 1);   // not a number: default kept
  setenv("ZUDIRIR_BROADCAST", "127.255.255.255", 1);
  const TZudirirEndpoints e = TZudirirEndpoints::FromEnvironment();
  EXPECT_EQ(e.UdpPort, 41003);
  EXPECT_EQ(e.TcpPort, 31000);
  EXPECT_EQ(e.HttpPort, 80);
  EXPECT_EQ(e.Broadcast, "127.255.255.255");
}

}  // namespace
