#include <gtest/gtest.h>

#include "UImageInfo.h"

namespace {

#ifdef _WIN32
const std::string Sep = "\\";
#else
const std::string Sep = "/";
#endif

// A picture that starts with an information block holding text; short texts
// are padded with zero bytes so that the block is long enough to count.
// `tail` bytes follow the block (the rest of a JPEG).
std::vector<uint8_t> Picture(std::string text, size_t tail = 0) {
  if (text.size() < 31) text.resize(31, '\0');
  const size_t length = text.size() + 2;
  std::vector<uint8_t> p(6 + text.size() + tail, 0xAA);
  p[0] = 0xFF;
  p[1] = 0xD8;
  p[2] = 0xFF;
  p[3] = 0xE0;
  p[4] = static_cast<uint8_t>(length >> 8);
  p[5] = static_cast<uint8_t>(length & 0xFF);
  std::copy(text.begin(), text.end(), p.begin() + 6);
  return p;
}

TEST(ImageInfo, BlockConditions) {
  // Picture("S_PLATE=AB") is 37 bytes with L = 33: the smallest block, and one
  // that reaches the picture's end exactly.
  const auto withByte = [](std::vector<uint8_t> p, size_t at, uint8_t value) {
    p[at] = value;
    return p;
  };
  const std::vector<uint8_t> smallest = Picture("S_PLATE=AB");
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool found;
  } cases[] = {
      {"block and picture", Picture("S_PLATE=AB", 500), true},
      {"length 33 up to the end", smallest, true},
      {"length 32", withByte(Picture("S_PLATE=AB", 10), 5, 32), false},
      {"length past the end", withByte(smallest, 5, 34), false},
      {"length 0xFFFF", withByte(smallest, 4, 0xFF), false},
      {"JFIF header", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}, false},
      {"other segment", withByte(smallest, 3, 0xE1), false},
      {"no start of image", withByte(smallest, 1, 0xD9), false},
      {"seven bytes", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x21, 'S'}, false},
      {"empty", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // An exact-size copy, so that a read past the end is caught.
    const std::vector<uint8_t> bytes(c.bytes.begin(), c.bytes.end());
    TImageInfo info;
    info.Plate = "untouched";
    std::vector<std::string> lines{"untouched"};
    EXPECT_EQ(ReadImageInfo(bytes.data(), bytes.size(), info, lines), c.found);
    EXPECT_EQ(info.Plate, c.found ? "AB" : "untouched");
    EXPECT_EQ(lines.front(), c.found ? "S_PLATE=AB" : "untouched");
  }
}

TEST(ImageInfo, KeysAndValues) {
  const std::string text =
      "\r\n  ; written by the camera\r\n"
      "S_FIRMWARE_VER=2.1\n"
      "s_netbiosname = CAM1 \r"
      "I_SN=0x10\r\n"
      "S_DATE=2014-05-06\n"
      "S_TIME=12-34-56-789\n"
      "S_PLATE=XY\n"
      "s_plate=AB123CD\n"  // the later line wins
      "I_NREAD=3\nF_OCRSCORE=87\nI_JPEG_QUALITY=$50\nI_GAIN=-4\nI_SHUTTER=x10\nI_STROBO=1\n"
      "S_CLASS_STRING=car=small\n"
      "S_OCR_CFG=Win:(10,20) (630,460) Ch:8x12 40x60\n"
      "I_PLATE_MIN_X=100\nI_PLATE_MIN_Y=200\nI_PLATE_MAX_X=300\nI_PLATE_MAX_Y=250\n"
      "S_OTHER=shown only\n";
  TImageInfo info;
  info.AllowEdit = true;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadImageInfo(Picture(text, 100), info, lines));
  EXPECT_EQ(info.FirmwareVer, "2.1");
  EXPECT_EQ(info.NetbiosName, "CAM1");
  EXPECT_EQ(info.SerialNumber, 16);
  EXPECT_EQ(info.Date, "2014-05-06");
  EXPECT_EQ(info.Time, "12:34:56");
  EXPECT_EQ(info.Plate, "AB123CD");
  EXPECT_EQ(info.NRead, 3);
  EXPECT_EQ(info.OcrScore, 87);
  EXPECT_EQ(info.JpegQuality, 80);
  EXPECT_EQ(info.Gain, -4);
  EXPECT_EQ(info.Shutter, 16);
  EXPECT_EQ(info.Strobo, 1);
  EXPECT_EQ(info.ClassString, "car=small");
  EXPECT_EQ(info.PlateMinX, 100);
  EXPECT_EQ(info.PlateMaxY, 250);
  EXPECT_EQ(info.SearchWindow, (TSearchWindow{10, 20, 630, 460, false}));
  EXPECT_EQ(info.CharSizeLimits, (TCharSizeLimits{8, 40, 12, 60}));
  EXPECT_TRUE(info.AllowEdit);  // flags are the caller's
  // The memo holds the text as it came, trimmed as a whole, line by line.
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines.front(), "; written by the camera");
  EXPECT_EQ(lines[2], "s_netbiosname = CAM1 ");
  EXPECT_EQ(lines.back(), "S_OTHER=shown only");
}

