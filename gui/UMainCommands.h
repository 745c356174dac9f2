#pragma once
// What the main window's device commands share: the device they act on and
// the code they show when a UDP request got no reply at all.

#include <cstdint>
#include <string>

#include "UDeviceGrid.h"
#include "UQtBridge.h"
#include "UZudirir.h"

struct TSelectedDevice {
  std::string Host;    // the "IP address" cell
  std::string Serial;  // the "SN" cell
};

// The one selected row of the device list; false when none is selected (the
// list allows one at most).
inline bool SelectedDevice(const TDeviceGrid& grid, TSelectedDevice& device) {
  const int row = grid.SelectedRow();
  if (row < 0) return false;
  device.Host = QStringToAnsi(grid.Cell(colIPADDR, row));
  device.Serial = QStringToAnsi(grid.Cell(colSN, row));
  return true;
}

// A UDP request that got no reply has no Status to show; the errcode is then
// the one the TCP exchange returns when no reply header came, so one number
// means "no answer" in every message.
inline constexpr uint32_t NoReplyErrcode = 0xFFFFFF;

// The Status of the reply an exchange delivered through its reply reference
// (null: none arrived).
inline uint32_t DeliveredStatus(const uint8_t* reply) {
  return reply ? ReadWordLE(reply + 16) : NoReplyErrcode;
}
