#pragma once
// The device list: one row per camera, whole-row selection of one row at
// most, sorted by a column (numerically by serial number at start). Rows are
// addressed in display order, as the user sees them.

#include <QTableView>
#include <functional>

class QStandardItemModel;
class QSortFilterProxyModel;

enum TDeviceColumn {
  colSN,
  colDHCP,
  colIPADDR,
  colNETMASK,
  colGATEWAY,
  colMACADDR,
  colHOSTNAME,
  colDESCRIPTION,
  DeviceColumnCount
};

class TDeviceGrid : public QTableView {
  Q_OBJECT
public:
  explicit TDeviceGrid(QWidget* parent = nullptr);

  int RowCount() const;
  // The selected row in display order, or -1.
  int SelectedRow() const;
  // Selects a row as a click on it would (the before-select rule applies).
  void SelectRow(int row);
  void ClearRows();

  QString Cell(int column, int row) const;
  bool Checked(int row) const;  // the DHCP check box

  // Row writing for the reply dispatcher: the row FindDeviceRow picks for key
  // among the displayed SN texts, or a new row appended at the end; returns
  // it as a source row, which keeps while the list re-sorts.
  int FindOrAppendSourceRow(const QString& key);
  void SetSourceCell(int sourceRow, int column, const QString& text);
  void SetSourceChecked(int sourceRow, bool checked);

  // Asked before a row is selected by a click, a key or SelectRow; clearing
  // accept refuses the selection.
  std::function<void(int column, int row, bool& accept)> OnBeforeSelect;

  QStandardItemModel* Rows;
  QSortFilterProxyModel* Sorted;

signals:
  // The selection changed; row is -1 when nothing is selected any more.
  void SelectCell(int column, int row);
  void DoubleClick();

protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  bool AcceptSelect(int column, int row) const;
};
