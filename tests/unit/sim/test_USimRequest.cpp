// A simulated camera's answers, request bytes in, reply bytes out. Requests
// and the start of replies are written out by hand, so a fault shared by the
// builder and the decoders cannot hide; the rest of each reply is read with
// the tools' own decoders, as the tools will read it.

#include <gtest/gtest.h>

#include <map>

#include "UHandleZudirir.h"
#include "UImageInfo.h"
#include "UMessages.h"
#include "UParamNames.h"
#include "UPicture.h"
#include "USimCamera.h"
#include "USimIds.h"
#include "USimRequest.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t w) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

Bytes Header(uint32_t msg, uint32_t target, uint32_t payloadSize) {
  Bytes b;
  for (uint32_t w : {24u, msg, 0xFFFFFFFFu, target, 0u, payloadSize}) Put(b, w);
  return b;
}

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

uint32_t WordAt(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms) {
  return EncodeDateTime({y, mo, d, h, mi, s, ms});
}

class CameraAnswers : public ::testing::Test {
protected:
  CameraAnswers() : Camera(MakeCamera(false)) {}

  static TSimCamera MakeCamera(bool legacy) {
    TSimCameraConfig c = DefaultCameraConfig(0, 210001, 0x7F00000B, 0xFF000000, 0x7F000001);
    c.LegacyIds = legacy;
    return TSimCamera(c, DefaultFiles(FileIdentityOf(c)), 0);
  }

  TSimAnswer Ask(const Bytes& request, TSimTransport t = TSimTransport::Udp) {
    return HandleRequest(Camera, request.data(), request.size(), t, Now_);
  }
  // The reply as it goes on the wire.
  Bytes Wire(const Bytes& request) {
    TSimAnswer a = Ask(request);
    EXPECT_TRUE(a.Reply);
    return SerializeMsg(a.Message);
  }
  // name -> value of every record, as the console tool names them.
  static std::map<std::string, std::string> Named(const Bytes& wire, TParamTool tool = TParamTool::Console) {
    std::map<std::string, std::string> out;
    WalkParams(wire.data(), static_cast<uint32_t>(wire.size()), [&](const TZudirirParam& p) {
      const TNamedParam n = NameParam(p, tool);
      out[n.Name] = n.Value;
    });
    return out;
  }
  // The picture bytes of record 2000 (or the given id).
  static Bytes Picture(const Bytes& wire, uint32_t id = 2000) {
    Bytes jpeg;
    WalkParams(wire.data(), static_cast<uint32_t>(wire.size()), [&](const TZudirirParam& p) {
      if (p.Id == id) jpeg = ParamImageBytes(p);
    });
    return jpeg;
  }

  TSimCamera Camera;
  TSimNow Now_{At(2015, 3, 7, 9, 5, 3, 250), 90000};
};

