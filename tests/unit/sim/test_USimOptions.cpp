// dozusim's settings: environment, command line, config file, and the
// cameras built from them.

#include <gtest/gtest.h>

#include "USimOptions.h"

namespace {

TSimOptions Parse(const std::vector<std::string>& args, bool ok = true) {
  TSimOptions o = DefaultOptions({});
  std::string error;
  EXPECT_EQ(ParseCommandLine(args, o, error), ok) << error;
  return o;
}

std::vector<TSimCameraConfig> Build(const TSimOptions& o, bool ok = true, std::string* error = nullptr) {
  std::vector<TSimCameraConfig> cams;
  std::string e;
  EXPECT_EQ(BuildCameraConfigs(o, cams, e), ok) << e;
  if (error) *error = e;
  return cams;
}

TEST(SimOptions, DefaultsGiveThreeDistinctLoopbackCameras) {
  const TSimOptions o = DefaultOptions({{"ZUDIRIR_UDP_PORT", "41003"},
                                        {"ZUDIRIR_TCP_PORT", "41000"},
                                        {"ZUDIRIR_HTTP_PORT", "nonsense"},
                                        {"ZUDIRIR_BROADCAST", "127.255.255.255"}});
  EXPECT_EQ(o.UdpPort, 41003);
  EXPECT_EQ(o.TcpPort, 41000);
  EXPECT_EQ(o.HttpPort, 80);  // a malformed override is ignored
  EXPECT_EQ(FormatIPv4(o.Broadcast), "127.255.255.255");
  const auto cams = Build(o);
  ASSERT_EQ(cams.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(FormatIPv4(cams[i].IpAddress), "127.0.0." + std::to_string(11 + i));
    EXPECT_EQ(FormatIPv4(cams[i].Netmask), "255.0.0.0");
    EXPECT_EQ(FormatIPv4(cams[i].Gateway), "127.0.0.1");
    EXPECT_EQ(cams[i].SerialNumber, 210001 + static_cast<int>(i));
    EXPECT_EQ(cams[i].HttpUser, "fieldtech");
    EXPECT_EQ(cams[i].HttpPassword, "fieldtech");
    EXPECT_LE(cams[i].HostName.size(), 15u);  // a NetBIOS name
  }
  EXPECT_NE(cams[0].Mac, cams[1].Mac);
  EXPECT_NE(cams[0].ClockOffsetSeconds, cams[1].ClockOffsetSeconds);
  EXPECT_NE(cams[0].PixelSearchWindow, cams[1].PixelSearchWindow);
}

TEST(SimOptions, CommandLine) {
  TSimOptions o = Parse({"-n", "1000", "--spread=300", "--udp-port", "42003", "--first-ip", "10.77.0.11",
                         "--push", "127.0.0.1:32000", "--push-cameras", "1-3", "--push-text", "-q",
                         "--reboot-time", "0.5", "--camera", "2:hostname=GATE-NORTH", "--fault", "2:status=5@26011",
                         "--fault", "noreply@4096"});
  EXPECT_EQ(o.Cameras, 1000);
  EXPECT_EQ(o.SpreadMs, 300);
  EXPECT_EQ(o.UdpPort, 42003);
  EXPECT_EQ(o.Push.Host, "127.0.0.1");
  EXPECT_EQ(o.Push.Port, 32000);
  EXPECT_EQ(o.Push.CameraList, "1-3");
  EXPECT_TRUE(o.Push.Text);
  EXPECT_EQ(o.Verbosity, TSimVerbosity::Quiet);
  EXPECT_EQ(o.RebootMs, 500);
  const auto cams = Build(o);
  ASSERT_EQ(cams.size(), 1000u);
  EXPECT_EQ(FormatIPv4(cams[0].Netmask), "255.255.255.0");
  EXPECT_EQ(FormatIPv4(cams[0].Gateway), "10.77.0.1");
  EXPECT_EQ(FormatIPv4(cams[999].IpAddress), "10.77.3.242");
  EXPECT_EQ(cams[1].HostName, "GATE-NORTH");
  EXPECT_EQ(cams[0].Faults.size(), 1u);
  EXPECT_EQ(cams[1].Faults.size(), 2u);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--cameras"}, {"--cameras", "0"}, {"--udp-port", "70000"},
                                             {"--first-ip", "1.2.3"}, {"--push", "nohost"}, {"stray"},
                                             {"--no-such-option", "1"}, {"--camera", "2:colour=red"},
                                             {"--fault", "2:bogus"}}) {
    SCOPED_TRACE(bad[0] + (bad.size() > 1 ? " " + bad[1] : ""));
    Parse(bad, false);
  }
  EXPECT_TRUE(Parse({"-h"}).Help);
}

