#include "USelect.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "UPrompts.h"

TFormSelect::TFormSelect(TPrompts& prompts, QWidget* parent) : QDialog(parent), Prompts(prompts) {
  setObjectName(QStringLiteral("FormSelect"));
  setWindowTitle(tr("Select"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(282, 400);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  layout->setSpacing(0);

  PanelPrompt = new QLabel(tr("Prompt:"), this);
  PanelPrompt->setObjectName(QStringLiteral("PanelPrompt"));
  PanelPrompt->setFixedHeight(25);
  PanelPrompt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  layout->addWidget(PanelPrompt);

  Listbox1 = new QListWidget(this);
  Listbox1->setObjectName(QStringLiteral("Listbox1"));
  Listbox1->setSelectionMode(QAbstractItemView::SingleSelection);
  Listbox1->viewport()->installEventFilter(this);
  layout->addWidget(Listbox1, 1);

  PanelButtons = new QWidget(this);
  PanelButtons->setObjectName(QStringLiteral("PanelButtons"));
  PanelButtons->setFixedHeight(40);
  auto* buttons = new QHBoxLayout(PanelButtons);
  buttons->setContentsMargins(0, 5, 0, 0);
  btnOK = new QPushButton(tr("OK"), PanelButtons);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setFixedSize(130, 35);
  btnOK->setDefault(true);
  btnCancel = new QPushButton(tr("Cancel"), PanelButtons);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setFixedSize(130, 35);
  buttons->addWidget(btnOK);
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);
  layout->addWidget(PanelButtons);

  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
}

bool TFormSelect::SelectItem(const QString& caption, const QString& prompt, const QStringList& items,
                             int& index) {
  setWindowTitle(caption);
  PanelPrompt->setText(prompt);
  Listbox1->clear();
  Listbox1->addItems(items);
  Listbox1->clearSelection();
  if (index >= 0 && index < Listbox1->count()) {
    Listbox1->setCurrentRow(index);
  } else {
    Listbox1->setCurrentRow(-1);
  }
  const bool ok = Prompts.ExecDialog(*this) == QDialog::Accepted;
  index = SelectedIndex();
  return ok;
}

int TFormSelect::SelectedIndex() const {
  const QList<QListWidgetItem*> selected = Listbox1->selectedItems();
  return selected.isEmpty() ? -1 : Listbox1->row(selected.constFirst());
}

void TFormSelect::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormSelect::FormShow() { Listbox1->setFocus(); }

// A double click anywhere in the list confirms, also below the last entry.
bool TFormSelect::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Listbox1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    Listbox1DblClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormSelect::Listbox1DblClick() { accept(); }
