// The selection, authentication and about dialogs, driven through their
// operations with the user's actions scripted inside the (modeless) dialog.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "TScriptedPrompts.h"
#include "UAbout.h"
#include "UPassword.h"
#include "USelect.h"

class TestDialogs : public QObject {
  Q_OBJECT
private slots:
  void selectItem_data();
  void selectItem();
  void selectItemShowsCaptionPromptAndFocusesList();
  void selectItemDoubleClickBelowLastEntryConfirms();
  void askCredentialsFocus_data();
  void askCredentialsFocus();
  void askCredentialsWritesBackOnlyOnOK();
  void aboutShowsVersionRecord();
  void aboutClosesOnClickOrKey_data();
  void aboutClosesOnClickOrKey();
  void aboutWebsiteOpensBrowserAndStaysOpen();
};

namespace {
QStringList Five() {
  return {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")};
}
}  // namespace

// What the user does: -2 leave the preselection, -1 clear it, else select that row.
void TestDialogs::selectItem_data() {
  QTest::addColumn<QStringList>("items");
  QTest::addColumn<int>("index");
  QTest::addColumn<int>("preselected");
  QTest::addColumn<int>("userSelects");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<bool>("result");
  QTest::addColumn<int>("indexAfter");
  QTest::newRow("index 2 kept, OK") << Five() << 2 << 2 << -2 << true << true << 2;
  QTest::newRow("index = count selects none, OK") << Five() << 5 << -1 << -2 << true << true << -1;
  QTest::newRow("index -1 selects none, OK") << Five() << -1 << -1 << -2 << true << true << -1;
  QTest::newRow("Cancel writes the moved index back") << Five() << 1 << 1 << 3 << false << false << 3;
  QTest::newRow("user clears the selection, OK") << Five() << 1 << 1 << -1 << true << true << -1;
  QTest::newRow("empty list, OK") << QStringList() << 0 << -1 << -2 << true << true << -1;
  QTest::newRow("empty list, Cancel") << QStringList() << 0 << -1 << -2 << false << false << -1;
}

void TestDialogs::selectItem() {
  QFETCH(QStringList, items);
  QFETCH(int, index);
  QFETCH(int, preselected);
  QFETCH(int, userSelects);
  QFETCH(bool, ok);
  QFETCH(bool, result);
  QFETCH(int, indexAfter);
  TScriptedPrompts prompts;
  TFormSelect form(prompts);
  int seen = -3;
  prompts.InDialog([&](QDialog&) {
    const QList<QListWidgetItem*> selected = form.Listbox1->selectedItems();
    seen = selected.isEmpty() ? -1 : form.Listbox1->row(selected.first());
    if (userSelects == -1) form.Listbox1->clearSelection();
    if (userSelects >= 0) form.Listbox1->setCurrentRow(userSelects);
    (ok ? form.btnOK : form.btnCancel)->click();
  });
  QCOMPARE(form.SelectItem(QStringLiteral("Caption"), QStringLiteral("Prompt"), items, index), result);
  QCOMPARE(seen, preselected);
  QCOMPARE(index, indexAfter);
  QCOMPARE(form.Listbox1->count(), items.size());
}

void TestDialogs::selectItemShowsCaptionPromptAndFocusesList() {
  TScriptedPrompts prompts;
  TFormSelect form(prompts);
  QCOMPARE(form.windowTitle(), QStringLiteral("Select"));
  QCOMPARE(form.PanelPrompt->text(), QStringLiteral("Prompt:"));
  bool listFocused = false;
  prompts.InDialog([&](QDialog& dialog) { listFocused = dialog.focusWidget() == form.Listbox1; });
  int index = 0;
  QVERIFY(!form.SelectItem(QStringLiteral("KALTO Lumidor"), QStringLiteral("Select network interface:"), Five(), index));
  QCOMPARE(form.windowTitle(), QStringLiteral("KALTO Lumidor"));
  QCOMPARE(form.PanelPrompt->text(), QStringLiteral("Select network interface:"));
  QVERIFY(listFocused);
  // Reused: the next opening replaces the entries.
  prompts.InDialog([&](QDialog&) { form.btnOK->click(); });
  index = 0;
  QVERIFY(form.SelectItem(QStringLiteral("Read file"), QStringLiteral("File:"), {QStringLiteral("device.ini")}, index));
  QCOMPARE(form.Listbox1->count(), 1);
  QCOMPARE(index, 0);
}

void TestDialogs::selectItemDoubleClickBelowLastEntryConfirms() {
  TScriptedPrompts prompts;
  TFormSelect form(prompts);
  prompts.InDialog([&](QDialog&) {
    QWidget* viewport = form.Listbox1->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 4));
  });
  int index = -1;
  QVERIFY(form.SelectItem(QStringLiteral("c"), QStringLiteral("p"), {QStringLiteral("one")}, index));
  QCOMPARE(index, -1);
}

