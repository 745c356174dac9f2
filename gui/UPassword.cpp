#include "UPassword.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "UPrompts.h"

TFormPassword::TFormPassword(TPrompts& prompts, QWidget* parent) : QDialog(parent), Prompts(prompts) {
  setObjectName(QStringLiteral("FormPassword"));
  setWindowTitle(tr("Authentication"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(292, 206);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(24, 28, 24, 20);
  layout->setVerticalSpacing(14);

  lblUsername = new QLabel(tr("Username:"), this);
  lblUsername->setObjectName(QStringLiteral("lblUsername"));
  EditUsername = new QLineEdit(this);
  EditUsername->setObjectName(QStringLiteral("EditUsername"));
  lblPassword = new QLabel(tr("Password:"), this);
  lblPassword->setObjectName(QStringLiteral("lblPassword"));
  EditPassword = new QLineEdit(this);
  EditPassword->setObjectName(QStringLiteral("EditPassword"));
  EditPassword->setEchoMode(QLineEdit::Password);
  lblUsername->setBuddy(EditUsername);
  lblPassword->setBuddy(EditPassword);

  btnOK = new QPushButton(tr("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);

  layout->addWidget(lblUsername, 0, 0);
  layout->addWidget(EditUsername, 0, 1);
  layout->addWidget(lblPassword, 1, 0);
  layout->addWidget(EditPassword, 1, 1);
  layout->setRowStretch(2, 1);
  layout->addLayout(buttons, 3, 0, 1, 2);

  setTabOrder(EditUsername, EditPassword);
  setTabOrder(EditPassword, btnOK);
  setTabOrder(btnOK, btnCancel);

  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormPassword::AskCredentials(QString& userName, QString& password) {
  EditUsername->setText(userName);
  EditPassword->setText(password);
  if (Prompts.ExecDialog(*this) != QDialog::Accepted) return false;
  userName = EditUsername->text();
  password = EditPassword->text();
  return true;
}

void TFormPassword::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

// A remembered user name puts the caret where typing is still needed.
void TFormPassword::FormShow() {
  if (!EditUsername->text().isEmpty() && EditPassword->text().isEmpty()) {
    EditPassword->setFocus();
  } else {
    EditUsername->setFocus();
  }
}
