#pragma once
// The authentication dialog: asks for a user name and a password.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TPrompts;

class TFormPassword : public QDialog {
  Q_OBJECT
public:
  TFormPassword(TPrompts& prompts, QWidget* parent = nullptr);

  // Shows the dialog with both texts filled in. True when closed with OK; only
  // then are the texts written back, exactly as typed.
  bool AskCredentials(QString& userName, QString& password);

  QLabel* lblUsername;
  QLineEdit* EditUsername;
  QLabel* lblPassword;
  QLineEdit* EditPassword;
  QPushButton* btnOK;
  QPushButton* btnCancel;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void FormShow();

  TPrompts& Prompts;
};
