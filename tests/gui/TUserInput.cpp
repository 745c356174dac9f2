#include "TUserInput.h"

#include <QTest>

void Type(QDialog& dialog, QLineEdit* edit, const QString& text) {
  dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

void TypeAndLeave(QDialog& dialog, QLineEdit* edit, const QString& text) {
  Type(dialog, edit, text);
  QTest::keyClick(edit, Qt::Key_Tab);
}
