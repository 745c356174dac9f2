#include <gtest/gtest.h>

#include <string>

#include "UControlRules.h"

namespace {

TControlState State(bool selected, bool server, bool image1 = false, bool image2 = false, std::string file = "") {
  return {selected, server, image1, image2, std::move(file)};
}

TEST(ControlRules, NothingSelectedServerIdle) {
  const TControlFlags f = ControlRules({});
  TControlFlags expected;  // everything off ...
  expected.ServerStartEnabled = true;  // ... except Start
  EXPECT_EQ(f, expected);
}

TEST(ControlRules, DeviceSelectedEnablesEveryDeviceCommand) {
  const TControlFlags f = ControlRules(State(true, true));
  for (bool flag : {f.tsDATETIMEVisible, f.tsDIAGNOSEVisible, f.GetImageEnabled, f.SetupIPEnabled,
                    f.WebConfigEnabled, f.PingEnabled, f.RebootEnabled, f.DateTimeEnabled, f.ErrorsEnabled,
                    f.ReadFileEnabled, f.GridPopupMenu, f.ServerStopEnabled})
    EXPECT_TRUE(flag);
  for (bool flag : {f.MemoInfo1Visible, f.MemoInfo2Visible, f.btnSaveImage1Enabled, f.btnSaveImage2Enabled,
                    f.btnWriteFileEnabled, f.ServerStartEnabled})
    EXPECT_FALSE(flag);
}

TEST(ControlRules, FlagsThatDependOnMoreThanTheSelection) {
  struct Case {
    const char* name;
    TControlState state;
    bool writeFile, save1, save2, start, stop;
  } cases[] = {
      {"file read but no device", State(false, false, false, false, "device.ini"), false, false, false, true, false},
      {"device but no file read", State(true, false), false, false, false, true, false},
      {"device and file read", State(true, false, false, false, "x.ini"), true, false, false, true, false},
      {"pictures without device", State(false, false, true), false, true, false, true, false},
      {"colour picture only", State(false, false, false, true), false, false, true, true, false},
      {"server running", State(false, true), false, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TControlFlags f = ControlRules(c.state);
    EXPECT_EQ(f.btnWriteFileEnabled, c.writeFile);
    EXPECT_EQ(f.btnSaveImage1Enabled, c.save1);
    EXPECT_EQ(f.btnSaveImage2Enabled, c.save2);
    EXPECT_EQ(f.ServerStartEnabled, c.start);
    EXPECT_EQ(f.ServerStopEnabled, c.stop);
  }
}

}  // namespace
