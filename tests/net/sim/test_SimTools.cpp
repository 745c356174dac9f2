// The test tool's requests against dozusim over loopback, through the
// protocol component as the window sends them (payloads included): files,
// error log, clock, pictures, MAC-addressed requests, a camera outside the
// sender's subnet, reboot, backup download and pushed events.

#include <httplib.h>

#include <set>

#include "SimRig.h"
#include "UHandleZudirir.h"
#include "UImageInfo.h"
#include "UMessages.h"
#include "UParamNames.h"
#include "UPicture.h"

namespace {

using sim::SimRig;

// One reply as the handler saw it.
struct TSeen {
  std::vector<uint8_t> Bytes;
  std::map<std::string, std::string> Named;
  std::vector<uint8_t> Payload() const { return {Bytes.begin() + 24, Bytes.end()}; }
};

class ToolAgainstSim : public SimRig {
protected:
  // Every complete reply of one exchange.
  ReplyHandler Collect() {
    Seen.clear();
    return [this](const uint8_t* reply, uint32_t length) {
      if (AcceptReply(reply, length) == TReplyAcceptance::Incomplete) return false;
      TSeen s;
      s.Bytes.assign(reply, reply + length);
      WalkParams(reply, length, [&](const TZudirirParam& p) {
        const TNamedParam n = NameParam(p, TParamTool::TestTool);
        s.Named[n.Name] = n.Value;
      });
      Seen.push_back(s);
      return true;
    };
  }
  bool Udp(const std::string& host, const TZudirirMsg& msg, int wait = 1, const std::string& mac = "") {
    const uint8_t* reply = nullptr;
    return Tool.ExchangeUdp(host, mac, msg, reply, wait, Collect());
  }
  uint32_t Tcp(const std::string& host, const TZudirirMsg& msg) { return Tool.ExchangeTcp(host, msg, Collect()); }
  std::string ReadFile(const std::string& host, const std::string& name, const std::string& mac = "") {
    if (!Udp(host, BuildReadFile(name), 1, mac) || Seen.size() != 1) return "<no reply>";
    if (ReadWordLE(Seen[0].Bytes.data() + 16) != 0) return "<status " + std::to_string(ReadWordLE(Seen[0].Bytes.data() + 16)) + ">";
    const auto p = Seen[0].Payload();
    if (p.size() < 4) return "<short>";
    const uint32_t n = ReadWordLE(p.data());
    return std::string(p.begin() + 4, p.begin() + 4 + std::min<size_t>(n, p.size() - 4));
  }

  TFormZudirir Tool;
  std::vector<TSeen> Seen;
};

TEST_F(ToolAgainstSim, FilesErrorLogAndClock) {
  StartSim();
  const std::string host = "127.0.0.12";
  ASSERT_TRUE(Udp(host, BuildListFiles(), 3));
  ASSERT_EQ(Seen.size(), 1u);
  const auto listing = Seen[0].Payload();
  EXPECT_NE(std::string(listing.begin(), listing.end()).find(" ocrp_cfg.ini\n"), std::string::npos);

  EXPECT_NE(ReadFile(host, "device.ini").find("IP=127.0.0.12\r\n"), std::string::npos);
  // A file larger than one datagram, written and read back.
  std::string big;
  for (int i = 0; i < 300; ++i) big += "Key" + std::to_string(i) + "=" + std::to_string(i * i) + "\r\n";
  ASSERT_GT(big.size(), 3000u);
  ASSERT_TRUE(Udp(host, BuildWriteFile("notes.ini", big)));
  EXPECT_EQ(ReadWordLE(Seen[0].Bytes.data() + 16), 0u);
  EXPECT_EQ(ReadFile(host, "notes.ini"), big);
  EXPECT_EQ(ReadFile("127.0.0.11", "notes.ini"), "<status 3>");  // camera 1 has no such file

  ASSERT_TRUE(Udp(host, BuildGetErrors()));
  EXPECT_EQ(ReadWordLE(Seen[0].Payload().data() + 100), 3u);
  ASSERT_TRUE(Udp(host, BuildEraseErrors()));
  ASSERT_TRUE(Udp(host, BuildGetErrors()));
  EXPECT_EQ(Seen[0].Payload().size(), 104u);

  const TDateTime set = EncodeDateTime({2030, 6, 15, 8, 30, 0, 500});
  EXPECT_EQ(Tcp(host, BuildSetDateTime(set)), 0u);
  EXPECT_EQ(Tcp(host, BuildGetDateTime()), 0u);
  ASSERT_EQ(Seen.size(), 1u);
  const std::string time = Seen[0].Named.at("TIME");
  EXPECT_TRUE(time == "2030-06-15 08:30:00" || time == "2030-06-15 08:30:01") << time;
}

TEST_F(ToolAgainstSim, PicturesOfBothChannels) {
  StartSim();
  for (uint32_t channel : {0u, 1u}) {
    SCOPED_TRACE(channel);
    ASSERT_EQ(Tcp("127.0.0.13", BuildGetImage(channel)), 0u);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(ReadWordLE(Seen[0].Bytes.data() + 8), channel);  // SourceChannel
    std::vector<uint8_t> jpeg;
    WalkParams(Seen[0].Bytes.data(), static_cast<uint32_t>(Seen[0].Bytes.size()), [&](const TZudirirParam& p) {
      if (p.Id == 2000) jpeg = ParamImageBytes(p);
    });
    const TJpegPicture pic = DecodeJpeg(jpeg.data(), jpeg.size());
    EXPECT_GT(pic.Width, channel ? 640 : 1024);
    TImageInfo info;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadImageInfo(jpeg.data(), jpeg.size(), info, lines));
    EXPECT_EQ(info.SerialNumber, 210003);
  }
}

