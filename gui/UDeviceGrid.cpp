#include "UDeviceGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace {

struct TColumnSpec {
  const char* Header;
  int Width;
  bool Shown;
};

constexpr TColumnSpec Columns[DeviceColumnCount] = {
    {"SN", 70, true},          {"DHCP", 60, false},        {"IP address", 100, true},
    {"Netmask", 100, false},   {"Gateway", 100, false},    {"MAC address", 140, true},
    {"Hostname", 180, true},   {"Description", 300, true},
};

// Serial numbers sort as numbers (800 before 1200); the DHCP box as a
// boolean; every other column as text.
class TDeviceSortProxy : public QSortFilterProxyModel {
public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    switch (left.column()) {
      case colSN:
        return left.data().toString().toLongLong() < right.data().toString().toLongLong();
      case colDHCP:
        return left.data(Qt::CheckStateRole).toInt() < right.data(Qt::CheckStateRole).toInt();
      default:
        return QString::localeAwareCompare(left.data().toString(), right.data().toString()) < 0;
    }
  }
};

}  // namespace

TDeviceGrid::TDeviceGrid(QWidget* parent) : QTableView(parent) {
  Rows = new QStandardItemModel(0, DeviceColumnCount, this);
  for (int c = 0; c < DeviceColumnCount; ++c) {
    Rows->setHeaderData(c, Qt::Horizontal, tr(Columns[c].Header));
  }
  Sorted = new TDeviceSortProxy(this);
  Sorted->setSourceModel(Rows);
  Sorted->setDynamicSortFilter(true);
  setModel(Sorted);

  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAlternatingRowColors(true);
  setShowGrid(false);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(20);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int c = 0; c < DeviceColumnCount; ++c) {
    setColumnWidth(c, Columns[c].Width);
    setColumnHidden(c, !Columns[c].Shown);
  }
  // The description takes what the other columns leave, so the list needs
  // no sideways scrolling at the window's usual size.
  horizontalHeader()->setSectionResizeMode(colDESCRIPTION, QHeaderView::Stretch);
  setSortingEnabled(true);
  sortByColumn(colSN, Qt::AscendingOrder);

  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndex current = currentIndex();
    emit SelectCell(current.isValid() ? current.column() : 0, SelectedRow());
  });
}

int TDeviceGrid::RowCount() const { return Sorted->rowCount(); }

int TDeviceGrid::SelectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.constFirst().row();
}

bool TDeviceGrid::AcceptSelect(int column, int row) const {
  bool accept = true;
  if (OnBeforeSelect) OnBeforeSelect(column, row, accept);
  return accept;
}

void TDeviceGrid::SelectRow(int row) {
  if (row < 0 || row >= RowCount()) {
    selectionModel()->clearSelection();
    return;
  }
  if (!AcceptSelect(0, row)) return;
  const QModelIndex index = Sorted->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TDeviceGrid::ClearRows() {
  selectionModel()->clearSelection();
  Rows->removeRows(0, Rows->rowCount());
}

QString TDeviceGrid::Cell(int column, int row) const { return Sorted->index(row, column).data().toString(); }

bool TDeviceGrid::Checked(int row) const {
  return Sorted->index(row, colDHCP).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

int TDeviceGrid::FindOrAppendSourceRow(const QString& key) {
  for (int row = RowCount() - 1; row >= 0; --row) {
    if (Cell(colSN, row) == key) return Sorted->mapToSource(Sorted->index(row, colSN)).row();
  }
  QList<QStandardItem*> items;
  for (int c = 0; c < DeviceColumnCount; ++c) {
    auto* item = new QStandardItem;
    item->setEditable(false);
    if (c == colDHCP) {
      item->setCheckable(true);
      item->setCheckState(Qt::Unchecked);
    }
    items.append(item);
  }
  Rows->appendRow(items);
  return Rows->rowCount() - 1;
}

void TDeviceGrid::SetSourceCell(int sourceRow, int column, const QString& text) {
  Rows->item(sourceRow, column)->setText(text);
}

void TDeviceGrid::SetSourceChecked(int sourceRow, bool checked) {
  Rows->item(sourceRow, colDHCP)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// Clicking the selected row again must not run the selection events (it
// would clear the panes); any other row asks the before-select rule first.
QItemSelectionModel::SelectionFlags TDeviceGrid::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const {
  const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
  if (!index.isValid() || command == QItemSelectionModel::NoUpdate) return command;
  if (!AcceptSelect(index.column(), index.row())) return QItemSelectionModel::NoUpdate;
  // A second press on the selected row may come as a toggle; keep it selected.
  if (command & QItemSelectionModel::Toggle) return QItemSelectionModel::NoUpdate;
  return command;
}

void TDeviceGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DoubleClick();
}
