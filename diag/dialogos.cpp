#include "diag/dialogos.h"

#include <iostream>
#include <mutex>

#include "diag/textos.h"

namespace kv {
namespace {

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

}  // namespace kv
