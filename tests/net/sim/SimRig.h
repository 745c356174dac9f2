#pragma once
// dozusim on loopback ports of its own, with the overrides that point the
// tools at it: the environment of this test process (for the protocol
// component used in-process) and of every Lumicon run.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FreePort.h"
#include "RunProgram.h"

namespace sim {

class SimRig : public ::testing::Test {
protected:
  SimRig() : UdpPort(peer::FreeUdpPort()), TcpPort(peer::FreeTcpPort()), HttpPort(peer::FreeTcpPort()) {
    for (const auto& [k, v] : Env()) setenv(k.c_str(), v.c_str(), 1);
  }

  std::map<std::string, std::string> Env() const {
    return {{"ZUDIRIR_UDP_PORT", std::to_string(UdpPort)},
            {"ZUDIRIR_TCP_PORT", std::to_string(TcpPort)},
            {"ZUDIRIR_HTTP_PORT", std::to_string(HttpPort)},
            {"ZUDIRIR_BROADCAST", "127.255.255.255"}};
  }

  // Starts the cameras; fails the test when they do not come up.
  void StartSim(std::vector<std::string> args = {}) {
    Sim = std::make_unique<peer::TRunningProgram>(DOZUSIM_PATH, args, Env());
    ASSERT_TRUE(Sim->Ready()) << Sim->Log();
  }

  peer::TRunResult Lumicon(const std::vector<std::string>& args) {
    return peer::RunProgram(LUMICON_PATH, args, Env(), std::chrono::seconds(20));
  }

  // Lines of text that contain what.
  static size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  void TearDown() override {
    if (Sim) {
      EXPECT_EQ(Sim->Stop(), 0) << Sim->Log();
      if (HasFailure()) std::cerr << "dozusim log:\n" << Sim->Log();
    }
  }

  uint16_t UdpPort, TcpPort, HttpPort;
  std::unique_ptr<peer::TRunningProgram> Sim;
};

}  // namespace sim
