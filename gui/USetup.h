#pragma once
// The network setup dialog: a camera's host name, DHCP flag, address,
// netmask and gateway. Opened with a copy of the selected device. This is its
// outline: it shows the device it was given; the editing, the write to the
// camera and the reboot belong to this class as well.

#include <QDialog>

#include "UTypes.h"

class QLabel;
class QPushButton;
class TPrompts;

class TFormSetup : public QDialog {
  Q_OBJECT
public:
  TFormSetup(TPrompts& prompts, QWidget* parent = nullptr);

  int SetupNetwork(TDeviceInfo device);

  // The device the last opening was given.
  TDeviceInfo Device;

  QLabel* lblDevice;
  QPushButton* btnCancel;

private:
  TPrompts& Prompts;
};
