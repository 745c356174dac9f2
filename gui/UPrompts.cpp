#include "UPrompts.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace {
QString Title() { return QString::fromLatin1(ApplicationTitle); }
}  // namespace

void TQtPrompts::MessageBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, Title(), text, QMessageBox::Ok, Parent);
  box.exec();
}

void TQtPrompts::Information(const QString& text) {
  QMessageBox box(QMessageBox::Information, Title(), text, QMessageBox::Ok, Parent);
  box.exec();
}

bool TQtPrompts::Confirm(const QString& text) {
  QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::Yes | QMessageBox::No, Parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void TQtPrompts::ErrorBox(const QString& message) {
  QMessageBox::critical(Parent, Title(), message, QMessageBox::Ok);
}

bool TQtPrompts::InputBox(const QString& caption, const QString& prompt, QString& text) {
  bool ok = false;
  const QString entered = QInputDialog::getText(Parent, caption, prompt, QLineEdit::Normal, text, &ok);
  if (ok) text = entered;
  return ok;
}

bool TQtPrompts::OpenFile(const TFileDialogSpec& spec, QString& fileName) {
  const QString chosen = QFileDialog::getOpenFileName(Parent, spec.Caption, fileName, spec.Filter);
  if (chosen.isEmpty()) return false;
  fileName = chosen;
  return true;
}

bool TQtPrompts::SaveFile(const TFileDialogSpec& spec, QString& fileName) {
  QFileDialog dialog(Parent, spec.Caption, fileName, spec.Filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!spec.DefaultSuffix.isEmpty()) dialog.setDefaultSuffix(spec.DefaultSuffix);
  if (!fileName.isEmpty()) dialog.selectFile(fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().constFirst();
  return true;
}

bool TQtPrompts::SelectFolder(const QString& caption, const QString& root, QString& folder) {
  QFileDialog dialog(Parent, caption, folder.isEmpty() ? root : folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  folder = dialog.selectedFiles().constFirst();
  return true;
}

int TQtPrompts::ExecDialog(QDialog& dialog) { return dialog.exec(); }

void TQtPrompts::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); }