TEST_F(CameraAnswers, DeviceSearchReplyBytes) {
  // The search request exactly as the tools send it.
  const Bytes search = {0x18, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes w = Wire(search);
  ASSERT_GE(w.size(), 24u + 12 + 16 + 12);
  const Bytes head(w.begin(), w.begin() + 20);
  EXPECT_EQ(head, (Bytes{0x18, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
  EXPECT_EQ(WordAt(w, 20), w.size() - 24);
  const Bytes records(w.begin() + 24, w.begin() + 24 + 40);
  EXPECT_EQ(records, (Bytes{
                         0xE0, 0x2E, 0, 0, 4, 0, 0, 0, 0x51, 0x34, 0x03, 0x00,                  // 12000: 210001
                         0xE1, 0x2E, 0, 0, 8, 0, 0, 0, 0x01, 0, 0, 0x1B, 0x0A, 0x02, 0, 0,    // 12001: MAC last octet first
                         0xE2, 0x2E, 0, 0, 4, 0, 0, 0, 0x0B, 0, 0, 0x7F,                      // 12002: 127.0.0.11
                     }));
  const auto n = Named(w);
  EXPECT_EQ(n.at("SERIAL_NUMBER"), "210001");
  EXPECT_EQ(n.at("MAC_ADDRESS"), "02-0A-1B-00-00-01");
  EXPECT_EQ(n.at("IP_ADDRESS"), "127.0.0.11");
  EXPECT_EQ(n.at("NETMASK"), "255.0.0.0");
  EXPECT_EQ(n.at("GATEWAY"), "127.0.0.1");
  EXPECT_EQ(n.at("DHCP"), "0");
  EXPECT_EQ(n.at("NETBIOSNAME"), "DOZU-210001");
  EXPECT_EQ(n.at("DESCRIPTION"), "ANPR camera, lane 1");  // as the tools show "DOZU"
  for (const char* more : {"TEMPERATURE", "CPU_UPTIME", "MEMORY_FREE_SIZE", "FIRMWARE_VERSION_LOW", "BOARD_CODE"})
    EXPECT_TRUE(n.count(more)) << more;
  EXPECT_EQ(n.at("CPU_UPTIME"), "90");
}

TEST_F(CameraAnswers, OlderFirmwareUsesTheTenThousandRange) {
  Camera = MakeCamera(true);
  const Bytes w = Wire(Header(MSG_DEVICE_INFO, 0, 0));
  EXPECT_EQ(WordAt(w, 24), 0u);  // serial number as record 0
  std::map<uint32_t, std::string> byId;
  WalkParams(w.data(), static_cast<uint32_t>(w.size()),
             [&](const TZudirirParam& p) { byId[p.Id] = NameParam(p, TParamTool::Console).Value; });
  EXPECT_EQ(byId.at(0), "210001");
  EXPECT_EQ(byId.at(10000), "02-0A-1B-00-00-01");
  EXPECT_EQ(byId.at(10001), "127.0.0.11");
  EXPECT_EQ(byId.at(10002), "255.0.0.0");
  EXPECT_EQ(byId.at(10003), "127.0.0.1");
  EXPECT_EQ(byId.at(10006), "0");
  EXPECT_EQ(byId.at(10008), "DOZU-210001");
  EXPECT_EQ(byId.at(10010), "ANPR camera, lane 1");
  EXPECT_FALSE(byId.count(12002));
}

TEST_F(CameraAnswers, FileReadWriteAndList) {
  // Read "device.ini": 10 characters and two zero bytes.
  const Bytes read = Cat(Header(MSG_READ_FILE, 0, 12), {'d', 'e', 'v', 'i', 'c', 'e', '.', 'i', 'n', 'i', 0, 0});
  Bytes w = Wire(read);
  EXPECT_EQ(WordAt(w, 16), 0u);
  const uint32_t n = WordAt(w, 24);
  EXPECT_EQ(n, Camera.Files.at("device.ini").size());
  EXPECT_EQ(std::string(w.begin() + 28, w.begin() + 28 + n), Camera.Files.at("device.ini"));
  EXPECT_NE(Camera.Files.at("device.ini").find("IP=127.0.0.11\r\n"), std::string::npos);

  // Write "ocrp_cfg.ini" with a 10-byte text: 16 + 4 + 12 payload bytes.
  const Bytes write = Cat(Header(MSG_WRITE_FILE, 0, 32),
                          {'o', 'c', 'r', 'p', '_', 'c', 'f', 'g', '.', 'i', 'n', 'i', 0, 0, 0, 0, 10, 0, 0, 0,
                           '[', 'O', 'C', 'R', ']', '\r', '\n', 'A', '=', '1', 0, 0});
  w = Wire(write);
  EXPECT_EQ(WordAt(w, 16), 0u);
  EXPECT_EQ(WordAt(w, 20), 0u);
  EXPECT_EQ(Camera.Files.at("ocrp_cfg.ini"), "[OCR]\r\nA=1");

  // The listing: eight characters, then the name; the test tool offers
  // every name holding ".ini".
  w = Wire(Header(MSG_LIST_FILES, 0, 0));
  const std::string listing(w.begin() + 24, w.end());
  EXPECT_NE(listing.find("     10 ocrp_cfg.ini\n"), std::string::npos) << listing;
  std::vector<std::string> offered;
  size_t at = 0;
  for (size_t nl; (nl = listing.find('\n', at)) != std::string::npos; at = nl + 1) {
    const std::string line = listing.substr(at, nl - at);
    ASSERT_GT(line.size(), 8u) << line;
    const std::string name = line.substr(8);
    if (name.find(".ini") != std::string::npos) offered.push_back(name);
  }
  EXPECT_EQ(offered, (std::vector<std::string>{"device.ini", "event_cfg.ini", "ftp_cfg.ini", "io_cfg.ini",
                                               "ocrp_cfg.ini", "ocrp_cfg.ini.bak"}));
}

TEST_F(CameraAnswers, RefusedFileRequestsChangeNothing) {
  struct Case {
    const char* name;
    Bytes request;
    uint32_t status;
  } cases[] = {
      {"read without a name", Header(MSG_READ_FILE, 0, 0), SimStatus::BadRequest},
      {"read of a missing file", Cat(Header(MSG_READ_FILE, 0, 4), {'x', 0, 0, 0}), SimStatus::NoSuchFile},
      {"name without its zero byte", Cat(Header(MSG_READ_FILE, 0, 4), {'a', 'b', 'c', 'd'}), SimStatus::BadRequest},
      {"write without size word", Cat(Header(MSG_WRITE_FILE, 0, 4), {'a', 0, 0, 0}), SimStatus::BadRequest},
      {"size word beyond the payload",
       Cat(Header(MSG_WRITE_FILE, 0, 12), {'a', 0, 0, 0, 200, 0, 0, 0, 'x', 'y', 0, 0}), SimStatus::BadRequest},
      {"path in the name", Cat(Header(MSG_WRITE_FILE, 0, 12), {'a', '/', 'b', 0, 1, 0, 0, 0, 'x', 0, 0, 0}),
       SimStatus::BadValue},
  };
  const TSimFiles before = Camera.Files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TSimAnswer a = Ask(c.request);
    ASSERT_TRUE(a.Reply);
    EXPECT_EQ(a.Message.Status, c.status);
    EXPECT_EQ(a.Message.PayloadSize, 0u);
  }
  EXPECT_EQ(Camera.Files, before);
}

TEST_F(CameraAnswers, ErrorLogLayoutAndErase) {
  Camera.ErrorLog.FirmwareDescription = std::string(45, 'F');  // longer than its field
  const Bytes get = Cat(Header(MSG_GET_ERRORS, 0xFFFFFFFF, 4), {100, 0, 0, 0});
  Bytes w = Wire(get);
  const size_t p = 24;
  ASSERT_EQ(w.size(), p + 104 + 3 * 128);
  EXPECT_EQ(std::string(w.begin() + p, w.begin() + p + 40), std::string(40, 'F'));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&w[p + 40])), "Mar 14 2024");
  EXPECT_EQ(WordAt(w, p + 68), static_cast<uint32_t>(Camera.ErrorLog.TotalCount));
  EXPECT_GE(Camera.ErrorLog.TotalCount, 3);
  EXPECT_EQ(WordAt(w, p + 72), 100u);
  EXPECT_EQ(WordAt(w, p + 76), 90000u);  // uptime in ms
  EXPECT_EQ(WordAt(w, p + 100), 3u);
  const TSimErrorEntry& newest = Camera.ErrorLog.Entries[0];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&w[p + 104])), newest.Description);
  EXPECT_EQ(WordAt(w, p + 104 + 64), static_cast<uint32_t>(newest.Code));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&w[p + 104 + 68])), newest.SourceFile);
  EXPECT_EQ(WordAt(w, p + 104 + 100), static_cast<uint32_t>(newest.SourceLine));

  // The count word of the request limits the entries.
  w = Wire(Cat(Header(MSG_GET_ERRORS, 0xFFFFFFFF, 4), {1, 0, 0, 0}));
  EXPECT_EQ(WordAt(w, p + 100), 1u);

  w = Wire(Header(MSG_ERASE_ERRORS, 0xFFFFFFFF, 0));
  EXPECT_EQ(WordAt(w, 16), 0u);
  w = Wire(get);
  EXPECT_EQ(w.size(), p + 104);
  EXPECT_EQ(WordAt(w, p + 68), 0u);
  EXPECT_EQ(WordAt(w, p + 100), 0u);
}