TEST(ImageInfo, ValuesThatReadAsZero) {
  struct Case {
    const char* text;
    int32_t score;
    std::string time;
  } cases[] = {
      {"F_OCRSCORE=87.5\nS_TIME=1-2", 0, "1:2"},
      {"F_OCRSCORE=\nS_TIME=", 0, ""},
      {"F_OCRSCORE=2147483648", 0, ""},
      {"F_OCRSCORE=-0X10", -16, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TImageInfo info;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadImageInfo(Picture(c.text), info, lines));
    EXPECT_EQ(info.OcrScore, c.score);
    EXPECT_EQ(info.Time, c.time);
  }
}

TEST(ImageInfo, InfoSectionRule) {
  struct Case {
    const char* name;
    const char* text;
    const char* plate;
  } cases[] = {
      {"no section line", "S_PLATE=A", "A"},
      {"own INFO line starts afresh", "S_PLATE=A\nI_SN=5\n[info]\nS_PLATE=B", "B"},
      {"only after the last INFO", "[INFO]\nS_PLATE=A\n[INFO]\nI_SN=1", ""},
      {"other section ends it", "S_PLATE=A\n[EXTRA]\nS_PLATE=B", "A"},
      {"INFO after other section", "[EXTRA]\nS_PLATE=B\n[INFO]\nS_PLATE=C", "C"},
      {"line without =", "S_PLATE\nS_PLATE=D", "D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TImageInfo info;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadImageInfo(Picture(c.text), info, lines));
    EXPECT_EQ(info.Plate, c.plate);
  }
}

TEST(ImageInfo, TextIsUtf8) {
  TImageInfo info;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadImageInfo(Picture("S_PLATE=\xC3\x84\xE2\x82\xAC\xE4\xB8\x80"), info, lines));
  EXPECT_EQ(info.Plate, "\xC4\x80?");  // A umlaut, euro sign, a character the code page lacks
  // A sequence cut short: the text counts as empty.
  info.Plate = "x";
  ASSERT_TRUE(ReadImageInfo(Picture("S_PLATE=AB\nI_SN=5\n\xC3"), info, lines));
  EXPECT_EQ(info.Plate, "");
  EXPECT_EQ(info.SerialNumber, 0);
  EXPECT_TRUE(lines.empty());
}

