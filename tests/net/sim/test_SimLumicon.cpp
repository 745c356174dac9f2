// Lumicon against dozusim over loopback: every message of the catalogue as
// the console tool sends it (a request without payload), and what it prints.

#include <set>

#include "SimRig.h"

namespace {

using sim::SimRig;

class LumiconAgainstSim : public SimRig {};

TEST_F(LumiconAgainstSim, SearchFindsEveryCameraAndOneAddressFindsOne) {
  StartSim();
  auto r = Lumicon({});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  for (int sn : {210001, 210002, 210003}) EXPECT_EQ(Count(r.Out, "12000; SERIAL_NUMBER; " + std::to_string(sn) + "\n"), 1u) << r.Out;
  EXPECT_EQ(Count(r.Out, "12010; DESCRIPTION; ANPR camera, lane "), 3u);
  EXPECT_EQ(Count(r.Out, "\n"), 3u * 25);  // 25 records a camera
  RecordProperty("search_ms", static_cast<int>(r.Took.count()));

  r = Lumicon({"-ip:127.0.0.12"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(Count(r.Out, "12000; SERIAL_NUMBER;"), 1u);
  EXPECT_NE(r.Out.find("12002; IP_ADDRESS; 127.0.0.12\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("12001; MAC_ADDRESS; 02-0A-1B-00-00-02\n"), std::string::npos) << r.Out;
}

TEST_F(LumiconAgainstSim, EveryCatalogueMessageIsServed) {
  StartSim({"--reboot-time", "0.2"});
  struct Case {
    std::vector<std::string> args;
    const char* printed;  // a line Lumicon prints, or "" when it prints nothing
    const char* logged;   // what the camera's log says it answered
  } cases[] = {
      {{"-ip:127.0.0.11", "-tcp:26011"}, "12026; TIME; ", "MSG_GET_DATE_TIME(26011): Status 0"},
      {{"-ip:127.0.0.11", "-tcp:25166"}, "02000; 2000; D9FF", "MSG_GET_IMAGE(25166): Status 0, black-and-white picture 1280x960"},
      {{"-ip:127.0.0.11", "-udp:4126"}, "", "MSG_LIST_FILES(4126): Status 0, 7 files"},
      {{"-ip:127.0.0.11", "-udp:4118"}, "", "MSG_GET_ERRORS(4118): Status 0, 3 entries"},
      {{"-ip:127.0.0.11", "-udp:4119"}, "", "MSG_ERASE_ERRORS(4119): Status 0, error log erased"},
      // Without a payload these requests lack what they need: the camera says so in Status.
      {{"-ip:127.0.0.11", "-udp:4100"}, "", "MSG_READ_FILE(4100): Status 2, no file name"},
      {{"-ip:127.0.0.11", "-udp:4120"}, "", "MSG_WRITE_FILE(4120): Status 2"},
      {{"-ip:127.0.0.11", "-tcp:26010"}, "", "MSG_SET_DATE_TIME(26010): Status 2, no TIME record"},
      {{"-ip:127.0.0.11", "-udp:4242"}, "", "message 4242: Status 1"},
      {{"-ip:127.0.0.11", "-tcp:4096"}, "12000; SERIAL_NUMBER; 210001", "TCP <- 127.0.0.1"},
      {{"-ip:127.0.0.11", "-udp:4098"}, "", "MSG_REBOOT(4098): Status 0, rebooting"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const auto r = Lumicon(c.args);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    if (*c.printed)
      EXPECT_NE(r.Out.find(c.printed), std::string::npos) << r.Out.substr(0, 300);
    else
      EXPECT_EQ(r.Out, "");
    EXPECT_TRUE(Sim->WaitFor(c.logged, std::chrono::seconds(2))) << c.logged;
  }
  // The camera is away for its reboot, then answers again.
  EXPECT_TRUE(Sim->WaitFor("cam 1 [127.0.0.11] back after reboot", std::chrono::seconds(3)));
  EXPECT_EQ(Count(Lumicon({"-ip:127.0.0.11"}).Out, "12000; SERIAL_NUMBER; 210001"), 1u);
}

TEST_F(LumiconAgainstSim, ThousandCamerasAnswerOneSearch) {
  StartSim({"--cameras", "1000", "--spread", "300", "--quiet"});
  const auto r = Lumicon({});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  std::set<std::string> serials;
  for (size_t at = r.Out.find("12000; SERIAL_NUMBER; "); at != std::string::npos;
       at = r.Out.find("12000; SERIAL_NUMBER; ", at + 1))
    serials.insert(r.Out.substr(at + 22, r.Out.find('\n', at) - at - 22));
  EXPECT_EQ(serials.size(), 1000u);
  EXPECT_TRUE(serials.count("210001") && serials.count("211000"));
  RecordProperty("search_ms", static_cast<int>(r.Took.count()));
}

}  // namespace