TEST(SimOptions, CameraSettingsAndClashes) {
  std::string error;
  Build(Parse({"--camera", "4:ip=127.0.0.99"}), false, &error);
  EXPECT_NE(error.find("camera 4"), std::string::npos) << error;
  Build(Parse({"--camera", "2:ip=127.0.0.11"}), false, &error);
  EXPECT_NE(error.find("share address 127.0.0.11"), std::string::npos) << error;
  Build(Parse({"--camera", "3:serial=210001"}), false, &error);
  EXPECT_NE(error.find("serial"), std::string::npos) << error;
  Build(Parse({"--camera", "1:mac=02:0a:1b:00:00:02"}), false, &error);
  EXPECT_NE(error.find("MAC"), std::string::npos) << error;
  Build(Parse({"--fault", "5:noreply"}), false, &error);

  // A camera with an address outside its listening subnet.
  const auto cams = Build(Parse({"--camera", "3:ip=10.0.0.5", "--camera", "3:bind=127.0.0.13", "--camera",
                                 "3:netmask=255.255.255.0", "--camera", "1:firmware=5.0.12", "--camera",
                                 "1:clock_offset=-30"}));
  EXPECT_EQ(FormatIPv4(cams[2].IpAddress), "10.0.0.5");
  EXPECT_EQ(FormatIPv4(cams[2].ListenAddress()), "127.0.0.13");
  EXPECT_EQ(cams[0].FirmwareText(), "5.0.12");
  EXPECT_EQ(cams[0].ClockOffsetSeconds, -30.0);
}

TEST(SimOptions, ConfigFileAndCommandLineWinning) {
  TSimOptions o = DefaultOptions({});
  std::string error;
  ASSERT_TRUE(LoadConfigText("; rig\n[dozusim]\ncameras=2\nudp-port=43003\nfault=http401 2:delay=20\n"
                             "[camera 2]\nhostname=EXIT\nfault=noreply@4096 status=3@26011\n",
                             o, error))
      << error;
  std::string noError;
  ASSERT_TRUE(ParseCommandLine({"--udp-port", "44003"}, o, noError));
  EXPECT_EQ(o.Cameras, 2);
  EXPECT_EQ(o.UdpPort, 44003);
  const auto cams = Build(o);
  EXPECT_EQ(cams[1].HostName, "EXIT");
  EXPECT_EQ(cams[0].Faults.size(), 1u);
  EXPECT_EQ(cams[1].Faults.size(), 4u);

  for (const char* bad : {"[other]\na=1\n", "[camera x]\nip=1.2.3.4\n", "[dozusim]\nnonsense=1\n",
                          "[camera 1]\ncolour=red\n", "[dozusim]\njust a line\n"}) {
    SCOPED_TRACE(bad);
    TSimOptions p = DefaultOptions({});
    EXPECT_FALSE(LoadConfigText(bad, p, error));
  }
}

TEST(SimOptions, CameraLists) {
  struct Case {
    const char* text;
    std::vector<int> numbers;
  } cases[] = {{"all", {1, 2, 3, 4, 5}}, {"2", {2}}, {"1-3", {1, 2, 3}}, {"4,1-2,2", {1, 2, 4}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<int> n;
    std::string error;
    ASSERT_TRUE(ParseCameraList(c.text, 5, n, error)) << error;
    EXPECT_EQ(n, c.numbers);
  }
  for (const char* bad : {"", "0", "6", "3-2", "x", "1-x"}) {
    SCOPED_TRACE(bad);
    std::vector<int> n;
    std::string error;
    EXPECT_FALSE(ParseCameraList(bad, 5, n, error));
  }
}

}  // namespace