TEST(ImageInfo, ShowImageInfoText) {
  TImageInfo info;
  info.Plate = "old";
  std::vector<std::string> memo{"old"};
  ShowImageInfoText(Picture("S_PLATE=NEW\nI_SN=7"), info, memo, true, false);
  EXPECT_EQ(info.Plate, "NEW");
  EXPECT_EQ(info.SerialNumber, 7);
  EXPECT_TRUE(info.AllowEdit);
  EXPECT_FALSE(info.AllowCapture);
  EXPECT_EQ(memo, (std::vector<std::string>{"S_PLATE=NEW", "I_SN=7"}));
  // A picture without a block, and no picture: only the flags remain.
  const std::vector<uint8_t> jfif = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
  ShowImageInfoText(jfif, info, memo, false, true);
  EXPECT_EQ(info.Plate, "");
  EXPECT_EQ(info.SerialNumber, 0);
  EXPECT_TRUE(info.AllowCapture);
  EXPECT_FALSE(info.AllowEdit);
  EXPECT_TRUE(memo.empty());
  memo = {"old"};
  ShowImageInfoText({}, info, memo, true, true);
  EXPECT_TRUE(memo.empty());
  EXPECT_TRUE(info.AllowEdit && info.AllowCapture);
}

TEST(ImageInfo, ParseOcrCfg) {
  struct Case {
    const char* text;
    TSearchWindow window;
    TCharSizeLimits limits;
  } cases[] = {
      {"Win:(10,20) (630,460) Ch:8x12 40x60", {10, 20, 630, 460, false}, {8, 40, 12, 60}},
      {"Mode(Std UDLR:(30,90,5,95) Ch:8x12 40x60", {5, 30, 95, 90, true}, {8, 40, 12, 60}},
      {"Mode(Std LUDR:(30,90,5,95) Ch:8x12 40x60", {30, 90, 95, 5, true}, {8, 40, 12, 60}},
      // Without "Ch:" the UDLR form stores 5 fields, so the LUDR form runs,
      // stores only the mode name and turns Percent off again.
      {"Mode(Std UDLR:(30,90,5,95)", {5, 30, 95, 90, false}, {0, 0, 0, 0}},
      {"Mode(Std LUDR:(30,90,5,95)", {30, 90, 95, 5, true}, {0, 0, 0, 0}},
      {"Win:(10,20) (630,460)", {10, 20, 630, 460, false}, {0, 0, 0, 0}},
      {"Mode(Std UDLR:(30,90", {0, 30, 0, 90, false}, {0, 0, 0, 0}},
      {"", {}, {}},
      {"garbage", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TSearchWindow w{1, 1, 1, 1, true};
    TCharSizeLimits l{1, 1, 1, 1};
    ParseOcrCfg(c.text, w, l);
    EXPECT_EQ(w, c.window);
    EXPECT_EQ(l, c.limits);
  }
}

TEST(ImageInfo, ImageFileName) {
  TImageInfo info;
  info.NetbiosName = "CAM1";
  info.Date = "2014-05-06";
  info.Time = "12:34:56";
  const TDateTime now = EncodeDateTime({2023, 1, 2, 3, 4, 5, 0});
  const std::string folder = "pics";
  EXPECT_EQ(ImageFileName(info, "_BW", folder, now),
            "pics" + Sep + "20140506" + Sep + "CAM1_20140506_123456_BW.jpg");
  info.Plate = "AB123CD";
  EXPECT_EQ(ImageFileName(info, "_BW", folder, now),
            "pics" + Sep + "20140506" + Sep + "CAM1_20140506_123456_AB123CD_BW.jpg");
  // Without a date the computer's clock names the file.
  info.Date.clear();
  EXPECT_EQ(ImageFileName(info, "_COL", folder, now),
            "pics" + Sep + "20230102" + Sep + "CAM1_20230102_030405_AB123CD_COL.jpg");
  // Parts taken from a picture cannot lead out of the folder.
  info.Date = "..";
  info.Plate = "../../x\\y";
  info.NetbiosName = std::string("C/D\0E", 5);
  EXPECT_EQ(ImageFileName(info, "_BW", folder, now),
            "pics" + Sep + "__" + Sep + "C_D_E____123456_.._.._x_y_BW.jpg");
}

}  // namespace
