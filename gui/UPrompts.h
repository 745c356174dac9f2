#pragma once
// The one way the windows reach the user. Every message box, confirmation,
// input box, file or folder picker and modal dialog goes through TPrompts,
// which the main window owns; so does every action that leaves the program
// for the desktop (opening a web address). TQtPrompts shows real dialogs;
// the window tests install a scripted implementation that records what was
// asked and answers as told, so no test ever waits on a modal window.

#include <QString>

class QDialog;
class QWidget;

// What a file picker shows.
struct TFileDialogSpec {
  QString Caption;
  QString Filter;         // Qt filter text; empty: every file
  QString DefaultSuffix;  // added when the user types a name without one (saving)
};

class TPrompts {
public:
  virtual ~TPrompts() = default;

  // Plain message box: caption the application title, button OK. Carries the
  // "Error: " texts and notices such as "File saved ".
  virtual void MessageBox(const QString& text) = 0;
  // Information box (OK).
  virtual void Information(const QString& text) = 0;
  // Confirmation box with Yes and No; true on Yes.
  virtual bool Confirm(const QString& text) = 0;
  // The application's standard error box: an unexpected error's own message.
  virtual void ErrorBox(const QString& message) = 0;

  // Input box with OK and Cancel. text: in, the proposed text; out, the text
  // as entered (written only on OK).
  virtual bool InputBox(const QString& caption, const QString& prompt, QString& text) = 0;

  // File pickers. fileName: in, the proposed name; out, the chosen one
  // (written only when a file was chosen).
  virtual bool OpenFile(const TFileDialogSpec& spec, QString& fileName) = 0;
  virtual bool SaveFile(const TFileDialogSpec& spec, QString& fileName) = 0;
  // Folder picker rooted at root (empty: the whole tree); folder: in, the
  // folder to preselect; out, the chosen one (written only on a choice).
  virtual bool SelectFolder(const QString& caption, const QString& root, QString& folder) = 0;

  // Shows one of the tool's own dialogs modally and returns its result code
  // (QDialog::Accepted or QDialog::Rejected).
  virtual int ExecDialog(QDialog& dialog) = 0;

  // Opens a web address in the default browser; does not wait.
  virtual void OpenUrl(const QString& url) = 0;
};

// The real dialogs. parent: the window the boxes are centred on.
class TQtPrompts : public TPrompts {
public:
  explicit TQtPrompts(QWidget* parent) : Parent(parent) {}

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
  QWidget* Parent;
};

// The application's title: the caption of message boxes and the start of the
// main window's caption.
inline constexpr const char* ApplicationTitle = "KALTO Lumidor";