TEST_F(CameraAnswers, ClockSetAndRead) {
  // 2015-03-07 09:05:03.250 as the tools send it: TIME, TIMEZONE 0, 13210 0.
  const Bytes set = Cat(Header(MSG_SET_DATE_TIME, 0xFFFFFFFF, 44),
                        {0xFA, 0x2E, 0, 0, 12, 0, 0, 0, 0x07, 0x03, 0xDF, 0x07, 0x09, 0, 0x05, 0, 0x03, 0, 0xFA, 0,
                         0x35, 0x27, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0x9A, 0x33, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0});
  Now_.Wall = At(2024, 1, 2, 3, 4, 5, 0);
  Bytes w = Wire(set);
  EXPECT_EQ(WordAt(w, 16), 0u);

  w = Wire(Header(MSG_GET_DATE_TIME, 0xFFFFFFFF, 0));
  EXPECT_EQ(Bytes(w.begin() + 24, w.end()),
            (Bytes{0xFA, 0x2E, 0, 0, 12, 0, 0, 0, 0x07, 0x03, 0xDF, 0x07, 0x09, 0, 0x05, 0, 0x03, 0, 0xFA, 0}));
  EXPECT_EQ(Named(w).at("TIME"), "2015-03-07 09:05:03");

  // The clock runs on with the PC's.
  Now_.Wall += 61.0 / 86400;
  EXPECT_EQ(Named(Wire(Header(MSG_GET_DATE_TIME, 0xFFFFFFFF, 0))).at("TIME"), "2015-03-07 09:06:04");
}

