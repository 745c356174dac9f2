#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "UDeviceFiles.h"
#include "UZudirir.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(DeviceFiles, ReplyTextBecomesLines) {
  struct Case {
    const char* name;
    std::string bytes;
    TLines lines;
  } cases[] = {
      {"CR LF, LF and CR all break", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"final break adds no line", "a\r\n", {"a"}},
      {"empty lines inside stay", "a\n\n\r\nb", {"a", "", "", "b"}},
      {"a lone break is one empty line", "\r\n", {""}},
      {"zero byte ends the text", std::string("ab\0cd", 5), {"ab"}},
      {"nothing", "", {}},
      {"8-bit bytes kept as they are", "\xE4\x80\xFF", {"\xE4\x80\xFF"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes b = B(c.bytes);
    EXPECT_EQ(ReplyTextLines(b.data(), b.size()), c.lines);
    EXPECT_EQ(FileListLines(b.data(), b.size()), c.lines);
  }
}

TEST(DeviceFiles, FileContentsTakeTheAnnouncedSizeButNoMore) {
  struct Case {
    const char* name;
    uint32_t sizeWord;
    std::string data;
    size_t length;  // payload length given, from the start of the size word
    TLines lines;
  } cases[] = {
      {"whole file", 7, "ip=1\nx", 11, {"ip=1", "x"}},
      {"size word shorter than the data", 4, "ip=1\nx", 11, {"ip=1"}},
      {"size word beyond the payload", 0xFFFFFFFF, "ip=1\nx", 7, {"ip="}},
      {"empty file", 0, "", 4, {}},
      {"payload without a size word", 5, "", 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes p(4);
    WriteWordLE(p.data(), c.sizeWord);
    p.insert(p.end(), c.data.begin(), c.data.end());
    p.resize(c.length);
    p.shrink_to_fit();
    EXPECT_EQ(FileContentsLines(p.data(), p.size()), c.lines);
  }
}

TEST(DeviceFiles, ReadFileChoices) {
  const TLines listing = {
      "-rw-r-- device.ini",  // eight characters, then the name
      "        ocrp_cfg.ini.bak",
      "12345678readme.txt",
      "12345678DEVICE.INI",
      "12345678",
      "short",
      "12345678   \t",
      "12345678Alpha.ini  ",
      "12345678zeta.ini",
  };
  struct Case {
    std::string last;
    int index;
  } cases[] = {{"", -1}, {"Device.ini", 1}, {"ZETA.INI", 3}, {"readme.txt", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last);
    const TReadFileChoices r = ReadFileChoices(listing, c.last);
    EXPECT_EQ(r.Names, (TLines{"Alpha.ini", "device.ini", "ocrp_cfg.ini.bak", "zeta.ini"}));
    EXPECT_EQ(r.Index, c.index);
  }
}

TEST(DeviceFiles, WriteTextEndsEveryLineWithCrLf) {
  EXPECT_EQ(WriteFileText({"[A]", "k=v"}), "[A]\r\nk=v\r\n");
  EXPECT_EQ(WriteFileText({"last line without break"}), "last line without break\r\n");
  EXPECT_EQ(WriteFileText({}), "");
}

TEST(DeviceFiles, NetworkSettingsEditDeviceIni) {
  TDeviceInfo d;
  d.IpAddress = "10.0.0.9";
  d.Netmask = "255.255.255.0";
  d.Gateway = "10.0.0.1";
  d.HostName = "CAM1";
  d.Dhcp = false;
  const TLines file = {"; camera settings", "[Network ETH_IMX_0]", "ip = 10.0.0.5", "Mode=2"};
  EXPECT_EQ(NetworkSettingsLines(file, d),
            (TLines{"[Network ETH_IMX_0]", "IP=10.0.0.9", "Mode=2", "NetMask=255.255.255.0", "Gateway=10.0.0.1",
                    "DHCP=0", "", "[Device Parameters]", "NetBiosName=CAM1", ""}));
  d.Dhcp = true;
  const TLines withDhcp = NetworkSettingsLines(file, d);
  EXPECT_EQ(withDhcp[5], "DHCP=1");
}

TEST(DeviceFiles, OcrSettingsEditOcrCfg) {
  TDeviceInfo d;
  d.SearchWindow = {10, 20, 90, 80, true};
  d.CharSizeLimits = {8, 40, 12, 60};
  EXPECT_EQ(OcrSettingsLines({}, d),
            (TLines{"[PLATE LOCATOR]", "PercLaneLeft=10", "PercLaneRight=90", "PercLaneUp=20", "PercLaneDown=80", "",
                    "[PLATE CHAR SIZE LIMITS]", "CharMinWidth=8", "CharMaxWidth=40", "CharMinHeight=12",
                    "CharMaxHeight=60", ""}));

  // In pixels: "SEARCH WINDOW" is written and "PLATE LOCATOR" left as it was.
  d.SearchWindow = {100, 50, 1180, -1, false};
  const TLines file = {"[PLATE LOCATOR]", "PercLaneLeft=3", "[SEARCH WINDOW]", "winmaxx=7", "Other=1"};
  EXPECT_EQ(OcrSettingsLines(file, d),
            (TLines{"[PLATE LOCATOR]", "PercLaneLeft=3", "", "[SEARCH WINDOW]", "WinMaxX=1180", "Other=1",
                    "WinMinX=100", "WinMinY=50", "WinMaxY=-1", "", "[PLATE CHAR SIZE LIMITS]", "CharMinWidth=8",
                    "CharMaxWidth=40", "CharMinHeight=12", "CharMaxHeight=60", ""}));
}

TEST(DeviceFiles, ReadPlateLocator) {
  struct Case {
    const char* name;
    TLines file;
    TSearchWindow window;
    TCharSizeLimits limits;
  } cases[] = {
      {"no sections: percent, whole picture", {}, {0, 0, 100, 100, true}, {}},
      {"percent lanes", {"[plate locator]", "PercLaneLeft=5", "PercLaneUp=$A", "PercLaneDown=x50"},
       {5, 10, 100, 80, true}, {}},
      {"empty SEARCH WINDOW section still means percent", {"[SEARCH WINDOW]", "[PLATE LOCATOR]", "PercLaneRight=95"},
       {0, 0, 95, 100, true}, {}},
      {"pixels without WinMaxX reach to the far edge", {"[SEARCH WINDOW]", "WinMinX=100", "WinMinY=0x20"},
       {100, 32, INT32_MAX, INT32_MAX, false}, {}},
      {"a line without = makes the section count", {"[SEARCH WINDOW]", "comment without key"},
       {0, 0, INT32_MAX, INT32_MAX, false}, {}},
      {"later duplicate section wins", {"[SEARCH WINDOW]", "WinMinX=1", "[SEARCH WINDOW]"}, {0, 0, 100, 100, true}, {}},
      {"limits, bad numbers read as 0",
       {"[PLATE CHAR SIZE LIMITS]", "CharMinWidth=8", "CharMaxWidth=40.5", "CharMinHeight=12", "CharMaxHeight=60",
        "charmaxheight=61"},
       {0, 0, 100, 100, true}, {8, 0, 12, 61}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TPlateLocator p = ReadPlateLocator(c.file);
    EXPECT_EQ(p.SearchWindow, c.window);
    EXPECT_EQ(p.CharSizeLimits, c.limits);
  }
}

TEST(DeviceFiles, WrittenSettingsReadBack) {
  for (const bool percent : {true, false}) {
    SCOPED_TRACE(percent);
    TDeviceInfo d;
    d.SearchWindow = {11, 22, 88, 77, percent};
    d.CharSizeLimits = {9, 41, 13, 59};
    const TPlateLocator p = ReadPlateLocator(OcrSettingsLines({"; cfg", "[OCR]", "Mode=Std"}, d));
    EXPECT_EQ(p.SearchWindow, d.SearchWindow);
    EXPECT_EQ(p.CharSizeLimits, d.CharSizeLimits);
  }
}

TEST(DeviceFiles, BackupFileName) {
  EXPECT_EQ(BackupFileName("12345"), "ANPR_12345.bin");
  EXPECT_EQ(BackupFileName(""), "ANPR_.bin");
}

}  // namespace
