#include "app/modelo_peps.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "app/textos.h"

namespace kv {

TModeloPEPs::TModeloPEPs(TTablaPEPs& tabla, QObject* padre)
    : QAbstractTableModel(padre), F_Tabla(tabla) {
  F_nFilas = static_cast<int>(F_Tabla.RecordCount());
  F_Tabla.AddObserver(this);
}

TModeloPEPs::~TModeloPEPs() {
  F_Tabla.RemoveObserver(this);
}

int TModeloPEPs::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : F_nFilas;
}

int TModeloPEPs::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : 2;
}

QVariant TModeloPEPs::data(const QModelIndex& indice, int nRol) const {
  if (!indice.isValid() || indice.row() >= F_nFilas) return {};
  const TFilaPEP& fila = F_Tabla.Row(static_cast<std::size_t>(indice.row()));
  if (indice.column() == kColMarca) {
    if (nRol == Qt::CheckStateRole) return fila.EsPEP.value_or(false) ? Qt::Checked : Qt::Unchecked;
    if (nRol == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
  }
  if (nRol == Qt::DisplayRole) return QString::fromStdString(fila.Nombre);
  if (nRol == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant TModeloPEPs::headerData(int nSeccion, Qt::Orientation orientacion, int nRol) const {
  if (orientacion != Qt::Horizontal) return {};
  if (nRol == Qt::DisplayRole)
    return QString::fromUtf8(nSeccion == kColMarca ? textos_app::kTituloMarcarPEP
                                                   : textos_app::kTituloNombre);
  if (nRol == Qt::TextAlignmentRole)
    return int((nSeccion == kColMarca ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TModeloPEPs::flags(const QModelIndex& indice) const {
  // Selectable for the current cell, never editable: ticks change through the window.
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TModeloPEPs::TablaReiniciada() {
  beginResetModel();
  F_nFilas = static_cast<int>(F_Tabla.RecordCount());
  endResetModel();
}

void TModeloPEPs::FilaAgregada(std::size_t nFila) {
  const int n = static_cast<int>(nFila);
  if (n != F_nFilas) {  // not an append at the end: start over
    TablaReiniciada();
    return;
  }
  beginInsertRows(QModelIndex(), n, n);
  F_nFilas = n + 1;
  endInsertRows();
}

void TModeloPEPs::FilaModificada(std::size_t nFila) {
  const int n = static_cast<int>(nFila);
  if (n >= F_nFilas) return;
  emit dataChanged(index(n, kColMarca), index(n, kColNombre));
}

void TDelegadoPEPs::paint(QPainter* painter, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const {
  QStyleOptionViewItem op(opcion);
  initStyleOption(&op, indice);
  const QWidget* widget = op.widget;
  QStyle* estilo = widget ? widget->style() : QApplication::style();
  if (indice.column() == TModeloPEPs::kColMarca) {
    // Background and focus as any cell, then the box in the middle of the cell.
    const Qt::CheckState estado = op.checkState;
    op.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    estilo->drawControl(QStyle::CE_ItemViewItem, &op, painter, widget);
    QStyleOptionButton caja;
    caja.state = opcion.state & QStyle::State_Enabled;
    caja.state |= estado == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    const int nAncho = estilo->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    const int nAlto = estilo->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget);
    caja.rect = QRect(0, 0, nAncho, nAlto);
    caja.rect.moveCenter(op.rect.center());
    estilo->drawPrimitive(QStyle::PE_IndicatorCheckBox, &caja, painter, widget);
  } else {
    estilo->drawControl(QStyle::CE_ItemViewItem, &op, painter, widget);
  }
  painter->save();
  painter->setPen(QColor(192, 192, 192));
  painter->drawLine(opcion.rect.topRight(), opcion.rect.bottomRight());
  painter->restore();
}

}  // namespace kv