TEST_F(CameraAnswers, ClockRefusesMissingOrInvalidTime) {
  const Bytes noTime = Cat(Header(MSG_SET_DATE_TIME, 0xFFFFFFFF, 12), {0x35, 0x27, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0});
  const Bytes monthZero =
      Cat(Header(MSG_SET_DATE_TIME, 0xFFFFFFFF, 20),
          {0xFA, 0x2E, 0, 0, 12, 0, 0, 0, 0x07, 0x00, 0xDF, 0x07, 0x09, 0, 0x05, 0, 0x03, 0, 0, 0});
  const Bytes recordPastEnd = Cat(Header(MSG_SET_DATE_TIME, 0xFFFFFFFF, 12),
                                  {0xFA, 0x2E, 0, 0, 12, 0, 0, 0, 0x07, 0x03, 0xDF, 0x07});
  const TDateTime before = Camera.Clock(Now_.Wall);
  EXPECT_EQ(Ask(noTime).Message.Status, SimStatus::BadRequest);
  EXPECT_EQ(Ask(monthZero).Message.Status, SimStatus::BadValue);
  EXPECT_EQ(Ask(recordPastEnd).Message.Status, SimStatus::BadRequest);
  EXPECT_EQ(Camera.Clock(Now_.Wall), before);
}

TEST_F(CameraAnswers, PicturesCarryTheirChannelAndInformation) {
  for (uint32_t channel : {0u, 1u}) {
    SCOPED_TRACE(channel);
    const TSimAnswer a = Ask(Header(MSG_GET_IMAGE, channel, 0), TSimTransport::Tcp);
    EXPECT_EQ(a.Message.Status, 0u);
    EXPECT_EQ(a.Message.SourceChannel, channel);
    const Bytes w = SerializeMsg(a.Message);
    const Bytes jpeg = Picture(w);
    ASSERT_GT(jpeg.size(), 1000u);
    const TJpegPicture pic = DecodeJpeg(jpeg.data(), jpeg.size());
    EXPECT_EQ(pic.Width, channel ? 800 : 1280);
    EXPECT_EQ(pic.Height, channel ? 600 : 960);

    TImageInfo info;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadImageInfo(jpeg.data(), jpeg.size(), info, lines));
    EXPECT_EQ(info.SerialNumber, 210001);
    EXPECT_EQ(info.NetbiosName, "DOZU-210001");
    EXPECT_EQ(info.FirmwareVer, "4.2.1187");
    EXPECT_EQ(info.Date, "2015-03-07");
    EXPECT_EQ(info.Time, "09:04:52");  // camera 1's clock runs 11 s behind the PC's
    EXPECT_EQ(info.Plate.size(), 7u);
    EXPECT_EQ(info.JpegQuality, 80);
    EXPECT_GT(info.OcrScore, 0);
    // The plate lies inside the picture and inside the search window.
    EXPECT_LT(info.PlateMinX, info.PlateMaxX);
    EXPECT_LT(info.PlateMinY, info.PlateMaxY);
    EXPECT_GE(info.PlateMinX, pic.Width * 5 / 100);
    EXPECT_LE(info.PlateMaxX, pic.Width * 95 / 100);
    EXPECT_GE(info.PlateMinY, pic.Height * 30 / 100);
    EXPECT_LE(info.PlateMaxY, pic.Height * 90 / 100);
    EXPECT_EQ(info.SearchWindow, (TSearchWindow{5, 30, 95, 90, true}));
    EXPECT_EQ(info.CharSizeLimits, (TCharSizeLimits{8, 40, 12, 60}));
  }
  const TSimAnswer bad = Ask(Header(MSG_GET_IMAGE, 2, 0), TSimTransport::Tcp);
  EXPECT_EQ(bad.Message.Status, SimStatus::BadValue);
  EXPECT_EQ(bad.Message.PayloadSize, 0u);
}

