#include "engine/tabla_peps.h"

#include <strings.h>
#include <algorithm>
#include <stdexcept>

namespace kv {

std::string CortaTextoUtf8(const std::string& s, std::size_t nMax) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    // A character starts at every byte that is not a continuation byte.
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (n == nMax) return s.substr(0, i);
      ++n;
    }
  }
  return s;
}

namespace {

bool MismoNombre(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

template <typename F>
void TTablaPEPs::Notifica(F&& f) {
  // A copy, so an observer may unsubscribe while being notified.
  const auto obs = observadores_;
  for (auto* o : obs) f(*o);
}

void TTablaPEPs::Open() {
  if (Active()) return;
  estado_ = TEstado::Consulta;
  actual_ = 0;
  Notifica([](IObservadorTablaPEPs& o) { o.TablaReiniciada(); });
}

void TTablaPEPs::Clear() {
  Open();
  estado_ = TEstado::Consulta;
  filas_.clear();
  actual_ = 0;
  Notifica([](IObservadorTablaPEPs& o) { o.TablaReiniciada(); });
}

void TTablaPEPs::Mueve(std::size_t nFila) {
  if (estado_ == TEstado::Edicion || estado_ == TEstado::Insercion) Post();
  actual_ = std::min(nFila, filas_.size());
  const std::size_t n = actual_;
  Notifica([n](IObservadorTablaPEPs& o) { o.FilaActualCambiada(n); });
}

void TTablaPEPs::First() {
  Mueve(0);
}

void TTablaPEPs::Next() {
  if (!Eof()) Mueve(actual_ + 1);
}

void TTablaPEPs::MoveTo(std::size_t nFila) {
  Mueve(nFila);
}

void TTablaPEPs::Append() {
  Open();
  if (estado_ != TEstado::Consulta) Post();
  buffer_ = TFilaPEP{};
  estado_ = TEstado::Insercion;
}

void TTablaPEPs::Edit() {
  if (!Active() || Eof()) throw std::logic_error("TTablaPEPs: no current row to edit");
  if (estado_ == TEstado::Edicion) return;
  if (estado_ == TEstado::Insercion) Post();
  buffer_ = filas_[actual_];
  estado_ = TEstado::Edicion;
}

void TTablaPEPs::SetField(const std::string& sCampo, const db::Value& vValor) {
  if (estado_ != TEstado::Edicion && estado_ != TEstado::Insercion)
    throw std::logic_error("TTablaPEPs: the table is not in edit mode");
  if (MismoNombre(sCampo, "IdPEP")) {
    buffer_.IdPEP = static_cast<int>(vValor.toInt());
  } else if (MismoNombre(sCampo, "ClaveCliente")) {
    buffer_.ClaveCliente = CortaTextoUtf8(vValor.toString(), kLargoClaveCliente);
  } else if (MismoNombre(sCampo, "Nombre")) {
    buffer_.Nombre = CortaTextoUtf8(vValor.toString(), kLargoNombre);
  } else if (MismoNombre(sCampo, "EsPEP")) {
    if (vValor.isNull())
      buffer_.EsPEP.reset();
    else
      buffer_.EsPEP = vValor.toInt() != 0;
  } else {
    throw std::invalid_argument("TTablaPEPs: unknown field " + sCampo);
  }
}

void TTablaPEPs::Post() {
  if (estado_ == TEstado::Insercion) {
    filas_.push_back(buffer_);
    actual_ = filas_.size() - 1;
    estado_ = TEstado::Consulta;
    const std::size_t n = actual_;
    Notifica([n](IObservadorTablaPEPs& o) { o.FilaAgregada(n); });
  } else if (estado_ == TEstado::Edicion) {
    filas_[actual_] = buffer_;
    estado_ = TEstado::Consulta;
    const std::size_t n = actual_;
    Notifica([n](IObservadorTablaPEPs& o) { o.FilaModificada(n); });
  }
}

void TTablaPEPs::Cancel() {
  if (estado_ == TEstado::Edicion || estado_ == TEstado::Insercion) estado_ = TEstado::Consulta;
}

db::Value TTablaPEPs::FieldByName(const std::string& sCampo) const {
  const bool bBuffer = estado_ == TEstado::Edicion || estado_ == TEstado::Insercion;
  if (!bBuffer && Eof()) throw std::out_of_range("TTablaPEPs: no current row");
  const TFilaPEP& f = bBuffer ? buffer_ : filas_[actual_];
  if (MismoNombre(sCampo, "IdPEP")) return db::Value(f.IdPEP);
  if (MismoNombre(sCampo, "ClaveCliente")) return db::Value(f.ClaveCliente);
  if (MismoNombre(sCampo, "Nombre")) return db::Value(f.Nombre);
  if (MismoNombre(sCampo, "EsPEP")) return f.EsPEP ? db::Value(*f.EsPEP ? -1 : 0) : db::Value();
  throw std::invalid_argument("TTablaPEPs: unknown field " + sCampo);
}

void TTablaPEPs::EstableceEsPEP(std::size_t nFila, bool bEsPEP) {
  MoveTo(nFila);
  Edit();
  SetField("EsPEP", db::Value(bEsPEP ? -1 : 0));
  Post();
}

void TTablaPEPs::AgregaObservador(IObservadorTablaPEPs* obs) {
  if (obs && std::find(observadores_.begin(), observadores_.end(), obs) == observadores_.end())
    observadores_.push_back(obs);
}

void TTablaPEPs::QuitaObservador(IObservadorTablaPEPs* obs) {
  observadores_.erase(std::remove(observadores_.begin(), observadores_.end(), obs),
                      observadores_.end());
}

}  // namespace kv
