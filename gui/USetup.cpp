#include "USetup.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <exception>

#include "UMain.h"
#include "UNumberEdit.h"
#include "UPrompts.h"
#include "UQtBridge.h"

namespace {

const QColor DisabledBackground(240, 240, 240);

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(16, top, 90, 21);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

// A row of four octet fields with the dots between them.
std::array<TNumberEdit*, 4> NewOctetRow(QWidget* parent, const char* prefix, int top) {
  std::array<TNumberEdit*, 4> row{};
  for (int i = 0; i < 4; ++i) {
    const int left = 112 + i * 40;
    if (i > 0) {
      auto* dot = new QLabel(QStringLiteral("."), parent);
      dot->setAlignment(Qt::AlignCenter);
      dot->setGeometry(left - 10, top, 10, 21);
    }
    auto* edit = new TNumberEdit(3, parent);
    edit->setObjectName(QLatin1String(prefix) + QString::number(i + 1));
    edit->setAlignment(Qt::AlignCenter);
    edit->setGeometry(left, top, 30, 21);
    edit->AutoAdvance = true;
    edit->EmptyIsZero = true;
    row[i] = edit;
  }
  return row;
}

}  // namespace

TFormSetup::TFormSetup(TPrompts& prompts, TFormMain* main) : QDialog(main), Prompts(prompts), Main(main) {
  setObjectName(QStringLiteral("FormSetup"));
  setWindowTitle(tr("Setup IP address"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(392, 266);

  chkDHCP = new QCheckBox(tr("Enable DHCP"), this);
  chkDHCP->setObjectName(QStringLiteral("chkDHCP"));
  chkDHCP->setGeometry(112, 14, 200, 21);

  lblHostname = NewLabel(this, "lblHostname", tr("Hostname:"), 46);
  EditHostname = new QLineEdit(this);
  EditHostname->setObjectName(QStringLiteral("EditHostname"));
  EditHostname->setGeometry(112, 46, 264, 21);
  EditHostname->setPlaceholderText(QStringLiteral("\u00AB hostname \u00BB"));
  lblHostname->setBuddy(EditHostname);

  LabelMAC = NewLabel(this, "LabelMAC", tr("MAC address:"), 78);
  EditMAC = new QLineEdit(this);
  EditMAC->setObjectName(QStringLiteral("EditMAC"));
  EditMAC->setGeometry(112, 78, 264, 21);
  QPalette grey = EditMAC->palette();
  grey.setColor(QPalette::Disabled, QPalette::Base, DisabledBackground);
  EditMAC->setPalette(grey);

  LabelIP = NewLabel(this, "LabelIP", tr("IP address:"), 118);
  const auto ip = NewOctetRow(this, "EditIP", 118);
  LabelNM = NewLabel(this, "LabelNM", tr("Netmask:"), 150);
  const auto nm = NewOctetRow(this, "EditNM", 150);
  LabelGW = NewLabel(this, "LabelGW", tr("Gateway:"), 182);
  const auto gw = NewOctetRow(this, "EditGW", 182);
  EditIP1 = ip[0], EditIP2 = ip[1], EditIP3 = ip[2], EditIP4 = ip[3];
  EditNM1 = nm[0], EditNM2 = nm[1], EditNM3 = nm[2], EditNM4 = nm[3];
  EditGW1 = gw[0], EditGW2 = gw[1], EditGW3 = gw[2], EditGW4 = gw[3];
  LabelIP->setBuddy(EditIP1);
  LabelNM->setBuddy(EditNM1);
  LabelGW->setBuddy(EditGW1);

  btnOK = new QPushButton(tr("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(200, 226, 80, 27);
  btnOK->setAutoDefault(false);
  btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(296, 226, 80, 27);
  btnCancel->setAutoDefault(false);

  // Tab order as the fields stand: DHCP, host name, MAC, the twelve octets, OK, Cancel.
  QWidget* order[] = {chkDHCP, EditHostname, EditMAC, EditIP1, EditIP2, EditIP3, EditIP4, EditNM1, EditNM2,
                      EditNM3, EditNM4, EditGW1, EditGW2, EditGW3, EditGW4, btnOK, btnCancel};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(chkDHCP, &QCheckBox::clicked, this, [this] { OnInputChanged(); });
  connect(EditHostname, &QLineEdit::textChanged, this, [this] { OnInputChanged(); });
  for (TNumberEdit* field : Octets()) {
    connect(field, &QLineEdit::textChanged, this, [this, field] {
      OnValueValidate(field);
      OnInputChanged();
    });
    connect(field, &TNumberEdit::focusLost, this, [this, field] { OnValueValidate(field); });
  }
  connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
}

std::array<TNumberEdit*, 12> TFormSetup::Octets() const {
  return {EditIP1, EditIP2, EditIP3, EditIP4, EditNM1, EditNM2, EditNM3, EditNM4, EditGW1, EditGW2, EditGW3, EditGW4};
}

TSetupFields TFormSetup::Fields() const {
  TSetupFields f;
  f.Dhcp = chkDHCP->isChecked();
  f.HostName = QStringToAnsi(EditHostname->text());
  const auto octets = Octets();
  for (size_t i = 0; i < 4; ++i) {
    f.Ip[i] = QStringToAnsi(octets[i]->text());
    f.Netmask[i] = QStringToAnsi(octets[4 + i]->text());
    f.Gateway[i] = QStringToAnsi(octets[8 + i]->text());
  }
  return f;
}

int TFormSetup::SetupNetwork(const TDeviceInfo& device) {
  Device = device;
  chkDHCP->setChecked(Device.Dhcp);
  EditHostname->setText(AnsiToQString(Device.HostName));
  EditMAC->setText(AnsiToQString(Device.MacAddress));
  const auto octets = Octets();
  const std::string* addresses[3] = {&Device.IpAddress, &Device.Netmask, &Device.Gateway};
  for (size_t row = 0; row < 3; ++row) {
    TOctetTexts current;
    for (size_t i = 0; i < 4; ++i) current[i] = QStringToAnsi(octets[row * 4 + i]->text());
    const TOctetTexts parts = SplitAddress(*addresses[row], current);
    for (size_t i = 0; i < 4; ++i) octets[row * 4 + i]->setText(AnsiToQString(parts[i]));
  }
  // Filling is not the user's change; the fields' error states do follow the texts.
  Modified = false;
  HasError = false;
  UpdateSetupState();
  return Prompts.ExecDialog(*this);
}

void TFormSetup::UpdateSetupState() {
  chkDHCP->setEnabled(true);
  EditHostname->setEnabled(true);
  EditMAC->setEnabled(false);
  const TSetupControls c = SetupRules(Fields());
  const auto octets = Octets();
  for (size_t i = 0; i < octets.size(); ++i) {
    octets[i]->setEnabled(c.OctetsEnabled);
    octets[i]->SetErrorState(c.FieldError[i]);
  }
  HasError = c.HasError;
  btnOK->setEnabled(!HasError);
  btnCancel->setEnabled(true);
}

void TFormSetup::OnInputChanged() {
  Modified = true;
  UpdateSetupState();
}

void TFormSetup::OnValueValidate(TNumberEdit* field) {
  field->SetErrorState(!OctetValid(QStringToAnsi(field->text())));
  UpdateSetupState();
}

void TFormSetup::btnOKClick() {
  // Whatever happens, the dialog closes with OK.
  struct TCloseOk {
    TFormSetup& Form;
    ~TCloseOk() { Form.accept(); }
  } close{*this};
  if (!Modified || !Main) return;
  TDeviceInfo record = SetupRecord(Fields());
  try {
    TFormMain::TExchangeLock lock(*Main);
    if (!lock) return;
    // Without a MAC address the broadcast would reach every camera and each
    // would take this address: nothing is sent then.
    if (Device.MacAddress.empty() || !Main->WriteNetworkSettings(std::string(), Device.MacAddress, record)) {
      Prompts.MessageBox(QStringLiteral("Error: failed to write network settings"));
      return;
    }
    if (Prompts.Confirm(tr("Network settings changed. Reboot now?"))) {
      Main->RebootDevice(std::string(), Device.MacAddress);
    }
  } catch (const std::exception& error) {
    Prompts.ErrorBox(AnsiToQString(error.what()));
  } catch (...) {
    Prompts.ErrorBox(QStringLiteral("Unknown error"));
  }
}

void TFormSetup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}
