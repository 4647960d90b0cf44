#include "diag/qt/dialogos_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "diag/textos.h"

namespace kv {
namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

void TDialogosQt::Mensaje(const std::string& sTexto) {
  QMessageBox caja(QMessageBox::NoIcon, QApplication::applicationDisplayName(), Q(sTexto));
  caja.addButton(QString::fromUtf8(textos::kBotonAceptar), QMessageBox::AcceptRole);
  caja.exec();
}

bool TDialogosQt::AdvertenciaSiNo(const std::string& sTexto) {
  QMessageBox caja(QMessageBox::Warning, QString::fromUtf8(textos::kTituloAdvertencia), Q(sTexto));
  QPushButton* si = caja.addButton(QString::fromUtf8(textos::kBotonSi), QMessageBox::YesRole);
  QPushButton* no = caja.addButton(QString::fromUtf8(textos::kBotonNo), QMessageBox::NoRole);
  caja.setDefaultButton(si);
  caja.setEscapeButton(no);
  caja.exec();
  return caja.clickedButton() == si;
}

bool TDialogosQt::ErrorAceptarCancelar(const std::string& sTexto) {
  QMessageBox caja(QMessageBox::Critical, QString::fromUtf8(textos::kTituloError), Q(sTexto));
  QPushButton* aceptar =
      caja.addButton(QString::fromUtf8(textos::kBotonAceptar), QMessageBox::AcceptRole);
  QPushButton* cancelar =
      caja.addButton(QString::fromUtf8(textos::kBotonCancelar), QMessageBox::RejectRole);
  caja.setDefaultButton(aceptar);
  caja.setEscapeButton(cancelar);
  caja.exec();
  return caja.clickedButton() == aceptar;
}

}  // namespace kv