TEST_F(ToolAgainstSim, MacAddressedRequestsReachACameraOutsideTheSubnet) {
  // Camera 2 believes it is 10.0.0.5/24 but sits on 127.0.0.12: our requests
  // come from outside its subnet, so it answers by broadcast.
  StartSim({"--camera", "2:ip=10.0.0.5", "--camera", "2:bind=127.0.0.12", "--camera", "2:netmask=255.255.255.0",
            "--reboot-time", "0.3"});
  ASSERT_TRUE(Udp("", BuildDeviceInfo(), 10));
  ASSERT_EQ(Seen.size(), 3u);
  std::set<std::string> ips;
  for (const TSeen& s : Seen) ips.insert(s.Named.at("IP_ADDRESS"));
  EXPECT_EQ(ips, (std::set<std::string>{"127.0.0.11", "10.0.0.5", "127.0.0.13"}));
  EXPECT_TRUE(Sim->WaitFor("by broadcast to 127.255.255.255:"));

  // Only the named camera acts on a broadcast that carries its MAC.
  EXPECT_NE(ReadFile("", "device.ini", "02-0A-1B-00-00-02").find("NetBiosName=DOZU-210002"), std::string::npos);
  EXPECT_EQ(ReadFile("", "device.ini", "02-0A-1B-00-00-77"), "<no reply>");
  // A unicast to camera 1 naming camera 2's MAC is for nobody.
  EXPECT_FALSE(Udp("127.0.0.11", BuildDeviceInfo(), 1, "02-0A-1B-00-00-02"));

  // The network setup's way: new settings by MAC, reboot by MAC; the camera
  // comes back on its new address.
  const std::string ini =
      "[Network ETH_IMX_0]\r\nIP=127.0.0.52\r\nNetMask=255.0.0.0\r\nGateway=127.0.0.1\r\nDHCP=0\r\n\r\n"
      "[Device Parameters]\r\nNetBiosName=GATE-NORTH\r\n\r\n";
  ASSERT_TRUE(Udp("", BuildWriteFile("device.ini", ini), 1, "02-0A-1B-00-00-02"));
  ASSERT_TRUE(Udp("", BuildReboot(), 1, "02-0A-1B-00-00-02"));
  ASSERT_TRUE(Sim->WaitFor("cam 2 [127.0.0.52] back after reboot", std::chrono::seconds(3))) << Sim->Log();
  ASSERT_TRUE(Udp("127.0.0.52", BuildDeviceInfo()));
  EXPECT_EQ(Seen[0].Named.at("NETBIOSNAME"), "GATE-NORTH");
  EXPECT_FALSE(Udp("127.0.0.12", BuildDeviceInfo()));

  // An address this machine does not have: the camera stays where it was and
  // is still found, answering by broadcast.
  const std::string away = "[Network ETH_IMX_0]\r\nIP=10.9.9.9\r\nNetMask=255.255.255.0\r\n\r\n";
  ASSERT_TRUE(Udp("", BuildWriteFile("device.ini", away), 1, "02-0A-1B-00-00-02"));
  ASSERT_TRUE(Udp("", BuildReboot(), 1, "02-0A-1B-00-00-02"));
  ASSERT_TRUE(Sim->WaitFor("10.9.9.9 is not usable here", std::chrono::seconds(3))) << Sim->Log();
  ASSERT_TRUE(Udp("127.0.0.52", BuildDeviceInfo()));
  EXPECT_EQ(Seen[0].Named.at("IP_ADDRESS"), "10.9.9.9");
}

