#pragma once
// A digits-only edit field, the kind both dialogs use for their numbers:
// no sign, a length limit, a text suffix drawn after the number (" %"),
// optional advance to the next field when the limit is reached by typing,
// optional "0" when the field is left empty, and an error state drawn white
// on red. The text itself holds only the digits.

#include <QLineEdit>
#include <QString>

class TNumberEdit : public QLineEdit {
  Q_OBJECT
public:
  TNumberEdit(int maxLength, QWidget* parent = nullptr);

  // Text drawn after the number, not part of text().
  void SetSuffix(const QString& suffix);
  const QString& Suffix() const { return Suffix_; }

  // Typing the last allowed character moves the focus to the next field.
  bool AutoAdvance = false;
  // A field left empty shows "0" again.
  bool EmptyIsZero = false;

  void SetErrorState(bool error);
  bool ErrorState() const { return Error_; }

signals:
  // The field lost the focus (after an empty text became "0").
  void focusLost();

protected:
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  void UpdateColours();
  QString Suffix_;
  bool Error_ = false;
};
