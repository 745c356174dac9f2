#include "TScriptedPrompts.h"

#include <QApplication>

std::vector<TPromptCall> TScriptedPrompts::CallsOf(const QString& kind) const {
  std::vector<TPromptCall> calls;
  for (const TPromptCall& call : Calls) {
    if (call.Kind == kind) calls.push_back(call);
  }
  return calls;
}

QStringList TScriptedPrompts::TextsOf(const QString& kind) const {
  QStringList texts;
  for (const TPromptCall& call : CallsOf(kind)) texts.append(call.Text);
  return texts;
}

bool TScriptedPrompts::Take(const QString& kind, TPromptAnswer& answer) {
  auto found = Answers.find(kind);
  if (found == Answers.end() || found->second.empty()) return false;
  answer = std::move(found->second.front());
  found->second.pop_front();
  return true;
}

void TScriptedPrompts::MessageBox(const QString& text) {
  Calls.push_back({QStringLiteral("MessageBox"), QString::fromLatin1(ApplicationTitle), text});
}

void TScriptedPrompts::Information(const QString& text) {
  Calls.push_back({QStringLiteral("Information"), QString::fromLatin1(ApplicationTitle), text});
}

bool TScriptedPrompts::Confirm(const QString& text) {
  Calls.push_back({QStringLiteral("Confirm"), QString::fromLatin1(ApplicationTitle), text});
  TPromptAnswer answer;
  return Take(QStringLiteral("Confirm"), answer) && answer.Accept;
}

void TScriptedPrompts::ErrorBox(const QString& message) {
  Calls.push_back({QStringLiteral("ErrorBox"), QString::fromLatin1(ApplicationTitle), message});
}

bool TScriptedPrompts::InputBox(const QString& caption, const QString& prompt, QString& text) {
  Calls.push_back({QStringLiteral("InputBox"), caption, prompt});
  TPromptAnswer answer;
  if (!Take(QStringLiteral("InputBox"), answer) || !answer.Accept) return false;
  text = answer.Text;
  return true;
}

bool TScriptedPrompts::OpenFile(const TFileDialogSpec& spec, QString& fileName) {
  Calls.push_back(
      {QStringLiteral("OpenFile"), spec.Caption, spec.Filter, spec.Filter + QLatin1Char('|') + spec.DefaultSuffix});
  TPromptAnswer answer;
  if (!Take(QStringLiteral("OpenFile"), answer) || !answer.Accept) return false;
  fileName = answer.Text;
  return true;
}

bool TScriptedPrompts::SaveFile(const TFileDialogSpec& spec, QString& fileName) {
  Calls.push_back(
      {QStringLiteral("SaveFile"), spec.Caption, fileName, spec.Filter + QLatin1Char('|') + spec.DefaultSuffix});
  TPromptAnswer answer;
  if (!Take(QStringLiteral("SaveFile"), answer) || !answer.Accept) return false;
  fileName = answer.Text;
  return true;
}

bool TScriptedPrompts::SelectFolder(const QString& caption, const QString& root, QString& folder) {
  Calls.push_back({QStringLiteral("SelectFolder"), caption, root, folder});
  TPromptAnswer answer;
  if (!Take(QStringLiteral("SelectFolder"), answer) || !answer.Accept) return false;
  folder = answer.Text;
  return true;
}

int TScriptedPrompts::ExecDialog(QDialog& dialog) {
  Calls.push_back({QStringLiteral("ExecDialog"), dialog.objectName(), dialog.windowTitle()});
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  dialog.activateWindow();
  QApplication::processEvents();
  if (!DialogActions.empty()) {
    TDialogAction action = std::move(DialogActions.front());
    DialogActions.pop_front();
    action(dialog);
  }
  if (dialog.isVisible()) dialog.done(QDialog::Rejected);
  return dialog.result();
}

void TScriptedPrompts::OpenUrl(const QString& url) {
  Calls.push_back({QStringLiteral("OpenUrl"), QString(), url});
}
