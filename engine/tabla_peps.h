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

  enum class TDataSetState { Inactive, Browse, Edit, Insert };

  TTablaPEPs() = default;
  TTablaPEPs(const TTablaPEPs&) = delete;
  TTablaPEPs& operator=(const TTablaPEPs&) = delete;

  void Open();
  bool Active() const { return F_Estado != TDataSetState::Inactive; }
  TDataSetState State() const { return F_Estado; }
  // Removes every row (the table stays open).
  void Clear();

  // Cursor.
  void First();
  void Next();
  bool Eof() const { return F_Actual >= F_Filas.size(); }
  bool IsEmpty() const { return F_Filas.empty(); }
  std::size_t RecordCount() const { return F_Filas.size(); }
  std::size_t RecNo() const { return F_Actual; }
  // Moves to row nFila (past the last row: Eof), posting a pending edit first.
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
  const TFilaPEP& Row(std::size_t nFila) const { return F_Filas.at(nFila); }
  // Edits and posts the tick of one row.
  void SetEsPEP(std::size_t nFila, bool bEsPEP);

  void AddObserver(IObservadorTablaPEPs* obs);
  void RemoveObserver(IObservadorTablaPEPs* obs);

 private:
  template <typename F>
  void Notifica(F&& f);

  TDataSetState F_Estado = TDataSetState::Inactive;
  std::vector<TFilaPEP> F_Filas;
  std::size_t F_Actual = 0;
  TFilaPEP F_Buffer;
  std::vector<IObservadorTablaPEPs*> F_Observadores;
};

// The first nMax characters of a UTF-8 text (never cuts inside a character).
std::string CortaTextoUtf8(const std::string& s, std::size_t nMax);

}  // namespace kv
