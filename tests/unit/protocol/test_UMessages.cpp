#include <gtest/gtest.h>

#include "UMessages.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Catalogue, RequestBytes) {
  struct Case {
    const char* name;
    TZudirirMsg msg;
    Bytes expected;
  } cases[] = {
      {"device info", BuildDeviceInfo(),
       {0x18, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"reboot", BuildReboot(),
       {0x18, 0, 0, 0, 0x02, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"get errors: 28 bytes, word 100", BuildGetErrors(),
       {0x18, 0, 0, 0, 0x16, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 4, 0, 0, 0,
        100, 0, 0, 0}},
      {"erase errors", BuildEraseErrors(),
       {0x18, 0, 0, 0, 0x17, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"list files", BuildListFiles(),
       {0x18, 0, 0, 0, 0x1E, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"read device.ini: 12 payload bytes", BuildReadFile("device.ini"),
       {0x18, 0, 0, 0, 0x04, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0,
        'd', 'e', 'v', 'i', 'c', 'e', '.', 'i', 'n', 'i', 0, 0}},
      {"colour image", BuildGetImage(1),
       {0x18, 0, 0, 0, 0x4E, 0x62, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"get date time", BuildGetDateTime(),
       {0x18, 0, 0, 0, 0x9B, 0x65, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"write ocrp_cfg.ini, 10-byte text: 32 payload bytes", BuildWriteFile("ocrp_cfg.ini", "a=1\r\nb=22\r\n"),
       {0x18, 0, 0, 0, 0x18, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,
        'o', 'c', 'r', 'p', '_', 'c', 'f', 'g', '.', 'i', 'n', 'i', 0, 0, 0, 0,
        11, 0, 0, 0,
        'a', '=', '1', '\r', '\n', 'b', '=', '2', '2', '\r', '\n', 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SerializeMsg(c.msg), c.expected);
  }
}

TEST(Catalogue, SetDateTimeRecords) {
  // 2015-03-07 09:05:03.250
  const TZudirirMsg msg = BuildSetDateTime(EncodeDateTime({2015, 3, 7, 9, 5, 3, 250}));
  const Bytes wire = SerializeMsg(msg);
  const Bytes expected = {
      0x18, 0, 0, 0, 0x9A, 0x65, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 44, 0, 0, 0,
      0xFA, 0x2E, 0, 0, 12, 0, 0, 0,                                  // 12026 "TIME", 12 bytes
      7, 3, 0xDF, 0x07, 9, 0, 5, 0, 3, 0, 0xFA, 0,                    // day month year, hour minute, second ms
      0x35, 0x27, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,                       // 10037 "TIMEZONE" 0
      0x9A, 0x33, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,                       // 13210, 0
  };
  EXPECT_EQ(wire, expected);
}

TEST(Catalogue, Names) {
  EXPECT_STREQ(MsgName(4096), "MSG_DEVICE_INFO");
  EXPECT_STREQ(MsgName(40000), "MSG_TRANSIT");
  EXPECT_STREQ(MsgName(4097), "");
}

}  // namespace
