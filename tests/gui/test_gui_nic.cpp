// Options > Select network interface, inside a private network namespace
// with two interfaces: the list, the preselection, and the address a search
// broadcast really leaves from after choosing and after Cancel.

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "TCameraPeer.h"
#include "TLumidorRig.h"
#include "USelect.h"

class TestInterfaceChoice : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void chosenInterfaceIsWhereSearchesLeaveFrom();
  void okWithNothingSelectedMeansAnyInterface();

private:
  QStringList Addresses;
};

namespace {

// Opens the menu command; the user picks the entry at row (-1: selects
// nothing) and presses OK or Cancel. Returns what the list preselected.
int ChooseInterface(TLumidorRig& rig, int row, bool ok, QStringList* shown = nullptr, int* pointSize = nullptr) {
  TFormSelect& select = *rig.Form->FormSelect;
  int preselected = -2;
  rig.Prompts->InDialog([&](QDialog&) {
    const QList<QListWidgetItem*> selected = select.Listbox1->selectedItems();
    preselected = selected.isEmpty() ? -1 : select.Listbox1->row(selected.first());
    if (shown) {
      shown->clear();
      for (int i = 0; i < select.Listbox1->count(); ++i) shown->append(select.Listbox1->item(i)->text());
    }
    if (pointSize) *pointSize = select.Listbox1->font().pointSize();
    if (row >= 0) {
      select.Listbox1->setCurrentRow(row);
    } else {
      select.Listbox1->clearSelection();
    }
    (ok ? select.btnOK : select.btnCancel)->click();
  });
  rig.Form->mnuSelectNIC->trigger();
  return preselected;
}

QString SearchSource(TLumidorRig& rig, TCameraPeer& peer) {
  const int before = peer.Requests;
  QTest::mouseClick(rig.Form->tbnDiscover, Qt::LeftButton);
  return peer.Requests > before ? peer.LastSender.toString() : QString();
}

}  // namespace

void TestInterfaceChoice::initTestCase() {
  if (qEnvironmentVariableIsSet("LUMI_NETNS_UNAVAILABLE")) {
    QSKIP(qPrintable(QStringLiteral("private network namespace: ") + qEnvironmentVariable("LUMI_NETNS_UNAVAILABLE")));
  }
  // Outside the namespace this test would broadcast on real interfaces.
  if (!qEnvironmentVariableIsSet("LUMI_NETNS_INTERFACES")) QSKIP("run it through run_in_netns.sh");
  Addresses = qEnvironmentVariable("LUMI_NETNS_INTERFACES").split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QCOMPARE(Addresses.size(), 2);
}

void TestInterfaceChoice::chosenInterfaceIsWhereSearchesLeaveFrom() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  // Inside the namespace the real broadcast address is allowed.
  TLumidorRig rig(peer.Port(), std::nullopt, QStringLiteral("255.255.255.255"));
  QVERIFY(rig.Start());
  QCOMPARE(peer.LastSender.toString(), Addresses[0]);  // the default route's interface

  QStringList shown;
  int pointSize = 0;
  QCOMPARE(ChooseInterface(rig, 1, true, &shown, &pointSize), -1);  // first use: nothing preselected
  QCOMPARE(shown, Addresses);
  QCOMPARE(pointSize, 24);
  const std::vector<TPromptCall> asked = rig.Prompts->CallsOf(QStringLiteral("ExecDialog"));
  QCOMPARE(asked.back().Caption, QStringLiteral("FormSelect"));
  QCOMPARE(rig.Form->FormSelect->windowTitle(), QStringLiteral("KALTO Lumidor"));
  QCOMPARE(QString::fromStdString(rig.Zudirir.LocalAddress()), Addresses[1]);
  QCOMPARE(SearchSource(rig, peer), Addresses[1]);

  // The next opening preselects the current choice; Cancel returns to any.
  QCOMPARE(ChooseInterface(rig, 0, false), 1);
  QCOMPARE(QString::fromStdString(rig.Zudirir.LocalAddress()), QString());
  QCOMPARE(SearchSource(rig, peer), Addresses[0]);
}

void TestInterfaceChoice::okWithNothingSelectedMeansAnyInterface() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  TLumidorRig rig(peer.Port(), std::nullopt, QStringLiteral("255.255.255.255"));
  QVERIFY(rig.Start());
  ChooseInterface(rig, 1, true);
  QCOMPARE(QString::fromStdString(rig.Zudirir.LocalAddress()), Addresses[1]);
  ChooseInterface(rig, -1, true);
  QCOMPARE(QString::fromStdString(rig.Zudirir.LocalAddress()), QString());
  QCOMPARE(SearchSource(rig, peer), Addresses[0]);
}

QTEST_MAIN(TestInterfaceChoice)
#include "test_gui_nic.moc"
