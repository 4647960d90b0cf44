#include "diag/dialogos.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <iostream>
#include <mutex>

#include "diag/textos.h"

namespace kv {
namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Used while no service is installed: never blocks.
class TDialogosSilenciosos : public IDialogos {
 public:
  void Mensaje(const std::string& sTexto) override { std::cerr << sTexto << '\n'; }
  bool AdvertenciaSiNo(const std::string& sTexto) override {
    std::cerr << textos::kTituloAdvertencia << ": " << sTexto << '\n';
    return false;
  }
  bool ErrorAceptarCancelar(const std::string& sTexto) override {
    std::cerr << textos::kTituloError << ": " << sTexto << '\n';
    return false;
  }
};

std::mutex& Candado() {
  static std::mutex m;
  return m;
}

std::shared_ptr<IDialogos>& Actual() {
  static std::shared_ptr<IDialogos> actual = std::make_shared<TDialogosSilenciosos>();
  return actual;
}

}  // namespace

std::shared_ptr<IDialogos> DameDialogos() {
  std::lock_guard<std::mutex> guard(Candado());
  return Actual();
}

std::shared_ptr<IDialogos> AsignaDialogos(std::shared_ptr<IDialogos> dialogos) {
  if (!dialogos) dialogos = std::make_shared<TDialogosSilenciosos>();
  std::lock_guard<std::mutex> guard(Candado());
  std::swap(Actual(), dialogos);
  return dialogos;
}

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
