#include "USetup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "UPrompts.h"
#include "UQtBridge.h"

TFormSetup::TFormSetup(TPrompts& prompts, QWidget* parent) : QDialog(parent), Prompts(prompts) {
  setObjectName(QStringLiteral("FormSetup"));
  setWindowTitle(tr("Setup IP address"));
  auto* layout = new QVBoxLayout(this);
  lblDevice = new QLabel(this);
  lblDevice->setObjectName(QStringLiteral("lblDevice"));
  lblDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(lblDevice);
  auto* buttons = new QHBoxLayout;
  btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);
  layout->addLayout(buttons);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormSetup::SetupNetwork(TDeviceInfo device) {
  Device = std::move(device);
  lblDevice->setText(tr("Hostname: %1\nDHCP: %2\nIP address: %3\nNetmask: %4\nGateway: %5\nMAC address: %6")
                         .arg(AnsiToQString(Device.HostName), Device.Dhcp ? tr("yes") : tr("no"),
                              AnsiToQString(Device.IpAddress), AnsiToQString(Device.Netmask),
                              AnsiToQString(Device.Gateway), AnsiToQString(Device.MacAddress)));
  return Prompts.ExecDialog(*this);
}
