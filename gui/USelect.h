#pragma once
// The selection dialog: lets the user pick one entry of a list of texts.
// Created once at start and reused; every SelectItem sets what it shows.

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;
class TPrompts;

class TFormSelect : public QDialog {
  Q_OBJECT
public:
  TFormSelect(TPrompts& prompts, QWidget* parent = nullptr);

  // Shows the list modally with the entry at index preselected (none when
  // index is outside the list). True when closed with OK; index receives the
  // entry selected at closing (-1 for none), after Cancel as well.
  bool SelectItem(const QString& caption, const QString& prompt, const QStringList& items, int& index);

  QLabel* PanelPrompt;
  QListWidget* Listbox1;
  QWidget* PanelButtons;
  QPushButton* btnOK;
  QPushButton* btnCancel;

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FormShow();
  void Listbox1DblClick();
  int SelectedIndex() const;

  TPrompts& Prompts;
};
