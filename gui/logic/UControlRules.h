#pragma once
// Which controls of the main window are enabled or shown, derived from the
// window's state alone. The window gathers a TControlState, calls
// ControlRules once and applies every flag in one place (UpdateControls).

#include <string>

struct TControlState {
  bool DeviceSelected = false;  // the device list has a selected row
  bool ServerActive = false;    // the event server listens
  bool Image1HasPicture = false;
  bool Image2HasPicture = false;
  std::string LastReadFile;     // device file last chosen under "Read file"
};

// One flag per control (or group of twins) that the rules touch; every other
// control is always enabled.
struct TControlFlags {
  // Tabs shown.
  bool tsDATETIMEVisible = false;
  bool tsDIAGNOSEVisible = false;
  // The image information memos stay hidden.
  bool MemoInfo1Visible = false;
  bool MemoInfo2Visible = false;
  // Capture: btnGetImage1, btnGetImage2, tbnGetImage, popGetImage.
  bool GetImageEnabled = false;
  bool btnSaveImage1Enabled = false;
  bool btnSaveImage2Enabled = false;
  // tbnSetupIP, mnuSetupIP, popSetupIP.
  bool SetupIPEnabled = false;
  // tbnWebConfig, mnuWebConfig, popWebConfig.
  bool WebConfigEnabled = false;
  // tbnPing, mnuPing, popPing.
  bool PingEnabled = false;
  // tbnReboot, mnuReboot, popReboot.
  bool RebootEnabled = false;
  // btnReadDateTime, btnWriteDateTime, btnWritePCDateTime.
  bool DateTimeEnabled = false;
  // btnGetErrors, btnEraseErrors.
  bool ErrorsEnabled = false;
  // btnReadFile, btnBackup.
  bool ReadFileEnabled = false;
  bool btnWriteFileEnabled = false;
  // The device list has PopupMenu1 as its context menu (else none).
  bool GridPopupMenu = false;
  // EditServerPort, btnServerStart, tbnServerStart, mnuServerStart.
  bool ServerStartEnabled = false;
  // btnServerStop, tbnServerStop, mnuServerStop.
  bool ServerStopEnabled = false;

  bool operator==(const TControlFlags&) const = default;
};

TControlFlags ControlRules(const TControlState& state);
