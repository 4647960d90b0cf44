#pragma once
// The PEP table as a Qt item model for the review grid: column 0 is the tick box of
// EsPEP, column 1 the client's name. The model follows the table's change notices; it
// never edits by itself (the window toggles ticks through the table).
#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "engine/tabla_peps.h"

namespace kv {

class TModeloPEPs : public QAbstractTableModel, private IObservadorTablaPEPs {
 public:
  static constexpr int kColMarca = 0;
  static constexpr int kColNombre = 1;

  explicit TModeloPEPs(TTablaPEPs& tabla, QObject* padre = nullptr);
  ~TModeloPEPs() override;

  int rowCount(const QModelIndex& padre = QModelIndex()) const override;
  int columnCount(const QModelIndex& padre = QModelIndex()) const override;
  QVariant data(const QModelIndex& indice, int nRol) const override;
  QVariant headerData(int nSeccion, Qt::Orientation orientacion, int nRol) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

 private:
  void TablaReiniciada() override;
  void FilaAgregada(std::size_t nFila) override;
  void FilaModificada(std::size_t nFila) override;

  TTablaPEPs& F_Tabla;
  int F_nFilas = 0;  // rows the views know of
};

// Draws the grid's cells: the tick column as a centred check box, vertical column lines
// and no row lines.
class TDelegadoPEPs : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& opcion,
             const QModelIndex& indice) const override;
};

}  // namespace kv
