#pragma once
// Prompts for window tests: every question is recorded, and answered from a
// script queued per kind; an unscripted question gets the cautious answer
// (No, Cancel, nothing chosen). A modal dialog of the tool is shown
// modelessly, handed to the scripted action, and closed if the action leaves
// it open, so no test ever waits on a modal window.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "UPrompts.h"

struct TPromptCall {
  QString Kind;     // "MessageBox", "Information", "Confirm", "ErrorBox", "InputBox",
                    // "OpenFile", "SaveFile", "SelectFolder", "ExecDialog", "OpenUrl"
  QString Caption;  // caption, or the dialog's object name
  QString Text;     // the text, prompt or address shown
  // File pickers: the filter and the default suffix, joined by "|"; the
  // folder picker: the folder preselected.
  QString Detail = QString();
};

struct TPromptAnswer {
  bool Accept = false;  // Yes / OK / a choice made
  QString Text;         // the text entered, file or folder chosen
};

class TScriptedPrompts : public TPrompts {
public:
  using TDialogAction = std::function<void(QDialog&)>;

  // Queues the answer to the next question of this kind.
  void Answer(const QString& kind, TPromptAnswer answer) { Answers[kind].push_back(std::move(answer)); }
  // Queues what the user does in the next modal dialog (click, type,
  // accept() / reject()); a dialog the action leaves open is rejected.
  void InDialog(TDialogAction action) { DialogActions.push_back(std::move(action)); }

  std::vector<TPromptCall> Calls;
  // The calls of one kind, in order.
  std::vector<TPromptCall> CallsOf(const QString& kind) const;
  QStringList TextsOf(const QString& kind) const;
  void Forget() { Calls.clear(); }

  void MessageBox(const QString& text) override;
  void Information(const QString& text) override;
  bool Confirm(const QString& text) override;
  void ErrorBox(const QString& message) override;
  bool InputBox(const QString& caption, const QString& prompt, QString& text) override;
  bool OpenFile(const TFileDialogSpec& spec, QString& fileName) override;
  bool SaveFile(const TFileDialogSpec& spec, QString& fileName) override;
  bool SelectFolder(const QString& caption, const QString& root, QString& folder) override;
  int ExecDialog(QDialog& dialog) override;
  void OpenUrl(const QString& url) override;

private:
  bool Take(const QString& kind, TPromptAnswer& answer);
  std::map<QString, std::deque<TPromptAnswer>> Answers;
  std::deque<TDialogAction> DialogActions;
};