TEST_F(ToolAgainstSim, BackupDownloadWithBasicAuthentication) {
  StartSim({"--camera", "2:http_user=admin", "--camera", "2:http_password=s3cret"});
  auto get = [&](const std::string& host, const std::string& user, const std::string& password) {
    httplib::Client client(host, HttpPort);
    client.set_connection_timeout(2, 0);
    client.set_read_timeout(5, 0);
    if (!user.empty()) client.set_basic_auth(user.c_str(), password.c_str());
    return client.Get("/cgi-bin/DozuConfig.bin");
  };
  auto res = get("127.0.0.11", "fieldtech", "fieldtech");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body.substr(0, 10), "device.ini");  // a tar archive of the files, in name order
  EXPECT_EQ(res->body.size() % 512, 0u);
  EXPECT_EQ(get("127.0.0.11", "fieldtech", "fieldtech")->body, res->body);  // the same files, the same bytes
  EXPECT_EQ(get("127.0.0.11", "", "")->status, 401);
  EXPECT_EQ(get("127.0.0.12", "fieldtech", "fieldtech")->status, 401);
  EXPECT_EQ(get("127.0.0.12", "admin", "s3cret")->status, 200);
  httplib::Client other("127.0.0.11", HttpPort);
  EXPECT_EQ(other.Get("/index.html")->status, 404);
}

// Reads everything a pushing camera sends until it closes the connection.
std::string Receive(asio::ip::tcp::acceptor& acceptor, std::string& peer, std::chrono::seconds bound) {
  asio::ip::tcp::socket s(acceptor.get_executor());
  acceptor.non_blocking(true);
  const auto end = std::chrono::steady_clock::now() + bound;
  asio::error_code ec;
  while (std::chrono::steady_clock::now() < end) {
    acceptor.accept(s, ec);
    if (!ec) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!s.is_open()) return "";
  peer = s.remote_endpoint().address().to_string();
  s.non_blocking(true);
  std::string got;
  char buf[65536];
  while (std::chrono::steady_clock::now() < end) {
    const size_t n = s.read_some(asio::buffer(buf), ec);
    if (ec == asio::error::would_block) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    if (ec) break;
    got.append(buf, n);
  }
  return got;
}

TEST_F(ToolAgainstSim, CamerasPushTransitsAndTextLines) {
  asio::io_context io;
  asio::ip::tcp::acceptor server(io, {asio::ip::make_address("127.0.0.1"), 0});
  const uint16_t port = server.local_endpoint().port();
  StartSim({"--push", "127.0.0.1:" + std::to_string(port), "--push-cameras", "2", "--push-count", "2",
            "--push-interval", "100", "--push-chunks", "3", "--push-pause", "30", "--push-text"});
  std::string peer;
  const std::string bytes = Receive(server, peer, std::chrono::seconds(15));
  EXPECT_EQ(peer, "127.0.0.12");
  // Two messages, each followed by a text line.
  size_t at = 0;
  std::set<std::string> plates;
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    ASSERT_GE(bytes.size(), at + 24);
    const auto* m = reinterpret_cast<const uint8_t*>(bytes.data() + at);
    EXPECT_EQ(ReadWordLE(m + 4), MSG_TRANSIT);
    const uint32_t length = 24 + ReadWordLE(m + 20);
    ASSERT_GE(bytes.size(), at + length);
    ASSERT_EQ(AcceptReply(m, length), TReplyAcceptance::Walk);
    std::map<std::string, std::string> named;
    WalkParams(m, length, [&](const TZudirirParam& p) {
      named[NameParam(p, TParamTool::TestTool).Name] = NameParam(p, TParamTool::TestTool).Value;
    });
    EXPECT_EQ(named["NETBIOSNAME"], "DOZU-210002");
    EXPECT_EQ(named["TRANSIT_ID"], std::to_string(i + 1));
    EXPECT_TRUE(named.count("IMAGE_BW") && named.count("IMAGE_COL"));
    plates.insert(named["PLATE"]);
    at += length;
    const size_t eol = bytes.find("\r\n", at);
    ASSERT_NE(eol, std::string::npos);
    EXPECT_NE(bytes.substr(at, eol - at).find("DOZU-210002 "), std::string::npos);
    at = eol + 2;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(plates.size(), 2u);
  EXPECT_TRUE(Sim->WaitFor("cam 2 [127.0.0.12] done pushing: 2 transits"));
}

}  // namespace
