#pragma once
// The in-memory table of possible PEP clients: filled by the detection, ticked by the
// user in the review grid, read by the answers. A cursor-style interface (first, next,
// append, edit, post) serves the engine; indexed access and change notifications serve
// the grid, which binds through IObservadorTablaPEPs.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "data/db/value.h"

namespace kv {

struct TFilaPEP {
  int IdPEP = 0;
  std::string ClaveCliente;   // at most 20 characters
  std::string Nombre;         // at most 100 characters
  std::optional<bool> EsPEP;  // unset reads as false
};

// Notified after every change of the table; indices are row positions.
class IObservadorTablaPEPs {
 public:
  virtual ~IObservadorTablaPEPs() = default;
  // The whole content changed (opened, emptied).
  virtual void TablaReiniciada() {}
  virtual void FilaAgregada(std::size_t nFila) { (void)nFila; }
  virtual void FilaModificada(std::size_t nFila) { (void)nFila; }
  // The current row moved; nFila equals RecordCount() when past the last row.
  virtual void FilaActualCambiada(std::size_t nFila) { (void)nFila; }
};

class TTablaPEPs {
 public:
  static constexpr std::size_t kLargoClaveCliente = 20;
  static constexpr std::size_t kLargoNombre = 100;

  enum class TEstado { Inactiva, Consulta, Edicion, Insercion };

  TTablaPEPs() = default;
  TTablaPEPs(const TTablaPEPs&) = delete;
  TTablaPEPs& operator=(const TTablaPEPs&) = delete;

  void Open();
  bool Active() const { return estado_ != TEstado::Inactiva; }
  TEstado Estado() const { return estado_; }
  // Removes every row (the table stays open).
  void Clear();

  // Cursor.
  void First();
  void Next();
  bool Eof() const { return actual_ >= filas_.size(); }
  bool IsEmpty() const { return filas_.empty(); }
  std::size_t RecordCount() const { return filas_.size(); }
  std::size_t RecNo() const { return actual_; }
  void MoveTo(std::size_t nFila);

  // Editing: Append or Edit start a row buffer, SetField writes it, Post stores it,
  // Cancel drops it. Throws std::logic_error when no row is being edited.
  void Append();
  void Edit();
  void SetField(const std::string& sCampo, const db::Value& vValor);
  void Post();
  void Cancel();

  // A field of the current row (of the buffer while editing) by name, ignoring case:
  // IdPEP integer, ClaveCliente and Nombre text, EsPEP -1/0 or null when unset.
  // Throws std::out_of_range past the last row, std::invalid_argument for another name.
  db::Value FieldByName(const std::string& sCampo) const;

  // Indexed access for the grid.
  const TFilaPEP& Fila(std::size_t nFila) const { return filas_.at(nFila); }
  // Edits and posts the tick of one row.
  void EstableceEsPEP(std::size_t nFila, bool bEsPEP);

  void AgregaObservador(IObservadorTablaPEPs* obs);
  void QuitaObservador(IObservadorTablaPEPs* obs);

 private:
  template <typename F>
  void Notifica(F&& f);
  void Mueve(std::size_t nFila);

  TEstado estado_ = TEstado::Inactiva;
  std::vector<TFilaPEP> filas_;
  std::size_t actual_ = 0;
  TFilaPEP buffer_;
  std::vector<IObservadorTablaPEPs*> observadores_;
};

// The first nMax characters of a UTF-8 text (never cuts inside a character).
std::string CortaTextoUtf8(const std::string& s, std::size_t nMax);

}  // namespace kv