void TestDialogs::askCredentialsFocus_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<bool>("focusOnPassword");
  QTest::newRow("nothing remembered") << QString() << QString() << false;
  QTest::newRow("user remembered, no password") << QStringLiteral("tech") << QString() << true;
  QTest::newRow("both remembered") << QStringLiteral("tech") << QStringLiteral("pw") << false;
  QTest::newRow("password only") << QString() << QStringLiteral("pw") << false;
}

void TestDialogs::askCredentialsFocus() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(bool, focusOnPassword);
  TScriptedPrompts prompts;
  TFormPassword form(prompts);
  QWidget* focused = nullptr;
  prompts.InDialog([&](QDialog& dialog) { focused = dialog.focusWidget(); });
  form.AskCredentials(user, password);
  QCOMPARE(focused, focusOnPassword ? form.EditPassword : form.EditUsername);
}

void TestDialogs::askCredentialsWritesBackOnlyOnOK() {
  TScriptedPrompts prompts;
  TFormPassword form(prompts);
  QCOMPARE(form.EditPassword->echoMode(), QLineEdit::Password);
  QString user = QStringLiteral("tech");
  QString password = QStringLiteral("secret");
  prompts.InDialog([&](QDialog&) {
    form.EditUsername->setText(QStringLiteral("other"));
    form.EditPassword->setText(QStringLiteral("x"));
    form.btnCancel->click();
  });
  QVERIFY(!form.AskCredentials(user, password));
  QCOMPARE(user, QStringLiteral("tech"));
  QCOMPARE(password, QStringLiteral("secret"));

  prompts.InDialog([&](QDialog&) {
    QCOMPARE(form.EditUsername->text(), QStringLiteral("tech"));
    form.EditUsername->setText(QStringLiteral(" admin "));
    form.EditPassword->clear();
    form.btnOK->click();
  });
  QVERIFY(form.AskCredentials(user, password));
  QCOMPARE(user, QStringLiteral(" admin "));  // exactly as typed
  QCOMPARE(password, QString());
}

void TestDialogs::aboutShowsVersionRecord() {
  TScriptedPrompts prompts;
  TFormAbout form(prompts);
  QCOMPARE(form.lblProductName->text(), QStringLiteral("KALTO Lumidor"));
  QCOMPARE(form.lblProductVersion->text(), QStringLiteral("Version: " LUMIDOR_EXPECTED_VERSION));
  QVERIFY(!form.lblCopyright->text().isEmpty());
  QVERIFY(!form.lblWebsite->text().isEmpty());
  QVERIFY(form.lblWebsite->font().underline());
  QCOMPARE(form.lblWebsite->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(form.palette().color(QPalette::Window), QColor(0, 138, 204));
  QCOMPARE(form.PanelMain->palette().color(QPalette::Window), QColor(0, 138, 207));
  QCOMPARE(form.Image1->pixmap().size(), QSize(400, 100));
  QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
  QCOMPARE(form.size(), QSize(400, 300));
}

void TestDialogs::aboutClosesOnClickOrKey_data() {
  QTest::addColumn<QString>("target");
  for (const char* name : {"Image1", "lblProductName", "PanelMain", "lblProductVersion", "lblCopyright", "key"}) {
    QTest::newRow(name) << QString::fromLatin1(name);
  }
}

void TestDialogs::aboutClosesOnClickOrKey() {
  QFETCH(QString, target);
  TScriptedPrompts prompts;
  TFormAbout form(prompts);
  prompts.InDialog([&](QDialog& dialog) {
    if (target == QLatin1String("key")) {
      QTest::keyClick(&dialog, Qt::Key_Q);
    } else {
      QWidget* w = dialog.findChild<QWidget*>(target);
      QVERIFY(w);
      QTest::mouseClick(w, Qt::LeftButton);
    }
    QVERIFY(!dialog.isVisible());
  });
  prompts.ExecDialog(form);
}

void TestDialogs::aboutWebsiteOpensBrowserAndStaysOpen() {
  TScriptedPrompts prompts;
  TFormAbout form(prompts);
  bool stillOpen = false;
  prompts.InDialog([&](QDialog& dialog) {
    QTest::mouseClick(form.lblWebsite, Qt::LeftButton);
    stillOpen = dialog.isVisible();
  });
  prompts.ExecDialog(form);
  QVERIFY(stillOpen);
  QCOMPARE(prompts.TextsOf(QStringLiteral("OpenUrl")), QStringList{QStringLiteral("http://") + form.lblWebsite->text()});
}

QTEST_MAIN(TestDialogs)
#include "test_gui_dialogs.moc"
