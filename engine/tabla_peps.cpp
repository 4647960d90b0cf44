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
  const auto obs = F_Observadores;
  for (auto* o : obs) f(*o);
}

void TTablaPEPs::Open() {
  if (Active()) return;
  F_Estado = TDataSetState::Browse;
  F_Actual = 0;
  Notifica([](IObservadorTablaPEPs& o) { o.TablaReiniciada(); });
}

void TTablaPEPs::Clear() {
  Open();
  F_Estado = TDataSetState::Browse;
  F_Filas.clear();
  F_Actual = 0;
  Notifica([](IObservadorTablaPEPs& o) { o.TablaReiniciada(); });
}

void TTablaPEPs::MoveTo(std::size_t nFila) {
  if (F_Estado == TDataSetState::Edit || F_Estado == TDataSetState::Insert) Post();
  F_Actual = std::min(nFila, F_Filas.size());
  const std::size_t n = F_Actual;
  Notifica([n](IObservadorTablaPEPs& o) { o.FilaActualCambiada(n); });
}

void TTablaPEPs::First() {
  MoveTo(0);
}

void TTablaPEPs::Next() {
  if (!Eof()) MoveTo(F_Actual + 1);
}

void TTablaPEPs::Append() {
  Open();
  if (F_Estado != TDataSetState::Browse) Post();
  F_Buffer = TFilaPEP{};
  F_Estado = TDataSetState::Insert;
}

void TTablaPEPs::Edit() {
  if (!Active() || Eof()) throw std::logic_error("TTablaPEPs: no current row to edit");
  if (F_Estado == TDataSetState::Edit) return;
  if (F_Estado == TDataSetState::Insert) Post();
  F_Buffer = F_Filas[F_Actual];
  F_Estado = TDataSetState::Edit;
}

void TTablaPEPs::SetField(const std::string& sCampo, const db::Value& vValor) {
  if (F_Estado != TDataSetState::Edit && F_Estado != TDataSetState::Insert)
    throw std::logic_error("TTablaPEPs: the table is not in edit mode");
  if (MismoNombre(sCampo, "IdPEP")) {
    F_Buffer.IdPEP = static_cast<int>(vValor.toInt());
  } else if (MismoNombre(sCampo, "ClaveCliente")) {
    F_Buffer.ClaveCliente = CortaTextoUtf8(vValor.toString(), kLargoClaveCliente);
  } else if (MismoNombre(sCampo, "Nombre")) {
    F_Buffer.Nombre = CortaTextoUtf8(vValor.toString(), kLargoNombre);
  } else if (MismoNombre(sCampo, "EsPEP")) {
    if (vValor.isNull())
      F_Buffer.EsPEP.reset();
    else
      F_Buffer.EsPEP = vValor.toInt() != 0;
  } else {
    throw std::invalid_argument("TTablaPEPs: unknown field " + sCampo);
  }
}

void TTablaPEPs::Post() {
  if (F_Estado == TDataSetState::Insert) {
    F_Filas.push_back(F_Buffer);
    F_Actual = F_Filas.size() - 1;
    F_Estado = TDataSetState::Browse;
    const std::size_t n = F_Actual;
    Notifica([n](IObservadorTablaPEPs& o) { o.FilaAgregada(n); });
  } else if (F_Estado == TDataSetState::Edit) {
    F_Filas[F_Actual] = F_Buffer;
    F_Estado = TDataSetState::Browse;
    const std::size_t n = F_Actual;
    Notifica([n](IObservadorTablaPEPs& o) { o.FilaModificada(n); });
  }
}

void TTablaPEPs::Cancel() {
  if (F_Estado == TDataSetState::Edit || F_Estado == TDataSetState::Insert)
    F_Estado = TDataSetState::Browse;
}

db::Value TTablaPEPs::FieldByName(const std::string& sCampo) const {
  const bool bBuffer = F_Estado == TDataSetState::Edit || F_Estado == TDataSetState::Insert;
  if (!bBuffer && Eof()) throw std::out_of_range("TTablaPEPs: no current row");
  const TFilaPEP& f = bBuffer ? F_Buffer : F_Filas[F_Actual];
  if (MismoNombre(sCampo, "IdPEP")) return db::Value(f.IdPEP);
  if (MismoNombre(sCampo, "ClaveCliente")) return db::Value(f.ClaveCliente);
  if (MismoNombre(sCampo, "Nombre")) return db::Value(f.Nombre);
  if (MismoNombre(sCampo, "EsPEP")) return f.EsPEP ? db::Value(*f.EsPEP ? -1 : 0) : db::Value();
  throw std::invalid_argument("TTablaPEPs: unknown field " + sCampo);
}

void TTablaPEPs::SetEsPEP(std::size_t nFila, bool bEsPEP) {
  MoveTo(nFila);
  Edit();
  SetField("EsPEP", db::Value(bEsPEP ? -1 : 0));
  Post();
}

void TTablaPEPs::AddObserver(IObservadorTablaPEPs* obs) {
  if (obs && std::find(F_Observadores.begin(), F_Observadores.end(), obs) == F_Observadores.end())
    F_Observadores.push_back(obs);
}

void TTablaPEPs::RemoveObserver(IObservadorTablaPEPs* obs) {
  F_Observadores.erase(std::remove(F_Observadores.begin(), F_Observadores.end(), obs),
                       F_Observadores.end());
}

}  // namespace kv
