#pragma once
// The network setup dialog: a camera's DHCP flag, host name, address,
// netmask and gateway, written into its "device.ini" and followed by an
// offer to reboot. Both requests go out as broadcasts naming the camera's
// MAC address, so a camera whose address does not suit the PC's network can
// still be set up. Created once at start and reused; the validity rules and
// the record written come from USetupRules.

#include <QDialog>
#include <array>

#include "USetupRules.h"
#include "UTypes.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFormMain;
class TNumberEdit;
class TPrompts;

class TFormSetup : public QDialog {
  Q_OBJECT
public:
  // main: the window whose file and reboot commands the dialog uses.
  TFormSetup(TPrompts& prompts, TFormMain* main = nullptr);

  // Fills the dialog from a copy of the record and shows it modally.
  int SetupNetwork(const TDeviceInfo& device);
  void UpdateSetupState();

  // Event handlers.
  void OnInputChanged();
  void OnValueValidate(TNumberEdit* field);
  void btnOKClick();

  // ---- State.
  TDeviceInfo Device;
  bool Modified = false;
  bool HasError = false;

  // ---- Controls, in tab order.
  QCheckBox* chkDHCP;
  QLabel* lblHostname;
  QLineEdit* EditHostname;
  QLabel* LabelMAC;
  QLineEdit* EditMAC;
  QLabel* LabelIP;
  TNumberEdit* EditIP1;
  TNumberEdit* EditIP2;
  TNumberEdit* EditIP3;
  TNumberEdit* EditIP4;
  QLabel* LabelNM;
  TNumberEdit* EditNM1;
  TNumberEdit* EditNM2;
  TNumberEdit* EditNM3;
  TNumberEdit* EditNM4;
  QLabel* LabelGW;
  TNumberEdit* EditGW1;
  TNumberEdit* EditGW2;
  TNumberEdit* EditGW3;
  TNumberEdit* EditGW4;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  // The twelve octet fields: address 1-4, netmask 1-4, gateway 1-4.
  std::array<TNumberEdit*, 12> Octets() const;

protected:
  void showEvent(QShowEvent* event) override;

private:
  TSetupFields Fields() const;

  TPrompts& Prompts;
  TFormMain* Main;
};