TEST_F(CameraAnswers, WrittenRecognitionSettingsShowInTheNextPicture) {
  const std::string ini =
      "[SEARCH WINDOW]\r\nWinMinX=100\r\nWinMinY=200\r\nWinMaxX=1100\r\nWinMaxY=900\r\n\r\n"
      "[PLATE CHAR SIZE LIMITS]\r\nCharMinWidth=9\r\nCharMaxWidth=41\r\nCharMinHeight=13\r\nCharMaxHeight=61\r\n\r\n";
  TZudirirMsg write = BuildWriteFile("ocrp_cfg.ini", ini);
  ASSERT_EQ(Ask(SerializeMsg(write)).Message.Status, 0u);
  const Bytes jpeg = Picture(SerializeMsg(Ask(Header(MSG_GET_IMAGE, 0, 0)).Message));
  TImageInfo info;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadImageInfo(jpeg.data(), jpeg.size(), info, lines));
  EXPECT_EQ(info.OcrCfg, "Win:(100,200) (1100,900) Ch:9x13 41x61");
  EXPECT_EQ(info.SearchWindow, (TSearchWindow{100, 200, 1100, 900, false}));
  EXPECT_EQ(info.CharSizeLimits, (TCharSizeLimits{9, 41, 13, 61}));
}

TEST_F(CameraAnswers, RebootTakesTheNetworkSettingsOfDeviceIni) {
  // device.ini as the network setup dialog rewrites it.
  const std::string ini =
      "[Network ETH_IMX_0]\r\nIP=10.0.0.9\r\nMode=2\r\nNetMask=255.255.255.0\r\nGateway=10.0.0.1\r\nDHCP=0\r\n\r\n"
      "[Device Parameters]\r\nNetBiosName=CAM1\r\n\r\n";
  ASSERT_EQ(Ask(SerializeMsg(BuildWriteFile("device.ini", ini))).Message.Status, 0u);
  // Until the reboot the camera keeps its address.
  EXPECT_EQ(Named(Wire(Header(MSG_DEVICE_INFO, 0, 0))).at("IP_ADDRESS"), "127.0.0.11");

  const TSimAnswer a = Ask(Header(MSG_REBOOT, 0, 0));
  EXPECT_TRUE(a.Reboot);
  EXPECT_EQ(a.Message.Status, 0u);
  Camera.BeginReboot();
  EXPECT_TRUE(Camera.IsDown());
  const std::string changes = Camera.FinishReboot(200000);
  EXPECT_FALSE(Camera.IsDown());
  EXPECT_NE(changes.find("IP 127.0.0.11 -> 10.0.0.9"), std::string::npos) << changes;
  Now_.SteadyMs = 203000;
  const auto n = Named(Wire(Header(MSG_DEVICE_INFO, 0, 0)));
  EXPECT_EQ(n.at("IP_ADDRESS"), "10.0.0.9");
  EXPECT_EQ(n.at("NETMASK"), "255.255.255.0");
  EXPECT_EQ(n.at("GATEWAY"), "10.0.0.1");
  EXPECT_EQ(n.at("NETBIOSNAME"), "CAM1");
  EXPECT_EQ(n.at("CPU_UPTIME"), "3");  // counted from the reboot
}

TEST_F(CameraAnswers, WhatIsNoRequestOrNotServed) {
  EXPECT_FALSE(Ask(Bytes(23, 0)).Reply);
  Bytes wrongHeader = Header(MSG_DEVICE_INFO, 0, 0);
  wrongHeader[0] = 20;
  EXPECT_FALSE(Ask(wrongHeader).Reply);

  const TSimAnswer unknown = Ask(Header(1234, 0, 0));
  ASSERT_TRUE(unknown.Reply);
  EXPECT_EQ(unknown.Message.MsgNumber, 1234u);
  EXPECT_EQ(unknown.Message.Status, SimStatus::Unsupported);

  // A header that announces more payload than arrived, cut at every length.
  const Bytes full = SerializeMsg(BuildWriteFile("device.ini", "[A]\r\nB=1\r\n"));
  for (size_t n = 24; n < full.size(); ++n) {
    const TSimAnswer a = Ask(Bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(n)));
    ASSERT_TRUE(a.Reply) << n;
    EXPECT_EQ(a.Message.Status, SimStatus::BadRequest) << n;
  }
}

}  // namespace
