// Pictures and pushed transits: the information block placed where the test
// tool reads it, the recognition settings text in every form the tool
// parses, and a transit message the tools can walk.

#include <gtest/gtest.h>

#include <set>

#include "UHandleZudirir.h"
#include "UImageInfo.h"
#include "UParamNames.h"
#include "UPicture.h"
#include "USimCapture.h"
#include "USimHttp.h"
#include "USimImageInfo.h"
#include "USimPicture.h"

namespace {

TEST(SimPicture, InfoBlockReplacesTheJfifHeader) {
  TSimRaster r;
  r.Width = 16;
  r.Height = 8;
  r.Pixels.assign(16 * 8, 128);
  const std::vector<uint8_t> plain = EncodeJpeg(r, 80);
  ASSERT_GE(plain.size(), 20u);
  EXPECT_EQ(plain[3], 0xE0);  // the encoder's JFIF header
  const std::string text = "S_PLATE=AB123CD\r\nI_SN=7\r\nS_NETBIOSNAME=CAM1\r\n";
  const std::vector<uint8_t> j = InsertInfoBlock(plain, text);
  const size_t len = (j[4] << 8) | j[5];
  EXPECT_EQ(len, text.size() + 2);
  EXPECT_EQ(std::string(j.begin() + 6, j.begin() + 6 + static_cast<ptrdiff_t>(text.size())), text);
  EXPECT_EQ(j.size(), plain.size() - 20 + 6 + text.size());  // SOI and the 18-byte JFIF segment go
  const TJpegPicture pic = DecodeJpeg(j.data(), j.size());
  EXPECT_EQ(pic.Width, 16);
  TImageInfo info;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadImageInfo(j.data(), j.size(), info, lines));
  EXPECT_EQ(info.Plate, "AB123CD");
  EXPECT_EQ(info.SerialNumber, 7);

  // Too long a text is cut at a character boundary and still decodes.
  std::string huge(70000, 'a');
  huge.replace(65532, 2, "\xC3\xA9");
  const std::vector<uint8_t> big = InsertInfoBlock(plain, huge);
  EXPECT_EQ((big[4] << 8) | big[5], 65532 + 2);
  EXPECT_THROW(InsertInfoBlock({1, 2, 3}, text), EJpegError);
}

