// Enabling rules of the main window.

#include "UControlRules.h"

TControlFlags ControlRules(const TControlState& s) {
  const bool one = s.DeviceSelected;
  TControlFlags f;
  f.tsDATETIMEVisible = one;
  f.tsDIAGNOSEVisible = one;
  f.MemoInfo1Visible = false;
  f.MemoInfo2Visible = false;
  f.GetImageEnabled = one;
  f.btnSaveImage1Enabled = s.Image1HasPicture;
  f.btnSaveImage2Enabled = s.Image2HasPicture;
  f.SetupIPEnabled = one;
  f.WebConfigEnabled = one;
  f.PingEnabled = one;
  f.RebootEnabled = one;
  f.DateTimeEnabled = one;
  f.ErrorsEnabled = one;
  f.ReadFileEnabled = one;
  f.btnWriteFileEnabled = one && !s.LastReadFile.empty();
  f.GridPopupMenu = one;
  f.ServerStartEnabled = !s.ServerActive;
  f.ServerStopEnabled = s.ServerActive;
  return f;
}
