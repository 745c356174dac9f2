// Device search and the device list: the searches, the selection of a row as
// the current device, "Setup IP address", and the choice of the local
// interface the searches leave from.

#include <QFont>
#include <QListWidget>

#include "UMain.h"
#include "UMessages.h"
#include "UPrompts.h"
#include "UQtBridge.h"
#include "USelect.h"
#include "USetup.h"
#include "UZudirir.h"

// Lists the cameras that answer a device information request: all of them
// (address empty: broadcast) or the one at address. Rows appear as replies
// arrive; the window keeps handling its events meanwhile.
void TFormMain::SearchDevices(const std::string& address) {
  TExchangeLock lock(*this);
  if (!lock) return;
  GridDevices->ClearRows();
  UpdateControls();
  const TZudirirMsg msg = BuildDeviceInfo();
  const uint8_t* reply = nullptr;
  // The result does not matter: no answer simply leaves the list empty.
  Zudirir().ExchangeUdp(address, std::string(), msg, reply, WAIT_DEVICE_SEARCH,
                        [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
}

void TFormMain::btnDiscoverClick() { SearchDevices(std::string()); }

void TFormMain::btnDiscoverOneClick() {
  if (ExchangeRunning()) return;
  QString address;
  if (!Prompts().InputBox(tr("Search one specific device"), tr("Enter IP address: "), address)) return;
  // Not validated: empty searches everywhere, a host name is resolved.
  SearchDevices(QStringToAnsi(address));
}

// Clicking the selected row again changes nothing, so its panes stay.
void TFormMain::GridDevicesBeforeSelect(int, int row, bool& accept) {
  if (row == GridDevices->SelectedRow()) accept = false;
}

void TFormMain::GridDevicesSelectCell(int, int row) {
  if (row >= 0) {
    ClearDevicePanes();
    CopyRowToDevice(row);
  }
  UpdateControls();
}

// The row's addresses become the current device's; the serial number and
// description stay those of the last reply.
void TFormMain::CopyRowToDevice(int row) {
  CurrentDevice.Dhcp = GridDevices->Checked(row);
  CurrentDevice.IpAddress = QStringToAnsi(GridDevices->Cell(colIPADDR, row));
  CurrentDevice.Netmask = QStringToAnsi(GridDevices->Cell(colNETMASK, row));
  CurrentDevice.Gateway = QStringToAnsi(GridDevices->Cell(colGATEWAY, row));
  CurrentDevice.MacAddress = QStringToAnsi(GridDevices->Cell(colMACADDR, row));
  CurrentDevice.HostName = QStringToAnsi(GridDevices->Cell(colHOSTNAME, row));
}

void TFormMain::OnSetupIPAddr() {
  const int row = GridDevices->SelectedRow();
  if (row < 0) return;
  CopyRowToDevice(row);
  if (FormSetup) FormSetup->SetupNetwork(CurrentDevice);
}

// Options > Select network interface: every exchange from now on leaves from
// the chosen address; Cancel, or OK with nothing selected, returns to any
// interface.
void TFormMain::mnuSelectNICClick() {
  // Rebinding closes the UDP socket, which a waiting search still reads.
  TExchangeLock lock(*this);
  if (!lock || !FormSelect) return;
  std::string chosen;
  const int listed = ListLocalInterfaces(Interfaces);
  const int count = std::min(listed, static_cast<int>(Interfaces.size()));
  QStringList items;
  int index = -1;
  for (int i = 0; i < count; ++i) {
    items.append(AnsiToQString(Interfaces[i].Address));
    if (!Zudirir().LocalAddress().empty() && Interfaces[i].Address == Zudirir().LocalAddress() && index < 0) {
      index = i;
    }
  }
  QFont font = FormSelect->Listbox1->font();
  font.setPointSize(24);
  FormSelect->Listbox1->setFont(font);
  if (FormSelect->SelectItem(QString::fromLatin1(ApplicationTitle), tr("Select network interface:"), items, index) &&
      index >= 0 && index < count) {
    chosen = Interfaces[index].Address;
  }
  Zudirir().SetLocalAddress(chosen);
}