TEST(SimPicture, OcrCfgTextInTheFormsTheToolReads) {
  struct Case {
    const char* name;
    const char* ini;
    const char* text;
    TSearchWindow window;
    TCharSizeLimits limits;
  } cases[] = {
      {"percent lane",
       "[PLATE LOCATOR]\nPercLaneLeft=5\nPercLaneRight=95\nPercLaneUp=30\nPercLaneDown=90\n"
       "[PLATE CHAR SIZE LIMITS]\nCharMinWidth=8\nCharMaxWidth=40\nCharMinHeight=12\nCharMaxHeight=60\n",
       "Mode(Std UDLR:(30,90,5,95) Ch:8x12 40x60", {5, 30, 95, 90, true}, {8, 40, 12, 60}},
      {"pixels", "[SEARCH WINDOW]\nWinMinX=10\nWinMinY=20\nWinMaxX=630\nWinMaxY=460\n",
       "Win:(10,20) (630,460) Ch:0x0 0x0", {10, 20, 630, 460, false}, {0, 0, 0, 0}},
      {"pixels with defaults", "[search window]\nWinMinY=0x10\n", "Win:(0,16) (2147483647,2147483647) Ch:0x0 0x0",
       {0, 16, 2147483647, 2147483647, false}, {}},
      {"empty window section falls back to the lane", "[SEARCH WINDOW]\n[PLATE LOCATOR]\n[OCR]\nMode=Fast lane\n",
       "Mode(Fastlane UDLR:(0,100,0,100) Ch:0x0 0x0", {0, 0, 100, 100, true}, {}},
      {"empty file", "", "Mode(Std UDLR:(0,100,0,100) Ch:0x0 0x0", {0, 0, 100, 100, true}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = OcrCfgText(c.ini);
    EXPECT_EQ(text, c.text);
    TSearchWindow w;
    TCharSizeLimits l;
    ParseOcrCfg(text, w, l);
    EXPECT_EQ(w, c.window);
    EXPECT_EQ(l, c.limits);
  }
}

TEST(SimPicture, TransitMessageHoldsTheReadAndBothPictures) {
  TSimCameraConfig c = DefaultCameraConfig(1, 210001, 0x7F00000B, 0xFF000000, 0x7F000001);
  TSimCamera cam(c, DefaultFiles(FileIdentityOf(c)), 0);
  std::string summary;
  const TZudirirMsg m = BuildTransit(cam, {EncodeDateTime({2024, 5, 6, 12, 34, 56, 789}), 0}, &summary);
  const std::vector<uint8_t> w = SerializeMsg(m);
  ASSERT_LT(w.size(), 1048320u);  // fits a tool's buffer
  EXPECT_EQ(AcceptReply(w.data(), static_cast<uint32_t>(w.size())), TReplyAcceptance::Walk);
  std::map<std::string, std::string> named;
  std::vector<uint8_t> bw, col;
  WalkParams(w.data(), static_cast<uint32_t>(w.size()), [&](const TZudirirParam& p) {
    named[NameParam(p, TParamTool::TestTool).Name] = NameParam(p, TParamTool::TestTool).Value;
    if (p.Id == 14020) bw = ParamImageBytes(p);
    if (p.Id == 14021) col = ParamImageBytes(p);
  });
  for (const char* key : {"SERIAL_NUMBER", "NETBIOSNAME", "DATE", "TIME", "PLATE", "PLATE_COUNTRY", "SPEED", "CLASS",
                          "CLASS_STRING", "DIRECTION", "TRANSIT_ID", "OCRSCORE", "PLATE_MIN_X", "PLATE_MAX_Y",
                          "IMAGE_BW", "IMAGE_COL"})
    EXPECT_TRUE(named.count(key)) << key;
  EXPECT_EQ(named["DATE"], "2024-05-06");
  EXPECT_EQ(named["TRANSIT_ID"], "1");
  EXPECT_EQ(named["PLATE_COUNTRY"], "F");
  TImageInfo a, b;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadImageInfo(bw.data(), bw.size(), a, lines));
  ASSERT_TRUE(ReadImageInfo(col.data(), col.size(), b, lines));
  EXPECT_EQ(a.Plate, named["PLATE"]);
  EXPECT_EQ(b.Plate, named["PLATE"]);
  EXPECT_EQ(std::to_string(a.PlateMinX), named["PLATE_MIN_X"]);
  // Camera 2 states its window in pixels.
  EXPECT_FALSE(a.SearchWindow.Percent);
  EXPECT_EQ(DecodeJpeg(col.data(), col.size()).Width, 800);
  EXPECT_NE(summary.find(named["PLATE"]), std::string::npos);

  // The next transit is a new read.
  const TZudirirMsg m2 = BuildTransit(cam, {EncodeDateTime({2024, 5, 6, 12, 35, 0, 0}), 0});
  std::set<std::string> plates;
  for (const TZudirirMsg* msg : {&m, &m2}) {
    const std::vector<uint8_t> bytes = SerializeMsg(*msg);
    WalkParams(bytes.data(), static_cast<uint32_t>(bytes.size()), [&](const TZudirirParam& p) {
      if (p.Id == 14009) plates.insert(ParamInteger(p));
    });
  }
  EXPECT_EQ(plates.size(), 2u);
}

TEST(SimPicture, ChunksCoverTheMessage) {
  std::vector<uint8_t> w(1001);
  for (size_t i = 0; i < w.size(); ++i) w[i] = static_cast<uint8_t>(i);
  for (int n : {1, 3, 7, 2000}) {
    SCOPED_TRACE(n);
    const auto chunks = SplitChunks(w, n);
    EXPECT_EQ(chunks.size(), static_cast<size_t>(std::min(n, 1001)));
    std::vector<uint8_t> joined;
    for (const auto& c : chunks) {
      EXPECT_FALSE(c.empty());
      joined.insert(joined.end(), c.begin(), c.end());
    }
    EXPECT_EQ(joined, w);
  }
}

TEST(SimHttp, BasicCredentials) {
  // "fieldtech:fieldtech"
  const std::string good = "Basic ZmllbGR0ZWNoOmZpZWxkdGVjaA==";
  EXPECT_TRUE(BasicAuthMatches(good, "fieldtech", "fieldtech"));
  EXPECT_TRUE(BasicAuthMatches("basic  ZmllbGR0ZWNoOmZpZWxkdGVjaA== ", "fieldtech", "fieldtech"));
  EXPECT_FALSE(BasicAuthMatches(good, "fieldtech", "other"));
  EXPECT_FALSE(BasicAuthMatches("Bearer ZmllbGR0ZWNoOmZpZWxkdGVjaA==", "fieldtech", "fieldtech"));
  EXPECT_FALSE(BasicAuthMatches("Basic !!!", "fieldtech", "fieldtech"));
  EXPECT_FALSE(BasicAuthMatches("", "", ""));
  std::string out;
  ASSERT_TRUE(Base64Decode("YTpi", out));
  EXPECT_EQ(out, "a:b");
}

}  // namespace
